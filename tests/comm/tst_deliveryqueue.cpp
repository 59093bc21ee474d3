#include "DeliveryQueue.h"
#include "TestEnvironment.h"

namespace {

using Kind = DeliveryQueue::Kind;
using Outcome = DeliveryQueue::Outcome;
using Verdict = DeliveryQueue::Verdict;

const QString Scene3 = QStringLiteral("/api/v1/shows/3");
const QString Config = QStringLiteral("/api/v1/config");

DeliveryQueue::Request request(const QString& path, const QString& body, bool post = true) {
    DeliveryQueue::Request r;
    r.path = path;
    r.post = post;
    r.body = body;
    r.kind = DeliveryQueue::kindOf(post, body);
    return r;
}

QString edit(int speed) {
    return QStringLiteral("effect=2&param1=%1&param2=1").arg(speed);
}

// What leaves at `now`, as "path body" lines.
QStringList sent(DeliveryQueue& queue, qint64 now, QList<quint64>* ids = nullptr) {
    QStringList lines;
    for (const DeliveryQueue::Request& r : queue.takeDue(now)) {
        lines << (r.post ? r.body : QStringLiteral("GET ") + r.path);
        if (ids)
            *ids << r.id;
    }
    return lines;
}

} // namespace

// The delivery rules on their own, over made-up times: what waits, what replaces what, and when
// a write that failed goes again.
class TestDeliveryQueue : public QObject {
    Q_OBJECT

private slots:
    // Behind a request in flight, the newest state of a scene or of a part of the configuration
    // takes the place of an older one; saves, presses and what lies between keep their places.
    void newerStatesReplaceOlderOnesThatWait() {
        DeliveryQueue queue;
        QList<quint64> ids;
        queue.add(request(Scene3, edit(1)), 0);
        QCOMPARE(sent(queue, 0, &ids), QStringList(edit(1)));
        for (const QString& body : {edit(2), edit(3), edit(4), QStringLiteral("apply=1"), edit(5), edit(6)})
            queue.add(request(Scene3, body), 10);
        const quint64 read = queue.add(request(Scene3, QString(), false), 10);
        // A second read waiting behind the first is the same read.
        QCOMPARE(queue.add(request(Scene3, QString(), false), 10), read);
        queue.add(request(Config, QStringLiteral("name=A&universe=1&apply=1")), 10);
        QCOMPARE(sent(queue, 10, &ids), QStringList(QStringLiteral("name=A&universe=1&apply=1")));
        for (const char* body :
             {"rel_bright=1", "&enable_switch=1&disable_switch=2&apply=1", "&disable_switch=1&enable_switch=2&apply=1",
              "rel_bright=1", "name=B&universe=1&apply=1", "name=C&universe=1&apply=1"})
            queue.add(request(Config, QString::fromLatin1(body)), 10);

        QStringList order;
        for (qint64 now = 20; now < 2000; now += 100) {
            for (quint64 id : qAsConst(ids))
                QCOMPARE(queue.finish(id, Outcome::Delivered, now), Verdict::Done);
            ids.clear();
            order += sent(queue, now, &ids);
        }
        QVERIFY(queue.isIdle());
        QCOMPARE(order, QStringList({"rel_bright=1", edit(4), "&disable_switch=1&enable_switch=2&apply=1", "apply=1",
                                     "rel_bright=1", edit(6), "name=C&universe=1&apply=1", "GET " + Scene3}));
    }

    // A write that failed waits for a sign of life from the keypad and goes again, pausing longer
    // after each failure; one that never hears from the keypad still tries now and then.
    void failedWritesGoAgainOnceTheKeypadAnswers() {
        DeliveryQueue queue;
        QList<quint64> ids;
        queue.add(request(Scene3, edit(1)), 0);
        sent(queue, 0, &ids);
        QCOMPARE(queue.waitingWrites(999), 0);
        QCOMPARE(queue.waitingWrites(1000), 1);
        QCOMPARE(queue.nextChange(10), qint64(DeliveryQueue::SlowReplyMs));
        queue.add(request(Scene3, QStringLiteral("apply=1")), 500);
        QCOMPARE(queue.finish(ids.takeFirst(), Outcome::Failed, 5000), Verdict::Retry);
        QCOMPARE(queue.waitingWrites(5000), 2);
        // Not into the same silence.
        QVERIFY(sent(queue, 6000).isEmpty());
        QCOMPARE(queue.nextChange(6000), qint64(DeliveryQueue::ProbeWithoutLifeMs));
        queue.lifeSign(6500);
        QCOMPARE(sent(queue, 6500, &ids), QStringList(edit(1)));
        QCOMPARE(queue.finish(ids.takeFirst(), Outcome::Delivered, 6510), Verdict::Done);
        QCOMPARE(sent(queue, 6510, &ids), QStringList("apply=1"));
        QCOMPARE(queue.waitingWrites(6510), 0);
        QCOMPARE(queue.finish(ids.takeFirst(), Outcome::Delivered, 6520), Verdict::Done);

        // Failing at once, with the keypad's heartbeats going on: the pauses grow to a bound.
        QList<qint64> tries;
        queue.add(request(Scene3, edit(2)), 7000);
        for (qint64 now = 7000; tries.size() < 7; now += 50) {
            queue.lifeSign(now);
            const QList<DeliveryQueue::Request> due = queue.takeDue(now);
            if (due.isEmpty())
                continue;
            tries << now;
            queue.finish(due.first().id, Outcome::Failed, now);
        }
        QList<qint64> pauses;
        for (int i = 1; i < tries.size(); ++i)
            pauses << tries.at(i) - tries.at(i - 1);
        QCOMPARE(pauses, QList<qint64>({250, 500, 1000, 2000, 4000, 4000}));

        // Without a word from the keypad it still tries, now and then.
        DeliveryQueue silent;
        silent.add(request(Scene3, edit(2)), 0);
        QCOMPARE(silent.finish(silent.takeDue(0).first().id, Outcome::Failed, 5000), Verdict::Retry);
        QVERIFY(silent.takeDue(DeliveryQueue::ProbeWithoutLifeMs - 1).isEmpty());
        QCOMPARE(silent.takeDue(DeliveryQueue::ProbeWithoutLifeMs).size(), 1);
    }

    void whatBecomesOfAFailure_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("newerWaits");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("verdict");
        QTest::addColumn<QStringList>("then"); // what leaves once the keypad is heard from again
        QTest::newRow("edit, newer waiting")
            << edit(1) << true << int(Outcome::Failed) << int(Verdict::Superseded) << QStringList(edit(9));
        QTest::newRow("save, newer edit waiting")
            << "apply=1" << true << int(Outcome::Failed) << int(Verdict::Retry) << QStringList({"apply=1", edit(9)});
        // It may have reached the keypad: a second would press twice.
        QTest::newRow("press") << "rel_bright=1" << false << int(Outcome::Failed) << int(Verdict::Dropped)
                               << QStringList();
        // The keypad answered, and said no: sending it again would not change its mind.
        QTest::newRow("refused edit") << edit(1) << true << int(Outcome::Refused) << int(Verdict::Dropped)
                                      << QStringList(edit(9));
    }

    void whatBecomesOfAFailure() {
        QFETCH(QString, body);
        QFETCH(bool, newerWaits);
        QFETCH(int, outcome);
        QFETCH(int, verdict);
        QFETCH(QStringList, then);
        DeliveryQueue queue;
        queue.add(request(Scene3, body), 0);
        const quint64 id = queue.takeDue(0).first().id;
        if (newerWaits)
            queue.add(request(Scene3, edit(9)), 10);
        QCOMPARE(int(queue.finish(id, Outcome(outcome), 5000)), verdict);
        queue.lifeSign(5100);
        QStringList left;
        for (qint64 now = 5100; now < 7000; now += 100) {
            for (const DeliveryQueue::Request& r : queue.takeDue(now)) {
                left << r.body;
                queue.finish(r.id, Outcome::Delivered, now);
            }
        }
        QCOMPARE(left, then);
    }

    // Every request to a scene makes the keypad play that scene, and a busy keypad may answer two
    // connections in either order: requests across the scenes go out one at a time, oldest first,
    // so the keypad ends on the scene chosen last. Other paths do not wait for them.
    void requestsAcrossScenesGoOneAtATime() {
        DeliveryQueue queue;
        queue.orderAcross(QStringLiteral("/api/v1/shows/"));
        const QString scene5 = QStringLiteral("/api/v1/shows/5");
        const QString scene7 = QStringLiteral("/api/v1/shows/7");
        queue.add(request(scene5, QString(), false), 0);
        queue.add(request(scene7, QString(), false), 0);
        queue.add(request(Scene3, edit(1)), 0);
        queue.add(request(Config, QStringLiteral("name=A&apply=1")), 0);
        QList<quint64> ids;
        QCOMPARE(sent(queue, 0, &ids), QStringList({"GET " + scene5, "name=A&apply=1"}));
        QCOMPARE(queue.finish(ids.takeLast(), Outcome::Delivered, 10), Verdict::Done);
        QCOMPARE(queue.nextChange(10), qint64(DeliveryQueue::SlowReplyMs));
        QCOMPARE(queue.finish(ids.takeFirst(), Outcome::Failed, 1500), Verdict::Dropped);
        QCOMPARE(queue.waitingWrites(1500), 0);
        QCOMPARE(sent(queue, 1500, &ids), QStringList("GET " + scene7));
        // A write held up behind a scene that does not answer waits for the keypad too.
        QCOMPARE(queue.waitingWrites(1500 + DeliveryQueue::SlowReplyMs), 1);
        QCOMPARE(queue.finish(ids.takeLast(), Outcome::Delivered, 2600), Verdict::Done);
        QCOMPARE(sent(queue, 2600, &ids), QStringList(edit(1)));
    }

    // A restore's own steps are not repeated here, and a failed write before them does not hold
    // them up; discarded writes stay gone, even one that fails in flight.
    void managedAndDiscardedRequests() {
        DeliveryQueue queue;
        queue.add(request(Scene3, QStringLiteral("apply=0")), 0);
        QCOMPARE(queue.finish(queue.takeDue(0).first().id, Outcome::Failed, 5000), Verdict::Retry);
        DeliveryQueue::Request step = request(Scene3, QString(), false);
        step.kind = Kind::Managed;
        queue.add(step, 5000);
        QList<quint64> ids;
        QCOMPARE(sent(queue, 5000, &ids), QStringList("apply=0"));
        QCOMPARE(queue.discard(), 1);
        QCOMPARE(queue.finish(ids.takeFirst(), Outcome::Failed, 10000), Verdict::Dropped);
        QCOMPARE(sent(queue, 10000, &ids), QStringList("GET " + Scene3));
        QCOMPARE(queue.finish(ids.takeFirst(), Outcome::Failed, 15000), Verdict::Returned);
        QVERIFY(queue.isIdle());
    }
};

LUMETTO_TEST_MAIN_CORE(TestDeliveryQueue, "tst_deliveryqueue")
#include "tst_deliveryqueue.moc"

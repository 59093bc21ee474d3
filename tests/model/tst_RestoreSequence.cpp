#include "TestEnvironment.h"

#include "RestoreSequence.h"

namespace {

// Answers every step 5 ms after it was sent, but step `failing`, which fails on every try;
// returns the time it ended.
qint64 runUntil(RestoreSequence& sequence, int failing, const QString& what, bool lastTry = false) {
    qint64 now = 0;
    for (;;) {
        qint64 until = -1;
        const RestoreSequence::Action action = sequence.next(now, &until);
        if (action == RestoreSequence::Action::Finished || action == RestoreSequence::Action::Failed)
            return now;
        if (action == RestoreSequence::Action::Wait) {
            now = until;
            continue;
        }
        sequence.sent(now);
        if (sequence.currentIndex() == failing)
            sequence.failed(now, what, lastTry);
        else
            sequence.answered(now += 5);
    }
}

} // namespace

// What a restore that stopped says reached the keypad: the steps are answered in turn until one
// fails on every try (or is given up at once).
class TestRestoreSequence : public QObject {
    Q_OBJECT

private slots:
    void accountSaysWhatArrived_data() {
        QTest::addColumn<QList<int>>("scenes");
        QTest::addColumn<int>("failing");
        QTest::addColumn<bool>("lastTry");
        QTest::addColumn<QString>("message");
        const QList<int> all{1, 2, 3, 4, 5, 6, 7, 8};
        QTest::newRow("first request") << all << 0 << false
                                       << "The keypad at K refused the connection while scene 1 of 8 was being "
                                          "written. Scenes 1 to 8 and the configuration were not written.";
        QTest::newRow("current scene")
            << all << 16 << true
            << "The keypad at K refused the connection while scene 6 was being made the current scene. Scenes 1 to 8 "
               "were written; the current scene and the configuration were not.";
        QTest::newRow("second configuration text")
            << all << 18 << false
            << "The keypad at K refused the connection while the configuration was being written. Scenes 1 to 8 were "
               "written; the configuration was written only in part.";
        QTest::newRow("scattered scenes")
            << QList<int>{1, 2, 5, 7} << 5 << false
            << "The keypad at K refused the connection while scene 5 of 4 was being written. Scenes 1 and 2 were "
               "written; scenes 5 and 7 and the configuration were not.";
    }

    void accountSaysWhatArrived() {
        QFETCH(QList<int>, scenes);
        QFETCH(int, failing);
        QFETCH(bool, lastTry);
        QFETCH(QString, message);
        RestoreSequence sequence;
        for (int n : scenes)
            sequence.addScene(n, QStringLiteral("/api/v1/shows/%1").arg(n), QStringLiteral("effect=1"));
        if (scenes.size() == 8)
            sequence.addCurrentScene(6);
        sequence.addConfiguration(QStringLiteral("/api/v1/config"), {QStringLiteral("a=1"), QStringLiteral("b=2")});
        runUntil(sequence, failing, QStringLiteral("refused the connection"), lastTry);
        // A step given up at once is not tried three times.
        QCOMPARE(sequence.tries(), lastTry ? 1 : 3);
        QCOMPARE(sequence.failureMessage(QStringLiteral("K")), message);
    }
};

LUMETTO_TEST_MAIN_CORE(TestRestoreSequence, "tst_RestoreSequence")
#include "tst_RestoreSequence.moc"

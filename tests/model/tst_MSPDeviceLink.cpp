#include "TestEnvironment.h"

#include "MSPDeviceLink.h"
#include "MSPEffect.h"
#include "ModelFixture.h"

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

using namespace ModelFixture;

namespace {

struct Call {
    QString what;
    qint64 at = 0;
};

// Stands in for the REST client: records what the reader asks of the keypad, and when.
class FakeLink : public MSPDeviceLink {
public:
    FakeLink() {
        m_clock.start();
        registerLink(this);
    }

    void setPostsSuppressed(bool suppressed) override {
        this->suppressed = suppressed;
        record(QStringLiteral("suppress %1").arg(suppressed));
    }
    void requestScene(int index, bool unparsed) override {
        record(QStringLiteral("request %1 %2").arg(index).arg(unparsed));
        if (onRequest)
            onRequest();
    }
    void postToDevice(const QString& path, const QString& body, bool unparsed, bool failureTolerant,
                      bool apply) override {
        record(QStringLiteral("post %1 %2 %3 %4").arg(path).arg(unparsed).arg(failureTolerant).arg(apply));
        bodies << body;
    }

    QStringList whats() const {
        QStringList list;
        for (const Call& call : calls)
            list << call.what;
        return list;
    }

    bool suppressed = false;
    QList<Call> calls;
    QStringList bodies;
    std::function<void()> onRequest;

private:
    void record(const QString& what) { calls << Call{what, m_clock.elapsed()}; }
    QElapsedTimer m_clock;
};

QString eightShows() {
    QString text = QStringLiteral("<all_shows>\n<currentShow>6</currentShow>\n");
    for (int n = 1; n <= 8; ++n)
        text += show(n, n - 1, params(n, 1, 5), color(n, 2, 3).repeated(6), n % 3) + QLatin1Char('\n');
    text += QStringLiteral("</all_shows><config>\n") +
            propertyElement(QStringLiteral("name"), QStringLiteral("Lobby")) +
            propertyElement(QStringLiteral("brightness"), QStringLiteral("off")) +
            propertyElement(QStringLiteral("switch_state"), QStringLiteral("1,1,1,1,1,1,1,1,1,1,0")) +
            QStringLiteral("</config>\n");
    return text;
}

} // namespace

class TestMSPDeviceLink : public QObject {
    Q_OBJECT

private slots:
    void init() { reset(); }

    void registration() {
        QVERIFY(!MSPDeviceLink::registered());
        {
            FakeLink link;
            QCOMPARE(MSPDeviceLink::registered(), &link);
        }
        QVERIFY(!MSPDeviceLink::registered());
    }

    void keypadRepliesAreNotEchoed() {
        FakeLink link;
        QList<bool> suppressedAtChange;
        auto connection = connect(MSPSceneModel::instance(), &MSPSceneModel::effectChanged, this,
                                  [&] { suppressedAtChange << link.suppressed; });
        QVERIFY(MSPDocument::read(document(eightShows()), false).ok);
        disconnect(connection);
        QCOMPARE(link.whats(), QStringList({QStringLiteral("suppress 1"), QStringLiteral("suppress 0")}));
        QCOMPARE(suppressedAtChange.size(), 8);
        QVERIFY(!suppressedAtChange.contains(false));
        QVERIFY(link.bodies.isEmpty());

        // Outside all_shows the block is neither set nor lifted.
        link.calls.clear();
        QVERIFY(MSPDocument::read(document(show(1, 2, params(1, 1, 0))), false).ok);
        QVERIFY(link.calls.isEmpty());
    }

    void fileIsWrittenToTheKeypad() {
        FakeLink link;
        bool timerRan = false;
        QTimer::singleShot(100, this, [&] { timerRan = true; });
        QElapsedTimer clock;
        clock.start();
        const MSPDocument::ReadResult result = MSPDocument::read(document(eightShows()), true);
        QVERIFY2(result.ok, qPrintable(result.error));
        // The waits keep the event loop running.
        QVERIFY(timerRan);

        QStringList expected{QStringLiteral("suppress 0")};
        for (int i = 0; i < 8; ++i) {
            expected << QStringLiteral("request %1 1").arg(i)
                     << QStringLiteral("post /api/v1/shows/%1 0 0 1").arg(i + 1);
        }
        // The file's configuration follows its shows, so the current scene is asked for before it.
        expected << QStringLiteral("suppress 0") << QStringLiteral("request 5 1")
                 << QStringLiteral("post /api/v1/config 1 0 1") << QStringLiteral("post /api/v1/config 0 0 1");
        QCOMPARE(link.whats(), expected);

        for (int i = 0; i < 8; ++i)
            QCOMPARE(link.bodies.at(i), scene(i)->PostData());
        // A file's brightness is not applied; the keypad goes to full.
        QCOMPARE(SystemConfiguration::instance()->brightness(), 255);
        QCOMPARE(link.bodies.mid(8), SystemConfiguration::instance()->PostData(false, true));
        QVERIFY(link.bodies.at(8).contains(QLatin1String("&abs_bright=255&")));
        QVERIFY(link.bodies.at(9).contains(QLatin1String("&disable_switch=11")));

        // The pauses between requests (never shorter; the upper bound only guards against a hang).
        const QList<Call>& calls = link.calls;
        auto gap = [&](int i) { return calls.at(i).at - calls.at(i - 1).at; };
        for (int i = 2; i <= 19; ++i)
            QVERIFY2(gap(i) >= 295, qPrintable(QStringLiteral("call %1 after %2 ms").arg(i).arg(gap(i))));
        QVERIFY(gap(20) >= 495);
        QVERIFY(clock.elapsed() < 60000);
        QCOMPARE(MSPSceneModel::instance()->activeSceneIndex(), 0);
    }

    void linkGoingAwayMidWrite() {
        auto* link = new FakeLink;
        link->onRequest = [&link] { QTimer::singleShot(0, [&link] { delete link, link = nullptr; }); };
        const MSPDocument::ReadResult result =
            MSPDocument::read(document(QStringLiteral("<all_shows>") + show(1, 2, params(1, 1, 0)) +
                                       show(2, 2, params(1, 1, 0)) + QStringLiteral("</all_shows>")),
                              true);
        QVERIFY(result.ok);
        QVERIFY(!link);
        QVERIFY(!MSPDeviceLink::registered());
        QCOMPARE(scene(1)->effect()->type(), 2);
    }

    void writingWithoutLink() {
        QElapsedTimer clock;
        clock.start();
        QVERIFY(MSPDocument::read(document(eightShows()), true).ok);
        QVERIFY(clock.elapsed() < 2000);
        for (int i = 0; i < 8; ++i)
            QVERIFY(scene(i)->effect());
    }
};

LUMETTO_TEST_MAIN_CORE(TestMSPDeviceLink, "tst_MSPDeviceLink")
#include "tst_MSPDeviceLink.moc"

#include "TestEnvironment.h"

#include "MSPDeviceLink.h"
#include "MSPEffect.h"
#include "ModelFixture.h"

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

using namespace ModelFixture;

namespace {

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

    bool suppressed = false;
    QStringList calls, bodies;
    QList<qint64> times;
    std::function<void()> onRequest;

private:
    void record(const QString& what) {
        calls << what;
        times << m_clock.elapsed();
    }
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

    void keypadRepliesAreNotEchoed() {
        FakeLink link;
        QList<bool> suppressedAtChange;
        auto connection = connect(MSPSceneModel::instance(), &MSPSceneModel::effectChanged, this,
                                  [&] { suppressedAtChange << link.suppressed; });
        QVERIFY(MSPDocument::read(document(eightShows()), false).ok);
        disconnect(connection);
        QCOMPARE(link.calls, QStringList({"suppress 1", "suppress 0"}));
        QCOMPARE(suppressedAtChange, QVector<bool>(8, true).toList());
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
        const MSPDocument::ReadResult result = MSPDocument::read(document(eightShows()), true);
        QVERIFY2(result.ok, qPrintable(result.error));
        // The waits keep the event loop running.
        QVERIFY(timerRan);

        // The flags of each request; the bodies, pauses and wire form are checked against a keypad.
        QStringList expected{"suppress 0"};
        for (int i = 0; i < 8; ++i)
            expected << QStringLiteral("request %1 1").arg(i)
                     << QStringLiteral("post /api/v1/shows/%1 0 0 1").arg(i + 1);
        // The file's configuration follows its shows, so the current scene is asked for before it.
        expected += QStringList{"suppress 0", "request 5 1", "post /api/v1/config 1 0 1", "post /api/v1/config 0 0 1"};
        QCOMPARE(link.calls, expected);
        QVERIFY(link.bodies.at(9).contains(QLatin1String("&disable_switch=11")));
        // The pauses between requests, never shorter.
        for (int i = 2; i <= 20; ++i)
            QVERIFY(link.times.at(i) - link.times.at(i - 1) >= (i == 20 ? 495 : 295));
    }

    void linkGoingAwayOrMissing() {
        auto* link = new FakeLink;
        link->onRequest = [&link] { QTimer::singleShot(0, [&link] { delete link, link = nullptr; }); };
        const MSPDocument::ReadResult result =
            MSPDocument::read(document(QStringLiteral("<all_shows>") + show(1, 2, params(1, 1, 0)) +
                                       show(2, 2, params(1, 1, 0)) + QStringLiteral("</all_shows>")),
                              true);
        QVERIFY(result.ok && !link && !MSPDeviceLink::registered());
        QCOMPARE(scene(1)->effect()->type(), 2);

        // Without a keypad the file is only read, without the pauses.
        QElapsedTimer clock;
        clock.start();
        QVERIFY(MSPDocument::read(document(eightShows()), true).ok);
        QVERIFY(clock.elapsed() < 2000 && scene(7)->effect()->type() == 7);
    }
};

LUMETTO_TEST_MAIN_CORE(TestMSPDeviceLink, "tst_MSPDeviceLink")
#include "tst_MSPDeviceLink.moc"

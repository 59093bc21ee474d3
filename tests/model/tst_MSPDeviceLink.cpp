#include "TestEnvironment.h"

#include "MSPDeviceLink.h"
#include "MSPEffect.h"
#include "ModelFixture.h"

using namespace ModelFixture;

namespace {

// Stands in for the REST client: records the posting block as the reader sets it.
class FakeLink : public MSPDeviceLink {
public:
    FakeLink() { registerLink(this); }

    void setPostsSuppressed(bool suppressed) override {
        this->suppressed = suppressed;
        calls << QStringLiteral("suppress %1").arg(suppressed);
    }

    bool suppressed = false;
    QStringList calls;
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

        // Outside all_shows the block is neither set nor lifted.
        link.calls.clear();
        QVERIFY(MSPDocument::read(document(show(1, 2, params(1, 1, 0))), false).ok);
        QVERIFY(link.calls.isEmpty());
    }

    // Read for a keypad, a file is not posted as it is read: it lists its writes, which the caller
    // runs once the whole file is in the model.
    void fileListsWhatWritesItToTheKeypad() {
        FakeLink link;
        MSPSceneModel::instance()->setActiveSceneIndex(2, false);
        const MSPDocument::ReadResult result = MSPDocument::read(document(eightShows()), true);
        // The keypad's reply to the last step sets the active scene, not the file.
        QCOMPARE(MSPSceneModel::instance()->activeSceneIndex(), 2);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(link.calls, QStringList({"suppress 0", "suppress 0"}));
        QStringList steps;
        for (const RestoreSequence::Step& step : result.restore.steps())
            steps << QStringLiteral("%1 %2 %3 %4+%5")
                         .arg(step.post ? "POST" : "GET", step.path)
                         .arg(step.readReply)
                         .arg(step.pauseBeforeMs)
                         .arg(step.pauseAfterMs);
        QStringList expected;
        for (int n = 1; n <= 8; ++n)
            expected << QStringLiteral("GET /api/v1/shows/%1 0 0+300").arg(n)
                     << QStringLiteral("POST /api/v1/shows/%1 0 0+300").arg(n);
        // The current scene is asked for last of the scene requests, and its reply read back; the
        // file's configuration follows its shows.
        expected << "GET /api/v1/shows/6 1 300+0"
                 << "POST /api/v1/config 0 300+500"
                 << "POST /api/v1/config 1 0+500";
        QCOMPARE(steps, expected);
        QCOMPARE(result.restore.steps().at(1).body, scene(0)->PostData() + "&apply=1");
        QVERIFY(result.restore.steps().at(17).body.startsWith("name=Lobby&"));
        QVERIFY(result.restore.steps().at(17).body.contains("&abs_bright=255&"));
        QVERIFY(result.restore.steps().at(18).body.contains("&disable_switch=11&"));
        QCOMPARE(SystemConfiguration::instance()->brightness(), 255);

        // Without a current scene the last scene written is read back; read offline, nothing is listed.
        QVERIFY(MSPDocument::read(document(QStringLiteral("<all_shows>") + show(1, 2, params(1, 1, 0)) +
                                           show(2, 2, params(1, 1, 0)) + QStringLiteral("</all_shows>")),
                                  true)
                    .restore.steps()
                    .last()
                    .readReply);
        QVERIFY(MSPDocument::read(document(eightShows()), false).restore.isEmpty());
    }
};

LUMETTO_TEST_MAIN_CORE(TestMSPDeviceLink, "tst_MSPDeviceLink")
#include "tst_MSPDeviceLink.moc"

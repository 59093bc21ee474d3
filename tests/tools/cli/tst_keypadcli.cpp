#include "CliRunner.h"
#include "KeypadSimulator.h"
#include "MSPColorWashEffect.h"
#include "MSPDocument.h"
#include "MSPEffect.h"
#include "MSPEffectFactory.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "RecordingHttpServer.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

const QString KeypadAddress = QStringLiteral("10.77.0.1");

using CliRunner::Run;

// Far more than the tool needs (about 20 MB, twice that under the sanitizers), far less than
// an unbounded read of a device or a flooding keypad reaches within seconds.
constexpr qint64 MemoryBoundKiB = 300 * 1024;

using TestSupport::readFile;

} // namespace

class TestKeypadCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        // A keypad content with a little of everything: two kinds of effect, scene 5 active, some
        // buttons disabled, a name and a brightness.
        MSPSceneModel* model = MSPSceneModel::instance();
        for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
            MSPScene* scene = model->scene(i);
            scene->setURL("/api/v1/shows/" + QString::number(i + 1));
            MSPEffect* effect = MSPEffectFactory::instance()->create(i % 2 == 0 ? 2 : 0, scene);
            if (auto* wash = qobject_cast<MSPColorWashEffect*>(effect))
                wash->setSpeed(i + 2);
            scene->setEffect(effect, false);
        }
        model->setActiveSceneIndex(4, false);
        SystemConfiguration* config = SystemConfiguration::instance();
        config->setName("Lobby");
        config->setBrightness(120);
        config->setScene3CheckBoxState(false);
        config->setUpCheckBoxState(false);
        m_document = MSPDocument::fileContents();
    }

    void init() {
        m_server = new RecordingHttpServer;
        QVERIFY(m_server->listen(QHostAddress(KeypadAddress)));
        m_server->setReply("GET", "/api/v1/shows", m_document);
        m_server->setReply("GET", "/api/v1/config", m_document);
    }

    void cleanup() {
        delete m_server;
        m_server = nullptr;
    }

    // A backup is written whole or not at all: a failed one keeps the old file and leaves nothing beside it.
    void backupReplacesTheFileOnlyWhenComplete() {
        QVERIFY(QDir(m_dir.path()).mkpath("backup"));
        const QString path = file("backup/keypad.xml", "old contents");
        m_server->setMode(RecordingHttpServer::Mode::Hangup);
        Run run = cli({"backup", KeypadAddress, path});
        QVERIFY2(run.exitCode == 3, qPrintable(run.err));
        QCOMPARE(readFile(path), QByteArray("old contents"));
        QCOMPARE(QDir(m_dir.filePath("backup")).entryList(QDir::Files), QStringList({"keypad.xml"}));

        m_server->setMode(RecordingHttpServer::Mode::Answer);
        m_server->clear();
        run = cli({"backup", KeypadAddress, path});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(readFile(path), m_document);
        // Only reads: unlike the editor's, this read of all scenes does not revert the active one,
        // which would throw away an edit the keypad plays but has not saved.
        QCOMPARE(m_server->lines(), QStringList({"GET /api/v1/config ", "GET /api/v1/shows "}));
    }

    void refusals_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("contents"); // of the file restored, when there is one
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const QString& arguments, int exitCode, const QString& message,
                            const QByteArray& contents = QByteArray()) {
            QTest::newRow(name) << arguments.split(' ', Qt::SkipEmptyParts) << contents << exitCode << message;
        };
        row("no command", "", 1, "Usage:");
        row("bad timeout", "discover --timeout soon", 1, "--timeout");
        row("not an address", "backup keypad /nonexistent/file.xml", 2, "keypad is not an IPv4 address");
        row("off every subnet", "backup 192.0.2.4 /nonexistent/file.xml", 2, "192.0.2.4 is not on any local subnet");
        row("nobody there", "backup 10.77.0.250 /nonexistent/file.xml", 3, "keypad at 10.77.0.250");
        row("unreadable file", "show /nonexistent/file.xml", 4, "cannot read /nonexistent/file.xml");
        row("show without a file", "show --json", 1, "Usage:");
        // Broken files: one line to say so, and nothing sent.
        row("unclosed element", "", 4, ":5: not well-formed XML",
            "<?xml version=\"1.0\"?>\n<v1>\n<all_shows>\n<show>\n</v1>");
        row("empty", "", 4, "the file is empty", "");
        // Refused by the reader itself, whose own tests hold its messages: still nothing sent.
        row("bad switch state", "", 4, ":2: not a valid configuration document",
            "<v1><config>\n<property><url>/api/v1/config/switch_state</url>"
            "<value>1,1,2</value></property></config></v1>");
    }

    void refusals() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, contents);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        if (!contents.isNull())
            arguments = QStringList{"restore", file("broken.xml", contents), KeypadAddress};
        const Run run = cli(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        if (!contents.isNull()) {
            QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
            QCOMPARE(m_server->requests().size(), 0);
        }
    }

    // Whatever the path names, at most the limit is read; what is not a file is refused unread.
    void showRefusesWhatIsNotAFile_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("what");
        QTest::newRow("device") << "/dev/zero"
                                << "it is a device";
        QTest::newRow("named pipe") << "pipe"
                                    << "it is a named pipe (FIFO)";
        QTest::newRow("folder") << "folder"
                                << "it is a folder";
        QTest::newRow("large file") << "large.xml"
                                    << "larger than 1024 KiB";
    }

    void showRefusesWhatIsNotAFile() {
        QFETCH(QString, path);
        QFETCH(QString, what);
        if (path == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath(path)).constData(), 0600), 0);
        else if (path == "folder")
            QVERIFY(QDir(m_dir.path()).mkpath(path));
        else if (path == "large.xml")
            file(path, m_document + QByteArray(2 * MSPDocument::maximumSize, ' '));
        const QString fileName = path.startsWith('/') ? path : m_dir.filePath(path);
        const Run run = cli({"show", fileName});
        QCOMPARE(run.exitCode, 4);
        QVERIFY2(run.err.contains(fileName + ": ") && run.err.contains(what), qPrintable(run.err));
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY2(run.peakKiB < MemoryBoundKiB, qPrintable(QString::number(run.peakKiB)));
    }

    // A "keypad" that answers with an endless body is refused as its reply passes the limit:
    // well before the transfer limit, and without taking the machine's memory.
    void floodingKeypadIsRefused() {
        m_server->setMode(RecordingHttpServer::Mode::Flood);
        const Run run = cli({"backup", KeypadAddress, m_dir.filePath("flooded.xml")});
        QCOMPARE(run.exitCode, 3);
        QVERIFY2(run.err.contains("the keypad at " + KeypadAddress + " sent a reply larger than any keypad sends"),
                 qPrintable(run.err));
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY2(run.peakKiB < MemoryBoundKiB, qPrintable(QString::number(run.peakKiB)));
        QVERIFY2(run.ms < 5000, qPrintable(QString::number(run.ms)));
        QVERIFY(!QFile::exists(m_dir.filePath("flooded.xml")));
    }

    // Mistakes in a fleet command are found before the first keypad hears anything.
    void fleetRefusalsSendNothing_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, const QString& arguments, int exitCode, const QString& message) {
            QTest::newRow(name) << arguments.split(' ') << exitCode << message;
        };
        row("second address", "restore FILE 10.77.0.1 keypad", 2, "keypad is not an IPv4 address");
        row("address twice", "restore FILE 10.77.0.1 10.77.0.1", 1, "10.77.0.1 is named twice");
        row("diff off the subnet", "diff FILE 192.0.2.4", 2, "192.0.2.4 is not on any local subnet");
        row("diff of one", "diff FILE", 1, "Usage:");
        row("no such scene", "press 10.77.0.1 scene 9", 1, "scene 9: a scene is 1 to 8");
        row("no such key", "press 10.77.0.1 sideways", 1, "Usage:");
        row("bad value", "set 10.77.0.1 lights=171", 1, "lights=171: the number of lights per port is");
        row("nothing to set", "set 10.77.0.1", 1, "Usage:");
        row("backup all without a folder", "backup --all", 1, "Usage:");
    }

    void fleetRefusalsSendNothing() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        arguments.replaceInStrings("FILE", file("fleet.xml", m_document));
        arguments.replaceInStrings("DIR", m_dir.filePath("fleet"));
        const Run run = cli(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(m_server->requests().size(), 0);
    }

    // Every command explains itself with an example and its exit statuses.
    void helpPages() {
        for (const char* command : {"discover", "backup", "restore", "diff", "set", "press", "show", "render"}) {
            const Run run = cli({command, "--help"});
            QCOMPARE(run.exitCode, 0);
            for (const QString& part : {QStringLiteral("Usage: lumetto-keypad-cli ") + command,
                                        QStringLiteral("\nExample"), QStringLiteral("\nExit status:\n  0  ")})
                QVERIFY2(run.out.contains(part), qPrintable(command + (" lacks " + part)));
        }
        QCOMPARE(cli({"--help"}).out.count("lumetto-keypad-cli "), 11);
        QCOMPARE(cli({"undo", "--help"}).exitCode, 1);
    }

    // Named values with their units, the profile by its name, and the same as data; nothing sent.
    void showSummarisesAFile() {
        const QString path = file("show.xml", m_document);
        const Run run = cli({"show", path});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QStringList lines = run.out.split('\n');
        for (const char* line : {"current scene: 5", "scene 1: Color Wash, speed 2 (9 m), left to right",
                                 "scene 2: Fixed Color, #ff0000", "name: \"Lobby\"", "fixture profile: RGB (sRGB)",
                                 "brightness: 47 %", "scene 3 button: disabled", "up button: disabled"})
            QVERIFY2(lines.contains(line), qPrintable(QString(line) + " not in:\n" + run.out));

        const Run json = cli({"show", path, "--json"});
        QVERIFY2(json.exitCode == 0, qPrintable(json.err));
        QJsonParseError error;
        const QJsonObject document = QJsonDocument::fromJson(json.out.toUtf8(), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(document.value("currentScene").toInt(), 5);
        const QJsonObject speed = document.value("scenes")
                                      .toArray()
                                      .at(0)
                                      .toObject()
                                      .value("effect")
                                      .toObject()
                                      .value("parameters")
                                      .toObject()
                                      .value("speed")
                                      .toObject();
        QCOMPARE(speed.value("value").toInt(), 2);
        QCOMPARE(speed.value("text").toString(), QString("2 (9 m)"));
        const QJsonObject configuration = document.value("configuration").toObject();
        QCOMPARE(configuration.value("fixtureProfile").toObject().value("text").toString(), QString("RGB (sRGB)"));
        QCOMPARE(configuration.value("scene3Button").toObject().value("value").toBool(true), false);
        QCOMPARE(m_server->requests().size(), 0);
    }

    void discoversAndRoundTripsAKeypad() {
        KeypadSimulator sim;
        QVERIFY(sim.start({"10.77.0.20", "Round Trip"}));
        const Run discovery = cli({"discover", "--timeout", "2000"});
        QVERIFY2(discovery.exitCode == 0, qPrintable(discovery.err));
        QCOMPARE(discovery.out, "Round Trip\t10.77.0.20\t" + sim.mac().toLower() + '\n');

        const QString first = file("first.xml");
        const QString second = file("second.xml");
        QCOMPARE(cli({"backup", sim.address(), first}).exitCode, 0);
        // Someone changes the keypad: a scene, the name, the universe.
        QVERIFY(sim.setScene(2, "effect=2&param1=9&param2=1&param_xy=(0,0,0)&num_colors=0"));
        QVERIFY(sim.setConfig("name=Changed&universe=12"));
        QCOMPARE(cli({"backup", sim.address(), second}).exitCode, 0);
        QVERIFY(readFile(first) != readFile(second));
        QCOMPARE(cli({"restore", first, sim.address()}).exitCode, 0);
        QCOMPARE(cli({"backup", sim.address(), second}).exitCode, 0);

        // Identical but for the brightness, which a restore sets to full.
        const QRegularExpression brightness("(<url>/api/v1/config/brightness</url>\n<value>)[^<]*");
        QString before = QString::fromLatin1(readFile(first));
        QString after = QString::fromLatin1(readFile(second));
        QVERIFY(after.contains("<url>/api/v1/config/brightness</url>\n<value>255</value>"));
        QCOMPARE(after.replace(brightness, "\\1"), before.replace(brightness, "\\1"));
    }

    // A keypad that stops answering part-way and never comes back: the restore gives up after its
    // tries and says, in one line, what reached the keypad and what did not.
    void restoreStopsWhenTheKeypadStaysSilent() {
        KeypadSimulator sim;
        QVERIFY(sim.start({"10.77.0.21", "Gone"}));
        bool stalled = false;
        connect(&sim, &KeypadSimulator::requestReceived, this, [&](const KeypadSimulator::Request& request) {
            if (!stalled && request.path == QLatin1String("/api/v1/shows/4")) {
                stalled = true;
                QVERIFY(sim.stall(-1));
            }
        });
        const Run run = cli({"restore", file("restore.xml", m_document), sim.address()});
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(
            run.err.split('\n').filter("lumetto-keypad-cli: "),
            QStringList("lumetto-keypad-cli: the keypad at 10.77.0.21 did not answer within 5 s while scene 4 of 8 "
                        "was being written. Scenes 1 to 3 were written; scenes 4 to 8 and the configuration were "
                        "not."));
        QVERIFY(!run.err.contains("canceled", Qt::CaseInsensitive));
        // Nothing after the step that went unanswered.
        QCOMPARE(sim.requestCount("POST", "/api/v1/config"), 0);
    }

private:
    Run cli(const QStringList& arguments) { return CliRunner::run(arguments, m_dir.path()); }

    // A file in the test's folder, written first when there are contents.
    QString file(const QString& name, const QByteArray& contents = QByteArray()) {
        const QString path = m_dir.filePath(name);
        if (!contents.isNull() && !TestSupport::writeFile(path, contents))
            qWarning() << "cannot write" << path;
        return path;
    }

    QTemporaryDir m_dir;
    RecordingHttpServer* m_server = nullptr;
    QByteArray m_document;
};

LUMETTO_NETWORK_TEST_MAIN(TestKeypadCli, "tst_keypadcli", QCoreApplication)

#include "tst_keypadcli.moc"

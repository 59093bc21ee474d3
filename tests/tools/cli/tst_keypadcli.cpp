#include "KeypadSimulator.h"
#include "MSPColorWashEffect.h"
#include "MSPDocument.h"
#include "MSPEffect.h"
#include "MSPEffectFactory.h"
#include "MSPFixedColorEffect.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "RecordingHttpServer.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QString KeypadAddress = QStringLiteral("10.77.0.1");
constexpr int Generous = 60000;

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

QByteArray readAll(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& fileName, const QByteArray& contents) {
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

} // namespace

class TestKeypadCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void backupWritesWhatTheKeypadHolds();
    void failedBackupKeepsTheOldFile();
    void restoreWritesTheFileAsTheEditorDoes();
    void restoreRefusesBrokenFiles_data();
    void restoreRefusesBrokenFiles();
    void exitStatusNamesTheProblem_data();
    void exitStatusNamesTheProblem();
    void showSummarisesAFile();
    void discoversAndRoundTripsAKeypad();

private:
    Run cli(const QStringList& arguments);

    QTemporaryDir m_dir;
    RecordingHttpServer* m_server = nullptr;
    QByteArray m_document;
};

Run TestKeypadCli::cli(const QStringList& arguments) {
    QProcess process;
    // Serve the keypad's side while the tool runs: the event loop must keep turning.
    QEventLoop loop;
    connect(&process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), &loop, &QEventLoop::quit);
    connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(Generous, &loop, &QEventLoop::quit);
    // The tool reads the editor's network choice: keep the user's own settings out of reach.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
    process.setProcessEnvironment(environment);
    process.start(TestSupport::binDir() + QStringLiteral("/lumetto-keypad-cli"), arguments);
    loop.exec();
    Run run;
    if (process.state() != QProcess::NotRunning || process.error() == QProcess::FailedToStart) {
        qWarning() << "the tool did not finish:" << process.errorString();
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

void TestKeypadCli::initTestCase() {
    QVERIFY(m_dir.isValid());
    // A keypad content with a little of everything: two kinds of effect, scene 5 active, some
    // buttons disabled, a name and a brightness.
    MSPSceneModel* model = MSPSceneModel::instance();
    for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
        MSPScene* scene = model->scene(i);
        scene->setURL(QStringLiteral("/api/v1/shows/") + QString::number(i + 1));
        MSPEffect* effect = MSPEffectFactory::instance()->create(i % 2 == 0 ? 2 : 0, scene);
        if (auto* wash = qobject_cast<MSPColorWashEffect*>(effect))
            wash->setSpeed(i + 2);
        scene->setEffect(effect, false);
    }
    model->setActiveSceneIndex(4, false);
    SystemConfiguration* config = SystemConfiguration::instance();
    config->setName(QStringLiteral("Lobby"));
    config->setUniverse(7);
    config->setBrightness(120);
    config->setScene3CheckBoxState(false);
    config->setUpCheckBoxState(false);
    m_document = MSPDocument::fileContents();
}

void TestKeypadCli::init() {
    m_server = new RecordingHttpServer;
    QVERIFY(m_server->listen(QHostAddress(KeypadAddress)));
    m_server->setReply(QStringLiteral("GET"), QStringLiteral("/api/v1/shows"), m_document);
    m_server->setReply(QStringLiteral("GET"), QStringLiteral("/api/v1/config"), m_document);
}

void TestKeypadCli::cleanup() {
    delete m_server;
    m_server = nullptr;
}

void TestKeypadCli::backupWritesWhatTheKeypadHolds() {
    const QString file = m_dir.filePath(QStringLiteral("backup.xml"));
    const Run run = cli({QStringLiteral("backup"), KeypadAddress, file});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(readAll(file), m_document);
    // The editor's read of all scenes ends with the revert of the active one.
    QCOMPARE(m_server->lines(),
             QStringList({QStringLiteral("GET /api/v1/config "), QStringLiteral("GET /api/v1/shows "),
                          QStringLiteral("POST /api/v1/shows/5 apply=0")}));
}

void TestKeypadCli::failedBackupKeepsTheOldFile() {
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("failed")));
    const QString file = m_dir.filePath(QStringLiteral("failed/kept.xml"));
    writeFile(file, "old contents");
    m_server->setReply(QStringLiteral("GET"), QStringLiteral("/api/v1/config"), m_document);
    m_server->setHangupOn(QByteArray());
    m_server->setMode(RecordingHttpServer::Mode::Hangup);
    const Run run = cli({QStringLiteral("backup"), KeypadAddress, file});
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.err.contains(QStringLiteral("keypad at 10.77.0.1")), qPrintable(run.err));
    QCOMPARE(readAll(file), QByteArray("old contents"));
    QCOMPARE(QDir(m_dir.filePath(QStringLiteral("failed"))).entryList(QDir::Files),
             QStringList({QStringLiteral("kept.xml")}));
}

void TestKeypadCli::restoreWritesTheFileAsTheEditorDoes() {
    const QString file = m_dir.filePath(QStringLiteral("restore.xml"));
    writeFile(file, m_document);
    const Run run = cli({QStringLiteral("restore"), file, KeypadAddress});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));

    QStringList expected{QStringLiteral("GET /api/v1/config ")};
    MSPSceneModel* model = MSPSceneModel::instance();
    for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
        const QString path = QStringLiteral("/api/v1/shows/") + QString::number(i + 1);
        expected << QStringLiteral("GET ") + path + QLatin1Char(' ')
                 << QStringLiteral("POST ") + path + QLatin1Char(' ') + model->scene(i)->PostData() +
                        QStringLiteral("&apply=1");
    }
    expected << QStringLiteral("GET /api/v1/shows/5 ");
    SystemConfiguration* config = SystemConfiguration::instance();
    const int brightness = config->brightness();
    config->setBrightness(255);
    for (const QString& text : config->PostData(false, true))
        expected << QStringLiteral("POST /api/v1/config ") + text + QStringLiteral("&apply=1");
    config->setBrightness(brightness);
    QCOMPARE(m_server->lines(), expected);
    QVERIFY2(run.err.contains(QStringLiteral("restore: POST /api/v1/shows/8")), qPrintable(run.err));
}

void TestKeypadCli::restoreRefusesBrokenFiles_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("message");
    QTest::newRow("unclosed element") << QByteArray("<?xml version=\"1.0\"?>\n<v1>\n<all_shows>\n<show>\n</v1>")
                                      << QStringLiteral(":5: not a well-formed configuration document");
    QTest::newRow("other document") << QByteArray("<html>\n</html>")
                                    << QStringLiteral(":1: not a configuration document");
    QTest::newRow("empty") << QByteArray() << QStringLiteral("not a well-formed configuration document");
    QTest::newRow("bad switch state")
        << QByteArray("<v1><config><property><url>/api/v1/config/switch_state</url><value>1,1,2</value>"
                      "</property></config></v1>")
        << QStringLiteral("not a valid configuration document");
}

void TestKeypadCli::restoreRefusesBrokenFiles() {
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    const QString file = m_dir.filePath(QStringLiteral("broken.xml"));
    writeFile(file, contents);
    const Run run = cli({QStringLiteral("restore"), file, KeypadAddress});
    QCOMPARE(run.exitCode, 4);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
    QCOMPARE(m_server->requests().size(), 0);
}

void TestKeypadCli::exitStatusNamesTheProblem_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QString missing = QStringLiteral("/nonexistent/file.xml");
    QTest::newRow("no command") << QStringList() << 1 << QStringLiteral("usage:");
    QTest::newRow("unknown command") << QStringList({QStringLiteral("format")}) << 1 << QStringLiteral("usage:");
    QTest::newRow("not an address") << QStringList({QStringLiteral("backup"), QStringLiteral("keypad"), missing}) << 2
                                    << QStringLiteral("keypad is not an IPv4 address");
    QTest::newRow("off every subnet") << QStringList({QStringLiteral("backup"), QStringLiteral("192.0.2.4"), missing})
                                      << 2 << QStringLiteral("192.0.2.4 is not on any local subnet");
    QTest::newRow("nobody there") << QStringList({QStringLiteral("backup"), QStringLiteral("10.77.0.250"), missing})
                                  << 3 << QStringLiteral("keypad at 10.77.0.250");
    QTest::newRow("unreadable file") << QStringList({QStringLiteral("show"), missing}) << 4
                                     << QStringLiteral("cannot read /nonexistent/file.xml");
    QTest::newRow("bad timeout") << QStringList({QStringLiteral("discover"), QStringLiteral("--timeout"),
                                                 QStringLiteral("soon")})
                                 << 1 << QStringLiteral("--timeout");
}

void TestKeypadCli::exitStatusNamesTheProblem() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const Run run = cli(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

void TestKeypadCli::showSummarisesAFile() {
    const QString file = m_dir.filePath(QStringLiteral("show.xml"));
    writeFile(file, m_document);
    const Run run = cli({QStringLiteral("show"), file});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.value(0), QStringLiteral("current scene: 5"));
    QVERIFY(lines.value(1).startsWith(QStringLiteral("scene 1: ") + MSPEffect::nameForType(2) +
                                      QStringLiteral(" (effect 2), parameters 2, ")));
    QVERIFY(lines.value(2).startsWith(QStringLiteral("scene 2: ") + MSPEffect::nameForType(0)));
    QVERIFY(run.out.contains(QStringLiteral("name: Lobby\n")));
    QVERIFY(run.out.contains(QStringLiteral("universe: 7,")));
    QVERIFY(run.out.contains(QStringLiteral("brightness: 120\n")));
    QVERIFY(run.out.contains(QStringLiteral("scene buttons: on on off on on on on on\n")));
    QVERIFY(run.out.contains(QStringLiteral("on/off button: on, up: off, down: on\n")));
    QCOMPARE(m_server->requests().size(), 0);
}

void TestKeypadCli::discoversAndRoundTripsAKeypad() {
    KeypadSimulator sim;
    QVERIFY(sim.start({QStringLiteral("10.77.0.20"), QStringLiteral("Round Trip")}));
    const Run discovery = cli({QStringLiteral("discover"), QStringLiteral("--timeout"), QStringLiteral("2000")});
    QVERIFY2(discovery.exitCode == 0, qPrintable(discovery.err));
    QCOMPARE(discovery.out, QStringLiteral("Round Trip\t10.77.0.20\t") + sim.mac().toLower() + QLatin1Char('\n'));

    const QString first = m_dir.filePath(QStringLiteral("first.xml"));
    const QString second = m_dir.filePath(QStringLiteral("second.xml"));
    Run run = cli({QStringLiteral("backup"), sim.address(), first});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));

    // Someone changes the keypad: a scene, the name, the universe.
    QVERIFY(sim.setScene(2, "effect=2&param1=9&param2=1&param_xy=(0,0,0)&num_colors=0"));
    QVERIFY(sim.setConfig("name=Changed&universe=12"));
    run = cli({QStringLiteral("backup"), sim.address(), second});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(readAll(first) != readAll(second));

    run = cli({QStringLiteral("restore"), first, sim.address()});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    run = cli({QStringLiteral("backup"), sim.address(), second});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));

    // Identical but for the brightness, which a restore sets to full.
    const QRegularExpression brightness(QStringLiteral("(<url>/api/v1/config/brightness</url>\n<value>)[^<]*"));
    QString before = QString::fromLatin1(readAll(first));
    QString after = QString::fromLatin1(readAll(second));
    QVERIFY(after.contains(QStringLiteral("<url>/api/v1/config/brightness</url>\n<value>255</value>")));
    before.replace(brightness, QStringLiteral("\\1"));
    after.replace(brightness, QStringLiteral("\\1"));
    QCOMPARE(after, before);
}

LUMETTO_NETWORK_TEST_MAIN(TestKeypadCli, "tst_keypadcli", QCoreApplication)

#include "tst_keypadcli.moc"

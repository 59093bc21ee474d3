#include "TestEnvironment.h"

#include "KeypadSimulator.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// The editor as a user starts it, with settings of its own (it saves its network choice and
// window layout). It broadcasts discovery requests, so it only ever runs in a private namespace.
class Editor {
public:
    explicit Editor(const QStringList& arguments, const QStringList& environment = {},
                    const QString& workingDirectory = QString()) {
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        variables.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        variables.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        for (const QString& variable : environment)
            variables.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
        m_process.setProcessEnvironment(variables);
        m_process.setWorkingDirectory(workingDirectory);
        QObject::connect(&m_process, &QProcess::readyReadStandardError,
                         [this] { m_errors += QString::fromLocal8Bit(m_process.readAllStandardError()); });
        m_process.start(TestSupport::binDir() + QStringLiteral("/lumetto-keypad"), arguments);
    }

    ~Editor() {
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
    }

    bool started() { return m_process.waitForStarted(10000); }
    bool running() const { return m_process.state() == QProcess::Running; }
    QString errors() const { return m_errors; }
    QProcess& process() { return m_process; }

private:
    QTemporaryDir m_home;
    QProcess m_process;
    QString m_errors;
};

// A debug line the editor writes once its first discovery has gone out.
const QString DiscoveryDebug = QStringLiteral("sending discover to");

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    // The program must start, paint its window and stay up until it is asked to quit.
    void startsPaintsAndQuits() {
        Editor editor({}, {QStringLiteral("LUMETTO_STARTUP_REPORT=1")});
        QVERIFY2(editor.started(), qPrintable(editor.process().errorString()));

        const QRegularExpression report(QStringLiteral("first window painted after (\\d+) ms"));
        QTRY_VERIFY_WITH_TIMEOUT(report.match(editor.errors()).hasMatch(), 20000);
        const int ms = report.match(editor.errors()).captured(1).toInt();
        qInfo("start to first window: %d ms", ms);
        // Generous: a loaded two-core machine; a start that takes seconds is a fault all the same.
        QVERIFY2(ms < 5000, qPrintable(QString::number(ms)));

        QVERIFY(!editor.process().waitForFinished(1000));
        editor.process().terminate();
        QVERIFY(editor.process().waitForFinished(10000));
    }

    void debugOutputOnRequest_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("environment");
        QTest::newRow("--verbose") << QStringList{"--verbose"} << QStringList();
        QTest::newRow("logging rules") << QStringList() << QStringList{"QT_LOGGING_RULES=lumetto.comm.debug=true"};
    }

    void debugOutputOnRequest() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, environment);
        Editor editor(arguments, environment);
        QVERIFY(editor.started());
        QTRY_VERIFY_WITH_TIMEOUT(editor.errors().contains(DiscoveryDebug), 20000);
        // Each line names its category and where in the code it was written.
        const QRegularExpression located(QStringLiteral("debug lumetto\\.comm: sending discover to .*\\(\\S*"
                                                        "/comm/Discoverer\\.cpp:\\d+, .*Discoverer::\\w+"));
        QVERIFY2(located.match(editor.errors()).hasMatch(), qPrintable(editor.errors()));
    }

    // "lumetto-keypad FILE" loads the file onto the keypad as File > Load Configuration File...
    // would, once the keypad is connected; and says nothing of its debugging meanwhile.
    void asksBeforeSendingTheFileNamedOnTheCommandLine() {
        KeypadSimulator keypad;
        QVERIFY(keypad.start({QStringLiteral("10.77.0.2"), QStringLiteral("Lobby")}));
        const QString wash = QStringLiteral("effect=2&");
        QVERIFY(!keypad.liveQuery(6).startsWith(wash));

        // The factory file with a colour wash in scene 6, which the keypad has not.
        QFile factory(TestSupport::binDir() + QStringLiteral("/defaultConfiguration.xml"));
        QVERIFY(factory.open(QIODevice::ReadOnly));
        QString document = QString::fromLatin1(factory.readAll());
        const QString zeroColor = QStringLiteral("<color><red>0</red>\n<grn>0</grn>\n<blu>0</blu><by>0</by><x>0</x>"
                                                 "<y>0</y>\n</color>");
        const QString scene6 = QStringLiteral("<show><url>/api/v1/shows/6</url>\n<effect>2</effect>\n<parameters>"
                                              "<param>5</param><param>1</param><param>0</param><by>0</by><x>0</x>"
                                              "<y>0</y></parameters><numColors>0</numColors>\n<customColors>") +
                               zeroColor.repeated(6) + QStringLiteral("\n</customColors>\n</show>");
        const QRegularExpression oldScene6(QStringLiteral("<show><url>/api/v1/shows/6</url>.*?</show>"),
                                           QRegularExpression::DotMatchesEverythingOption);
        QVERIFY(document.contains(oldScene6));
        document.replace(oldScene6, scene6);
        QTemporaryDir folder;
        QVERIFY(TestSupport::writeFile(folder.filePath(QStringLiteral("lobby.xml")), document.toLatin1()));

        // Named as a user in that folder would name it: once the keypad is found, the editor asks before
        // the file replaces what the keypad holds, and sends nothing while the question is open.
        Editor editor({QStringLiteral("lobby.xml")}, {}, folder.path());
        QVERIFY(editor.started());
        QTRY_VERIFY_WITH_TIMEOUT(
            editor.errors().contains(QStringLiteral("Send lobby.xml to keypad Lobby (10.77.0.2)?")), 30000);
        QVERIFY(editor.running());
        QVERIFY(!keypad.liveQuery(6).startsWith(wash));
        for (const KeypadSimulator::Request& request : keypad.requestLog())
            QVERIFY2(request.method != QLatin1String("POST") || request.body.startsWith("apply=0"),
                     qPrintable(request.path + QLatin1Char(' ') + QString::fromLatin1(request.body)));
        QVERIFY2(!editor.errors().contains(DiscoveryDebug), qPrintable(editor.errors()));
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestStartup, "tst_startup", QCoreApplication)
#include "tst_startup.moc"

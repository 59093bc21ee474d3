#include "DisplayScaling.h"
#include "MSPComm.h"
#include "MainWindow.h"
#include "ProgramVersion.h"
#include "SplashScreen.h"
#include "StartupFileOpener.h"
#include "Translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLoggingCategory>
#include <QNetworkReply>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// With LUMETTO_STARTUP_REPORT set, the time from start to the first painted window and the
// resident memory at that moment go to standard error.
class FirstPaintReporter : public QObject {
public:
    explicit FirstPaintReporter(const QElapsedTimer& clock)
        : m_clock(clock) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_reported) {
            m_reported = true;
            fprintf(stderr, "first window painted after %lld ms, %s\n", static_cast<long long>(m_clock.elapsed()),
                    qPrintable(residentMemory()));
            watched->removeEventFilter(this);
        }
        return false;
    }

private:
    static QString residentMemory() {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QFile::ReadOnly))
            return QStringLiteral("memory unknown");
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                return QString::fromLatin1(line.simplified());
        }
        return QStringLiteral("memory unknown");
    }

    const QElapsedTimer& m_clock;
    bool m_reported = false;
};

const char ProgramName[] = "lumetto-keypad";

struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption verbose{QStringLiteral("verbose"),
                               QCoreApplication::translate("main", "Write debug messages to standard error.")};

    CommandLine()
        : help(parser.addHelpOption())
        , version(parser.addVersionOption()) {
        parser.setApplicationDescription(QCoreApplication::translate(
            "main", "Lumetto Keypad Effect Manager: finds Lumetto wall keypads on the local network and edits their "
                    "scenes and settings."));
        parser.addOption(verbose);
        parser.addPositionalArgument(
            QStringLiteral("file"),
            QCoreApplication::translate("main",
                                        "Configuration file to load, as File > Load Configuration File... does, once a "
                                        "keypad is connected or the offline demo starts."),
            QStringLiteral("[file]"));
    }
};

QStringList argumentList(int argc, char* argv[]) {
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

// Help and version are answered without the window's application object, which needs a display,
// and long before anything opens a socket. Returns only when neither was asked for.
void answerHelpAndVersion(CommandLine& commandLine, int argc, char* argv[]) {
    // Qt's own options (-style, -platform, ...) are unknown here: the real check comes once
    // QApplication has taken them out.
    commandLine.parser.parse(argumentList(argc, argv));
    const bool helpAll = commandLine.parser.isSet(QStringLiteral("help-all"));
    if (!commandLine.parser.isSet(commandLine.help) && !commandLine.parser.isSet(commandLine.version) && !helpAll)
        return;
    // Qt's own options are listed by the application object that takes them; the offscreen
    // platform needs no display.
    std::unique_ptr<QCoreApplication> app;
    if (helpAll) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QString::fromLatin1(ProgramName));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(ProgramVersion::text));
    commandLine.parser.process(*app); // prints and exits
    std::exit(0);
}

// Every line says where it comes from; debug lines only on request. QT_LOGGING_RULES and
// QT_MESSAGE_PATTERN still win over both.
void setUpLogging(bool verbose) {
    qSetMessagePattern(QStringLiteral("%{time hh:mm:ss.zzz} %{type} %{category}: %{message} "
                                      "(%{file}:%{line}, %{function})"));
    QLoggingCategory::setFilterRules(verbose ? QStringLiteral("lumetto.*.debug=true\ndefault.debug=true")
                                             : QStringLiteral("lumetto.*.debug=false\ndefault.debug=false"));
}

} // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer clock;
    clock.start();
    // The program draws only widgets: loading the OpenGL integration costs start-up time and
    // memory for nothing, unless the user asks for it.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    DisplayScaling::prepare();

    CommandLine commandLine;
    answerHelpAndVersion(commandLine, argc, argv);

    Q_INIT_RESOURCE(app_resources);
    QApplication app(argc, argv);
    // Before the names are set, so that a complaint names the program as it was called.
    commandLine.parser.process(app);
    const QStringList files = commandLine.parser.positionalArguments();
    if (files.size() > 1) {
        fprintf(stderr, "%s: one configuration file at a time\n", ProgramName);
        return 1;
    }
    setUpLogging(commandLine.parser.isSet(commandLine.verbose));
    Translations::install(app, QLocale::system(), Translations::folder());
    QApplication::setOrganizationName(QStringLiteral("Orvane"));
    QApplication::setOrganizationDomain(QStringLiteral("orvane.com"));
    QApplication::setApplicationName(QStringLiteral("Lumetto Keypad Effect Manager"));
    // The desktop entry ties the window to the installed icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("lumetto-keypad"));

    MainWindow window;
    FirstPaintReporter reporter(clock);
    if (qEnvironmentVariableIsSet("LUMETTO_STARTUP_REPORT"))
        window.installEventFilter(&reporter);
    QApplication::processEvents();

    SplashScreen splash;
    splash.show();
    window.setSplash(&splash);

    QApplication::processEvents();
    window.show();
    // Our own icon for desktops without the entry. Decoding it and handing every size to the
    // window system cost a twentieth of the start-up, so it follows once the window is up.
    QTimer::singleShot(
        0, &app, [] { QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/images/lumetto-keypad.png"))); });

    std::unique_ptr<StartupFileOpener> opener;
    if (!files.isEmpty()) {
        opener = std::make_unique<StartupFileOpener>(
            QFileInfo(files.first()).absoluteFilePath(), ConnectionState::instance(),
            [&window] { return MSPComm::instance()->hasOutstandingReplies() || window.isReadingFile(); },
            [&window](const QString& fileName) { window.openFile(fileName); });
        QObject::connect(MSPComm::instance(), &MSPComm::replyHandled, opener.get(), &StartupFileOpener::check);
        opener->check();
    }
    return app.exec();
}

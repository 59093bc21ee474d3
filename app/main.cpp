#include "MainWindow.h"
#include "SplashScreen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QIcon>
#include <cstdio>

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

} // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer clock;
    clock.start();
    // The program draws only widgets: loading the OpenGL integration costs start-up time and
    // memory for nothing, unless the user asks for it.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");

    Q_INIT_RESOURCE(app_resources);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orvane"));
    QApplication::setOrganizationDomain(QStringLiteral("orvane.com"));
    QApplication::setApplicationName(QStringLiteral("Lumetto Keypad Effect Manager"));
    // The desktop shows our own icon and ties the window to the installed desktop entry.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/images/lumetto-keypad.png")));
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
    return app.exec();
}

#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QImage>
#include <QLoggingCategory>
#include <QSpinBox>
#include <QStandardPaths>
#include <QWheelEvent>

#include <csignal>
#include <sys/resource.h>

namespace TestSupport {

void isolate(const QString& organization) {
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(organization);
    QCoreApplication::setOrganizationDomain(organization + QStringLiteral(".test.invalid"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumetto Keypad Effect Manager Test"));
    // A failure's lines must stand out, not drown among a heartbeat's every second; QT_LOGGING_RULES
    // still turns the debug lines on.
    QLoggingCategory::setFilterRules(QStringLiteral("lumetto.*.debug=false"));
}

bool insideNetworkNamespace() {
    return qgetenv("LUMETTO_NETNS") == "1";
}

QString binDir() {
    return QString::fromLocal8Bit(qgetenv("LUMETTO_BIN_DIR"));
}

QString sourceDir() {
    return QString::fromLocal8Bit(qgetenv("LUMETTO_SOURCE_DIR"));
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.flush();
}

void keepPicture(const QImage& image, const QString& name) {
    const QString folder = qEnvironmentVariable("LUMETTO_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        QVERIFY2(QDir().mkpath(folder) && image.save(QDir(folder).filePath(name)), qPrintable(name));
}

void keepPicture(QWidget* widget, const QString& name) {
    if (qEnvironmentVariableIsSet("LUMETTO_SCREENSHOT_DIR"))
        keepPicture(widget->grab().toImage(), name);
}

void typeInto(QSpinBox* spinBox, const QString& text) {
    spinBox->setFocus();
    spinBox->selectAll();
    QTest::keyClicks(spinBox, text);
    QTest::keyClick(spinBox, Qt::Key_Return);
}

QString describe(const QWidget* widget) {
    QStringList path;
    for (const QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget())
        path.prepend(w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
    return path.join(QLatin1Char('/'));
}

double meanDifference(const QImage& first, const QImage& second) {
    const QImage a = first.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = second.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (a.size() != b.size())
        return 255;
    qint64 sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q)) +
                   qAbs(qAlpha(p) - qAlpha(q));
        }
    }
    return double(sum) / (qint64(a.width()) * a.height() * 4);
}

QString offered(const QWidget* editor) {
    const auto enabled = [editor](const char* name) {
        const auto* button = editor->findChild<const QWidget*>(QLatin1String(name));
        return button && button->isEnabled();
    };
    return QString(enabled("applyButton") ? "save " : "") + QString(enabled("revertButton") ? "undo" : "");
}

QEvent::Type drop(QWidget* widget, QMimeData* data, const QPoint& at, Qt::DropActions actions) {
    QDragEnterEvent enter(at, actions, data, Qt::LeftButton, Qt::NoModifier);
    QDragMoveEvent move(at, actions, data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(at, actions, data, Qt::LeftButton, Qt::NoModifier);
    move.accept();
    for (QEvent* event : std::initializer_list<QEvent*>{&enter, &move, &drop}) {
        QApplication::sendEvent(widget, event);
        if (!event->isAccepted())
            return event->type();
    }
    return QEvent::None;
}

bool wheel(QWidget* widget, int delta, QPoint at) {
    if (at == QPoint(-1, -1))
        at = widget->rect().center();
    QWheelEvent event(QPointF(at), QPointF(widget->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
    return event.isAccepted();
}

FileSizeLimit::FileSizeLimit(qint64 bytes) {
    rlimit limit;
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return;
    m_previousLimit = limit.rlim_cur;
    m_saved = true;
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = rlim_t(bytes);
    m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit() {
    if (!m_saved)
        return;
    rlimit limit;
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(m_previousLimit);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_previousHandler);
}

} // namespace TestSupport

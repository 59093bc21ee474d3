#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

namespace FuzzSupport {

namespace {

QString& currentInput() {
    static QString name;
    return name;
}

void dropMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    // A fatal message ends the run anyway; say why.
    if (type == QtFatalMsg)
        std::fprintf(stderr, "fatal: %s\n", qPrintable(message));
}

} // namespace

void initialise(bool gui) {
    static bool done = false;
    if (done)
        return;
    done = true;
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    qInstallMessageHandler(dropMessage);
    // Nothing a target does may reach a user's settings or colour groups.
    QStandardPaths::setTestModeEnabled(true);
    if (gui) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QGuiApplication(argc, argv);
    } else {
        new QCoreApplication(argc, argv);
    }
    QCoreApplication::setOrganizationName(QStringLiteral("LumettoFuzz"));
}

QByteArray bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<int>(size));
}

void setCurrentInput(const QString& name) {
    currentInput() = name;
}

void propertyFailed(const char* condition, const char* file, int line, const QString& detail) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, condition);
    if (!detail.isEmpty())
        std::fprintf(stderr, "  %s\n", qPrintable(detail));
    if (!currentInput().isEmpty())
        std::fprintf(stderr, "  input: %s\n", qPrintable(currentInput()));
    std::fflush(stderr);
    std::abort();
}

QString firstDifference(const QString& a, const QString& b) {
    int i = 0;
    while (i < a.size() && i < b.size() && a.at(i) == b.at(i))
        ++i;
    const int from = qMax(0, i - 40);
    return QStringLiteral("first difference at %1: \"%2\" against \"%3\"").arg(i).arg(a.mid(from, 80), b.mid(from, 80));
}

} // namespace FuzzSupport

#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QStandardPaths>

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

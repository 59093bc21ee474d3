#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace TestSupport {

void isolate(const QString& organization) {
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(organization);
    QCoreApplication::setOrganizationDomain(organization + QStringLiteral(".test.invalid"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumetto Keypad Effect Manager Test"));
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

} // namespace TestSupport

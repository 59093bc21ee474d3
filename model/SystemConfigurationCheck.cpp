#include "SystemConfigurationCheck.h"

#include <QRegularExpression>
#include <QStringList>

QString SystemConfigurationCheck::namePattern() {
    return QStringLiteral("[^&,\"]{1,%1}").arg(nameMaximumLength);
}

bool SystemConfigurationCheck::isValidName(const QString& name) {
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(namePattern()));
    return pattern.match(name).hasMatch();
}

QString SystemConfigurationCheck::nameProblem(const QString& name) {
    if (name.isEmpty())
        return emptyNameMessage();
    if (name.size() > nameMaximumLength)
        return tr("The device's name cannot be longer than %1 characters.").arg(nameMaximumLength);
    if (!isValidName(name))
        return tr("The device's name cannot contain \"&\", \",\" or '\"'.");
    return QString();
}

QString SystemConfigurationCheck::emptyNameMessage() {
    return tr("The device's name cannot be empty.");
}

QString SystemConfigurationCheck::noSceneButtonMessage() {
    return tr("At least one scene button must be enabled.");
}

QString SystemConfigurationCheck::unreachableAddressMessage() {
    return tr("Changing the device's IP address to this value may prevent its light <br>settings from being "
              "available through this application.");
}

bool SystemConfigurationCheck::anySceneEnabled(const bool (&sceneStates)[SystemConfiguration::sceneCount]) {
    for (bool enabled : sceneStates) {
        if (enabled)
            return true;
    }
    return false;
}

SystemConfigurationCheck::ButtonGate SystemConfigurationCheck::buttonGate(const QString& version) {
    const QStringList parts = version.split(QLatin1Char('.'));
    if (parts.size() < 3)
        return ButtonGate::Unknown;
    const int major = parts.at(0).toInt(nullptr, 10);
    const int minor = parts.at(1).toInt(nullptr, 10);
    const int patch = parts.at(2).toInt(nullptr, 10);
    // The switches arrived in 1.1.15; every later firmware, 1.2 included, keeps them.
    const bool open = major > 1 || (major == 1 && minor >= 2) || (major == 1 && minor == 1 && patch > 14);
    return open ? ButtonGate::Open : ButtonGate::Closed;
}

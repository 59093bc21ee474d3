#include "SystemConfiguration.h"

#include "MSPXmlText.h"
#include "SystemConfigurationCheck.h"

namespace {

QLatin1String stateText(bool enabled) {
    return enabled ? QLatin1String("1") : QLatin1String("0");
}

QString switchPart(bool enabled, int keypadSwitch) {
    return (enabled ? QLatin1String("&enable") : QLatin1String("&disable")) + QLatin1String("_switch=") +
           QString::number(keypadSwitch);
}

QString propertyElement(const char* key, const QString& value) {
    return QLatin1String("<property>\n<url>/api/v1/config/") + QLatin1String(key) + QLatin1String("</url>\n<value>") +
           value + QLatin1String("</value>\n</property>");
}

} // namespace

SystemConfiguration* SystemConfiguration::instance() {
    static SystemConfiguration* configuration = new SystemConfiguration();
    return configuration;
}

SystemConfiguration::SystemConfiguration(QObject* parent)
    : QObject(parent)
    , m_version(tr("Not Available")) {}

bool SystemConfiguration::isSceneEnabled(int index) const {
    if (index < 0 || index >= sceneCount)
        return true;
    return m_sceneStates[index];
}

int SystemConfiguration::firstEnabledScene() const {
    for (int i = 0; i < sceneCount; ++i) {
        if (m_sceneStates[i])
            return i;
    }
    return 0;
}

bool SystemConfiguration::isNewerThan(const QString& other) const {
    const QStringList mine = m_version.split(QLatin1Char('.'));
    const QStringList theirs = other.split(QLatin1Char('.'));
    if (mine.size() < 3 || theirs.size() < 3)
        return false;
    for (int i = 0; i < 3; ++i) {
        const int a = mine.at(i).toInt();
        const int b = theirs.at(i).toInt();
        if (a != b)
            return a > b;
    }
    return false;
}

QStringList SystemConfiguration::PostData(bool includeIp, bool includeBrightness) const {
    QString settings = QLatin1String("name=") + m_name + QLatin1String("&universe=") + QString::number(m_universe) +
                       QLatin1String("&vexil=") + QString::number(m_VexilMode) + QLatin1String("&num_ports=") +
                       QString::number(m_numberOfPorts) + QLatin1String("&num_lights=") +
                       QString::number(m_lightsPerPort);
    if (includeBrightness) {
        settings +=
            QLatin1String("&abs_bright=") + (m_brightness < 0 ? QStringLiteral("off") : QString::number(m_brightness));
    }
    settings += QLatin1String("&global_profile=") + QString::number(m_fixtureClass);

    QString switches;
    for (int i = 0; i < sceneCount; ++i)
        switches += switchPart(m_sceneStates[i], i + 1);
    switches += switchPart(m_downCheckBoxState, 11);
    switches += switchPart(m_upCheckBoxState, 10);
    switches += switchPart(m_onOffCheckBoxState, 9);
    if (includeIp)
        switches += QLatin1String("&ip=") + m_ipAddress;

    return {settings, switches};
}

QString SystemConfiguration::XMLData(bool includeIp) const {
    QString text =
        QLatin1String("<config>\n") + propertyElement("name", MSPXmlText::escaped(m_name)) + QLatin1Char('\n');
    if (includeIp)
        text += propertyElement("ip", MSPXmlText::escaped(m_ipAddress)) + QLatin1Char('\n');
    // The profile's property has no line break after it; files have always looked like this.
    text += propertyElement("global_profile", QString::number(m_fixtureClass));
    text += propertyElement("universe", QString::number(m_universe)) + QLatin1Char('\n');
    text += propertyElement("vexil", QString::number(m_VexilMode)) + QLatin1Char('\n');
    text += propertyElement("num_ports", QString::number(m_numberOfPorts)) + QLatin1Char('\n');
    text += propertyElement("num_lights", QString::number(m_lightsPerPort)) + QLatin1Char('\n');
    text += propertyElement("brightness", m_brightness == -1 ? QStringLiteral("off") : QString::number(m_brightness)) +
            QLatin1Char('\n');

    QString states;
    for (int i = 0; i < sceneCount; ++i)
        states += stateText(m_sceneStates[i]) + QLatin1Char(',');
    states += stateText(m_onOffCheckBoxState) + QLatin1Char(',') + stateText(m_upCheckBoxState) + QLatin1Char(',') +
              stateText(m_downCheckBoxState);
    text += propertyElement("switch_state", states) + QLatin1String("\n</config>\n");
    return text;
}

void SystemConfiguration::setName(const QString& name, bool emitSignal) {
    if (name != m_name)
        m_name = name;
    if (emitSignal) {
        emit nameChanged(m_name);
        emit configurationChanged();
    }
}

void SystemConfiguration::setRangedValue(int& field, int value, int minimum, int maximum, bool emitSignal,
                                         void (SystemConfiguration::*changed)(int)) {
    if (value < minimum || value > maximum || value == field)
        return;
    field = value;
    if (emitSignal) {
        emit(this->*changed)(value);
        emit configurationChanged();
    }
}

void SystemConfiguration::setUniverse(int value, bool emitSignal) {
    setRangedValue(m_universe, value, SystemConfigurationCheck::universeRange.minimum,
                   SystemConfigurationCheck::universeRange.maximum, emitSignal, &SystemConfiguration::universeChanged);
}

void SystemConfiguration::setVexilMode(int value, bool emitSignal) {
    setRangedValue(m_VexilMode, value, SystemConfigurationCheck::VexilModeRange.minimum,
                   SystemConfigurationCheck::VexilModeRange.maximum, emitSignal,
                   &SystemConfiguration::VexilModeChanged);
}

void SystemConfiguration::setLightsPerPort(int value, bool emitSignal) {
    setRangedValue(m_lightsPerPort, value, SystemConfigurationCheck::lightsPerPortRange.minimum,
                   SystemConfigurationCheck::lightsPerPortRange.maximum, emitSignal,
                   &SystemConfiguration::lightsPerPortChanged);
}

void SystemConfiguration::setNumberOfPorts(int value, bool emitSignal) {
    setRangedValue(m_numberOfPorts, value, SystemConfigurationCheck::numberOfPortsRange.minimum,
                   SystemConfigurationCheck::numberOfPortsRange.maximum, emitSignal,
                   &SystemConfiguration::numberOfPortsChanged);
}

void SystemConfiguration::setIpAddress(const QString& address, bool emitSignal) {
    if (address != m_ipAddress)
        m_ipAddress = address;
    if (emitSignal) {
        emit ipAddressChanged(m_ipAddress);
        emit configurationChanged();
    }
}

void SystemConfiguration::setBrightness(int value) {
    m_brightness = value;
    emit brightnessChanged(value);
}

void SystemConfiguration::setVersion(const QString& value, bool emitSignal) {
    if (value == m_version)
        return;
    m_version = value;
    if (emitSignal)
        emit configurationChanged();
}

void SystemConfiguration::setButtonState(bool& state, bool value, bool emitSignal, StateSignal changed) {
    if (value == state) {
        if (emitSignal)
            emit configurationChanged();
        return;
    }
    state = value;
    if (emitSignal)
        emit configurationChanged();
    // The control panel follows every button, also while the reader holds configurationChanged back.
    emit(this->*changed)(value);
}

void SystemConfiguration::setScene1CheckBoxState(bool value, bool emitSignal) {
    setButtonState(m_sceneStates[0], value, emitSignal, &SystemConfiguration::scene1CheckBoxStateChanged);
}

void SystemConfiguration::setScene2CheckBoxState(bool value, bool emitSignal) {
    setButtonState(m_sceneStates[1], value, emitSignal, &SystemConfiguration::scene2CheckBoxStateChanged);
}

void SystemConfiguration::setScene3CheckBoxState(bool value, bool emitSignal) {
    setButtonState(m_sceneStates[2], value, emitSignal, &SystemConfiguration::scene3CheckBoxStateChanged);
}

void SystemConfiguration::setScene4CheckBoxState(bool value, bool emitSignal) {
    setButtonState(m_sceneStates[3], value, emitSignal, &SystemConfiguration::scene4CheckBoxStateChanged);
}

void SystemConfiguration::setScene5CheckBoxState(bool value, bool emitSignal) {
    setButtonState(m_sceneStates[4], value, emitSignal, &SystemConfiguration::scene5CheckBoxStateChanged);
}

void SystemConfiguration::setScene6CheckBoxState(bool value, bool emitSignal) {
    setButtonState(m_sceneStates[5], value, emitSignal, &SystemConfiguration::scene6CheckBoxStateChanged);
}

void SystemConfiguration::setScene7CheckBoxState(bool value, bool emitSignal) {
    setButtonState(m_sceneStates[6], value, emitSignal, &SystemConfiguration::scene7CheckBoxStateChanged);
}

void SystemConfiguration::setScene8CheckBoxState(bool value, bool emitSignal) {
    setButtonState(m_sceneStates[7], value, emitSignal, &SystemConfiguration::scene8CheckBoxStateChanged);
}

void SystemConfiguration::setDownCheckBoxState(bool value, bool emitSignal) {
    setButtonState(m_downCheckBoxState, value, emitSignal, &SystemConfiguration::downCheckBoxStateChanged);
}

void SystemConfiguration::setUpCheckBoxState(bool value, bool emitSignal) {
    setButtonState(m_upCheckBoxState, value, emitSignal, &SystemConfiguration::upCheckBoxStateChanged);
}

void SystemConfiguration::setOnOffCheckBoxState(bool value, bool emitSignal) {
    setButtonState(m_onOffCheckBoxState, value, emitSignal, &SystemConfiguration::onOffCheckBoxStateChanged);
}

void SystemConfiguration::setFixtureClass(ColorUtils::HueformProfileID fixtureClass, bool emitSignal) {
    if (fixtureClass < 0 || fixtureClass >= ColorUtils::ProfileCount)
        fixtureClass = 0;
    if (fixtureClass == m_fixtureClass)
        return;
    m_fixtureClass = fixtureClass;
    if (emitSignal)
        emit configurationChanged();
}

void SystemConfiguration::handleDiscovering() {
    // With emitSignal false every state that changes still reports itself, and nothing else is emitted.
    setScene1CheckBoxState(true, false);
    setScene2CheckBoxState(true, false);
    setScene3CheckBoxState(true, false);
    setScene4CheckBoxState(true, false);
    setScene5CheckBoxState(true, false);
    setScene6CheckBoxState(true, false);
    setScene7CheckBoxState(true, false);
    setScene8CheckBoxState(true, false);
    setDownCheckBoxState(true, false);
    setUpCheckBoxState(true, false);
    setOnOffCheckBoxState(true, false);
}

#pragma once

#include "ColorUtils.h"

#include <QObject>
#include <QString>
#include <QStringList>

// The keypad's system settings as the editor knows them, and their query texts and XML form.
class SystemConfiguration : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString ipAddress READ ipAddress WRITE setIpAddress NOTIFY ipAddressChanged)
    Q_PROPERTY(int VexilMode READ VexilMode WRITE setVexilMode NOTIFY VexilModeChanged)
    Q_PROPERTY(int lightsPerPort READ lightsPerPort WRITE setLightsPerPort NOTIFY lightsPerPortChanged)
    Q_PROPERTY(int numberOfPorts READ numberOfPorts WRITE setNumberOfPorts NOTIFY numberOfPortsChanged)
    Q_PROPERTY(QString version READ version WRITE setVersion)
    Q_PROPERTY(bool scene1CheckBoxState READ scene1CheckBoxState WRITE setScene1CheckBoxState NOTIFY
                   scene1CheckBoxStateChanged)
    Q_PROPERTY(bool scene2CheckBoxState READ scene2CheckBoxState WRITE setScene2CheckBoxState NOTIFY
                   scene2CheckBoxStateChanged)
    Q_PROPERTY(bool scene3CheckBoxState READ scene3CheckBoxState WRITE setScene3CheckBoxState NOTIFY
                   scene3CheckBoxStateChanged)
    Q_PROPERTY(bool scene4CheckBoxState READ scene4CheckBoxState WRITE setScene4CheckBoxState NOTIFY
                   scene4CheckBoxStateChanged)
    Q_PROPERTY(bool scene5CheckBoxState READ scene5CheckBoxState WRITE setScene5CheckBoxState NOTIFY
                   scene5CheckBoxStateChanged)
    Q_PROPERTY(bool scene6CheckBoxState READ scene6CheckBoxState WRITE setScene6CheckBoxState NOTIFY
                   scene6CheckBoxStateChanged)
    Q_PROPERTY(bool scene7CheckBoxState READ scene7CheckBoxState WRITE setScene7CheckBoxState NOTIFY
                   scene7CheckBoxStateChanged)
    Q_PROPERTY(bool scene8CheckBoxState READ scene8CheckBoxState WRITE setScene8CheckBoxState NOTIFY
                   scene8CheckBoxStateChanged)
    Q_PROPERTY(bool downCheckBoxState READ downCheckBoxState WRITE setDownCheckBoxState NOTIFY downCheckBoxStateChanged)
    Q_PROPERTY(bool upCheckBoxState READ upCheckBoxState WRITE setUpCheckBoxState NOTIFY upCheckBoxStateChanged)
    Q_PROPERTY(
        bool onOffCheckBoxState READ onOffCheckBoxState WRITE setOnOffCheckBoxState NOTIFY onOffCheckBoxStateChanged)

public:
    static constexpr int sceneCount = 8;

    static SystemConfiguration* instance();

    QString name() const { return m_name; }
    QString ipAddress() const { return m_ipAddress; }
    QString version() const { return m_version; }
    int universe() const { return m_universe; }
    int VexilMode() const { return m_VexilMode; }
    int lightsPerPort() const { return m_lightsPerPort; }
    int numberOfPorts() const { return m_numberOfPorts; }
    int brightness() const { return m_brightness; }
    bool scene1CheckBoxState() const { return m_sceneStates[0]; }
    bool scene2CheckBoxState() const { return m_sceneStates[1]; }
    bool scene3CheckBoxState() const { return m_sceneStates[2]; }
    bool scene4CheckBoxState() const { return m_sceneStates[3]; }
    bool scene5CheckBoxState() const { return m_sceneStates[4]; }
    bool scene6CheckBoxState() const { return m_sceneStates[5]; }
    bool scene7CheckBoxState() const { return m_sceneStates[6]; }
    bool scene8CheckBoxState() const { return m_sceneStates[7]; }
    bool downCheckBoxState() const { return m_downCheckBoxState; }
    bool upCheckBoxState() const { return m_upCheckBoxState; }
    bool onOffCheckBoxState() const { return m_onOffCheckBoxState; }
    ColorUtils::HueformProfileID fixtureClass() const { return m_fixtureClass; }

    // State of scene button index + 1 (index 0-7); true for any other index.
    bool isSceneEnabled(int index) const;
    // 0-based index of the first enabled scene button; 0 when none is enabled.
    int firstEnabledScene() const;
    // True when the stored major.minor.patch version is strictly greater than other.
    bool isNewerThan(const QString& other) const;

    // The two bodies of a configuration post: the settings, then the button enable switches.
    QStringList PostData(bool includeIp, bool includeBrightness) const;
    // The <config> element of a document; names are written XML-escaped.
    QString XMLData(bool includeIp) const;

signals:
    void nameChanged(QString name);
    void ipAddressChanged(QString address);
    void universeChanged(int value);
    void VexilModeChanged(int value);
    void lightsPerPortChanged(int value);
    void numberOfPortsChanged(int value);
    void brightnessChanged(int value);
    void configurationChanged();
    void scene1CheckBoxStateChanged(bool value);
    void scene2CheckBoxStateChanged(bool value);
    void scene3CheckBoxStateChanged(bool value);
    void scene4CheckBoxStateChanged(bool value);
    void scene5CheckBoxStateChanged(bool value);
    void scene6CheckBoxStateChanged(bool value);
    void scene7CheckBoxStateChanged(bool value);
    void scene8CheckBoxStateChanged(bool value);
    void downCheckBoxStateChanged(bool value);
    void upCheckBoxStateChanged(bool value);
    void onOffCheckBoxStateChanged(bool value);

public slots:
    void setName(const QString& name, bool emitSignal = true);
    void setUniverse(int value, bool emitSignal = true);
    void setVexilMode(int value, bool emitSignal = true);
    void setLightsPerPort(int value, bool emitSignal = true);
    void setNumberOfPorts(int value, bool emitSignal = true);
    void setIpAddress(const QString& address, bool emitSignal = true);
    void setBrightness(int value);
    void setVersion(const QString& value, bool emitSignal = true);
    void setScene1CheckBoxState(bool value, bool emitSignal = true);
    void setScene2CheckBoxState(bool value, bool emitSignal = true);
    void setScene3CheckBoxState(bool value, bool emitSignal = true);
    void setScene4CheckBoxState(bool value, bool emitSignal = true);
    void setScene5CheckBoxState(bool value, bool emitSignal = true);
    void setScene6CheckBoxState(bool value, bool emitSignal = true);
    void setScene7CheckBoxState(bool value, bool emitSignal = true);
    void setScene8CheckBoxState(bool value, bool emitSignal = true);
    void setDownCheckBoxState(bool value, bool emitSignal = true);
    void setUpCheckBoxState(bool value, bool emitSignal = true);
    void setOnOffCheckBoxState(bool value, bool emitSignal = true);
    void setFixtureClass(ColorUtils::HueformProfileID fixtureClass, bool emitSignal = true);
    void handleDiscovering();

private:
    // The document check reads into a scratch copy; everyone else shares instance().
    friend class MSPDocument;
    explicit SystemConfiguration(QObject* parent = nullptr);
    Q_DISABLE_COPY(SystemConfiguration)

    using StateSignal = void (SystemConfiguration::*)(bool);
    void setButtonState(bool& state, bool value, bool emitSignal, StateSignal changed);
    void setRangedValue(int& field, int value, int minimum, int maximum, bool emitSignal,
                        void (SystemConfiguration::*changed)(int));

    QString m_name;
    QString m_ipAddress;
    QString m_version;
    int m_universe = 0;
    int m_VexilMode = 1;
    int m_lightsPerPort = 1;
    int m_numberOfPorts = 1;
    int m_brightness = 0;
    bool m_sceneStates[sceneCount] = {true, true, true, true, true, true, true, true};
    bool m_downCheckBoxState = true;
    bool m_upCheckBoxState = true;
    bool m_onOffCheckBoxState = true;
    ColorUtils::HueformProfileID m_fixtureClass = 0;
};

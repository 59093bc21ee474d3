#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <array>
#include <chrono>

// What the keypad stores for one scene, in its own form: the numbers the editor posts.
struct SceneContent {
    struct Colour {
        std::array<quint16, 3> bytes{}; // red, green, blue channel bytes (0-255)
        std::array<quint16, 3> xy{};    // x * 10000, y * 10000, Y * 1000
        bool operator==(const Colour& other) const { return bytes == other.bytes && xy == other.xy; }
    };

    int effect = 0;
    QList<quint16> params;
    std::array<quint16, 3> xy{}; // x * 10000, y * 10000, Y * 1000
    QList<Colour> colours;

    bool operator==(const SceneContent& other) const {
        return effect == other.effect && params == other.params && xy == other.xy && colours == other.colours;
    }
    bool operator!=(const SceneContent& other) const { return !(*this == other); }
};

// The keypad's system configuration.
struct KeypadConfig {
    static constexpr int SwitchCount = 11; // scenes 1-8, on/off, up, down

    QString name;
    QString ip;
    QString version;
    int universe = 0;
    int vexil = 1;
    int numPorts = 1;
    int numLights = 1;
    int profile = 0;
    int level = 255; // brightness while on
    bool on = true;
    std::array<bool, SwitchCount> switches{{true, true, true, true, true, true, true, true, true, true, true}};

    bool operator==(const KeypadConfig& other) const;
    bool operator!=(const KeypadConfig& other) const { return !(*this == other); }
};

/**
 * Everything a keypad remembers and how it reacts to what the editor posts, without any
 * networking: the simulator's HTTP threads and its control channel call it under one lock.
 *
 * Bodies are read strictly, as a keypad that checks what it is sent: anything malformed is
 * refused as a whole and changes nothing.
 */
class KeypadState {
public:
    static constexpr int SceneCount = 8;
    static constexpr int BrightnessStep = 16;

    explicit KeypadState(const KeypadConfig& factory);

    // What a request changed, for the notices and the log.
    struct Outcome {
        bool ok = true;
        int status = 200;
        QString error;
        bool sceneSelected = false; // the active scene changed
        bool configChanged = false; // the configuration changed
        bool factoryReset = false;
        QString newAddress; // the keypad is to move there
    };

    /// POST to "/api/v1/shows/<scene>" (scene 1-8).
    Outcome postScene(int scene, const QByteArray& body);
    /// A scene read or a press: scene 1-8 becomes the active one.
    bool selectScene(int scene);
    /// POST to "/api/v1/config".
    Outcome postConfig(const QByteArray& body);

    // The keypad's own buttons; a disabled button does nothing and returns false.
    bool pressScene(int scene);
    bool pressUp();
    bool pressDown();
    bool pressOnOff();

    void factoryReset();
    void setAddress(const QString& address) { m_config.ip = address; }

    int activeScene() const { return m_active; }
    /// When the active scene started playing: when it became the active one, or at the last reset.
    std::chrono::steady_clock::time_point activeSince() const { return m_activeSince; }
    const KeypadConfig& config() const { return m_config; }
    const SceneContent& liveScene(int scene) const { return m_live.at(static_cast<size_t>(scene - 1)); }
    const SceneContent& savedScene(int scene) const { return m_saved.at(static_cast<size_t>(scene - 1)); }
    /// True for firmware that knows enabled and disabled buttons (1.1.15 to 1.1.x and 1.3 on).
    bool hasButtonFeature() const;

    QByteArray showsXml() const;
    QByteArray sceneXml(int scene) const;
    QByteArray configXml() const;
    QJsonObject toJson() const;

    static QList<SceneContent> factoryScenes();
    static QString queryText(const SceneContent& scene);

private:
    QByteArray showElement(int scene) const;
    bool changeLevel(int delta);

    KeypadConfig m_factory;
    KeypadConfig m_config;
    std::array<SceneContent, SceneCount> m_saved;
    std::array<SceneContent, SceneCount> m_live;
    int m_active = 1;
    std::chrono::steady_clock::time_point m_activeSince;
};

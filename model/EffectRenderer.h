#pragma once

#include "ColorUtils.h"
#include "FixtureScreen.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

class MSPEffect;
class SystemConfiguration;

// What the lights of a keypad show for a scene's effect at a moment, as docs/effects.md tells it:
// the three channel bytes of every light and the colour they make on screen. Pure computation,
// shared by the editor's preview, the simulator and the command line.
class EffectRenderer final {
public:
    struct Light {
        std::array<quint8, 3> channels{};
        QRgb screen = qRgb(0, 0, 0);
        bool operator==(const Light& other) const { return channels == other.channels && screen == other.screen; }
        bool operator!=(const Light& other) const { return !(*this == other); }
    };
    // Port by port, each from its first light to its last: light l of port p is at p * lightsPerPort + l.
    using Frame = QVector<Light>;

    struct Layout {
        int ports = 1;
        int lightsPerPort = 1;
        ColorUtils::HueformProfileID profile = 0;

        static Layout of(const SystemConfiguration& configuration);
        bool operator==(const Layout& other) const {
            return ports == other.ports && lightsPerPort == other.lightsPerPort && profile == other.profile;
        }
        bool operator!=(const Layout& other) const { return !(*this == other); }
    };

    static constexpr int maximumPorts = 16;
    static constexpr int maximumLightsPerPort = 170;

    // Ports and lights are kept within what a keypad drives.
    void setLayout(const Layout& layout);
    const Layout& layout() const { return m_layout; }
    int lightCount() const { return m_layout.ports * m_layout.lightsPerPort; }

    // Takes a copy of what the effect shows; the effect is not kept. Null shows no light.
    void setEffect(const MSPEffect* effect);
    // The scene's number, 1 to 8: random colours are drawn from it.
    void setSceneNumber(int number);
    int sceneNumber() const { return m_sceneNumber; }

    void render(double seconds, Frame* frame) const;
    Frame frame(double seconds) const;

    // The first time from `seconds` on at which the frame may differ from the frame at `seconds`:
    // `seconds` itself while the lights move, infinity when they never change again.
    double nextChange(double seconds) const;
    // The effect's cycle in seconds (docs/effects.md); 0 for effects that stand still.
    double cycleSeconds() const { return m_cycle; }

    // "#rrggbb".
    static QString screenName(QRgb color);

private:
    using Channels = std::array<int, 3>;
    enum class Motion { Still, HueWash, BandWash, Random };

    void prepare();
    Light light(const Channels& channels) const;
    void renderHueWash(double seconds, Light* port) const;
    void renderBandWash(double seconds, Light* port) const;
    void renderRandom(double seconds, Frame* frame) const;
    Channels whiteChannels() const;

    Layout m_layout;
    FixtureScreen m_screen;
    int m_sceneNumber = 1;

    // What was taken from the effect.
    int m_type = -1;
    int m_speed = 1;
    int m_direction = 0;
    int m_width = 1;
    bool m_fade = false;
    int m_temperature = 0;
    int m_brightness = 100;
    QStringList m_colors;

    // Worked out from it and the layout.
    Motion m_motion = Motion::Still;
    double m_cycle = 0.0;
    Light m_still;
    QVector<Channels> m_bands;
    // Random colours of the interval rendered last, and of the one after it.
    mutable qint64 m_randomChange = 0;
    mutable QVector<Channels> m_randomNow;
    mutable QVector<Channels> m_randomNext;
};

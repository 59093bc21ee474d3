#include "EffectRenderer.h"

#include "CCTUtils.h"
#include "ColorScience.h"
#include "FixtureProfile.h"
#include "MSPCustomWashEffect.h"
#include "MSPEffect.h"
#include "MSPFixedColorEffect.h"
#include "MSPRandomColorEffect.h"
#include "MSPSpeedText.h"
#include "MSPWhiteEffect.h"
#include "SystemConfiguration.h"
#include "ZelColor.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double warmKelvin = 2700.0;
constexpr double coolKelvin = 6500.0;
// Far brighter than any fixture's full white.
constexpr double overdrive = 1000.0;

double frac(double value) {
    return value - std::floor(value);
}

// Rounding of a level that is never negative.
int rounded(double level) {
    return static_cast<int>(level + 0.5);
}

// A hue (0 to 1 for the whole wheel) at full saturation and brightness, as red, green and blue bytes.
std::array<int, 3> hueChannels(double hue) {
    const double h = frac(hue) * 6.0;
    const int sector = std::min(5, static_cast<int>(h));
    const int rising = rounded(255.0 * (h - sector));
    const int falling = 255 - rising;
    switch (sector) {
    case 0:
        return {255, rising, 0};
    case 1:
        return {falling, 255, 0};
    case 2:
        return {0, 255, rising};
    case 3:
        return {0, falling, 255};
    case 4:
        return {rising, 0, 255};
    default:
        return {255, 0, falling};
    }
}

std::array<int, 3> mixed(const std::array<int, 3>& from, const std::array<int, 3>& to, double share) {
    std::array<int, 3> result{};
    for (size_t i = 0; i < 3; ++i)
        result[i] = rounded(from[i] + (to[i] - from[i]) * share);
    return result;
}

quint64 splitMix(quint64 value) {
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

// The random hue of one light after `change` changes: the same numbers give the same hue everywhere.
double randomHue(int scene, int port, int light, qint64 change) {
    quint64 h = splitMix(static_cast<quint64>(scene));
    h = splitMix(h ^ static_cast<quint64>(port));
    h = splitMix(h ^ static_cast<quint64>(light));
    h = splitMix(h ^ static_cast<quint64>(change));
    return static_cast<double>(h >> 11) * 0x1.0p-53;
}

void xyzOf(double x, double y, double xyz[3]) {
    ColorScience::xyYToXyz(1.0, x, y, xyz);
}

} // namespace

EffectRenderer::Layout EffectRenderer::Layout::of(const SystemConfiguration& configuration) {
    return {configuration.numberOfPorts(), configuration.lightsPerPort(), configuration.fixtureClass()};
}

void EffectRenderer::setLayout(const Layout& layout) {
    const bool newProfile = layout.profile != m_layout.profile;
    m_layout.ports = std::clamp(layout.ports, 1, maximumPorts);
    m_layout.lightsPerPort = std::clamp(layout.lightsPerPort, 1, maximumLightsPerPort);
    if (newProfile)
        m_screen = FixtureScreen(layout.profile);
    // An unknown profile is shown as the one the screen fell back to.
    m_layout.profile = m_screen.profile();
    prepare();
}

void EffectRenderer::setSceneNumber(int number) {
    m_sceneNumber = number;
    m_randomNow.clear();
}

void EffectRenderer::setEffect(const MSPEffect* effect) {
    m_type = effect ? effect->type() : -1;
    m_colors.clear();
    if (const auto* fixed = qobject_cast<const MSPFixedColorEffect*>(effect))
        m_colors = QStringList{fixed->color()};
    if (const auto* wash = qobject_cast<const MSPColorWashEffect*>(effect)) {
        m_speed = wash->speed();
        m_direction = wash->direction();
    }
    if (const auto* custom = qobject_cast<const MSPCustomWashEffect*>(effect)) {
        m_width = custom->width();
        m_colors = custom->colorList();
    }
    if (const auto* random = qobject_cast<const MSPRandomColorEffect*>(effect)) {
        m_speed = random->speed();
        m_fade = random->fade();
    }
    if (const auto* white = qobject_cast<const MSPWhiteEffect*>(effect)) {
        m_temperature = white->temperature();
        m_brightness = white->brightness();
    }
    prepare();
}

EffectRenderer::Light EffectRenderer::light(const Channels& channels) const {
    Light result;
    for (size_t i = 0; i < 3; ++i)
        result.channels[i] = static_cast<quint8>(std::clamp(channels[i], 0, 255));
    result.screen = m_screen.screenColor(result.channels[0], result.channels[1], result.channels[2]);
    return result;
}

void EffectRenderer::prepare() {
    m_randomNow.clear();
    m_motion = Motion::Still;
    m_cycle = 0.0;
    m_bands.clear();
    m_still = light({0, 0, 0});
    auto deviceChannels = [this](const QString& text) {
        int bytes[3] = {0, 0, 0};
        MSPEffect::deviceBytes(ZelColor(text), m_layout.profile, bytes);
        return Channels{bytes[0], bytes[1], bytes[2]};
    };

    switch (m_type) {
    case MSPEffect::FixedColor:
    case MSPEffect::VariableColor:
        if (!m_colors.isEmpty())
            m_still = light(deviceChannels(m_colors.first()));
        break;
    case MSPEffect::ColorWash:
        m_motion = Motion::HueWash;
        m_cycle = MSPSpeedText::washSeconds(m_speed);
        break;
    case MSPEffect::RainbowWash:
        m_motion = Motion::BandWash;
        m_cycle = MSPSpeedText::washSeconds(m_speed);
        for (int sixth = 0; sixth < 6; ++sixth)
            m_bands.append(hueChannels(sixth / 6.0));
        break;
    case MSPEffect::CustomWash:
        m_cycle = MSPSpeedText::customSeconds(m_speed);
        for (const QString& text : qAsConst(m_colors))
            m_bands.append(deviceChannels(text));
        // Without colours there is nothing to wash: the lights stay dark.
        if (!m_bands.isEmpty())
            m_motion = Motion::BandWash;
        break;
    case MSPEffect::RandomColor:
        m_motion = Motion::Random;
        m_cycle = MSPSpeedText::customSeconds(m_speed);
        break;
    case MSPEffect::RgbWhite:
    case MSPEffect::DuoWhite:
        m_still = light(whiteChannels());
        break;
    default:
        break;
    }
}

EffectRenderer::Channels EffectRenderer::whiteChannels() const {
    const double temperature = std::clamp(m_temperature, 0, 255) / 255.0;
    const double coolShare = m_type == MSPEffect::DuoWhite ? temperature : 1.0 - temperature;
    const double luminance = std::clamp(m_brightness, 0, 100) / 100.0;

    double warm[3], cool[3];
    const FixtureProfile* fixture = FixtureProfile::find(m_layout.profile);
    switch (fixture->drive) {
    case FixtureProfile::Drive::DualWhite:
    case FixtureProfile::Drive::TunableWhite:
        xyzOf(fixture->emitters.at(0).chromaticity.x, fixture->emitters.at(0).chromaticity.y, warm);
        xyzOf(fixture->emitters.at(1).chromaticity.x, fixture->emitters.at(1).chromaticity.y, cool);
        break;
    case FixtureProfile::Drive::Dimmer:
        xyzOf(fixture->emitters.at(0).chromaticity.x, fixture->emitters.at(0).chromaticity.y, warm);
        std::copy(warm, warm + 3, cool);
        break;
    case FixtureProfile::Drive::Rgb: {
        const QPointF warmXy = CCTUtils::getxyFromCCT(warmKelvin);
        const QPointF coolXy = CCTUtils::getxyFromCCT(coolKelvin);
        xyzOf(warmXy.x(), warmXy.y(), warm);
        xyzOf(coolXy.x(), coolXy.y(), cool);
        break;
    }
    }
    double white[3];
    for (int i = 0; i < 3; ++i)
        white[i] = (1.0 - coolShare) * warm[i] + coolShare * cool[i];
    // Full brightness is the brightest this white gets on the fixture: the colour library scales a
    // light too bright to make down to the fixture's full output, keeping its colour.
    int bytes[3] = {0, 0, 0};
    MSPEffect::deviceBytes(ZelColor::fromXYZ(white[0] * overdrive, white[1] * overdrive, white[2] * overdrive),
                           m_layout.profile, bytes);
    double full[3];
    fixture->channelsToXyz({bytes[0] / 255.0, bytes[1] / 255.0, bytes[2] / 255.0}, full);
    const double scale = luminance * full[1];
    MSPEffect::deviceBytes(ZelColor::fromXYZ(white[0] * scale, white[1] * scale, white[2] * scale), m_layout.profile,
                           bytes);
    return {bytes[0], bytes[1], bytes[2]};
}

void EffectRenderer::render(double seconds, Frame* frame) const {
    frame->resize(lightCount());
    Light* lights = frame->data();
    const int perPort = m_layout.lightsPerPort;
    switch (m_motion) {
    case Motion::Still:
        std::fill(lights, lights + frame->size(), m_still);
        return;
    case Motion::Random:
        renderRandom(seconds, frame);
        return;
    case Motion::HueWash:
        renderHueWash(seconds, lights);
        break;
    case Motion::BandWash:
        renderBandWash(seconds, lights);
        break;
    }
    // Every port shows the wash alike.
    for (int port = 1; port < m_layout.ports; ++port)
        std::copy(lights, lights + perPort, lights + port * perPort);
}

EffectRenderer::Frame EffectRenderer::frame(double seconds) const {
    Frame result;
    render(seconds, &result);
    return result;
}

void EffectRenderer::renderHueWash(double seconds, Light* port) const {
    const int count = m_layout.lightsPerPort;
    const double travelled = frac(seconds / m_cycle);
    const double step = m_direction == 0 ? -1.0 / count : 1.0 / count;
    for (int i = 0; i < count; ++i)
        port[i] = light(hueChannels(travelled + step * i));
}

void EffectRenderer::renderBandWash(double seconds, Light* port) const {
    const int count = m_layout.lightsPerPort;
    const int bands = m_bands.size();
    const int width = std::max(1, m_width);
    const double pattern = static_cast<double>(bands) * width;
    // How far the pattern has moved, reduced to one pattern length before the lights are placed.
    const double moved = std::fmod(count * (seconds / m_cycle), pattern);
    const double shift = m_direction == 0 ? -moved : moved;
    for (int i = 0; i < count; ++i) {
        double q = std::fmod(i + shift, pattern);
        if (q < 0)
            q += pattern;
        const int band = std::min(bands - 1, static_cast<int>(q / width));
        const double edge = q - band * width - (width - 1);
        if (edge <= 0)
            port[i] = light(m_bands.at(band));
        else
            port[i] = light(mixed(m_bands.at(band), m_bands.at((band + 1) % bands), std::min(1.0, edge)));
    }
}

void EffectRenderer::renderRandom(double seconds, Frame* frame) const {
    const double cycles = seconds / m_cycle;
    const double whole = std::floor(cycles);
    const auto change = static_cast<qint64>(whole);
    const double share = cycles - whole;
    const int count = m_layout.lightsPerPort;
    // A frame at the display's pace falls in the same interval as the one before, almost always.
    if (change != m_randomChange || m_randomNow.size() != frame->size()) {
        m_randomChange = change;
        m_randomNow.resize(frame->size());
        m_randomNext.resize(frame->size());
        for (int port = 0; port < m_layout.ports; ++port) {
            for (int i = 0; i < count; ++i) {
                const int l = port * count + i;
                m_randomNow[l] = hueChannels(randomHue(m_sceneNumber, port, i, change));
                m_randomNext[l] = hueChannels(randomHue(m_sceneNumber, port, i, change + 1));
            }
        }
    }
    Light* lights = frame->data();
    for (int l = 0; l < frame->size(); ++l) {
        const Channels& now = m_randomNow.at(l);
        lights[l] = light(!m_fade || share <= 0 ? now : mixed(now, m_randomNext.at(l), share));
    }
}

double EffectRenderer::nextChange(double seconds) const {
    switch (m_motion) {
    case Motion::Still:
        return infinity;
    case Motion::Random:
        return m_fade ? seconds : (std::floor(seconds / m_cycle) + 1.0) * m_cycle;
    case Motion::HueWash:
    case Motion::BandWash:
        break;
    }
    return seconds;
}

QString EffectRenderer::screenName(QRgb color) {
    return QColor(color).name();
}

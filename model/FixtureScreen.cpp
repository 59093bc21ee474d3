#include "FixtureScreen.h"

#include "ColorScience.h"
#include "FixtureProfile.h"
#include "ModelLog.h"

#include <QDebug>
#include <QVector>

#include <algorithm>
#include <array>

namespace {

constexpr int steps = 4096;

// Linear light of every byte, the linear levels half way between neighbouring bytes, and for
// every step of linear light the byte it starts in. A step is narrower than the narrowest byte
// (near black, 1 / 255 / 12.92), so a level lies in the step's byte or the next one.
struct TransferTables {
    std::array<double, 256> linear{};
    std::array<double, 255> thresholds{};
    std::array<quint8, steps> bytes{};

    TransferTables() {
        for (int i = 0; i < 256; ++i)
            linear[static_cast<size_t>(i)] = ColorScience::srgbToLinear(i / 255.0);
        for (int i = 0; i < 255; ++i)
            thresholds[static_cast<size_t>(i)] = ColorScience::srgbToLinear((i + 0.5) / 255.0);
        for (int k = 0; k < steps; ++k) {
            const double level = double(k) / (steps - 1);
            bytes[static_cast<size_t>(k)] =
                static_cast<quint8>(std::upper_bound(thresholds.begin(), thresholds.end(), level) - thresholds.begin());
        }
    }
};

const TransferTables& tables() {
    static const TransferTables t;
    return t;
}

// The byte whose share of the transfer curve holds a linear level 0..1.
int encoded(double level) {
    const TransferTables& t = tables();
    if (!(level > 0.0))
        return 0;
    if (level >= 1.0)
        return 255;
    const int byte = t.bytes[static_cast<size_t>(level * (steps - 1))];
    return byte < 255 && level >= t.thresholds[static_cast<size_t>(byte)] ? byte + 1 : byte;
}

} // namespace

FixtureScreen::FixtureScreen(ColorUtils::HueformProfileID profile)
    : m_profile(profile) {
    const FixtureProfile* fixture = FixtureProfile::find(profile);
    if (!fixture) {
        qCWarning(lcModel) << "no fixture profile" << profile << "to show; showing the bytes as sRGB";
        m_profile = 0;
        return;
    }
    m_srgb = profile == 0;
    m_tunable = fixture->drive == FixtureProfile::Drive::TunableWhite;
    // Every drive makes light linear in its levels, each channel adding its light at full. Tunable
    // white's levels are its warm and cool shares of the intensity.
    const QVector<QVector<double>> probes =
        m_tunable ? QVector<QVector<double>>{{1.0, 0.0}, {1.0, 1.0}, {0.0, 0.0}}
                  : QVector<QVector<double>>{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}};
    for (int c = 0; c < 3; ++c) {
        double xyz[3], rgb[3];
        fixture->channelsToXyz(probes.at(c), xyz);
        ColorScience::xyzToLinearSrgb(xyz, rgb);
        for (int i = 0; i < 3; ++i)
            m_toScreen[i][c] = rgb[i];
        m_luminance[c] = xyz[1];
    }
}

QRgb FixtureScreen::screenColor(int channel1, int channel2, int channel3) const {
    const int a = std::clamp(channel1, 0, 255), b = std::clamp(channel2, 0, 255), c = std::clamp(channel3, 0, 255);
    if (m_srgb)
        return qRgb(a, b, c);
    const auto& linear = tables().linear;
    double levels[3];
    if (m_tunable) {
        const double intensity = linear[static_cast<size_t>(a)];
        const double cool = b / 255.0;
        levels[0] = intensity * (1.0 - cool);
        levels[1] = intensity * cool;
        levels[2] = 0.0;
    } else {
        levels[0] = linear[static_cast<size_t>(a)];
        levels[1] = linear[static_cast<size_t>(b)];
        levels[2] = linear[static_cast<size_t>(c)];
    }
    double rgb[3];
    for (int i = 0; i < 3; ++i)
        rgb[i] = m_toScreen[i][0] * levels[0] + m_toScreen[i][1] * levels[1] + m_toScreen[i][2] * levels[2];
    const double luminance = m_luminance[0] * levels[0] + m_luminance[1] * levels[1] + m_luminance[2] * levels[2];
    ColorScience::clipToGamut(rgb, luminance);
    return qRgb(encoded(rgb[0]), encoded(rgb[1]), encoded(rgb[2]));
}

#include "FixtureScreen.h"

#include "ColorScience.h"
#include "FixtureProfile.h"

#include <QDebug>
#include <QVector>

#include <algorithm>
#include <array>

namespace {

// Linear light of every byte, and the linear levels half way between neighbouring bytes, so a
// level finds its byte by the transfer curve's own rounding without a power per channel.
struct TransferTables {
    std::array<double, 256> linear{};
    std::array<double, 255> thresholds{};

    TransferTables() {
        for (int i = 0; i < 256; ++i)
            linear[static_cast<size_t>(i)] = ColorScience::srgbToLinear(i / 255.0);
        for (int i = 0; i < 255; ++i)
            thresholds[static_cast<size_t>(i)] = ColorScience::srgbToLinear((i + 0.5) / 255.0);
    }
};

const TransferTables& tables() {
    static const TransferTables t;
    return t;
}

int encoded(double linear) {
    const auto& thresholds = tables().thresholds;
    return static_cast<int>(std::upper_bound(thresholds.begin(), thresholds.end(), linear) - thresholds.begin());
}

} // namespace

FixtureScreen::FixtureScreen(ColorUtils::HueformProfileID profile)
    : m_profile(profile) {
    const FixtureProfile* fixture = FixtureProfile::find(profile);
    if (!fixture) {
        qWarning() << "no fixture profile" << profile << "to show; showing the bytes as sRGB";
        m_profile = 0;
        fixture = FixtureProfile::find(0);
    }
    m_tunable = fixture->drive == FixtureProfile::Drive::TunableWhite;
    // Every other drive makes light linear in each channel's level: its columns are the light of
    // one channel at full. Tunable white keeps its warm and cool light at full intensity instead.
    const QVector<QVector<double>> probes =
        m_tunable ? QVector<QVector<double>>{{1.0, 0.0}, {1.0, 1.0}, {0.0, 0.0}}
                  : QVector<QVector<double>>{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}};
    for (int c = 0; c < 3; ++c)
        fixture->channelsToXyz(probes.at(c), m_columns[c]);
}

QRgb FixtureScreen::screenColor(int channel1, int channel2, int channel3) const {
    const auto& linear = tables().linear;
    auto level = [&linear](int byte) { return linear[static_cast<size_t>(std::clamp(byte, 0, 255))]; };
    double xyz[3];
    if (m_tunable) {
        const double intensity = level(channel1);
        const double cool = std::clamp(channel2, 0, 255) / 255.0;
        for (int i = 0; i < 3; ++i)
            xyz[i] = intensity * (m_columns[0][i] + cool * (m_columns[1][i] - m_columns[0][i]));
    } else {
        const double levels[3] = {level(channel1), level(channel2), level(channel3)};
        for (int i = 0; i < 3; ++i)
            xyz[i] = levels[0] * m_columns[0][i] + levels[1] * m_columns[1][i] + levels[2] * m_columns[2][i];
    }
    double rgb[3];
    ColorScience::xyzToLinearSrgb(xyz, rgb);
    ColorScience::clipToGamut(rgb, xyz[1]);
    return qRgb(encoded(rgb[0]), encoded(rgb[1]), encoded(rgb[2]));
}

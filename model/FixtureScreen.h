#pragma once

#include "ColorUtils.h"

#include <QColor>

// What a fixture's three channel bytes look like on screen: the light the fixture's emitters make
// from them, as sRGB, brought into the sRGB gamut as the colour library does. Everything that
// depends only on the profile is worked out once, so a light costs a few dozen multiplications.
class FixtureScreen final {
public:
    explicit FixtureScreen(ColorUtils::HueformProfileID profile = 0);

    ColorUtils::HueformProfileID profile() const { return m_profile; }
    QRgb screenColor(int channel1, int channel2, int channel3) const;

private:
    ColorUtils::HueformProfileID m_profile = 0;
    // Tunable white mixes two emitters by its second byte: light is not linear in the bytes there.
    bool m_tunable = false;
    // XYZ of each channel at full, over linear channel levels.
    double m_columns[3][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
};

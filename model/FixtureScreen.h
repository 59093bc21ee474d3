#pragma once

#include "ColorUtils.h"

#include <QColor>

// What a fixture's three channel bytes look like on screen: the light the fixture's emitters make
// from them, as sRGB, brought into the sRGB gamut as the colour library does. Everything that
// depends only on the profile is worked out once, so a light costs a dozen multiplications and
// three table look-ups.
class FixtureScreen final {
public:
    explicit FixtureScreen(ColorUtils::HueformProfileID profile = 0);

    ColorUtils::HueformProfileID profile() const { return m_profile; }
    QRgb screenColor(int channel1, int channel2, int channel3) const;

private:
    ColorUtils::HueformProfileID m_profile = 0;
    // The sRGB profile's bytes are sRGB already.
    bool m_srgb = true;
    // Tunable white mixes two emitters by its second byte: its intensity splits between them.
    bool m_tunable = false;
    // Linear sRGB, and luminance, of each channel's light at full.
    double m_toScreen[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    double m_luminance[3] = {0, 0, 0};
};

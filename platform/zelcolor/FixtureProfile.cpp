#include "FixtureProfile.h"

#include "ColorLog.h"

#include <QCoreApplication>
#include <QDebug>
#include <algorithm>
#include <cmath>

namespace {

using E = FixtureProfile::Emitter;

// Emitter chromaticities (CIE 1931). LED values are typical of binned emitters, whites are points
// on the Planckian locus.
const ColorScience::Chromaticity kRedLed = {0.6990, 0.3000};       // ~625 nm
const ColorScience::Chromaticity kGreenLed = {0.1700, 0.7000};     // ~525 nm InGaN
const ColorScience::Chromaticity kBlueLed = {0.1350, 0.0500};      // ~465 nm
const ColorScience::Chromaticity kDeepRedLed = {0.7300, 0.2700};   // ~660 nm
const ColorScience::Chromaticity kTrueGreenLed = {0.1000, 0.7800}; // ~520 nm
const ColorScience::Chromaticity kRoyalBlueLed = {0.1540, 0.0250}; // ~450 nm
const ColorScience::Chromaticity kAmberLed = {0.5720, 0.4250};     // ~590 nm
const ColorScience::Chromaticity kWhite6500 = {0.3135, 0.3237};
const ColorScience::Chromaticity kWhite3000 = {0.4369, 0.4041};
const ColorScience::Chromaticity kWhite2700 = {0.4599, 0.4106};

double encode(double linear) {
    return ColorScience::linearToSrgb(linear);
}

double decode(double level) {
    return ColorScience::srgbToLinear(level);
}

double clamp01(double v) {
    return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0;
}

} // namespace

struct ProfileTable {
    QVector<FixtureProfile> profiles;

    void add(FixtureProfile::Drive drive, const char* name, QVector<E> emitters) {
        FixtureProfile p;
        p.id = profiles.size();
        p.name = name;
        p.drive = drive;
        p.emitters = std::move(emitters);
        if (drive == FixtureProfile::Drive::Rgb) {
            // Fixtures are white balanced: all colour emitters at full give D65.
            const ColorScience::Chromaticity primaries[3] = {p.emitters[0].chromaticity, p.emitters[1].chromaticity,
                                                             p.emitters[2].chromaticity};
            if (!ColorScience::primariesToXyzMatrix(primaries, ColorScience::D65, p.m_toXyz) ||
                !ColorScience::invert(p.m_toXyz, p.m_fromXyz))
                qCWarning(lcColor) << "degenerate emitters in fixture profile" << name;
        }
        profiles.append(p);
    }

    ProfileTable() {
        // Display texts, translated where they are shown.
        using D = FixtureProfile::Drive;
        const E red{QT_TRANSLATE_NOOP("ColorUtils", "Red"), kRedLed, 0.0},
            green{QT_TRANSLATE_NOOP("ColorUtils", "Green"), kGreenLed, 0.0},
            blue{QT_TRANSLATE_NOOP("ColorUtils", "Blue"), kBlueLed, 0.0};
        add(D::Rgb, QT_TRANSLATE_NOOP("ColorUtils", "RGB (sRGB)"),
            {{QT_TRANSLATE_NOOP("ColorUtils", "Red"), {0.64, 0.33}, 0.0},
             {QT_TRANSLATE_NOOP("ColorUtils", "Green"), {0.30, 0.60}, 0.0},
             {QT_TRANSLATE_NOOP("ColorUtils", "Blue"), {0.15, 0.06}, 0.0}});
        add(D::Rgb, QT_TRANSLATE_NOOP("ColorUtils", "RGB LED"), {red, green, blue});
        add(D::Rgb, QT_TRANSLATE_NOOP("ColorUtils", "RGBW LED"),
            {red, green, blue, {QT_TRANSLATE_NOOP("ColorUtils", "White"), kWhite6500, 1.0}});
        add(D::Rgb, QT_TRANSLATE_NOOP("ColorUtils", "RGBA LED"),
            {red, green, blue, {QT_TRANSLATE_NOOP("ColorUtils", "Amber"), kAmberLed, 0.4}});
        add(D::Rgb, QT_TRANSLATE_NOOP("ColorUtils", "RGBAW LED"),
            {red,
             green,
             blue,
             {QT_TRANSLATE_NOOP("ColorUtils", "White"), kWhite6500, 1.0},
             {QT_TRANSLATE_NOOP("ColorUtils", "Amber"), kAmberLed, 0.4}});
        add(D::Rgb, QT_TRANSLATE_NOOP("ColorUtils", "RGBW LED (Warm White)"),
            {red, green, blue, {QT_TRANSLATE_NOOP("ColorUtils", "Warm White"), kWhite3000, 1.0}});
        add(D::DualWhite, QT_TRANSLATE_NOOP("ColorUtils", "Dual White"),
            {{QT_TRANSLATE_NOOP("ColorUtils", "Warm White"), kWhite2700, 0.5},
             {QT_TRANSLATE_NOOP("ColorUtils", "Cool White"), kWhite6500, 0.5}});
        add(D::TunableWhite, QT_TRANSLATE_NOOP("ColorUtils", "Tunable White"),
            {{QT_TRANSLATE_NOOP("ColorUtils", "Warm White"), kWhite2700, 1.0},
             {QT_TRANSLATE_NOOP("ColorUtils", "Cool White"), kWhite6500, 1.0}});
        add(D::Dimmer, QT_TRANSLATE_NOOP("ColorUtils", "Single Color Dimmer"),
            {{QT_TRANSLATE_NOOP("ColorUtils", "Intensity"), kWhite3000, 1.0}});
        add(D::Rgb, QT_TRANSLATE_NOOP("ColorUtils", "Wide Gamut RGB LED"),
            {{QT_TRANSLATE_NOOP("ColorUtils", "Red"), kDeepRedLed, 0.0},
             {QT_TRANSLATE_NOOP("ColorUtils", "Green"), kTrueGreenLed, 0.0},
             {QT_TRANSLATE_NOOP("ColorUtils", "Blue"), kRoyalBlueLed, 0.0}});
    }
};

const QVector<FixtureProfile>& FixtureProfile::all() {
    static const ProfileTable table;
    return table.profiles;
}

const FixtureProfile* FixtureProfile::find(int id) {
    const QVector<FixtureProfile>& profiles = all();
    return id >= 0 && id < profiles.size() ? &profiles[id] : nullptr;
}

QStringList FixtureProfile::channelNames() const {
    QStringList names;
    if (drive == Drive::TunableWhite)
        return {QCoreApplication::translate("ColorUtils", "Intensity"),
                QCoreApplication::translate("ColorUtils", "Color Temperature")};
    for (const Emitter& e : emitters)
        names << QCoreApplication::translate("ColorUtils", e.name);
    return names;
}

void FixtureProfile::emitterXyz(int emitter, double level, double xyz[3]) const {
    const Emitter& e = emitters[emitter];
    ColorScience::xyYToXyz(level * e.luminance, e.chromaticity.x, e.chromaticity.y, xyz);
}

void FixtureProfile::xyzToRgbLinear(const double xyz[3], double rgb[3]) const {
    ColorScience::apply(m_fromXyz, xyz, rgb);
    ColorScience::clipToGamut(rgb, xyz[1]);
}

// Where the light's chromaticity falls between the warm and cool emitters (nearest point on the
// line between them), as the cool emitter's share of the luminance.
void FixtureProfile::whiteMix(const double xyz[3], double* coolShare, double* luminance) const {
    *luminance = std::isfinite(xyz[1]) ? std::max(0.0, xyz[1]) : 0.0;
    const ColorScience::Chromaticity p = ColorScience::xyzToxy(xyz);
    const ColorScience::Chromaticity w = emitters[0].chromaticity, c = emitters[1].chromaticity;
    const double dx = c.x - w.x, dy = c.y - w.y;
    const double u = clamp01(((p.x - w.x) * dx + (p.y - w.y) * dy) / (dx * dx + dy * dy));
    // Mixing is linear in XYZ, where a unit of luminance of an emitter weighs 1 / y.
    const double denominator = u * c.y + (1.0 - u) * w.y;
    // Black has no chromaticity to follow: it rests at the warm end.
    *coolShare = denominator > 0.0 && *luminance > 0.0 ? clamp01(u * c.y / denominator) : 0.0;
}

void FixtureProfile::xyzToDriveLevels(const double xyz[3], double levels[3]) const {
    levels[0] = levels[1] = levels[2] = 0.0;
    switch (drive) {
    case Drive::Rgb: {
        double rgb[3];
        xyzToRgbLinear(xyz, rgb);
        for (int i = 0; i < 3; ++i)
            levels[i] = encode(rgb[i]);
        break;
    }
    case Drive::DualWhite: {
        const QVector<double> channels = xyzToChannels(xyz);
        levels[0] = channels[0];
        levels[1] = channels[1];
        break;
    }
    case Drive::TunableWhite: {
        const QVector<double> channels = xyzToChannels(xyz);
        levels[0] = channels[0];
        levels[1] = channels[1];
        break;
    }
    case Drive::Dimmer:
        levels[0] = levels[1] = levels[2] = xyzToChannels(xyz)[0];
        break;
    }
}

void FixtureProfile::driveLevelsToXyz(const double levels[3], double xyz[3]) const {
    // The bytes address the first channels (an RGB fixture's extra emitters only stand in for
    // part of the red, green and blue mix, so the light is that mix's).
    QVector<double> channels(std::min(3, channelCount()), 0.0);
    for (int i = 0; i < channels.size(); ++i)
        channels[i] = levels[i];
    channelsToXyz(channels, xyz);
}

QVector<double> FixtureProfile::xyzToChannels(const double xyz[3]) const {
    QVector<double> channels(emitters.size(), 0.0);
    switch (drive) {
    case Drive::Rgb: {
        double rgb[3];
        xyzToRgbLinear(xyz, rgb);
        // Each extra emitter takes as much of the mix as it can give without changing the colour:
        // what it adds of one primary is taken off that primary, and a primary it lies beyond
        // (amber lies beyond the red-green edge, so it "has" negative blue) is raised to make up
        // for it. All levels stay within 0..1.
        for (int e = 3; e < emitters.size(); ++e) {
            double exyz[3], v[3];
            emitterXyz(e, 1.0, exyz);
            ColorScience::apply(m_fromXyz, exyz, v);
            double level = 1.0;
            for (int i = 0; i < 3; ++i) {
                if (v[i] > 1e-9)
                    level = std::min(level, rgb[i] / v[i]);
                else if (v[i] < -1e-9)
                    level = std::min(level, (1.0 - rgb[i]) / -v[i]);
            }
            level = std::max(0.0, level);
            for (int i = 0; i < 3; ++i)
                rgb[i] = std::clamp(rgb[i] - level * v[i], 0.0, 1.0);
            channels[e] = encode(level);
        }
        for (int i = 0; i < 3; ++i)
            channels[i] = encode(rgb[i]);
        break;
    }
    case Drive::DualWhite: {
        double share, luminance;
        whiteMix(xyz, &share, &luminance);
        double warm = (1.0 - share) * luminance / emitters[0].luminance;
        double cool = share * luminance / emitters[1].luminance;
        const double highest = std::max(warm, cool);
        if (highest > 1.0) {
            warm /= highest;
            cool /= highest;
        }
        channels[0] = encode(warm);
        channels[1] = encode(cool);
        break;
    }
    case Drive::TunableWhite: {
        double share, luminance;
        whiteMix(xyz, &share, &luminance);
        channels[0] = encode(std::min(1.0, luminance));
        channels[1] = share;
        break;
    }
    case Drive::Dimmer:
        channels[0] = encode(std::min(1.0, std::isfinite(xyz[1]) ? std::max(0.0, xyz[1]) : 0.0));
        break;
    }
    return channels;
}

void FixtureProfile::channelsToXyz(const QVector<double>& channels, double xyz[3]) const {
    auto level = [&](int i) { return i < channels.size() ? clamp01(channels[i]) : 0.0; };
    xyz[0] = xyz[1] = xyz[2] = 0.0;
    auto add = [&](const double part[3]) {
        for (int i = 0; i < 3; ++i)
            xyz[i] += part[i];
    };
    switch (drive) {
    case Drive::Rgb: {
        const double rgb[3] = {decode(level(0)), decode(level(1)), decode(level(2))};
        ColorScience::apply(m_toXyz, rgb, xyz);
        for (int e = 3; e < emitters.size(); ++e) {
            double part[3];
            emitterXyz(e, decode(level(e)), part);
            add(part);
        }
        break;
    }
    case Drive::DualWhite:
        for (int e = 0; e < 2; ++e) {
            double part[3];
            emitterXyz(e, decode(level(e)), part);
            add(part);
        }
        break;
    case Drive::TunableWhite: {
        const double intensity = decode(level(0)), share = level(1);
        double warm[3], cool[3];
        ColorScience::xyYToXyz((1.0 - share) * intensity, emitters[0].chromaticity.x, emitters[0].chromaticity.y, warm);
        ColorScience::xyYToXyz(share * intensity, emitters[1].chromaticity.x, emitters[1].chromaticity.y, cool);
        add(warm);
        add(cool);
        break;
    }
    case Drive::Dimmer: {
        double part[3];
        emitterXyz(0, decode(level(0)), part);
        add(part);
        break;
    }
    }
}

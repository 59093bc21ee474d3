#include "ColorUtils.h"

#include "ColorLog.h"
#include "FixtureProfile.h"
#include "ZelColor.h"

#include <QCoreApplication>
#include <QDebug>
#include <algorithm>
#include <cmath>

namespace {

// The keypad's only mode: three channels per light, one byte each.
constexpr ColorUtils::IOModeID kThreeChannelMode = 1;

unsigned char toByte(double level) {
    return std::isfinite(level) ? static_cast<unsigned char>(std::lround(std::clamp(level, 0.0, 1.0) * 255.0)) : 0;
}

} // namespace

QList<ColorUtils::HueformProfileID> ColorUtils::hueformProfileIDList(bool includeHidden) {
    Q_UNUSED(includeHidden) // no profile is hidden
    QList<HueformProfileID> ids;
    for (const FixtureProfile& profile : FixtureProfile::all())
        ids << profile.id;
    return ids;
}

QStringList ColorUtils::hueformProfileIDNameList(bool includeHidden) {
    QStringList names;
    for (HueformProfileID id : hueformProfileIDList(includeHidden))
        names << hueformProfileIDName(id);
    return names;
}

QString ColorUtils::hueformProfileIDName(HueformProfileID profile) {
    const FixtureProfile* fixture = FixtureProfile::find(profile);
    return fixture ? QCoreApplication::translate("ColorUtils", fixture->name) : QString();
}

bool ColorUtils::isValidHueformProfileID(HueformProfileID profile) {
    return FixtureProfile::find(profile) != nullptr;
}

int ColorUtils::nChannelConfigurationForHueformProfileID(HueformProfileID profile) {
    return isValidHueformProfileID(profile) ? 1 : 0;
}

ColorUtils::IOModeID ColorUtils::defaultIOModeIDForHueformProfileID3toN(HueformProfileID profile) {
    return isValidHueformProfileID(profile) ? kThreeChannelMode : 0;
}

int ColorUtils::defaultHueformEnabled(HueformProfileID profile, IOModeID mode) {
    Q_UNUSED(mode)
    return isValidHueformProfileID(profile) ? 1 : 0;
}

QStringList ColorUtils::channelNames(HueformProfileID profile) {
    const FixtureProfile* fixture = FixtureProfile::find(profile);
    return fixture ? fixture->channelNames() : QStringList();
}

bool ColorUtils::convertZelColorToDMX(const ZelColor& color, int hueformEnabled, int numChannels,
                                      int channelConfiguration, unsigned char* out, int outOffset, int stride,
                                      HueformProfileID profile, IOModeID mode) {
    Q_UNUSED(hueformEnabled)
    Q_UNUSED(channelConfiguration)
    Q_UNUSED(mode)
    if (!out) {
        qCWarning(lcColor) << "no buffer for the device bytes";
        return false;
    }
    numChannels = std::max(0, numChannels);
    outOffset = std::max(0, outOffset);
    stride = std::max(1, stride);
    unsigned char bytes[3] = {0, 0, 0};
    const FixtureProfile* fixture = FixtureProfile::find(profile);
    if (fixture) {
        switch (color.spec()) {
        case ZelColor::Rgb:
        case ZelColor::Hsb:
            // Files and replies rebuild these colours from exactly these bytes.
            bytes[0] = static_cast<unsigned char>(color.red8());
            bytes[1] = static_cast<unsigned char>(color.green8());
            bytes[2] = static_cast<unsigned char>(color.blue8());
            break;
        case ZelColor::Yxy:
        case ZelColor::NChannel: {
            double xyz[3], levels[3];
            color.getXYZ(&xyz[0], &xyz[1], &xyz[2]);
            fixture->xyzToDriveLevels(xyz, levels);
            for (int i = 0; i < 3; ++i)
                bytes[i] = toByte(levels[i]);
            break;
        }
        default:
            break;
        }
    } else {
        qCWarning(lcColor) << "unknown fixture profile" << profile;
    }
    for (int i = 0; i < numChannels; ++i)
        out[outOffset + i * stride] = i < 3 ? bytes[i] : 0;
    return fixture != nullptr;
}

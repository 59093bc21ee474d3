#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class ZelColor;

/**
 * Fixture profiles and the conversion of colours into the channel bytes a fixture is driven with.
 *
 * A fixture profile names a kind of light fixture (plain RGB, RGB with a white or amber emitter,
 * tunable white and so on) with the measured chromaticities of its emitters. Profiles are
 * numbered 0 to 9; the numbers travel to the keypad and into saved files, so they never change.
 */
class ColorUtils final {
public:
    /** A fixture profile id, 0 to 9 (see hueformProfileIDList()). */
    using HueformProfileID = int;

    /** How the channels of a fixture are driven; every profile has one default mode. */
    using IOModeID = int;

    static constexpr int ProfileCount = 10;

    /** Every profile id, in the fixed order in which the editors list them. */
    static QList<HueformProfileID> hueformProfileIDList(bool includeHidden = false);

    /** The display names of hueformProfileIDList(), in the same order. */
    static QStringList hueformProfileIDNameList(bool includeHidden = false);

    /** The display name of one profile; an empty text for an unknown id. */
    static QString hueformProfileIDName(HueformProfileID profile);

    /** True for ids 0 to 9. */
    static bool isValidHueformProfileID(HueformProfileID profile);

    /** The IO mode used when a profile drives a three-channel output. */
    static IOModeID defaultIOModeIDForHueformProfileID3toN(HueformProfileID profile);

    /** Non-zero when the profile's own colour handling is on in that mode (always on here). */
    static int defaultHueformEnabled(HueformProfileID profile, IOModeID mode);

    /**
     * Fills @p numChannels bytes of @p out, starting at @p outOffset, with the channel levels
     * that make @p color on a fixture of @p profile.
     *
     * For colours picked as RGB or HSB values (kinds 1 and 2) the bytes are the colour's own
     * 8-bit red, green and blue, whatever the profile: saved files and keypad replies carry
     * exactly these bytes and the colour is rebuilt from them, so they must never drift.
     * A chromaticity colour (kind 3) is reproduced with the profile's emitters: the target
     * chromaticity is brought into the fixture's gamut and solved for the emitter levels,
     * scaled by the colour's Y (intensity). An empty colour gives zeros.
     *
     * @p hueformEnabled, @p channelConfiguration, @p stride and @p mode are accepted for the
     * callers' sake; the keypad always takes three channels, one byte each.
     * Returns false (and writes zeros) for a null @p out or an unknown profile.
     */
    static bool convertZelColorToDMX(const ZelColor& color, int hueformEnabled, int numChannels,
                                     int channelConfiguration, unsigned char* out, int outOffset, int stride,
                                     HueformProfileID profile, IOModeID mode);
};

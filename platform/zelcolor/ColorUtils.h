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
 *
 * | id | name                  | emitters (CIE 1931 x, y)                                         |
 * |----|-----------------------|------------------------------------------------------------------|
 * | 0  | RGB (sRGB)            | sRGB primaries R 0.64/0.33, G 0.30/0.60, B 0.15/0.06             |
 * | 1  | RGB LED               | R 0.699/0.300 (625 nm), G 0.170/0.700 (525 nm), B 0.135/0.050 (465 nm) |
 * | 2  | RGBW LED              | RGB LED + white 6500 K 0.3135/0.3237                             |
 * | 3  | RGBA LED              | RGB LED + amber 0.572/0.425 (590 nm, 0.4 of full white)          |
 * | 4  | RGBAW LED             | RGB LED + white 6500 K + amber                                   |
 * | 5  | RGBW LED (Warm White) | RGB LED + warm white 3000 K 0.4369/0.4041                        |
 * | 6  | Dual White            | warm white 2700 K 0.4599/0.4106, cool white 6500 K               |
 * | 7  | Tunable White         | warm 2700 K to cool 6500 K mixed by the fixture, constant lumen  |
 * | 8  | Single Color Dimmer   | one warm white 3000 K emitter                                    |
 * | 9  | Wide Gamut RGB LED    | R 0.730/0.270 (660 nm), G 0.100/0.780 (520 nm), B 0.154/0.025 (450 nm) |
 *
 * The colour emitters of every RGB profile are white balanced to D65 (all at full give D65
 * with luminance 1). The three device bytes of a chromaticity colour mean, per profile:
 *  - RGB profiles (0 to 5, 9): red, green and blue emitter levels; the fixture's own colour
 *    handling moves what its white and amber emitters can give onto them;
 *  - Dual White: warm white level, cool white level, 0;
 *  - Tunable White: intensity, cool share of the mix (0 all warm, 255 all cool), 0;
 *  - Single Color Dimmer: the intensity (luminance Y) on all three bytes.
 * Light levels use the sRGB transfer curve, as the bytes of an sRGB colour do, so on profile 0 a
 * chromaticity colour gives the bytes of its own sRGB form.
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

    /** The names of the profile's channels in channel order (N-channel colours); empty for an unknown id. */
    static QStringList channelNames(HueformProfileID profile);

    /**
     * The channel configuration of N-channel colours of a profile: every profile has one,
     * configuration 1 (its channels as listed by channelNames()); 0 for an unknown id.
     */
    static int nChannelConfigurationForHueformProfileID(HueformProfileID profile);

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
     * A chromaticity colour (kind 3) is reproduced with the profile's emitters: its XYZ (Y is
     * the luminance, 1.0 the fixture's full white) is solved for the emitter levels, and a
     * colour outside the fixture's gamut is brought inside (towards the white of equal
     * luminance, then scaled below full output); the bytes mean what the table above says.
     * An N-channel colour (kind 4) is reproduced the same way from the light it makes.
     * An empty colour gives zeros. Bytes past the third are zeros.
     *
     * @p hueformEnabled, @p channelConfiguration, @p stride and @p mode are accepted for the
     * callers' sake; the keypad always takes three channels, one byte each.
     * Returns false (and writes zeros) for a null @p out or an unknown profile.
     */
    static bool convertZelColorToDMX(const ZelColor& color, int hueformEnabled, int numChannels,
                                     int channelConfiguration, unsigned char* out, int outOffset, int stride,
                                     HueformProfileID profile, IOModeID mode);
};

#pragma once

#include "ColorScience.h"

#include <QString>
#include <QStringList>
#include <QVector>

/**
 * One kind of fixture: its emitters, its channels and how the keypad's three channel bytes
 * drive it. Used by ColorUtils (device bytes) and ZelColor (N-channel colours).
 *
 * Channel levels are device levels 0..1 in the keypad's byte scale: light levels are encoded with
 * the sRGB transfer curve, as the red, green and blue bytes of an sRGB colour are (the keypad
 * applies the fixture's dimming curve to every byte alike), so on the plain sRGB profile a
 * chromaticity colour gives exactly the bytes of its sRGB form. A mix channel (tunable white)
 * is a plain share 0..1.
 */
class FixtureProfile final {
public:
    enum class Drive {
        // Three bytes drive red, green and blue emitters; the fixture's own colour handling moves
        // the share its extra emitters (white, amber) can give onto them.
        Rgb,
        // Bytes: warm white level, cool white level, unused (0).
        DualWhite,
        // Bytes: intensity, share of the cool emitter in the mix (0 warm .. 255 cool), unused (0).
        TunableWhite,
        // Bytes: the intensity on all three, so the dimmer follows whichever channel it is patched to.
        Dimmer
    };

    struct Emitter {
        const char* name;
        ColorScience::Chromaticity chromaticity;
        // Luminance at full, relative to the fixture's full white (1.0).
        double luminance;
    };

    int id = 0;
    const char* name = "";
    Drive drive = Drive::Rgb;
    QVector<Emitter> emitters;

    /** Profile @p id, or null for an unknown id. */
    static const FixtureProfile* find(int id);
    static const QVector<FixtureProfile>& all();

    QStringList channelNames() const;
    int channelCount() const { return emitters.size(); }

    /** The three channel bytes' levels (0..1, see Drive) that reproduce @p xyz on this fixture. */
    void xyzToDriveLevels(const double xyz[3], double levels[3]) const;
    /** The light the fixture gives for the three channel bytes' levels (0..1, see Drive). */
    void driveLevelsToXyz(const double levels[3], double xyz[3]) const;
    /** The fixture's channel levels (0..1, one per channel) that reproduce @p xyz. */
    QVector<double> xyzToChannels(const double xyz[3]) const;
    /** The light that channel levels make (missing channels read as 0). */
    void channelsToXyz(const QVector<double>& channels, double xyz[3]) const;

private:
    void emitterXyz(int emitter, double level, double xyz[3]) const;
    void xyzToRgbLinear(const double xyz[3], double rgb[3]) const;
    void whiteMix(const double xyz[3], double* coolShare, double* luminance) const;

    ColorScience::Matrix m_toXyz = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    ColorScience::Matrix m_fromXyz = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

    friend struct ProfileTable;
};

#pragma once

#include "ColorUtils.h"

#include <QColor>
#include <QDataStream>
#include <QDebug>
#include <QMetaType>
#include <QString>
#include <QVector>

/**
 * A colour value: what the editors pick, what effects keep (as text) and what becomes the
 * channel bytes of a fixture.
 *
 * A colour has a kind, spec():
 *  - 1 (Rgb): picked as red, green and blue, kept as 16-bit sRGB channels;
 *  - 2 (Hsb): picked as hue, saturation and brightness, kept as 16-bit HSV channels;
 *  - 3 (Yxy): a chromaticity colour, CIE 1931 x and y (0..1) with a relative luminance Y (>= 0;
 *    1.0 is the luminance of full white, so for whites it is the intensity), kept as doubles;
 *  - 4 (NChannel): the channel levels of one fixture profile, kept as doubles 0..1;
 *  - any other value (0, Invalid): no colour.
 * Every colour carries an alpha (opacity, 16-bit) and a fixture profile tag.
 *
 * Conversions between the kinds go through CIE XYZ with the sRGB primaries and the D65 white
 * point (IEC 61966-2-1): RGB to XYZ linearises the sRGB transfer curve and applies the sRGB
 * matrix; XYZ to RGB applies the inverse matrix, brings a colour outside the sRGB gamut back
 * inside (towards the white point of equal luminance, then scaled below full output) and
 * re-applies the transfer curve. HSB is the usual hexcone model over sRGB. Black has no
 * chromaticity of its own and reads as D65 with Y = 0; a chromaticity with y = 0 carries no light.
 * N-channel colours convert through the light their profile's emitters make (FixtureProfile).
 *
 * Text form: aName() gives a text that ZelColor(text) reads back to an identical colour (same
 * kind, same channels, same alpha). The text always starts with '#' and never holds ',' or '|'
 * (lists of colours are joined with them). Forms:
 *  - "#rrggbb" and "#aarrggbb": 8-bit RGB (kind 1), the form QColor::name() also uses;
 *  - "#rgb16:RRRR:GGGG:BBBB:AAAA": 16-bit RGB (kind 1) whose channels are not whole 8-bit values,
 *    four hexadecimal digits each;
 *  - "#hsb:H:S:V:A": kind 2, decimal, hue in hundredths of a degree (0..35999), the others 0..65535;
 *  - "#yxy:Y:x:y:A": kind 3, shortest exact decimal forms of the doubles, alpha 0..65535;
 *  - "#nch:P:C:R:A:c1:c2:...": kind 4, profile P, channel configuration C, render type R, alpha,
 *    then the channel levels.
 * ZelColor(text) also reads the colour names and "#rgb"/"#rrrrggggbbbb" forms that QColor knows.
 * Any other text (out-of-range or non-finite numbers, missing or extra fields) gives no colour
 * and a warning in the debug log; an empty text gives no colour silently.
 */
class ZelColor {
public:
    enum Spec { Invalid = 0, Rgb = 1, Hsb = 2, Yxy = 3, NChannel = 4 };

    ZelColor() = default;
    explicit ZelColor(const QString& text);
    explicit ZelColor(const QColor& color);

    int spec() const { return m_spec; }
    bool isValid() const { return m_spec >= Rgb && m_spec <= NChannel; }

    /** The text form described above; an empty text for no colour. */
    QString aName() const;
    /** Replaces this colour by the one a text names (aName() forms or QColor names). */
    void setNamedColor(const QString& text);

    // --- RGB ------------------------------------------------------------------------------
    static ZelColor fromRgb8(int red, int green, int blue, int alpha = 255, ColorUtils::HueformProfileID profile = 0);
    static ZelColor fromRgbF(double red, double green, double blue, double alpha = 1.0,
                             ColorUtils::HueformProfileID profile = 0);
    static ZelColor fromRgb16(int red, int green, int blue, int alpha = 65535,
                              ColorUtils::HueformProfileID profile = 0);

    /**
     * Set one 8-bit channel. A colour of another kind is first converted to RGB; an empty
     * colour becomes opaque black first. So setRed8, setGreen8, setBlue8 on an empty colour
     * build an RGB colour channel by channel.
     */
    void setRed8(int value);
    void setGreen8(int value);
    void setBlue8(int value);

    /** Channels of the colour's RGB form (converted when the colour is of another kind). */
    int red8() const;
    int green8() const;
    int blue8() const;
    double redF() const;
    double greenF() const;
    double blueF() const;
    int red16() const;
    int green16() const;
    int blue16() const;

    // --- alpha ----------------------------------------------------------------------------
    int alpha8() const;
    double alphaF() const;
    int alpha16() const { return m_alpha; }
    void setAlpha8(int alpha);
    void setAlphaF(double alpha);

    // --- HSB ------------------------------------------------------------------------------
    /** Makes this an HSB colour: hue in degrees 0..359, saturation and value 0..255. */
    void setHsv8(int hue, int saturation, int value, int alpha = 255, ColorUtils::HueformProfileID profile = 0);
    /** An HSB colour from hue, saturation and value 0..1 (hue 1.0 is 360 degrees). */
    static ZelColor fromHsvF(double hue, double saturation, double value, double alpha = 1.0,
                             ColorUtils::HueformProfileID profile = 0);
    /**
     * Hue in degrees 0..359, saturation and value 0..255. An HSB colour answers the hue it was
     * given even when it is achromatic (so a hue slider does not jump); others answer 0 then.
     */
    int hue8() const;
    int saturation8() const;
    int value8() const;
    /** Hue 0..1 (exclusive), saturation and value 0..1. */
    double hueF() const;
    double saturationF() const;
    double valueF() const;

    // --- chromaticity (Yxy) ---------------------------------------------------------------
    /**
     * setY, setx, sety build a chromaticity colour: on an empty colour the first of them makes
     * it a kind-3 colour with Y = 0, x = 0, y = 0; a colour of another kind is first converted
     * to its Yxy form (alpha kept), so setY alone changes only the intensity. Y is kept >= 0,
     * x and y within 0..1; a non-finite value is logged and ignored.
     */
    void setY(double Y);
    void setx(double x);
    void sety(double y);
    void setYxyF(double Y, double x, double y, double alpha = 1.0, ColorUtils::HueformProfileID profile = 0);
    /** The Yxy form of the colour (converted for other kinds); 0 for an empty colour. */
    double getY() const;
    double getx() const;
    double gety() const;

    // --- CIE XYZ (for colour science callers) ---------------------------------------------
    void getXYZ(double* X, double* Y, double* Z) const;
    static ZelColor fromXYZ(double X, double Y, double Z, double alpha = 1.0);

    // --- N-channel ------------------------------------------------------------------------
    static ZelColor fromNChannelF(const QVector<double>& levels, int channelConfiguration,
                                  ColorUtils::HueformProfileID profile);
    int nChannelCount() const { return m_channels.size(); }
    double getNChannelF(int channel) const;
    int getNChannel8(int channel) const;
    int nChannelConfiguration() const { return m_channelConfiguration; }
    int nChannelRenderType() const { return m_renderType; }
    void setNChannelRenderType(int renderType) { m_renderType = renderType; }

    // --- kinds, profiles, screen ----------------------------------------------------------
    /**
     * A copy converted to kind @p kind (1 RGB, 2 HSB, 3 Yxy, 4 N-channel) for @p profile.
     * @p channelConfiguration matters only for kind 4. Converting an empty colour gives an
     * empty colour.
     */
    ZelColor convertTo(int kind, int channelConfiguration = 1, ColorUtils::HueformProfileID profile = 0) const;

    void setHueformProfileID(ColorUtils::HueformProfileID profile) { m_profile = profile; }
    ColorUtils::HueformProfileID hueformProfileID() const { return m_profile; }

    /** The sRGB colour to paint on screen (16-bit precision, with alpha). */
    QColor toQColor() const;

    /**
     * Same kind, same stored channels, same alpha. The profile tag is compared only for
     * N-channel colours, whose channels mean nothing without it.
     */
    bool operator==(const ZelColor& other) const;
    bool operator!=(const ZelColor& other) const { return !(*this == other); }

    /**
     * Registers ZelColor and its stream operators with the meta-type system, so colours travel
     * in queued signals and QVariants (done at start-up; safe to call again).
     */
    static int registerMetaType();

private:
    void makeRgbFromCurrent();
    void makeYxyFromCurrent();
    void rgbForm(double rgb[3]) const;
    void hsvForm(double hsv[3]) const;
    void setRgbChannel(int channel, int value8);
    int rgbChannel8(int channel) const;
    int rgbChannel16(int channel) const;
    double rgbChannelF(int channel) const;

    int m_spec = Invalid;
    // Kind 1: r, g, b (0..65535). Kind 2: hue (0..35999), saturation, value (0..65535).
    int m_c[3] = {0, 0, 0};
    // Kind 3: Y, x, y.
    double m_Y = 0.0;
    double m_x = 0.0;
    double m_y = 0.0;
    // Kind 4.
    QVector<double> m_channels;
    int m_channelConfiguration = 0;
    int m_renderType = 0;

    int m_alpha = 65535;
    ColorUtils::HueformProfileID m_profile = 0;
};

/** Streams a colour as its profile tag and text form (QVariant, QSettings, drag and drop). */
QDataStream& operator<<(QDataStream& stream, const ZelColor& color);
QDataStream& operator>>(QDataStream& stream, ZelColor& color);
QDebug operator<<(QDebug debug, const ZelColor& color);

Q_DECLARE_METATYPE(ZelColor)

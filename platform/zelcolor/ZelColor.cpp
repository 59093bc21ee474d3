#include "ZelColor.h"

#include "ColorLog.h"
#include "ColorScience.h"
#include "FixtureProfile.h"

#include <QDebug>
#include <algorithm>
#include <cctype>
#include <cmath>

namespace {

constexpr int kMax16 = 65535;
constexpr int kHueSteps = 36000; // hundredths of a degree
constexpr int kMaxChannels = 32;

int clampInt(int v, int low, int high) {
    return std::clamp(v, low, high);
}

int to16(double v) {
    return std::isfinite(v) ? int(std::lround(std::clamp(v, 0.0, 1.0) * kMax16)) : 0;
}

int to8(double v) {
    return std::isfinite(v) ? int(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)) : 0;
}

int eightFrom16(int v) {
    return int(std::lround(v / 257.0));
}

// Finite values only; a non-finite one is reported and replaced.
double finiteOr(double v, double fallback, const char* what) {
    if (std::isfinite(v))
        return v;
    qCWarning(lcColor) << "ignoring a non-finite colour value for" << what;
    return fallback;
}

double unit(double v, const char* what) {
    const double result = std::clamp(finiteOr(v, 0.0, what), 0.0, 1.0);
    return result == 0.0 ? 0.0 : result; // no "-0" in the text form
}

int hueStepsFromUnit(double hue) {
    hue = finiteOr(hue, 0.0, "hue");
    hue -= std::floor(hue);
    return int(std::lround(hue * kHueSteps)) % kHueSteps;
}

void rgbToHsv(const double rgb[3], double hsv[3]) {
    const double high = std::max({rgb[0], rgb[1], rgb[2]});
    const double low = std::min({rgb[0], rgb[1], rgb[2]});
    const double delta = high - low;
    double hue = 0.0;
    if (delta > 0.0) {
        if (high == rgb[0])
            hue = (rgb[1] - rgb[2]) / delta;
        else if (high == rgb[1])
            hue = 2.0 + (rgb[2] - rgb[0]) / delta;
        else
            hue = 4.0 + (rgb[0] - rgb[1]) / delta;
        hue /= 6.0;
        if (hue < 0.0)
            hue += 1.0;
    }
    hsv[0] = hue;
    hsv[1] = high > 0.0 ? delta / high : 0.0;
    hsv[2] = high;
}

void hsvToRgb(const double hsv[3], double rgb[3]) {
    const double h = (hsv[0] - std::floor(hsv[0])) * 6.0;
    const double s = hsv[1], v = hsv[2];
    const int sector = std::min(5, int(h));
    const double f = h - sector;
    const double p = v * (1.0 - s), q = v * (1.0 - s * f), t = v * (1.0 - s * (1.0 - f));
    const double table[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};
    std::copy(table[sector], table[sector] + 3, rgb);
}

QString shortest(double v) {
    return QString::number(v, 'g', QLocale::FloatingPointShortest);
}

bool isHex(const QString& text, int length) {
    if (text.size() != length)
        return false;
    for (QChar c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c.toLatin1())) || c.unicode() > 127)
            return false;
    return true;
}

bool parseDecimal(const QString& text, int high, int* out) {
    if (text.isEmpty() || text.size() > 9)
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    const int v = text.toInt();
    if (v > high)
        return false;
    *out = v;
    return true;
}

bool parseSignedDecimal(const QString& text, int* out) {
    if (text.startsWith(QLatin1Char('-'))) {
        int magnitude = 0;
        if (!parseDecimal(text.mid(1), 999999999, &magnitude))
            return false;
        *out = -magnitude;
        return true;
    }
    return parseDecimal(text, 999999999, out);
}

bool parseReal(const QString& text, double* out) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *out = v;
    return true;
}

QString describe(const QString& text) {
    return text.size() > 64 ? text.left(64) + QStringLiteral("...") : text;
}

void registerMetaTypes() {
    ZelColor::registerMetaType();
}

} // namespace

Q_CONSTRUCTOR_FUNCTION(registerMetaTypes)

int ZelColor::registerMetaType() {
    static const int id = [] {
        const int type = qRegisterMetaType<ZelColor>("ZelColor");
        qRegisterMetaTypeStreamOperators<ZelColor>("ZelColor");
        return type;
    }();
    return id;
}

QDataStream& operator<<(QDataStream& stream, const ZelColor& color) {
    return stream << qint32(color.hueformProfileID()) << color.aName();
}

QDataStream& operator>>(QDataStream& stream, ZelColor& color) {
    qint32 profile = 0;
    QString text;
    stream >> profile >> text;
    if (stream.status() != QDataStream::Ok) {
        color = ZelColor();
        return stream;
    }
    color = ZelColor(text);
    color.setHueformProfileID(profile);
    return stream;
}

QDebug operator<<(QDebug debug, const ZelColor& color) {
    QDebugStateSaver saver(debug);
    debug.nospace() << "ZelColor(" << (color.isValid() ? color.aName() : QStringLiteral("none")) << ')';
    return debug;
}

ZelColor::ZelColor(const QString& text) {
    setNamedColor(text);
}

ZelColor::ZelColor(const QColor& color) {
    if (!color.isValid())
        return;
    const QRgba64 c = color.rgba64();
    m_spec = Rgb;
    m_c[0] = c.red();
    m_c[1] = c.green();
    m_c[2] = c.blue();
    m_alpha = c.alpha();
}

// --- text form -------------------------------------------------------------------------------

QString ZelColor::aName() const {
    const auto hex = [](int v, int width) { return QStringLiteral("%1").arg(v, width, 16, QLatin1Char('0')); };
    switch (m_spec) {
    case Rgb: {
        const bool eightBit = m_c[0] % 257 == 0 && m_c[1] % 257 == 0 && m_c[2] % 257 == 0 && m_alpha % 257 == 0;
        if (eightBit) {
            const QString rgb = hex(m_c[0] / 257, 2) + hex(m_c[1] / 257, 2) + hex(m_c[2] / 257, 2);
            return m_alpha == kMax16 ? QLatin1Char('#') + rgb : QLatin1Char('#') + hex(m_alpha / 257, 2) + rgb;
        }
        return QStringLiteral("#rgb16:%1:%2:%3:%4")
            .arg(hex(m_c[0], 4), hex(m_c[1], 4), hex(m_c[2], 4), hex(m_alpha, 4));
    }
    case Hsb:
        return QStringLiteral("#hsb:%1:%2:%3:%4").arg(m_c[0]).arg(m_c[1]).arg(m_c[2]).arg(m_alpha);
    case Yxy:
        return QStringLiteral("#yxy:%1:%2:%3:%4").arg(shortest(m_Y), shortest(m_x), shortest(m_y)).arg(m_alpha);
    case NChannel: {
        QString text = QStringLiteral("#nch:%1:%2:%3:%4")
                           .arg(m_profile)
                           .arg(m_channelConfiguration)
                           .arg(m_renderType)
                           .arg(m_alpha);
        for (double level : m_channels)
            text += QLatin1Char(':') + shortest(level);
        return text;
    }
    default:
        return QString();
    }
}

void ZelColor::setNamedColor(const QString& rawText) {
    *this = ZelColor();
    const QString text = rawText.trimmed();
    if (text.isEmpty())
        return;
    if (text.startsWith(QLatin1Char('#'))) {
        const QString body = text.mid(1);
        if (isHex(body, 6) || isHex(body, 8)) {
            const uint v = body.toUInt(nullptr, 16);
            const int alpha = body.size() == 8 ? int(v >> 24) : 255;
            *this = fromRgb8(int((v >> 16) & 0xff), int((v >> 8) & 0xff), int(v & 0xff), alpha);
            return;
        }
        const QStringList fields = body.split(QLatin1Char(':'));
        const QString& form = fields.first();
        if (form == QLatin1String("rgb16") && fields.size() == 5) {
            int v[4];
            bool ok = true;
            for (int i = 0; i < 4 && ok; ++i) {
                ok = isHex(fields[i + 1], 4);
                v[i] = ok ? int(fields[i + 1].toUInt(nullptr, 16)) : 0;
            }
            if (ok) {
                *this = fromRgb16(v[0], v[1], v[2], v[3]);
                return;
            }
        } else if (form == QLatin1String("hsb") && fields.size() == 5) {
            int v[4];
            if (parseDecimal(fields[1], kHueSteps - 1, &v[0]) && parseDecimal(fields[2], kMax16, &v[1]) &&
                parseDecimal(fields[3], kMax16, &v[2]) && parseDecimal(fields[4], kMax16, &v[3])) {
                m_spec = Hsb;
                std::copy(v, v + 3, m_c);
                m_alpha = v[3];
                return;
            }
        } else if (form == QLatin1String("yxy") && fields.size() == 5) {
            double Y, x, y;
            int alpha;
            if (parseReal(fields[1], &Y) && parseReal(fields[2], &x) && parseReal(fields[3], &y) &&
                parseDecimal(fields[4], kMax16, &alpha)) {
                setYxyF(Y, x, y);
                m_alpha = alpha;
                return;
            }
        } else if (form == QLatin1String("nch") && fields.size() >= 5 && fields.size() <= 5 + kMaxChannels) {
            int profile, configuration, renderType, alpha;
            bool ok = parseDecimal(fields[1], ColorUtils::ProfileCount - 1, &profile) &&
                      parseSignedDecimal(fields[2], &configuration) && parseSignedDecimal(fields[3], &renderType) &&
                      parseDecimal(fields[4], kMax16, &alpha);
            QVector<double> levels;
            for (int i = 5; i < fields.size() && ok; ++i) {
                double level = 0.0;
                ok = parseReal(fields[i], &level) && level >= 0.0 && level <= 1.0;
                levels.append(level);
            }
            if (ok) {
                *this = fromNChannelF(levels, configuration, profile);
                m_renderType = renderType;
                m_alpha = alpha;
                return;
            }
        }
    }
    // Names and forms of the toolkit ("red", "#rgb", "#rrrrggggbbbb", "transparent").
    if (text.size() <= 64 && QColor::isValidColor(text)) {
        *this = ZelColor(QColor(text));
        return;
    }
    qCWarning(lcColor) << "unreadable colour text" << describe(rawText);
}

// --- conversions -----------------------------------------------------------------------------

void ZelColor::rgbForm(double rgb[3]) const {
    switch (m_spec) {
    case Rgb:
        for (int i = 0; i < 3; ++i)
            rgb[i] = m_c[i] / double(kMax16);
        return;
    case Hsb: {
        const double hsv[3] = {m_c[0] / double(kHueSteps), m_c[1] / double(kMax16), m_c[2] / double(kMax16)};
        hsvToRgb(hsv, rgb);
        return;
    }
    case Yxy:
    case NChannel: {
        double xyz[3];
        getXYZ(&xyz[0], &xyz[1], &xyz[2]);
        ColorScience::xyzToLinearSrgb(xyz, rgb);
        ColorScience::clipToGamut(rgb, xyz[1]);
        for (int i = 0; i < 3; ++i)
            rgb[i] = ColorScience::linearToSrgb(rgb[i]);
        return;
    }
    default:
        rgb[0] = rgb[1] = rgb[2] = 0.0;
    }
}

void ZelColor::hsvForm(double hsv[3]) const {
    if (m_spec == Hsb) {
        hsv[0] = m_c[0] / double(kHueSteps);
        hsv[1] = m_c[1] / double(kMax16);
        hsv[2] = m_c[2] / double(kMax16);
        return;
    }
    double rgb[3];
    rgbForm(rgb);
    rgbToHsv(rgb, hsv);
}

void ZelColor::makeRgbFromCurrent() {
    if (m_spec == Rgb)
        return;
    if (!isValid()) {
        *this = fromRgb16(0, 0, 0, kMax16, m_profile);
        return;
    }
    double rgb[3];
    rgbForm(rgb);
    m_spec = Rgb;
    for (int i = 0; i < 3; ++i)
        m_c[i] = to16(rgb[i]);
    m_channels.clear();
}

void ZelColor::makeYxyFromCurrent() {
    if (m_spec == Yxy)
        return;
    if (!isValid()) {
        m_Y = m_x = m_y = 0.0;
    } else {
        m_Y = getY();
        const double x = getx(), y = gety();
        m_x = x;
        m_y = y;
    }
    m_spec = Yxy;
    m_channels.clear();
}

ZelColor ZelColor::convertTo(int kind, int channelConfiguration, ColorUtils::HueformProfileID profile) const {
    if (!isValid())
        return ZelColor();
    ZelColor result = *this;
    switch (kind) {
    case Rgb:
        result.makeRgbFromCurrent();
        break;
    case Hsb:
        if (m_spec != Hsb) {
            double hsv[3];
            hsvForm(hsv);
            result = ZelColor();
            result.m_spec = Hsb;
            result.m_c[0] = hueStepsFromUnit(hsv[0]);
            result.m_c[1] = to16(hsv[1]);
            result.m_c[2] = to16(hsv[2]);
            result.m_alpha = m_alpha;
        }
        break;
    case Yxy:
        result.makeYxyFromCurrent();
        break;
    case NChannel: {
        if (m_spec == NChannel && m_profile == profile) {
            result.m_channelConfiguration = channelConfiguration;
            break;
        }
        const FixtureProfile* fixture = FixtureProfile::find(profile);
        if (!fixture) {
            qCWarning(lcColor) << "no fixture profile" << profile << "for an N-channel colour";
            return ZelColor();
        }
        double xyz[3];
        getXYZ(&xyz[0], &xyz[1], &xyz[2]);
        result = fromNChannelF(fixture->xyzToChannels(xyz), channelConfiguration, profile);
        result.m_alpha = m_alpha;
        break;
    }
    default:
        qCWarning(lcColor) << "no colour kind" << kind;
        return ZelColor();
    }
    // Tagged only now: an N-channel colour is read through its own profile while converting.
    result.m_profile = profile;
    return result;
}

// --- RGB -------------------------------------------------------------------------------------

ZelColor ZelColor::fromRgb8(int red, int green, int blue, int alpha, ColorUtils::HueformProfileID profile) {
    return fromRgb16(clampInt(red, 0, 255) * 257, clampInt(green, 0, 255) * 257, clampInt(blue, 0, 255) * 257,
                     clampInt(alpha, 0, 255) * 257, profile);
}

ZelColor ZelColor::fromRgbF(double red, double green, double blue, double alpha, ColorUtils::HueformProfileID profile) {
    return fromRgb16(to16(unit(red, "red")), to16(unit(green, "green")), to16(unit(blue, "blue")),
                     to16(unit(alpha, "alpha")), profile);
}

ZelColor ZelColor::fromRgb16(int red, int green, int blue, int alpha, ColorUtils::HueformProfileID profile) {
    ZelColor c;
    c.m_spec = Rgb;
    c.m_c[0] = clampInt(red, 0, kMax16);
    c.m_c[1] = clampInt(green, 0, kMax16);
    c.m_c[2] = clampInt(blue, 0, kMax16);
    c.m_alpha = clampInt(alpha, 0, kMax16);
    c.m_profile = profile;
    return c;
}

void ZelColor::setRgbChannel(int channel, int value8) {
    makeRgbFromCurrent();
    m_c[channel] = clampInt(value8, 0, 255) * 257;
}

void ZelColor::setRed8(int value) {
    setRgbChannel(0, value);
}

void ZelColor::setGreen8(int value) {
    setRgbChannel(1, value);
}

void ZelColor::setBlue8(int value) {
    setRgbChannel(2, value);
}

int ZelColor::rgbChannel8(int channel) const {
    if (m_spec == Rgb)
        return eightFrom16(m_c[channel]);
    double rgb[3];
    rgbForm(rgb);
    return to8(rgb[channel]);
}

int ZelColor::rgbChannel16(int channel) const {
    if (m_spec == Rgb)
        return m_c[channel];
    double rgb[3];
    rgbForm(rgb);
    return to16(rgb[channel]);
}

double ZelColor::rgbChannelF(int channel) const {
    double rgb[3];
    rgbForm(rgb);
    return rgb[channel];
}

int ZelColor::red8() const {
    return rgbChannel8(0);
}

int ZelColor::green8() const {
    return rgbChannel8(1);
}

int ZelColor::blue8() const {
    return rgbChannel8(2);
}

double ZelColor::redF() const {
    return rgbChannelF(0);
}

double ZelColor::greenF() const {
    return rgbChannelF(1);
}

double ZelColor::blueF() const {
    return rgbChannelF(2);
}

int ZelColor::red16() const {
    return rgbChannel16(0);
}

int ZelColor::green16() const {
    return rgbChannel16(1);
}

int ZelColor::blue16() const {
    return rgbChannel16(2);
}

// --- alpha -----------------------------------------------------------------------------------

int ZelColor::alpha8() const {
    return eightFrom16(m_alpha);
}

double ZelColor::alphaF() const {
    return m_alpha / double(kMax16);
}

void ZelColor::setAlpha8(int alpha) {
    m_alpha = clampInt(alpha, 0, 255) * 257;
}

void ZelColor::setAlphaF(double alpha) {
    m_alpha = to16(unit(alpha, "alpha"));
}

// --- HSB -------------------------------------------------------------------------------------

void ZelColor::setHsv8(int hue, int saturation, int value, int alpha, ColorUtils::HueformProfileID profile) {
    *this = ZelColor();
    m_spec = Hsb;
    m_c[0] = ((hue % 360) + 360) % 360 * 100;
    m_c[1] = clampInt(saturation, 0, 255) * 257;
    m_c[2] = clampInt(value, 0, 255) * 257;
    m_alpha = clampInt(alpha, 0, 255) * 257;
    m_profile = profile;
}

ZelColor ZelColor::fromHsvF(double hue, double saturation, double value, double alpha,
                            ColorUtils::HueformProfileID profile) {
    ZelColor c;
    c.m_spec = Hsb;
    c.m_c[0] = hueStepsFromUnit(hue);
    c.m_c[1] = to16(unit(saturation, "saturation"));
    c.m_c[2] = to16(unit(value, "value"));
    c.m_alpha = to16(unit(alpha, "alpha"));
    c.m_profile = profile;
    return c;
}

int ZelColor::hue8() const {
    if (m_spec == Hsb)
        return int(std::lround(m_c[0] / 100.0)) % 360;
    return int(std::lround(hueF() * 360.0)) % 360;
}

int ZelColor::saturation8() const {
    if (m_spec == Hsb)
        return eightFrom16(m_c[1]);
    return to8(saturationF());
}

int ZelColor::value8() const {
    if (m_spec == Hsb)
        return eightFrom16(m_c[2]);
    return to8(valueF());
}

double ZelColor::hueF() const {
    double hsv[3];
    hsvForm(hsv);
    return hsv[0];
}

double ZelColor::saturationF() const {
    double hsv[3];
    hsvForm(hsv);
    return hsv[1];
}

double ZelColor::valueF() const {
    double hsv[3];
    hsvForm(hsv);
    return hsv[2];
}

// --- chromaticity ----------------------------------------------------------------------------

void ZelColor::setY(double Y) {
    makeYxyFromCurrent();
    m_Y = std::max(0.0, finiteOr(Y, m_Y, "Y"));
    if (m_Y == 0.0)
        m_Y = 0.0;
}

void ZelColor::setx(double x) {
    makeYxyFromCurrent();
    m_x = unit(finiteOr(x, m_x, "x"), "x");
}

void ZelColor::sety(double y) {
    makeYxyFromCurrent();
    m_y = unit(finiteOr(y, m_y, "y"), "y");
}

void ZelColor::setYxyF(double Y, double x, double y, double alpha, ColorUtils::HueformProfileID profile) {
    *this = ZelColor();
    m_spec = Yxy;
    setY(Y);
    setx(x);
    sety(y);
    setAlphaF(alpha);
    m_profile = profile;
}

double ZelColor::getY() const {
    if (m_spec == Yxy)
        return m_Y;
    double xyz[3];
    getXYZ(&xyz[0], &xyz[1], &xyz[2]);
    return xyz[1];
}

double ZelColor::getx() const {
    if (m_spec == Yxy)
        return m_x;
    if (!isValid())
        return 0.0;
    double xyz[3];
    getXYZ(&xyz[0], &xyz[1], &xyz[2]);
    return ColorScience::xyzToxy(xyz).x;
}

double ZelColor::gety() const {
    if (m_spec == Yxy)
        return m_y;
    if (!isValid())
        return 0.0;
    double xyz[3];
    getXYZ(&xyz[0], &xyz[1], &xyz[2]);
    return ColorScience::xyzToxy(xyz).y;
}

void ZelColor::getXYZ(double* X, double* Y, double* Z) const {
    double xyz[3] = {0.0, 0.0, 0.0};
    switch (m_spec) {
    case Rgb:
    case Hsb: {
        double rgb[3];
        rgbForm(rgb);
        for (double& c : rgb)
            c = ColorScience::srgbToLinear(c);
        ColorScience::linearSrgbToXyz(rgb, xyz);
        break;
    }
    case Yxy:
        ColorScience::xyYToXyz(m_Y, m_x, m_y, xyz);
        break;
    case NChannel:
        if (const FixtureProfile* fixture = FixtureProfile::find(m_profile))
            fixture->channelsToXyz(m_channels, xyz);
        break;
    default:
        break;
    }
    if (X)
        *X = xyz[0];
    if (Y)
        *Y = xyz[1];
    if (Z)
        *Z = xyz[2];
}

ZelColor ZelColor::fromXYZ(double X, double Y, double Z, double alpha) {
    if (!std::isfinite(X) || !std::isfinite(Y) || !std::isfinite(Z)) {
        qCWarning(lcColor) << "no colour for non-finite XYZ";
        return ZelColor();
    }
    const double xyz[3] = {std::max(0.0, X), std::max(0.0, Y), std::max(0.0, Z)};
    const ColorScience::Chromaticity c = ColorScience::xyzToxy(xyz);
    ZelColor result;
    result.setYxyF(xyz[1], c.x, c.y, alpha);
    return result;
}

// --- N-channel -------------------------------------------------------------------------------

ZelColor ZelColor::fromNChannelF(const QVector<double>& levels, int channelConfiguration,
                                 ColorUtils::HueformProfileID profile) {
    if (!ColorUtils::isValidHueformProfileID(profile)) {
        qCWarning(lcColor) << "no fixture profile" << profile << "for an N-channel colour";
        return ZelColor();
    }
    ZelColor c;
    c.m_spec = NChannel;
    c.m_profile = profile;
    c.m_channelConfiguration = channelConfiguration;
    for (int i = 0; i < levels.size() && i < kMaxChannels; ++i)
        c.m_channels.append(unit(levels[i], "channel level"));
    return c;
}

double ZelColor::getNChannelF(int channel) const {
    if (m_spec != NChannel) {
        if (!isValid())
            return 0.0;
        return convertTo(NChannel, 1, m_profile).getNChannelF(channel);
    }
    return channel >= 0 && channel < m_channels.size() ? m_channels[channel] : 0.0;
}

int ZelColor::getNChannel8(int channel) const {
    return to8(getNChannelF(channel));
}

// --- screen ----------------------------------------------------------------------------------

QColor ZelColor::toQColor() const {
    if (!isValid())
        return QColor();
    return QColor::fromRgba64(quint16(red16()), quint16(green16()), quint16(blue16()), quint16(m_alpha));
}

bool ZelColor::operator==(const ZelColor& other) const {
    if (m_spec != other.m_spec)
        return false;
    if (!isValid())
        return true;
    if (m_alpha != other.m_alpha)
        return false;
    switch (m_spec) {
    case Rgb:
    case Hsb:
        return std::equal(m_c, m_c + 3, other.m_c);
    case Yxy:
        return m_Y == other.m_Y && m_x == other.m_x && m_y == other.m_y;
    default:
        return m_profile == other.m_profile && m_channels == other.m_channels &&
               m_channelConfiguration == other.m_channelConfiguration && m_renderType == other.m_renderType;
    }
}

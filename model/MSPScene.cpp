#include "MSPScene.h"

#include "MSPEffect.h"
#include "MSPXmlText.h"
#include "ModelLog.h"

#include <QDebug>

#include <cmath>

namespace {

// The document always carries three parameters and six colour slots per scene.
constexpr int documentParams = 3;
constexpr int documentColors = 6;

// Whole part (toward zero) of value, kept to the low 16 bits as the keypad's fields are.
int low16(double value) {
    if (!std::isfinite(value))
        return 0;
    // Anything beyond this has no meaning in a 16-bit field; the bound keeps the conversion defined.
    const double bounded = std::fmax(-1e9, std::fmin(1e9, std::trunc(value)));
    return int(static_cast<long long>(bounded) & 0xFFFF);
}

QString unsigned16(double value) {
    return QString::number(low16(value));
}

QString signed16(double value) {
    const int bits = low16(value);
    return QString::number(bits >= 0x8000 ? bits - 0x10000 : bits);
}

// x and y go as ten-thousandths, Y as thousandths. Single-precision triples are widened first so
// that the truncation sees the float's own value (0.329f gives 3289).
QString queryTriple(double Y, double x, double y) {
    return QLatin1Char('(') + unsigned16(x * 10000) + QLatin1Char(',') + unsigned16(y * 10000) + QLatin1Char(',') +
           unsigned16(Y * 1000) + QLatin1Char(')');
}

QString documentTriple(double Y, double x, double y) {
    return QLatin1String("<by>") + signed16(Y * 1000) + QLatin1String("</by><x>") + signed16(x * 10000) +
           QLatin1String("</x><y>") + signed16(y * 10000) + QLatin1String("</y>");
}

struct ColorTriple {
    double Y = 0;
    double x = 0;
    double y = 0;
};

ColorTriple chromaticityOf(const ZelColor& color) {
    if (color.spec() != ZelColor::Yxy)
        return {};
    return {color.getY(), color.getx(), color.gety()};
}

} // namespace

MSPScene::MSPScene(QObject* parent)
    : QObject(parent) {
    static const int registered = qRegisterMetaType<MSPScene*>("MSPScene*");
    Q_UNUSED(registered)
}

MSPEffect* MSPScene::effect() const {
    return m_effect;
}

void MSPScene::setEffect(MSPEffect* effect, bool emitSignal) {
    if (effect == m_effect) {
        // Giving a scene the effect it already has must not delete it.
        if (effect && emitSignal)
            emit effectChanged(this);
        return;
    }
    if (m_effect) {
        disconnect(m_effect, nullptr, this, nullptr);
        m_effect->deleteLater();
    }
    m_effect = effect;
    if (!m_effect)
        return;
    m_effect->setParent(this);
    connect(m_effect, &MSPEffect::effectParamsChanged, this, &MSPScene::handleEffectParamsChanged);
    if (emitSignal)
        emit effectChanged(this);
}

void MSPScene::setURL(const QString& url) {
    m_url = url;
}

void MSPScene::handleEffectParamsChanged() {
    emit effectParamsChanged(this);
}

QString MSPScene::PostData() const {
    if (!m_effect)
        return QString();
    QStringList params;
    QList<ZelColor> colors;
    float Y = 0;
    float x = 0;
    float y = 0;
    m_effect->getParams(&params, &colors, &Y, &x, &y);

    QString text = QLatin1String("effect=") + QString::number(m_effect->type());
    for (int n = 0; n < params.size(); ++n)
        text += QLatin1String("&param") + QString::number(n + 1) + QLatin1Char('=') + params.at(n);
    text += QLatin1String("&param_xy=") + queryTriple(double(Y), double(x), double(y));
    text += QLatin1String("&num_colors=") + QString::number(colors.size());

    const ColorUtils::HueformProfileID profile = MSPEffect::currentProfile();
    for (int k = 0; k < colors.size(); ++k) {
        const ZelColor& color = colors.at(k);
        int bytes[3];
        MSPEffect::deviceBytes(color, profile, bytes);
        const QString number = QString::number(k + 1);
        const ColorTriple triple = chromaticityOf(color);
        text += QLatin1String("&color") + number + QLatin1String("=(") + QString::number(bytes[0]) + QLatin1Char(',') +
                QString::number(bytes[1]) + QLatin1Char(',') + QString::number(bytes[2]) + QLatin1Char(')') +
                QLatin1String("&custom_xy_") + number + QLatin1Char('=') + queryTriple(triple.Y, triple.x, triple.y);
    }
    return text;
}

QString MSPScene::XMLData() const {
    if (!m_effect)
        return QString();
    QStringList params;
    QList<ZelColor> colors;
    float Y = 0;
    float x = 0;
    float y = 0;
    m_effect->getParams(&params, &colors, &Y, &x, &y);

    QString text = QLatin1String("<show><url>") + MSPXmlText::escaped(m_url) + QLatin1String("</url>\n");
    text += QLatin1String("<effect>") + QString::number(m_effect->type()) + QLatin1String("</effect>\n");
    text += QLatin1String("<parameters>");
    for (const QString& param : params)
        text += QLatin1String("<param>") + MSPXmlText::escaped(param) + QLatin1String("</param>");
    for (int n = params.size(); n < documentParams; ++n)
        text += QLatin1String("<param>0</param>");
    text += documentTriple(double(Y), double(x), double(y));
    text += QLatin1String("</parameters>");
    text +=
        QLatin1String("<numColors>") + QString::number(colors.size()) + QLatin1String("</numColors>\n<customColors>");

    const ColorUtils::HueformProfileID profile = MSPEffect::currentProfile();
    for (const ZelColor& color : colors) {
        int bytes[3];
        MSPEffect::deviceBytes(color, profile, bytes);
        const ColorTriple triple = chromaticityOf(color);
        text += QLatin1String("<color>\n<red>") + QString::number(bytes[0]) + QLatin1String("</red>\n<grn>") +
                QString::number(bytes[1]) + QLatin1String("</grn>\n<blu>") + QString::number(bytes[2]) +
                QLatin1String("</blu>\n") + documentTriple(triple.Y, triple.x, triple.y) + QLatin1String(" </color>");
    }
    for (int k = colors.size(); k < documentColors; ++k)
        text += QLatin1String("<color><red>0</red>\n<grn>0</grn>\n<blu>0</blu><by>0</by><x>0</x><y>0</y>\n</color>");
    text += QLatin1String("\n</customColors>\n</show>");
    qCDebug(lcModel).noquote() << text;
    return text;
}

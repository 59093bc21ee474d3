#include "MSPFixedColorEffect.h"

#include "ModelLog.h"

#include <QDebug>

#include <algorithm>

namespace {

int byteValue(const QString& text) {
    return std::clamp(text.toInt(), 0, 255);
}

} // namespace

MSPFixedColorEffect::MSPFixedColorEffect(QObject* parent, int type)
    : MSPEffect(parent, type) {}

void MSPFixedColorEffect::setColor(const QString& color) {
    if (color == m_color)
        return;
    m_color = color;
    emit colorChanged(m_color);
    emit effectParamsChanged();
}

bool MSPFixedColorEffect::chromaticityColor(float Y, float x, float y, ZelColor* color) {
    if (Y == 0 && x == 0 && y == 0)
        return false;
    *color = ZelColor();
    color->setY(Y);
    color->setx(x);
    color->sety(y);
    return true;
}

void MSPFixedColorEffect::chromaticityOf(const ZelColor& color, float* Y, float* x, float* y) {
    if (color.spec() != ZelColor::Yxy)
        return;
    *Y = float(color.getY());
    *x = float(color.getx());
    *y = float(color.gety());
}

void MSPFixedColorEffect::storeColor(const ZelColor& color) {
    m_color = color.aName();
}

void MSPFixedColorEffect::setParams(const QStringList& params, const QList<ZelColor>& /*colors*/, int /*numColors*/,
                                    ColorUtils::HueformProfileID profile, float Y, float x, float y) {
    ZelColor color;
    if (!chromaticityColor(Y, x, y, &color)) {
        if (params.size() != 3) {
            qCDebug(lcModel) << "fixed colour ignores" << params.size() << "parameters";
            return;
        }
        color =
            ZelColor::fromRgb8(byteValue(params.at(0)), byteValue(params.at(1)), byteValue(params.at(2)), 255, profile);
    }
    storeColor(color);
}

void MSPFixedColorEffect::getParams(QStringList* params, QList<ZelColor>* colors, float* Y, float* x, float* y) const {
    clearParams(params, colors, Y, x, y);
    const ZelColor color(m_color);
    int bytes[3];
    deviceBytes(color, currentProfile(), bytes);
    for (int byte : bytes)
        params->append(QString::number(byte));
    chromaticityOf(color, Y, x, y);
}

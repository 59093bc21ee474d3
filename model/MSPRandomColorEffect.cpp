#include "MSPRandomColorEffect.h"

#include "ModelLog.h"

#include <QDebug>

MSPRandomColorEffect::MSPRandomColorEffect(QObject* parent)
    : MSPEffect(parent, RandomColor) {}

void MSPRandomColorEffect::setSpeed(int speed) {
    if (speed == m_speed)
        return;
    m_speed = speed;
    emit speedChanged();
    emit effectParamsChanged();
}

void MSPRandomColorEffect::setFade(bool fade) {
    if (fade == m_fade)
        return;
    m_fade = fade;
    emit fadeChanged();
    emit effectParamsChanged();
}

void MSPRandomColorEffect::setParams(const QStringList& params, const QList<ZelColor>& /*colors*/, int /*numColors*/,
                                     ColorUtils::HueformProfileID /*profile*/, float /*Y*/, float /*x*/, float /*y*/) {
    if (params.size() < 2) {
        qCDebug(lcModel) << "random colour ignores" << params.size() << "parameters";
        return;
    }
    m_speed = params.at(0).toInt();
    m_fade = params.at(1).toInt() != 0;
}

void MSPRandomColorEffect::getParams(QStringList* params, QList<ZelColor>* colors, float* Y, float* x, float* y) const {
    clearParams(params, colors, Y, x, y);
    params->append(QString::number(m_speed));
    params->append(m_fade ? QStringLiteral("1") : QStringLiteral("0"));
}

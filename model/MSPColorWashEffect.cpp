#include "MSPColorWashEffect.h"

#include "ModelLog.h"

#include <QDebug>

#include <algorithm>

MSPColorWashEffect::MSPColorWashEffect(QObject* parent, int type)
    : MSPEffect(parent, type) {}

void MSPColorWashEffect::setSpeed(int speed) {
    if (speed == m_speed)
        return;
    m_speed = speed;
    emit speedChanged(speed);
    emit effectParamsChanged();
}

void MSPColorWashEffect::setDirection(int direction) {
    if (direction == m_direction)
        return;
    m_direction = direction;
    emit directionChanged(direction);
    emit effectParamsChanged();
}

void MSPColorWashEffect::takeSpeedAndDirection(const QStringList& params) {
    m_speed = std::clamp(params.at(0).toInt(), minimumSpeed, maximumSpeed);
    m_direction = std::clamp(params.at(1).toInt(), 0, 1);
}

void MSPColorWashEffect::setParams(const QStringList& params, const QList<ZelColor>& /*colors*/, int /*numColors*/,
                                   ColorUtils::HueformProfileID /*profile*/, float /*Y*/, float /*x*/, float /*y*/) {
    if (params.size() < 2) {
        qCDebug(lcModel) << "colour wash ignores" << params.size() << "parameters";
        return;
    }
    takeSpeedAndDirection(params);
}

void MSPColorWashEffect::getParams(QStringList* params, QList<ZelColor>* colors, float* Y, float* x, float* y) const {
    clearParams(params, colors, Y, x, y);
    params->append(QString::number(m_speed));
    params->append(QString::number(m_direction));
}

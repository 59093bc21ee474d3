#include "MSPWhiteEffect.h"

#include "ModelLog.h"

#include <QDebug>

#include <algorithm>
#include <cmath>

namespace {

// The keypad keeps brightness as 0-255; 100/255 brings it back to percent.
constexpr double percentPerStep = 0.39215686274509803;

// The device's 0-255, with anything else (also "nan" and "1e30") brought into that range.
float deviceLevel(const QString& text) {
    const float level = text.toFloat();
    return std::isfinite(level) ? std::clamp(level, 0.0f, 255.0f) : 0.0f;
}

} // namespace

MSPWhiteEffect::MSPWhiteEffect(QObject* parent, int type)
    : MSPEffect(parent, type) {}

void MSPWhiteEffect::setTemperature(int temperature) {
    if (temperature == m_temperature)
        return;
    m_temperature = temperature;
    emit temperatureChanged();
    emit effectParamsChanged();
}

void MSPWhiteEffect::setBrightness(int brightness) {
    if (brightness == m_brightness)
        return;
    m_brightness = brightness;
    emit brightnessChanged();
    emit effectParamsChanged();
}

void MSPWhiteEffect::setParams(const QStringList& params, const QList<ZelColor>& /*colors*/, int /*numColors*/,
                               ColorUtils::HueformProfileID /*profile*/, float /*Y*/, float /*x*/, float /*y*/) {
    if (params.size() < 2) {
        qCDebug(lcModel) << "white ignores" << params.size() << "parameters";
        return;
    }
    m_temperature = params.at(0).toInt();
    m_brightness = int(deviceLevel(params.at(1)) * percentPerStep + 0.5);
}

void MSPWhiteEffect::getParams(QStringList* params, QList<ZelColor>* colors, float* Y, float* x, float* y) const {
    clearParams(params, colors, Y, x, y);
    params->append(QString::number(m_temperature));
    params->append(QString::number(int(m_brightness * 255 / 100.0 + 0.5)));
}

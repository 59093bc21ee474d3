#include "MSPVariableColorEffect.h"

#include "ModelLog.h"

#include <QDebug>

#include <algorithm>
#include <cmath>

namespace {

// The keypad scales hue to 0-255; 360/255 brings it back to degrees.
constexpr double degreesPerStep = 1.411764705882353;

int byteValue(const QString& text) {
    return std::clamp(text.toInt(), 0, 255);
}

float deviceLevel(const QString& text) {
    const float level = text.toFloat();
    return std::isfinite(level) ? std::clamp(level, 0.0f, 255.0f) : 0.0f;
}

} // namespace

MSPVariableColorEffect::MSPVariableColorEffect(QObject* parent)
    : MSPFixedColorEffect(parent, VariableColor) {}

void MSPVariableColorEffect::setParams(const QStringList& params, const QList<ZelColor>& /*colors*/, int /*numColors*/,
                                       ColorUtils::HueformProfileID profile, float Y, float x, float y) {
    ZelColor color;
    if (!chromaticityColor(Y, x, y, &color)) {
        if (params.size() != 3) {
            qCDebug(lcModel) << "variable colour ignores" << params.size() << "parameters";
            return;
        }
        // Rounded up, not truncated: the smallest hue that goes out as the same number again, so
        // a scene read and written back does not lose a step each time.
        const int hue = int(std::ceil(double(deviceLevel(params.at(0))) * degreesPerStep - 1e-6));
        color.setHsv8(hue, byteValue(params.at(1)), byteValue(params.at(2)), 255, profile);
    }
    storeColor(color);
}

void MSPVariableColorEffect::getParams(QStringList* params, QList<ZelColor>* colors, float* Y, float* x,
                                       float* y) const {
    clearParams(params, colors, Y, x, y);
    ZelColor picked(color());
    chromaticityOf(picked, Y, x, y);
    const ColorUtils::HueformProfileID profile = currentProfile();
    picked.setHueformProfileID(profile);
    const ZelColor hsb = picked.convertTo(ZelColor::Hsb, 1, profile);
    params->append(QString::number(hsb.hue8() * 255 / 360));
    params->append(QString::number(hsb.saturation8()));
    params->append(QString::number(hsb.value8()));
}

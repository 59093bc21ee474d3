#pragma once

#include "MSPFixedColorEffect.h"

// A fixed colour that the keypad keeps as hue, saturation and value instead of red, green, blue.
class MSPVariableColorEffect : public MSPFixedColorEffect {
public:
    explicit MSPVariableColorEffect(QObject* parent = nullptr);

    void setParams(const QStringList& params, const QList<ZelColor>& colors, int numColors,
                   ColorUtils::HueformProfileID profile, float Y, float x, float y) override;
    void getParams(QStringList* params, QList<ZelColor>* colors, float* Y, float* x, float* y) const override;
};

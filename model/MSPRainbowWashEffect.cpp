#include "MSPRainbowWashEffect.h"

MSPRainbowWashEffect::MSPRainbowWashEffect(QObject* parent)
    : MSPCustomWashEffect(parent, RainbowWash, 4, 35, 4) {}

#pragma once

#include "MSPCustomWashEffect.h"

// The keypad's built-in rainbow: a custom wash with wider bands (4 to 35 lights).
class MSPRainbowWashEffect : public MSPCustomWashEffect {
public:
    explicit MSPRainbowWashEffect(QObject* parent = nullptr);
};

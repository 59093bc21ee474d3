#pragma once

#include "MSPWhiteEffect.h"

// Two white emitters mixed by temperature; the keypad stores it exactly like RGB white.
class MSPDuoWhiteEffect : public MSPWhiteEffect {
public:
    explicit MSPDuoWhiteEffect(QObject* parent = nullptr);
};

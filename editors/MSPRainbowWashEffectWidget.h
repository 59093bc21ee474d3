#pragma once

#include "MSPCustomWashEffectWidget.h"

// The rainbow plays its own colours: only speed, direction and the width of its bands.
class MSPRainbowWashEffectWidget : public MSPCustomWashEffectWidget {
    Q_OBJECT
    Q_DISABLE_COPY(MSPRainbowWashEffectWidget)

public:
    MSPRainbowWashEffectWidget(QWidget* parent, qint32 kind);
};

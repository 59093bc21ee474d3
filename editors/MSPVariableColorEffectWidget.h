#pragma once

#include "MSPFixedColorEffectWidget.h"

// A variable colour effect is a fixed colour the keypad keeps in another form: same editor.
class MSPVariableColorEffectWidget : public MSPFixedColorEffectWidget {
    Q_OBJECT
    Q_DISABLE_COPY(MSPVariableColorEffectWidget)

public:
    MSPVariableColorEffectWidget(QWidget* parent, qint32 kind);
};

#include "MSPVariableColorEffectWidget.h"

MSPVariableColorEffectWidget::MSPVariableColorEffectWidget(QWidget* parent, qint32 kind)
    : MSPFixedColorEffectWidget(parent, kind) {}

#include "MSPEffectWidgetFactory.h"

#include "MSPColorWashEffectWidget.h"
#include "MSPCustomWashEffectWidget.h"
#include "MSPDuoWhiteEffectWidget.h"
#include "MSPEffect.h"
#include "MSPFixedColorEffectWidget.h"
#include "MSPRainbowWashEffectWidget.h"
#include "MSPRandomColorEffectWidget.h"
#include "MSPVariableColorEffectWidget.h"
#include "MSPWhiteEffectWidget.h"

MSPEffectWidgetFactory* MSPEffectWidgetFactory::instance() {
    static MSPEffectWidgetFactory* factory = new MSPEffectWidgetFactory;
    return factory;
}

MSPEffectWidget* MSPEffectWidgetFactory::create(int kind, QWidget* parent) const {
    switch (kind) {
    case MSPEffect::FixedColor:
        return new MSPFixedColorEffectWidget(parent, kind);
    case MSPEffect::VariableColor:
        return new MSPVariableColorEffectWidget(parent, kind);
    case MSPEffect::ColorWash:
        return new MSPColorWashEffectWidget(parent, kind);
    case MSPEffect::RainbowWash:
        return new MSPRainbowWashEffectWidget(parent, kind);
    case MSPEffect::CustomWash:
        return new MSPCustomWashEffectWidget(parent, kind);
    case MSPEffect::RandomColor:
        return new MSPRandomColorEffectWidget(parent, kind);
    case MSPEffect::RgbWhite:
        return new MSPWhiteEffectWidget(parent, kind);
    case MSPEffect::DuoWhite:
        return new MSPDuoWhiteEffectWidget(parent, kind);
    default:
        return nullptr;
    }
}

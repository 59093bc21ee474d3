#include "MSPEffectWidgetFactory.h"

#include "MSPDuoWhiteEffectWidget.h"
#include "MSPEffect.h"
#include "MSPInterimColorEffectWidget.h"
#include "MSPRandomColorEffectWidget.h"
#include "MSPWhiteEffectWidget.h"

MSPEffectWidgetFactory* MSPEffectWidgetFactory::instance() {
    static MSPEffectWidgetFactory* factory = new MSPEffectWidgetFactory;
    return factory;
}

MSPEffectWidget* MSPEffectWidgetFactory::create(int kind, QWidget* parent) const {
    switch (kind) {
    case MSPEffect::FixedColor:
    case MSPEffect::VariableColor:
    case MSPEffect::ColorWash:
    case MSPEffect::RainbowWash:
    case MSPEffect::CustomWash:
        return new MSPInterimColorEffectWidget(parent, kind);
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

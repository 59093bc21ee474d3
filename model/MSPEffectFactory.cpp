#include "MSPEffectFactory.h"

#include "MSPColorWashEffect.h"
#include "MSPCustomWashEffect.h"
#include "MSPDuoWhiteEffect.h"
#include "MSPFixedColorEffect.h"
#include "MSPRainbowWashEffect.h"
#include "MSPRandomColorEffect.h"
#include "MSPVariableColorEffect.h"
#include "MSPWhiteEffect.h"
#include "ModelLog.h"

#include <QDebug>

MSPEffectFactory* MSPEffectFactory::instance() {
    static MSPEffectFactory* factory = new MSPEffectFactory();
    return factory;
}

MSPEffectFactory::MSPEffectFactory(QObject* parent)
    : QObject(parent) {}

MSPEffect* MSPEffectFactory::create(int type, QObject* parent) const {
    switch (type) {
    case MSPEffect::FixedColor:
        return new MSPFixedColorEffect(parent);
    case MSPEffect::VariableColor:
        return new MSPVariableColorEffect(parent);
    case MSPEffect::ColorWash:
        return new MSPColorWashEffect(parent);
    case MSPEffect::RainbowWash:
        return new MSPRainbowWashEffect(parent);
    case MSPEffect::CustomWash:
        return new MSPCustomWashEffect(parent);
    case MSPEffect::RandomColor:
        return new MSPRandomColorEffect(parent);
    case MSPEffect::RgbWhite:
        return new MSPWhiteEffect(parent);
    case MSPEffect::DuoWhite:
        return new MSPDuoWhiteEffect(parent);
    }
    qCDebug(lcModel) << "no effect of type" << type;
    return nullptr;
}

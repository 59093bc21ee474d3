#include "MSPDuoWhiteEffect.h"

MSPDuoWhiteEffect::MSPDuoWhiteEffect(QObject* parent)
    : MSPWhiteEffect(parent, DuoWhite) {}

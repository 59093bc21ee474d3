#include "MSPEffect.h"

#include "ModelLog.h"
#include "SystemConfiguration.h"

#include <QDebug>

namespace {

const char* const typeNames[MSPEffect::typeCount] = {
    QT_TRANSLATE_NOOP("MSPEffect", "Fixed Color"), QT_TRANSLATE_NOOP("MSPEffect", "Variable Color"),
    QT_TRANSLATE_NOOP("MSPEffect", "Color Wash"),  QT_TRANSLATE_NOOP("MSPEffect", "Rainbow Wash"),
    QT_TRANSLATE_NOOP("MSPEffect", "Custom Wash"), QT_TRANSLATE_NOOP("MSPEffect", "Random Color"),
    QT_TRANSLATE_NOOP("MSPEffect", "RGB White"),   QT_TRANSLATE_NOOP("MSPEffect", "Duo White"),
};

} // namespace

MSPEffect::MSPEffect(QObject* parent, int type)
    : QObject(parent)
    , m_type(type) {}

QString MSPEffect::nameForType(int type) {
    if (type < 0 || type >= typeCount)
        return tr("undefined");
    return tr(typeNames[type]);
}

void MSPEffect::deviceBytes(const ZelColor& color, ColorUtils::HueformProfileID profile, int bytes[3]) {
    const ColorUtils::IOModeID mode = ColorUtils::defaultIOModeIDForHueformProfileID3toN(profile);
    const bool hueformEnabled = ColorUtils::defaultHueformEnabled(profile, mode) != 0;
    unsigned char out[3] = {0, 0, 0};
    if (!ColorUtils::convertZelColorToDMX(color, hueformEnabled, 3, 1, out, 0, 1, profile, mode))
        qCWarning(lcModel) << "no device bytes for colour" << color.aName() << "under profile" << profile;
    for (int i = 0; i < 3; ++i)
        bytes[i] = out[i];
}

ColorUtils::HueformProfileID MSPEffect::currentProfile() {
    return SystemConfiguration::instance()->fixtureClass();
}

void MSPEffect::clearParams(QStringList* params, QList<ZelColor>* colors, float* Y, float* x, float* y) {
    params->clear();
    colors->clear();
    *Y = 0;
    *x = 0;
    *y = 0;
}

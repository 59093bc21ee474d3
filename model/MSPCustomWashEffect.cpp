#include "MSPCustomWashEffect.h"

#include "ModelLog.h"

#include <QDebug>

#include <algorithm>

MSPCustomWashEffect::MSPCustomWashEffect(QObject* parent)
    : MSPCustomWashEffect(parent, CustomWash, 1, 32, 1) {}

MSPCustomWashEffect::MSPCustomWashEffect(QObject* parent, int type, int minimumWidth, int maximumWidth, int width)
    : MSPColorWashEffect(parent, type)
    , m_minimumWidth(minimumWidth)
    , m_maximumWidth(maximumWidth)
    , m_width(width) {
    setSpeed(1);
}

void MSPCustomWashEffect::setWidth(int width) {
    if (width == m_width)
        return;
    m_width = width;
    emit widthChanged();
    emit effectParamsChanged();
}

void MSPCustomWashEffect::setColorList(const QStringList& colorList) {
    QStringList kept = colorList;
    if (kept.size() > maximumColors) {
        qCWarning(lcModel) << "a wash holds" << maximumColors << "colours, dropped" << kept.mid(maximumColors);
        kept = kept.mid(0, maximumColors);
    }
    if (kept == m_colorList)
        return;
    m_colorList = kept;
    emit colorListChanged();
    emit effectParamsChanged();
}

void MSPCustomWashEffect::setParams(const QStringList& params, const QList<ZelColor>& colors, int numColors,
                                    ColorUtils::HueformProfileID /*profile*/, float /*Y*/, float /*x*/, float /*y*/) {
    if (params.size() != 3 || colors.size() != maximumColors) {
        qCDebug(lcModel) << "wash ignores" << params.size() << "parameters with" << colors.size() << "colours";
        return;
    }
    takeSpeedAndDirection(params);
    m_width = std::clamp(params.at(2).toInt(), m_minimumWidth, m_maximumWidth);
    m_colorList.clear();
    const int count = std::clamp(numColors, 0, int(colors.size()));
    for (int i = 0; i < count; ++i)
        m_colorList.append(colors.at(i).aName());
}

void MSPCustomWashEffect::getParams(QStringList* params, QList<ZelColor>* colors, float* Y, float* x, float* y) const {
    clearParams(params, colors, Y, x, y);
    params->append(QString::number(speed()));
    params->append(QString::number(direction()));
    params->append(QString::number(m_width));
    for (const QString& text : m_colorList)
        colors->append(ZelColor(text));
}

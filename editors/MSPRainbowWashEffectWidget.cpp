#include "MSPRainbowWashEffectWidget.h"

#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

MSPRainbowWashEffectWidget::MSPRainbowWashEffectWidget(QWidget* parent, qint32 kind)
    : MSPCustomWashEffectWidget(parent, kind) {
    setColorControlsShown(false);
    const QSignalBlocker sliderBlocker(m_widthSlider);
    const QSignalBlocker editBlocker(m_widthEdit);
    m_widthSlider->setRange(4, 35);
    m_widthEdit->setRange(4, 35);
    m_widthSlider->setValue(4);
    m_widthEdit->setValue(4);
}

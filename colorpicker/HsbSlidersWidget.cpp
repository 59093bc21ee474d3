#include "HsbSlidersWidget.h"

#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>

namespace ZelColorPickerLib {

HsbSlidersWidget::HsbSlidersWidget(QWidget* parent)
    : ColorSlidersWidget(parent) {
    setObjectName(QStringLiteral("hsbSlidersWidget"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    m_hueRow = addRow(this, grid, 0, tr("H:"), tr("Hue"), QStringLiteral("hue"), 359, false);
    m_saturationRow = addRow(this, grid, 1, tr("S:"), tr("Saturation"), QStringLiteral("saturation"), 255, true);
    m_brightnessRow = addRow(this, grid, 2, tr("V:"), tr("Value/Brightness"), QStringLiteral("brightness"), 255, true);
    m_hueRow.slider->setToolTip(tr("Hue"));
    m_saturationRow.slider->setToolTip(tr("Saturation"));
    m_brightnessRow.label->setToolTip(tr("Value/Brightness"));
    m_brightnessRow.slider->setToolTip(tr("Value/Brightness"));
    m_hueRow.spinBox->setSuffix(QStringLiteral("\u00b0"));
    showValue(m_hueRow, m_hue);
    showValue(m_saturationRow, m_saturation);
    showValue(m_brightnessRow, m_brightness);

    connect(m_hueRow.slider, &QSlider::valueChanged, this, &HsbSlidersWidget::onHueSliderChanged);
    connect(m_saturationRow.slider, &QSlider::valueChanged, this, &HsbSlidersWidget::onSaturationSliderChanged);
    connect(m_brightnessRow.slider, &QSlider::valueChanged, this, &HsbSlidersWidget::onBrightnessSliderChanged);
    connect(m_hueRow.spinBox, qOverload<int>(&QSpinBox::valueChanged), this, &HsbSlidersWidget::onHueSpinBoxChanged);
    connect(m_saturationRow.spinBox, qOverload<int>(&QSpinBox::valueChanged), this,
            &HsbSlidersWidget::onSaturationSpinBoxChanged);
    connect(m_brightnessRow.spinBox, qOverload<int>(&QSpinBox::valueChanged), this,
            &HsbSlidersWidget::onBrightnessSpinBoxChanged);
}

void HsbSlidersWidget::setColor(const ZelColor& color) {
    const ZelColor hsb = color.convertTo(ZelColor::Hsb);
    m_hue = qBound(0, hsb.hue8(), 359);
    m_saturation = to8(hsb.saturationF());
    m_brightness = to8(hsb.valueF());
    showValue(m_hueRow, m_hue);
    showValue(m_saturationRow, m_saturation);
    showValue(m_brightnessRow, m_brightness);
}

void HsbSlidersWidget::changed(const Row& row, int* member, int value) {
    *member = value;
    showValue(row, value);
    ZelColor color;
    color.setHsv8(m_hue, m_saturation, m_brightness, 255, 0);
    emit colorChanged(color);
}

void HsbSlidersWidget::onHueSliderChanged(int value) {
    changed(m_hueRow, &m_hue, value);
}

void HsbSlidersWidget::onSaturationSliderChanged(int value) {
    changed(m_saturationRow, &m_saturation, value);
}

void HsbSlidersWidget::onBrightnessSliderChanged(int value) {
    changed(m_brightnessRow, &m_brightness, value);
}

void HsbSlidersWidget::onHueSpinBoxChanged(int value) {
    changed(m_hueRow, &m_hue, value);
}

void HsbSlidersWidget::onSaturationSpinBoxChanged(int value) {
    changed(m_saturationRow, &m_saturation, value);
}

void HsbSlidersWidget::onBrightnessSpinBoxChanged(int value) {
    changed(m_brightnessRow, &m_brightness, value);
}

} // namespace ZelColorPickerLib

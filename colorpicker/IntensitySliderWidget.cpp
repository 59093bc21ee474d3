#include "IntensitySliderWidget.h"

#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>

namespace ZelColorPickerLib {

IntensitySliderWidget::IntensitySliderWidget(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("intensitySliderWidget"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    m_row = ColorSlidersWidget::addRow(this, grid, 0, tr("Intensity:"), tr("Intensity"), QStringLiteral("intensity"),
                                       255, true);
    // Opacity and intensity sit one above the other: their sliders start at the same x.
    m_row.label->setMinimumWidth(fontMetrics().horizontalAdvance(tr("Intensity:")) + 6);
    ColorSlidersWidget::showValue(m_row, m_intensity);
    connect(m_row.slider, &QSlider::valueChanged, this, &IntensitySliderWidget::onIntensitySliderChanged);
    connect(m_row.spinBox, qOverload<int>(&QSpinBox::valueChanged), this,
            &IntensitySliderWidget::onIntensitySpinBoxChanged);
}

void IntensitySliderWidget::setIntensity(int intensity) {
    m_intensity = qBound(0, intensity, 255);
    ColorSlidersWidget::showValue(m_row, m_intensity);
}

void IntensitySliderWidget::changed(int value) {
    m_intensity = value;
    ColorSlidersWidget::showValue(m_row, value);
    emit intensityChanged(value);
}

void IntensitySliderWidget::onIntensitySliderChanged(int value) {
    changed(value);
}

void IntensitySliderWidget::onIntensitySpinBoxChanged(int value) {
    changed(value);
}

} // namespace ZelColorPickerLib

#include "OpacitySliderWidget.h"

#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>

namespace ZelColorPickerLib {

OpacitySliderWidget::OpacitySliderWidget(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("opacitySliderWidget"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    m_row =
        ColorSlidersWidget::addRow(this, grid, 0, tr("Opacity:"), tr("Opacity"), QStringLiteral("opacity"), 255, true);
    // Opacity and intensity sit one above the other: their sliders start at the same x.
    m_row.label->setMinimumWidth(fontMetrics().horizontalAdvance(tr("Intensity:")) + 6);
    ColorSlidersWidget::showValue(m_row, m_opacity);
    connect(m_row.slider, &QSlider::valueChanged, this, &OpacitySliderWidget::onOpacitySliderChanged);
    connect(m_row.spinBox, qOverload<int>(&QSpinBox::valueChanged), this,
            &OpacitySliderWidget::onOpacitySpinBoxChanged);
}

void OpacitySliderWidget::setOpacity(int opacity) {
    m_opacity = qBound(0, opacity, 255);
    ColorSlidersWidget::showValue(m_row, m_opacity);
}

void OpacitySliderWidget::changed(int value) {
    m_opacity = value;
    ColorSlidersWidget::showValue(m_row, value);
    emit opacityChanged(value);
}

void OpacitySliderWidget::onOpacitySliderChanged(int value) {
    changed(value);
}

void OpacitySliderWidget::onOpacitySpinBoxChanged(int value) {
    changed(value);
}

} // namespace ZelColorPickerLib

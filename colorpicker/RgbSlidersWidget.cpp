#include "RgbSlidersWidget.h"

#include <QGridLayout>
#include <QSlider>
#include <QSpinBox>

namespace ZelColorPickerLib {

RgbSlidersWidget::RgbSlidersWidget(QWidget* parent)
    : ColorSlidersWidget(parent) {
    setObjectName(QStringLiteral("rgbSlidersWidget"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    m_redRow = addRow(this, grid, 0, tr("R:"), tr("Red"), QStringLiteral("red"), 255, true);
    m_greenRow = addRow(this, grid, 1, tr("G:"), tr("Green"), QStringLiteral("green"), 255, true);
    m_blueRow = addRow(this, grid, 2, tr("B:"), tr("Blue"), QStringLiteral("blue"), 255, true);
    m_redRow.slider->setToolTip(tr("Red"));
    m_greenRow.slider->setToolTip(tr("Green"));
    m_blueRow.slider->setToolTip(tr("Blue"));
    showValue(m_redRow, m_red);
    showValue(m_greenRow, m_green);
    showValue(m_blueRow, m_blue);

    connect(m_redRow.slider, &QSlider::valueChanged, this, &RgbSlidersWidget::onRedSliderChanged);
    connect(m_greenRow.slider, &QSlider::valueChanged, this, &RgbSlidersWidget::onGreenSliderChanged);
    connect(m_blueRow.slider, &QSlider::valueChanged, this, &RgbSlidersWidget::onBlueSliderChanged);
    connect(m_redRow.spinBox, qOverload<int>(&QSpinBox::valueChanged), this, &RgbSlidersWidget::onRedSpinBoxChanged);
    connect(m_greenRow.spinBox, qOverload<int>(&QSpinBox::valueChanged), this,
            &RgbSlidersWidget::onGreenSpinBoxChanged);
    connect(m_blueRow.spinBox, qOverload<int>(&QSpinBox::valueChanged), this, &RgbSlidersWidget::onBlueSpinBoxChanged);
}

void RgbSlidersWidget::setColor(const ZelColor& color) {
    m_red = to8(color.redF());
    m_green = to8(color.greenF());
    m_blue = to8(color.blueF());
    showValue(m_redRow, m_red);
    showValue(m_greenRow, m_green);
    showValue(m_blueRow, m_blue);
}

void RgbSlidersWidget::changed(const Row& row, int* member, int value) {
    *member = value;
    showValue(row, value);
    emit colorChanged(ZelColor::fromRgb8(m_red, m_green, m_blue, 255, 0));
}

void RgbSlidersWidget::onRedSliderChanged(int value) {
    changed(m_redRow, &m_red, value);
}

void RgbSlidersWidget::onGreenSliderChanged(int value) {
    changed(m_greenRow, &m_green, value);
}

void RgbSlidersWidget::onBlueSliderChanged(int value) {
    changed(m_blueRow, &m_blue, value);
}

void RgbSlidersWidget::onRedSpinBoxChanged(int value) {
    changed(m_redRow, &m_red, value);
}

void RgbSlidersWidget::onGreenSpinBoxChanged(int value) {
    changed(m_greenRow, &m_green, value);
}

void RgbSlidersWidget::onBlueSpinBoxChanged(int value) {
    changed(m_blueRow, &m_blue, value);
}

} // namespace ZelColorPickerLib

#include "ColorTempSliderWidget.h"

#include "CCTPickerWidget.h"
#include "CCTUtils.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

namespace ZelColorPickerLib {

ColorTempSliderWidget::ColorTempSliderWidget(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("cctSliderWidget"));
    m_step = qMax(1, CCTUtils::getCCTStepSize());
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_cctLabel = new QLabel(tr("CCT"), this);
    m_cctLabel->setObjectName(QStringLiteral("cctLabel"));
    m_cctPickerWidget = new CCTPickerWidget(this);
    m_cctPickerWidget->setRange(MinimumColorTemp, MaximumColorTemp);
    m_cctPickerWidget->setStep(m_step);
    m_cctPickerWidget->setToolTip(tr("Color Temperature"));
    m_cctPickerWidget->setAccessibleName(tr("Color Temperature"));
    m_colorTempSpinBox = new QSpinBox(this);
    m_colorTempSpinBox->setObjectName(QStringLiteral("colorTempSpinBox"));
    m_colorTempSpinBox->setRange(MinimumColorTemp, MaximumColorTemp);
    m_colorTempSpinBox->setSingleStep(m_step);
    m_colorTempSpinBox->setSuffix(QStringLiteral(" K"));
    m_colorTempSpinBox->setAlignment(Qt::AlignRight);
    // Typed values are rounded to the step, which must not happen digit by digit.
    m_colorTempSpinBox->setKeyboardTracking(false);
    m_cctLabel->setBuddy(m_colorTempSpinBox);
    m_colorTempSpinBox->setAccessibleName(tr("Color Temperature"));
    layout->addWidget(m_cctLabel);
    layout->addWidget(m_cctPickerWidget, 1);
    layout->addWidget(m_colorTempSpinBox);
    showColorTemp(m_colorTemp);

    connect(m_cctPickerWidget, &CCTPickerWidget::cctChanged, this,
            &ColorTempSliderWidget::onCCTPickerWidgetTintChanged);
    QMetaObject::connectSlotsByName(this);
}

void ColorTempSliderWidget::setColorTemp(int cct) {
    showColorTemp(qBound(MinimumColorTemp, cct, MaximumColorTemp));
}

void ColorTempSliderWidget::setIntensity(double intensity) {
    m_cctPickerWidget->setIntensity(intensity);
}

void ColorTempSliderWidget::showColorTemp(int cct) {
    m_colorTemp = cct;
    const QSignalBlocker spinBlocker(m_colorTempSpinBox);
    const QSignalBlocker barBlocker(m_cctPickerWidget);
    m_colorTempSpinBox->setValue(cct);
    m_cctPickerWidget->setValue(cct);
}

void ColorTempSliderWidget::onCCTPickerWidgetTintChanged(int cct) {
    m_colorTemp = cct;
    const QSignalBlocker spinBlocker(m_colorTempSpinBox);
    m_colorTempSpinBox->setValue(cct);
    emit colorTempChanged(cct);
}

void ColorTempSliderWidget::on_colorTempSpinBox_valueChanged(int value) {
    const int cct = qBound(MinimumColorTemp, value / m_step * m_step, MaximumColorTemp);
    showColorTemp(cct);
    emit colorTempChanged(cct);
}

} // namespace ZelColorPickerLib

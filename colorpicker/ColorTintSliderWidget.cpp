#include "ColorTintSliderWidget.h"

#include "CCTUtils.h"
#include "TintPickerWidget.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace ZelColorPickerLib {

ColorTintSliderWidget::ColorTintSliderWidget(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("tintSliderWidget"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tintLabel = new QLabel(tr("Tint"), this);
    m_tintLabel->setObjectName(QStringLiteral("tintLabel"));
    m_tintLabel->setAlignment(Qt::AlignHCenter);
    m_tintPickerWidget = new TintPickerWidget(this);
    m_tintPickerWidget->setRange(CCTUtils::getMinTint(), CCTUtils::getMaxTint());
    m_tintPickerWidget->setToolTip(tr("Tint"));
    m_tintPickerWidget->setAccessibleName(tr("Tint"));
    m_colorTintSpinBox = new QSpinBox(this);
    m_colorTintSpinBox->setObjectName(QStringLiteral("colorTintSpinBox"));
    m_colorTintSpinBox->setRange(CCTUtils::getMinTint(), CCTUtils::getMaxTint());
    m_colorTintSpinBox->setSingleStep(1);
    m_colorTintSpinBox->setAlignment(Qt::AlignRight);
    m_colorTintSpinBox->setKeyboardTracking(false);
    m_tintLabel->setBuddy(m_colorTintSpinBox);
    layout->addWidget(m_tintLabel);
    layout->addWidget(m_tintPickerWidget, 1, Qt::AlignHCenter);
    layout->addWidget(m_colorTintSpinBox);
    showColorTint(m_colorTint);

    connect(m_tintPickerWidget, &TintPickerWidget::tintChanged, this,
            &ColorTintSliderWidget::onTintPickerWidgetTintChanged);
    QMetaObject::connectSlotsByName(this);
}

void ColorTintSliderWidget::setColorTint(int tint) {
    showColorTint(qBound(CCTUtils::getMinTint(), tint, CCTUtils::getMaxTint()));
}

void ColorTintSliderWidget::setColorTemp(int cct) {
    m_tintPickerWidget->setColorTemp(cct);
}

void ColorTintSliderWidget::setIntensity(double intensity) {
    m_tintPickerWidget->setIntensity(intensity);
}

void ColorTintSliderWidget::showColorTint(int tint) {
    m_colorTint = tint;
    const QSignalBlocker spinBlocker(m_colorTintSpinBox);
    const QSignalBlocker barBlocker(m_tintPickerWidget);
    m_colorTintSpinBox->setValue(tint);
    m_tintPickerWidget->setValue(tint);
}

void ColorTintSliderWidget::onTintPickerWidgetTintChanged(int tint) {
    m_colorTint = tint;
    const QSignalBlocker spinBlocker(m_colorTintSpinBox);
    m_colorTintSpinBox->setValue(tint);
    emit colorTintChanged(tint);
}

void ColorTintSliderWidget::on_colorTintSpinBox_valueChanged(int value) {
    showColorTint(value);
    emit colorTintChanged(value);
}

} // namespace ZelColorPickerLib

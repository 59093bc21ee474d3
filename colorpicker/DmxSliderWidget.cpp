#include "DmxSliderWidget.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace ZelColorPickerLib {

DmxSliderWidget::DmxSliderWidget(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("DmxSliderWidget"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("dmxSliderLabel"));
    m_label->setAlignment(Qt::AlignHCenter);
    m_slider = new QSlider(Qt::Vertical, this);
    m_slider->setObjectName(QStringLiteral("dmxSlider"));
    m_slider->setRange(0, 255);
    m_spinBox = new QSpinBox(this);
    m_spinBox->setObjectName(QStringLiteral("dmxSpinBox"));
    // Only finished numbers go out, as in the colour sliders.
    m_spinBox->setKeyboardTracking(false);
    m_spinBox->setRange(0, 255);
    m_spinBox->setAlignment(Qt::AlignRight);
    m_label->setBuddy(m_spinBox);
    layout->addWidget(m_label);
    layout->addWidget(m_slider, 1, Qt::AlignHCenter);
    layout->addWidget(m_spinBox);
    connect(m_slider, &QSlider::valueChanged, this, &DmxSliderWidget::onSliderChanged);
    connect(m_spinBox, qOverload<int>(&QSpinBox::valueChanged), this, &DmxSliderWidget::onSpinBoxChanged);
}

void DmxSliderWidget::setLabel(const QString& text) {
    m_label->setText(text);
    // The channel's name, for screen readers.
    m_slider->setAccessibleName(text);
    m_spinBox->setAccessibleName(text);
}

QString DmxSliderWidget::label() const {
    return m_label->text();
}

void DmxSliderWidget::setValue(int value, bool emitSignal) {
    m_value = qBound(0, value, 255);
    showValue(m_value);
    if (emitSignal)
        emit valueChanged(m_value);
}

void DmxSliderWidget::showValue(int value) {
    const QSignalBlocker sliderBlocker(m_slider);
    const QSignalBlocker spinBlocker(m_spinBox);
    m_slider->setValue(value);
    m_spinBox->setValue(value);
}

void DmxSliderWidget::onSliderChanged(int value) {
    setValue(value);
}

void DmxSliderWidget::onSpinBoxChanged(int value) {
    setValue(value);
}

} // namespace ZelColorPickerLib

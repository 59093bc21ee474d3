#include "DmxSlidersWidget.h"

#include "DmxSliderWidget.h"

#include <QHBoxLayout>
#include <QSpinBox>

namespace ZelColorPickerLib {

DmxSlidersWidget::DmxSlidersWidget(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("DmxSlidersWidget"));
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral("QWidget#DmxSlidersWidget {background-color: rgb(225, 225, 225);}"));
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(4, 4, 4, 4);
    m_layout->setSpacing(4);
}

void DmxSlidersWidget::buildSliders(const QStringList& channelNames) {
    for (DmxSliderWidget* slider : qAsConst(m_sliders))
        delete slider;
    m_sliders.clear();
    QWidget* previous = nullptr;
    for (const QString& name : channelNames) {
        auto* slider = new DmxSliderWidget(this);
        slider->setLabel(name);
        slider->setFocusProxy(slider->spinBox());
        connect(slider, &DmxSliderWidget::valueChanged, this, &DmxSlidersWidget::onSliderChanged);
        if (previous)
            setTabOrder(previous, slider->spinBox());
        previous = slider->spinBox();
        m_layout->addWidget(slider);
        m_sliders.append(slider);
    }
}

void DmxSlidersWidget::setValues(const QVector<int>& values) {
    for (int i = 0; i < m_sliders.size(); ++i)
        m_sliders[i]->setValue(i < values.size() ? values[i] : 0, false);
}

QVector<int> DmxSlidersWidget::values() const {
    QVector<int> result;
    result.reserve(m_sliders.size());
    for (const DmxSliderWidget* slider : m_sliders)
        result.append(slider->value());
    return result;
}

void DmxSlidersWidget::onSliderChanged() {
    emit dmxChanged(values());
}

} // namespace ZelColorPickerLib

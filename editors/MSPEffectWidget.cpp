#include "MSPEffectWidget.h"

#include <QAbstractSlider>

MSPEffectWidget::MSPEffectWidget(QWidget* parent, qint32 kind)
    : QWidget(parent)
    , m_kind(kind) {}

void MSPEffectWidget::reportDrags(QAbstractSlider* slider) {
    connect(slider, &QAbstractSlider::valueChanged, this, [this, slider] {
        if (slider->isSliderDown())
            emit intermediateChange();
    });
    connect(slider, &QAbstractSlider::sliderReleased, this, &MSPEffectWidget::intermediateChangeFinished);
}

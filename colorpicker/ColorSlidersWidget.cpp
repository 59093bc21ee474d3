#include "ColorSlidersWidget.h"

#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <cmath>

namespace ZelColorPickerLib {

ColorSlidersWidget::ColorSlidersWidget(QWidget* parent)
    : QWidget(parent) {}

ColorSlidersWidget::Row ColorSlidersWidget::addRow(QWidget* owner, QGridLayout* grid, int row, const QString& text,
                                                   const QString& spokenName, const QString& name, int maximum,
                                                   bool percent) {
    Row r;
    r.label = new QLabel(text, owner);
    r.label->setObjectName(name + QStringLiteral("Label"));
    r.label->setMinimumWidth(16);
    r.slider = new QSlider(Qt::Horizontal, owner);
    r.slider->setObjectName(name + QStringLiteral("Slider"));
    r.slider->setRange(0, maximum);
    r.slider->setTickPosition(QSlider::NoTicks);
    r.spinBox = new QSpinBox(owner);
    r.spinBox->setObjectName(name + QStringLiteral("SpinBox"));
    r.spinBox->setRange(0, maximum);
    r.spinBox->setAlignment(Qt::AlignRight);
    // Wide enough for "255" in a large font too.
    r.spinBox->setFixedWidth(qMax(56, r.spinBox->sizeHint().width()));
    // A typed number goes out once it is finished (Enter, leaving the box); on the way to "128" the
    // light would flash at 1 and 12.
    r.spinBox->setKeyboardTracking(false);
    r.label->setBuddy(r.spinBox);
    r.slider->setAccessibleName(spokenName);
    r.spinBox->setAccessibleName(spokenName);
    grid->addWidget(r.label, row, 0);
    grid->addWidget(r.slider, row, 1);
    grid->addWidget(r.spinBox, row, 2);
    if (percent) {
        r.percentLabel = new QLabel(QStringLiteral("100.0%"), owner);
        r.percentLabel->setObjectName(name + QStringLiteral("PercentLabel"));
        r.percentLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        r.percentLabel->setMinimumWidth(r.percentLabel->fontMetrics().horizontalAdvance(QStringLiteral("100.0%")) + 2);
        grid->addWidget(r.percentLabel, row, 3);
    }
    grid->setColumnStretch(1, 1);
    return r;
}

QString ColorSlidersWidget::percentText(int value) {
    return QStringLiteral("%1%").arg(value / 255.0 * 100.0, 0, 'f', 1);
}

int ColorSlidersWidget::to8(double fraction) {
    return static_cast<int>(std::lround(fraction * 255.0));
}

void ColorSlidersWidget::showValue(const Row& row, int value) {
    const QSignalBlocker spinBlocker(row.spinBox);
    const QSignalBlocker sliderBlocker(row.slider);
    row.spinBox->setValue(value);
    row.slider->setValue(value);
    if (row.percentLabel)
        row.percentLabel->setText(percentText(value));
}

} // namespace ZelColorPickerLib

#pragma once

#include "ZelColor.h"

#include <QWidget>

class QGridLayout;
class QLabel;
class QSlider;
class QSpinBox;

namespace ZelColorPickerLib {

/**
 * Base of the slider groups: each value is a slider paired with a spin box (and, for 0..255
 * values, a percentage label). Setting a colour never emits colorChanged.
 */
class ColorSlidersWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ColorSlidersWidget)

public:
    explicit ColorSlidersWidget(QWidget* parent = nullptr);

    virtual void setColor(const ZelColor& color) = 0;

    struct Row {
        QLabel* label = nullptr;
        QSlider* slider = nullptr;
        QSpinBox* spinBox = nullptr;
        QLabel* percentLabel = nullptr;
    };

    /**
     * Adds one row to @p grid: label @p text, slider and spin box "<name>Slider" and
     * "<name>SpinBox" over 0..@p maximum and, with @p percent, "<name>PercentLabel". Screen
     * readers call the slider and the spin box @p spokenName ("Red" where the label says "R:").
     */
    static Row addRow(QWidget* owner, QGridLayout* grid, int row, const QString& text, const QString& spokenName,
                      const QString& name, int maximum, bool percent);
    /** value / 255 as a percentage with one decimal: 255 reads "100.0%". */
    static QString percentText(int value);
    /** A 0..1 fraction as 0..255, halves away from zero. */
    static int to8(double fraction);
    /** Applies @p value to the row's controls with their signals blocked. */
    static void showValue(const Row& row, int value);

signals:
    void colorChanged(ZelColor color);
};

} // namespace ZelColorPickerLib

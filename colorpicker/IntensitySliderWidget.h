#pragma once

#include "ColorSlidersWidget.h"

#include <QWidget>

namespace ZelColorPickerLib {

/** The intensity of the picked colour, 0..255. Setting it from code never emits intensityChanged. */
class IntensitySliderWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(IntensitySliderWidget)

public:
    explicit IntensitySliderWidget(QWidget* parent = nullptr);

    void setIntensity(int intensity);
    int intensity() const { return m_intensity; }

signals:
    void intensityChanged(int intensity);

public slots:
    void onIntensitySliderChanged(int value);
    void onIntensitySpinBoxChanged(int value);

private:
    void changed(int value);

    int m_intensity = 255;
    ColorSlidersWidget::Row m_row;
};

} // namespace ZelColorPickerLib

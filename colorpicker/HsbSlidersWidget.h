#pragma once

#include "ColorSlidersWidget.h"

namespace ZelColorPickerLib {

/** Hue 0..359, saturation and brightness 0..255. */
class HsbSlidersWidget : public ColorSlidersWidget {
    Q_OBJECT
    Q_DISABLE_COPY(HsbSlidersWidget)

public:
    explicit HsbSlidersWidget(QWidget* parent = nullptr);

    void setColor(const ZelColor& color) override;
    int hue() const { return m_hue; }
    int saturation() const { return m_saturation; }
    int brightness() const { return m_brightness; }

public slots:
    void onHueSliderChanged(int value);
    void onSaturationSliderChanged(int value);
    void onBrightnessSliderChanged(int value);
    void onHueSpinBoxChanged(int value);
    void onSaturationSpinBoxChanged(int value);
    void onBrightnessSpinBoxChanged(int value);

private:
    void changed(const Row& row, int* member, int value);

    int m_hue = 0;
    int m_saturation = 0;
    int m_brightness = 255;
    Row m_hueRow;
    Row m_saturationRow;
    Row m_brightnessRow;
};

} // namespace ZelColorPickerLib

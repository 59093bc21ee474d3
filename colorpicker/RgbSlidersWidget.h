#pragma once

#include "ColorSlidersWidget.h"

namespace ZelColorPickerLib {

/** Red, green and blue, 0..255 each. */
class RgbSlidersWidget : public ColorSlidersWidget {
    Q_OBJECT
    Q_DISABLE_COPY(RgbSlidersWidget)

public:
    explicit RgbSlidersWidget(QWidget* parent = nullptr);

    void setColor(const ZelColor& color) override;
    int red() const { return m_red; }
    int green() const { return m_green; }
    int blue() const { return m_blue; }

public slots:
    void onRedSliderChanged(int value);
    void onGreenSliderChanged(int value);
    void onBlueSliderChanged(int value);
    void onRedSpinBoxChanged(int value);
    void onGreenSpinBoxChanged(int value);
    void onBlueSpinBoxChanged(int value);

private:
    void changed(const Row& row, int* member, int value);

    int m_red = 255;
    int m_green = 255;
    int m_blue = 255;
    Row m_redRow;
    Row m_greenRow;
    Row m_blueRow;
};

} // namespace ZelColorPickerLib

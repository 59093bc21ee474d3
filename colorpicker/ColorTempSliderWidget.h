#pragma once

#include <QWidget>

class QLabel;
class QSpinBox;

namespace ZelColorPickerLib {

class CCTPickerWidget;

/** Colour temperature of a white, 2000..10000 K in steps of CCTUtils::getCCTStepSize(). */
class ColorTempSliderWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ColorTempSliderWidget)

public:
    explicit ColorTempSliderWidget(QWidget* parent = nullptr);

    /** Shows @p cct on the spin box and the bar without emitting colorTempChanged. */
    void setColorTemp(int cct);
    int colorTemp() const { return m_colorTemp; }
    void setIntensity(double intensity);
    int step() const { return m_step; }

    static constexpr int MinimumColorTemp = 2000;
    static constexpr int MaximumColorTemp = 10000;
    static constexpr int DefaultColorTemp = 4000;

signals:
    void colorTempChanged(int colorTemp);

public slots:
    void onCCTPickerWidgetTintChanged(int cct);
    void on_colorTempSpinBox_valueChanged(int value);

private:
    void showColorTemp(int cct);

    int m_colorTemp = DefaultColorTemp;
    int m_step = 10;
    QLabel* m_cctLabel = nullptr;
    CCTPickerWidget* m_cctPickerWidget = nullptr;
    QSpinBox* m_colorTempSpinBox = nullptr;
};

} // namespace ZelColorPickerLib

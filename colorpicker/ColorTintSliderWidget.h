#pragma once

#include <QWidget>

class QLabel;
class QSpinBox;

namespace ZelColorPickerLib {

class TintPickerWidget;

/** Tint of a white, CCTUtils::getMinTint() to getMaxTint(): a vertical bar over a spin box. */
class ColorTintSliderWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ColorTintSliderWidget)

public:
    explicit ColorTintSliderWidget(QWidget* parent = nullptr);

    /** Shows @p tint without emitting colorTintChanged. */
    void setColorTint(int tint);
    int colorTint() const { return m_colorTint; }
    /** The temperature whose tints the bar shows. */
    void setColorTemp(int cct);
    void setIntensity(double intensity);

signals:
    void colorTintChanged(int tint);

public slots:
    void onTintPickerWidgetTintChanged(int tint);
    void on_colorTintSpinBox_valueChanged(int value);

private:
    void showColorTint(int tint);

    int m_colorTint = 0;
    QLabel* m_tintLabel = nullptr;
    TintPickerWidget* m_tintPickerWidget = nullptr;
    QSpinBox* m_colorTintSpinBox = nullptr;
};

} // namespace ZelColorPickerLib

#pragma once

#include "ColorSlidersWidget.h"

#include <QWidget>

namespace ZelColorPickerLib {

/** The opacity of the picked colour, 0..255. Setting it from code never emits opacityChanged. */
class OpacitySliderWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(OpacitySliderWidget)

public:
    explicit OpacitySliderWidget(QWidget* parent = nullptr);

    void setOpacity(int opacity);
    int opacity() const { return m_opacity; }

signals:
    void opacityChanged(int opacity);

public slots:
    void onOpacitySliderChanged(int value);
    void onOpacitySpinBoxChanged(int value);

private:
    void changed(int value);

    int m_opacity = 255;
    ColorSlidersWidget::Row m_row;
};

} // namespace ZelColorPickerLib

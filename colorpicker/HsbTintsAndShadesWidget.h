#pragma once

#include "GradientColorSelectorWidget.h"

#include <QImage>

namespace ZelColorPickerLib {

/** Brightness across, saturation down, at the current hue. */
class HsbTintsAndShadesWidget : public GradientColorSelectorWidget {
    Q_OBJECT
    Q_DISABLE_COPY(HsbTintsAndShadesWidget)

public:
    explicit HsbTintsAndShadesWidget(QWidget* parent = nullptr);

    /** Takes saturation and brightness; the hue only when it changed (an achromatic colour gives 0). */
    void setColor(const ZelColor& color) override;
    void stepLeft() override;
    void stepRight() override;
    void pickAt(int x, int y) override;

    QSize sizeHint() const override { return QSize(150, 150); }
    QSize minimumSizeHint() const override { return QSize(60, 60); }

    static constexpr double MaximumBrightness = 0.9999;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Rebuilt only when the size or the hue changes, not while saturation and brightness move.
    QImage m_plane;
    double m_planeHue = -1.0;
};

} // namespace ZelColorPickerLib

#pragma once

#include "GradientColorSelectorWidget.h"

#include <QImage>

namespace ZelColorPickerLib {

/** Hue across, saturation down, at the current brightness; shows the zoom grid's area. */
class HsbSpectrumWidget : public GradientColorSelectorWidget {
    Q_OBJECT
    Q_DISABLE_COPY(HsbSpectrumWidget)

public:
    explicit HsbSpectrumWidget(QWidget* parent = nullptr);

    void stepLeft() override;
    void stepRight() override;
    void pickAt(int x, int y) override;

    /** The zoom area in spectrum fractions (x hue, y 1 - saturation). */
    QRectF zoomArea() const { return m_zoomArea; }
    QSize sizeHint() const override { return QSize(240, 150); }
    QSize minimumSizeHint() const override { return QSize(80, 60); }

    static constexpr double MaximumHue = 0.9999;

public slots:
    void setZoomArea(QRectF rect);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The hue and saturation plane depends only on the size.
    QImage m_plane;
    QRectF m_zoomArea;
};

} // namespace ZelColorPickerLib

#pragma once

#include "ZelColor.h"

#include <QWidget>

class QFrame;
class QSplitter;

namespace ZelColorPickerLib {

class ColorTextField;
class HsbSlidersWidget;
class HsbSpectrumWidget;
class HsbSpectrumZoomWidget;
class HsbTintsAndShadesWidget;
class RgbSlidersWidget;
class ZoomControlWidget;

/**
 * The RGB page: a hue and saturation spectrum, a tints-and-shades square, a magnified grid of
 * neighbouring colours, the RGB and HSB sliders and the colour as text, all showing one colour.
 *
 * Colours leave the page in their 16-bit RGB form, so they can be dropped on the RGB swatches;
 * inside the page the selectors hand each other the form they picked, which keeps the hue of
 * greys and black steady.
 */
class RgbPickerWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(RgbPickerWidget)

public:
    explicit RgbPickerWidget(QWidget* parent = nullptr);

    /** Shows @p color (opaque, as 16-bit RGB) everywhere without emitting colorChanged. */
    void setColor(const ZelColor& color);
    ZelColor color() const { return m_color; }
    int zoomLevel() const;

signals:
    void colorChanged(ZelColor color, const QString& uid);

public slots:
    void onSpectrumColorChanged(ZelColor color);
    void onTintsAndShadesColorChanged(ZelColor color);
    void onSpectrumZoomColorChanged(ZelColor color);
    void onSpectrumZoomLevelChanged(int level);
    void onRgbSlidersChanged(ZelColor color);
    void onHsbSlidersChanged(ZelColor color);
    void zoomOut();
    void zoomIn();

protected:
    void hideEvent(QHideEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    enum Source { None, Spectrum, TintsAndShades, Zoom, RgbSliders, HsbSliders, TextField };
    void distribute(const ZelColor& color, Source source);
    void picked(const ZelColor& color, Source source);

    ZelColor m_color = ZelColor::fromRgb16(65535, 65535, 65535);
    int m_wheelRemainder = 0;
    QSplitter* m_topSplitter = nullptr;
    ZoomControlWidget* m_zoomControlWidget = nullptr;
    HsbSpectrumWidget* m_hsbSpectrumWidget = nullptr;
    HsbSpectrumZoomWidget* m_hsbSpectrumZoomWidget = nullptr;
    HsbTintsAndShadesWidget* m_hsbTintsAndShadesWidget = nullptr;
    QFrame* m_rgbControlsFrame = nullptr;
    RgbSlidersWidget* m_rgbSlidersWidget = nullptr;
    HsbSlidersWidget* m_hsbSlidersWidget = nullptr;
    ColorTextField* m_colorTextField = nullptr;
};

} // namespace ZelColorPickerLib

#pragma once

#include "ColorSelectorWidget.h"
#include "ZelColor.h"

namespace ZelColorPickerLib {

/**
 * A selector that picks hue, saturation and brightness on a drawn plane.
 *
 * The drawing rectangle spans width W and height H; a point maps by its offsets from the
 * rectangle's top-left corner, so both edges (offset 0 and offset W) can be picked.
 */
class GradientColorSelectorWidget : public ColorSelectorWidget {
    Q_OBJECT
    Q_DISABLE_COPY(GradientColorSelectorWidget)

public:
    explicit GradientColorSelectorWidget(QWidget* parent = nullptr);

    virtual void setColor(const ZelColor& color);
    virtual void stepUp();
    virtual void stepDown();
    virtual void stepLeft();
    virtual void stepRight();
    /** Picks the colour at widget coordinates (@p x, @p y). */
    virtual void pickAt(int x, int y) = 0;
    /** Where the plane is drawn; the widget keeps a margin for the focus frame. */
    virtual QRect drawingRect() const;

    double hue() const { return m_hue; }
    double saturation() const { return m_saturation; }
    double brightness() const { return m_brightness; }

    static constexpr int Margin = 4;
    static constexpr double KeyStep = 0.01;

signals:
    void colorChanged(ZelColor color);

protected:
    /** Clamps to 0..1, stores, repaints and emits colorChanged. */
    void chooseColor(double hue, double saturation, double brightness);
    /** Offsets of @p point from the drawing rectangle, each within 0..W and 0..H. */
    QPointF offsetsOf(const QPoint& point) const;
    bool insideDrawingRect(const QPoint& point) const;
    /** The marker position for fractions @p fx of W and @p fy of H. */
    QPoint pointFor(double fx, double fy) const;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    double m_hue = 0.0;
    double m_saturation = 0.0;
    double m_brightness = 1.0;
};

} // namespace ZelColorPickerLib

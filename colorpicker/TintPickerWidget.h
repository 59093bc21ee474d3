#pragma once

#include "ColorSelectorWidget.h"

#include <QImage>

namespace ZelColorPickerLib {

/** A vertical bar of whites of one temperature, the highest tint (greenest) at the top. */
class TintPickerWidget : public ColorSelectorWidget {
    Q_OBJECT
    Q_DISABLE_COPY(TintPickerWidget)

public:
    explicit TintPickerWidget(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    /** Shows @p tint (kept in the range) without emitting tintChanged. */
    void setValue(int tint);
    int value() const { return m_value; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int step() const { return m_step; }
    /** The temperature whose tints the bar shows. */
    void setColorTemp(int cct);
    void setIntensity(double intensity);
    /** The tint at widget y @p y. */
    int valueAt(int y) const;

    static constexpr int EndMargin = 11;
    QSize sizeHint() const override { return QSize(22, 160); }
    QSize minimumSizeHint() const override { return QSize(16, 2 * EndMargin + 20); }

signals:
    void tintChanged(int tint);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void choose(int tint);

    int m_value = 0;
    int m_minimum = -200;
    int m_maximum = 200;
    int m_step = 1;
    int m_cct = 4000;
    double m_intensity = 1.0;
    QImage m_bar;
};

} // namespace ZelColorPickerLib

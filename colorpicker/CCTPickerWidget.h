#pragma once

#include "ColorSelectorWidget.h"

#include <QImage>

namespace ZelColorPickerLib {

/** A horizontal bar of black-body whites, the highest temperature at the left. */
class CCTPickerWidget : public ColorSelectorWidget {
    Q_OBJECT
    Q_DISABLE_COPY(CCTPickerWidget)

public:
    explicit CCTPickerWidget(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    void setStep(int step) { m_step = qMax(1, step); }
    /** Shows @p cct (kept in the range) without emitting cctChanged. */
    void setValue(int cct);
    int value() const { return m_value; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int step() const { return m_step; }
    /** The intensity the whites are drawn at, 0..1. */
    void setIntensity(double intensity);
    /** The temperature at widget x @p x. */
    int valueAt(int x) const;

    static constexpr int EndMargin = 11;
    QSize sizeHint() const override { return QSize(200, 22); }
    QSize minimumSizeHint() const override { return QSize(2 * EndMargin + 20, 16); }

signals:
    void cctChanged(int cct);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void choose(int cct);

    int m_value = 4000;
    int m_minimum = 2000;
    int m_maximum = 10000;
    int m_step = 10;
    double m_intensity = 1.0;
    int m_wheelRemainder = 0;
    QImage m_bar;
};

} // namespace ZelColorPickerLib

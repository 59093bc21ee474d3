#include "GradientColorSelectorWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QtMath>

namespace ZelColorPickerLib {

namespace {

double clamp01(double value) {
    return qBound(0.0, value, 1.0);
}

int roundedOffset(double offset) {
    return offset < 1.0 ? 0 : qFloor(offset + 0.5);
}

} // namespace

GradientColorSelectorWidget::GradientColorSelectorWidget(QWidget* parent)
    : ColorSelectorWidget(parent) {}

void GradientColorSelectorWidget::setColor(const ZelColor& color) {
    m_hue = color.hueF();
    m_saturation = color.saturationF();
    m_brightness = color.valueF();
    update();
}

void GradientColorSelectorWidget::stepUp() {
    chooseColor(m_hue, m_saturation + KeyStep, m_brightness);
}

void GradientColorSelectorWidget::stepDown() {
    chooseColor(m_hue, m_saturation - KeyStep, m_brightness);
}

void GradientColorSelectorWidget::stepLeft() {}

void GradientColorSelectorWidget::stepRight() {}

QRect GradientColorSelectorWidget::drawingRect() const {
    return rect().adjusted(Margin, Margin, -Margin - 1, -Margin - 1);
}

void GradientColorSelectorWidget::chooseColor(double hue, double saturation, double brightness) {
    m_hue = clamp01(hue);
    m_saturation = clamp01(saturation);
    m_brightness = clamp01(brightness);
    update();
    emit colorChanged(ZelColor::fromHsvF(m_hue, m_saturation, m_brightness, 1.0, 0));
}

QPointF GradientColorSelectorWidget::offsetsOf(const QPoint& point) const {
    const QRect r = drawingRect();
    const double dx = qBound(0, point.x() - r.left(), r.width());
    const double dy = qBound(0, point.y() - r.top(), r.height());
    return QPointF(dx, dy);
}

bool GradientColorSelectorWidget::insideDrawingRect(const QPoint& point) const {
    const QRect r = drawingRect();
    return point.x() >= r.left() && point.x() <= r.left() + r.width() && point.y() >= r.top() &&
           point.y() <= r.top() + r.height();
}

QPoint GradientColorSelectorWidget::pointFor(double fx, double fy) const {
    const QRect r = drawingRect();
    return QPoint(r.left() + roundedOffset(r.width() * fx), r.top() + roundedOffset(r.height() * fy));
}

void GradientColorSelectorWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !insideDrawingRect(event->pos())) {
        event->ignore();
        return;
    }
    if (trackingAllowed()) {
        pickAt(event->pos().x(), event->pos().y());
        setMouseReleased(false);
    }
}

void GradientColorSelectorWidget::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) && (!isTrackingLimited() || mouseReleased()))
        pickAt(event->pos().x(), event->pos().y());
}

void GradientColorSelectorWidget::mouseReleaseEvent(QMouseEvent*) {
    // Also outside the plane: a drag that ends beside it must not leave a limited selector stuck.
    setMouseReleased(true);
}

void GradientColorSelectorWidget::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        stepUp();
        break;
    case Qt::Key_Down:
        stepDown();
        break;
    case Qt::Key_Left:
        stepLeft();
        break;
    case Qt::Key_Right:
        stepRight();
        break;
    default:
        ColorSelectorWidget::keyPressEvent(event);
    }
}

void GradientColorSelectorWidget::focusInEvent(QFocusEvent* event) {
    ColorSelectorWidget::focusInEvent(event);
    update();
}

void GradientColorSelectorWidget::focusOutEvent(QFocusEvent* event) {
    ColorSelectorWidget::focusOutEvent(event);
    update();
}

} // namespace ZelColorPickerLib

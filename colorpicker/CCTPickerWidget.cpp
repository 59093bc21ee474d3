#include "CCTPickerWidget.h"

#include "CCTUtils.h"
#include "ZelColor.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace ZelColorPickerLib {

CCTPickerWidget::CCTPickerWidget(QWidget* parent)
    : ColorSelectorWidget(parent) {
    setObjectName(QStringLiteral("cctPickerWidget"));
    m_step = CCTUtils::getCCTStepSize();
}

void CCTPickerWidget::setRange(int minimum, int maximum) {
    m_minimum = qMin(minimum, maximum);
    m_maximum = qMax(minimum, maximum);
    m_value = qBound(m_minimum, m_value, m_maximum);
    m_bar = QImage();
    update();
}

void CCTPickerWidget::setValue(int cct) {
    m_value = qBound(m_minimum, cct, m_maximum);
    update();
}

void CCTPickerWidget::setIntensity(double intensity) {
    m_intensity = qBound(0.0, intensity, 1.0);
    update();
}

int CCTPickerWidget::valueAt(int x) const {
    const double span = qMax(1, width() - 2 * EndMargin);
    const double t = qBound(0.0, (x - EndMargin) / span, 1.0);
    const int cct = m_maximum - static_cast<int>(std::trunc((m_maximum - m_minimum) * t));
    return qBound(m_minimum, cct, m_maximum);
}

void CCTPickerWidget::choose(int cct) {
    cct = qBound(m_minimum, cct, m_maximum);
    if (cct == m_value)
        return;
    m_value = cct;
    update();
    emit cctChanged(cct);
}

void CCTPickerWidget::paintEvent(QPaintEvent*) {
    const QRect bar = rect().adjusted(EndMargin, 3, -EndMargin, -7);
    if (m_bar.size() != bar.size()) {
        m_bar = QImage(bar.size(), QImage::Format_RGB32);
        QPainter painter(&m_bar);
        for (int x = 0; x < bar.width(); ++x) {
            const double t = bar.width() > 1 ? double(x) / (bar.width() - 1) : 0.0;
            const QPointF xy = CCTUtils::getxyFromCCT(m_maximum - (m_maximum - m_minimum) * t);
            ZelColor white;
            white.setYxyF(1.0, xy.x(), xy.y());
            painter.setPen(white.toQColor());
            painter.drawLine(x, 0, x, bar.height() - 1);
        }
    }
    QPainter painter(this);
    painter.drawImage(bar.topLeft(), m_bar);
    // Dimmed whites look dimmer, but never so dark that the bar disappears.
    painter.fillRect(bar, QColor(0, 0, 0, qRound((1.0 - m_intensity) * 160)));
    painter.setPen(QColor(110, 110, 110));
    painter.drawRect(bar.adjusted(0, 0, -1, -1));

    const double span = qMax(1, width() - 2 * EndMargin);
    const int x = EndMargin + qRound((m_maximum - m_value) / double(qMax(1, m_maximum - m_minimum)) * span);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(48, 48, 48), 1));
    painter.setBrush(hasFocus() ? palette().highlight() : QBrush(Qt::white));
    const QPointF triangle[] = {QPointF(x, height() - 8), QPointF(x - 5, height() - 1), QPointF(x + 5, height() - 1)};
    painter.drawPolygon(triangle, 3);
    painter.setPen(QPen(QColor(48, 48, 48), 1));
    painter.drawLine(QPointF(x, bar.top()), QPointF(x, bar.bottom()));
}

void CCTPickerWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (trackingAllowed()) {
        choose(valueAt(event->pos().x()));
        setMouseReleased(false);
    }
}

void CCTPickerWidget::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) && (!isTrackingLimited() || mouseReleased()))
        choose(valueAt(event->pos().x()));
}

void CCTPickerWidget::mouseReleaseEvent(QMouseEvent*) {
    setMouseReleased(true);
}

void CCTPickerWidget::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        choose(m_value + m_step);
        break;
    case Qt::Key_Up:
    case Qt::Key_Right:
        choose(m_value - m_step);
        break;
    default:
        ColorSelectorWidget::keyPressEvent(event);
    }
}

void CCTPickerWidget::wheelEvent(QWheelEvent* event) {
    // One step per 15 degrees; fine-grained wheels add up until they reach one.
    m_wheelRemainder += event->angleDelta().y();
    const int steps = m_wheelRemainder / 8 / 15;
    m_wheelRemainder -= steps * 8 * 15;
    if (steps != 0)
        choose(m_value + steps * m_step);
    event->accept();
}

} // namespace ZelColorPickerLib

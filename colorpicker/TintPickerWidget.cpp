#include "TintPickerWidget.h"

#include "CCTUtils.h"
#include "ZelColor.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace ZelColorPickerLib {

TintPickerWidget::TintPickerWidget(QWidget* parent)
    : ColorSelectorWidget(parent) {
    setObjectName(QStringLiteral("tintPickerWidget"));
    m_minimum = CCTUtils::getMinTint();
    m_maximum = CCTUtils::getMaxTint();
}

void TintPickerWidget::setRange(int minimum, int maximum) {
    m_minimum = qMin(minimum, maximum);
    m_maximum = qMax(minimum, maximum);
    m_value = qBound(m_minimum, m_value, m_maximum);
    m_bar = QImage();
    update();
}

void TintPickerWidget::setValue(int tint) {
    m_value = qBound(m_minimum, tint, m_maximum);
    update();
}

void TintPickerWidget::setColorTemp(int cct) {
    if (cct == m_cct)
        return;
    m_cct = cct;
    m_bar = QImage();
    update();
}

void TintPickerWidget::setIntensity(double intensity) {
    m_intensity = qBound(0.0, intensity, 1.0);
    update();
}

int TintPickerWidget::valueAt(int y) const {
    const double span = qMax(1, height() - 2 * EndMargin);
    const double t = qBound(0.0, (y - EndMargin) / span, 1.0);
    const int tint = m_maximum - static_cast<int>(std::trunc((m_maximum - m_minimum) * t));
    return qBound(m_minimum, tint, m_maximum);
}

void TintPickerWidget::choose(int tint) {
    tint = qBound(m_minimum, tint, m_maximum);
    if (tint == m_value)
        return;
    m_value = tint;
    update();
    emit tintChanged(tint);
}

void TintPickerWidget::paintEvent(QPaintEvent*) {
    const QRect bar = rect().adjusted(3, EndMargin, -7, -EndMargin);
    if (m_bar.size() != bar.size()) {
        m_bar = QImage(bar.size(), QImage::Format_RGB32);
        QPainter painter(&m_bar);
        for (int y = 0; y < bar.height(); ++y) {
            const double t = bar.height() > 1 ? double(y) / (bar.height() - 1) : 0.0;
            const QPointF xy = CCTUtils::getxyFromCCTAndTint(m_cct, m_maximum - (m_maximum - m_minimum) * t);
            ZelColor white;
            white.setYxyF(1.0, xy.x(), xy.y());
            painter.setPen(white.toQColor());
            painter.drawLine(0, y, bar.width() - 1, y);
        }
    }
    QPainter painter(this);
    painter.drawImage(bar.topLeft(), m_bar);
    painter.fillRect(bar, QColor(0, 0, 0, qRound((1.0 - m_intensity) * 160)));
    painter.setPen(QColor(110, 110, 110));
    painter.drawRect(bar.adjusted(0, 0, -1, -1));

    const double span = qMax(1, height() - 2 * EndMargin);
    const int y = EndMargin + qRound((m_maximum - m_value) / double(qMax(1, m_maximum - m_minimum)) * span);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(48, 48, 48), 1));
    painter.setBrush(hasFocus() ? palette().highlight() : QBrush(Qt::white));
    const QPointF triangle[] = {QPointF(width() - 8, y), QPointF(width() - 1, y - 5), QPointF(width() - 1, y + 5)};
    painter.drawPolygon(triangle, 3);
    painter.drawLine(QPointF(bar.left(), y), QPointF(bar.right(), y));
}

void TintPickerWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (trackingAllowed()) {
        choose(valueAt(event->pos().y()));
        setMouseReleased(false);
    }
}

void TintPickerWidget::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) && (!isTrackingLimited() || mouseReleased()))
        choose(valueAt(event->pos().y()));
}

void TintPickerWidget::mouseReleaseEvent(QMouseEvent*) {
    setMouseReleased(true);
}

void TintPickerWidget::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
        choose(m_value + m_step);
        break;
    case Qt::Key_Left:
    case Qt::Key_Down:
        choose(m_value - m_step);
        break;
    default:
        ColorSelectorWidget::keyPressEvent(event);
    }
}

} // namespace ZelColorPickerLib

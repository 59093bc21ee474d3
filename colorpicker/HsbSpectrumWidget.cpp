#include "HsbSpectrumWidget.h"

#include <QLinearGradient>
#include <QPainter>
#include <QtMath>

namespace ZelColorPickerLib {

HsbSpectrumWidget::HsbSpectrumWidget(QWidget* parent)
    : GradientColorSelectorWidget(parent) {
    setObjectName(QStringLiteral("hsbSpectrumWidget"));
    m_saturation = 1.0;
}

void HsbSpectrumWidget::stepLeft() {
    chooseColor(qMin(m_hue - KeyStep, MaximumHue), m_saturation, m_brightness);
}

void HsbSpectrumWidget::stepRight() {
    chooseColor(qMin(m_hue + KeyStep, MaximumHue), m_saturation, m_brightness);
}

void HsbSpectrumWidget::pickAt(int x, int y) {
    const QRect r = drawingRect();
    const QPointF d = offsetsOf(QPoint(x, y));
    const double hue = qBound(0.0, d.x() / r.width(), MaximumHue);
    const double saturation = 1.0 - d.y() / r.height();
    chooseColor(hue, saturation, m_brightness);
}

void HsbSpectrumWidget::setZoomArea(QRectF rect) {
    if (rect == m_zoomArea)
        return;
    m_zoomArea = rect;
    update();
}

void HsbSpectrumWidget::paintEvent(QPaintEvent*) {
    const QRect r = drawingRect();
    const QSize planeSize(r.width() + 1, r.height() + 1);
    if (m_plane.size() != planeSize) {
        m_plane = QImage(planeSize, QImage::Format_ARGB32_Premultiplied);
        QPainter plane(&m_plane);
        QLinearGradient hues(0, 0, planeSize.width(), 0);
        for (int i = 0; i <= 360; ++i)
            hues.setColorAt(i / 360.0, QColor::fromHsv(i % 360, 255, 255));
        plane.fillRect(m_plane.rect(), hues);
        QLinearGradient whites(0, 0, 0, planeSize.height());
        whites.setColorAt(0.0, QColor(255, 255, 255, 0));
        whites.setColorAt(1.0, QColor(255, 255, 255, 255));
        plane.fillRect(m_plane.rect(), whites);
    }

    QPainter painter(this);
    painter.setClipRect(rect());
    painter.fillRect(rect(), palette().window());
    const QRect planeRect(r.topLeft(), planeSize);
    painter.drawImage(planeRect.topLeft(), m_plane);
    painter.fillRect(planeRect, QColor(0, 0, 0, 255 - qRound(m_brightness * 255)));

    if (!m_zoomArea.isEmpty()) {
        const QRect area(
            QPoint(r.left() + qRound(m_zoomArea.left() * r.width()), r.top() + qRound(m_zoomArea.top() * r.height())),
            QPoint(r.left() + qRound(m_zoomArea.right() * r.width()),
                   r.top() + qRound(m_zoomArea.bottom() * r.height())));
        painter.setPen(QPen(QColor(Qt::lightGray), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        painter.setBrush(QColor(255, 255, 255, 40));
        painter.drawRect(area.intersected(planeRect.adjusted(0, 0, -1, -1)));
    }

    paintMarker(painter, pointFor(m_hue, 1.0 - m_saturation));
    if (hasFocus())
        paintFocusFrame(painter, planeRect.adjusted(0, 0, -1, -1));
}

} // namespace ZelColorPickerLib

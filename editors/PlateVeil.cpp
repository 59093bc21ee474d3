#include "PlateVeil.h"

#include <QPainter>
#include <QPainterPath>

// A pixel wider than the plate all round, so that its antialiased rim is veiled too.
const QRectF PlateVeil::Plate(29, 15, 342, 572);
const QColor PlateVeil::Color(228, 231, 235, 170);

PlateVeil::PlateVeil(QWidget* parent)
    : QLabel(parent) {}

void PlateVeil::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath plate;
    // The veil may sit anywhere on the panel; the plate stays where the panel has it.
    const QPointF panelOrigin = parentWidget() ? mapFromParent(QPoint(0, 0)) : QPointF();
    plate.addRoundedRect(Plate.translated(panelOrigin), 23, 23);
    painter.fillPath(plate, Color);
}

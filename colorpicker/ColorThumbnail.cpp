#include "ColorThumbnail.h"

#include <QPainter>

namespace ZelColorPickerLib {

QPixmap ColorThumbnail::create(const ZelColor& color) {
    return swatch(color, Size);
}

QPixmap ColorThumbnail::swatch(const ZelColor& color, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QRect inner(1, 1, size - 2, size - 2);

    // Chequered ground, drawn in code so no image file is needed.
    const int cell = qMax(2, size / 4);
    for (int y = inner.top(); y <= inner.bottom(); y += cell) {
        for (int x = inner.left(); x <= inner.right(); x += cell) {
            const bool dark = ((x - inner.left()) / cell + (y - inner.top()) / cell) % 2;
            painter.fillRect(QRect(x, y, cell, cell).intersected(inner), dark ? QColor(204, 204, 204) : Qt::white);
        }
    }

    QColor screen = color.isValid() ? color.toQColor() : QColor(Qt::magenta);
    if (color.spec() == ZelColor::Yxy && color.isValid()) {
        // A white's Y is its intensity; the thumbnail shows its tint, so draw it at full output.
        ZelColor full = color;
        full.setY(1.0);
        screen = full.toQColor();
    }
    painter.fillRect(inner, screen);

    if (color.spec() == ZelColor::NChannel) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(40, 40, 40));
        const qreal m = size * 0.4;
        painter.drawPolygon(QPolygonF({QPointF(size - 1, 1), QPointF(size - 1, 1 + m), QPointF(size - 1 - m, 1)}));
        painter.setRenderHint(QPainter::Antialiasing, false);
    }

    painter.setPen(QColor(96, 96, 96));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, size - 1, size - 1);
    return pixmap;
}

} // namespace ZelColorPickerLib

#include "ColorSelectorWidget.h"

#include "ScaledPixmap.h"

#include <QPainter>

namespace ZelColorPickerLib {

ColorSelectorWidget::ColorSelectorWidget(QWidget* parent)
    : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

QPixmap ColorSelectorWidget::transparentBackground() {
    static const QPixmap ground = [] {
        QPixmap image = ZelWidgetsLib::ScaledPixmap::load(QStringLiteral(":/images/TransparentBackground.png"));
        if (!image.isNull())
            return image;
        QPixmap fallback(8, 8);
        fallback.fill(Qt::white);
        QPainter painter(&fallback);
        painter.fillRect(0, 0, 4, 4, QColor(204, 204, 204));
        painter.fillRect(4, 4, 4, 4, QColor(204, 204, 204));
        return fallback;
    }();
    return ground;
}

void ColorSelectorWidget::paintMarker(QPainter& painter, const QPoint& center) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(48, 48, 48), 1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(center.x() - 3, center.y() - 3, 6, 6));
    painter.restore();
}

void ColorSelectorWidget::paintFocusFrame(QPainter& painter, const QRect& rect) {
    static const QColor colors[] = {Qt::white, Qt::white, Qt::darkGray, Qt::black};
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        painter.setPen(QPen(colors[i], 1));
        painter.drawRect(rect.adjusted(-1 - i, -1 - i, 1 + i, 1 + i));
    }
    painter.restore();
}

} // namespace ZelColorPickerLib

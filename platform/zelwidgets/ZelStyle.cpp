#include "ZelStyle.h"

#include <QPainter>
#include <QStyleOption>

namespace ZelWidgetsLib {

ZelStyle::ZelStyle() = default;

ZelStyle::ZelStyle(QStyle* base)
    : QProxyStyle(base) {}

int ZelStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    if (metric == PM_SplitterWidth)
        return 7;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

void ZelStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                           const QWidget* widget) const {
    if (element != CE_Splitter) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    painter->save();
    painter->fillRect(option->rect, option->palette.window());
    // Three dots across the middle of the handle.
    const bool horizontal = option->state & State_Horizontal;
    const QPoint centre = option->rect.center();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(option->palette.color(QPalette::Mid));
    for (int i = -1; i <= 1; ++i) {
        const QPoint dot = horizontal ? centre + QPoint(0, i * 5) : centre + QPoint(i * 5, 0);
        painter->drawEllipse(QRectF(dot.x() - 1.25, dot.y() - 1.25, 2.5, 2.5));
    }
    painter->restore();
}

} // namespace ZelWidgetsLib

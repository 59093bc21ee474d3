#include "ColorPickerIcons.h"

#include "ScaledPixmap.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace ZelColorPickerLib {

namespace {

const QColor Ink(70, 78, 92);
const QColor Accent(38, 132, 214);

void drawTray(QPainter& p, qreal s) {
    QPainterPath tray;
    tray.moveTo(s * 0.12, s * 0.55);
    tray.lineTo(s * 0.12, s * 0.86);
    tray.lineTo(s * 0.88, s * 0.86);
    tray.lineTo(s * 0.88, s * 0.55);
    p.setPen(QPen(Ink, s / 10.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tray);
}

void drawArrow(QPainter& p, qreal s, bool down) {
    p.setPen(QPen(Accent, s / 9.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal top = s * 0.1, bottom = s * 0.64, x = s * 0.5, wing = s * 0.2;
    p.drawLine(QPointF(x, top), QPointF(x, bottom));
    const qreal tip = down ? bottom : top;
    const qreal back = down ? tip - wing : tip + wing;
    p.drawLine(QPointF(x - wing, back), QPointF(x, tip));
    p.drawLine(QPointF(x + wing, back), QPointF(x, tip));
}

QPixmap drawn(const QString& name, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    if (name == QLatin1String("addColorGroup")) {
        // Three overlapping swatches and a plus.
        const QColor swatches[] = {QColor(232, 76, 61), QColor(241, 196, 15), QColor(46, 160, 90)};
        for (int i = 0; i < 3; ++i) {
            p.setPen(QPen(QColor(255, 255, 255), s / 16.0));
            p.setBrush(swatches[i]);
            p.drawRoundedRect(QRectF(s * (0.04 + i * 0.16), s * (0.08 + i * 0.1), s * 0.42, s * 0.42), s / 12, s / 12);
        }
        p.setPen(QPen(Accent, s / 7.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.74, s * 0.56), QPointF(s * 0.74, s * 0.94));
        p.drawLine(QPointF(s * 0.55, s * 0.75), QPointF(s * 0.93, s * 0.75));
    } else if (name == QLatin1String("importColors")) {
        drawTray(p, s);
        drawArrow(p, s, true);
    } else if (name == QLatin1String("exportIcon")) {
        drawTray(p, s);
        drawArrow(p, s, false);
    } else if (name == QLatin1String("userIcon")) {
        p.setPen(Qt::NoPen);
        p.setBrush(Ink);
        p.drawEllipse(QRectF(s * 0.32, s * 0.08, s * 0.36, s * 0.36));
        QPainterPath body;
        body.moveTo(s * 0.12, s * 0.94);
        body.cubicTo(s * 0.12, s * 0.5, s * 0.88, s * 0.5, s * 0.88, s * 0.94);
        body.closeSubpath();
        p.drawPath(body);
    } else {
        p.setPen(QPen(Ink, 1));
        p.drawRect(QRectF(1, 1, s - 2, s - 2));
    }
    return pixmap;
}

} // namespace

QPixmap ColorPickerIcons::pixmap(const QString& resource, int size) {
    if (QFile::exists(resource)) {
        const QPixmap image = ZelWidgetsLib::ScaledPixmap::load(resource);
        if (!image.isNull()) {
            const qreal ratio = image.devicePixelRatio();
            QPixmap sized = image.scaled(QSize(size, size) * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            sized.setDevicePixelRatio(ratio);
            return sized;
        }
    }
    return drawn(QFileInfo(resource).baseName(), size);
}

QIcon ColorPickerIcons::icon(const QString& resource) {
    if (QFile::exists(resource))
        return QIcon(resource);
    static QHash<QString, QIcon> cache;
    auto it = cache.find(resource);
    if (it == cache.end()) {
        QIcon icon;
        for (int size : {16, 24, 32})
            icon.addPixmap(drawn(QFileInfo(resource).baseName(), size));
        it = cache.insert(resource, icon);
    }
    return *it;
}

} // namespace ZelColorPickerLib

#include "IconArt.h"

#include "Painting.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSvgGenerator>
#include <QtMath>

using namespace Painting;

namespace IconArt {

namespace {

const QColor accent(41, 156, 255);

QPainterPath roundedPath(const QRectF& rect, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

// A glossy round badge, the base of the status and question icons.
void badge(QPainter& p, const QRectF& rect, const QColor& top, const QColor& bottom) {
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(bottom.darker(135), rect.width() > 24 ? 1.5 : 1));
    p.setBrush(fill);
    p.drawEllipse(rect.adjusted(0.5, 0.5, -0.5, -0.5));
    QLinearGradient gloss(rect.topLeft(), QPointF(rect.left(), rect.center().y()));
    gloss.setColorAt(0, QColor(255, 255, 255, 150));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    const qreal inset = rect.width() * 0.14;
    p.drawEllipse(
        QRectF(rect.left() + inset, rect.top() + rect.height() * 0.06, rect.width() - 2 * inset, rect.height() * 0.5));
}

void miniKeypad(QPainter& p, const QRectF& plate, int litKey, qreal opacity) {
    p.save();
    p.setOpacity(opacity);
    const qreal r = plate.width() * 0.09;
    QLinearGradient face(plate.topLeft(), plate.bottomLeft());
    face.setColorAt(0, QColor(0xf4, 0xf6, 0xf8));
    face.setColorAt(1, QColor(0xcf, 0xd4, 0xda));
    p.setPen(QPen(QColor(255, 255, 255, 180), qMax<qreal>(0.8, plate.width() / 120)));
    p.setBrush(face);
    p.drawRoundedRect(plate, r, r);

    const qreal margin = plate.width() * 0.11;
    const qreal gap = plate.width() * 0.05;
    const qreal keyW = (plate.width() - 2 * margin - gap) / 2;
    const qreal keyH = (plate.height() - 2 * margin - 5 * gap) / 6;
    const qreal kr = keyW * 0.12;
    for (int row = 0; row < 6; ++row) {
        for (int col = 0; col < 2; ++col) {
            if (row == 5 && col == 1)
                continue;
            QRectF key(plate.left() + margin + col * (keyW + gap), plate.top() + margin + row * (keyH + gap),
                       row == 5 ? 2 * keyW + gap : keyW, keyH);
            const int index = row * 2 + col;
            const bool lit = index == litKey;
            if (lit)
                glow(p, key.center(), key.width() * 0.75, withAlpha(accent, 170));
            QLinearGradient keyFace(key.topLeft(), key.bottomLeft());
            keyFace.setColorAt(0, lit ? QColor(0xe9, 0xf5, 0xff) : QColor(0xff, 0xff, 0xff));
            keyFace.setColorAt(1, lit ? QColor(0xbf, 0xe0, 0xff) : QColor(0xe2, 0xe6, 0xea));
            p.setPen(QPen(lit ? accent.darker(120) : QColor(90, 100, 112, 110), qMax<qreal>(0.6, keyW / 60)));
            p.setBrush(keyFace);
            p.drawRoundedRect(key, kr, kr);
        }
    }
    p.restore();
}

QImage badgeIcon(const QColor& top, const QColor& bottom, qreal scale) {
    QImage image = canvas(16, 16, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    badge(p, QRectF(0.5, 0.5, 15, 15), top, bottom);
    return image;
}

void triangleBadge(QPainter& p, const QRectF& rect, const QColor& top, const QColor& bottom) {
    QPainterPath triangle;
    triangle.moveTo(rect.center().x(), rect.top());
    triangle.lineTo(rect.right(), rect.bottom());
    triangle.lineTo(rect.left(), rect.bottom());
    triangle.closeSubpath();
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(bottom.darker(140), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(triangle);
}

void exclamation(QPainter& p, qreal x, qreal top, qreal bottom, const QColor& color, qreal width) {
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x, top), QPointF(x, bottom - width * 1.6));
    p.drawPoint(QPointF(x, bottom));
}

void tray(QPainter& p, const QColor& color) {
    p.setPen(QPen(color, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(2, 10);
    path.lineTo(2, 14);
    path.lineTo(14, 14);
    path.lineTo(14, 10);
    p.drawPath(path);
}

void arrow(QPainter& p, const QPointF& from, const QPointF& to, const QColor& color) {
    p.setPen(QPen(color, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QPointF d = (to - from) / qSqrt(QPointF::dotProduct(to - from, to - from));
    const QPointF n(-d.y(), d.x());
    QPainterPath head;
    head.moveTo(to - d * 3.5 + n * 3.2);
    head.lineTo(to);
    head.lineTo(to - d * 3.5 - n * 3.2);
    p.setBrush(Qt::NoBrush);
    p.drawPath(head);
}

} // namespace

QImage splash(qreal scale) {
    const int w = 400;
    const int h = 260;
    QImage image = canvas(w, h, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient night(0, 0, w, h);
    night.setColorAt(0, QColor(0x10, 0x1c, 0x2e));
    night.setColorAt(1, QColor(0x0a, 0x12, 0x1e));
    p.fillRect(logicalRect(image), night);

    // Pools of coloured light, as a lit room would throw them.
    glow(p, QPointF(330, 70), 170, QColor(255, 150, 60, 105));
    glow(p, QPointF(390, 210), 150, QColor(220, 60, 170, 95));
    glow(p, QPointF(250, 250), 140, QColor(40, 160, 255, 90));
    glow(p, QPointF(60, 20), 160, QColor(60, 120, 200, 50));

    // Fine light rays fanning out from behind the keypad.
    p.save();
    p.setClipRect(logicalRect(image));
    for (int i = 0; i < 18; ++i) {
        const qreal angle = qDegreesToRadians(150.0 + i * 6.0);
        const QPointF origin(318, 118);
        const QPointF end = origin + QPointF(qCos(angle), qSin(angle)) * 420;
        QLinearGradient ray(origin, end);
        ray.setColorAt(0, QColor(255, 255, 255, 22));
        ray.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(QPen(QBrush(ray), 1));
        p.drawLine(origin, end);
    }
    p.restore();

    const QRectF plate(280, 28, 76, 180);
    QPainterPath platePath = roundedPath(plate, 8);
    p.drawImage(0, 0, softShape(image, platePath, QColor(0, 0, 0, 170), 10, QPointF(0, 6)));
    miniKeypad(p, plate, 0, 1.0);

    p.setPen(Qt::white);
    p.setFont(font(40, QFont::Bold, 98));
    p.drawText(QPointF(24, 78), QStringLiteral("Lumetto"));
    p.setFont(font(17, QFont::Normal, 102));
    p.setPen(QColor(0xd8, 0xe4, 0xf2));
    p.drawText(QPointF(26, 106), QStringLiteral("Keypad Effect Manager"));

    QLinearGradient rule(26, 0, 236, 0);
    rule.setColorAt(0, accent);
    rule.setColorAt(0.6, QColor(255, 150, 60));
    rule.setColorAt(1, QColor(255, 150, 60, 0));
    p.fillRect(QRectF(26, 120, 210, 2.5), rule);

    p.setFont(font(10.5, QFont::Normal, 104));
    p.setPen(QColor(0xa9, 0xb8, 0xca));
    p.drawText(QPointF(26, 143), QStringLiteral("Scenes, effects and set-up for the"));
    p.drawText(QPointF(26, 158), QStringLiteral("Lumetto networked wall keypad"));

    spacedText(p, QPointF(w - 52, h - 14), QStringLiteral("ORVANE"), font(8.5, QFont::Bold), 3.5,
               QColor(255, 255, 255, 130));
    return image;
}

namespace {

// A picture gets blurred shadows; a vector drawing (no picture) cannot blur and gets layered ones.
void softShadow(QPainter& p, const QImage* picture, const QPainterPath& path, const QColor& color, int radius,
                const QPointF& offset) {
    if (picture)
        p.drawImage(0, 0, softShape(*picture, path, color, radius, offset));
    else
        layeredShadow(p, path, color, radius, offset);
}

void paintApplicationIcon(QPainter& p, int size, const QImage* picture) {
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QRectF tile(s * 0.06, s * 0.06, s * 0.88, s * 0.88);
    const QPainterPath tilePath = roundedPath(tile, s * 0.2);
    if (size >= 32)
        softShadow(p, picture, tilePath, QColor(0, 0, 0, 110), qMax(1, size / 32), QPointF(0, s * 0.015));
    QLinearGradient night(tile.topLeft(), tile.bottomRight());
    night.setColorAt(0, QColor(0x1d, 0x33, 0x52));
    night.setColorAt(1, QColor(0x0b, 0x14, 0x22));
    p.fillPath(tilePath, night);
    glow(p, tilePath, QPointF(tile.right(), tile.top()), s * 0.7, QColor(255, 150, 60, 110));
    glow(p, tilePath, QPointF(tile.left(), tile.bottom()), s * 0.7, QColor(40, 160, 255, 110));

    if (size <= 24) {
        // Too small for six rows: a plate with two lit-and-unlit key pairs reads better.
        const QRectF plate(s * 0.3, s * 0.17, s * 0.4, s * 0.66);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xe8, 0xec, 0xf0));
        p.drawRoundedRect(plate, s * 0.06, s * 0.06);
        const qreal kw = plate.width() * 0.34;
        const qreal kh = plate.height() * 0.22;
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 2; ++col) {
                const QRectF key(plate.left() + plate.width() * 0.11 + col * (kw + plate.width() * 0.1),
                                 plate.top() + plate.height() * 0.1 + row * (kh + plate.height() * 0.07), kw, kh);
                p.setBrush(row == 0 && col == 0 ? accent : QColor(0x9a, 0xa4, 0xb0));
                p.drawRect(key);
            }
        return;
    }
    const QRectF plate(s * 0.31, s * 0.14, s * 0.38, s * 0.72);
    softShadow(p, picture, roundedPath(plate, s * 0.04), QColor(0, 0, 0, 150), qMax(1, size / 24),
               QPointF(0, s * 0.02));
    miniKeypad(p, plate, 0, 1.0);
}

} // namespace

QImage applicationIcon(int size, qreal scale) {
    QImage image = canvas(size, size, scale);
    QPainter p(&image);
    paintApplicationIcon(p, size, &image);
    return image;
}

QByteArray applicationIconSvg() {
    // Drawn at the largest picture's size, where every detail of the icon is present.
    constexpr int size = 256;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(size, size));
    svg.setViewBox(QRect(0, 0, size, size));
    svg.setTitle(QStringLiteral("Lumetto Keypad Effect Manager"));
    svg.setDescription(QStringLiteral("Application icon"));
    QPainter p(&svg);
    paintApplicationIcon(p, size, nullptr);
    p.end();
    return buffer.data();
}

QImage statusIcon(Status status, qreal scale) {
    switch (status) {
    case Status::Connected: {
        QImage image = badgeIcon(QColor(0x4c, 0xd1, 0x6c), QColor(0x1f, 0x91, 0x3f), scale);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, 1.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(4.6, 8.4);
        tick.lineTo(7.0, 10.8);
        tick.lineTo(11.4, 5.4);
        p.drawPath(tick);
        return image;
    }
    case Status::Discovering: {
        QImage image = badgeIcon(QColor(0x5a, 0xb4, 0xff), QColor(0x1c, 0x6c, 0xd0), scale);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        // Waves spreading from a source, fading outwards, as a search in progress.
        const QPointF source(4.8, 11.2);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(source, 1.5, 1.5);
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 2; ++i) {
            const qreal r = 4.0 + i * 3.4;
            p.setPen(QPen(QColor(255, 255, 255, i == 0 ? 255 : 150), 1.5, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(source.x() - r, source.y() - r, 2 * r, 2 * r), 5 * 16, 80 * 16);
        }
        return image;
    }
    case Status::Disconnected: {
        QImage image = badgeIcon(QColor(0xc2, 0xc7, 0xcd), QColor(0x86, 0x8d, 0x96), scale);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4.8, 8), QPointF(11.2, 8));
        return image;
    }
    case Status::Unreachable: {
        QImage image = canvas(16, 16, scale);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        triangleBadge(p, QRectF(0.8, 1.2, 14.4, 13.8), QColor(0xff, 0x9a, 0x3c), QColor(0xd8, 0x3a, 0x25));
        exclamation(p, 8, 5.6, 12.4, Qt::white, 1.7);
        return image;
    }
    case Status::Demo: {
        QImage image = badgeIcon(QColor(0xb0, 0x86, 0xf0), QColor(0x6c, 0x3c, 0xc0), scale);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath play;
        play.moveTo(6.2, 4.6);
        play.lineTo(11.6, 8);
        play.lineTo(6.2, 11.4);
        play.closeSubpath();
        p.setPen(QPen(Qt::white, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::white);
        p.drawPath(play);
        return image;
    }
    }
    return QImage();
}

QImage question(qreal scale) {
    QImage image = canvas(48, 48, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QPainterPath circle;
    circle.addEllipse(QRectF(3, 2, 42, 42));
    p.drawImage(0, 0, softShape(image, circle, QColor(0, 0, 0, 90), 2, QPointF(0, 1.5)));
    badge(p, QRectF(3, 2, 42, 42), QColor(0x5a, 0xb4, 0xff), QColor(0x17, 0x62, 0xc4));
    p.setPen(Qt::white);
    p.setFont(font(30, QFont::Bold));
    p.drawText(QRectF(3, 2, 42, 42), Qt::AlignCenter, QStringLiteral("?"));
    return image;
}

QImage reloadArrow(qreal scale) {
    QImage image = canvas(10, 13, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x3a, 0x42, 0x4d);
    const QRectF circle(1.2, 3.4, 7.6, 7.6);
    p.setPen(QPen(ink, 1.5, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(circle, 70 * 16, 290 * 16);
    // Arrowhead at the top of the circle, pointing along the turn.
    QPainterPath head;
    head.moveTo(4.2, 0.6);
    head.lineTo(7.6, 3.2);
    head.lineTo(4.2, 5.8);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(head);
    return image;
}

QImage transparentBackground(qreal scale) {
    QImage image = canvas(8, 8, scale);
    QPainter p(&image);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            p.fillRect(QRect(x * 4, y * 4, 4, 4),
                       (x + y) % 2 == 0 ? QColor(0xff, 0xff, 0xff) : QColor(0xcc, 0xcc, 0xcc));
    return image;
}

QImage colorSelection(qreal scale) {
    // A ring in both black and white, visible on any colour it marks.
    QImage image = canvas(16, 16, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 200), 3));
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    p.setPen(QPen(Qt::white, 1.4));
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    return image;
}

QImage userIcon(qreal scale) {
    QImage image = canvas(16, 16, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 1, 0, 15);
    fill.setColorAt(0, QColor(0x6f, 0x9c, 0xd6));
    fill.setColorAt(1, QColor(0x33, 0x5f, 0x9c));
    p.setPen(QPen(QColor(0x2a, 0x4c, 0x7e), 0.8));
    p.setBrush(fill);
    p.drawEllipse(QRectF(5, 1.2, 6, 6));
    QPainterPath body;
    body.moveTo(2, 15);
    body.cubicTo(2, 9.5, 5, 8.2, 8, 8.2);
    body.cubicTo(11, 8.2, 14, 9.5, 14, 15);
    body.closeSubpath();
    p.drawPath(body);
    return image;
}

QImage warningIndication(qreal scale) {
    QImage image = canvas(16, 16, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    triangleBadge(p, QRectF(0.8, 1.2, 14.4, 13.8), QColor(0xff, 0xd5, 0x4a), QColor(0xf0, 0x9c, 0x10));
    exclamation(p, 8, 5.6, 12.4, QColor(0x3a, 0x2a, 0x00), 1.7);
    return image;
}

QImage plusSign(qreal scale) {
    QImage image = canvas(14, 14, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x3a, 0x42, 0x4d), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3, 7), QPointF(11, 7));
    p.drawLine(QPointF(7, 3), QPointF(7, 11));
    return image;
}

QImage minusSign(qreal scale) {
    QImage image = canvas(14, 14, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x3a, 0x42, 0x4d), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3, 7), QPointF(11, 7));
    return image;
}

QImage addColorGroup(qreal scale) {
    QImage image = canvas(16, 16, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Three swatches fanned out, with a plus badge.
    const QColor swatches[] = {QColor(0xf2, 0x5c, 0x54), QColor(0xf7, 0xb5, 0x38), QColor(0x3a, 0x9b, 0xf0)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(swatches[i].darker(140), 0.8));
        p.setBrush(swatches[i]);
        p.drawRoundedRect(QRectF(1 + i * 3, 1.5 + i * 1.5, 7, 7), 1.5, 1.5);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2a, 0xa8, 0x4a));
    p.drawEllipse(QRectF(8.5, 8.5, 7, 7));
    p.setPen(QPen(Qt::white, 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.3, 12), QPointF(13.7, 12));
    p.drawLine(QPointF(12, 10.3), QPointF(12, 13.7));
    return image;
}

QImage importColors(qreal scale) {
    QImage image = canvas(16, 16, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    tray(p, QColor(0x3a, 0x42, 0x4d));
    arrow(p, QPointF(8, 1.5), QPointF(8, 10.5), QColor(0x2a, 0x7f, 0xd8));
    return image;
}

QImage exportColors(qreal scale) {
    QImage image = canvas(16, 16, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    tray(p, QColor(0x3a, 0x42, 0x4d));
    arrow(p, QPointF(8, 11), QPointF(8, 1.8), QColor(0x2a, 0xa8, 0x4a));
    return image;
}

} // namespace IconArt

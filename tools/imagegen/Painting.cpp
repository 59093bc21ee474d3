#include "Painting.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QVector>

#include <cmath>

namespace Painting {

namespace {

// One horizontal then one vertical running-sum pass over the four channels.
void boxBlurPass(QImage& image, int radius) {
    const int w = image.width();
    const int h = image.height();
    const int span = 2 * radius + 1;
    QVector<int> line(qMax(w, h) * 4);

    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            line[x * 4 + 0] = qAlpha(row[x]);
            line[x * 4 + 1] = qRed(row[x]);
            line[x * 4 + 2] = qGreen(row[x]);
            line[x * 4 + 3] = qBlue(row[x]);
        }
        for (int c = 0; c < 4; ++c) {
            int sum = 0;
            for (int i = -radius; i <= radius; ++i)
                sum += line[qBound(0, i, w - 1) * 4 + c];
            for (int x = 0; x < w; ++x) {
                const int value = sum / span;
                QRgb& p = row[x];
                switch (c) {
                case 0:
                    p = qRgba(qRed(p), qGreen(p), qBlue(p), value);
                    break;
                case 1:
                    p = qRgba(value, qGreen(p), qBlue(p), qAlpha(p));
                    break;
                case 2:
                    p = qRgba(qRed(p), value, qBlue(p), qAlpha(p));
                    break;
                default:
                    p = qRgba(qRed(p), qGreen(p), value, qAlpha(p));
                    break;
                }
                sum += line[qBound(0, x + radius + 1, w - 1) * 4 + c] - line[qBound(0, x - radius, w - 1) * 4 + c];
            }
        }
    }

    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            const QRgb p = reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
            line[y * 4 + 0] = qAlpha(p);
            line[y * 4 + 1] = qRed(p);
            line[y * 4 + 2] = qGreen(p);
            line[y * 4 + 3] = qBlue(p);
        }
        int sums[4] = {0, 0, 0, 0};
        for (int c = 0; c < 4; ++c)
            for (int i = -radius; i <= radius; ++i)
                sums[c] += line[qBound(0, i, h - 1) * 4 + c];
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            row[x] = qRgba(sums[1] / span, sums[2] / span, sums[3] / span, sums[0] / span);
            for (int c = 0; c < 4; ++c)
                sums[c] += line[qBound(0, y + radius + 1, h - 1) * 4 + c] - line[qBound(0, y - radius, h - 1) * 4 + c];
        }
    }
}

} // namespace

QImage canvas(int width, int height, qreal scale) {
    QImage image(qRound(width * scale), qRound(height * scale), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    return image;
}

QSize logicalSize(const QImage& image) {
    const qreal scale = image.devicePixelRatio();
    return QSize(qRound(image.width() / scale), qRound(image.height() / scale));
}

QRect logicalRect(const QImage& image) {
    return QRect(QPoint(0, 0), logicalSize(image));
}

void blur(QImage& image, int radius) {
    if (radius <= 0)
        return;
    // Each pass widens the kernel; three passes of a third of the radius give a smooth falloff. The
    // radius is in points, so a canvas at twice the scale gets the same blur at twice the pixels.
    const int passRadius = qRound(qMax(1, radius / 2) * image.devicePixelRatio());
    for (int pass = 0; pass < 3; ++pass)
        boxBlurPass(image, passRadius);
}

QImage softShape(const QImage& like, const QPainterPath& path, const QColor& color, int radius, const QPointF& offset) {
    const QSize size = logicalSize(like);
    QImage image = canvas(size.width(), size.height(), like.devicePixelRatio());
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(offset);
        p.fillPath(path, color);
    }
    blur(image, radius);
    return image;
}

QImage innerShadow(const QImage& like, const QPainterPath& path, const QColor& color, int radius,
                   const QPointF& offset) {
    const QSize size = logicalSize(like);
    const qreal scale = like.devicePixelRatio();
    QImage image = canvas(size.width(), size.height(), scale);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath outside;
        outside.addRect(QRectF(-2 * radius, -2 * radius, size.width() + 4 * radius, size.height() + 4 * radius));
        outside = outside.subtracted(path.translated(offset));
        p.fillPath(outside, color);
    }
    blur(image, radius);
    // Keep only what falls inside the shape.
    QImage clipped = canvas(size.width(), size.height(), scale);
    QPainter p(&clipped);
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipPath(path);
    p.drawImage(0, 0, image);
    return clipped;
}

void brushedGrain(QPainter& painter, const QPainterPath& path, quint32 seed, int strength) {
    QRandomGenerator random(seed);
    const QRectF bounds = path.boundingRect();
    painter.save();
    painter.setClipPath(path, Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int y = int(bounds.top()); y < int(bounds.bottom()); ++y) {
        const int alpha = int(random.bounded(strength + 1));
        const bool light = random.bounded(2) == 0;
        painter.setPen(QColor(light ? 255 : 0, light ? 255 : 0, light ? 255 : 0, alpha));
        // Streaks of varying length make the grain read as brushing rather than as scan lines.
        qreal x = bounds.left();
        while (x < bounds.right()) {
            const qreal length = 20 + random.bounded(160);
            if (random.bounded(3) != 0)
                painter.drawLine(QPointF(x, y), QPointF(x + length, y));
            x += length + random.bounded(30);
        }
    }
    painter.restore();
}

QFont font(qreal pixelSize, QFont::Weight weight, qreal letterSpacingPercent) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(qMax(1, qRound(pixelSize)));
    f.setWeight(weight);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    if (letterSpacingPercent != 100)
        f.setLetterSpacing(QFont::PercentageSpacing, letterSpacingPercent);
    return f;
}

void spacedText(QPainter& painter, const QPointF& baselineCentre, const QString& text, const QFont& font,
                qreal extraSpacing, const QColor& color) {
    const QFontMetricsF metrics(font);
    qreal width = 0;
    for (const QChar c : text)
        width += metrics.horizontalAdvance(c) + extraSpacing;
    width -= extraSpacing;
    QPainterPath path;
    qreal x = baselineCentre.x() - width / 2;
    for (const QChar c : text) {
        path.addText(QPointF(x, baselineCentre.y()), font, QString(c));
        x += metrics.horizontalAdvance(c) + extraSpacing;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, color);
    painter.restore();
}

void glow(QPainter& painter, const QPointF& centre, qreal radius, const QColor& color) {
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    glow(painter, disc, centre, radius, color);
}

void glow(QPainter& painter, const QPainterPath& area, const QPointF& centre, qreal radius, const QColor& color) {
    QRadialGradient gradient(centre, radius);
    gradient.setColorAt(0, color);
    gradient.setColorAt(0.45, withAlpha(color, color.alpha() * 2 / 5));
    gradient.setColorAt(1, withAlpha(color, 0));
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawPath(area);
    painter.restore();
}

void layeredShadow(QPainter& painter, const QPainterPath& path, const QColor& color, qreal radius,
                   const QPointF& offset) {
    constexpr int steps = 10;
    // Layers cover each other: this alpha per layer gives the colour's own alpha where all meet.
    const qreal layerAlpha = 1 - std::pow(1 - color.alphaF(), 1.0 / steps);
    QColor layerColor = color;
    layerColor.setAlphaF(layerAlpha);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(offset);
    for (int step = 0; step < steps; ++step) {
        QPainterPathStroker stroker;
        // A blur spreads most of its shade within three quarters of its radius.
        stroker.setWidth(1.5 * radius * (steps - step) / steps);
        stroker.setJoinStyle(Qt::RoundJoin);
        painter.fillPath(stroker.createStroke(path).united(path).simplified(), layerColor);
    }
    painter.restore();
}

QColor withAlpha(QColor color, int alpha) {
    color.setAlpha(qBound(0, alpha, 255));
    return color;
}

} // namespace Painting

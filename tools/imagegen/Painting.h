#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

class QPainter;

// Small drawing helpers shared by the keypad art and the icons.
namespace Painting {

// A transparent premultiplied canvas of the given size in points, drawn at the scale (2 for screens at
// 200 %): a painter on it works in points, so one drawing serves every scale.
QImage canvas(int width, int height, qreal scale = 1);
// The canvas's size and rectangle in points.
QSize logicalSize(const QImage& image);
QRect logicalRect(const QImage& image);

// Three box-blur passes on every channel, which is close enough to a Gaussian for shadows; the radius is
// in points.
void blur(QImage& image, int radius);

// The path filled with the colour, blurred and moved: a soft shadow or glow to draw under a shape, on a
// canvas like the one it is drawn on. The radius is in points.
QImage softShape(const QImage& like, const QPainterPath& path, const QColor& color, int radius,
                 const QPointF& offset = QPointF());

// Darkness cast inwards from the edge of the path, as on a pressed key.
QImage innerShadow(const QImage& like, const QPainterPath& path, const QColor& color, int radius,
                   const QPointF& offset);

// Fine horizontal streaks inside the path, the grain of brushed metal; the same seed gives the same grain.
void brushedGrain(QPainter& painter, const QPainterPath& path, quint32 seed, int strength);

// The one typeface of the artwork, so the images look the same on every build machine.
QFont font(qreal pixelSize, QFont::Weight weight = QFont::Normal, qreal letterSpacingPercent = 100);

// Letter-spaced capitals placed glyph by glyph at fractional positions, so small captions keep even gaps.
void spacedText(QPainter& painter, const QPointF& baselineCentre, const QString& text, const QFont& font,
                qreal extraSpacing, const QColor& color);

// A radial light with the colour in the centre fading to nothing at the radius.
void glow(QPainter& painter, const QPointF& centre, qreal radius, const QColor& color);
// The same light, only where it falls on the area (a fill, not a clip: vector output keeps it).
void glow(QPainter& painter, const QPainterPath& area, const QPointF& centre, qreal radius, const QColor& color);

// A soft shadow for vector drawings, which cannot blur: the path grown in steps towards the radius,
// each step faint, so the shadow thins out towards its edge.
void layeredShadow(QPainter& painter, const QPainterPath& path, const QColor& color, qreal radius,
                   const QPointF& offset);

QColor withAlpha(QColor color, int alpha);

} // namespace Painting

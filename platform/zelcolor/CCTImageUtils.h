#pragma once

#include <QPointF>
#include <QRectF>

/**
 * Geometry of a chromaticity diagram drawn into an image.
 *
 * A diagram window is the chromaticity shown at the image's corners: window.topLeft() is the
 * (x, y) at the image's top-left corner and window.bottomRight() the one at its bottom-right,
 * mapped linearly in between. A diagram with y growing upwards therefore has a window of
 * negative height, e.g. QRectF(QPointF(0.235, 0.475), QPointF(0.540, 0.245)).
 */
class CCTImageUtils final {
public:
    /**
     * The chromaticity under @p point of an image occupying @p imageRect. Points outside the
     * image give chromaticities outside the window; an empty image gives the window's top-left.
     */
    static void getxyFromPoint(double* x, double* y, const QRectF& window, const QPointF& point,
                               const QRectF& imageRect);
    /** The image point showing chromaticity @p x, @p y (the inverse of getxyFromPoint). */
    static QPointF getPointFromxy(double x, double y, const QRectF& window, const QRectF& imageRect);

    /**
     * Whether the segments @p a1-@p a2 and @p b1-@p b2 meet (ends included). When they do and
     * @p intersection is given it receives the meeting point; for overlapping collinear segments
     * that is the overlap's point nearest to @p a1, where a move from a1 towards a2 first
     * touches the other segment.
     */
    static bool linesIntersect(const QPointF& a1, const QPointF& a2, const QPointF& b1, const QPointF& b2,
                               QPointF* intersection = nullptr);
};

#include "CCTImageUtils.h"

#include <algorithm>
#include <cmath>

namespace {

double cross(const QPointF& a, const QPointF& b) {
    return a.x() * b.y() - a.y() * b.x();
}

double dot(const QPointF& a, const QPointF& b) {
    return a.x() * b.x() + a.y() * b.y();
}

// Lengths in a diagram are around 1e-3; anything this small is rounding.
constexpr double kEpsilon = 1e-12;

} // namespace

void CCTImageUtils::getxyFromPoint(double* x, double* y, const QRectF& window, const QPointF& point,
                                   const QRectF& imageRect) {
    const double fx =
        std::fabs(imageRect.width()) > kEpsilon ? (point.x() - imageRect.left()) / imageRect.width() : 0.0;
    const double fy =
        std::fabs(imageRect.height()) > kEpsilon ? (point.y() - imageRect.top()) / imageRect.height() : 0.0;
    if (x)
        *x = window.left() + fx * window.width();
    if (y)
        *y = window.top() + fy * window.height();
}

QPointF CCTImageUtils::getPointFromxy(double x, double y, const QRectF& window, const QRectF& imageRect) {
    const double fx = std::fabs(window.width()) > kEpsilon ? (x - window.left()) / window.width() : 0.0;
    const double fy = std::fabs(window.height()) > kEpsilon ? (y - window.top()) / window.height() : 0.0;
    return {imageRect.left() + fx * imageRect.width(), imageRect.top() + fy * imageRect.height()};
}

bool CCTImageUtils::linesIntersect(const QPointF& a1, const QPointF& a2, const QPointF& b1, const QPointF& b2,
                                   QPointF* intersection) {
    const QPointF r = a2 - a1, s = b2 - b1, q = b1 - a1;
    const double denominator = cross(r, s);
    const double scale = std::max({dot(r, r), dot(s, s), dot(q, q), kEpsilon});
    if (std::fabs(denominator) > kEpsilon * scale) {
        const double t = cross(q, s) / denominator, u = cross(q, r) / denominator;
        const double slack = 1e-12;
        if (t < -slack || t > 1.0 + slack || u < -slack || u > 1.0 + slack)
            return false;
        if (intersection)
            *intersection = a1 + r * std::clamp(t, 0.0, 1.0);
        return true;
    }
    // Parallel: they meet only when collinear and overlapping.
    if (std::fabs(cross(q, r)) > kEpsilon * scale)
        return false;
    const double rr = dot(r, r);
    if (rr <= kEpsilon * kEpsilon) {
        // a is a single point: on b or not.
        const double ss = dot(s, s);
        const double u = ss > 0.0 ? dot(a1 - b1, s) / ss : 0.0;
        if (u < 0.0 || u > 1.0 || dot(a1 - (b1 + s * u), a1 - (b1 + s * u)) > kEpsilon * scale)
            return false;
        if (intersection)
            *intersection = a1;
        return true;
    }
    double t0 = dot(b1 - a1, r) / rr, t1 = dot(b2 - a1, r) / rr;
    if (t0 > t1)
        std::swap(t0, t1);
    if (t1 < 0.0 || t0 > 1.0)
        return false;
    if (intersection)
        *intersection = a1 + r * std::max(0.0, t0);
    return true;
}

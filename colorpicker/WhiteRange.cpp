#include "WhiteRange.h"

#include "CCTImageUtils.h"
#include "CCTUtils.h"

#include <QtMath>

#include <cmath>
#include <limits>

namespace ZelColorPickerLib {

namespace {

// Points closer to the outline than this count as on it: the outline's vertices are exact, its
// edges are chords of the tint and temperature curves.
constexpr double OutlineTolerance = 1e-5;
constexpr int RampStart = 3050;
constexpr int RampEnd = 3100;
// The upper edge keeps this far inside the diagram window, so the outline stays on show.
constexpr double WindowMargin = 0.004;

QPointF whiteAt(double cct, double tint) {
    return CCTUtils::getxyFromCCTAndTint(cct, std::trunc(tint));
}

} // namespace

const WhiteRange& WhiteRange::instance() {
    static const WhiteRange range;
    return range;
}

WhiteRange::WhiteRange() {
    const int step = CCTUtils::getCCTStepSize();
    const QRectF window =
        diagramWindow().normalized().adjusted(WindowMargin, WindowMargin, -WindowMargin, -WindowMargin);
    // Below the ramp the largest tint is the one that keeps the white inside the diagram, never
    // more than at the ramp's start and never less than at a lower temperature, so the upper
    // edge rises steadily.
    const int rampStartTint = largestTint(RampStart);
    m_lowTints.resize((RampStart - MinimumCCT) / step);
    for (int i = m_lowTints.size() - 1; i >= 0; --i) {
        const int cct = MinimumCCT + i * step;
        int tint = i + 1 < m_lowTints.size() ? m_lowTints[i + 1] : rampStartTint;
        while (tint > 0 && !window.contains(whiteAt(cct, tint)))
            --tint;
        m_lowTints[i] = tint;
    }

    const int minTint = CCTUtils::getMinTint();
    const int maxTint = CCTUtils::getMaxTint();
    for (int cct = MaximumCCT; cct >= MinimumCCT; cct -= step)
        m_polygon << whiteAt(cct, largestTint(cct));
    const int lowEdgeTint = largestTint(MinimumCCT);
    for (int k = 50; k >= 0; --k)
        m_polygon << whiteAt(MinimumCCT, k / 50.0 * lowEdgeTint);
    for (int k = 0; k <= 50; ++k)
        m_polygon << whiteAt(MinimumCCT, k / 50.0 * minTint);
    for (int cct = MinimumCCT; cct <= MaximumCCT; cct += step)
        m_polygon << whiteAt(cct, minTint);
    for (int k = 50; k >= 0; --k)
        m_polygon << whiteAt(MaximumCCT, k / 50.0 * minTint);
    for (int k = 0; k <= 50; ++k)
        m_polygon << whiteAt(MaximumCCT, k / 50.0 * maxTint);
}

int WhiteRange::largestTint(double cct) const {
    const int maxTint = CCTUtils::getMaxTint();
    if (!std::isfinite(cct))
        cct = cct > 0 ? MaximumCCT : MinimumCCT;
    cct = qBound<double>(MinimumCCT, cct, MaximumCCT);
    if (cct >= RampEnd)
        return maxTint;
    if (cct >= RampStart) {
        const int k = int(maxTint * 0.05);
        return int(std::trunc(maxTint - k * ((RampEnd - cct) / 50.0 * 1.1)));
    }
    if (m_lowTints.isEmpty()) // while the table itself is being built
        return maxTint;
    const int index = qBound(0, int((cct - MinimumCCT) / CCTUtils::getCCTStepSize()), m_lowTints.size() - 1);
    return m_lowTints[index];
}

double WhiteRange::upperTint(double cct) const {
    const int step = CCTUtils::getCCTStepSize();
    if (!std::isfinite(cct))
        return largestTint(cct);
    cct = qBound<double>(MinimumCCT, cct, MaximumCCT);
    const double below = std::floor(cct / step) * step;
    const double share = (cct - below) / step;
    return (1 - share) * largestTint(below) + share * largestTint(below + step);
}

double WhiteRange::distanceToOutline(const QPointF& xy, QPointF* nearest) const {
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < m_polygon.size(); ++i) {
        const QPointF a = m_polygon[i];
        const QPointF b = m_polygon[(i + 1) % m_polygon.size()];
        const QPointF ab = b - a;
        const double length2 = QPointF::dotProduct(ab, ab);
        const double t = length2 > 0 ? qBound(0.0, QPointF::dotProduct(xy - a, ab) / length2, 1.0) : 0.0;
        const QPointF foot = a + t * ab;
        const QPointF d = xy - foot;
        const double distance = std::sqrt(QPointF::dotProduct(d, d));
        if (distance < best) {
            best = distance;
            if (nearest)
                *nearest = foot;
        }
    }
    return best;
}

bool WhiteRange::contains(const QPointF& xy) const {
    if (!std::isfinite(xy.x()) || !std::isfinite(xy.y()))
        return false;
    return m_polygon.containsPoint(xy, Qt::OddEvenFill) || distanceToOutline(xy) <= OutlineTolerance;
}

QPointF WhiteRange::withinLimits(const QPointF& xy, bool always) const {
    double cct = 0;
    double tint = 0;
    CCTUtils::getCCTAndTintFromxy(xy.x(), xy.y(), &cct, &tint);
    const double boundedCct = qBound<double>(MinimumCCT, cct, MaximumCCT);
    const double boundedTint = qBound<double>(CCTUtils::getMinTint(), tint, upperTint(boundedCct));
    if (!always && boundedCct == cct && boundedTint == tint)
        return xy;
    return CCTUtils::getxyFromCCTAndTint(boundedCct, boundedTint);
}

QPointF WhiteRange::nearestAllowed(const QPointF& xy) const {
    QPointF point = xy;
    if (!std::isfinite(point.x()) || !std::isfinite(point.y()))
        point = CCTUtils::getxyFromCCT(MinimumCCT);
    // Outside, the temperature and tint are clamped: the tint curves run parallel to the locus
    // in (u, v), so beside the long edges that is the nearest point there.
    return contains(point) ? withinLimits(point) : withinLimits(point, true);
}

QPointF WhiteRange::move(const QPointF& from, const QPointF& delta) const {
    const QPointF start = nearestAllowed(from);
    const QPointF target = start + delta;
    if (contains(target))
        return withinLimits(target);
    const double length = std::hypot(delta.x(), delta.y());
    // Crossings this close to a start on the outline are the start itself.
    double ignored = -1;
    if (length > 0 && distanceToOutline(start) <= OutlineTolerance) {
        const QPointF probe = start + delta * (2 * OutlineTolerance / length);
        if (!m_polygon.containsPoint(probe, Qt::OddEvenFill))
            return start; // pushed outwards: stays put
        ignored = 2 * OutlineTolerance;
    }
    // The crossing nearest the start is where the move leaves the range.
    QPointF stop = start;
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < m_polygon.size(); ++i) {
        QPointF crossing;
        if (!CCTImageUtils::linesIntersect(start, target, m_polygon[i], m_polygon[(i + 1) % m_polygon.size()],
                                           &crossing))
            continue;
        const QPointF d = crossing - start;
        const double distance = QPointF::dotProduct(d, d);
        if (std::sqrt(distance) <= ignored)
            continue;
        if (distance < best) {
            best = distance;
            stop = crossing;
        }
    }
    return withinLimits(stop);
}

} // namespace ZelColorPickerLib

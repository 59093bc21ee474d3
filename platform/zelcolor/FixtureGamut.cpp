#include "FixtureGamut.h"

#include "ColorScience.h"
#include "FixtureProfile.h"

#include <QVector>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double cross(const QPointF& o, const QPointF& a, const QPointF& b) {
    return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
}

// Monotone chain: the corners counter-clockwise, points on an edge and repeats left out.
QPolygonF convexHull(QVector<QPointF> points) {
    std::sort(points.begin(), points.end(),
              [](const QPointF& a, const QPointF& b) { return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y()); });
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (points.size() < 3)
        return QPolygonF(points);
    QVector<QPointF> hull(2 * points.size());
    int k = 0;
    for (const QPointF& p : points) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0)
            --k;
        hull[k++] = p;
    }
    for (int i = points.size() - 2, lower = k + 1; i >= 0; --i) {
        while (k >= lower && cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    return QPolygonF(hull);
}

double distanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

} // namespace

FixtureGamut::FixtureGamut(ColorUtils::HueformProfileID profile)
    : m_profile(profile) {
    const FixtureProfile* fixture = FixtureProfile::find(profile);
    if (!fixture)
        return;
    // The bytes drive the first emitters: red, green and blue, the two whites, or the one.
    QVector<QPointF> reached;
    for (int i = 0; i < std::min(3, fixture->channelCount()); ++i)
        reached << QPointF(fixture->emitters[i].chromaticity.x, fixture->emitters[i].chromaticity.y);
    m_polygon = convexHull(reached);
}

double FixtureGamut::distanceToHull(const QPointF& xy) const {
    if (m_polygon.size() == 1)
        return distanceToSegment(xy, m_polygon[0], m_polygon[0]);
    double nearest = std::numeric_limits<double>::max();
    for (int i = 0; i < m_polygon.size(); ++i)
        nearest = std::min(nearest, distanceToSegment(xy, m_polygon[i], m_polygon[(i + 1) % m_polygon.size()]));
    return nearest;
}

bool FixtureGamut::contains(const QPointF& xy) const {
    if (!isValid() || !std::isfinite(xy.x()) || !std::isfinite(xy.y()))
        return false;
    if (m_polygon.size() >= 3 && m_polygon.containsPoint(xy, Qt::OddEvenFill))
        return true;
    return distanceToHull(xy) <= Tolerance;
}

ZelColor FixtureGamut::produced(const ZelColor& color) const {
    const FixtureProfile* fixture = FixtureProfile::find(m_profile);
    if (!fixture || !color.isValid())
        return ZelColor();
    const ColorUtils::IOModeID mode = ColorUtils::defaultIOModeIDForHueformProfileID3toN(m_profile);
    unsigned char bytes[3] = {0, 0, 0};
    ColorUtils::convertZelColorToDMX(color, ColorUtils::defaultHueformEnabled(m_profile, mode), 3, 1, bytes, 0, 1,
                                     m_profile, mode);
    const double levels[3] = {bytes[0] / 255.0, bytes[1] / 255.0, bytes[2] / 255.0};
    double xyz[3];
    fixture->driveLevelsToXyz(levels, xyz);
    if (!(xyz[0] + xyz[1] + xyz[2] > 0.0))
        return ZelColor();
    const ColorScience::Chromaticity xy = ColorScience::xyzToxy(xyz);
    ZelColor light;
    light.setYxyF(xyz[1], xy.x, xy.y, color.alphaF(), m_profile);
    return light;
}

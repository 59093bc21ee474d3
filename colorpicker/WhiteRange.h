#pragma once

#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QVector>

namespace ZelColorPickerLib {

/**
 * The whites tunable-white fixtures can make: 2000..10000 K, tints from CCTUtils::getMinTint()
 * up to a largest tint that narrows at low temperatures, as a polygon in CIE 1931 (x, y).
 * One instance for the process (instance()); it never changes once built.
 */
class WhiteRange final {
public:
    static const WhiteRange& instance();

    static constexpr int MinimumCCT = 2000;
    static constexpr int MaximumCCT = 10000;

    /** The chromaticity the white page's diagram shows (see CCTImageUtils). */
    static QRectF diagramWindow() { return QRectF(QPointF(0.235, 0.475), QPointF(0.540, 0.245)); }

    /** The largest tint allowed at @p cct kelvin (clamped to the range). */
    int largestTint(double cct) const;

    /** The tint of the range's upper edge at @p cct: largestTint() between its temperature steps. */
    double upperTint(double cct) const;

    const QPolygonF& polygon() const { return m_polygon; }
    /** Whether (x, y) lies inside the range or on its outline. */
    bool contains(const QPointF& xy) const;
    /**
     * The allowed point nearest to @p xy in CIE 1960 (u, v): @p xy itself when it is allowed,
     * otherwise the white of its temperature and tint clamped to the range.
     */
    QPointF nearestAllowed(const QPointF& xy) const;
    /**
     * Moves @p from by @p delta; a move that would leave the range stops where it crosses the
     * outline, and a point on the outline stays put when pushed outwards.
     */
    QPointF move(const QPointF& from, const QPointF& delta) const;

private:
    WhiteRange();

    QPointF withinLimits(const QPointF& xy, bool always = false) const;
    double distanceToOutline(const QPointF& xy, QPointF* nearest = nullptr) const;

    // Largest tints below 3050 K, one per temperature step from 2000 K.
    QVector<int> m_lowTints;
    QPolygonF m_polygon;
};

} // namespace ZelColorPickerLib

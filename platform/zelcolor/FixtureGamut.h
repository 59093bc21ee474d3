#pragma once

#include "ColorUtils.h"
#include "ZelColor.h"

#include <QPointF>
#include <QPolygonF>

/**
 * The chromaticities a fixture makes when the keypad drives it, and what it makes of the others.
 *
 * The gamut is the convex hull, in CIE 1931 (x, y), of the emitters the keypad's three device
 * bytes reach: the red, green and blue emitters of an RGB profile, the two whites of a dual or
 * tunable white fixture (a line) and the one emitter of a dimmer (a point). The white and amber
 * emitters of RGBW and RGBA fixtures add no chromaticity: the fixture hands them part of the
 * red, green and blue mix the bytes ask for, so amber, which lies beyond the red-green edge, is
 * never made pure.
 *
 * A chromaticity outside the gamut is brought inside by the conversion to device bytes
 * (ColorUtils::convertZelColorToDMX); produced() tells where it lands.
 */
class FixtureGamut final {
public:
    /**
     * Chromaticities this close to the gamut (in x and y) count as inside it: about one step of a
     * MacAdam ellipse, so what the fixture makes of them cannot be told from what was asked for.
     * It also lets a white picked on a dual white fixture's line count as on it.
     */
    static constexpr double Tolerance = 0.001;

    /** The gamut of @p profile; an unknown profile has an empty gamut that contains nothing. */
    explicit FixtureGamut(ColorUtils::HueformProfileID profile = -1);

    ColorUtils::HueformProfileID profile() const { return m_profile; }
    bool isValid() const { return !m_polygon.isEmpty(); }

    /** The hull, counter-clockwise: three or more corners, two ends of a line, or one point. */
    const QPolygonF& polygon() const { return m_polygon; }
    /** Whether the fixture makes the chromaticity @p xy (within Tolerance). */
    bool contains(const QPointF& xy) const;

    /**
     * The light the fixture gives for @p color: the colour's device bytes played back through the
     * profile's emitters, as a chromaticity colour whose Y 1.0 is the fixture's full white.
     * An empty colour, an unknown profile or bytes that make no light give an empty colour.
     */
    ZelColor produced(const ZelColor& color) const;

private:
    double distanceToHull(const QPointF& xy) const;

    ColorUtils::HueformProfileID m_profile = -1;
    QPolygonF m_polygon;
};

#pragma once

#include <QPointF>

/**
 * Correlated colour temperature (CCT) and tint of whites.
 *
 * The Planckian (black-body) locus is integrated from Planck's law (c2 = 1.4388e-2 m K) and the
 * CIE 1931 2-degree standard observer (CieStandardObserver), so a temperature names the
 * chromaticity of a black body at that temperature. Tint is the signed distance from the locus
 * in the CIE 1960 (u, v) diagram, measured along the locus' normal: Duv, positive above the
 * locus (towards green), negative below (towards magenta), in units of 0.0001 Duv. Because the
 * tint is perpendicular to the locus, changing the tint of a white keeps its temperature and
 * changing the temperature keeps its tint.
 *
 * Temperatures are taken within MinimumCCT..MaximumCCT (clamped); all functions are safe for
 * any input (non-finite values count as the nearest limit or as 0).
 */
class CCTUtils final {
public:
    static constexpr double MinimumCCT = 1000.0;
    static constexpr double MaximumCCT = 25000.0;
    /** Tint units per Duv (a tint of 1 is a Duv of 0.0001). */
    static constexpr double TintPerDuv = 10000.0;

    /** CIE 1931 x, y of the black body at @p cct kelvin. */
    static QPointF getxyFromCCT(double cct);
    /** CIE 1931 x, y of the white at @p cct kelvin with @p tint (0.0001 Duv). */
    static QPointF getxyFromCCTAndTint(double cct, double tint);
    /**
     * Temperature and tint of the chromaticity @p x, @p y: the temperature of the nearest point
     * of the locus (in u, v) and the signed distance to it. Either pointer may be null.
     */
    static void getCCTAndTintFromxy(double x, double y, double* cct, double* tint);
    static double getCCTFromxy(double x, double y);
    static double getTintFromxy(double x, double y);

    /** The tint range whites are picked in: Duv -0.02 to +0.02. */
    static int getMinTint() { return -200; }
    static int getMaxTint() { return 200; }
    /** The step in kelvin of temperature controls. */
    static int getCCTStepSize() { return 10; }

    /** XYZ of the black body at @p cct, scaled to Y = 1. */
    static void planckianXyz(double cct, double xyz[3]);

    /** CIE 1931 x, y to CIE 1960 u, v, and back (0, 0 where undefined). */
    static QPointF xyToUv(double x, double y);
    static QPointF uvToxy(double u, double v);
};

#pragma once

/**
 * The colour science under ZelColor and ColorUtils: CIE 1931 XYZ, the sRGB colour space
 * (IEC 61966-2-1: primaries R 0.64/0.33, G 0.30/0.60, B 0.15/0.06, white point D65
 * 0.3127/0.3290, the piecewise transfer curve) and the gamut handling shared by every
 * conversion into a set of emitters.
 *
 * Matrices map linear emitter levels to XYZ; they are normalised so that every emitter at full
 * gives the white point with Y = 1, which makes the luminance of a grey (L, L, L) equal to L.
 */
class ColorScience final {
public:
    struct Chromaticity {
        double x;
        double y;
    };
    using Matrix = double[3][3];

    static constexpr Chromaticity D65 = {0.3127, 0.3290};

    /** The sRGB transfer curve: encoded 0..1 to linear light 0..1, and back. */
    static double srgbToLinear(double encoded);
    static double linearToSrgb(double linear);

    /** Linear sRGB to XYZ and back (no clipping). */
    static void linearSrgbToXyz(const double rgb[3], double xyz[3]);
    static void xyzToLinearSrgb(const double xyz[3], double rgb[3]);

    /**
     * XYZ of a chromaticity with luminance Y. A chromaticity with y <= 0 carries no light and
     * gives black; values are taken as they are otherwise (x + y > 1 gives a negative Z).
     */
    static void xyYToXyz(double Y, double x, double y, double xyz[3]);
    /** Chromaticity of XYZ; black (X + Y + Z <= 0) has the chromaticity of D65. */
    static Chromaticity xyzToxy(const double xyz[3]);

    /**
     * The matrix from linear levels of three emitters to XYZ, balanced so that all three at
     * full give @p white with Y = 1. Returns false when the emitters are degenerate.
     */
    static bool primariesToXyzMatrix(const Chromaticity primaries[3], Chromaticity white, Matrix out);
    static bool invert(const Matrix m, Matrix out);
    static void apply(const Matrix m, const double in[3], double out[3]);

    /**
     * Brings linear levels into 0..1: a colour with a negative level is mixed towards the grey
     * of equal luminance (the luminance is kept, only saturation is lost) until no level is
     * negative; then levels above full are scaled down together (the chromaticity is kept,
     * intensity is lost). @p luminance is the colour's luminance; a colour without positive
     * luminance becomes black. Non-finite input gives black.
     */
    static void clipToGamut(double levels[3], double luminance);
};

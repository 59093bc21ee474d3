#pragma once

/**
 * The CIE 1931 2-degree standard observer: the colour matching functions x-bar, y-bar, z-bar
 * sampled every 5 nm from 360 to 830 nm, the data every chromaticity of a spectrum (the
 * Planckian locus in CCTUtils) is summed from.
 */
class CieStandardObserver final {
public:
    /** Number of samples; index 0 is the shortest wavelength. */
    static int sampleCount();
    /** Wavelength of sample @p index in metres (0 outside the table). */
    static double wavelength(int index);
    /** The colour matching functions at sample @p index (zeros outside the table). */
    static void colorMatching(int index, double* x, double* y, double* z);
};

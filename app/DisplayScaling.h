#pragma once

// How the program meets screens at any scale. Called before the application object exists, by the
// program and by the tests that look at it on such screens.
class DisplayScaling final {
public:
    // Qt's own scaling for screens at 200 % and the pictures drawn for them. Fractional scales are
    // rounded down to whole ones, the rest going to the fonts: widgets draw cleanly only at whole
    // scales, and a 150 % desktop (a font DPI of 144) gets larger text rather than every line and
    // picture at twice the size. QT_SCALE_FACTOR_ROUNDING_POLICY still decides when it is set.
    static void prepare();
};

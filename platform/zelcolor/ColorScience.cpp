#include "ColorScience.h"

#include <algorithm>
#include <cmath>

namespace {

// The sRGB matrix, computed once from the primaries so that D65 comes back exactly.
struct SrgbMatrices {
    ColorScience::Matrix toXyz;
    ColorScience::Matrix fromXyz;
    SrgbMatrices() {
        const ColorScience::Chromaticity primaries[3] = {{0.64, 0.33}, {0.30, 0.60}, {0.15, 0.06}};
        ColorScience::primariesToXyzMatrix(primaries, ColorScience::D65, toXyz);
        ColorScience::invert(toXyz, fromXyz);
    }
};

const SrgbMatrices& srgb() {
    static const SrgbMatrices matrices;
    return matrices;
}

} // namespace

double ColorScience::srgbToLinear(double encoded) {
    if (!(encoded > 0.0))
        return 0.0;
    if (encoded >= 1.0)
        return 1.0;
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

double ColorScience::linearToSrgb(double linear) {
    if (!(linear > 0.0))
        return 0.0;
    if (linear >= 1.0)
        return 1.0;
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

void ColorScience::linearSrgbToXyz(const double rgb[3], double xyz[3]) {
    apply(srgb().toXyz, rgb, xyz);
}

void ColorScience::xyzToLinearSrgb(const double xyz[3], double rgb[3]) {
    apply(srgb().fromXyz, xyz, rgb);
}

void ColorScience::xyYToXyz(double Y, double x, double y, double xyz[3]) {
    if (!(y > 0.0) || !std::isfinite(Y) || !std::isfinite(x) || !std::isfinite(y)) {
        xyz[0] = xyz[1] = xyz[2] = 0.0;
        return;
    }
    xyz[0] = x / y * Y;
    xyz[1] = Y;
    xyz[2] = (1.0 - x - y) / y * Y;
}

ColorScience::Chromaticity ColorScience::xyzToxy(const double xyz[3]) {
    const double sum = xyz[0] + xyz[1] + xyz[2];
    if (!(sum > 0.0) || !std::isfinite(sum))
        return D65;
    return {xyz[0] / sum, xyz[1] / sum};
}

bool ColorScience::primariesToXyzMatrix(const Chromaticity primaries[3], Chromaticity white, Matrix out) {
    // Columns are the primaries' XYZ per unit luminance, then weighted so that they add up to
    // the white point.
    Matrix p;
    for (int i = 0; i < 3; ++i) {
        if (!(primaries[i].y > 0.0))
            return false;
        p[0][i] = primaries[i].x / primaries[i].y;
        p[1][i] = 1.0;
        p[2][i] = (1.0 - primaries[i].x - primaries[i].y) / primaries[i].y;
    }
    Matrix inverse;
    if (!invert(p, inverse) || !(white.y > 0.0))
        return false;
    const double w[3] = {white.x / white.y, 1.0, (1.0 - white.x - white.y) / white.y};
    double s[3];
    apply(inverse, w, s);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            out[row][col] = p[row][col] * s[col];
    return true;
}

bool ColorScience::invert(const Matrix m, Matrix out) {
    const double c00 = m[1][1] * m[2][2] - m[1][2] * m[2][1];
    const double c01 = m[1][2] * m[2][0] - m[1][0] * m[2][2];
    const double c02 = m[1][0] * m[2][1] - m[1][1] * m[2][0];
    const double det = m[0][0] * c00 + m[0][1] * c01 + m[0][2] * c02;
    if (!(std::fabs(det) > 1e-12))
        return false;
    out[0][0] = c00 / det;
    out[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det;
    out[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det;
    out[1][0] = c01 / det;
    out[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
    out[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
    out[2][0] = c02 / det;
    out[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det;
    out[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
    return true;
}

void ColorScience::apply(const Matrix m, const double in[3], double out[3]) {
    double result[3];
    for (int row = 0; row < 3; ++row)
        result[row] = m[row][0] * in[0] + m[row][1] * in[1] + m[row][2] * in[2];
    std::copy(result, result + 3, out);
}

void ColorScience::clipToGamut(double levels[3], double luminance) {
    if (!std::isfinite(levels[0]) || !std::isfinite(levels[1]) || !std::isfinite(levels[2]) ||
        !std::isfinite(luminance) || !(luminance > 0.0)) {
        levels[0] = levels[1] = levels[2] = 0.0;
        return;
    }
    double t = 1.0;
    for (int i = 0; i < 3; ++i)
        if (levels[i] < 0.0)
            t = std::min(t, luminance / (luminance - levels[i]));
    double highest = 0.0;
    for (int i = 0; i < 3; ++i) {
        levels[i] = std::max(0.0, luminance + t * (levels[i] - luminance));
        highest = std::max(highest, levels[i]);
    }
    if (highest > 1.0)
        for (int i = 0; i < 3; ++i)
            levels[i] /= highest;
}

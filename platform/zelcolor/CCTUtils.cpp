#include "CCTUtils.h"

#include "CieStandardObserver.h"

#include <QVector>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kC2 = 1.4388e-2; // second radiation constant, m K

double clampCct(double cct) {
    if (std::isnan(cct))
        return 6500.0;
    return std::clamp(cct, CCTUtils::MinimumCCT, CCTUtils::MaximumCCT);
}

// The observer weighted with Planck's lambda^-5 once; only the exponential depends on temperature.
struct PlanckWeights {
    QVector<double> c2OverLambda;
    QVector<double> weight[3];
    PlanckWeights() {
        for (int i = 0; i < CieStandardObserver::sampleCount(); ++i) {
            const double lambda = CieStandardObserver::wavelength(i);
            double cmf[3];
            CieStandardObserver::colorMatching(i, &cmf[0], &cmf[1], &cmf[2]);
            c2OverLambda.append(kC2 / lambda);
            for (int c = 0; c < 3; ++c)
                weight[c].append(cmf[c] * std::pow(lambda, -5.0));
        }
    }
};

const PlanckWeights& planck() {
    static const PlanckWeights weights;
    return weights;
}

// XYZ of the black body at @p cct and, when @p slope is given, its derivative by temperature,
// from one pass over the observer: the tangent of the locus costs no second sum.
void blackBody(double cct, double xyz[3], double slope[3] = nullptr) {
    const PlanckWeights& w = planck();
    std::fill(xyz, xyz + 3, 0.0);
    if (slope)
        std::fill(slope, slope + 3, 0.0);
    for (int i = 0; i < w.c2OverLambda.size(); ++i) {
        const double a = w.c2OverLambda[i] / cct;
        const double e = std::expm1(a);
        const double radiance = 1.0 / e;
        // d/dT of 1 / (exp(c2 / (lambda T)) - 1)
        const double dRadiance = slope ? a / cct * (e + 1.0) / (e * e) : 0.0;
        for (int c = 0; c < 3; ++c) {
            xyz[c] += radiance * w.weight[c][i];
            if (slope)
                slope[c] += dRadiance * w.weight[c][i];
        }
    }
}

QPointF locusUv(double cct, QPointF* tangent = nullptr) {
    double xyz[3], slope[3];
    blackBody(clampCct(cct), xyz, tangent ? slope : nullptr);
    const double d = xyz[0] + 15.0 * xyz[1] + 3.0 * xyz[2];
    if (tangent) {
        const double dd = slope[0] + 15.0 * slope[1] + 3.0 * slope[2];
        *tangent = QPointF(4.0 * (slope[0] * d - xyz[0] * dd), 6.0 * (slope[1] * d - xyz[1] * dd)) / (d * d);
    }
    return {4.0 * xyz[0] / d, 6.0 * xyz[1] / d};
}

// Unit normal of the locus whose tangent is @p tangent, pointing to larger v (positive tint).
QPointF normalOf(const QPointF& tangent) {
    const double length = std::hypot(tangent.x(), tangent.y());
    if (!(length > 0.0))
        return {0.0, 1.0};
    QPointF n(-tangent.y() / length, tangent.x() / length);
    if (n.y() < 0.0)
        n = -n;
    return n;
}

double mired(double cct) {
    return 1e6 / cct;
}

// The locus every whole mired from MaximumCCT to MinimumCCT, for the coarse search.
struct LocusTable {
    double firstMired = 0.0;
    QVector<QPointF> uv;
    LocusTable() {
        firstMired = std::ceil(mired(CCTUtils::MaximumCCT));
        for (double m = firstMired; m <= mired(CCTUtils::MinimumCCT); m += 1.0)
            uv.append(locusUv(1e6 / m));
    }
};

const LocusTable& table() {
    static const LocusTable locus;
    return locus;
}

double squaredDistance(const QPointF& a, const QPointF& b) {
    const QPointF d = a - b;
    return d.x() * d.x() + d.y() * d.y();
}

// Where the line from the locus to @p p stands on the locus' tangent: zero at the foot of the
// perpendicular.
double footError(const QPointF& p, double m) {
    QPointF tangent;
    const QPointF d = p - locusUv(1e6 / m, &tangent);
    return d.x() * tangent.x() + d.y() * tangent.y();
}

} // namespace

void CCTUtils::planckianXyz(double cct, double xyz[3]) {
    double sum[3];
    blackBody(clampCct(cct), sum);
    for (int i = 0; i < 3; ++i)
        xyz[i] = sum[i] / sum[1];
}

QPointF CCTUtils::xyToUv(double x, double y) {
    const double d = -2.0 * x + 12.0 * y + 3.0;
    if (!std::isfinite(d) || std::fabs(d) < 1e-12)
        return {0.0, 0.0};
    return {4.0 * x / d, 6.0 * y / d};
}

QPointF CCTUtils::uvToxy(double u, double v) {
    const double d = 2.0 * u - 8.0 * v + 4.0;
    if (!std::isfinite(d) || std::fabs(d) < 1e-12)
        return {0.0, 0.0};
    return {3.0 * u / d, 2.0 * v / d};
}

QPointF CCTUtils::getxyFromCCT(double cct) {
    double xyz[3];
    planckianXyz(cct, xyz);
    const double sum = xyz[0] + xyz[1] + xyz[2];
    return {xyz[0] / sum, xyz[1] / sum};
}

QPointF CCTUtils::getxyFromCCTAndTint(double cct, double tint) {
    cct = clampCct(cct);
    const double duv = std::isfinite(tint) ? tint / TintPerDuv : 0.0;
    QPointF tangent;
    const QPointF onLocus = locusUv(cct, &tangent);
    const QPointF uv = onLocus + normalOf(tangent) * duv;
    return uvToxy(uv.x(), uv.y());
}

void CCTUtils::getCCTAndTintFromxy(double x, double y, double* cct, double* tint) {
    const QPointF p = xyToUv(std::isfinite(x) ? x : 0.0, std::isfinite(y) ? y : 0.0);
    const LocusTable& locus = table();
    int nearest = 0;
    double best = squaredDistance(p, locus.uv[0]);
    for (int i = 1; i < locus.uv.size(); ++i) {
        const double d = squaredDistance(p, locus.uv[i]);
        if (d < best) {
            best = d;
            nearest = i;
        }
    }
    // Refine to the foot of the perpendicular between the neighbouring table points.
    const double lowest = mired(MaximumCCT), highest = mired(MinimumCCT);
    double low = std::max(lowest, locus.firstMired + nearest - 1.0);
    double high = std::min(highest, locus.firstMired + nearest + 1.0);
    double fLow = footError(p, low), fHigh = footError(p, high);
    double m;
    if ((fLow > 0.0) == (fHigh > 0.0)) {
        // No foot inside: the point lies beyond an end of the locus.
        m = squaredDistance(p, locusUv(1e6 / low)) < squaredDistance(p, locusUv(1e6 / high)) ? low : high;
    } else {
        // Regula falsi (Illinois): the error is nearly linear in mired, so a few steps do.
        m = low;
        int side = 0;
        for (int i = 0; i < 60 && high - low > 1e-9; ++i) {
            m = (low * fHigh - high * fLow) / (fHigh - fLow);
            const double fM = footError(p, m);
            if (fM == 0.0)
                break;
            if ((fM > 0.0) == (fLow > 0.0)) {
                low = m;
                fLow = fM;
                if (side == -1)
                    fHigh *= 0.5;
                side = -1;
            } else {
                high = m;
                fHigh = fM;
                if (side == 1)
                    fLow *= 0.5;
                side = 1;
            }
            if (std::fabs(fM) < 1e-18)
                break;
        }
    }
    const double temperature = 1e6 / m;
    if (cct)
        *cct = temperature;
    if (tint) {
        QPointF tangent;
        const QPointF d = p - locusUv(temperature, &tangent);
        const QPointF n = normalOf(tangent);
        const double along = d.x() * n.x() + d.y() * n.y();
        *tint = (along < 0.0 ? -1.0 : 1.0) * std::hypot(d.x(), d.y()) * TintPerDuv;
    }
}

double CCTUtils::getCCTFromxy(double x, double y) {
    double cct = 0.0;
    getCCTAndTintFromxy(x, y, &cct, nullptr);
    return cct;
}

double CCTUtils::getTintFromxy(double x, double y) {
    double tint = 0.0;
    getCCTAndTintFromxy(x, y, nullptr, &tint);
    return tint;
}

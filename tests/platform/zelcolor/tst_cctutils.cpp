#include "CCTUtils.h"
#include "TestEnvironment.h"

#include <cmath>
#include <limits>

namespace {

bool near(double a, double b, double tolerance) {
    return std::fabs(a - b) < tolerance;
}

bool near(const QPointF& a, const QPointF& b, double tolerance) {
    return near(a.x(), b.x(), tolerance) && near(a.y(), b.y(), tolerance);
}

// Temperature and tint read back from the chromaticity of (t, tint).
QPointF roundTrip(double t, double tint) {
    const QPointF xy = CCTUtils::getxyFromCCTAndTint(t, tint);
    double cct = 0, back = 0;
    CCTUtils::getCCTAndTintFromxy(xy.x(), xy.y(), &cct, &back);
    return {cct, back};
}

} // namespace

class TestCCTUtils : public QObject {
    Q_OBJECT

private slots:
    void locusAndKnownIlluminants() {
        // Planckian locus of the CIE 1931 observer (c2 = 1.4388e-2 m K), integrated at 1 nm.
        const double reference[][3] = {{2000, 0.52669, 0.41331}, {2856, 0.44757, 0.40745}, {3000, 0.43695, 0.40410},
                                       {4000, 0.38052, 0.37673}, {5000, 0.34511, 0.35161}, {6500, 0.31350, 0.32362},
                                       {10000, 0.28072, 0.28835}};
        for (const auto& r : reference) {
            const QPointF xy = CCTUtils::getxyFromCCT(r[0]);
            QVERIFY2(near(xy, {r[1], r[2]}, 3e-4),
                     qPrintable(QStringLiteral("%1 K: %2, %3").arg(r[0]).arg(xy.x()).arg(xy.y())));
        }
        double cct = 0, tint = 0;
        // D65 sits 0.0032 Duv above the locus at 6504 K.
        CCTUtils::getCCTAndTintFromxy(0.3127, 0.3290, &cct, &tint);
        QVERIFY2(near(cct, 6504, 5) && near(tint, 32, 2), qPrintable(QStringLiteral("%1 %2").arg(cct).arg(tint)));
    }

    void temperatureAndTintRoundTrip() {
        // The temperature comes back whatever the tint, and the tint whatever the temperature.
        for (int t = 2000; t <= 10000; t += CCTUtils::getCCTStepSize()) {
            const QPointF onLocus = CCTUtils::getxyFromCCT(t);
            for (int tint = CCTUtils::getMinTint(); tint <= CCTUtils::getMaxTint(); tint += 25) {
                const QPointF back = roundTrip(t, tint);
                QVERIFY2(near(back.x(), t, 1.0) && near(back.y(), tint, 0.01),
                         qPrintable(QStringLiteral("%1 K tint %2 -> %3 K").arg(t).arg(tint).arg(back.x())));
                // Positive tint is above the locus (towards green).
                const double y = CCTUtils::getxyFromCCTAndTint(t, tint).y();
                QVERIFY(tint == 0 || (tint > 0) == (y > onLocus.y()));
            }
        }
        // A tint of 100 is 0.01 away from the locus in u, v.
        const QPointF locus = CCTUtils::getxyFromCCT(4000), off = CCTUtils::getxyFromCCTAndTint(4000, 100);
        const QPointF a = CCTUtils::xyToUv(locus.x(), locus.y()), b = CCTUtils::xyToUv(off.x(), off.y());
        QVERIFY(near(std::hypot(b.x() - a.x(), b.y() - a.y()), 0.01, 1e-9));
        QVERIFY(near(CCTUtils::uvToxy(b.x(), b.y()), off, 1e-12));
    }

    void anyInputGivesFiniteAnswers() {
        const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
        const double inputs[][2] = {{nan, 0.3}, {0.3, inf}, {0, 0}, {1, 0}, {0, 1}, {-5, 7}, {0.7, 0.3}, {0.1, 0.8}};
        for (const auto& in : inputs) {
            double cct = -1, tint = nan;
            CCTUtils::getCCTAndTintFromxy(in[0], in[1], &cct, &tint);
            QVERIFY(cct >= CCTUtils::MinimumCCT && cct <= CCTUtils::MaximumCCT && std::isfinite(tint));
        }
        for (double t : {nan, -inf, 0.0, 1e9}) {
            const QPointF xy = CCTUtils::getxyFromCCTAndTint(t, nan);
            QVERIFY(std::isfinite(xy.x()) && std::isfinite(xy.y()));
        }
    }
};

LUMETTO_TEST_MAIN_CORE(TestCCTUtils, "tst_cctutils")
#include "tst_cctutils.moc"

#include "CCTImageUtils.h"
#include "CCTUtils.h"
#include "TestEnvironment.h"
#include "TristimulusFactory.h"
#include "ZelColor.h"

#include <cmath>
#include <limits>

class TestCCTUtils : public QObject {
    Q_OBJECT

private slots:
    void locusMatchesReferenceValues();
    void knownIlluminants();
    void temperatureRoundTrip();
    void tintRoundTripIsPerpendicular();
    void tintLimits();
    void anyInputGivesFiniteAnswers();
    void diagramMapping();
    void segmentIntersections();
    void channelsPerProfile();
};

void TestCCTUtils::locusMatchesReferenceValues() {
    // Planckian locus of the CIE 1931 observer (c2 = 1.4388e-2 m K), integrated at 1 nm.
    const double reference[][3] = {{2000, 0.52669, 0.41331}, {2856, 0.44757, 0.40745}, {3000, 0.43695, 0.40410},
                                   {4000, 0.38052, 0.37673}, {5000, 0.34511, 0.35161}, {6500, 0.31350, 0.32362},
                                   {10000, 0.28072, 0.28835}};
    double worst = 0.0;
    for (const auto& r : reference) {
        const QPointF xy = CCTUtils::getxyFromCCT(r[0]);
        worst = std::max({worst, std::fabs(xy.x() - r[1]), std::fabs(xy.y() - r[2])});
        QVERIFY2(worst < 3e-4, qPrintable(QStringLiteral("%1 K: %2, %3").arg(r[0]).arg(xy.x()).arg(xy.y())));
    }
    qInfo("largest difference from the reference locus: %.6f", worst);
    for (double t = 2000; t <= 10000; t += 250) {
        const QPointF a = CCTUtils::getxyFromCCT(t), b = CCTUtils::getxyFromCCTAndTint(t, 0);
        QVERIFY(std::fabs(a.x() - b.x()) < 1e-12 && std::fabs(a.y() - b.y()) < 1e-12);
    }
}

void TestCCTUtils::knownIlluminants() {
    double cct = 0, tint = 0;
    // D65 sits 0.0032 Duv above the locus at 6504 K.
    CCTUtils::getCCTAndTintFromxy(0.3127, 0.3290, &cct, &tint);
    QVERIFY2(std::fabs(cct - 6504) < 5, qPrintable(QString::number(cct)));
    QVERIFY2(std::fabs(tint - 32) < 2, qPrintable(QString::number(tint)));
    // Illuminant A is a black body at 2856 K.
    CCTUtils::getCCTAndTintFromxy(0.44757, 0.40745, &cct, &tint);
    QVERIFY2(std::fabs(cct - 2856) < 2, qPrintable(QString::number(cct)));
    QVERIFY(std::fabs(tint) < 1);
}

void TestCCTUtils::temperatureRoundTrip() {
    double worst = 0.0;
    for (int t = 2000; t <= 10000; t += CCTUtils::getCCTStepSize()) {
        const QPointF xy = CCTUtils::getxyFromCCT(t);
        double cct = 0, tint = 0;
        CCTUtils::getCCTAndTintFromxy(xy.x(), xy.y(), &cct, &tint);
        worst = std::max(worst, std::fabs(cct - t));
        QVERIFY2(std::fabs(cct - t) < 1.0, qPrintable(QStringLiteral("%1 K -> %2 K").arg(t).arg(cct)));
        QVERIFY(std::fabs(tint) < 0.01);
    }
    qInfo("largest temperature error on the locus: %.3g K", worst);
}

void TestCCTUtils::tintRoundTripIsPerpendicular() {
    double worstCct = 0.0, worstTint = 0.0;
    for (int t = 2000; t <= 10000; t += 130) {
        const QPointF onLocus = CCTUtils::getxyFromCCT(t);
        for (int tint = CCTUtils::getMinTint(); tint <= CCTUtils::getMaxTint(); tint += 25) {
            const QPointF xy = CCTUtils::getxyFromCCTAndTint(t, tint);
            double cct = 0, back = 0;
            CCTUtils::getCCTAndTintFromxy(xy.x(), xy.y(), &cct, &back);
            worstCct = std::max(worstCct, std::fabs(cct - t));
            worstTint = std::max(worstTint, std::fabs(back - tint));
            QVERIFY2(std::fabs(cct - t) < 1.0,
                     qPrintable(QStringLiteral("%1 K tint %2 -> %3 K").arg(t).arg(tint).arg(cct)));
            QVERIFY(std::fabs(back - tint) < 0.01);
            // Positive tint is above the locus (towards green).
            if (tint > 0)
                QVERIFY(xy.y() > onLocus.y());
            if (tint < 0)
                QVERIFY(xy.y() < onLocus.y());
        }
    }
    qInfo("largest errors off the locus: %.3g K, %.3g tint", worstCct, worstTint);
    // The distance in u, v is the tint.
    const QPointF a = CCTUtils::xyToUv(CCTUtils::getxyFromCCT(4000).x(), CCTUtils::getxyFromCCT(4000).y());
    const QPointF b = CCTUtils::getxyFromCCTAndTint(4000, 100);
    const QPointF bUv = CCTUtils::xyToUv(b.x(), b.y());
    QVERIFY(std::fabs(std::hypot(bUv.x() - a.x(), bUv.y() - a.y()) - 0.01) < 1e-9);
    const QPointF xy = CCTUtils::uvToxy(bUv.x(), bUv.y());
    QVERIFY(std::fabs(xy.x() - b.x()) < 1e-12 && std::fabs(xy.y() - b.y()) < 1e-12);
}

void TestCCTUtils::tintLimits() {
    QVERIFY(CCTUtils::getMinTint() < 0 && CCTUtils::getMaxTint() > 0);
    // The white range narrows its tint in steps of a twentieth of the maximum.
    QVERIFY(int(CCTUtils::getMaxTint() * 0.05) >= 1);
    QCOMPARE(8000 % CCTUtils::getCCTStepSize(), 0);
    // The corners of the white range (full tint from 3100 K up) fit the white page's diagram.
    const int corners[][2] = {{2000, CCTUtils::getMinTint()},
                              {3100, CCTUtils::getMaxTint()},
                              {10000, CCTUtils::getMinTint()},
                              {10000, CCTUtils::getMaxTint()}};
    for (const auto& c : corners) {
        const QPointF xy = CCTUtils::getxyFromCCTAndTint(c[0], c[1]);
        QVERIFY(xy.x() > 0.235 && xy.x() < 0.540 && xy.y() > 0.245 && xy.y() < 0.475);
    }
}

void TestCCTUtils::anyInputGivesFiniteAnswers() {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const double inputs[][2] = {{nan, 0.3}, {0.3, inf}, {0, 0}, {1, 0}, {0, 1}, {-5, 7}, {0.7, 0.3}, {0.1, 0.8}};
    for (const auto& in : inputs) {
        double cct = -1, tint = nan;
        CCTUtils::getCCTAndTintFromxy(in[0], in[1], &cct, &tint);
        QVERIFY(cct >= CCTUtils::MinimumCCT && cct <= CCTUtils::MaximumCCT);
        QVERIFY(std::isfinite(tint));
    }
    for (double t : {nan, -inf, 0.0, 1e9}) {
        const QPointF xy = CCTUtils::getxyFromCCTAndTint(t, nan);
        QVERIFY(std::isfinite(xy.x()) && std::isfinite(xy.y()));
    }
    QCOMPARE(CCTUtils::getxyFromCCT(500), CCTUtils::getxyFromCCT(CCTUtils::MinimumCCT));
}

void TestCCTUtils::diagramMapping() {
    const QRectF window(QPointF(0.235, 0.475), QPointF(0.540, 0.245));
    const QRectF image(10, 20, 610, 460);
    double x = 0, y = 0;
    CCTImageUtils::getxyFromPoint(&x, &y, window, image.topLeft(), image);
    QVERIFY(qFuzzyCompare(x, 0.235) && qFuzzyCompare(y, 0.475));
    CCTImageUtils::getxyFromPoint(&x, &y, window, image.bottomRight(), image);
    QVERIFY(qFuzzyCompare(x, 0.540) && qFuzzyCompare(y, 0.245));
    const QPointF d65 = CCTImageUtils::getPointFromxy(0.3127, 0.3290, window, image);
    CCTImageUtils::getxyFromPoint(&x, &y, window, d65, image);
    QVERIFY(std::fabs(x - 0.3127) < 1e-12 && std::fabs(y - 0.3290) < 1e-12);
    // Larger y is higher up in the image.
    QVERIFY(CCTImageUtils::getPointFromxy(0.3, 0.4, window, image).y() <
            CCTImageUtils::getPointFromxy(0.3, 0.3, window, image).y());
    // An empty image or window gives a corner, never a division by zero.
    CCTImageUtils::getxyFromPoint(&x, &y, window, QPointF(5, 5), QRectF());
    QVERIFY(qFuzzyCompare(x, 0.235) && qFuzzyCompare(y, 0.475));
    const QPointF p = CCTImageUtils::getPointFromxy(0.3, 0.3, QRectF(), image);
    QVERIFY(std::isfinite(p.x()) && std::isfinite(p.y()));
}

void TestCCTUtils::segmentIntersections() {
    QPointF at;
    QVERIFY(CCTImageUtils::linesIntersect({0, 0}, {2, 2}, {0, 2}, {2, 0}, &at));
    QCOMPARE(at, QPointF(1, 1));
    // Touching at an end counts.
    QVERIFY(CCTImageUtils::linesIntersect({0, 0}, {1, 0}, {1, -1}, {1, 1}, &at));
    QCOMPARE(at, QPointF(1, 0));
    // Short of the other segment, parallel, or collinear apart: no.
    QVERIFY(!CCTImageUtils::linesIntersect({0, 0}, {0.9, 0}, {1, -1}, {1, 1}));
    QVERIFY(!CCTImageUtils::linesIntersect({0, 0}, {1, 0}, {0, 1}, {1, 1}));
    QVERIFY(!CCTImageUtils::linesIntersect({0, 0}, {1, 0}, {2, 0}, {3, 0}));
    // Collinear overlap: where a move from the first end first meets the other segment.
    QVERIFY(CCTImageUtils::linesIntersect({0, 0}, {4, 0}, {3, 0}, {1, 0}, &at));
    QCOMPARE(at, QPointF(1, 0));
    QVERIFY(CCTImageUtils::linesIntersect({2, 0}, {4, 0}, {1, 0}, {3, 0}, &at));
    QCOMPARE(at, QPointF(2, 0));
    // A point on a segment, and diagram-sized segments.
    QVERIFY(CCTImageUtils::linesIntersect({0.5, 0}, {0.5, 0}, {0, 0}, {1, 0}, &at));
    QVERIFY(CCTImageUtils::linesIntersect({0.3001, 0.3}, {0.3021, 0.302}, {0.301, 0.29}, {0.301, 0.31}, &at));
    QVERIFY(std::fabs(at.x() - 0.301) < 1e-12 && std::fabs(at.y() - 0.3009) < 1e-12);
}

void TestCCTUtils::channelsPerProfile() {
    TristimulusFactory* factory = TristimulusFactory::getInstance();
    QCOMPARE(TristimulusFactory::getInstance(), factory);
    const int counts[] = {3, 3, 4, 4, 5, 4, 2, 2, 1, 3};
    for (int profile : ColorUtils::hueformProfileIDList()) {
        const int configuration = ColorUtils::nChannelConfigurationForHueformProfileID(profile);
        const Tristimulus* t = factory->getTristimulus(profile, configuration);
        QVERIFY(t && t->isValid());
        QCOMPARE(factory->getTristimulus(profile, configuration), t);
        QCOMPARE(t->getChannelCount(), counts[profile]);
        QCOMPARE(t->getChannelNames(), ColorUtils::channelNames(profile));
        QCOMPARE(t->getHueformProfileID(), profile);
        // Channel levels made for a white come back as the same channels.
        ZelColor white;
        white.setYxyF(0.5, CCTUtils::getxyFromCCT(4000).x(), CCTUtils::getxyFromCCT(4000).y());
        const QVector<double> levels = t->channelsFromColor(white);
        QCOMPARE(levels.size(), counts[profile]);
        const ZelColor made = t->colorFromChannels(levels);
        QCOMPARE(made.spec(), int(ZelColor::NChannel));
        QCOMPARE(made.hueformProfileID(), profile);
        QCOMPARE(t->channelsFromColor(made), levels);
    }
    QCOMPARE(factory->getTristimulus(2, 1)->getChannelNames().last(), QStringLiteral("White"));
    QVERIFY(qFuzzyCompare(factory->getTristimulus(6, 1)->getChannelChromaticity(0).x(), 0.4599));
    const Tristimulus* unknown = factory->getTristimulus(99, 1);
    QVERIFY(unknown && !unknown->isValid() && unknown->getChannelNames().isEmpty());
    QVERIFY(!unknown->colorFromChannels({0.5}).isValid());
}

LUMETTO_TEST_MAIN_CORE(TestCCTUtils, "tst_cctutils")
#include "tst_cctutils.moc"

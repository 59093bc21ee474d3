#include "FixtureGamut.h"
#include "FixtureProfile.h"
#include "TestEnvironment.h"

#include <cmath>

namespace {

ZelColor yxy(double Y, const QPointF& xy) {
    ZelColor c;
    c.setYxyF(Y, xy.x(), xy.y());
    return c;
}

QPointF chromaticity(const ZelColor& c) {
    return {c.getx(), c.gety()};
}

double distance(const QPointF& a, const QPointF& b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

QPointF unit(const QPointF& v) {
    return v / std::hypot(v.x(), v.y());
}

QPointF centroid(const QPolygonF& polygon) {
    QPointF sum;
    for (const QPointF& p : polygon)
        sum += p;
    return sum / polygon.size();
}

constexpr double JustOutside = 2 * FixtureGamut::Tolerance;

} // namespace

class TestFixtureGamut : public QObject {
    Q_OBJECT

private slots:
    void everyProfileHoldsItsEmittersAndNothingJustOutside() {
        for (int id : ColorUtils::hueformProfileIDList()) {
            const FixtureGamut gamut(id);
            const FixtureProfile& profile = *FixtureProfile::find(id);
            const QPolygonF& hull = gamut.polygon();
            const QString what = QString::fromLatin1(profile.name);
            // The emitters the three bytes drive are the corners.
            const int reached = std::min(3, profile.channelCount());
            QCOMPARE(hull.size(), reached);
            for (int e = 0; e < profile.channelCount(); ++e) {
                const QPointF emitter(profile.emitters[e].chromaticity.x, profile.emitters[e].chromaticity.y);
                const bool amber = QByteArray(profile.emitters[e].name) == "Amber";
                QVERIFY2(gamut.contains(emitter) != amber,
                         qPrintable(what + QLatin1Char(' ') + profile.emitters[e].name));
            }
            for (int i = 0; i < hull.size(); ++i) {
                const QPointF corner = hull[i];
                const QPointF next = hull[(i + 1) % hull.size()];
                // Past a corner, away from the middle (a single point: any way).
                const QPointF away = hull.size() > 1 ? unit(corner - centroid(hull)) : QPointF(0.6, 0.8);
                QVERIFY2(!gamut.contains(corner + away * JustOutside), qPrintable(what));
                if (hull.size() < 2)
                    continue;
                // Beside an edge, on its outer side (a line has two).
                const QPointF middle = (corner + next) / 2;
                const QPointF normal = unit(QPointF(next.y() - corner.y(), corner.x() - next.x()));
                QVERIFY2(gamut.contains(middle), qPrintable(what));
                QVERIFY2(!gamut.contains(middle + normal * JustOutside), qPrintable(what));
                if (hull.size() == 2)
                    QVERIFY2(!gamut.contains(middle - normal * JustOutside), qPrintable(what));
            }
            if (hull.size() >= 3)
                QVERIFY(gamut.contains(centroid(hull)));
        }
        // Nothing is made by a profile that does not exist.
        for (int id : {-1, 10}) {
            const FixtureGamut unknown(id);
            QVERIFY(!unknown.isValid() && !unknown.contains({0.3127, 0.3290}));
            QVERIFY(!unknown.produced(yxy(0.5, {0.3127, 0.3290})).isValid());
        }
    }

    void producedIsWhatTheBytesMake() {
        const QPointF d65(0.3127, 0.3290);
        for (int id : ColorUtils::hueformProfileIDList()) {
            const FixtureGamut gamut(id);
            // Whatever is asked, the light comes out inside the gamut.
            for (double x = 0.2; x <= 0.6; x += 0.05) {
                for (double y = 0.2; y <= 0.5; y += 0.05) {
                    const ZelColor light = gamut.produced(yxy(0.4, {x, y}));
                    QVERIFY(light.isValid() && gamut.contains(chromaticity(light)));
                    // Inside, it is the colour asked for, give or take a byte.
                    if (gamut.contains({x, y}))
                        QVERIFY2(distance(chromaticity(light), {x, y}) < 0.003,
                                 qPrintable(QStringLiteral("%1: %2, %3").arg(id).arg(x).arg(y)));
                }
            }
            QVERIFY(!gamut.produced(yxy(0.0, d65)).isValid());
            QVERIFY(!gamut.produced(ZelColor()).isValid());
        }
        // An RGB fixture keeps the luminance and gives up saturation: a yellowish white beyond
        // its red-green edge comes back on the edge, on the way to the white point.
        const FixtureGamut rgb(1);
        const QPointF beyond(0.53, 0.44);
        QVERIFY(!rgb.contains(beyond));
        const ZelColor clipped = rgb.produced(yxy(0.3, beyond));
        const QPointF onEdge = chromaticity(clipped);
        QVERIFY(std::fabs(clipped.getY() - 0.3) < 0.005);
        QVERIFY(distance(onEdge, beyond) > 0.005 &&
                distance(onEdge, beyond) + distance(onEdge, d65) < distance(beyond, d65) + 0.002);
        // Dual white makes the nearest white on the line between its whites.
        const FixtureGamut dual(6);
        const QPolygonF line = dual.polygon();
        const QPointF offLine(0.38, 0.39);
        const QPointF along = unit(line[1] - line[0]);
        const QPointF foot = line[0] + along * QPointF::dotProduct(offLine - line[0], along);
        QVERIFY(!dual.contains(offLine));
        QVERIFY(distance(chromaticity(dual.produced(yxy(0.3, offLine))), foot) < 0.002);
        // A dimmer makes its one white, whatever the colour.
        const FixtureGamut dimmer(8);
        QVERIFY(distance(chromaticity(dimmer.produced(yxy(0.5, {0.3, 0.3}))), dimmer.polygon().first()) < 1e-9);
    }
};

LUMETTO_TEST_MAIN_CORE(TestFixtureGamut, "tst_fixturegamut")
#include "tst_fixturegamut.moc"

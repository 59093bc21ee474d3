#include "TestEnvironment.h"

#include "MSPCustomWashEffect.h"
#include "MSPEffectFactory.h"
#include "MSPFixedColorEffect.h"
#include "ModelFixture.h"

#include <QSignalSpy>

#include <memory>

namespace {

std::unique_ptr<MSPEffect> make(int type) {
    return std::unique_ptr<MSPEffect>(MSPEffectFactory::instance()->create(type, nullptr));
}

// The parameters as the keypad gets them, joined by ','; stale contents of the lists must go.
QString outgoing(const MSPEffect& effect, QList<ZelColor>* colors = nullptr) {
    QStringList params{QStringLiteral("stale")};
    QList<ZelColor> ownColors{ZelColor::fromRgb8(1, 2, 3)};
    float Y = -1, x = -1, y = -1;
    effect.getParams(&params, colors ? colors : &ownColors, &Y, &x, &y);
    return params.join(QLatin1Char(','));
}

void take(MSPEffect& effect, const QString& params, int colorCount = 0, int numColors = 0, float Y = 0, float x = 0,
          float y = 0) {
    QList<ZelColor> colors;
    for (int i = 0; i < colorCount; ++i)
        colors << ZelColor::fromRgb8(i * 40, 255 - i, 7);
    effect.setParams(params.isNull() ? QStringList() : params.split(QLatin1Char(',')), colors, numColors, 0, Y, x, y);
}

} // namespace

class TestMSPEffects : public QObject {
    Q_OBJECT

private slots:
    void init() { ModelFixture::reset(); }

    void deviceForm_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("params");
        QTest::addColumn<int>("colors");
        QTest::addColumn<int>("numColors");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("colorsKept");
        // Data of the wrong shape leaves the defaults; numbers out of range are clamped. The reader's
        // tests cover more of this through documents.
        QTest::newRow("fixed two texts") << 0 << "1,2" << 0 << 0 << "255,0,0" << 0;
        QTest::newRow("fixed out of range") << 0 << "300,7,abc" << 0 << 0 << "255,7,0" << 0;
        QTest::newRow("variable not numbers") << 1 << "nan,1e30,-7" << 0 << 0 << "0,0,0" << 0;
        QTest::newRow("rainbow narrow") << 3 << "1,0,2" << 6 << 6 << "1,0,4" << 6;
        QTest::newRow("rainbow wide") << 3 << "1,0,36" << 6 << 6 << "1,0,35" << 6;
        QTest::newRow("custom count too high") << 4 << "1,0,5" << 6 << 99 << "1,0,5" << 6;
        QTest::newRow("custom count negative") << 4 << "1,0,5" << 6 << -4 << "1,0,5" << 0;
        QTest::newRow("custom five colours") << 4 << "9,1,9" << 5 << 5 << "1,0,1" << 2;
        // Whites keep their level in whole percent: 2 of 255 is 1 %, which goes out as 3.
        QTest::newRow("duo white dimmest") << 7 << "300,2" << 0 << 0 << "300,3" << 0;
        QTest::newRow("rgb white too bright") << 6 << "1,1e30" << 0 << 0 << "1,255" << 0;
        QTest::newRow("duo white not a number") << 7 << "1,nan" << 0 << 0 << "1,0" << 0;
    }

    void deviceForm() {
        QFETCH(int, type);
        QFETCH(QString, params);
        QFETCH(int, colors);
        QFETCH(int, numColors);
        QFETCH(QString, result);
        QFETCH(int, colorsKept);
        auto effect = make(type);
        // The keypad's own data goes in quietly, or it would be posted straight back.
        QSignalSpy changed(effect.get(), &MSPEffect::effectParamsChanged);
        take(*effect, params, colors, numColors);
        QVERIFY(changed.isEmpty());
        QList<ZelColor> out;
        QCOMPARE(outgoing(*effect, &out), result);
        QCOMPARE(out.size(), colorsKept);
        if (colorsKept > 1 && colorsKept == qBound(0, numColors, 6))
            QCOMPARE(out.at(1), ZelColor::fromRgb8(40, 254, 7));
    }

    void chromaticityAndHue() {
        // Any non-zero member of the triple wins over the parameters, even malformed ones.
        MSPFixedColorEffect fixed;
        take(fixed, QStringLiteral("1"), 0, 0, 0, 0, 0.1f);
        QVERIFY(ZelColor(fixed.color()).spec() == ZelColor::Yxy && float(ZelColor(fixed.color()).gety()) == 0.1f);

        // The keypad holds six colours.
        MSPCustomWashEffect wash;
        const QStringList seven = QStringLiteral("#000001 #000002 #000003 #000004 #000005 #000006 #000007").split(' ');
        wash.setColorList(seven);
        QCOMPARE(wash.colorList(), seven.mid(0, 6));

        auto variable = make(1);
        take(*variable, QString(), 0, 0, 0.2f, 0.3f, 0.3f);
        QCOMPARE(ZelColor(variable->property("color").toString()).spec(), int(ZelColor::Yxy));
        variable->setProperty("color", QStringLiteral("#hsb:35900:65535:65535:65535"));
        QCOMPARE(outgoing(*variable), QStringLiteral("254,255,255"));
        // Every hue step read from the keypad goes out as the same step again.
        for (int step = 0; step < 255; ++step) {
            take(*variable, QStringLiteral("%1,200,100").arg(step));
            QCOMPARE(outgoing(*variable), QStringLiteral("%1,200,100").arg(step));
        }
    }
};

LUMETTO_TEST_MAIN_CORE(TestMSPEffects, "tst_MSPEffects")
#include "tst_MSPEffects.moc"

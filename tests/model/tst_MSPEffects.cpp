#include "TestEnvironment.h"

#include "MSPColorWashEffect.h"
#include "MSPCustomWashEffect.h"
#include "MSPEffectFactory.h"
#include "MSPFixedColorEffect.h"
#include "MSPRandomColorEffect.h"
#include "MSPWhiteEffect.h"
#include "ModelFixture.h"

#include <QSignalSpy>

#include <memory>

namespace {

std::unique_ptr<MSPEffect> make(int type) {
    return std::unique_ptr<MSPEffect>(MSPEffectFactory::instance()->create(type, nullptr));
}

QStringList paramsOf(const MSPEffect& effect, QList<ZelColor>* colors = nullptr, float* triple = nullptr) {
    QStringList params{QStringLiteral("stale")};
    QList<ZelColor> ownColors{ZelColor::fromRgb8(1, 2, 3)};
    float t[3] = {-1, -1, -1};
    effect.getParams(&params, colors ? colors : &ownColors, &t[0], &t[1], &t[2]);
    if (triple)
        std::copy(t, t + 3, triple);
    return params;
}

void take(MSPEffect& effect, const QString& params, int colorCount = 0, int numColors = 0, float Y = 0, float x = 0,
          float y = 0) {
    QList<ZelColor> colors;
    for (int i = 0; i < colorCount; ++i)
        colors << ZelColor::fromRgb8(i * 40, 255 - i, 7);
    effect.setParams(params.isNull() ? QStringList() : params.split(QLatin1Char(',')), colors, numColors, 0, Y, x, y);
}

QString joined(const MSPEffect& effect) {
    return paramsOf(effect).join(QLatin1Char(','));
}

} // namespace

class TestMSPEffects : public QObject {
    Q_OBJECT

private slots:
    void init() { ModelFixture::reset(); }

    void factoryMakesEachKind() {
        for (int type = 0; type < MSPEffect::typeCount; ++type)
            QCOMPARE(make(type)->type(), type);
        QVERIFY(!make(8) && !make(-1));
        QCOMPARE(MSPEffect::nameForType(8), QStringLiteral("undefined"));
    }

    void settersSignalOnlyChanges() {
        MSPFixedColorEffect fixed;
        QStringList order;
        connect(&fixed, &MSPFixedColorEffect::colorChanged, this, [&](const QString& c) { order << c; });
        connect(&fixed, &MSPEffect::effectParamsChanged, this, [&] { order << QStringLiteral("params"); });
        fixed.setColor(QStringLiteral("#ff0000"));
        fixed.setColor(QStringLiteral("#00ff00"));
        QCOMPARE(order, QStringList({"#00ff00", "params"}));

        auto wash = make(4);
        QSignalSpy params(wash.get(), &MSPEffect::effectParamsChanged);
        for (const char* name : {"speed", "direction", "width"}) {
            wash->setProperty(name, wash->property(name));
            wash->setProperty(name, wash->property(name).toInt() + 1);
        }
        auto* custom = static_cast<MSPCustomWashEffect*>(wash.get());
        custom->setColorList(custom->colorList());
        custom->setColorList({QStringLiteral("#0000ff")});
        QCOMPARE(params.count(), 4);

        // setParams fills the fields quietly.
        take(*wash, QStringLiteral("9,0,3"), 6, 1);
        QCOMPARE(params.count(), 4);
        QCOMPARE(custom->speed(), 9);
    }

    void fixedColor() {
        MSPFixedColorEffect fixed;
        QCOMPARE(joined(fixed), QStringLiteral("255,0,0"));
        take(fixed, QStringLiteral("10,20,30"));
        QCOMPARE(ZelColor(fixed.color()), ZelColor::fromRgb8(10, 20, 30));
        float triple[3];
        QCOMPARE(paramsOf(fixed, nullptr, triple), QStringList({"10", "20", "30"}));
        QVERIFY(triple[0] == 0 && triple[1] == 0 && triple[2] == 0);

        for (const QString& wrong : {QStringLiteral("1,2"), QStringLiteral("1,2,3,4"), QString()})
            take(fixed, wrong);
        QCOMPARE(ZelColor(fixed.color()), ZelColor::fromRgb8(10, 20, 30));
        take(fixed, QStringLiteral("300,-5,abc"));
        QCOMPARE(ZelColor(fixed.color()), ZelColor::fromRgb8(255, 0, 0));

        // Any non-zero member of the triple wins over the parameters, even malformed ones.
        take(fixed, QStringLiteral("1"), 0, 0, 0, 0, 0.1f);
        QVERIFY(ZelColor(fixed.color()).spec() == ZelColor::Yxy && float(ZelColor(fixed.color()).gety()) == 0.1f);
        take(fixed, QStringLiteral("1,2,3"), 0, 0, 0.5f, 0.3127f, 0.329f);
        QCOMPARE(paramsOf(fixed, nullptr, triple).size(), 3);
        QVERIFY(triple[0] == 0.5f && triple[1] == 0.3127f && triple[2] == 0.329f);
    }

    void variableColor() {
        auto variable = make(1);
        variable->setProperty("color", QStringLiteral("#hsb:35900:65535:65535:65535"));
        QCOMPARE(joined(*variable), QStringLiteral("254,255,255"));

        take(*variable, QStringLiteral("128,200,100"));
        const ZelColor color(variable->property("color").toString());
        QVERIFY(color.hue8() == 181 && color.saturation8() == 200 && color.value8() == 100);
        // Every hue step read from the keypad goes out as the same step again.
        for (int step = 0; step < 255; ++step) {
            take(*variable, QStringLiteral("%1,200,100").arg(step));
            QCOMPARE(joined(*variable), QStringLiteral("%1,200,100").arg(step));
        }
        take(*variable, QStringLiteral("nan,1e30,-7"));
        QVERIFY(ZelColor(variable->property("color").toString()).isValid());
        take(*variable, QString(), 0, 0, 0.2f, 0.3f, 0.3f);
        QCOMPARE(ZelColor(variable->property("color").toString()).spec(), int(ZelColor::Yxy));
    }

    void washes_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("params");
        QTest::addColumn<int>("colors");
        QTest::addColumn<int>("numColors");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("colorsKept");
        QTest::newRow("wash clamped high") << 2 << "40,7" << 0 << 0 << "32,1" << 0;
        QTest::newRow("wash clamped low") << 2 << "0,-3" << 0 << 0 << "1,0" << 0;
        QTest::newRow("wash one text") << 2 << "5" << 0 << 0 << "1,0" << 0;
        QTest::newRow("wash not numbers") << 2 << "fast,left" << 0 << 0 << "1,0" << 0;
        QTest::newRow("rainbow narrow") << 3 << "1,0,2" << 6 << 6 << "1,0,4" << 6;
        QTest::newRow("rainbow wide") << 3 << "1,0,36" << 6 << 6 << "1,0,35" << 6;
        QTest::newRow("custom wide") << 4 << "12,1,40" << 6 << 2 << "12,1,32" << 2;
        QTest::newRow("custom count too high") << 4 << "1,0,5" << 6 << 99 << "1,0,5" << 6;
        QTest::newRow("custom count negative") << 4 << "1,0,5" << 6 << -4 << "1,0,5" << 0;
        QTest::newRow("custom five colours") << 4 << "9,1,9" << 5 << 5 << "1,0,1" << 2;
        QTest::newRow("custom seven colours") << 4 << "9,1,9" << 7 << 7 << "1,0,1" << 2;
        QTest::newRow("custom two texts") << 4 << "9,1" << 6 << 6 << "1,0,1" << 2;
    }

    void washes() {
        QFETCH(int, type);
        QFETCH(QString, params);
        QFETCH(int, colors);
        QFETCH(int, numColors);
        QFETCH(QString, result);
        QFETCH(int, colorsKept);
        auto wash = make(type);
        take(*wash, params, colors, numColors);
        QList<ZelColor> out;
        QCOMPARE(paramsOf(*wash, &out).join(QLatin1Char(',')), result);
        QCOMPARE(out.size(), colorsKept);
        if (colorsKept > 1 && colorsKept == qBound(0, numColors, 6))
            QCOMPARE(out.at(1), ZelColor::fromRgb8(40, 254, 7));
    }

    void washKeepsSixColors() {
        MSPCustomWashEffect wash;
        const QStringList seven = QStringLiteral("#000001 #000002 #000003 #000004 #000005 #000006 #000007").split(' ');
        wash.setColorList(seven);
        QCOMPARE(wash.colorList(), seven.mid(0, 6));
    }

    void randomAndWhite() {
        auto random = make(5);
        take(*random, QStringLiteral("99,2"));
        QCOMPARE(joined(*random), QStringLiteral("99,1"));
        take(*random, QStringLiteral("4,0"));
        take(*random, QStringLiteral("8"));
        QCOMPARE(joined(*random), QStringLiteral("4,0"));

        for (int type : {6, 7}) {
            auto white = make(type);
            white->setProperty("temperature", 300);
            for (auto [percent, device] : {std::pair{100, "255"}, {50, "128"}, {0, "0"}, {1, "3"}}) {
                white->setProperty("brightness", percent);
                QCOMPARE(joined(*white), QStringLiteral("300,") + QLatin1String(device));
                white->setProperty("brightness", 33);
                take(*white, QStringLiteral("300,") + QLatin1String(device));
                QCOMPARE(white->property("brightness").toInt(), percent);
            }
            take(*white, QStringLiteral("1,1e30"));
            QCOMPARE(joined(*white), QStringLiteral("1,255"));
            take(*white, QStringLiteral("1,nan"));
            take(*white, QStringLiteral("5"));
            QCOMPARE(joined(*white), QStringLiteral("1,0"));
        }
    }
};

LUMETTO_TEST_MAIN_CORE(TestMSPEffects, "tst_MSPEffects")
#include "tst_MSPEffects.moc"

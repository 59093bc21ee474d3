#include "TestEnvironment.h"

#include "MSPColorWashEffect.h"
#include "MSPCustomWashEffect.h"
#include "MSPDuoWhiteEffect.h"
#include "MSPEffectFactory.h"
#include "MSPFixedColorEffect.h"
#include "MSPRainbowWashEffect.h"
#include "MSPRandomColorEffect.h"
#include "MSPVariableColorEffect.h"
#include "MSPWhiteEffect.h"
#include "SystemConfiguration.h"

#include <QSignalSpy>

#include <memory>

namespace {

struct DeviceForm {
    QStringList params;
    QList<ZelColor> colors;
    float Y = -1;
    float x = -1;
    float y = -1;
};

DeviceForm deviceForm(const MSPEffect& effect) {
    DeviceForm form;
    form.params << QStringLiteral("stale");
    form.colors << ZelColor::fromRgb8(1, 2, 3);
    effect.getParams(&form.params, &form.colors, &form.Y, &form.x, &form.y);
    return form;
}

void take(MSPEffect& effect, const QStringList& params, const QList<ZelColor>& colors = {}, int numColors = 0,
          float Y = 0, float x = 0, float y = 0) {
    effect.setParams(params, colors, numColors, 0, Y, x, y);
}

QList<ZelColor> sixColors() {
    return {ZelColor::fromRgb8(255, 0, 0), ZelColor::fromRgb8(0, 255, 0), ZelColor::fromRgb8(0, 0, 255),
            ZelColor::fromRgb8(1, 2, 3),   ZelColor::fromRgb8(4, 5, 6),   ZelColor::fromRgb8(7, 8, 9)};
}

QStringList texts(std::initializer_list<const char*> list) {
    QStringList result;
    for (const char* s : list)
        result << QString::fromLatin1(s);
    return result;
}

} // namespace

class TestMSPEffects : public QObject {
    Q_OBJECT

private slots:
    void init() { SystemConfiguration::instance()->setFixtureClass(0, false); }

    void factoryMakesEveryKind() {
        const char* classes[] = {"MSPFixedColorEffect", "MSPFixedColorEffect", "MSPColorWashEffect",
                                 "MSPCustomWashEffect", "MSPCustomWashEffect", "MSPRandomColorEffect",
                                 "MSPWhiteEffect",      "MSPWhiteEffect"};
        QObject parent;
        for (int type = 0; type < MSPEffect::typeCount; ++type) {
            MSPEffect* effect = MSPEffectFactory::instance()->create(type, &parent);
            QVERIFY(effect);
            QCOMPARE(effect->type(), type);
            QCOMPARE(effect->parent(), &parent);
            // Variable colour, rainbow and Duo white report their base's meta-object.
            QCOMPARE(effect->metaObject()->className(), classes[type]);
        }
        QVERIFY(!MSPEffectFactory::instance()->create(8, nullptr));
        QVERIFY(!MSPEffectFactory::instance()->create(-1, nullptr));
        QCOMPARE(MSPEffectFactory::instance(), MSPEffectFactory::instance());
    }

    void names() {
        const QStringList expected = {"Fixed Color", "Variable Color", "Color Wash", "Rainbow Wash",
                                      "Custom Wash", "Random Color",   "RGB White",  "Duo White"};
        for (int type = 0; type < MSPEffect::typeCount; ++type)
            QCOMPARE(MSPEffect::nameForType(type), expected.at(type));
        QCOMPARE(MSPEffect::nameForType(8), QStringLiteral("undefined"));
        QCOMPARE(MSPEffect::nameForType(-1), QStringLiteral("undefined"));
    }

    void conversionSlotsInOrder() {
        const QMetaObject& meta = MSPEffect::staticMetaObject;
        const int set = meta.indexOfMethod(
            "setParams(QStringList,QList<ZelColor>,int,ColorUtils::HueformProfileID,float,float,float)");
        const int get = meta.indexOfMethod("getParams(QStringList*,QList<ZelColor>*,float*,float*,float*)");
        QVERIFY(set >= meta.methodOffset());
        QVERIFY(get > set);
        QCOMPARE(meta.method(set).methodType(), QMetaMethod::Slot);
    }

    void setterSignals() {
        MSPFixedColorEffect fixed;
        QStringList order;
        connect(&fixed, &MSPFixedColorEffect::colorChanged, this, [&](const QString& c) { order << c; });
        connect(&fixed, &MSPEffect::effectParamsChanged, this, [&] { order << QStringLiteral("params"); });
        fixed.setColor(QStringLiteral("#ff0000"));
        QVERIFY(order.isEmpty());
        fixed.setColor(QStringLiteral("#00ff00"));
        QCOMPARE(order, texts({"#00ff00", "params"}));

        MSPCustomWashEffect wash;
        QSignalSpy params(&wash, &MSPEffect::effectParamsChanged);
        QSignalSpy speed(&wash, &MSPColorWashEffect::speedChanged);
        QSignalSpy width(&wash, &MSPCustomWashEffect::widthChanged);
        QSignalSpy list(&wash, &MSPCustomWashEffect::colorListChanged);
        wash.setSpeed(1);
        wash.setWidth(1);
        wash.setColorList(wash.colorList());
        QCOMPARE(params.count(), 0);
        wash.setSpeed(7);
        wash.setDirection(1);
        wash.setWidth(9);
        wash.setColorList(texts({"#0000ff"}));
        QCOMPARE(speed.count(), 1);
        QCOMPARE(speed.at(0).at(0).toInt(), 7);
        QCOMPARE(width.count(), 1);
        QCOMPARE(list.count(), 1);
        QCOMPARE(params.count(), 4);

        MSPRandomColorEffect random;
        QSignalSpy fade(&random, &MSPRandomColorEffect::fadeChanged);
        random.setFade(false);
        random.setFade(true);
        QCOMPARE(fade.count(), 1);

        MSPDuoWhiteEffect white;
        QSignalSpy temperature(&white, &MSPWhiteEffect::temperatureChanged);
        QSignalSpy whiteParams(&white, &MSPEffect::effectParamsChanged);
        white.setTemperature(0);
        white.setTemperature(200);
        white.setBrightness(100);
        white.setBrightness(10);
        QCOMPARE(temperature.count(), 1);
        QCOMPARE(whiteParams.count(), 2);
    }

    void setParamsEmitsNothing() {
        MSPColorWashEffect wash;
        QSignalSpy params(&wash, &MSPEffect::effectParamsChanged);
        QSignalSpy speed(&wash, &MSPColorWashEffect::speedChanged);
        take(wash, texts({"9", "1"}));
        QCOMPARE(wash.speed(), 9);
        QCOMPARE(params.count() + speed.count(), 0);
    }

    void fixedColor() {
        MSPFixedColorEffect fixed;
        QCOMPARE(fixed.color(), QStringLiteral("#ff0000"));
        DeviceForm form = deviceForm(fixed);
        QCOMPARE(form.params, texts({"255", "0", "0"}));
        QVERIFY(form.colors.isEmpty());
        QCOMPARE(form.Y + form.x + form.y, 0.0f);

        take(fixed, texts({"10", "20", "30"}));
        QCOMPARE(ZelColor(fixed.color()), ZelColor::fromRgb8(10, 20, 30));
        QCOMPARE(deviceForm(fixed).params, texts({"10", "20", "30"}));

        const QString before = fixed.color();
        take(fixed, texts({"1", "2"}));
        take(fixed, texts({"1", "2", "3", "4"}));
        take(fixed, {});
        QCOMPARE(fixed.color(), before);

        // Out of range and not a number.
        take(fixed, texts({"300", "-5", "abc"}));
        QCOMPARE(ZelColor(fixed.color()), ZelColor::fromRgb8(255, 0, 0));
    }

    void fixedColorFromChromaticity() {
        MSPFixedColorEffect fixed;
        // Any non-zero member of the triple wins over the parameters, also when they are malformed.
        take(fixed, texts({"1"}), {}, 0, 0, 0, 0.1f);
        ZelColor color(fixed.color());
        QCOMPARE(color.spec(), int(ZelColor::Yxy));
        QCOMPARE(float(color.gety()), 0.1f);
        QCOMPARE(color.getx(), 0.0);

        take(fixed, texts({"1", "2", "3"}), {}, 0, 0.5f, 0.3127f, 0.329f);
        const DeviceForm form = deviceForm(fixed);
        QCOMPARE(form.Y, 0.5f);
        QCOMPARE(form.x, 0.3127f);
        QCOMPARE(form.y, 0.329f);
        QCOMPARE(form.params.size(), 3);
    }

    void variableColor() {
        MSPVariableColorEffect variable;
        QCOMPARE(variable.type(), 1);
        ZelColor hue359;
        hue359.setHsv8(359, 255, 255);
        variable.setColor(hue359.aName());
        // 359 degrees scale to 254, truncated.
        QCOMPARE(deviceForm(variable).params, texts({"254", "255", "255"}));

        take(variable, texts({"128", "200", "100"}));
        const ZelColor color(variable.color());
        QCOMPARE(color.hue8(), 181);
        QCOMPARE(color.saturation8(), 200);
        QCOMPARE(color.value8(), 100);
        take(variable, texts({"255", "1", "2"}));
        QCOMPARE(ZelColor(variable.color()).hue8() % 360, 0);

        // Every hue step read from the keypad goes out as the same step again.
        for (int step = 0; step < 255; ++step) {
            take(variable, QStringList({QString::number(step), QStringLiteral("200"), QStringLiteral("100")}));
            QCOMPARE(deviceForm(variable).params,
                     QStringList({QString::number(step), QStringLiteral("200"), QStringLiteral("100")}));
        }

        const QString before = variable.color();
        take(variable, texts({"1", "2"}));
        QCOMPARE(variable.color(), before);
        take(variable, texts({"nan", "1e30", "-7"}));
        QVERIFY(ZelColor(variable.color()).isValid());

        take(variable, {}, {}, 0, 0.2f, 0.3f, 0.3f);
        QCOMPARE(ZelColor(variable.color()).spec(), int(ZelColor::Yxy));
        const DeviceForm form = deviceForm(variable);
        QCOMPARE(form.x, 0.3f);
        QCOMPARE(form.params.size(), 3);
    }

    void colorWash_data() {
        QTest::addColumn<QStringList>("params");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("direction");
        QTest::newRow("clamped high") << texts({"40", "7"}) << 32 << 1;
        QTest::newRow("clamped low") << texts({"0", "-3"}) << 1 << 0;
        QTest::newRow("three texts") << texts({"5", "1", "9"}) << 5 << 1;
        QTest::newRow("one text ignored") << texts({"5"}) << 3 << 0;
        QTest::newRow("not numbers") << texts({"fast", "left"}) << 1 << 0;
    }

    void colorWash() {
        QFETCH(QStringList, params);
        QFETCH(int, speed);
        QFETCH(int, direction);
        MSPColorWashEffect wash;
        wash.setSpeed(3);
        take(wash, params);
        QCOMPARE(wash.speed(), speed);
        QCOMPARE(wash.direction(), direction);
        QCOMPARE(deviceForm(wash).params, QStringList({QString::number(speed), QString::number(direction)}));
    }

    void washWidths() {
        MSPRainbowWashEffect rainbow;
        QCOMPARE(rainbow.type(), 3);
        QCOMPARE(rainbow.width(), 4);
        QCOMPARE(rainbow.minimumWidth(), 4);
        QCOMPARE(rainbow.maximumWidth(), 35);
        QCOMPARE(rainbow.colorList(), texts({"#ff0000", "#00ff00"}));
        take(rainbow, texts({"1", "0", "2"}), sixColors(), 6);
        QCOMPARE(rainbow.width(), 4);
        take(rainbow, texts({"1", "0", "35"}), sixColors(), 6);
        QCOMPARE(rainbow.width(), 35);

        MSPCustomWashEffect custom;
        QCOMPARE(custom.width(), 1);
        QCOMPARE(custom.speed(), 1);
        take(custom, texts({"1", "0", "40"}), sixColors(), 6);
        QCOMPARE(custom.width(), 32);
        take(custom, texts({"1", "0", "0"}), sixColors(), 6);
        QCOMPARE(custom.width(), 1);
    }

    void washColors() {
        MSPCustomWashEffect wash;
        take(wash, texts({"12", "1", "5"}), sixColors(), 2);
        QCOMPARE(wash.speed(), 12);
        QCOMPARE(wash.direction(), 1);
        QCOMPARE(wash.width(), 5);
        QCOMPARE(wash.colorList(), texts({"#ff0000", "#00ff00"}));
        DeviceForm form = deviceForm(wash);
        QCOMPARE(form.params, texts({"12", "1", "5"}));
        QCOMPARE(form.colors.size(), 2);
        QCOMPARE(form.colors.at(1), ZelColor::fromRgb8(0, 255, 0));

        // The count names more colours than the six supplied, or fewer than none.
        take(wash, texts({"12", "1", "5"}), sixColors(), 99);
        QCOMPARE(wash.colorList().size(), 6);
        take(wash, texts({"12", "1", "5"}), sixColors(), -4);
        QVERIFY(wash.colorList().isEmpty());
        QVERIFY(deviceForm(wash).colors.isEmpty());

        // Wrong shapes leave everything as it was.
        take(wash, texts({"12", "1", "5"}), sixColors(), 3);
        QList<ZelColor> seven = sixColors();
        seven << ZelColor::fromRgb8(9, 9, 9);
        take(wash, texts({"30", "0", "9"}), seven, 7);
        take(wash, texts({"30", "0", "9"}), sixColors().mid(0, 5), 5);
        take(wash, texts({"30", "0"}), sixColors(), 6);
        QCOMPARE(wash.speed(), 12);
        QCOMPARE(wash.width(), 5);
        QCOMPARE(wash.colorList().size(), 3);
    }

    void washKeepsSixColors() {
        MSPCustomWashEffect wash;
        QStringList seven;
        for (int i = 0; i < 7; ++i)
            seven << ZelColor::fromRgb8(i, i, i).aName();
        wash.setColorList(seven);
        QCOMPARE(wash.colorList(), seven.mid(0, 6));
    }

    void randomColor() {
        MSPRandomColorEffect random;
        take(random, texts({"99", "2"}));
        QCOMPARE(random.speed(), 99);
        QVERIFY(random.fade());
        QCOMPARE(deviceForm(random).params, texts({"99", "1"}));
        take(random, texts({"4", "0"}));
        QVERIFY(!random.fade());
        QCOMPARE(deviceForm(random).params, texts({"4", "0"}));
        take(random, texts({"8"}));
        QCOMPARE(random.speed(), 4);
    }

    void whiteBrightness_data() {
        QTest::addColumn<int>("percent");
        QTest::addColumn<QString>("device");
        QTest::newRow("full") << 100 << "255";
        QTest::newRow("half") << 50 << "128";
        QTest::newRow("off") << 0 << "0";
        QTest::newRow("one") << 1 << "3";
    }

    void whiteBrightness() {
        QFETCH(int, percent);
        QFETCH(QString, device);
        for (int type : {MSPEffect::RgbWhite, MSPEffect::DuoWhite}) {
            std::unique_ptr<MSPEffect> effect(MSPEffectFactory::instance()->create(type, nullptr));
            auto* white = qobject_cast<MSPWhiteEffect*>(effect.get());
            QVERIFY(white);
            white->setTemperature(77);
            white->setBrightness(percent);
            const DeviceForm form = deviceForm(*white);
            QCOMPARE(form.params, QStringList({QStringLiteral("77"), device}));
            white->setBrightness(33);
            take(*white, form.params);
            QCOMPARE(white->brightness(), percent);
            QCOMPARE(white->temperature(), 77);
        }
    }

    void whiteFromDevice() {
        MSPWhiteEffect white;
        QCOMPARE(white.brightness(), 100);
        take(white, texts({"300", "128"}));
        QCOMPARE(white.temperature(), 300);
        QCOMPARE(white.brightness(), 50);
        take(white, texts({"1", "255"}));
        QCOMPARE(white.brightness(), 100);
        take(white, texts({"1", "1e30"}));
        QCOMPARE(white.brightness(), 100);
        take(white, texts({"1", "nan"}));
        QCOMPARE(white.brightness(), 0);
        take(white, texts({"5"}));
        QCOMPARE(white.temperature(), 1);
    }
};

LUMETTO_TEST_MAIN_CORE(TestMSPEffects, "tst_MSPEffects")
#include "tst_MSPEffects.moc"

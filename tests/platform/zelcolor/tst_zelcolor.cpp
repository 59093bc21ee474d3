#include "TestEnvironment.h"
#include "ZelColor.h"

#include <QLoggingCategory>

#include <array>
#include <cmath>

namespace {

bool inUnitRange(double v) {
    return std::isfinite(v) && v >= 0.0 && v <= 1.0;
}

bool near(double a, double b, double tolerance) {
    return std::fabs(a - b) < tolerance;
}

ZelColor yxy(double Y, double x, double y, double alpha = 1.0) {
    ZelColor c;
    c.setYxyF(Y, x, y, alpha);
    return c;
}

ZelColor hsb8(int h, int s, int v, int alpha = 255) {
    ZelColor c;
    c.setHsv8(h, s, v, alpha);
    return c;
}

} // namespace

class TestZelColor : public QObject {
    Q_OBJECT

private slots:
    void textRoundTrip_data() {
        QTest::addColumn<ZelColor>("color");
        QTest::newRow("rgb8 alpha") << ZelColor::fromRgb8(255, 0, 128, 7);
        QTest::newRow("rgb16 odd alpha") << ZelColor::fromRgb16(257, 514, 771, 1);
        QTest::newRow("rgbF") << ZelColor::fromRgbF(0.1, 0.2, 0.3, 0.4);
        QTest::newRow("hsb") << ZelColor::fromHsvF(0.123456, 0.5, 0.75);
        QTest::newRow("hsb achromatic clear") << hsb8(359, 0, 255, 0);
        QTest::newRow("yxy thirds") << yxy(1.0 / 3.0, 0.31271234567, 0.32901234567, 0.5);
        QTest::newRow("yxy tiny Y") << yxy(1e-300, 0.7, 0.3);
        QTest::newRow("yxy large Y") << yxy(65.535, 1.0, 0.0);
        QTest::newRow("nch rgbw") << ZelColor::fromNChannelF({0.1, 0.25, 1.0 / 3.0, 0.999999}, 1, 2);
        ZelColor nch = ZelColor::fromNChannelF({0.5, 0.0}, -3, 7);
        nch.setNChannelRenderType(2);
        nch.setAlpha8(200);
        QTest::newRow("nch tunable") << nch;
        QTest::newRow("nch no channels") << ZelColor::fromNChannelF({}, 1, 8);
    }

    void textRoundTrip() {
        QFETCH(ZelColor, color);
        const QString text = color.aName();
        // Lists of colours travel joined by ',' and '|'.
        QVERIFY2(text.startsWith(QLatin1Char('#')) && !text.contains(QLatin1Char(',')) &&
                     !text.contains(QLatin1Char('|')),
                 qPrintable(text));
        ZelColor back(text);
        QVERIFY2(back == color && back.spec() == color.spec() && back.alpha16() == color.alpha16(),
                 qPrintable(text + QLatin1String(" -> ") + back.aName()));
        // Read and written again any number of times, nothing moves.
        for (int i = 0; i < 3; ++i)
            back = ZelColor(back.aName());
        QCOMPARE(back.aName(), text);
    }

    void namesAndUnreadableTexts() {
        const ZelColor red(QStringLiteral("#ff0000"));
        QCOMPARE(red, ZelColor::fromRgb16(65535, 0, 0));
        for (const char* same : {"#FF0000", "red", "#f00", "#ffff00000000"})
            QCOMPARE(ZelColor(QString::fromLatin1(same)), red);
        const ZelColor translucent(QStringLiteral("#80ff0000"));
        QVERIFY(translucent.alpha8() == 128 && translucent.aName() == QStringLiteral("#80ff0000"));
        QCOMPARE(ZelColor(QStringLiteral("steelblue")).toQColor(), QColor(QStringLiteral("steelblue")));
        const QColor deep = QColor::fromRgba64(1, 2, 65533, 40000);
        QCOMPARE(ZelColor(deep).toQColor(), deep);
        QVERIFY(!ZelColor(QColor()).isValid() && !ZelColor().toQColor().isValid());

        QStringList texts =
            QStringLiteral("# #zzzzzz #12345 #ff0000,#00ff00 notacolour #hsb:1:2:3 #hsb:36000:0:0:0 #hsb:-1:0:0:0 "
                           "#hsb:+1:0:0:0 #hsb:99999999999999999999:0:0:0 #rgb16:10000:0:0:0 "
                           "#rgb16:0x01:0000:0000:ffff #yxy:nan:0.3:0.3:65535 #yxy:1:inf:0.3:65535 "
                           "#yxy:1e999:0.3:0.3:65535 #yxy:0.5:0.3:0.3:70000 #yxy:0.5:0.3:0.3:65535:1 "
                           "#nch:10:1:0:65535:0.5 #nch:1:1:0:65535:1.5 #nch:1:1:0:65535:nan")
                .split(QLatin1Char(' '));
        texts << QString() << QStringLiteral("   ") << QString::fromUtf8("#\u0661\u0662\u0663\u0664\u0665\u0666")
              << QStringLiteral("#") + QString(1 << 20, QLatin1Char('f'))
              << QStringLiteral("#nch:1:1:0:65535") + QStringLiteral(":0").repeated(100000);
        QLoggingCategory::setFilterRules(QStringLiteral("default.warning=false"));
        for (const QString& text : qAsConst(texts)) {
            ZelColor color = ZelColor::fromRgb8(1, 2, 3);
            color.setNamedColor(text);
            QVERIFY2(!color.isValid() && color.aName().isEmpty() && color.red8() == 0 && color.getY() == 0.0 &&
                         color.getx() == 0.0,
                     qPrintable(text.left(40)));
        }
        QLoggingCategory::setFilterRules(QString());
    }

    void knownColourScience() {
        const double cases[][6] = {{255, 255, 255, 0.3127, 0.3290, 1.0},
                                   {255, 0, 0, 0.64, 0.33, 0.2126},
                                   {0, 255, 0, 0.30, 0.60, 0.7152},
                                   {0, 0, 255, 0.15, 0.06, 0.0722}};
        for (const auto& c : cases) {
            const ZelColor color = ZelColor::fromRgb8(int(c[0]), int(c[1]), int(c[2]));
            QVERIFY(near(color.getx(), c[3], 1e-4) && near(color.gety(), c[4], 1e-4) && near(color.getY(), c[5], 1e-4));
        }
        // The transfer curve: sRGB 0.5 is 21.4 % linear light.
        QVERIFY(near(ZelColor::fromRgbF(0.5, 0.5, 0.5).getY(), 0.21404, 1e-4));
        // Black keeps the white point's chromaticity, and comes back black.
        const ZelColor black = ZelColor::fromRgb8(0, 0, 0).convertTo(ZelColor::Yxy);
        QVERIFY(black.getY() == 0.0 && near(black.getx(), 0.3127, 1e-9));
        QCOMPARE(black.convertTo(ZelColor::Rgb).aName(), QStringLiteral("#000000"));
        for (const auto& s : {std::array<double, 3>{0.2, 0.3127, 0.3290}, {0.1, 0.45, 0.4}, {0.15, 0.6, 0.33}}) {
            const ZelColor back = yxy(s[0], s[1], s[2]).convertTo(ZelColor::Rgb).convertTo(ZelColor::Yxy);
            QVERIFY2(near(back.getY(), s[0], 5e-4) && near(back.getx(), s[1], 5e-4) && near(back.gety(), s[2], 5e-4),
                     qPrintable(back.aName()));
        }

        // A spectral green is pulled in towards white at the same luminance: still green, same Y.
        const ZelColor spectral = yxy(0.3, 0.0743, 0.8338);
        QVERIFY(spectral.green8() > spectral.red8() && spectral.green8() > spectral.blue8());
        QVERIFY(near(spectral.convertTo(ZelColor::Yxy).getY(), 0.3, 2e-3));
        const ZelColor wild = yxy(-4.0, 2.0, std::nan(""));
        QVERIFY(wild.getY() == 0.0 && wild.getx() == 1.0 && wild.gety() == 0.0);
        QVERIFY(!ZelColor::fromXYZ(std::nan(""), 1, 1).isValid());
        QCOMPARE(ZelColor::fromRgbF(std::nan(""), 2.0, -1.0), ZelColor::fromRgb8(0, 255, 0));
    }

    void hsbEdges() {
        // Hues wrap around, and a hue that rounds up to a full turn is red again.
        QCOMPARE(hsb8(360, 200, 100).aName(), hsb8(0, 200, 100).aName());
        QCOMPARE(hsb8(-1, 255, 255).hue8(), 359);
        QVERIFY(ZelColor::fromHsvF(1.0, 1, 1).hue8() == 0 && ZelColor::fromHsvF(0.99999, 1, 1).hueF() == 0.0);
        // An achromatic HSB colour keeps its hue; levels out of range are clamped.
        ZelColor c;
        c.setHsv8(120, 0, 77, 10, 3);
        QVERIFY(c.hue8() == 120 && c.alpha8() == 10 && c.hueformProfileID() == 3);
        c.setHsv8(10, 999, -5);
        QVERIFY(c.saturation8() == 255 && c.value8() == 0);
    }

    void nChannelThroughProfiles() {
        const ZelColor target = ZelColor::fromRgb8(200, 150, 120);
        for (int profile : {0, 1, 2, 3, 4, 5, 9}) {
            const ZelColor n = target.convertTo(ZelColor::NChannel, 1, profile);
            QVERIFY(n.spec() == ZelColor::NChannel && n.nChannelCount() >= 3);
            for (int i = 0; i < n.nChannelCount(); ++i)
                QVERIFY(inUnitRange(n.getNChannelF(i)));
            const ZelColor back = n.convertTo(ZelColor::Rgb);
            QVERIFY2(std::abs(back.red8() - 200) <= 1 && std::abs(back.green8() - 150) <= 1 &&
                         std::abs(back.blue8() - 120) <= 1,
                     qPrintable(QStringLiteral("profile %1: %2").arg(profile).arg(back.aName())));
        }
        // The white emitter takes over the grey share of an RGBW mix, amber the orange of an RGBA one.
        QVERIFY(ZelColor::fromRgb8(255, 255, 255).convertTo(ZelColor::NChannel, 1, 2).getNChannel8(3) > 200);
        QVERIFY(ZelColor::fromRgb8(255, 150, 0).convertTo(ZelColor::NChannel, 1, 3).getNChannel8(3) > 100);
        // A dual-white fixture makes any white between its emitters.
        const ZelColor dual = yxy(0.4, 0.40, 0.38).convertTo(ZelColor::NChannel, 1, 6);
        QVERIFY(dual.nChannelCount() == 2 && near(dual.getY(), 0.4, 1e-6) && near(dual.getx(), 0.40, 0.01) &&
                near(dual.gety(), 0.38, 0.01));
        QVERIFY(!target.convertTo(ZelColor::NChannel, 1, 42).isValid());
        QVERIFY(!ZelColor::fromNChannelF({0.5}, 1, -1).isValid());
    }
};

LUMETTO_TEST_MAIN_CORE(TestZelColor, "tst_zelcolor")
#include "tst_zelcolor.moc"

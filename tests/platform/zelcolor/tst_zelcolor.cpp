#include "TestEnvironment.h"
#include "ZelColor.h"

#include <QLoggingCategory>
#include <QObject>
#include <QVariant>
#include <cmath>

namespace {

bool inUnitRange(double v) {
    return std::isfinite(v) && v >= 0.0 && v <= 1.0;
}

} // namespace

// Receives colours through queued calls, as the editors and the model pass them around.
class ColorReceiver : public QObject {
    Q_OBJECT
public:
    ZelColor last;
    int calls = 0;
public slots:
    void take(const ZelColor& color) {
        last = color;
        ++calls;
    }
};

class TestZelColor : public QObject {
    Q_OBJECT

private slots:
    void textRoundTrip_data();
    void textRoundTrip();
    void hexAndToolkitNames();
    void unreadableTextGivesNoColour_data();
    void unreadableTextGivesNoColour();
    void anyAcceptedTextRoundTrips();
    void knownColourScience();
    void chromaticityRoundTripInsideGamut();
    void outOfGamutStaysInRange();
    void hsvEdgeCases();
    void rgbToHsbKeepsBytes();
    void channelSettersBuildColours();
    void nChannelThroughProfiles();
    void travelsInQueuedCalls();
};

void TestZelColor::textRoundTrip_data() {
    QTest::addColumn<ZelColor>("color");
    QTest::newRow("rgb8") << ZelColor::fromRgb8(18, 52, 86);
    QTest::newRow("rgb8 alpha") << ZelColor::fromRgb8(255, 0, 128, 7);
    QTest::newRow("rgb16") << ZelColor::fromRgb16(1, 65534, 12345);
    QTest::newRow("rgb16 odd alpha") << ZelColor::fromRgb16(257, 514, 771, 1);
    QTest::newRow("rgbF") << ZelColor::fromRgbF(0.1, 0.2, 0.3, 0.4);
    QTest::newRow("transparent black") << ZelColor::fromRgb8(0, 0, 0, 0);
    QTest::newRow("hsb") << ZelColor::fromHsvF(0.123456, 0.5, 0.75);
    ZelColor hsb;
    hsb.setHsv8(359, 0, 255, 0);
    QTest::newRow("hsb achromatic clear") << hsb;
    QTest::newRow("yxy") << ZelColor::fromXYZ(0.25, 0.5, 0.125);
    ZelColor yxy;
    yxy.setYxyF(1.0 / 3.0, 0.31271234567, 0.32901234567, 0.5);
    QTest::newRow("yxy thirds") << yxy;
    yxy.setYxyF(1e-300, 0.7, 0.3);
    QTest::newRow("yxy tiny Y") << yxy;
    yxy.setYxyF(65.535, 1.0, 0.0);
    QTest::newRow("yxy large Y") << yxy;
    yxy.setYxyF(0.0, 0.0, 0.0, 0.0);
    QTest::newRow("yxy zero") << yxy;
    QTest::newRow("nch rgbw") << ZelColor::fromNChannelF({0.1, 0.25, 1.0 / 3.0, 0.999999}, 1, 2);
    ZelColor nch = ZelColor::fromNChannelF({0.5, 0.0}, -3, 7);
    nch.setNChannelRenderType(2);
    nch.setAlpha8(200);
    QTest::newRow("nch tunable") << nch;
    QTest::newRow("nch no channels") << ZelColor::fromNChannelF({}, 1, 8);
}

void TestZelColor::textRoundTrip() {
    QFETCH(ZelColor, color);
    QVERIFY(color.isValid());
    const QString text = color.aName();
    QVERIFY2(text.startsWith(QLatin1Char('#')), qPrintable(text));
    QVERIFY2(!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('|')), qPrintable(text));
    ZelColor back(text);
    QVERIFY2(back == color, qPrintable(text + QLatin1String(" -> ") + back.aName()));
    QCOMPARE(back.spec(), color.spec());
    QCOMPARE(back.alpha16(), color.alpha16());
    QCOMPARE(back.aName(), text);
    // Read and written again any number of times, nothing moves.
    for (int i = 0; i < 3; ++i)
        back = ZelColor(back.aName());
    QVERIFY(back == color);
}

void TestZelColor::hexAndToolkitNames() {
    const ZelColor red(QStringLiteral("#ff0000"));
    QCOMPARE(red.spec(), int(ZelColor::Rgb));
    QCOMPARE(red.red16(), 65535);
    QCOMPARE(red.green16(), 0);
    QCOMPARE(red.blue16(), 0);
    QCOMPARE(red.alpha8(), 255);
    QCOMPARE(red.aName(), QStringLiteral("#ff0000"));
    QCOMPARE(ZelColor(QStringLiteral("#FF0000")), red);
    QCOMPARE(ZelColor(QStringLiteral("red")), red);
    QCOMPARE(ZelColor(QStringLiteral("#f00")), red);
    QCOMPARE(ZelColor(QStringLiteral("#ffff00000000")), red);

    const ZelColor translucent(QStringLiteral("#80ff0000"));
    QCOMPARE(translucent.alpha8(), 128);
    QCOMPARE(translucent.red8(), 255);
    QCOMPARE(translucent.aName(), QStringLiteral("#80ff0000"));
    QCOMPARE(ZelColor(QStringLiteral("transparent")).alpha16(), 0);

    const QColor steel(QStringLiteral("steelblue"));
    const ZelColor fromName(QStringLiteral("steelblue"));
    QCOMPARE(fromName.toQColor(), steel);
    const QColor deep = QColor::fromRgba64(1, 2, 65533, 40000);
    QCOMPARE(ZelColor(deep).toQColor(), deep);
    QVERIFY(!ZelColor(QColor()).isValid());
    QVERIFY(!ZelColor().toQColor().isValid());
}

void TestZelColor::unreadableTextGivesNoColour_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("blank") << QStringLiteral("   ");
    QTest::newRow("hash") << QStringLiteral("#");
    QTest::newRow("bad hex") << QStringLiteral("#zzzzzz");
    QTest::newRow("five digits") << QStringLiteral("#12345");
    QTest::newRow("list") << QStringLiteral("#ff0000,#00ff00");
    QTest::newRow("word") << QStringLiteral("notacolour");
    QTest::newRow("hsb short") << QStringLiteral("#hsb:1:2:3");
    QTest::newRow("hsb hue range") << QStringLiteral("#hsb:36000:0:0:0");
    QTest::newRow("hsb negative") << QStringLiteral("#hsb:-1:0:0:0");
    QTest::newRow("hsb plus") << QStringLiteral("#hsb:+1:0:0:0");
    QTest::newRow("hsb huge") << QStringLiteral("#hsb:99999999999999999999:0:0:0");
    QTest::newRow("rgb16 wide") << QStringLiteral("#rgb16:10000:0:0:0");
    QTest::newRow("rgb16 prefix") << QStringLiteral("#rgb16:0x01:0000:0000:ffff");
    QTest::newRow("yxy nan") << QStringLiteral("#yxy:nan:0.3:0.3:65535");
    QTest::newRow("yxy inf") << QStringLiteral("#yxy:1:inf:0.3:65535");
    QTest::newRow("yxy overflow") << QStringLiteral("#yxy:1e999:0.3:0.3:65535");
    QTest::newRow("yxy alpha") << QStringLiteral("#yxy:0.5:0.3:0.3:70000");
    QTest::newRow("yxy extra") << QStringLiteral("#yxy:0.5:0.3:0.3:65535:1");
    QTest::newRow("nch profile") << QStringLiteral("#nch:10:1:0:65535:0.5");
    QTest::newRow("nch level") << QStringLiteral("#nch:1:1:0:65535:1.5");
    QTest::newRow("nch nan") << QStringLiteral("#nch:1:1:0:65535:nan");
    QTest::newRow("other digits") << QString::fromUtf8("#\u0661\u0662\u0663\u0664\u0665\u0666");
    QTest::newRow("long") << QStringLiteral("#") + QString(1 << 20, QLatin1Char('f'));
    QTest::newRow("many fields") << QStringLiteral("#nch:1:1:0:65535") + QStringLiteral(":0").repeated(100000);
}

void TestZelColor::unreadableTextGivesNoColour() {
    QFETCH(QString, text);
    ZelColor color = ZelColor::fromRgb8(1, 2, 3);
    color.setNamedColor(text);
    QVERIFY(!color.isValid());
    QCOMPARE(color.aName(), QString());
    QCOMPARE(color.red8(), 0);
    QCOMPARE(color.getY(), 0.0);
    QCOMPARE(color.getx(), 0.0);
}

void TestZelColor::anyAcceptedTextRoundTrips() {
    // Texts put together from the pieces of the forms: whatever is accepted is a stable colour.
    const QStringList forms = {QStringLiteral("#rgb16"), QStringLiteral("#hsb"), QStringLiteral("#yxy"),
                               QStringLiteral("#nch")};
    const QStringList pieces = {QStringLiteral("0"),     QStringLiteral("1"),   QStringLiteral("ff"),
                                QStringLiteral("65535"), QStringLiteral("0.5"), QStringLiteral("1e-7"),
                                QStringLiteral("-"),     QStringLiteral("9"),   QStringLiteral("abcd"),
                                QStringLiteral("35999"), QStringLiteral("2e3"), QStringLiteral(".")};
    quint32 seed = 12345;
    auto next = [&seed](int n) {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 8) % quint32(n));
    };
    int accepted = 0;
    // Most of these texts are refused, each with a warning.
    struct QuietWarnings {
        QuietWarnings() { QLoggingCategory::setFilterRules(QStringLiteral("default.warning=false")); }
        ~QuietWarnings() { QLoggingCategory::setFilterRules(QString()); }
    } quiet;
    for (int i = 0; i < 20000; ++i) {
        const int form = next(forms.size());
        QString text = forms[form];
        // Mostly the right number of fields, sometimes not.
        const int fields = next(4) ? (form == 3 ? 4 + next(4) : 4) : 3 + next(5);
        for (int k = 0; k < fields; ++k) {
            text += QLatin1Char(':') + pieces[next(pieces.size())];
            if (next(3) == 0)
                text += pieces[next(pieces.size())];
        }
        const ZelColor c(text);
        if (!c.isValid())
            continue;
        ++accepted;
        const ZelColor again(c.aName());
        QVERIFY2(again == c, qPrintable(text + QLatin1String(" -> ") + c.aName()));
        QVERIFY(inUnitRange(c.redF()) && inUnitRange(c.greenF()) && inUnitRange(c.blueF()));
    }
    QVERIFY(accepted > 100);
}

void TestZelColor::knownColourScience() {
    struct Case {
        int r, g, b;
        double x, y, Y;
    };
    const Case cases[] = {{255, 255, 255, 0.3127, 0.3290, 1.0},
                          {255, 0, 0, 0.64, 0.33, 0.2126},
                          {0, 255, 0, 0.30, 0.60, 0.7152},
                          {0, 0, 255, 0.15, 0.06, 0.0722}};
    for (const Case& c : cases) {
        const ZelColor color = ZelColor::fromRgb8(c.r, c.g, c.b);
        QVERIFY(std::fabs(color.getx() - c.x) < 1e-4);
        QVERIFY(std::fabs(color.gety() - c.y) < 1e-4);
        QVERIFY(std::fabs(color.getY() - c.Y) < 1e-4);
    }
    // The transfer curve: sRGB 0.5 is 21.4 % linear light.
    QVERIFY(std::fabs(ZelColor::fromRgbF(0.5, 0.5, 0.5).getY() - 0.21404) < 1e-4);
    // Black keeps the white point's chromaticity, and comes back black.
    const ZelColor black = ZelColor::fromRgb8(0, 0, 0).convertTo(ZelColor::Yxy);
    QCOMPARE(black.getY(), 0.0);
    QVERIFY(std::fabs(black.getx() - 0.3127) < 1e-9);
    QCOMPARE(black.convertTo(ZelColor::Rgb).aName(), QStringLiteral("#000000"));
    double X, Y, Z;
    ZelColor::fromRgb8(255, 255, 255).getXYZ(&X, &Y, &Z);
    QVERIFY(std::fabs(X - 0.9505) < 1e-4 && std::fabs(Z - 1.0891) < 1e-4);
}

void TestZelColor::chromaticityRoundTripInsideGamut() {
    const double samples[][3] = {{1.0, 0.3127, 0.3290}, {0.2, 0.3127, 0.3290}, {0.1, 0.45, 0.4},
                                 {0.15, 0.6, 0.33},     {0.05, 0.2, 0.2},      {0.5, 0.3, 0.5}};
    for (const auto& s : samples) {
        ZelColor yxy;
        yxy.setYxyF(s[0], s[1], s[2]);
        const ZelColor back = yxy.convertTo(ZelColor::Rgb).convertTo(ZelColor::Yxy);
        QVERIFY2(std::fabs(back.getY() - s[0]) < 5e-4, qPrintable(back.aName()));
        QVERIFY2(std::fabs(back.getx() - s[1]) < 5e-4, qPrintable(back.aName()));
        QVERIFY2(std::fabs(back.gety() - s[2]) < 5e-4, qPrintable(back.aName()));
    }
}

void TestZelColor::outOfGamutStaysInRange() {
    const double intensities[] = {0.0, 1e-9, 0.2, 1.0, 50.0};
    for (double Y : intensities) {
        for (int i = 0; i <= 20; ++i) {
            for (int j = 0; j <= 20; ++j) {
                ZelColor c;
                c.setYxyF(Y, i / 20.0, j / 20.0);
                const double rgb[3] = {c.redF(), c.greenF(), c.blueF()};
                for (double v : rgb)
                    QVERIFY2(inUnitRange(v), qPrintable(c.aName()));
                QVERIFY(c.red8() >= 0 && c.red8() <= 255);
                const ZelColor hsb = c.convertTo(ZelColor::Hsb);
                QVERIFY(hsb.hue8() >= 0 && hsb.hue8() < 360);
            }
        }
    }
    // A spectral green is pulled in towards white at the same luminance: still green, same Y.
    ZelColor spectral;
    spectral.setYxyF(0.3, 0.0743, 0.8338);
    QVERIFY(spectral.green8() > spectral.red8() && spectral.green8() > spectral.blue8());
    QVERIFY(std::fabs(spectral.convertTo(ZelColor::Yxy).getY() - 0.3) < 2e-3);
    // Values out of their range are brought in, not stored.
    ZelColor wild;
    wild.setY(-4.0);
    wild.setx(2.0);
    wild.sety(std::nan(""));
    QCOMPARE(wild.getY(), 0.0);
    QCOMPARE(wild.getx(), 1.0);
    QCOMPARE(wild.gety(), 0.0);
    QVERIFY(!ZelColor::fromXYZ(std::nan(""), 1, 1).isValid());
    QVERIFY(ZelColor::fromRgbF(std::nan(""), 2.0, -1.0) == ZelColor::fromRgb8(0, 255, 0));
}

void TestZelColor::hsvEdgeCases() {
    const ZelColor grey = ZelColor::fromRgb8(90, 90, 90);
    QCOMPARE(grey.hue8(), 0);
    QCOMPARE(grey.saturation8(), 0);
    QCOMPARE(grey.value8(), 90);

    ZelColor c;
    c.setHsv8(359, 255, 255);
    QCOMPARE(c.hue8(), 359);
    ZelColor wrapped, zero;
    wrapped.setHsv8(360, 200, 100);
    zero.setHsv8(0, 200, 100);
    QCOMPARE(wrapped.hue8(), 0);
    QCOMPARE(wrapped.aName(), zero.aName());
    wrapped.setHsv8(-1, 255, 255);
    QCOMPARE(wrapped.hue8(), 359);
    QCOMPARE(ZelColor::fromHsvF(1.0, 1, 1).hue8(), 0);
    QCOMPARE(ZelColor::fromHsvF(0.99999, 1, 1).hueF(), 0.0);
    const ZelColor cyan = ZelColor::fromHsvF(0.5, 1.0, 1.0);
    QCOMPARE(cyan.red8(), 0);
    QCOMPARE(cyan.green8(), 255);
    QCOMPARE(cyan.blue8(), 255);

    // An achromatic HSB colour keeps its hue.
    c.setHsv8(120, 0, 77, 10, 3);
    QCOMPARE(c.hue8(), 120);
    QCOMPARE(c.alpha8(), 10);
    QCOMPARE(c.hueformProfileID(), 3);

    for (int hue = 0; hue < 360; ++hue) {
        const int saturation = (hue * 7) % 256, value = 255 - hue % 256;
        c.setHsv8(hue, saturation, value);
        QCOMPARE(c.spec(), int(ZelColor::Hsb));
        QCOMPARE(c.hue8(), hue);
        QCOMPARE(c.saturation8(), saturation);
        QCOMPARE(c.value8(), value);
    }
    c.setHsv8(10, 999, -5);
    QCOMPARE(c.saturation8(), 255);
    QCOMPARE(c.value8(), 0);
}

void TestZelColor::rgbToHsbKeepsBytes() {
    // The variable colour effect shows RGB colours as HSB; the bytes must not move.
    for (int r = 0; r < 256; r += 15) {
        for (int g = 0; g < 256; g += 17) {
            for (int b = 0; b < 256; b += 13) {
                const ZelColor rgb = ZelColor::fromRgb8(r, g, b);
                const ZelColor hsb = rgb.convertTo(ZelColor::Hsb, 1, 4);
                QCOMPARE(hsb.hueformProfileID(), 4);
                QCOMPARE(hsb.red8(), r);
                QCOMPARE(hsb.green8(), g);
                QCOMPARE(hsb.blue8(), b);
                const ZelColor again = hsb.convertTo(ZelColor::Rgb);
                QVERIFY(again.red8() == r && again.green8() == g && again.blue8() == b);
            }
        }
    }
}

void TestZelColor::channelSettersBuildColours() {
    ZelColor c;
    c.setRed8(12);
    QCOMPARE(c.spec(), int(ZelColor::Rgb));
    QCOMPARE(c.aName(), QStringLiteral("#0c0000"));
    c.setGreen8(300);
    c.setBlue8(-4);
    QCOMPARE(c.aName(), QStringLiteral("#0cff00"));

    // On another kind the setter starts from that colour's RGB form.
    ZelColor hsb = ZelColor::fromHsvF(0.5, 1.0, 1.0, 128 / 255.0);
    hsb.setRed8(255);
    QCOMPARE(hsb.spec(), int(ZelColor::Rgb));
    QCOMPARE(hsb.aName(), QStringLiteral("#80ffffff"));

    ZelColor yxy;
    yxy.setY(0.25);
    QCOMPARE(yxy.spec(), int(ZelColor::Yxy));
    QCOMPARE(yxy.getx(), 0.0);
    yxy.setx(0.3127);
    yxy.sety(0.329);
    QCOMPARE(yxy.getY(), 0.25);
    QCOMPARE(yxy.getx(), 0.3127);
    QCOMPARE(yxy.gety(), 0.329);
    QCOMPARE(yxy.alpha8(), 255);

    // setY on an RGB colour dims it and keeps its chromaticity.
    ZelColor red = ZelColor::fromRgb8(255, 0, 0, 100);
    red.setY(0.1);
    QCOMPARE(red.spec(), int(ZelColor::Yxy));
    QVERIFY(std::fabs(red.getx() - 0.64) < 1e-4);
    QCOMPARE(red.alpha8(), 100);
    QCOMPARE(red.green8(), 0);
}

void TestZelColor::nChannelThroughProfiles() {
    const ZelColor target = ZelColor::fromRgb8(200, 150, 120);
    for (int profile : {0, 1, 2, 3, 4, 5, 9}) {
        const ZelColor n = target.convertTo(ZelColor::NChannel, 1, profile);
        QCOMPARE(n.spec(), int(ZelColor::NChannel));
        QVERIFY(n.nChannelCount() >= 3);
        for (int i = 0; i < n.nChannelCount(); ++i)
            QVERIFY(inUnitRange(n.getNChannelF(i)));
        const ZelColor back = n.convertTo(ZelColor::Rgb);
        QVERIFY2(std::abs(back.red8() - 200) <= 1 && std::abs(back.green8() - 150) <= 1 &&
                     std::abs(back.blue8() - 120) <= 1,
                 qPrintable(QStringLiteral("profile %1: %2").arg(profile).arg(back.aName())));
    }
    // The white emitter takes over the grey share of an RGBW mix, amber the orange of an RGBA one.
    const ZelColor white = ZelColor::fromRgb8(255, 255, 255).convertTo(ZelColor::NChannel, 1, 2);
    QVERIFY(white.getNChannel8(3) > 200);
    const ZelColor orange = ZelColor::fromRgb8(255, 150, 0).convertTo(ZelColor::NChannel, 1, 3);
    QVERIFY(orange.getNChannel8(3) > 100);
    const ZelColor orangeBack = orange.convertTo(ZelColor::Rgb);
    QVERIFY(std::abs(orangeBack.red8() - 255) <= 1 && std::abs(orangeBack.green8() - 150) <= 1 &&
            orangeBack.blue8() <= 1);
    // A dual-white fixture makes any white between its emitters.
    ZelColor warmish;
    warmish.setYxyF(0.4, 0.40, 0.38);
    const ZelColor dual = warmish.convertTo(ZelColor::NChannel, 1, 6);
    QCOMPARE(dual.nChannelCount(), 2);
    QVERIFY(std::fabs(dual.getY() - 0.4) < 1e-6);
    QVERIFY(std::fabs(dual.getx() - 0.40) < 0.01 && std::fabs(dual.gety() - 0.38) < 0.01);
    QVERIFY(!target.convertTo(ZelColor::NChannel, 1, 42).isValid());
    QVERIFY(!ZelColor::fromNChannelF({0.5}, 1, -1).isValid());
}

void TestZelColor::travelsInQueuedCalls() {
    QVERIFY(QMetaType::type("ZelColor") != QMetaType::UnknownType);
    const ZelColor color = ZelColor::fromHsvF(0.3, 0.4, 0.5);
    QCOMPARE(QVariant::fromValue(color).value<ZelColor>(), color);
    ColorReceiver receiver;
    QVERIFY(QMetaObject::invokeMethod(&receiver, "take", Qt::QueuedConnection, Q_ARG(ZelColor, color)));
    QCOMPARE(receiver.calls, 0);
    QTRY_COMPARE(receiver.calls, 1);
    QCOMPARE(receiver.last, color);

    // Streamed inside a QVariant (settings, drag and drop), tag included.
    ZelColor tagged = ZelColor::fromRgb16(1, 2, 3, 4, 7);
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << QVariant::fromValue(tagged);
    }
    QVariant read;
    QDataStream in(bytes);
    in >> read;
    QCOMPARE(read.value<ZelColor>(), tagged);
    QCOMPARE(read.value<ZelColor>().hueformProfileID(), 7);
    // A cut-off stream gives no colour.
    QByteArray raw;
    {
        QDataStream out(&raw, QIODevice::WriteOnly);
        out << tagged;
    }
    QDataStream cut(raw.left(raw.size() - 3));
    ZelColor partial = tagged;
    cut >> partial;
    QVERIFY(!partial.isValid());
}

LUMETTO_TEST_MAIN_CORE(TestZelColor, "tst_zelcolor")
#include "tst_zelcolor.moc"

#include "TestEnvironment.h"

#include "CCTUtils.h"
#include "ColorScience.h"
#include "EffectRenderer.h"
#include "FixtureProfile.h"
#include "FixtureScreen.h"
#include "MSPCustomWashEffect.h"
#include "MSPEffectFactory.h"
#include "MSPFixedColorEffect.h"
#include "MSPRandomColorEffect.h"
#include "MSPSpeedText.h"
#include "MSPWhiteEffect.h"
#include "ZelColor.h"

#include <cmath>
#include <memory>

namespace {

using Frame = EffectRenderer::Frame;

std::unique_ptr<MSPEffect> make(int type) {
    return std::unique_ptr<MSPEffect>(MSPEffectFactory::instance()->create(type, nullptr));
}

// A wash of the given kind; colours only matter to the custom wash.
std::unique_ptr<MSPEffect> wash(int type, int speed, int direction, int width = 1,
                                const QStringList& colors = {QStringLiteral("#ff0000"), QStringLiteral("#00ff00"),
                                                             QStringLiteral("#0000ff")}) {
    auto effect = make(type);
    auto* colorWash = qobject_cast<MSPColorWashEffect*>(effect.get());
    colorWash->setSpeed(speed);
    colorWash->setDirection(direction);
    if (auto* custom = qobject_cast<MSPCustomWashEffect*>(effect.get())) {
        custom->setWidth(width);
        custom->setColorList(colors);
    }
    return effect;
}

EffectRenderer renderer(const MSPEffect* effect, int lights, int ports = 1, int profile = 0) {
    EffectRenderer r;
    r.setLayout({ports, lights, profile});
    r.setEffect(effect);
    return r;
}

// "1.75 m" is 105 seconds: the time a person reads under the slider, worked out here on its own.
double secondsOfText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(' '));
    return parts.at(0).toDouble() * (parts.at(1) == QLatin1String("m") ? 60.0 : 1.0);
}

bool near(const EffectRenderer::Light& a, const EffectRenderer::Light& b, int tolerance = 1) {
    for (size_t i = 0; i < 3; ++i)
        if (std::abs(a.channels[i] - b.channels[i]) > tolerance)
            return false;
    return true;
}

// Light i at the later time equals light i - shift at the earlier one (within a byte of rounding).
bool shifted(const Frame& later, const Frame& earlier, int shift) {
    for (int i = 0; i < later.size(); ++i) {
        const int from = i - shift;
        if (from >= 0 && from < earlier.size() && !near(later.at(i), earlier.at(from)))
            return false;
    }
    return true;
}

EffectRenderer::Light lightOf(int r, int g, int b) {
    EffectRenderer::Light light;
    light.channels = {static_cast<quint8>(r), static_cast<quint8>(g), static_cast<quint8>(b)};
    light.screen = qRgb(r, g, b);
    return light;
}

// The light a fixture makes from a light's channel values.
void lightOnFixture(const EffectRenderer::Light& light, int profile, double xyz[3]) {
    const QVector<double> levels{light.channels[0] / 255.0, light.channels[1] / 255.0, light.channels[2] / 255.0};
    FixtureProfile::find(profile)->channelsToXyz(levels, xyz);
}

double luminanceOf(const EffectRenderer::Light& light, int profile) {
    double xyz[3];
    lightOnFixture(light, profile, xyz);
    return xyz[1];
}

double kelvinOf(const EffectRenderer::Light& light, int profile) {
    double xyz[3];
    lightOnFixture(light, profile, xyz);
    const ColorScience::Chromaticity xy = ColorScience::xyzToxy(xyz);
    return CCTUtils::getCCTFromxy(xy.x, xy.y);
}

} // namespace

class TestEffectRenderer : public QObject {
    Q_OBJECT

private slots:
    // The time a speed plays is the time its text reads, for every speed of both tables.
    void speedsPlayTheirText() {
        for (int speed = 1; speed <= 32; ++speed) {
            QCOMPARE(MSPSpeedText::washSeconds(speed), secondsOfText(MSPSpeedText::washText(speed)));
            QCOMPARE(MSPSpeedText::customSeconds(speed), secondsOfText(MSPSpeedText::customText(speed)));
        }
        QCOMPARE(MSPSpeedText::washSeconds(0), 600.0);
        QCOMPARE(MSPSpeedText::customSeconds(99), 1.0);
    }

    void stillColours_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("color");
        QTest::addColumn<int>("profile");
        QTest::newRow("fixed orange") << 0 << "#ff8000" << 0;
        QTest::newRow("variable teal") << 1 << "#00ff80" << 0;
        QTest::newRow("fixed white point on dual white") << 0 << "#yxy:0.5:0.4:0.39:65535" << 6;
        QTest::newRow("fixed blue on RGBW") << 0 << "#2040ff" << 2;
    }
    // A fixed colour is the same on every light at every time, and is the colour's device bytes.
    void stillColours() {
        QFETCH(int, type);
        QFETCH(QString, color);
        QFETCH(int, profile);
        auto effect = make(type);
        qobject_cast<MSPFixedColorEffect*>(effect.get())->setColor(color);
        const EffectRenderer r = renderer(effect.get(), 170, 8, profile);
        int bytes[3];
        MSPEffect::deviceBytes(ZelColor(color), profile, bytes);
        for (double t : {0.0, 0.5, 37.0, 86400.0}) {
            const Frame frame = r.frame(t);
            QCOMPARE(frame.size(), 8 * 170);
            for (const EffectRenderer::Light& light : frame)
                QCOMPARE(light, frame.first());
            QCOMPARE(frame.first().channels,
                     (std::array<quint8, 3>{quint8(bytes[0]), quint8(bytes[1]), quint8(bytes[2])}));
        }
        if (profile == 0)
            QCOMPARE(EffectRenderer::screenName(r.frame(0).first().screen), color);
        QCOMPARE(r.nextChange(3.0), std::numeric_limits<double>::infinity());
    }

    void washes_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("lights");
        QTest::addColumn<QString>("text");
        // Bands repeat every colours x width lights; ports an odd number of patterns long, so that half
        // a cycle moves the bands to where they were not.
        QTest::newRow("colour wash slowest") << 2 << 1 << 1 << 170 << "10 m";
        QTest::newRow("colour wash 1.75 m") << 2 << 10 << 1 << 50 << "1.75 m";
        QTest::newRow("colour wash fastest") << 2 << 32 << 1 << 7 << "5 s";
        QTest::newRow("rainbow width 4") << 3 << 12 << 4 << 72 << "1.25 m";
        QTest::newRow("custom width 7") << 4 << 12 << 7 << 63 << "30 s";
        QTest::newRow("custom width 1, one second") << 4 << 32 << 1 << 9 << "1 s";
    }
    // A wash comes back to where it was after the time its speed text reads, not before; in that
    // time a colour crosses the port, so after a port's share of it every colour has moved one
    // light on, the other way with direction 1.
    void washes() {
        QFETCH(int, type);
        QFETCH(int, speed);
        QFETCH(int, width);
        QFETCH(int, lights);
        QFETCH(QString, text);
        QCOMPARE(type == 4 ? MSPSpeedText::customText(speed) : MSPSpeedText::washText(speed), text);
        const double cycle = secondsOfText(text);
        for (int direction : {0, 1}) {
            auto effect = wash(type, speed, direction, width);
            const EffectRenderer r = renderer(effect.get(), lights, 2);
            QCOMPARE(r.cycleSeconds(), cycle);
            for (double t : {0.0, 0.3 * cycle, 2.7 * cycle}) {
                const Frame now = r.frame(t);
                QVERIFY(shifted(r.frame(t + cycle), now, 0));
                QVERIFY(!shifted(r.frame(t + cycle / 2), now, 0));
                const Frame step = r.frame(t + cycle / lights);
                QVERIFY2(shifted(step, now, direction == 0 ? 1 : -1), qPrintable(QStringLiteral("t %1").arg(t)));
                if (lights > 3)
                    QVERIFY(!shifted(step, now, direction == 0 ? -1 : 1));
                // Both ports alike.
                QCOMPARE(now.mid(lights), now.mid(0, lights));
            }
        }
    }

    void bands_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("width");
        QTest::newRow("custom 1") << 4 << 1;
        QTest::newRow("custom 3") << 4 << 3;
        QTest::newRow("custom 7") << 4 << 7;
        QTest::newRow("rainbow 4") << 3 << 4;
        QTest::newRow("rainbow 35") << 3 << 35;
    }
    // At the start every band is `width` lights of its colour; half a light later the light at
    // each band's front is half way between its band and the one behind.
    void bands() {
        QFETCH(int, type);
        QFETCH(int, width);
        const QVector<EffectRenderer::Light> custom{lightOf(255, 0, 0), lightOf(0, 255, 0), lightOf(0, 0, 255)};
        const QVector<EffectRenderer::Light> rainbow{lightOf(255, 0, 0),   lightOf(255, 255, 0), lightOf(0, 255, 0),
                                                     lightOf(0, 255, 255), lightOf(0, 0, 255),   lightOf(255, 0, 255)};
        const QVector<EffectRenderer::Light>& colours = type == 4 ? custom : rainbow;
        const int lights = 170;
        auto effect = wash(type, 5, 0, width);
        const EffectRenderer r = renderer(effect.get(), lights);
        const Frame start = r.frame(0);
        for (int i = 0; i < lights; ++i)
            QCOMPARE(start.at(i), colours.at((i / width) % colours.size()));

        const Frame half = r.frame(r.cycleSeconds() / lights / 2);
        for (int band = 1; band * width < lights; ++band) {
            const EffectRenderer::Light& front = half.at(band * width);
            const EffectRenderer::Light& ahead = colours.at(band % colours.size());
            const EffectRenderer::Light& behind = colours.at((band - 1) % colours.size());
            for (size_t c = 0; c < 3; ++c)
                QVERIFY(std::abs(2 * front.channels[c] - ahead.channels[c] - behind.channels[c]) <= 1);
            if (width > 1)
                QCOMPARE(half.at(band * width + 1), ahead);
        }
    }

    // A custom wash carries the device bytes of its colours, on every profile.
    void washColoursAreDeviceBytes() {
        const QString warm = QStringLiteral("#yxy:0.4:0.45:0.41:65535");
        auto effect = wash(4, 5, 0, 2, {warm, QStringLiteral("#00ff00")});
        const EffectRenderer r = renderer(effect.get(), 8, 1, 6);
        int bytes[3];
        MSPEffect::deviceBytes(ZelColor(warm), 6, bytes);
        const EffectRenderer::Light first = r.frame(0).first();
        QCOMPARE(first.channels, (std::array<quint8, 3>{quint8(bytes[0]), quint8(bytes[1]), quint8(bytes[2])}));
        QCOMPARE(first.channels[2], quint8(0));

        qobject_cast<MSPCustomWashEffect*>(effect.get())->setColorList({});
        EffectRenderer dark = renderer(effect.get(), 8);
        QCOMPARE(dark.frame(3).first(), lightOf(0, 0, 0));
    }

    // Random colour keeps its colours for the interval its speed text reads and changes at its
    // end, to the same colours for the same scene, other colours for another scene.
    void randomColours() {
        auto effect = make(MSPEffect::RandomColor);
        auto* random = qobject_cast<MSPRandomColorEffect*>(effect.get());
        random->setSpeed(31);
        QCOMPARE(MSPSpeedText::customText(31), QStringLiteral("2 s"));
        EffectRenderer r = renderer(effect.get(), 170, 8);
        r.setSceneNumber(3);

        const Frame first = r.frame(0);
        QCOMPARE(r.frame(1.0), first);
        QCOMPARE(r.frame(1.999), first);
        const Frame second = r.frame(2.0);
        QCOMPARE(r.frame(3.999), second);
        int changed = 0;
        for (int i = 0; i < first.size(); ++i)
            changed += first.at(i) != second.at(i);
        QVERIFY(changed > first.size() * 9 / 10);
        QCOMPARE(r.nextChange(0.5), 2.0);
        QCOMPARE(r.nextChange(2.0), 4.0);
        // Vivid hues: one channel full, one off.
        for (const EffectRenderer::Light& light : first) {
            const auto [low, high] = std::minmax({light.channels[0], light.channels[1], light.channels[2]});
            QCOMPARE(int(low), 0);
            QCOMPARE(int(high), 255);
        }

        EffectRenderer again = renderer(effect.get(), 170, 8);
        again.setSceneNumber(3);
        QCOMPARE(again.frame(2.5), second);
        again.setSceneNumber(4);
        QVERIFY(again.frame(2.5) != second);

        // With fade each light leaves its colour at the change and arrives at the next one at the
        // following change, passing half way between them in the middle.
        random->setFade(true);
        r.setEffect(effect.get());
        QCOMPARE(r.frame(0), first);
        QCOMPARE(r.frame(2), second);
        QCOMPARE(r.nextChange(0.5), 0.5);
        const Frame middle = r.frame(1);
        for (int i = 0; i < first.size(); ++i)
            for (size_t c = 0; c < 3; ++c)
                QVERIFY(std::abs(2 * middle.at(i).channels[c] - first.at(i).channels[c] - second.at(i).channels[c]) <=
                        1);
    }

    void whites_data() {
        QTest::addColumn<int>("profile");
        QTest::addColumn<double>("warmest");
        QTest::addColumn<double>("coolest");
        QTest::newRow("sRGB") << 0 << 2700.0 << 6500.0;
        QTest::newRow("RGBW LED") << 2 << 2700.0 << 6500.0;
        QTest::newRow("Dual White") << 6 << 2700.0 << 6500.0;
        QTest::newRow("Tunable White") << 7 << 2700.0 << 6500.0;
    }
    // Along each editor's scale towards "Warm" the light gets steadily warmer, from the cool end
    // of the fixture's white range to its warm end; brightness dims it without moving its colour.
    void whites() {
        QFETCH(int, profile);
        QFETCH(double, warmest);
        QFETCH(double, coolest);
        for (int type : {int(MSPEffect::RgbWhite), int(MSPEffect::DuoWhite)}) {
            auto effect = make(type);
            auto* white = qobject_cast<MSPWhiteEffect*>(effect.get());
            double previous = std::numeric_limits<double>::infinity();
            for (int step = 0; step <= 17; ++step) {
                // 0 to 255 on the RGB scale and 255 to 0 on the Duo scale: cool to warm.
                white->setTemperature(type == MSPEffect::RgbWhite ? step * 15 : 255 - step * 15);
                white->setBrightness(100);
                EffectRenderer r = renderer(effect.get(), 3, 1, profile);
                const EffectRenderer::Light full = r.frame(0).first();
                const double kelvin = kelvinOf(full, profile);
                QVERIFY2(kelvin < previous, qPrintable(QStringLiteral("%1 K after %2 K").arg(kelvin).arg(previous)));
                if (step == 0)
                    QVERIFY2(std::abs(kelvin - coolest) < 150, qPrintable(QString::number(kelvin)));
                if (step == 17)
                    QVERIFY2(std::abs(kelvin - warmest) < 150, qPrintable(QString::number(kelvin)));
                previous = kelvin;

                white->setBrightness(60);
                r.setEffect(effect.get());
                const EffectRenderer::Light dimmed = r.frame(0).first();
                // Within the bytes' rounding, which moves a near-daylight white by a few dozen kelvin.
                QVERIFY(std::abs(kelvinOf(dimmed, profile) - kelvin) < 120);
                QVERIFY(luminanceOf(dimmed, profile) < 0.7 * luminanceOf(full, profile));
            }
        }
    }

    // Fast screen colours are the colour library's: the light of the channel values, in sRGB.
    void screenColours() {
        for (int profile = 0; profile < ColorUtils::ProfileCount; ++profile) {
            const FixtureScreen screen(profile);
            const int steps[] = {0, 1, 37, 128, 200, 255};
            for (int a : steps)
                for (int b : steps)
                    for (int c : steps) {
                        const QVector<double> levels{a / 255.0, b / 255.0, c / 255.0};
                        double xyz[3];
                        FixtureProfile::find(profile)->channelsToXyz(levels, xyz);
                        const QColor expected = ZelColor::fromXYZ(xyz[0], xyz[1], xyz[2]).toQColor();
                        const QColor actual = QColor(screen.screenColor(a, b, c));
                        QVERIFY2(std::abs(actual.red() - expected.red()) <= 1 &&
                                     std::abs(actual.green() - expected.green()) <= 1 &&
                                     std::abs(actual.blue() - expected.blue()) <= 1,
                                 qPrintable(QStringLiteral("profile %1 bytes %2 %3 %4: %5, library %6")
                                                .arg(profile)
                                                .arg(a)
                                                .arg(b)
                                                .arg(c)
                                                .arg(actual.name(), expected.name())));
                    }
        }
        // On the sRGB profile the bytes are the screen colour, exactly.
        const FixtureScreen srgb(0);
        for (int v = 0; v < 256; ++v) {
            QCOMPARE(srgb.screenColor(v, v, v), qRgb(v, v, v));
            QCOMPARE(srgb.screenColor(v, 0, 255 - v), qRgb(v, 0, 255 - v));
        }
    }
};

LUMETTO_TEST_MAIN(TestEffectRenderer, "LumettoTestEffectRenderer")
#include "tst_EffectRenderer.moc"

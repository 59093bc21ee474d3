#include "TestEnvironment.h"

#include "CCTUtils.h"
#include "ColorScience.h"
#include "EffectRenderer.h"
#include "FixtureProfile.h"
#include "MSPCustomWashEffect.h"
#include "MSPEffectFactory.h"
#include "MSPFixedColorEffect.h"
#include "MSPRandomColorEffect.h"
#include "MSPSpeedText.h"
#include "MSPWhiteEffect.h"

#include <memory>

namespace {

using Frame = EffectRenderer::Frame;
using Light = EffectRenderer::Light;

std::unique_ptr<MSPEffect> make(int type, int speed = 1, int direction = 0, int width = 1) {
    std::unique_ptr<MSPEffect> effect(MSPEffectFactory::instance()->create(type, nullptr));
    if (auto* wash = qobject_cast<MSPColorWashEffect*>(effect.get())) {
        wash->setSpeed(speed);
        wash->setDirection(direction);
    }
    if (auto* custom = qobject_cast<MSPCustomWashEffect*>(effect.get())) {
        custom->setWidth(width);
        custom->setColorList({"#ff0000", "#00ff00", "#0000ff"});
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

// Each channel of `mix` lies at `share` of the way from `from` to `to`, to a byte.
bool between(const Light& mix, const Light& from, const Light& to, double share) {
    for (size_t c = 0; c < 3; ++c)
        if (std::abs(mix.channels[c] - (from.channels[c] + (to.channels[c] - from.channels[c]) * share)) > 1)
            return false;
    return true;
}

// Light i at the later time is light i - shift at the earlier one, to a byte.
bool shifted(const Frame& later, const Frame& earlier, int shift) {
    for (int i = qMax(0, shift); i < later.size() && i - shift < earlier.size(); ++i)
        if (!between(later.at(i), earlier.at(i - shift), earlier.at(i - shift), 0))
            return false;
    return true;
}

Light rgb(int r, int g, int b) {
    return {{quint8(r), quint8(g), quint8(b)}, qRgb(r, g, b)};
}

// The light a fixture makes from a light's channel values: luminance and colour temperature.
std::pair<double, double> onFixture(const Light& light, int profile) {
    double xyz[3];
    FixtureProfile::find(profile)->channelsToXyz(
        {light.channels[0] / 255.0, light.channels[1] / 255.0, light.channels[2] / 255.0}, xyz);
    const ColorScience::Chromaticity xy = ColorScience::xyzToxy(xyz);
    return {xyz[1], CCTUtils::getCCTFromxy(xy.x, xy.y)};
}

} // namespace

// The renderer against docs/effects.md, kind by kind.
class TestEffectRenderer : public QObject {
    Q_OBJECT

private slots:
    // The time a speed plays is the time its text reads, for every speed of both tables.
    void speedsPlayTheirText() {
        for (int speed = 1; speed <= 32; ++speed) {
            QCOMPARE(MSPSpeedText::washSeconds(speed), secondsOfText(MSPSpeedText::washText(speed)));
            QCOMPARE(MSPSpeedText::customSeconds(speed), secondsOfText(MSPSpeedText::customText(speed)));
        }
        QCOMPARE(MSPSpeedText::customSeconds(99), 1.0);
    }

    // A fixed colour is the same on every light at every time: the colour's device bytes.
    void stillColours() {
        const QList<std::tuple<int, QString, int>> rows = {
            {0, "#ff8000", 0}, {1, "#00ff80", 0}, {0, "#yxy:0.5:0.4:0.39:65535", 6}};
        for (const auto& [type, color, profile] : rows) {
            auto effect = make(type);
            qobject_cast<MSPFixedColorEffect*>(effect.get())->setColor(color);
            const EffectRenderer r = renderer(effect.get(), 170, 8, profile);
            int bytes[3];
            MSPEffect::deviceBytes(ZelColor(color), profile, bytes);
            for (double t : {0.0, 37.0, 86400.0}) {
                const Frame frame = r.frame(t);
                QCOMPARE(frame, Frame(8 * 170, frame.first()));
                QCOMPARE(frame.first().channels,
                         (std::array<quint8, 3>{quint8(bytes[0]), quint8(bytes[1]), quint8(bytes[2])}));
            }
            QCOMPARE(r.nextChange(3.0), std::numeric_limits<double>::infinity());
        }
    }

    void washes_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("lights");
        QTest::addColumn<QString>("text");
        // Custom bands repeat every 3 x width lights, rainbow bands every 6 x width: ports an odd number of
        // patterns long, so that half a cycle moves them to where they were not.
        QTest::newRow("colour wash slowest") << 2 << 1 << 1 << 170 << "10 m";
        QTest::newRow("colour wash fastest") << 2 << 32 << 1 << 7 << "5 s";
        QTest::newRow("rainbow width 4") << 3 << 12 << 4 << 72 << "1.25 m";
        QTest::newRow("custom width 7") << 4 << 12 << 7 << 63 << "30 s";
        QTest::newRow("custom width 1") << 4 << 32 << 1 << 9 << "1 s";
    }
    // A wash comes back after the time its speed text reads, not before; in that time a colour
    // crosses the port, so after a port's share of it every colour has moved one light on, the
    // other way with direction 1. Every port shows it alike.
    void washes() {
        QFETCH(int, type);
        QFETCH(int, speed);
        QFETCH(int, width);
        QFETCH(int, lights);
        QFETCH(QString, text);
        QCOMPARE(type == 4 ? MSPSpeedText::customText(speed) : MSPSpeedText::washText(speed), text);
        const double cycle = secondsOfText(text);
        for (int direction : {0, 1}) {
            auto effect = make(type, speed, direction, width);
            const EffectRenderer r = renderer(effect.get(), lights, 2);
            for (double t : {0.0, 2.7 * cycle}) {
                const Frame now = r.frame(t);
                QVERIFY(shifted(r.frame(t + cycle), now, 0));
                QVERIFY(!shifted(r.frame(t + cycle / 2), now, 0));
                const Frame step = r.frame(t + cycle / lights);
                QVERIFY(shifted(step, now, direction == 0 ? 1 : -1));
                QVERIFY(!shifted(step, now, direction == 0 ? -1 : 1));
                QCOMPARE(now.mid(lights), now.mid(0, lights));
            }
        }
    }

    // At the start every band is `width` lights of its colour; half a light later the light at
    // each band's front is half way between its band's colour and the one behind.
    void bands() {
        const QVector<Light> custom{rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255)};
        const QVector<Light> rainbow{rgb(255, 0, 0),   rgb(255, 255, 0), rgb(0, 255, 0),
                                     rgb(0, 255, 255), rgb(0, 0, 255),   rgb(255, 0, 255)};
        for (const auto& [type, width] : QList<std::pair<int, int>>{{4, 1}, {4, 7}, {3, 4}, {3, 35}}) {
            const QVector<Light>& colours = type == 4 ? custom : rainbow;
            auto effect = make(type, 5, 0, width);
            const EffectRenderer r = renderer(effect.get(), 170);
            const Frame start = r.frame(0);
            for (int i = 0; i < 170; ++i)
                QCOMPARE(start.at(i), colours.at((i / width) % colours.size()));
            const Frame half = r.frame(r.cycleSeconds() / 170 / 2);
            for (int band = 1; band * width < 170; ++band) {
                const Light& behind = colours.at((band - 1) % colours.size());
                QVERIFY(between(half.at(band * width), behind, colours.at(band % colours.size()), 0.5));
            }
        }
    }

    // Random colour keeps its colours for the interval its speed text reads and changes at its
    // end, to the same colours for the same scene; with fade it passes half way in the middle.
    void randomColours() {
        auto effect = make(MSPEffect::RandomColor);
        auto* random = qobject_cast<MSPRandomColorEffect*>(effect.get());
        random->setSpeed(31);
        QCOMPARE(MSPSpeedText::customText(31), QStringLiteral("2 s"));
        EffectRenderer r = renderer(effect.get(), 170, 8);
        r.setSceneNumber(3);
        const Frame first = r.frame(0), second = r.frame(2.0);
        QCOMPARE(r.frame(1.999), first);
        QCOMPARE(r.frame(3.999), second);
        int changed = 0;
        for (int i = 0; i < first.size(); ++i)
            changed += first.at(i) != second.at(i);
        QVERIFY(changed > first.size() * 9 / 10);
        QCOMPARE(r.nextChange(0.5), 2.0);

        EffectRenderer again = renderer(effect.get(), 170, 8);
        again.setSceneNumber(3);
        QCOMPARE(again.frame(2.5), second);
        again.setSceneNumber(4);
        QVERIFY(again.frame(2.5) != second);

        random->setFade(true);
        r.setEffect(effect.get());
        QCOMPARE(r.frame(2), second);
        const Frame middle = r.frame(1);
        for (int i = 0; i < first.size(); ++i)
            QVERIFY(between(middle.at(i), first.at(i), second.at(i), 0.5));
    }

    // Along each editor's scale towards "Warm" the light gets steadily warmer, from the cool end of
    // the fixture's white range (6500 K) to its warm end (2700 K); brightness dims it, colour kept.
    void whites() {
        for (int profile : {0, 2, 6, 7}) {
            for (int type : {int(MSPEffect::RgbWhite), int(MSPEffect::DuoWhite)}) {
                auto effect = make(type);
                auto* white = qobject_cast<MSPWhiteEffect*>(effect.get());
                double previous = 1e9;
                for (int step = 0; step <= 17; ++step) {
                    white->setTemperature(type == MSPEffect::RgbWhite ? step * 15 : 255 - step * 15);
                    white->setBrightness(100);
                    EffectRenderer r = renderer(effect.get(), 3, 1, profile);
                    const auto [luminance, kelvin] = onFixture(r.frame(0).first(), profile);
                    QVERIFY2(kelvin < previous,
                             qPrintable(QStringLiteral("%1 K after %2 K").arg(kelvin).arg(previous)));
                    previous = kelvin;
                    if (step == 0 || step == 17)
                        QVERIFY(std::abs(kelvin - (step == 0 ? 6500 : 2700)) < 150);
                    white->setBrightness(60);
                    r.setEffect(effect.get());
                    const auto [dimmed, dimmedKelvin] = onFixture(r.frame(0).first(), profile);
                    QVERIFY(dimmed < 0.7 * luminance);
                    // Within the bytes' rounding, which moves a near-daylight white by a few dozen kelvin.
                    QVERIFY(std::abs(dimmedKelvin - kelvin) < 120);
                }
            }
        }
    }

    // Fast screen colours are the colour library's: the light of the channel
    // values in sRGB.
    void screenColours() {
        const int steps[] = {0, 1, 37, 128, 200, 255};
        for (int profile = 0; profile < ColorUtils::ProfileCount; ++profile) {
            const FixtureScreen screen(profile);
            for (int a : steps)
                for (int b : steps)
                    for (int c : steps) {
                        double xyz[3];
                        FixtureProfile::find(profile)->channelsToXyz({a / 255.0, b / 255.0, c / 255.0}, xyz);
                        const QColor expected = ZelColor::fromXYZ(xyz[0], xyz[1], xyz[2]).toQColor();
                        const QColor actual(screen.screenColor(a, b, c));
                        QVERIFY2(std::abs(actual.red() - expected.red()) <= 1 &&
                                     std::abs(actual.green() - expected.green()) <= 1 &&
                                     std::abs(actual.blue() - expected.blue()) <= 1,
                                 qPrintable(QStringLiteral("profile %1: %2, library %3")
                                                .arg(profile)
                                                .arg(actual.name(), expected.name())));
                    }
        }
    }
};

LUMETTO_TEST_MAIN(TestEffectRenderer, "LumettoTestEffectRenderer")
#include "tst_EffectRenderer.moc"

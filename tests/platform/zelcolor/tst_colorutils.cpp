#include "ColorUtils.h"
#include "TestEnvironment.h"
#include "ZelColor.h"

#include <array>
#include <cmath>

namespace {

using Bytes = std::array<int, 3>;

// The device bytes exactly as the model asks for them.
Bytes deviceBytes(const ZelColor& color, int profile) {
    const ColorUtils::IOModeID mode = ColorUtils::defaultIOModeIDForHueformProfileID3toN(profile);
    const int enabled = ColorUtils::defaultHueformEnabled(profile, mode);
    unsigned char out[3] = {1, 2, 3};
    ColorUtils::convertZelColorToDMX(color, enabled, 3, 1, out, 0, 1, profile, mode);
    return {{out[0], out[1], out[2]}};
}

// What the file reader rebuilds from the red, green and blue bytes.
ZelColor rebuilt(const Bytes& bytes) {
    ZelColor c;
    c.setRed8(bytes[0]);
    c.setGreen8(bytes[1]);
    c.setBlue8(bytes[2]);
    return c;
}

ZelColor yxy(double Y, double x, double y) {
    ZelColor c;
    c.setYxyF(Y, x, y);
    return c;
}

QList<ZelColor> pickedColours() {
    QList<ZelColor> colours;
    for (int i = 0; i < 64; ++i) {
        colours << ZelColor::fromRgb8((i * 37) % 256, (i * 91) % 256, (i * 13) % 256)
                << ZelColor::fromRgb16(i * 1021 + 3, 65535 - i * 777, i * 131)
                << ZelColor::fromHsvF(i / 64.0 + 0.0037, (i % 8) / 7.3, (i % 5) / 4.1, 0.5);
        ZelColor hsb;
        hsb.setHsv8(i * 359 / 63, (i * 29) % 256, 255 - i);
        colours << hsb;
    }
    return colours;
}

} // namespace

class TestColorUtils : public QObject {
    Q_OBJECT

private slots:
    void bytesAreThePickedOnesAndNeverDrift() {
        // Files and keypads store the profile by its position in this list.
        QCOMPARE(ColorUtils::hueformProfileIDList(), (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
        for (int bad : {-1, 10, 1000})
            QVERIFY(!ColorUtils::isValidHueformProfileID(bad) && ColorUtils::hueformProfileIDName(bad).isEmpty());
        // Save and reopen many times: the picked colour's bytes go out, and nothing moves afterwards.
        for (int profile : ColorUtils::hueformProfileIDList()) {
            for (const ZelColor& picked : pickedColours()) {
                const Bytes first = deviceBytes(picked, profile);
                QVERIFY(first == (Bytes{{picked.red8(), picked.green8(), picked.blue8()}}));
                ZelColor c = picked;
                for (int round = 0; round < 5; ++round) {
                    c = ZelColor(rebuilt(deviceBytes(c, profile)).aName());
                    QVERIFY(deviceBytes(c, profile) == first);
                    // The variable colour effect goes through the HSB form of the rebuilt colour.
                    QVERIFY(deviceBytes(c.convertTo(ZelColor::Hsb, 1, profile), profile) == first);
                }
            }
        }
    }

    void chromaticityBytes() {
        // White at D65 is balanced on every RGB fixture, full white at Y = 1.
        for (int profile : {0, 1, 2, 3, 4, 5, 9}) {
            QVERIFY(deviceBytes(yxy(1.0, 0.3127, 0.3290), profile) == (Bytes{{255, 255, 255}}));
            const Bytes dim = deviceBytes(yxy(0.2, 0.3127, 0.3290), profile);
            QVERIFY(std::abs(dim[0] - dim[1]) <= 1 && std::abs(dim[1] - dim[2]) <= 1);
            QVERIFY(dim[0] > 100 && dim[0] < 150);
            // A red chromaticity drives mostly the red emitter.
            const Bytes red = deviceBytes(yxy(0.2, 0.66, 0.32), profile);
            QVERIFY(red[0] > red[1] && red[0] > red[2]);
        }
        // On the sRGB profile a chromaticity colour gives the bytes of its sRGB form.
        for (double x = 0.05; x < 0.8; x += 0.05) {
            for (double y = 0.05; y < 0.85; y += 0.05) {
                const ZelColor c = yxy(0.3, x, y);
                QVERIFY(deviceBytes(c, 0) == (Bytes{{c.red8(), c.green8(), c.blue8()}}));
            }
        }
        // Anything at all gives bytes, and black gives none.
        for (int profile : ColorUtils::hueformProfileIDList()) {
            QVERIFY(deviceBytes(yxy(0.0, 0.3, 0.3), profile) == (Bytes{{0, 0, 0}}));
            QVERIFY(deviceBytes(yxy(1.0, 0.5, 0.0), profile) == (Bytes{{0, 0, 0}}));
            for (double Y : {1e-12, 0.5, 1.0, 65.0})
                for (double x = 0.0; x <= 1.0; x += 0.1)
                    for (double y = 0.0; y <= 1.0; y += 0.1)
                        deviceBytes(yxy(Y, x, y), profile);
            QVERIFY(deviceBytes(ZelColor(), profile) == (Bytes{{0, 0, 0}}));
        }
        // An unknown profile, or no buffer, is refused; the bytes are zeroed rather than left.
        const ZelColor c = ZelColor::fromRgb8(10, 20, 30);
        unsigned char out[3] = {1, 2, 3};
        QVERIFY(!ColorUtils::convertZelColorToDMX(c, 1, 3, 1, nullptr, 0, 1, 0, 1));
        QVERIFY(!ColorUtils::convertZelColorToDMX(c, 1, 3, 1, out, 0, 1, 10, 1) && out[0] + out[1] + out[2] == 0);
    }

    void whitesOnWhiteFixtures() {
        const ZelColor warm = yxy(0.5, 0.4599, 0.4106), cool = yxy(0.5, 0.3135, 0.3237);
        // Dual white: warm level, cool level, nothing. Tunable white: intensity, cool share.
        QVERIFY(deviceBytes(warm, 6) == (Bytes{{255, 0, 0}}));
        QVERIFY(deviceBytes(cool, 6) == (Bytes{{0, 255, 0}}));
        const Bytes between = deviceBytes(yxy(0.5, 0.38, 0.37), 6);
        QVERIFY(between[0] > 100 && between[1] > 100 && between[2] == 0);
        QVERIFY(deviceBytes(warm, 7) == (Bytes{{188, 0, 0}}));
        QCOMPARE(deviceBytes(cool, 7)[1], 255);
        // A colour off the white line goes to the nearest white. Dimmer: the intensity on every byte.
        QCOMPARE(deviceBytes(yxy(0.5, 0.64, 0.33), 7)[1], 0);
        QVERIFY(deviceBytes(yxy(0.2, 0.15, 0.06), 8) == (Bytes{{124, 124, 124}}));
        // An N-channel colour made for a fixture comes back out as the same light.
        const ZelColor n = warm.convertTo(ZelColor::NChannel, 1, 6);
        QVERIFY(deviceBytes(n, 6) == deviceBytes(warm, 6));
    }
};

LUMETTO_TEST_MAIN_CORE(TestColorUtils, "tst_colorutils")
#include "tst_colorutils.moc"

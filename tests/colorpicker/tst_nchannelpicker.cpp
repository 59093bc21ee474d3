#include "ColorUtils.h"
#include "DmxSlidersWidget.h"
#include "NChannelPickerWidget.h"
#include "ProfileSelector.h"
#include "TestEnvironment.h"

#include <QAbstractItemView>
#include <QCollator>
#include <QDir>
#include <QSpinBox>
#include <QtTest>

using namespace ZelColorPickerLib;

namespace {

constexpr ColorUtils::HueformProfileID RgbwProfile = 2;
constexpr ColorUtils::HueformProfileID TunableWhiteProfile = 7;

struct Picker {
    explicit Picker(int renderType = 0) {
        widget.setRenderType(renderType);
        widget.resize(420, 260);
        widget.show();
        QApplication::setActiveWindow(&widget);
        QVERIFY(QTest::qWaitForWindowActive(&widget));
        selector = widget.findChild<ProfileSelector*>(QStringLiteral("hueformProfileComboBox"));
        sliders = widget.findChild<DmxSlidersWidget*>(QStringLiteral("dmxSlidersWidget"));
        QVERIFY(selector && sliders);
        QObject::connect(&widget, &NChannelPickerWidget::colorChanged, &widget, [this](ZelColor& color, QString& uid) {
            emitted << color;
            uids << uid;
        });
    }
    // Chooses @p profile the way a user does: opening the list and picking its row.
    void choose(ColorUtils::HueformProfileID profile) {
        const int row = selector->findData(profile);
        QVERIFY(row >= 0);
        selector->showPopup();
        QAbstractItemView* list = selector->view();
        QTRY_VERIFY(list->isVisible());
        const QRect item = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(selector->currentIndex(), row);
    }
    QList<QSpinBox*> spinBoxes() const { return sliders->findChildren<QSpinBox*>(); }
    NChannelPickerWidget widget;
    ProfileSelector* selector = nullptr;
    DmxSlidersWidget* sliders = nullptr;
    QVector<ZelColor> emitted;
    QStringList uids;
};

} // namespace

class TestNChannelPicker : public QObject {
    Q_OBJECT

private slots:
    void profilesAreListedAlphabetically();
    void slidersAreRebuiltPerProfile();
    void fourChannelProfileEmitsOneColourPerChange();
    void profileChangeReconvertsTheColour();
    void settingAColourShowsItsChannels();
    void channelControlsScreenshot();
};

void TestNChannelPicker::profilesAreListedAlphabetically() {
    ProfileSelector selector;
    const QList<ColorUtils::HueformProfileID> profiles = ColorUtils::hueformProfileIDList(false);
    QCOMPARE(selector.count(), profiles.size());
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    for (int row = 0; row < selector.count(); ++row) {
        const int profile = selector.itemData(row, Qt::UserRole).toInt();
        QVERIFY(profiles.contains(profile));
        QCOMPARE(selector.itemText(row), ColorUtils::hueformProfileIDName(profile));
        if (row > 0)
            QVERIFY(collator.compare(selector.itemText(row - 1), selector.itemText(row)) <= 0);
    }
    QSignalSpy chosen(&selector, &ProfileSelector::selectedProfile);
    QVERIFY(selector.selectProfile(TunableWhiteProfile));
    QCOMPARE(selector.currentProfile(), TunableWhiteProfile);
    QVERIFY(chosen.isEmpty());
    QVERIFY(!selector.selectProfile(99));
    QCOMPARE(selector.currentProfile(), TunableWhiteProfile);
    selector.handleIndexChanged(selector.findData(RgbwProfile));
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.first().first().toInt(), RgbwProfile);
}

void TestNChannelPicker::slidersAreRebuiltPerProfile() {
    Picker picker;
    for (const ColorUtils::HueformProfileID profile : ColorUtils::hueformProfileIDList(false)) {
        picker.choose(profile);
        const QStringList names = ColorUtils::channelNames(profile);
        QCOMPARE(picker.sliders->sliderCount(), names.size());
        QCOMPARE(picker.spinBoxes().size(), names.size());
        QCOMPARE(picker.widget.profile(), profile);
        QCOMPARE(picker.emitted.last().hueformProfileID(), profile);
        QCOMPARE(picker.emitted.last().spec(), int(ZelColor::NChannel));
    }
}

void TestNChannelPicker::fourChannelProfileEmitsOneColourPerChange() {
    Picker picker;
    picker.choose(RgbwProfile);
    QCOMPARE(picker.sliders->sliderCount(), 4);
    const QList<QSpinBox*> spins = picker.spinBoxes();
    QCOMPARE(spins.size(), 4);
    for (int channel = 0; channel < 4; ++channel) {
        const int before = picker.emitted.size();
        const int value = spins[channel]->value();
        spins[channel]->setFocus();
        QTest::keyClick(spins[channel], value < 255 ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(picker.emitted.size(), before + 1);
        const ZelColor color = picker.emitted.last();
        QCOMPARE(color.spec(), int(ZelColor::NChannel));
        QCOMPARE(color.hueformProfileID(), RgbwProfile);
        QCOMPARE(color.getNChannel8(channel), value < 255 ? value + 1 : value - 1);
        QCOMPARE(picker.sliders->values()[channel], color.getNChannel8(channel));
        QCOMPARE(color.nChannelRenderType(), 0);
    }
}

void TestNChannelPicker::profileChangeReconvertsTheColour() {
    Picker picker(1);
    ZelColor warm;
    warm.setYxyF(0.6, 0.4476, 0.4074, 1.0, 0);
    picker.widget.setColor(warm, QStringLiteral("uid-7"), false);
    QVERIFY(picker.emitted.isEmpty());
    picker.choose(TunableWhiteProfile);
    QCOMPARE(picker.emitted.size(), 1);
    const ZelColor converted = picker.emitted.last();
    QCOMPARE(picker.uids.last(), QStringLiteral("uid-7"));
    QCOMPARE(converted.nChannelRenderType(), 1);
    QCOMPARE(converted.hueformProfileID(), TunableWhiteProfile);
    const ZelColor expected =
        warm.convertTo(ZelColor::NChannel, ColorUtils::nChannelConfigurationForHueformProfileID(TunableWhiteProfile),
                       TunableWhiteProfile);
    const QVector<int> shown = picker.sliders->values();
    QCOMPARE(shown.size(), 2);
    for (int channel = 0; channel < 2; ++channel) {
        QCOMPARE(converted.getNChannel8(channel), expected.getNChannel8(channel));
        QCOMPARE(shown[channel], expected.getNChannel8(channel));
    }
    // The same light on the other profile: the chromaticity survives the round of conversions.
    const ZelColor back = converted.convertTo(ZelColor::Yxy);
    QVERIFY2(qAbs(back.getx() - warm.getx()) < 0.01 && qAbs(back.gety() - warm.gety()) < 0.01,
             qPrintable(QStringLiteral("%1 %2").arg(back.getx()).arg(back.gety())));
}

void TestNChannelPicker::settingAColourShowsItsChannels() {
    Picker picker;
    const int configuration = ColorUtils::nChannelConfigurationForHueformProfileID(RgbwProfile);
    const ZelColor rgbw = ZelColor::fromNChannelF({0.2, 0.4, 0.6, 1.0}, configuration, RgbwProfile);
    picker.widget.setColor(rgbw, QString(), true);
    QVERIFY(picker.emitted.isEmpty());
    QCOMPARE(picker.selector->currentProfile(), RgbwProfile);
    QCOMPARE(picker.sliders->values(), QVector<int>({51, 102, 153, 255}));
    // An N-channel colour does not switch the profile unless it is taken as one.
    picker.choose(TunableWhiteProfile);
    picker.widget.setColor(rgbw, QString(), false);
    QCOMPARE(picker.selector->currentProfile(), TunableWhiteProfile);
    QCOMPARE(picker.sliders->sliderCount(), 2);
}

void TestNChannelPicker::channelControlsScreenshot() {
    Picker picker;
    picker.choose(4);
    picker.widget.setColor(ZelColor::fromRgb8(255, 180, 90), QString(), false);
    // Sliders built while the picker is on show appear once the event loop has run.
    const QList<QSpinBox*> spins = picker.spinBoxes();
    QCOMPARE(spins.size(), 5);
    for (QSpinBox* spin : spins)
        QTRY_VERIFY(spin->isVisible());
    const QPixmap shot = picker.widget.grab();
    QVERIFY(!shot.isNull());
    const QString folder = qEnvironmentVariable("LUMETTO_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        QVERIFY(shot.save(QDir(folder).filePath(QStringLiteral("channel-controls.png"))));
}

LUMETTO_TEST_MAIN(TestNChannelPicker, "tst_nchannelpicker")
#include "tst_nchannelpicker.moc"

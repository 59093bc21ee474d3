#include "ColorUtils.h"
#include "DmxSlidersWidget.h"
#include "NChannelPickerWidget.h"
#include "ProfileSelector.h"
#include "TestEnvironment.h"

#include <QAbstractItemView>
#include <QCollator>
#include <QSpinBox>

using namespace ZelColorPickerLib;

namespace {

constexpr ColorUtils::HueformProfileID RgbwProfile = 2;
constexpr ColorUtils::HueformProfileID TunableWhiteProfile = 7;

struct Picker {
    Picker() {
        widget.resize(420, 260);
        widget.show();
        QApplication::setActiveWindow(&widget);
        QVERIFY(QTest::qWaitForWindowActive(&widget));
        selector = widget.findChild<ProfileSelector*>(QStringLiteral("hueformProfileComboBox"));
        sliders = widget.findChild<DmxSlidersWidget*>(QStringLiteral("dmxSlidersWidget"));
        QVERIFY(selector && sliders);
        QObject::connect(&widget, &NChannelPickerWidget::colorChanged, &widget,
                         [this](ZelColor& color, QString&) { emitted << color; });
    }
    // Chooses @p profile the way a user does: opening the list and picking its row.
    void choose(ColorUtils::HueformProfileID profile) {
        const int row = selector->findData(profile);
        QVERIFY(row >= 0);
        selector->showPopup();
        QAbstractItemView* list = selector->view();
        QTRY_VERIFY(list->isVisible());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(selector->currentIndex(), row);
    }
    QList<QSpinBox*> spinBoxes() const { return sliders->findChildren<QSpinBox*>(); }
    NChannelPickerWidget widget;
    ProfileSelector* selector = nullptr;
    DmxSlidersWidget* sliders = nullptr;
    QVector<ZelColor> emitted;
};

} // namespace

class TestNChannelPicker : public QObject {
    Q_OBJECT

private slots:
    void everyProfileInOrderRebuildsTheSliders();
    void fourChannelColourShownAndEdited();
    void profilesAreOnlyLookedAt();
};

void TestNChannelPicker::everyProfileInOrderRebuildsTheSliders() {
    Picker picker;
    QCOMPARE(picker.selector->count(), ColorUtils::hueformProfileIDList(false).size());
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    for (int row = 0; row < picker.selector->count(); ++row) {
        if (row > 0)
            QVERIFY(collator.compare(picker.selector->itemText(row - 1), picker.selector->itemText(row)) <= 0);
        const int profile = picker.selector->itemData(row, Qt::UserRole).toInt();
        picker.choose(profile);
        const int channels = ColorUtils::channelNames(profile).size();
        QCOMPARE(picker.sliders->sliderCount(), channels);
        // Sliders built while the picker is on show appear once the event loop has run.
        QCOMPARE(picker.spinBoxes().size(), channels);
        for (QSpinBox* spin : picker.spinBoxes())
            QTRY_VERIFY(spin->isVisible());
        QCOMPARE(picker.widget.color().hueformProfileID(), profile);
        QCOMPARE(picker.widget.color().spec(), int(ZelColor::NChannel));
    }
    QVERIFY(picker.emitted.isEmpty());
    // Set from outside: silently, and only a listed profile.
    QVERIFY(picker.selector->selectProfile(TunableWhiteProfile));
    QVERIFY(!picker.selector->selectProfile(99));
    QCOMPARE(picker.selector->currentProfile(), TunableWhiteProfile);
    QVERIFY(picker.emitted.isEmpty());
}

void TestNChannelPicker::fourChannelColourShownAndEdited() {
    Picker picker;
    const int configuration = ColorUtils::nChannelConfigurationForHueformProfileID(RgbwProfile);
    const ZelColor rgbw = ZelColor::fromNChannelF({0.2, 0.4, 0.6, 1.0}, configuration, RgbwProfile);
    picker.widget.setColor(rgbw, QString(), true);
    QVERIFY(picker.emitted.isEmpty());
    QCOMPARE(picker.selector->currentProfile(), RgbwProfile);
    QCOMPARE(picker.sliders->values(), QVector<int>({51, 102, 153, 255}));
    // Sliders built while the picker is on show appear once the event loop has run.
    const QList<QSpinBox*> spins = picker.spinBoxes();
    for (QSpinBox* spin : spins)
        QTRY_VERIFY(spin->isVisible());
    TestSupport::keepPicture(&picker.widget, QStringLiteral("channel-controls.png"));

    // Four sliders, one colour per change, each carrying the channel it changed.
    QCOMPARE(spins.size(), 4);
    for (int channel = 0; channel < 4; ++channel) {
        const int value = spins[channel]->value();
        const int changed = value < 255 ? value + 1 : value - 1;
        spins[channel]->setFocus();
        QTest::keyClick(spins[channel], value < 255 ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(picker.emitted.size(), channel + 1);
        const ZelColor color = picker.emitted.last();
        QVERIFY(color.hueformProfileID() == RgbwProfile && color.nChannelRenderType() == 0);
        QCOMPARE(color.getNChannel8(channel), changed);
        QCOMPARE(picker.sliders->values()[channel], changed);
    }

    // An N-channel colour does not switch the profile unless it is taken as one.
    picker.choose(TunableWhiteProfile);
    picker.widget.setColor(rgbw, QString(), false);
    QCOMPARE(picker.selector->currentProfile(), TunableWhiteProfile);
    QCOMPARE(picker.sliders->sliderCount(), 2);
}

// Looking at a red through the profiles leaves it red: only moving a channel makes a new colour.
void TestNChannelPicker::profilesAreOnlyLookedAt() {
    Picker picker;
    const auto profileNamed = [&picker](const QString& name) {
        return ColorUtils::HueformProfileID(picker.selector->itemData(picker.selector->findText(name)).toInt());
    };
    const ColorUtils::HueformProfileID rgb = profileNamed(QStringLiteral("RGB (sRGB)"));
    picker.choose(rgb);
    picker.widget.setColor(ZelColor::fromRgb8(255, 0, 0), QString(), false);
    QCOMPARE(picker.sliders->values(), QVector<int>({255, 0, 0}));
    picker.choose(profileNamed(QStringLiteral("Dual White")));
    QCOMPARE(picker.sliders->sliderCount(), 2);
    picker.choose(rgb);
    QCOMPARE(picker.sliders->values(), QVector<int>({255, 0, 0}));
    QVERIFY(picker.emitted.isEmpty());
    // Set from the keypad's fixture profile: a view too.
    picker.widget.setProfile(profileNamed(QStringLiteral("Dual White")));
    QCOMPARE(picker.selector->currentText(), QStringLiteral("Dual White"));
    QVERIFY(picker.emitted.isEmpty());

    const QList<QSpinBox*> spins = picker.spinBoxes();
    spins.first()->setFocus();
    QTest::keyClick(spins.first(), Qt::Key_Up);
    QCOMPARE(picker.emitted.size(), 1);
    QCOMPARE(picker.emitted.last().hueformProfileID(), profileNamed(QStringLiteral("Dual White")));
}

LUMETTO_TEST_MAIN(TestNChannelPicker, "tst_nchannelpicker")
#include "tst_nchannelpicker.moc"

#include "ColorListPicker2.h"
#include "ColorMimeData.h"
#include "ColorUtils.h"
#include "ConnectionState.h"
#include "MSPCustomWashEffect.h"
#include "MSPCustomWashEffectWidget.h"
#include "MSPEffectFactory.h"
#include "MSPEffectWidgetFactory.h"
#include "NChannelPickerWidget.h"
#include "ProfileSelector.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"
#include "ZelColorPicker.h"

#include <QLabel>
#include <QMimeData>
#include <memory>

using namespace ZelColorPickerLib;

namespace {

std::unique_ptr<MSPEffect> make(int kind) {
    return std::unique_ptr<MSPEffect>(MSPEffectFactory::instance()->create(kind));
}

std::unique_ptr<MSPEffectWidget> editorFor(int kind) {
    return std::unique_ptr<MSPEffectWidget>(MSPEffectWidgetFactory::instance()->create(kind, nullptr));
}

} // namespace

class TestColorEditors : public QObject {
    Q_OBJECT

private slots:
    // The text beside the speed slider, the speed the effect then holds and the edits it heard of.
    // The keypad or a file may hold a speed the slider cannot reach: the random colour editor
    // shows it unchanged, a wash brings it into range and writes it back.
    void speedTexts() {
        const int random = MSPEffect::RandomColor, wash = MSPEffect::ColorWash, custom = MSPEffect::CustomWash;
        const int rainbow = MSPEffect::RainbowWash;
        const std::tuple<int, int, QString, int> rows[] = {
            {random, 2, "5 m", 2},   {random, 40, "40", 40}, {wash, 2, "9 m", 2},   {rainbow, 2, "9 m", 2},
            {custom, 32, "1 s", 32}, {wash, 0, "10 m", 1},   {wash, 40, "5 s", 32}, {custom, 40, "1 s", 32},
        };
        for (const auto& [kind, speed, text, kept] : rows) {
            auto editor = editorFor(kind);
            auto effect = make(kind);
            QVERIFY(effect->setProperty("speed", speed));
            QSignalSpy edits(effect.get(), &MSPEffect::effectParamsChanged);
            QVERIFY(editor->setEffect(effect.get()));
            const QString label = editor->findChild<QLabel*>(QStringLiteral("speedValueLabel"))->text();
            QVERIFY2(label == text && effect->property("speed").toInt() == kept && edits.size() == int(kept != speed),
                     qPrintable(QStringLiteral("kind %1 at %2 shows %3").arg(kind).arg(speed).arg(label)));
        }
    }

    void stripAndPickerCarryTheColours() {
        MSPCustomWashEffectWidget editor(nullptr, MSPEffect::CustomWash);
        editor.resize(900, 560);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        auto* strip = editor.findChild<ColorListPicker2*>(QStringLiteral("colorList"));
        auto* picker = editor.findChild<ZelColorPicker*>(QStringLiteral("colorPicker"));
        // A wash without colours: a click on the strip's empty cell is no edit.
        MSPCustomWashEffect empty;
        empty.setColorList({});
        QVERIFY(editor.setEffect(&empty));
        QSignalSpy lists(&editor, &MSPColorWashEffectWidget::colorListChanged);
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->cellRect(0).center());
        QVERIFY2(empty.colorList().isEmpty(), qPrintable(empty.colorList().join("|")));
        QCOMPARE(lists.count(), 0);

        MSPCustomWashEffect effect;
        effect.setColorList({QStringLiteral("#ff0000"), QStringLiteral("#0000ff")});
        QVERIFY(editor.setEffect(&effect));
        QCOMPARE(strip->text(), QStringLiteral("#ff0000|#0000ff"));
        QCOMPARE(picker->color(), ZelColor(QStringLiteral("#ff0000")));

        // Clicking the second cell edits it: the picker shows it, and a colour picked then replaces it.
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->cellRect(1).center());
        QCOMPARE(picker->color(), ZelColor(QStringLiteral("#0000ff")));
        picker->setColor(ZelColor(QStringLiteral("#00ff00")), QString());
        QCOMPARE(effect.colorList(), (QStringList{QStringLiteral("#ff0000"), QStringLiteral("#00ff00")}));

        // Drops beside the cells append until the strip holds six; the effect follows every one.
        for (int i = 0; i < 5; ++i) {
            std::unique_ptr<QMimeData> data(
                ColorMimeData::encode({{QString(), ZelColor::fromRgb8(10 * i, 0, 0), {}, {}}}));
            const QPoint beside(strip->width() - 2, strip->height() / 2);
            QCOMPARE(TestSupport::drop(strip, data.get(), beside) == QEvent::None, i < 4);
        }
        QCOMPARE(effect.colorList().size(), 6);
        QCOMPARE(effect.colorList().last(), ZelColor::fromRgb8(30, 0, 0).aName());
        QCOMPARE(strip->text(), effect.colorList().join(QLatin1Char('|')));
    }

    // The RGB and white pickers need firmware 1.1.20 or the demo; no keypad takes n channels.
    // The channel controls start at the keypad's own fixture profile, and follow it when it changes;
    // showing it sends no colour.
    void channelControlsStartAtTheKeypadsProfile() {
        const QList<ColorUtils::HueformProfileID> profiles = ColorUtils::hueformProfileIDList(false);
        SystemConfiguration::instance()->setFixtureClass(profiles.at(1), false);
        auto editor = editorFor(MSPEffect::FixedColor);
        auto effect = make(MSPEffect::FixedColor);
        QSignalSpy edits(effect.get(), &MSPEffect::effectParamsChanged);
        QVERIFY(editor->setEffect(effect.get()));
        editor->show();
        auto* selector = editor->findChild<NChannelPickerWidget*>(QStringLiteral("rgbNChannelPickerWidget"))
                             ->findChild<ProfileSelector*>();
        QCOMPARE(selector->currentProfile(), profiles.at(1));
        SystemConfiguration::instance()->setFixtureClass(profiles.at(2), true);
        QCOMPARE(selector->currentProfile(), profiles.at(2));
        QCOMPARE(edits.size(), 0);
    }

    void pickerModesFollowFirmwareAndDemo() {
        const std::tuple<QString, ConnectionState::State, bool> rows[] = {
            {"1.1.19", ConnectionState::Connected, false},
            {"1.1.20", ConnectionState::Connected, true},
            {"1.2.0", ConnectionState::Connected, true},
            {"1.1.19", ConnectionState::OfflineDemo, true},
        };
        for (const auto& [version, state, shown] : rows) {
            SystemConfiguration::instance()->setVersion(version);
            ConnectionState::instance()->setState(state);
            for (int kind : {int(MSPEffect::FixedColor), int(MSPEffect::CustomWash)}) {
                auto editor = editorFor(kind);
                auto effect = make(kind);
                QVERIFY(editor->setEffect(effect.get()));
                auto* buttons = editor->findChild<QWidget*>(QStringLiteral("colorPickerButtons"));
                const auto visible = [buttons](const char* name) {
                    return buttons->findChild<QWidget*>(QLatin1String(name))->isVisibleTo(buttons);
                };
                QVERIFY2(visible("showRgbPickerButton") == shown && visible("showWhitePickerButton") == shown &&
                             !visible("showNChannelPickerButton"),
                         qPrintable(version + QStringLiteral(" in state %1, kind %2").arg(state).arg(kind)));
            }
        }
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestColorEditors, "tst_coloreditors", QApplication)
#include "tst_coloreditors.moc"

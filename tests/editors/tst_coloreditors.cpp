#include "ColorListPicker2.h"
#include "ColorMimeData.h"
#include "ConnectionState.h"
#include "MSPColorWashEffect.h"
#include "MSPCustomWashEffect.h"
#include "MSPCustomWashEffectWidget.h"
#include "MSPEffectFactory.h"
#include "MSPEffectWidgetFactory.h"
#include "MSPFixedColorEffect.h"
#include "MSPFixedColorEffectWidget.h"
#include "MSPRainbowWashEffectWidget.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"
#include "ZelColorPicker.h"

#include <QLabel>
#include <QMimeData>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <memory>

using namespace ZelColorPickerLib;

namespace {

std::unique_ptr<MSPEffect> make(int kind) {
    return std::unique_ptr<MSPEffect>(MSPEffectFactory::instance()->create(kind));
}

template <typename T = QWidget>
T* part(const QWidget& editor, const char* name) {
    return editor.findChild<T*>(QLatin1String(name));
}

} // namespace

class TestColorEditors : public QObject {
    Q_OBJECT

private slots:
    void init() {
        SystemConfiguration::instance()->setVersion(QStringLiteral("1.3.2"));
        ConnectionState::instance()->setState(ConnectionState::Connected);
    }

    void speedTextsAndClamping() {
        MSPColorWashEffectWidget colorWash(nullptr, MSPEffect::ColorWash);
        MSPCustomWashEffectWidget custom(nullptr, MSPEffect::CustomWash);
        QCOMPARE(colorWash.speedText(2), QStringLiteral("9 m"));
        QCOMPARE(MSPRainbowWashEffectWidget(nullptr, MSPEffect::RainbowWash).speedText(2), QStringLiteral("9 m"));
        QCOMPARE(custom.speedText(2), QStringLiteral("5 m"));
        QCOMPARE(custom.speedText(32), QStringLiteral("1 s"));

        auto effect = make(MSPEffect::ColorWash);
        auto* wash = qobject_cast<MSPColorWashEffect*>(effect.get());
        wash->setSpeed(7);
        QVERIFY(colorWash.setEffect(wash));
        QSignalSpy speeds(&colorWash, &MSPColorWashEffectWidget::speedChanged);
        colorWash.setSpeed(0);
        QCOMPARE(part<QLabel>(colorWash, "speedValueLabel")->text(), QStringLiteral("10 m"));
        QCOMPARE(speeds.takeFirst().at(0).toInt(), 1);
        QCOMPARE(wash->speed(), 1);
        colorWash.setSpeed(40);
        QCOMPARE(part<QLabel>(colorWash, "speedValueLabel")->text(), QStringLiteral("5 s"));
        QCOMPARE(wash->speed(), 32);
        // A speed in range is shown, not written back.
        colorWash.setSpeed(12);
        QCOMPARE(speeds.size(), 1);
        QCOMPARE(wash->speed(), 32);
        QCOMPARE(part<QSlider>(colorWash, "speedSlider")->value(), 12);
    }

    void rainbowWidthStaysInRange() {
        MSPRainbowWashEffectWidget editor(nullptr, MSPEffect::RainbowWash);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        auto effect = make(MSPEffect::RainbowWash);
        auto* rainbow = qobject_cast<MSPCustomWashEffect*>(effect.get());
        QVERIFY(editor.setEffect(rainbow));
        auto* slider = part<QSlider>(editor, "widthSlider");
        auto* edit = part<QSpinBox>(editor, "widthEdit");
        QCOMPARE(edit->minimum(), 4);
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_End);
        QCOMPARE(rainbow->width(), 35);
        QCOMPARE(edit->value(), 35);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("9"));
        QCOMPARE(rainbow->width(), 9);
        QCOMPARE(slider->value(), 9);

        // Another kind is refused and changes nothing.
        auto other = make(MSPEffect::CustomWash);
        QVERIFY(!editor.setEffect(other.get()));
        QTest::keyClick(slider, Qt::Key_Home);
        QCOMPARE(rainbow->width(), 4);
        QCOMPARE(qobject_cast<MSPCustomWashEffect*>(other.get())->width(), 1);
    }

    void formsShowWhatTheirKindUses_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("colours");
        QTest::addColumn<bool>("width");
        QTest::newRow("colour wash") << int(MSPEffect::ColorWash) << false << false;
        QTest::newRow("rainbow") << int(MSPEffect::RainbowWash) << false << true;
        QTest::newRow("custom") << int(MSPEffect::CustomWash) << true << true;
    }

    void formsShowWhatTheirKindUses() {
        QFETCH(int, kind);
        QFETCH(bool, colours);
        QFETCH(bool, width);
        std::unique_ptr<MSPEffectWidget> editor(MSPEffectWidgetFactory::instance()->create(kind, nullptr));
        for (const char* name : {"colorList", "colorPicker", "colorTreeAndFilter", "colorPickerButtons"}) {
            QVERIFY2(part(*editor, name)->isVisibleTo(editor.get()) == colours, name);
            QVERIFY2(part(*editor, name)->isEnabled() == colours, name);
        }
        for (const char* name : {"widthLabel", "widthSlider", "widthEdit"})
            QVERIFY2(part(*editor, name)->isVisibleTo(editor.get()) == width, name);
        QCOMPARE(part<ColorListPicker2>(*editor, "colorList")->minCount(), 2);
    }

    void stripAndPickerCarryTheColours() {
        MSPCustomWashEffectWidget editor(nullptr, MSPEffect::CustomWash);
        editor.resize(900, 560);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        auto* strip = part<ColorListPicker2>(editor, "colorList");
        auto* picker = part<ZelColorPicker>(editor, "colorPicker");
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
        effect.setWidth(7);
        QVERIFY(editor.setEffect(&effect));
        QCOMPARE(strip->text(), QStringLiteral("#ff0000|#0000ff"));
        QCOMPARE(picker->color(), ZelColor(QStringLiteral("#ff0000")));
        QCOMPARE(part<QSpinBox>(editor, "widthEdit")->value(), 7);

        // Clicking the second cell edits it: the picker shows it, and a colour picked then replaces it.
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->cellRect(1).center());
        QCOMPARE(picker->color(), ZelColor(QStringLiteral("#0000ff")));
        QCOMPARE(effect.colorList(), (QStringList{QStringLiteral("#ff0000"), QStringLiteral("#0000ff")}));
        picker->setColor(ZelColor(QStringLiteral("#00ff00")), QString());
        QCOMPARE(effect.colorList(), (QStringList{QStringLiteral("#ff0000"), QStringLiteral("#00ff00")}));
        QCOMPARE(lists.last().at(0).toStringList(), effect.colorList());

        // Drops beside the cells append until the strip holds six; the effect follows every one.
        for (int i = 0; i < 5; ++i) {
            std::unique_ptr<QMimeData> data(
                ColorMimeData::encode({{QString(), ZelColor::fromRgb8(10 * i, 0, 0), {}, {}}}));
            const QPoint beside(strip->width() - 2, strip->height() / 2);
            QDragEnterEvent enter(beside, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(strip, &enter);
            QDropEvent drop(beside, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(strip, &drop);
            QCOMPARE(drop.isAccepted(), i < 4);
        }
        QCOMPARE(effect.colorList().size(), 6);
        QCOMPARE(effect.colorList().last(), ZelColor::fromRgb8(30, 0, 0).aName());
        QCOMPARE(strip->text(), effect.colorList().join(QLatin1Char('|')));
    }

    void fixedEditorWritesThePickedColour() {
        MSPFixedColorEffectWidget editor(nullptr, MSPEffect::FixedColor);
        MSPFixedColorEffect effect;
        effect.setColor(QStringLiteral("#123456"));
        QVERIFY(editor.setEffect(&effect));
        auto* picker = part<ZelColorPicker>(editor, "colorPicker");
        QCOMPARE(picker->color(), ZelColor(QStringLiteral("#123456")));
        QSignalSpy colours(&editor, &MSPFixedColorEffectWidget::colorChanged);
        // A white picked by chromaticity reaches the effect without loss.
        ZelColor white;
        white.setYxyF(0.8, 0.4, 0.39, 1.0, 0);
        picker->setColor(white, QString());
        QCOMPARE(effect.color(), white.aName());
        QCOMPARE(colours.last().at(0).toString(), white.aName());
        QCOMPARE(ZelColor(effect.color()), white);
    }

    void pickerModesFollowFirmwareAndDemo_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("shown");
        QTest::newRow("1.1.19") << "1.1.19" << int(ConnectionState::Connected) << false;
        QTest::newRow("1.1.20") << "1.1.20" << int(ConnectionState::Connected) << true;
        QTest::newRow("1.2.0") << "1.2.0" << int(ConnectionState::Connected) << true;
        QTest::newRow("1.1.19 in the demo") << "1.1.19" << int(ConnectionState::OfflineDemo) << true;
    }

    void pickerModesFollowFirmwareAndDemo() {
        QFETCH(QString, version);
        QFETCH(int, state);
        QFETCH(bool, shown);
        SystemConfiguration::instance()->setVersion(version);
        ConnectionState::instance()->setState(ConnectionState::State(state));
        for (int kind : {int(MSPEffect::FixedColor), int(MSPEffect::CustomWash)}) {
            std::unique_ptr<MSPEffectWidget> editor(MSPEffectWidgetFactory::instance()->create(kind, nullptr));
            auto effect = make(kind);
            QVERIFY(editor->setEffect(effect.get()));
            QWidget* buttons = part(*editor, "colorPickerButtons");
            const auto visible = [buttons](const char* name) { return part(*buttons, name)->isVisibleTo(buttons); };
            QCOMPARE(visible("showRgbPickerButton"), shown);
            QCOMPARE(visible("showWhitePickerButton"), shown);
            QVERIFY(!visible("showNChannelPickerButton"));
            QVERIFY(visible("addToFavoritesButton"));
        }
    }

    void everyEditorIsShown() {
        // Pictures of the five editors; LUMETTO_SCREENSHOT_DIR keeps them for a person to look at.
        const QString folder = qEnvironmentVariable("LUMETTO_SCREENSHOT_DIR");
        for (int kind = MSPEffect::FixedColor; kind <= MSPEffect::CustomWash; ++kind) {
            std::unique_ptr<MSPEffectWidget> editor(MSPEffectWidgetFactory::instance()->create(kind, nullptr));
            auto effect = make(kind);
            if (kind == MSPEffect::CustomWash)
                qobject_cast<MSPCustomWashEffect*>(effect.get())
                    ->setColorList({"#ff4000", "#ffd000", "#20a0ff", "#8020ff"});
            QVERIFY(editor->setEffect(effect.get()));
            editor->resize(900, 560);
            editor->show();
            QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
            if (!folder.isEmpty())
                QVERIFY(editor->grab().save(folder + QStringLiteral("/coloreditor-%1.png").arg(kind)));
        }
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestColorEditors, "tst_coloreditors", QApplication)
#include "tst_coloreditors.moc"

#include "ColorListPicker2.h"
#include "ColorMimeData.h"
#include "ConnectionState.h"
#include "MSPCustomWashEffect.h"
#include "MSPCustomWashEffectWidget.h"
#include "MSPEffectFactory.h"
#include "MSPEffectWidgetFactory.h"
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

    void speedTexts_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("speed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kept");
        const int random = MSPEffect::RandomColor;
        const int colorWash = MSPEffect::ColorWash;
        const int custom = MSPEffect::CustomWash;
        QTest::newRow("random 2") << random << 2 << "5 m" << 2;
        // The keypad or a file may hold a speed the slider cannot reach: shown, not changed.
        QTest::newRow("random 40") << random << 40 << "40" << 40;
        QTest::newRow("colour wash 2") << colorWash << 2 << "9 m" << 2;
        QTest::newRow("rainbow 2") << int(MSPEffect::RainbowWash) << 2 << "9 m" << 2;
        QTest::newRow("custom 32") << custom << 32 << "1 s" << 32;
        // A wash brings its speed into range and writes it back.
        QTest::newRow("colour wash 0") << colorWash << 0 << "10 m" << 1;
        QTest::newRow("colour wash 40") << colorWash << 40 << "5 s" << 32;
        QTest::newRow("custom 40") << custom << 40 << "1 s" << 32;
    }

    void speedTexts() {
        QFETCH(int, kind);
        QFETCH(int, speed);
        QFETCH(QString, text);
        QFETCH(int, kept);
        auto editor = editorFor(kind);
        auto effect = make(kind);
        QVERIFY(effect->setProperty("speed", speed));
        QSignalSpy edits(effect.get(), &MSPEffect::effectParamsChanged);
        QVERIFY(editor->setEffect(effect.get()));
        QCOMPARE(part<QLabel>(*editor, "speedValueLabel")->text(), text);
        QCOMPARE(effect->property("speed").toInt(), kept);
        QCOMPARE(edits.size(), int(kept != speed));
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
        QVERIFY(editor.setEffect(&effect));
        QCOMPARE(strip->text(), QStringLiteral("#ff0000|#0000ff"));
        QCOMPARE(picker->color(), ZelColor(QStringLiteral("#ff0000")));

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
            auto editor = editorFor(kind);
            auto effect = make(kind);
            QVERIFY(editor->setEffect(effect.get()));
            QWidget* buttons = part(*editor, "colorPickerButtons");
            const auto visible = [buttons](const char* name) { return part(*buttons, name)->isVisibleTo(buttons); };
            QCOMPARE(visible("showRgbPickerButton"), shown);
            QCOMPARE(visible("showWhitePickerButton"), shown);
            QVERIFY(!visible("showNChannelPickerButton"));
        }
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestColorEditors, "tst_coloreditors", QApplication)
#include "tst_coloreditors.moc"

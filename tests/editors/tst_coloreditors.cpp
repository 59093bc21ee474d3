#include "ColorListPicker2.h"
#include "ColorMimeData.h"
#include "ConnectionState.h"
#include "MSPColorWashEffect.h"
#include "MSPColorWashEffectWidget.h"
#include "MSPCustomWashEffect.h"
#include "MSPCustomWashEffectWidget.h"
#include "MSPEffectFactory.h"
#include "MSPFixedColorEffect.h"
#include "MSPFixedColorEffectWidget.h"
#include "MSPRainbowWashEffectWidget.h"
#include "MSPVariableColorEffectWidget.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"
#include "ZelColorPicker.h"
#include "ZelColorPickerButtonsWidget.h"

#include <QDir>
#include <QLabel>
#include <QMimeData>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <memory>

using namespace ZelColorPickerLib;

namespace {

std::unique_ptr<MSPEffect> make(int kind) {
    return std::unique_ptr<MSPEffect>(MSPEffectFactory::instance()->create(kind));
}

QString speedLabel(const QWidget& editor) {
    return editor.findChild<QLabel*>(QStringLiteral("speedValueLabel"))->text();
}

} // namespace

class TestColorEditors : public QObject {
    Q_OBJECT

private slots:
    void init();
    void speedTextsAndClamping();
    void washControlsWriteTheEffect();
    void formsShowWhatTheirKindUses();
    void stripAndPickerCarryTheColours();
    void fixedEditorWritesThePickedColour();
    void pickerModesFollowFirmwareAndDemo_data();
    void pickerModesFollowFirmwareAndDemo();
    void everyEditorIsShown();
};

void TestColorEditors::init() {
    SystemConfiguration::instance()->setVersion(QStringLiteral("1.3.2"));
    ConnectionState::instance()->setState(ConnectionState::Connected);
}

void TestColorEditors::speedTextsAndClamping() {
    MSPColorWashEffectWidget colorWash(nullptr, MSPEffect::ColorWash);
    MSPRainbowWashEffectWidget rainbow(nullptr, MSPEffect::RainbowWash);
    MSPCustomWashEffectWidget custom(nullptr, MSPEffect::CustomWash);
    QCOMPARE(colorWash.speedText(2), QStringLiteral("9 m"));
    QCOMPARE(rainbow.speedText(2), QStringLiteral("9 m"));
    QCOMPARE(custom.speedText(2), QStringLiteral("5 m"));
    QCOMPARE(custom.speedText(32), QStringLiteral("1 s"));

    auto effect = make(MSPEffect::ColorWash);
    auto* wash = qobject_cast<MSPColorWashEffect*>(effect.get());
    wash->setSpeed(7);
    QVERIFY(colorWash.setEffect(wash));
    QSignalSpy speeds(&colorWash, &MSPColorWashEffectWidget::speedChanged);
    colorWash.setSpeed(0);
    QCOMPARE(speedLabel(colorWash), QStringLiteral("10 m"));
    QCOMPARE(speeds.takeFirst().at(0).toInt(), 1);
    QCOMPARE(wash->speed(), 1);
    colorWash.setSpeed(40);
    QCOMPARE(speedLabel(colorWash), QStringLiteral("5 s"));
    QCOMPARE(wash->speed(), 32);
    // A speed in range is shown, not written back.
    colorWash.setSpeed(12);
    QCOMPARE(speeds.size(), 1);
    QCOMPARE(wash->speed(), 32);
    QCOMPARE(colorWash.findChild<QSlider*>(QStringLiteral("speedSlider"))->value(), 12);
}

void TestColorEditors::washControlsWriteTheEffect() {
    MSPRainbowWashEffectWidget editor(nullptr, MSPEffect::RainbowWash);
    editor.resize(700, 400);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    auto effect = make(MSPEffect::RainbowWash);
    auto* rainbow = qobject_cast<MSPCustomWashEffect*>(effect.get());
    QVERIFY(editor.setEffect(rainbow));

    auto* speed = editor.findChild<QSlider*>(QStringLiteral("speedSlider"));
    speed->setFocus();
    QTest::keyClick(speed, Qt::Key_Right);
    QCOMPARE(rainbow->speed(), speed->value());
    QCOMPARE(speedLabel(editor), editor.speedText(speed->value()));
    QTest::mouseClick(editor.findChild<QRadioButton*>(QStringLiteral("downButton")), Qt::LeftButton);
    QCOMPARE(rainbow->direction(), 1);
    QTest::mouseClick(editor.findChild<QRadioButton*>(QStringLiteral("upButton")), Qt::LeftButton);
    QCOMPARE(rainbow->direction(), 0);

    auto* widthSlider = editor.findChild<QSlider*>(QStringLiteral("widthSlider"));
    auto* widthEdit = editor.findChild<QSpinBox*>(QStringLiteral("widthEdit"));
    QCOMPARE(widthSlider->minimum(), 4);
    QCOMPARE(widthSlider->maximum(), 35);
    QCOMPARE(widthEdit->minimum(), 4);
    QSignalSpy widths(&editor, &MSPColorWashEffectWidget::widthChanged);
    widthSlider->setFocus();
    QTest::keyClick(widthSlider, Qt::Key_End);
    QCOMPARE(rainbow->width(), 35);
    QCOMPARE(widthEdit->value(), 35);
    widthEdit->setFocus();
    widthEdit->selectAll();
    QTest::keyClicks(widthEdit, QStringLiteral("9"));
    QCOMPARE(rainbow->width(), 9);
    QCOMPARE(widthSlider->value(), 9);
    QCOMPARE(widths.last().at(0).toInt(), 9);

    // Another kind is refused and changes nothing.
    auto other = make(MSPEffect::CustomWash);
    QVERIFY(!editor.setEffect(other.get()));
    QTest::keyClick(widthSlider, Qt::Key_Home);
    QCOMPARE(rainbow->width(), 4);
    QCOMPARE(qobject_cast<MSPCustomWashEffect*>(other.get())->width(), 1);
}

void TestColorEditors::formsShowWhatTheirKindUses() {
    struct Row {
        std::shared_ptr<MSPColorWashEffectWidget> editor;
        bool colours;
        bool width;
    };
    const QList<Row> rows{
        {std::make_shared<MSPColorWashEffectWidget>(nullptr, MSPEffect::ColorWash), false, false},
        {std::make_shared<MSPCustomWashEffectWidget>(nullptr, MSPEffect::CustomWash), true, true},
        {std::make_shared<MSPRainbowWashEffectWidget>(nullptr, MSPEffect::RainbowWash), false, true},
    };
    for (const Row& row : rows) {
        MSPColorWashEffectWidget* editor = row.editor.get();
        QCOMPARE(editor->objectName(), QStringLiteral("MSPCustomWashWidget"));
        QCOMPARE(editor->windowTitle(), QStringLiteral("Form"));
        for (const char* name : {"colorList", "colorPicker", "colorTreeAndFilter", "colorPickerButtons"}) {
            auto* part = editor->findChild<QWidget*>(QString::fromLatin1(name));
            QVERIFY2(part, name);
            QCOMPARE(part->isVisibleTo(editor), row.colours);
            QCOMPARE(part->isEnabled(), row.colours);
        }
        for (const char* name : {"widthLabel", "widthSlider", "widthEdit"})
            QCOMPARE(editor->findChild<QWidget*>(QString::fromLatin1(name))->isVisibleTo(editor), row.width);
        QVERIFY(editor->findChild<QRadioButton*>(QStringLiteral("upButton"))->isChecked());
        auto* strip = editor->findChild<ColorListPicker2*>(QStringLiteral("colorList"));
        QCOMPARE(strip->minCount(), 2);
        QCOMPARE(strip->maxCount(), 6);
    }
    MSPFixedColorEffectWidget fixed(nullptr, MSPEffect::FixedColor);
    QCOMPARE(fixed.objectName(), QStringLiteral("MSPFixedColorWidget"));
    QCOMPARE(fixed.findChild<QWidget*>(QStringLiteral("colorPickerButtons"))->size(), QSize(149, 40));
    QCOMPARE(fixed.findChild<QWidget*>(QStringLiteral("colorPicker"))->minimumWidth(), 360);
    MSPVariableColorEffectWidget variable(nullptr, MSPEffect::VariableColor);
    auto variableEffect = make(MSPEffect::VariableColor);
    QVERIFY(variable.setEffect(variableEffect.get()));
    QVERIFY(!fixed.setEffect(variableEffect.get()));
}

void TestColorEditors::stripAndPickerCarryTheColours() {
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
    QSignalSpy emptyLists(&editor, &MSPColorWashEffectWidget::colorListChanged);
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->cellRect(0).center());
    QVERIFY2(empty.colorList().isEmpty(), qPrintable(empty.colorList().join("|")));
    QCOMPARE(emptyLists.count(), 0);

    MSPCustomWashEffect effect;
    effect.setColorList({QStringLiteral("#ff0000"), QStringLiteral("#0000ff")});
    effect.setWidth(7);
    QVERIFY(editor.setEffect(&effect));
    QCOMPARE(strip->text(), QStringLiteral("#ff0000|#0000ff"));
    QCOMPARE(picker->color(), ZelColor(QStringLiteral("#ff0000")));
    QCOMPARE(editor.findChild<QSpinBox*>(QStringLiteral("widthEdit"))->value(), 7);

    // Clicking the second cell edits it: the picker shows it, and a colour picked then replaces it.
    QSignalSpy lists(&editor, &MSPColorWashEffectWidget::colorListChanged);
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->cellRect(1).center());
    QCOMPARE(picker->color(), ZelColor(QStringLiteral("#0000ff")));
    QCOMPARE(effect.colorList(), (QStringList{QStringLiteral("#ff0000"), QStringLiteral("#0000ff")}));
    picker->setColor(ZelColor(QStringLiteral("#00ff00")), QString());
    QCOMPARE(effect.colorList(), (QStringList{QStringLiteral("#ff0000"), QStringLiteral("#00ff00")}));
    QCOMPARE(lists.last().at(0).toStringList(), effect.colorList());

    // Drops beside the cells append until the strip holds six; the effect follows every one.
    for (int i = 0; i < 5; ++i) {
        std::unique_ptr<QMimeData> data(ColorMimeData::encode({{QString(), ZelColor::fromRgb8(10 * i, 0, 0), {}, {}}}));
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

void TestColorEditors::fixedEditorWritesThePickedColour() {
    MSPFixedColorEffectWidget editor(nullptr, MSPEffect::FixedColor);
    editor.resize(900, 560);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    MSPFixedColorEffect effect;
    effect.setColor(QStringLiteral("#123456"));
    QVERIFY(editor.setEffect(&effect));
    auto* picker = editor.findChild<ZelColorPicker*>(QStringLiteral("colorPicker"));
    QCOMPARE(picker->color(), ZelColor(QStringLiteral("#123456")));
    QCOMPARE(editor.color(), QStringLiteral("#123456"));

    QSignalSpy colours(&editor, &MSPFixedColorEffectWidget::colorChanged);
    ZelColor white;
    white.setYxyF(0.8, 0.4, 0.39, 1.0, 0);
    picker->setColor(white, QString());
    QCOMPARE(effect.color(), white.aName());
    QCOMPARE(colours.last().at(0).toString(), white.aName());
    QCOMPARE(ZelColor(effect.color()), white);
}

void TestColorEditors::pickerModesFollowFirmwareAndDemo_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("shown");
    QTest::newRow("1.1.19") << "1.1.19" << int(ConnectionState::Connected) << false;
    QTest::newRow("1.1.20") << "1.1.20" << int(ConnectionState::Connected) << true;
    QTest::newRow("1.2.0") << "1.2.0" << int(ConnectionState::Connected) << true;
    QTest::newRow("1.1.19 in the demo") << "1.1.19" << int(ConnectionState::OfflineDemo) << true;
}

void TestColorEditors::pickerModesFollowFirmwareAndDemo() {
    QFETCH(QString, version);
    QFETCH(int, state);
    QFETCH(bool, shown);
    SystemConfiguration::instance()->setVersion(version);
    ConnectionState::instance()->setState(ConnectionState::State(state));
    MSPFixedColorEffectWidget fixed(nullptr, MSPEffect::FixedColor);
    MSPCustomWashEffectWidget custom(nullptr, MSPEffect::CustomWash);
    auto fixedEffect = make(MSPEffect::FixedColor);
    auto customEffect = make(MSPEffect::CustomWash);
    QVERIFY(fixed.setEffect(fixedEffect.get()));
    QVERIFY(custom.setEffect(customEffect.get()));
    for (QWidget* editor : {static_cast<QWidget*>(&fixed), static_cast<QWidget*>(&custom)}) {
        auto* buttons = editor->findChild<QWidget*>(QStringLiteral("colorPickerButtons"));
        QCOMPARE(buttons->findChild<QToolButton*>(QStringLiteral("showRgbPickerButton"))->isVisibleTo(buttons), shown);
        QCOMPARE(buttons->findChild<QToolButton*>(QStringLiteral("showWhitePickerButton"))->isVisibleTo(buttons),
                 shown);
        QVERIFY(!buttons->findChild<QToolButton*>(QStringLiteral("showNChannelPickerButton"))->isVisibleTo(buttons));
        QVERIFY(buttons->findChild<QToolButton*>(QStringLiteral("addToFavoritesButton"))->isVisibleTo(buttons));
    }
}

void TestColorEditors::everyEditorIsShown() {
    // Pictures of the five editors; LUMETTO_SCREENSHOT_DIR keeps them for a person to look at.
    const QString folder = qEnvironmentVariable("LUMETTO_SCREENSHOT_DIR");
    for (int kind = MSPEffect::FixedColor; kind <= MSPEffect::CustomWash; ++kind) {
        std::unique_ptr<MSPEffectWidget> editor;
        switch (kind) {
        case MSPEffect::FixedColor:
            editor = std::make_unique<MSPFixedColorEffectWidget>(nullptr, kind);
            break;
        case MSPEffect::VariableColor:
            editor = std::make_unique<MSPVariableColorEffectWidget>(nullptr, kind);
            break;
        case MSPEffect::ColorWash:
            editor = std::make_unique<MSPColorWashEffectWidget>(nullptr, kind);
            break;
        case MSPEffect::RainbowWash:
            editor = std::make_unique<MSPRainbowWashEffectWidget>(nullptr, kind);
            break;
        default:
            editor = std::make_unique<MSPCustomWashEffectWidget>(nullptr, kind);
        }
        auto effect = make(kind);
        if (auto* custom = qobject_cast<MSPCustomWashEffect*>(effect.get()); custom && kind == MSPEffect::CustomWash)
            custom->setColorList({QStringLiteral("#ff4000"), QStringLiteral("#ffd000"), QStringLiteral("#20a0ff"),
                                  QStringLiteral("#8020ff")});
        QVERIFY(editor->setEffect(effect.get()));
        editor->resize(900, 560);
        editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
        if (!folder.isEmpty())
            QVERIFY(editor->grab().save(QDir(folder).filePath(QStringLiteral("coloreditor-%1.png").arg(kind))));
    }
}

LUMETTO_NETWORK_TEST_MAIN(TestColorEditors, "tst_coloreditors", QApplication)
#include "tst_coloreditors.moc"

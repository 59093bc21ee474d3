#include "IP4Validator.h"
#include "MSPColorWashEffect.h"
#include "MSPCustomWashEffect.h"
#include "MSPCustomWashEffectWidget.h"
#include "MSPDuoWhiteEffect.h"
#include "MSPDuoWhiteEffectWidget.h"
#include "MSPEffectFactory.h"
#include "MSPEffectWidgetFactory.h"
#include "MSPFixedColorEffect.h"
#include "MSPFixedColorEffectWidget.h"
#include "MSPRandomColorEffect.h"
#include "MSPRandomColorEffectWidget.h"
#include "MSPWhiteEffect.h"
#include "MSPWhiteEffectWidget.h"
#include "TestEnvironment.h"
#include "ZelColorLibrary.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <memory>

class TestEffectEditors : public QObject {
    Q_OBJECT

private slots:
    void editorsRefuseOtherKinds();
    void randomSpeedTexts_data();
    void randomSpeedTexts();
    void randomEditorWritesTheEffect();
    void loadingIsNoEdit();
    void whiteBrightnessTyped();
    void whiteScales();
    void sliderDragIsReported();
    void ip4Validator_data();
    void ip4Validator();
    void addressTypedCharacterByCharacter();
    void favoritesGoToTheNamedOrDefaultList();
};

void TestEffectEditors::editorsRefuseOtherKinds() {
    QWidget parent;
    QList<MSPEffectWidget*> editors;
    for (int kind = 0; kind < 8; ++kind)
        editors << MSPEffectWidgetFactory::instance()->create(kind, &parent);
    for (int kind = 0; kind < 8; ++kind) {
        std::unique_ptr<MSPEffect> effect(MSPEffectFactory::instance()->create(kind));
        for (int editorKind = 0; editorKind < 8; ++editorKind) {
            // Both white editors take both white effects: they differ in their scale only.
            const bool white = kind >= MSPEffect::RgbWhite && editorKind >= MSPEffect::RgbWhite;
            const bool takes = editorKind == kind || white;
            QCOMPARE(editors.at(editorKind)->setEffect(effect.get()), takes);
        }
    }
    QVERIFY(!editors.at(0)->setEffect(nullptr));
    QVERIFY(!MSPEffectWidgetFactory::instance()->create(8, &parent));
    QVERIFY(!MSPEffectWidgetFactory::instance()->create(-1, &parent));
}

void TestEffectEditors::randomSpeedTexts_data() {
    QTest::addColumn<int>("speed");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << "10 m";
    QTest::newRow("2") << 2 << "5 m";
    QTest::newRow("6") << 6 << "1.75 m";
    QTest::newRow("10") << 10 << "50 s";
    QTest::newRow("32") << 32 << "1 s";
    // The keypad or a file may hold a speed the slider cannot reach.
    QTest::newRow("40") << 40 << "40";
}

void TestEffectEditors::randomSpeedTexts() {
    QFETCH(int, speed);
    QFETCH(QString, text);
    MSPRandomColorEffectWidget editor(nullptr, MSPEffect::RandomColor);
    MSPRandomColorEffect effect;
    effect.setSpeed(speed);
    QVERIFY(editor.setEffect(&effect));
    QCOMPARE(editor.findChild<QLabel*>(QStringLiteral("speedValueLabel"))->text(), text);
}

void TestEffectEditors::randomEditorWritesTheEffect() {
    MSPRandomColorEffectWidget editor(nullptr, MSPEffect::RandomColor);
    editor.show();
    MSPRandomColorEffect effect;
    effect.setFade(true);
    QVERIFY(editor.setEffect(&effect));
    auto* slider = editor.findChild<QSlider*>(QStringLiteral("speedSlider"));
    auto* fade = editor.findChild<QCheckBox*>(QStringLiteral("fadeCheckBox"));
    QCOMPARE(slider->minimum(), 1);
    QCOMPARE(slider->maximum(), 32);
    QVERIFY(fade->isChecked());

    QSignalSpy speed(&editor, &MSPRandomColorEffectWidget::speedChanged);
    QSignalSpy fadeSpy(&editor, &MSPRandomColorEffectWidget::fadeChanged);
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_Right);
    QCOMPARE(effect.speed(), 3);
    QCOMPARE(speed.size(), 2);
    QCOMPARE(speed.last().at(0).toInt(), 3);
    QCOMPARE(editor.findChild<QLabel*>(QStringLiteral("speedValueLabel"))->text(), QStringLiteral("4 m"));
    QTest::keyClick(slider, Qt::Key_End);
    QCOMPARE(effect.speed(), 32);

    QTest::mouseClick(fade, Qt::LeftButton);
    QVERIFY(!effect.fade());
    QCOMPARE(fadeSpy.size(), 1);
    QCOMPARE(fadeSpy.takeFirst().at(0).toBool(), false);
    QTest::mouseClick(fade, Qt::LeftButton);
    QVERIFY(effect.fade());
    QCOMPARE(fadeSpy.takeFirst().at(0).toBool(), true);
}

void TestEffectEditors::loadingIsNoEdit() {
    // Loading an effect into an editor must not travel back as an edit of the previous one.
    MSPRandomColorEffectWidget random(nullptr, MSPEffect::RandomColor);
    MSPRandomColorEffect first;
    MSPRandomColorEffect second;
    second.setSpeed(17);
    second.setFade(true);
    QVERIFY(random.setEffect(&first));
    QSignalSpy firstChanged(&first, &MSPEffect::effectParamsChanged);
    QSignalSpy secondChanged(&second, &MSPEffect::effectParamsChanged);
    QSignalSpy speed(&random, &MSPRandomColorEffectWidget::speedChanged);
    QVERIFY(random.setEffect(&second));
    random.setSpeed(20);
    random.setFade(false);
    QVERIFY(firstChanged.isEmpty());
    QVERIFY(secondChanged.isEmpty());
    QVERIFY(speed.isEmpty());
    QCOMPARE(second.speed(), 17);

    MSPWhiteEffectWidget white(nullptr, MSPEffect::RgbWhite);
    MSPWhiteEffect a;
    MSPWhiteEffect b;
    b.setTemperature(200);
    b.setBrightness(30);
    QVERIFY(white.setEffect(&a));
    QSignalSpy aChanged(&a, &MSPEffect::effectParamsChanged);
    QSignalSpy bChanged(&b, &MSPEffect::effectParamsChanged);
    QSignalSpy brightness(&white, &MSPWhiteEffectWidget::brightnessChanged);
    QVERIFY(white.setEffect(&b));
    QCOMPARE(white.findChild<QSlider*>(QStringLiteral("temperatureSlider"))->value(), 200);
    QCOMPARE(white.findChild<QSlider*>(QStringLiteral("brightnessSlider"))->value(), 30);
    QCOMPARE(white.findChild<QSpinBox*>(QStringLiteral("brightnessEdit"))->value(), 30);
    QVERIFY(aChanged.isEmpty());
    QVERIFY(bChanged.isEmpty());
    QVERIFY(brightness.isEmpty());

    MSPCustomWashEffectWidget wash(nullptr, MSPEffect::CustomWash);
    MSPCustomWashEffect c;
    MSPCustomWashEffect d;
    d.setSpeed(9);
    d.setDirection(1);
    d.setWidth(12);
    // Colours in forms the picker writes differently: shown, they must not come back rewritten.
    d.setColorList({QStringLiteral("red"), QStringLiteral("#00f")});
    QVERIFY(wash.setEffect(&c));
    QSignalSpy cChanged(&c, &MSPEffect::effectParamsChanged);
    QSignalSpy dChanged(&d, &MSPEffect::effectParamsChanged);
    QVERIFY(wash.setEffect(&d));
    QCOMPARE(wash.findChild<QSlider*>(QStringLiteral("speedSlider"))->value(), 9);
    QVERIFY(wash.findChild<QRadioButton*>(QStringLiteral("downButton"))->isChecked());
    QCOMPARE(wash.findChild<QSpinBox*>(QStringLiteral("widthEdit"))->value(), 12);
    QVERIFY(cChanged.isEmpty());
    QVERIFY(dChanged.isEmpty());
    QCOMPARE(d.colorList(), (QStringList{QStringLiteral("red"), QStringLiteral("#00f")}));

    MSPFixedColorEffectWidget fixedEditor(nullptr, MSPEffect::FixedColor);
    MSPFixedColorEffect fixed;
    fixed.setColor(QStringLiteral("red"));
    QSignalSpy fixedChanged(&fixed, &MSPEffect::effectParamsChanged);
    QVERIFY(fixedEditor.setEffect(&fixed));
    fixedEditor.show();
    QVERIFY(fixedChanged.isEmpty());
    QCOMPARE(fixed.color(), QStringLiteral("red"));
}

void TestEffectEditors::whiteBrightnessTyped() {
    MSPWhiteEffectWidget editor(nullptr, MSPEffect::RgbWhite);
    editor.show();
    MSPWhiteEffect effect;
    QVERIFY(editor.setEffect(&effect));
    auto* edit = editor.findChild<QSpinBox*>(QStringLiteral("brightnessEdit"));
    auto* slider = editor.findChild<QSlider*>(QStringLiteral("brightnessSlider"));
    QCOMPARE(edit->suffix(), QStringLiteral("%"));
    QSignalSpy brightness(&editor, &MSPWhiteEffectWidget::brightnessChanged);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("55"));
    QCOMPARE(slider->value(), 55);
    QCOMPARE(effect.brightness(), 55);
    QCOMPARE(brightness.last().at(0).toInt(), 55);

    // The box takes nothing above 100: the third digit is refused.
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("150"));
    QVERIFY(effect.brightness() <= 100);
    QCOMPARE(effect.brightness(), 15);

    QTest::keyClick(slider, Qt::Key_End);
    QCOMPARE(edit->value(), 100);
    QCOMPARE(effect.brightness(), 100);

    auto* temperature = editor.findChild<QSlider*>(QStringLiteral("temperatureSlider"));
    QCOMPARE(temperature->maximum(), 255);
    QTest::keyClick(temperature, Qt::Key_PageUp);
    QCOMPARE(effect.temperature(), temperature->value());
    QVERIFY(effect.temperature() > 0);
}

void TestEffectEditors::whiteScales() {
    QWidget window;
    MSPWhiteEffectWidget rgb(&window, MSPEffect::RgbWhite);
    MSPDuoWhiteEffectWidget duo(&window, MSPEffect::DuoWhite);
    QCOMPARE(rgb.objectName(), QStringLiteral("MSPWhiteWidget"));
    QCOMPARE(duo.objectName(), QStringLiteral("MSPWhiteWidget"));
    auto shown = [](QWidget* editor) {
        QStringList texts;
        const QList<QLabel*> labels = editor->findChildren<QLabel*>(QRegularExpression(QStringLiteral("^(RGB|Duo)")));
        for (QLabel* label : labels) {
            if (label->isVisibleTo(editor))
                texts << label->objectName() + QLatin1Char('=') + label->text();
        }
        texts.sort();
        return texts;
    };
    QCOMPARE(shown(&rgb), (QStringList{"RGBCoolLabel=Cool", "RGBWarmLabel=Warm"}));
    QCOMPARE(shown(&duo), (QStringList{"DuoCoolLabel=Cool", "DuoNeutralLabel=Neutral", "DuoWarmLabel=Warm"}));
    // Cool sits left on the RGB scale, warm left on the Duo scale.
    window.resize(600, 300);
    window.show();
    auto x = [](QWidget* editor, const char* name) {
        QLabel* label = editor->findChild<QLabel*>(QLatin1String(name));
        return label->mapTo(editor, QPoint()).x();
    };
    QVERIFY(x(&rgb, "RGBCoolLabel") < x(&rgb, "RGBWarmLabel"));
    QVERIFY(x(&duo, "DuoWarmLabel") < x(&duo, "DuoNeutralLabel"));
    QVERIFY(x(&duo, "DuoNeutralLabel") < x(&duo, "DuoCoolLabel"));
}

void TestEffectEditors::sliderDragIsReported() {
    MSPRandomColorEffectWidget editor(nullptr, MSPEffect::RandomColor);
    editor.resize(400, 100);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    MSPRandomColorEffect effect;
    QVERIFY(editor.setEffect(&effect));
    auto* slider = editor.findChild<QSlider*>(QStringLiteral("speedSlider"));
    QSignalSpy intermediate(&editor, &MSPEffectWidget::intermediateChange);
    QSignalSpy finished(&editor, &MSPEffectWidget::intermediateChangeFinished);
    QSignalSpy written(&effect, &MSPEffect::effectParamsChanged);
    // Each value is written while the handle is held, and reported as not final after it is.
    QList<int> order;
    connect(&effect, &MSPEffect::effectParamsChanged, this, [&order] { order << 1; });
    connect(&editor, &MSPEffectWidget::intermediateChange, this, [&order] { order << 2; });

    const QPoint start(3, slider->height() / 2);
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, start);
    QVERIFY(slider->isSliderDown());
    for (int x = 20; x < slider->width(); x += 40) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, start.y()), slider->mapToGlobal(QPoint(x, start.y())),
                         Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(slider, &move);
    }
    QVERIFY(written.size() > 2);
    QCOMPARE(intermediate.size(), written.size());
    QVERIFY(finished.isEmpty());
    for (int i = 0; i + 1 < order.size(); i += 2)
        QCOMPARE(order.mid(i, 2), (QList<int>{1, 2}));
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(slider->width() - 3, start.y()));
    QCOMPARE(finished.size(), 1);
    QCOMPARE(effect.speed(), slider->value());
}

void TestEffectEditors::ip4Validator_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("rebuilt");
    const int invalid = QValidator::Invalid;
    const int intermediate = QValidator::Intermediate;
    const int acceptable = QValidator::Acceptable;
    QTest::newRow("empty") << "" << intermediate << "";
    QTest::newRow("one part") << "10" << intermediate << "10";
    QTest::newRow("three parts and a dot") << "10.77.0." << intermediate << "10.77.0.";
    QTest::newRow("empty inner part") << "10..0.2" << intermediate << "10..0.2";
    QTest::newRow("complete") << "10.77.0.2" << acceptable << "10.77.0.2";
    QTest::newRow("edges") << "0.0.255.255" << acceptable << "0.0.255.255";
    QTest::newRow("leading zeros") << "010.77.000.2" << acceptable << "10.77.0.2";
    QTest::newRow("plus sign") << "+10.77.0.2" << acceptable << "10.77.0.2";
    QTest::newRow("over 255") << "10.77.0.300" << invalid << "10.77.0.300";
    QTest::newRow("negative") << "10.-7.0.2" << invalid << "10.-7.0.2";
    QTest::newRow("five parts") << "10.77.0.2.1" << invalid << "10.77.0.2.1";
    QTest::newRow("five empty parts") << "...." << invalid << "....";
    QTest::newRow("letters") << "10.a.0.2" << invalid << "10.a.0.2";
    QTest::newRow("blank") << "10. 7.0.2" << invalid << "10. 7.0.2";
}

void TestEffectEditors::ip4Validator() {
    QFETCH(QString, text);
    QFETCH(int, state);
    QFETCH(QString, rebuilt);
    IP4Validator validator;
    int position = text.size();
    QCOMPARE(int(validator.validate(text, position)), state);
    QCOMPARE(text, rebuilt);
}

void TestEffectEditors::addressTypedCharacterByCharacter() {
    QLineEdit edit;
    edit.setMaxLength(15);
    edit.setValidator(new IP4Validator(&edit));
    edit.show();
    QTest::keyClicks(&edit, QStringLiteral("10.77.0.300"));
    // The last digit is refused: 30 is a part, 300 is not.
    QCOMPARE(edit.text(), QStringLiteral("10.77.0.30"));
    QVERIFY(edit.hasAcceptableInput());
    QTest::keyClicks(&edit, QStringLiteral(".5"));
    QCOMPARE(edit.text(), QStringLiteral("10.77.0.30"));
    edit.clear();
    QTest::keyClicks(&edit, QStringLiteral("10.77.0."));
    QVERIFY(!edit.hasAcceptableInput());
}

// The picker hands the editor a colour with the uid it came from (or none) and a target list (or
// none, for the default one); the library must end up with a copy there, the source untouched.
void TestEffectEditors::favoritesGoToTheNamedOrDefaultList() {
    // Nothing else in this test reads the library, so it starts from no saved groups; the file
    // goes again at the end.
    QFile::remove(ZelColorLibrary::userFilePath());
    const auto removeFile = qScopeGuard([] { QFile::remove(ZelColorLibrary::userFilePath()); });
    ZelColorLibrary* library = ZelColorLibrary::Instance();
    const auto namesIn = [library](const QString& list) {
        QStringList names;
        const QModelIndex parent = library->getIndexOfList(list);
        for (int row = 0; parent.isValid() && row < library->rowCount(parent); ++row)
            names << library->index(row, 0, parent).data(ZelColorLibrary::NameRole).toString();
        return names;
    };
    const QString source = library->createColorList(QStringLiteral("Show Colours"));
    const QString uid = library->createColorWithName(ZelColor(QStringLiteral("#ff8000")), QStringLiteral("Sunset"),
                                                     QString(), source, QString());
    QVERIFY(!uid.isEmpty());

    MSPRandomColorEffectWidget editor(nullptr, MSPEffect::RandomColor);
    const auto add = [&editor](const ZelColor& color, const QString& from, const QString& list) {
        QVERIFY(QMetaObject::invokeMethod(&editor, "handleAddToFavorites", Q_ARG(ZelColor, color), Q_ARG(QString, from),
                                          Q_ARG(QString, list)));
    };
    add(ZelColor(QStringLiteral("#0000ff")), QString(), QString());
    QCOMPARE(namesIn(QStringLiteral("Favorites")), QStringList{QString()});
    add(library->get(uid), uid, QStringLiteral("Stage Left"));
    add(library->get(uid), uid, QStringLiteral("Stage Left"));
    const QStringList twice{QStringLiteral("Sunset"), QStringLiteral("Sunset")};
    QCOMPARE(namesIn(QStringLiteral("Stage Left")), twice);
    QCOMPARE(namesIn(source), QStringList{QStringLiteral("Sunset")});
    QVERIFY(library->getModifiableLists().contains(QStringLiteral("Stage Left")));
}

LUMETTO_NETWORK_TEST_MAIN(TestEffectEditors, "tst_effecteditors", QApplication)
#include "tst_effecteditors.moc"

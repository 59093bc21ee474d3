#include "IP4Validator.h"
#include "MSPCustomWashEffect.h"
#include "MSPCustomWashEffectWidget.h"
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
#include <QRadioButton>
#include <QScopeGuard>
#include <QSlider>
#include <QSpinBox>
#include <memory>

namespace {

template <typename T = QWidget>
T* part(const QWidget& editor, const char* name) {
    return editor.findChild<T*>(QLatin1String(name));
}

// Loads first, then second: a load is no edit, so neither effect may hear of it.
bool loadsQuietly(MSPEffectWidget& editor, MSPEffect& first, MSPEffect& second) {
    if (!editor.setEffect(&first))
        return false;
    QSignalSpy firstChanged(&first, &MSPEffect::effectParamsChanged);
    QSignalSpy secondChanged(&second, &MSPEffect::effectParamsChanged);
    return editor.setEffect(&second) && firstChanged.isEmpty() && secondChanged.isEmpty();
}

} // namespace

class TestEffectEditors : public QObject {
    Q_OBJECT

private slots:
    void editorsRefuseOtherKinds() {
        QWidget parent;
        QList<MSPEffectWidget*> editors;
        for (int kind = 0; kind < 8; ++kind)
            editors << MSPEffectWidgetFactory::instance()->create(kind, &parent);
        for (int kind = 0; kind < 8; ++kind) {
            std::unique_ptr<MSPEffect> effect(MSPEffectFactory::instance()->create(kind));
            for (MSPEffectWidget* editor : editors) {
                const int editorKind = editors.indexOf(editor);
                // Both white editors take both white effects: they differ in their scale only.
                const bool white = kind >= MSPEffect::RgbWhite && editorKind >= MSPEffect::RgbWhite;
                QCOMPARE(editor->setEffect(effect.get()), editorKind == kind || white);
                QVERIFY(!editor->setEffect(nullptr));
            }
        }
        QVERIFY(!MSPEffectWidgetFactory::instance()->create(8, &parent));
        QVERIFY(!MSPEffectWidgetFactory::instance()->create(-1, &parent));
    }

    void randomSpeedTexts_data() {
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

    void randomSpeedTexts() {
        QFETCH(int, speed);
        QFETCH(QString, text);
        MSPRandomColorEffectWidget editor(nullptr, MSPEffect::RandomColor);
        MSPRandomColorEffect effect;
        effect.setSpeed(speed);
        QVERIFY(editor.setEffect(&effect));
        QCOMPARE(part<QLabel>(editor, "speedValueLabel")->text(), text);
    }

    void fadeBoxWritesTheEffect() {
        MSPRandomColorEffectWidget editor(nullptr, MSPEffect::RandomColor);
        editor.show();
        MSPRandomColorEffect effect;
        effect.setFade(true);
        QVERIFY(editor.setEffect(&effect));
        auto* fade = part<QCheckBox>(editor, "fadeCheckBox");
        QVERIFY(fade->isChecked());
        QSignalSpy fades(&editor, &MSPRandomColorEffectWidget::fadeChanged);
        QTest::mouseClick(fade, Qt::LeftButton);
        QVERIFY(!effect.fade());
        QTest::mouseClick(fade, Qt::LeftButton);
        QVERIFY(effect.fade());
        QCOMPARE(fades.size(), 2);
        QCOMPARE(fades.first().at(0).toBool(), false);
    }

    void loadingIsNoEdit() {
        MSPRandomColorEffectWidget random(nullptr, MSPEffect::RandomColor);
        MSPRandomColorEffect firstRandom;
        MSPRandomColorEffect random17;
        random17.setSpeed(17);
        random17.setFade(true);
        QSignalSpy speed(&random, &MSPRandomColorEffectWidget::speedChanged);
        QVERIFY(loadsQuietly(random, firstRandom, random17));
        // Shown from code, a value is not written back either.
        QSignalSpy changed(&random17, &MSPEffect::effectParamsChanged);
        random.setSpeed(20);
        random.setFade(false);
        QVERIFY(changed.isEmpty());
        QVERIFY(speed.isEmpty());
        QCOMPARE(random17.speed(), 17);

        MSPWhiteEffectWidget white(nullptr, MSPEffect::RgbWhite);
        MSPWhiteEffect firstWhite;
        MSPWhiteEffect white30;
        white30.setTemperature(200);
        white30.setBrightness(30);
        QSignalSpy brightness(&white, &MSPWhiteEffectWidget::brightnessChanged);
        QVERIFY(loadsQuietly(white, firstWhite, white30));
        QCOMPARE(part<QSlider>(white, "temperatureSlider")->value(), 200);
        QCOMPARE(part<QSpinBox>(white, "brightnessEdit")->value(), 30);
        QVERIFY(brightness.isEmpty());

        MSPCustomWashEffectWidget wash(nullptr, MSPEffect::CustomWash);
        MSPCustomWashEffect firstWash;
        MSPCustomWashEffect wash9;
        wash9.setSpeed(9);
        wash9.setDirection(1);
        // Colours in forms the picker writes differently: shown, they must not come back rewritten.
        wash9.setColorList({QStringLiteral("red"), QStringLiteral("#00f")});
        QVERIFY(loadsQuietly(wash, firstWash, wash9));
        QCOMPARE(part<QSlider>(wash, "speedSlider")->value(), 9);
        QVERIFY(part<QRadioButton>(wash, "downButton")->isChecked());
        QCOMPARE(wash9.colorList(), (QStringList{QStringLiteral("red"), QStringLiteral("#00f")}));

        MSPFixedColorEffectWidget fixedEditor(nullptr, MSPEffect::FixedColor);
        MSPFixedColorEffect firstFixed;
        MSPFixedColorEffect red;
        red.setColor(QStringLiteral("red"));
        QSignalSpy redChanged(&red, &MSPEffect::effectParamsChanged);
        QVERIFY(loadsQuietly(fixedEditor, firstFixed, red));
        fixedEditor.show();
        QVERIFY(redChanged.isEmpty());
        QCOMPARE(red.color(), QStringLiteral("red"));
    }

    void whiteBrightnessStaysInRange() {
        MSPWhiteEffectWidget editor(nullptr, MSPEffect::RgbWhite);
        editor.show();
        MSPWhiteEffect effect;
        QVERIFY(editor.setEffect(&effect));
        auto* edit = part<QSpinBox>(editor, "brightnessEdit");
        auto* slider = part<QSlider>(editor, "brightnessSlider");
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
        QCOMPARE(effect.brightness(), 15);
        QTest::keyClick(slider, Qt::Key_End);
        QCOMPARE(edit->value(), 100);
        QCOMPARE(effect.brightness(), 100);

        auto* temperature = part<QSlider>(editor, "temperatureSlider");
        QCOMPARE(temperature->maximum(), 255);
        QTest::keyClick(temperature, Qt::Key_PageUp);
        QVERIFY(effect.temperature() > 0);
        QCOMPARE(effect.temperature(), temperature->value());
    }

    void whiteScales() {
        QWidget window;
        MSPWhiteEffectWidget rgb(&window, MSPEffect::RgbWhite);
        MSPDuoWhiteEffectWidget duo(&window, MSPEffect::DuoWhite);
        window.resize(600, 300);
        window.show();
        // The labels shown, left to right.
        const auto shown = [](QWidget* editor) {
            QList<QLabel*> labels = editor->findChildren<QLabel*>(QRegularExpression(QStringLiteral("^(RGB|Duo)")));
            labels.erase(std::remove_if(labels.begin(), labels.end(),
                                        [editor](QLabel* label) { return !label->isVisibleTo(editor); }),
                         labels.end());
            std::sort(labels.begin(), labels.end(), [editor](QLabel* a, QLabel* b) {
                return a->mapTo(editor, QPoint()).x() < b->mapTo(editor, QPoint()).x();
            });
            QStringList texts;
            for (QLabel* label : labels)
                texts << label->objectName() + QLatin1Char('=') + label->text();
            return texts;
        };
        // Cool sits left on the RGB scale, warm left on the Duo scale.
        QCOMPARE(shown(&rgb), (QStringList{"RGBCoolLabel=Cool", "RGBWarmLabel=Warm"}));
        QCOMPARE(shown(&duo), (QStringList{"DuoWarmLabel=Warm", "DuoNeutralLabel=Neutral", "DuoCoolLabel=Cool"}));
    }

    void ip4Validator_data() {
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

    void ip4Validator() {
        QFETCH(QString, text);
        QFETCH(int, state);
        QFETCH(QString, rebuilt);
        IP4Validator validator;
        int position = text.size();
        QCOMPARE(int(validator.validate(text, position)), state);
        QCOMPARE(text, rebuilt);
    }

    // The picker hands the editor a colour with the uid it came from (or none) and a target list
    // (or none, for the default one); the library must end up with a copy there, the source untouched.
    void favoritesGoToTheNamedOrDefaultList() {
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
            QVERIFY(QMetaObject::invokeMethod(&editor, "handleAddToFavorites", Q_ARG(ZelColor, color),
                                              Q_ARG(QString, from), Q_ARG(QString, list)));
        };
        add(ZelColor(QStringLiteral("#0000ff")), QString(), QString());
        QCOMPARE(namesIn(QStringLiteral("Favorites")), QStringList{QString()});
        add(library->get(uid), uid, QStringLiteral("Stage Left"));
        add(library->get(uid), uid, QStringLiteral("Stage Left"));
        QCOMPARE(namesIn(QStringLiteral("Stage Left")), (QStringList{"Sunset", "Sunset"}));
        QCOMPARE(namesIn(source), QStringList{QStringLiteral("Sunset")});
        QVERIFY(library->getModifiableLists().contains(QStringLiteral("Stage Left")));
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestEffectEditors, "tst_effecteditors", QApplication)
#include "tst_effecteditors.moc"

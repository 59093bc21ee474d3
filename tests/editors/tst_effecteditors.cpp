#include "IP4Validator.h"
#include "MSPCustomWashEffect.h"
#include "MSPEffectFactory.h"
#include "MSPEffectWidgetFactory.h"
#include "MSPRandomColorEffect.h"
#include "MSPRandomColorEffectWidget.h"
#include "MSPWhiteEffect.h"
#include "MSPWhiteEffectWidget.h"
#include "TestEnvironment.h"
#include "ZelColorLibrary.h"

#include <QCheckBox>
#include <QFile>
#include <QScopeGuard>
#include <QSlider>
#include <QSpinBox>
#include <memory>

namespace {

std::unique_ptr<MSPEffect> make(int kind) {
    return std::unique_ptr<MSPEffect>(MSPEffectFactory::instance()->create(kind));
}

template <typename T = QWidget>
T* part(const QWidget& editor, const char* name) {
    return editor.findChild<T*>(QLatin1String(name));
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
            auto effect = make(kind);
            for (int editorKind = 0; editorKind < 8; ++editorKind) {
                // Both white editors take both white effects: they differ in their scale only.
                const bool white = kind >= MSPEffect::RgbWhite && editorKind >= MSPEffect::RgbWhite;
                QCOMPARE(editors.at(editorKind)->setEffect(effect.get()), editorKind == kind || white);
                QVERIFY(!editors.at(editorKind)->setEffect(nullptr));
            }
        }
        QVERIFY(!MSPEffectWidgetFactory::instance()->create(8, &parent));
        QVERIFY(!MSPEffectWidgetFactory::instance()->create(-1, &parent));
    }

    // Showing a scene is no edit: neither the effect shown before nor the one loaded may hear of
    // it, not even when the controls hold a colour in another form than the effect does.
    void loadingIsNoEdit() {
        const std::pair<const char*, QVariant> values[] = {
            {"speed", 17},      {"fade", true}, {"direction", 1}, {"temperature", 200},
            {"brightness", 30}, {"width", 9},   {"color", "red"},
        };
        for (int kind = 0; kind < 8; ++kind) {
            std::unique_ptr<MSPEffectWidget> editor(MSPEffectWidgetFactory::instance()->create(kind, nullptr));
            auto first = make(kind);
            auto second = make(kind);
            for (const auto& [name, value] : values) {
                if (second->metaObject()->indexOfProperty(name) >= 0)
                    QVERIFY(second->setProperty(name, value));
            }
            if (kind == MSPEffect::CustomWash)
                qobject_cast<MSPCustomWashEffect*>(second.get())->setColorList({"red", "#00f"});
            QVERIFY(editor->setEffect(first.get()));
            QSignalSpy firstChanged(first.get(), &MSPEffect::effectParamsChanged);
            QSignalSpy secondChanged(second.get(), &MSPEffect::effectParamsChanged);
            QVERIFY(editor->setEffect(second.get()));
            editor->show();
            QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
            const QByteArray row = QByteArray::number(kind);
            QVERIFY2(firstChanged.isEmpty() && secondChanged.isEmpty(), row);
            if (auto* slider = part<QSlider>(*editor, "speedSlider"))
                QVERIFY2(slider->value() == 17, row);
            if (auto* slider = part<QSlider>(*editor, "temperatureSlider"))
                QVERIFY2(slider->value() == 200, row);
        }
    }

    void controlsWriteTheEffect() {
        MSPRandomColorEffectWidget random(nullptr, MSPEffect::RandomColor);
        random.show();
        MSPRandomColorEffect randomEffect;
        QVERIFY(random.setEffect(&randomEffect));
        QTest::mouseClick(part<QCheckBox>(random, "fadeCheckBox"), Qt::LeftButton);
        QVERIFY(randomEffect.fade());

        MSPWhiteEffectWidget white(nullptr, MSPEffect::RgbWhite);
        white.show();
        MSPWhiteEffect whiteEffect;
        QVERIFY(white.setEffect(&whiteEffect));
        auto* edit = part<QSpinBox>(white, "brightnessEdit");
        auto* slider = part<QSlider>(white, "brightnessSlider");
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("55"));
        QCOMPARE(slider->value(), 55);
        QCOMPARE(whiteEffect.brightness(), 55);
        QTest::keyClick(slider, Qt::Key_End);
        QCOMPARE(edit->value(), 100);
        QCOMPARE(whiteEffect.brightness(), 100);
        QTest::keyClick(part<QSlider>(white, "temperatureSlider"), Qt::Key_PageUp);
        QVERIFY(whiteEffect.temperature() > 0);
    }

    void ip4Validator_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("rebuilt");
        const int invalid = QValidator::Invalid;
        const int intermediate = QValidator::Intermediate;
        const int acceptable = QValidator::Acceptable;
        QTest::newRow("empty") << "" << intermediate << "";
        QTest::newRow("three parts and a dot") << "10.77.0." << intermediate << "10.77.0.";
        QTest::newRow("empty inner part") << "10..0.2" << intermediate << "10..0.2";
        QTest::newRow("leading zeros, edges") << "010.77.000.255" << acceptable << "10.77.0.255";
        QTest::newRow("plus sign") << "+10.77.0.2" << acceptable << "10.77.0.2";
        QTest::newRow("over 255") << "10.77.0.300" << invalid << "10.77.0.300";
        QTest::newRow("negative") << "10.-7.0.2" << invalid << "10.-7.0.2";
        QTest::newRow("five empty parts") << "...." << invalid << "....";
        QTest::newRow("letters") << "10.a.0.2" << invalid << "10.a.0.2";
        QTest::newRow("blank") << "10. 7.0.2" << invalid << "10. 7.0.2";
    }

    void ip4Validator() {
        QFETCH(QString, text);
        QFETCH(int, state);
        QFETCH(QString, rebuilt);
        int position = text.size();
        QCOMPARE(int(IP4Validator().validate(text, position)), state);
        QCOMPARE(text, rebuilt);
    }

    // The picker hands the editor a colour with the uid it came from (or none) and a target list
    // (or none, for the default one); the library must end up with a copy there, the source untouched.
    void favoritesGoToTheNamedOrDefaultList() {
        // Nothing else in this test reads the library, so it starts from no saved groups.
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
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestEffectEditors, "tst_effecteditors", QApplication)
#include "tst_effecteditors.moc"

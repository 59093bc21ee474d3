#include "IP4Validator.h"
#include "MSPCustomWashEffect.h"
#include "MSPEffectFactory.h"
#include "MSPEffectWidgetFactory.h"
#include "MSPRandomColorEffectWidget.h"
#include "TestEnvironment.h"
#include "ZelColorLibrary.h"

#include <QFile>
#include <QScopeGuard>
#include <QSlider>
#include <memory>

namespace {

std::unique_ptr<MSPEffect> make(int kind) {
    return std::unique_ptr<MSPEffect>(MSPEffectFactory::instance()->create(kind));
}

} // namespace

class TestEffectEditors : public QObject {
    Q_OBJECT

private slots:
    // Each editor takes the kinds it edits only. Showing a scene is no edit: neither the effect shown
    // before nor the one loaded may hear of it, not even when the controls hold a colour in another
    // form than the effect does.
    void editorsTakeTheirKindsAndLoadQuietly() {
        const std::pair<const char*, QVariant> values[] = {
            {"speed", 17},      {"fade", true}, {"direction", 1}, {"temperature", 200},
            {"brightness", 30}, {"width", 9},   {"color", "red"},
        };
        MSPEffectWidgetFactory* factory = MSPEffectWidgetFactory::instance();
        QWidget parent;
        QVERIFY(!factory->create(8, &parent) && !factory->create(-1, &parent));
        QList<MSPEffectWidget*> editors;
        for (int kind = 0; kind < 8; ++kind)
            editors << factory->create(kind, &parent);
        for (int kind = 0; kind < 8; ++kind) {
            const QByteArray row = QByteArray::number(kind);
            auto first = make(kind);
            auto second = make(kind);
            for (int editorKind = 0; editorKind < 8; ++editorKind) {
                // Both white editors take both white effects: they differ in their scale only.
                const bool white = kind >= MSPEffect::RgbWhite && editorKind >= MSPEffect::RgbWhite;
                QVERIFY2(editors.at(editorKind)->setEffect(first.get()) == (editorKind == kind || white),
                         row + " in editor " + QByteArray::number(editorKind));
                QVERIFY(!editors.at(editorKind)->setEffect(nullptr));
            }
            for (const auto& [name, value] : values) {
                if (second->metaObject()->indexOfProperty(name) >= 0)
                    QVERIFY(second->setProperty(name, value));
            }
            if (kind == MSPEffect::CustomWash)
                qobject_cast<MSPCustomWashEffect*>(second.get())->setColorList({"red", "#00f"});
            std::unique_ptr<MSPEffectWidget> editor(factory->create(kind, nullptr));
            QVERIFY(editor->setEffect(first.get()));
            QSignalSpy firstChanged(first.get(), &MSPEffect::effectParamsChanged);
            QSignalSpy secondChanged(second.get(), &MSPEffect::effectParamsChanged);
            QVERIFY(editor->setEffect(second.get()));
            editor->show();
            QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
            QVERIFY2(firstChanged.isEmpty() && secondChanged.isEmpty(), row);
            if (auto* slider = editor->findChild<QSlider*>(QStringLiteral("speedSlider")))
                QVERIFY2(slider->value() == 17, row);
            if (auto* slider = editor->findChild<QSlider*>(QStringLiteral("temperatureSlider")))
                QVERIFY2(slider->value() == 200, row);
        }
    }

    // What is typed, the validator's verdict and the text it leaves (zeros and a plus sign dropped).
    void ip4Validator() {
        const QValidator::State invalid = QValidator::Invalid, intermediate = QValidator::Intermediate;
        const std::tuple<QString, QValidator::State, QString> rows[] = {
            {"", intermediate, ""},
            {"10.77.0.", intermediate, "10.77.0."},
            {"10..0.2", intermediate, "10..0.2"},
            {"010.77.000.255", QValidator::Acceptable, "10.77.0.255"},
            {"+10.77.0.2", QValidator::Acceptable, "10.77.0.2"},
            {"10.77.0.300", invalid, "10.77.0.300"},
            {"10.-7.0.2", invalid, "10.-7.0.2"},
            {"....", invalid, "...."},
            {"10.a.0.2", invalid, "10.a.0.2"},
            {"10. 7.0.2", invalid, "10. 7.0.2"},
        };
        for (const auto& [typed, state, rebuilt] : rows) {
            QString text = typed;
            int position = text.size();
            const int verdict = IP4Validator().validate(text, position);
            QCOMPARE(typed + " -> " + QString::number(verdict) + ' ' + text,
                     typed + " -> " + QString::number(state) + ' ' + rebuilt);
        }
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

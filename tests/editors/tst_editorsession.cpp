#include "ColorListPicker2.h"
#include "ColorMimeData.h"
#include "ConnectedWindow.h"
#include "ConnectionState.h"
#include "KeypadSimulator.h"
#include "MSPComm.h"
#include "MSPCustomWashEffect.h"
#include "MSPEffectFactory.h"
#include "MSPEffectWidget.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "MSPSceneSettingsWidget.h"
#include "MainWindow.h"
#include "TestEnvironment.h"
#include "ZelColorLibrary.h"
#include "ZelColorLibraryTreeView.h"

#include <QComboBox>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <memory>

namespace {

constexpr int Generous = 20000;

} // namespace

// The editor as a user runs it, against a simulated keypad on the private network: the window
// finds the keypad itself, and every edit is checked in what the keypad received and reports.
class TestEditorSession : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(app_resources);
        m_window = ConnectedWindow::open(m_keypad);
        QVERIFY(m_window);
    }

    void cleanupTestCase() {
        m_window.reset();
        m_keypad.stop();
    }

    // A press on the panel plays the scene on the keypad; a press on the keypad selects it here.
    void scenePressesGoBothWays() {
        const int pressed = m_keypad.activeScene() == 4 ? 3 : 4;
        QTest::mouseClick(panelButton(pressed), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(m_keypad.activeScene(), pressed, Generous);
        QTRY_COMPARE_WITH_TIMEOUT(sceneLabel(), QStringLiteral("Scene: %1").arg(pressed), Generous);
        QVERIFY(ConnectedWindow::idle());

        QVERIFY(m_keypad.press(6));
        QTRY_VERIFY_WITH_TIMEOUT(panelButton(6)->isChecked(), Generous);
        QTRY_COMPARE_WITH_TIMEOUT(sceneLabel(), QStringLiteral("Scene: 6"), Generous);
        QVERIFY(ConnectedWindow::idle());
        QVERIFY(!sceneButton("applyButton")->isEnabled());
    }

    void saveAndUndoReachTheKeypad() {
        const int number = MSPSceneModel::instance()->activeSceneIndex() + 1;
        m_keypad.clearRequestLog();
        QComboBox* kinds = kindBox();
        const int kind = kinds->currentIndex() == MSPEffect::RandomColor ? MSPEffect::RgbWhite : MSPEffect::RandomColor;
        // The editor follows the box through its index signal, whichever way the item is chosen.
        kinds->setCurrentIndex(kind);
        QTRY_VERIFY_WITH_TIMEOUT(m_keypad.liveQuery(number).startsWith(QStringLiteral("effect=%1").arg(kind)),
                                 Generous);
        QVERIFY(save(number));

        const QString saved = m_keypad.savedQuery(number);
        kinds->setCurrentIndex(MSPEffect::FixedColor);
        QTRY_VERIFY_WITH_TIMEOUT(m_keypad.liveQuery(number).startsWith(QStringLiteral("effect=0")), Generous);
        QTest::mouseClick(sceneButton("revertButton"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sceneBodies(number).contains(QStringLiteral("apply=0")), Generous);
        // The keypad plays the saved scene again and the editor shows it.
        QTRY_COMPARE_WITH_TIMEOUT(m_keypad.liveQuery(number), saved, Generous);
        QTRY_COMPARE_WITH_TIMEOUT(kinds->currentIndex(), kind, Generous);
        QVERIFY(ConnectedWindow::idle());
        QVERIFY(!sceneButton("applyButton")->isEnabled());
    }

    // A library colour for a fixed colour scene, clicked in the tree; a four-colour custom wash
    // built by dropping library colours on the strip, with its speed, width and direction. Saved,
    // the keypad holds exactly what the editor shows.
    void colourEditorsReachTheKeypad() {
        using namespace ZelColorPickerLib;
        ZelColorLibrary* library = ZelColorLibrary::Instance();
        const QModelIndex stage = library->getIndexOfList(QStringLiteral("Stage Colors"));
        QVERIFY(library->rowCount(stage) >= 3);
        const auto libraryColour = [&](int row) {
            const QModelIndex index = library->index(row, 0, stage);
            return ColorMimeData::Entry{index.data(ZelColorLibrary::UidRole).toString(),
                                        ZelColor(index.data(ZelColorLibrary::ColorTextRole).toString()),
                                        index.data(ZelColorLibrary::NameRole).toString(), QString()};
        };
        const auto bytes = [](const ZelColor& color) {
            return QStringLiteral("%1,%2,%3").arg(color.red8()).arg(color.green8()).arg(color.blue8());
        };

        // Scene 1 plays a fixed colour.
        QVERIFY(showScene(1, MSPEffect::FixedColor));
        m_keypad.clearRequestLog();
        auto* tree = settings()->editor(MSPEffect::FixedColor)->findChild<ZelColorLibraryTreeView*>();
        tree->expandAll();
        const ColorMimeData::Entry picked = libraryColour(2);
        const QModelIndex pickedIndex = library->getIndexOfUid(picked.uid);
        tree->scrollTo(pickedIndex);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(pickedIndex).center());
        QVERIFY(save(1));
        const ZelColor& c = picked.color;
        const QString fixedQuery =
            QStringLiteral("effect=0&param1=%1&param2=%2&param3=%3&").arg(c.red8()).arg(c.green8()).arg(c.blue8());
        QVERIFY2(m_keypad.savedQuery(1).startsWith(fixedQuery), qPrintable(m_keypad.savedQuery(1)));

        // Scene 5 plays a custom wash of two colours; two more are dropped beside the strip.
        QVERIFY(showScene(5, MSPEffect::CustomWash));
        MSPEffectWidget* washEditor = settings()->editor(MSPEffect::CustomWash);
        auto* strip = washEditor->findChild<ColorListPicker2*>(QStringLiteral("colorList"));
        for (int row : {0, 1}) {
            std::unique_ptr<QMimeData> data(ColorMimeData::encode({libraryColour(row)}));
            const QPoint beside = strip->cellRect(strip->count()).center() + QPoint(strip->width(), 0) / 4;
            QCOMPARE(TestSupport::drop(strip, data.get(), beside), QEvent::None);
        }
        auto* speed = washEditor->findChild<QSlider*>(QStringLiteral("speedSlider"));
        speed->setFocus();
        QTest::keyClick(speed, Qt::Key_Home);
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(speed, Qt::Key_Right);
        auto* width = washEditor->findChild<QSpinBox*>(QStringLiteral("widthEdit"));
        width->setFocus();
        width->selectAll();
        QTest::keyClicks(width, QStringLiteral("12"));
        QTest::mouseClick(washEditor->findChild<QRadioButton*>(QStringLiteral("downButton")), Qt::LeftButton);
        QVERIFY(save(5));

        const QStringList colours =
            qobject_cast<MSPCustomWashEffect*>(MSPSceneModel::instance()->scene(4)->effect())->colorList();
        QCOMPARE(colours.size(), 4);
        QCOMPARE(bytes(ZelColor(colours.at(2))), bytes(libraryColour(0).color));
        QCOMPARE(bytes(ZelColor(colours.at(3))), bytes(libraryColour(1).color));
        const QString saved = m_keypad.savedQuery(5);
        QVERIFY2(saved.startsWith(QStringLiteral("effect=4&param1=6&param2=1&param3=12&")), qPrintable(saved));
        QVERIFY2(saved.contains(QStringLiteral("&num_colors=4&")), qPrintable(saved));
        for (int k = 0; k < 4; ++k) {
            const QString colour = QStringLiteral("&color%1=(%2)").arg(k + 1).arg(bytes(ZelColor(colours.at(k))));
            QVERIFY2(saved.contains(colour), qPrintable(saved + " lacks " + colour));
        }

        // And the keypad's reply carries the same scene back.
        MSPScene* scene = MSPSceneModel::instance()->scene(4);
        scene->setEffect(MSPEffectFactory::instance()->create(MSPEffect::FixedColor), false);
        MSPComm::instance()->getScene(4);
        QTRY_COMPARE_WITH_TIMEOUT(scene->effect()->type(), int(MSPEffect::CustomWash), Generous);
        QCOMPARE(scene->PostData(), saved);
    }

private:
    MSPSceneSettingsWidget* settings() const { return m_window->findChild<MSPSceneSettingsWidget*>(); }
    QComboBox* kindBox() const { return settings()->findChild<QComboBox*>(QStringLiteral("effectsComboBox")); }
    QPushButton* sceneButton(const char* name) const {
        return settings()->findChild<QPushButton*>(QLatin1String(name));
    }
    QRadioButton* panelButton(int number) const {
        return m_window->findChild<QRadioButton*>(QStringLiteral("scene%1Button").arg(number));
    }
    QString sceneLabel() const { return m_window->findChild<QLabel*>(QStringLiteral("sceneNumberLabel"))->text(); }
    // The posts the keypad received for a scene, as their bodies.
    QStringList sceneBodies(int number) const {
        QStringList bodies;
        for (const KeypadSimulator::Request& request :
             m_keypad.requests(QStringLiteral("POST"), QStringLiteral("/api/v1/shows/%1").arg(number)))
            bodies << QString::fromLatin1(request.body);
        return bodies;
    }
    // Pressed on the panel, the scene shows its editor.
    bool showScene(int number, int kind) const {
        QTest::mouseClick(panelButton(number), Qt::LeftButton);
        return QTest::qWaitFor([&] { return MSPSceneModel::instance()->activeSceneIndex() == number - 1; }, Generous) &&
               ConnectedWindow::idle() &&
               QTest::qWaitFor([&] { return settings()->editor(kind)->isVisible(); }, Generous);
    }
    // Saved, the keypad keeps what it plays.
    bool save(int number) {
        if (!QTest::qWaitFor([this] { return sceneButton("applyButton")->isEnabled(); }, Generous))
            return false;
        QTest::mouseClick(sceneButton("applyButton"), Qt::LeftButton);
        return QTest::qWaitFor([&] { return sceneBodies(number).contains(QStringLiteral("apply=1")); }, Generous) &&
               ConnectedWindow::idle() &&
               QTest::qWaitFor([&] { return m_keypad.savedQuery(number) == m_keypad.liveQuery(number); }, Generous);
    }

    KeypadSimulator m_keypad;
    std::unique_ptr<MainWindow> m_window;
};

LUMETTO_NETWORK_TEST_MAIN(TestEditorSession, "tst_editorsession", QApplication)
#include "tst_editorsession.moc"

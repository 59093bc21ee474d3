#include "ConnectionState.h"
#include "EditorFixture.h"
#include "MSPComm.h"
#include "MSPEffect.h"
#include "MSPEffectWidget.h"
#include "MSPRandomColorEffect.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "MSPSceneSettingsWidget.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <memory>

class TestSceneSettings : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_keypad.start()); }

    void init() {
        EditorFixture::resetScenes({0, 1, 2, 3, 4, 5, 6, 7}, 0);
        ConnectionState::instance()->setState(ConnectionState::Connected);
        m_keypad.keepConnected(true);
        m_editor = std::make_unique<MSPSceneSettingsWidget>();
        m_editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
        m_editor->activeSceneChanged(0);
        m_keypad.clearRequests();
    }

    void cleanup() {
        m_keypad.keepConnected(false);
        // A pending edit goes out now, so it cannot land in the next test's list.
        MSPComm::instance()->applyScene(nullptr);
        QVERIFY(m_keypad.waitIdle());
        m_editor.reset();
    }

    void startsOnSceneOneWithNothingToSave() {
        MSPSceneSettingsWidget fresh;
        QCOMPARE(fresh.findChild<QLabel*>(QStringLiteral("sceneNumberLabel"))->text(), QStringLiteral("Scene: 1"));
        QVERIFY(!fresh.findChild<QPushButton*>(QStringLiteral("applyButton"))->isEnabled());
        QVERIFY(!fresh.findChild<QPushButton*>(QStringLiteral("revertButton"))->isEnabled());
    }

    void switchingScenesForgetsUnsavedState() {
        m_editor->activeSceneChanged(5);
        QTest::keyClick(randomSpeed(), Qt::Key_Right);
        QVERIFY(save()->isEnabled());
        QVERIFY(undo()->isEnabled());
        m_editor->activeSceneChanged(4);
        QCOMPARE(m_editor->findChild<QLabel*>(QStringLiteral("sceneNumberLabel"))->text(), QStringLiteral("Scene: 5"));
        QCOMPARE(comboBox()->currentIndex(), int(MSPEffect::CustomWash));
        QCOMPARE(stack()->currentIndex(), int(MSPEffect::CustomWash));
        QVERIFY(!save()->isEnabled());
        QVERIFY(!undo()->isEnabled());
    }

    void choosingTheSameKindChangesNothing() {
        MSPEffect* before = scene(0)->effect();
        m_editor->on_effectsComboBox_currentIndexChanged(int(MSPEffect::FixedColor));
        QCOMPARE(scene(0)->effect(), before);
        QVERIFY(!save()->isEnabled());
        QTest::qWait(0);
        QCOMPARE(m_keypad.requests(), QStringList());
    }

    void choosingAnotherKind_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("connected") << int(ConnectionState::Connected) << true;
        QTest::newRow("not connected") << int(ConnectionState::NotConnected) << false;
        QTest::newRow("demo") << int(ConnectionState::OfflineDemo) << false;
    }

    void choosingAnotherKind() {
        QFETCH(int, state);
        QFETCH(bool, enabled);
        if (state != ConnectionState::Connected) {
            m_keypad.keepConnected(false);
            ConnectionState::instance()->setState(ConnectionState::State(state));
        }
        selectScene(2);
        comboBox()->setFocus();
        // Down twice in the closed box: Color Wash, Rainbow Wash, Custom Wash.
        QTest::keyClick(comboBox(), Qt::Key_Down);
        QTest::keyClick(comboBox(), Qt::Key_Down);
        QCOMPARE(scene(2)->effect()->type(), int(MSPEffect::CustomWash));
        QCOMPARE(stack()->currentIndex(), int(MSPEffect::CustomWash));
        QCOMPARE(save()->isEnabled(), enabled);
        QCOMPARE(undo()->isEnabled(), enabled);
        ConnectionState::instance()->setState(ConnectionState::Connected);
    }

    void editsEnableSaveOnlyWhenConnected() {
        selectScene(5);
        m_keypad.keepConnected(false);
        ConnectionState::instance()->setState(ConnectionState::NotConnected);
        QTest::keyClick(randomSpeed(), Qt::Key_Right);
        QVERIFY(!save()->isEnabled());
        QVERIFY(!undo()->isEnabled());
        ConnectionState::instance()->setState(ConnectionState::Connected);
        m_keypad.keepConnected(true);
        QTest::keyClick(randomSpeed(), Qt::Key_Right);
        QVERIFY(save()->isEnabled());
        QVERIFY(undo()->isEnabled());
        // Any scene's change counts, not only the active one's.
        m_editor->activeSceneChanged(5);
        randomEffect()->setSpeed(30);
        QVERIFY(save()->isEnabled());
    }

    void draggingHoldsSaveBack() {
        selectScene(5);
        QSlider* slider = randomSpeed();
        QTest::keyClick(slider, Qt::Key_Right);
        // Back where it started, still edited: the handle sits at the slider's left end.
        QTest::keyClick(slider, Qt::Key_Left);
        QVERIFY(save()->isEnabled());
        const QPoint handle(3, slider->height() / 2);
        QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, handle);
        QVERIFY(slider->isSliderDown());
        for (QPoint at = handle + QPoint(30, 0); at.x() < slider->width(); at += QPoint(30, 0)) {
            QMouseEvent move(QEvent::MouseMove, at, slider->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
            QApplication::sendEvent(slider, &move);
            QVERIFY(!save()->isEnabled());
            QVERIFY(undo()->isEnabled());
        }
        QVERIFY(slider->value() > 2);
        QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(slider->width() - 3, handle.y()));
        // The last value is in the effect, so the scene can be saved once the handle is let go.
        QVERIFY(save()->isEnabled());
        QCOMPARE(randomEffect()->speed(), slider->value());
    }

    void saveFlushesThenApplies() {
        selectScene(5);
        QTest::keyClick(randomSpeed(), Qt::Key_Right);
        QTest::keyClick(randomSpeed(), Qt::Key_Right);
        // Saved before the 100 ms timer would send the edit: the edit still goes first.
        QTest::mouseClick(save(), Qt::LeftButton);
        QVERIFY(!save()->isEnabled());
        QVERIFY(!undo()->isEnabled());
        QVERIFY(m_keypad.waitForRequests(2));
        QCOMPARE(m_keypad.requests(), (QStringList{QStringLiteral("POST /api/v1/shows/6 ") + scene(5)->PostData(),
                                                   QStringLiteral("POST /api/v1/shows/6 apply=1")}));
        QCOMPARE(randomEffect()->speed(), 3);
    }

    void undoFlushesRevertsAndRereads() {
        selectScene(6);
        QTest::keyClick(m_editor->editor(MSPEffect::RgbWhite)->findChild<QSlider*>(QStringLiteral("temperatureSlider")),
                        Qt::Key_PageUp);
        QVERIFY(undo()->isEnabled());
        QTest::mouseClick(undo(), Qt::LeftButton);
        QVERIFY(!save()->isEnabled());
        QVERIFY(!undo()->isEnabled());
        QVERIFY(m_keypad.waitForRequests(3));
        QCOMPARE(m_keypad.requests(),
                 (QStringList{QStringLiteral("POST /api/v1/shows/7 ") + scene(6)->PostData(),
                              QStringLiteral("POST /api/v1/shows/7 apply=0"), QStringLiteral("GET /api/v1/shows/7 ")}));
    }

    void demoModeShowsEveryScene() {
        m_keypad.keepConnected(false);
        randomEffect()->setSpeed(17);
        ConnectionState::instance()->setState(ConnectionState::OfflineDemo);
        m_editor->setEnabled(true);
        QCOMPARE(SystemConfiguration::instance()->version(), QStringLiteral("1.1.24"));
        QCOMPARE(randomSpeed()->value(), 17);
        // Edits in demo mode change the scenes but offer nothing to save, and nothing is sent.
        QTest::keyClick(randomSpeed(), Qt::Key_Right);
        QCOMPARE(randomEffect()->speed(), 18);
        QVERIFY(!save()->isEnabled());
        QVERIFY(!undo()->isEnabled());
        ConnectionState::instance()->setState(ConnectionState::Connected);
    }

    void comboBoxSurvivesBeingShownAgain() {
        m_editor->activeSceneChanged(3);
        QComboBox* first = comboBox();
        m_editor->hide();
        m_editor->show();
        QVERIFY(comboBox() != first);
        QCOMPARE(m_editor->findChildren<QComboBox*>(QStringLiteral("effectsComboBox")).size(), 1);
        QCOMPARE(comboBox()->currentIndex(), int(MSPEffect::RainbowWash));
        MSPSceneModel::instance()->setActiveSceneIndex(3, false);
        comboBox()->setFocus();
        QTest::keyClick(comboBox(), Qt::Key_Down);
        QCOMPARE(scene(3)->effect()->type(), int(MSPEffect::CustomWash));

        // Shown while the window waits for a keypad, the new box must come alive with the editor.
        m_editor->hide();
        m_editor->QWidget::setEnabled(false);
        m_editor->show();
        m_editor->QWidget::setEnabled(true);
        QVERIFY(comboBox()->isEnabled());
    }

    void everyPageIsShown() {
        // Pictures of the eight pages; LUMETTO_SCREENSHOT_DIR keeps them for a person to look at.
        const QString folder = qEnvironmentVariable("LUMETTO_SCREENSHOT_DIR");
        m_editor->resize(640, 640);
        const QStringList names{"Fixed Color", "Variable Color", "Color Wash", "Rainbow Wash",
                                "Custom Wash", "Random Color",   "RGB White",  "Duo White"};
        QCOMPARE(comboBox()->count(), names.size());
        for (int kind = 0; kind < names.size(); ++kind) {
            selectScene(kind);
            QCOMPARE(stack()->currentWidget(), m_editor->editor(kind));
            QVERIFY(m_editor->editor(kind)->isVisible());
            QCOMPARE(comboBox()->currentText(), names.at(kind));
            if (!folder.isEmpty())
                m_editor->grab().save(folder + QStringLiteral("/scenesettings-%1.png").arg(kind));
        }
    }

private:
    QComboBox* comboBox() const { return m_editor->findChild<QComboBox*>(QStringLiteral("effectsComboBox")); }
    QStackedWidget* stack() const {
        return m_editor->findChild<QStackedWidget*>(QStringLiteral("effectPropertiesStack"));
    }
    QPushButton* save() const { return m_editor->findChild<QPushButton*>(QStringLiteral("applyButton")); }
    QPushButton* undo() const { return m_editor->findChild<QPushButton*>(QStringLiteral("revertButton")); }
    QSlider* randomSpeed() const {
        return m_editor->editor(MSPEffect::RandomColor)->findChild<QSlider*>(QStringLiteral("speedSlider"));
    }
    static MSPScene* scene(int index) { return MSPSceneModel::instance()->scene(index); }
    static MSPRandomColorEffect* randomEffect() { return qobject_cast<MSPRandomColorEffect*>(scene(5)->effect()); }
    void selectScene(int index) {
        MSPSceneModel::instance()->setActiveSceneIndex(index, false);
        m_editor->activeSceneChanged(index);
    }

    EditorFixture m_keypad;
    std::unique_ptr<MSPSceneSettingsWidget> m_editor;
};

LUMETTO_NETWORK_TEST_MAIN(TestSceneSettings, "tst_scenesettings", QApplication)
#include "tst_scenesettings.moc"

#include "ColorTextField.h"
#include "ConnectionState.h"
#include "EditorFixture.h"
#include "MSPComm.h"
#include "MSPEffect.h"
#include "MSPEffectWidget.h"
#include "MSPRandomColorEffect.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "MSPSceneSettingsWidget.h"
#include "RecentColors.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"
#include "ZelColorPicker.h"

#include <QComboBox>
#include <QPushButton>
#include <QSlider>
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

    // Save and Undo come on with an edit while connected, Save held back while a slider is
    // dragged; another scene shown starts clean.
    void saveAndUndoFollowEdits() {
        selectScene(5);
        QSlider* slider = randomSpeed();
        // Edited, and back at the slider's left end.
        QTest::keyClick(slider, Qt::Key_Right);
        QTest::keyClick(slider, Qt::Key_Home);
        QCOMPARE(offered(), QStringLiteral("save undo"));
        const QPoint handle(3, slider->height() / 2);
        QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, handle);
        for (QPoint at = handle + QPoint(30, 0); at.x() < slider->width(); at += QPoint(30, 0)) {
            QMouseEvent move(QEvent::MouseMove, at, slider->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
            QApplication::sendEvent(slider, &move);
            QCOMPARE(offered(), QStringLiteral("undo"));
        }
        QVERIFY(slider->value() > 2);
        QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(slider->width() - 3, handle.y()));
        // The last value is in the effect, so the scene can be saved once the handle is let go.
        QCOMPARE(offered(), QStringLiteral("save undo"));
        QCOMPARE(randomEffect()->speed(), slider->value());

        m_editor->activeSceneChanged(4);
        QVERIFY(m_editor->editor(MSPEffect::CustomWash)->isVisible());
        QCOMPARE(offered(), QString());
        // Any scene's change counts, not only the one shown.
        randomEffect()->setSpeed(30);
        QVERIFY(save()->isEnabled());
    }

    // Edits the keypad plays unsaved bring Save and Undo back with their scene, which they act on
    // even while the keypad is still being asked for another scene.
    void unsavedSceneOffersSaveWhenShownAgain() {
        selectScene(5);
        QTest::keyClick(randomSpeed(), Qt::Key_Right);
        QVERIFY(MSPSceneModel::instance()->isUnsaved(5));
        selectScene(4);
        QCOMPARE(offered(), QString());
        selectScene(5);
        QCOMPARE(offered(), QStringLiteral("save undo"));
        MSPSceneModel::instance()->setActiveSceneIndex(2, false);
        QTest::mouseClick(save(), Qt::LeftButton);
        QTRY_VERIFY(m_keypad.requests().contains(QStringLiteral("POST /api/v1/shows/6 apply=1")));
        QVERIFY(MSPSceneModel::instance()->unsavedScenes().isEmpty());
        QCOMPARE(offered(), QString());
    }

    // An editor is made when its kind is first shown, loads the scene the model holds, sends what
    // any editor sends, and is kept: shown again it is the same one.
    void editorsAreMadeWhenFirstShown() {
        QVERIFY(m_editor->editor(MSPEffect::FixedColor));
        for (int kind = MSPEffect::VariableColor; kind < MSPEffect::typeCount; ++kind)
            QVERIFY2(!m_editor->editor(kind), qPrintable(QString::number(kind)));
        randomEffect()->setSpeed(9);
        m_keypad.clearRequests();
        selectScene(5);
        MSPEffectWidget* made = m_editor->editor(MSPEffect::RandomColor);
        QVERIFY(made && made->isVisible());
        QCOMPARE(randomSpeed()->value(), 9);
        QTest::keyClick(randomSpeed(), Qt::Key_Right);
        QVERIFY(m_keypad.waitForRequests(1));
        QCOMPARE(m_keypad.requests(), QStringList{"POST /api/v1/shows/6 " + scene(5)->PostData()});
        QCOMPARE(randomEffect()->speed(), 10);
        selectScene(0);
        selectScene(5);
        QCOMPARE(m_editor->editor(MSPEffect::RandomColor), made);
        QCOMPARE(m_editor->findChildren<MSPEffectWidget*>().size(), 2);
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
        m_keypad.keepConnected(state == ConnectionState::Connected);
        ConnectionState::instance()->setState(ConnectionState::State(state));
        selectScene(2);
        // The kind the scene has already is no change.
        MSPEffect* before = scene(2)->effect();
        m_editor->on_effectsComboBox_currentIndexChanged(int(MSPEffect::ColorWash));
        QCOMPARE(scene(2)->effect(), before);
        QVERIFY(!save()->isEnabled());
        comboBox()->setFocus();
        // Down twice in the closed box: Color Wash, Rainbow Wash, Custom Wash.
        QTest::keyClick(comboBox(), Qt::Key_Down);
        QTest::keyClick(comboBox(), Qt::Key_Down);
        QCOMPARE(scene(2)->effect()->type(), int(MSPEffect::CustomWash));
        QVERIFY(m_editor->editor(MSPEffect::CustomWash)->isVisible());
        QCOMPARE(offered(), QString(enabled ? "save undo" : ""));
    }

    // Saved or undone before the 100 ms timer would send the edit: the edit still goes first. After
    // Undo the keypad plays the saved scene again, and the editor reads it back.
    void saveAndUndoSendTheEditFirst() {
        selectScene(5);
        const QString show = QStringLiteral("POST /api/v1/shows/6 ");
        const std::pair<QPushButton*, QStringList> steps[] = {
            {save(), {show + "apply=1"}},
            {undo(), {show + "apply=0", QStringLiteral("GET /api/v1/shows/6 ")}},
        };
        for (const auto& [button, after] : steps) {
            m_keypad.clearRequests();
            QTest::keyClick(randomSpeed(), Qt::Key_Right);
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(offered(), QString());
            QVERIFY(m_keypad.waitForRequests(after.size() + 1));
            QCOMPARE(m_keypad.requests(), QStringList{show + scene(5)->PostData()} + after);
        }
    }

    // Demo mode loads every scene into its page at once.
    void demoModeShowsEveryScene() {
        m_keypad.keepConnected(false);
        randomEffect()->setSpeed(17);
        ConnectionState::instance()->setState(ConnectionState::OfflineDemo);
        m_editor->setEnabled(true);
        QCOMPARE(randomSpeed()->value(), 17);
        // Edits in demo mode change the scenes but offer nothing to save, and nothing is sent.
        QTest::keyClick(randomSpeed(), Qt::Key_Right);
        QCOMPARE(randomEffect()->speed(), 18);
        QCOMPARE(offered(), QString());
        m_editor->resize(640, 640);
        for (int kind = 0; kind < MSPEffect::typeCount; ++kind) {
            selectScene(kind);
            QVERIFY(m_editor->editor(kind)->isVisible());
            TestSupport::keepPicture(m_editor.get(), QStringLiteral("scenesettings-%1.png").arg(kind));
        }
    }

    // A colour typed into the fixed colour editor goes to the keypad and joins the recent colours.
    // The demo sends nothing and so records nothing. (Text that is no colour leaves the picker's page
    // unsent: tst_rgbpickerwidget.)
    void typedColorsReachTheKeypadAndTheRecentRow() {
        using ZelColorPickerLib::RecentColors;
        RecentColors::instance()->clear();
        auto* field = m_editor->editor(MSPEffect::FixedColor)->findChild<ZelColorPickerLib::ColorTextField*>();
        const auto type = [field](const QString& text) {
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, text);
            QTest::keyClick(field, Qt::Key_Return);
        };
        const QString show = QStringLiteral("POST /api/v1/shows/1 ");
        type(QStringLiteral("#12ab34"));
        QVERIFY(m_keypad.waitForRequests(1));
        QCOMPARE(m_keypad.requests(), QStringList{show + scene(0)->PostData()});
        QVERIFY2(scene(0)->PostData().startsWith(QStringLiteral("effect=0&param1=18&param2=171&param3=52&")),
                 qPrintable(scene(0)->PostData()));
        QCOMPARE(RecentColors::instance()->colors(), QList<ZelColor>{ZelColor::fromRgb8(0x12, 0xab, 0x34)});

        m_keypad.keepConnected(false);
        ConnectionState::instance()->setState(ConnectionState::OfflineDemo);
        type(QStringLiteral("1, 2, 3"));
        QCOMPARE(RecentColors::instance()->colors().size(), 1);
    }

    // The white page shows the gamut of the keypad's fixture profile, also one saved by the
    // configuration editor, which tells no one.
    void pickersShowTheFixtureGamut() {
        for (int kind : {int(MSPEffect::FixedColor), int(MSPEffect::CustomWash)}) {
            selectScene(kind);
            auto* picker =
                m_editor->editor(kind)->findChild<ZelColorPickerLib::ZelColorPicker*>(QStringLiteral("colorPicker"));
            SystemConfiguration::instance()->setFixtureClass(6);
            QCOMPARE(picker->fixtureProfile(), 6);
            SystemConfiguration::instance()->setFixtureClass(2, false);
            m_editor->hide();
            selectScene(kind);
            m_editor->show();
            QCOMPARE(picker->fixtureProfile(), 2);
        }
        SystemConfiguration::instance()->setFixtureClass(0, false);
    }

    void comboBoxSurvivesBeingShownAgain() {
        m_editor->activeSceneChanged(3);
        m_editor->hide();
        m_editor->show();
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

private:
    QComboBox* comboBox() const { return m_editor->findChild<QComboBox*>(QStringLiteral("effectsComboBox")); }
    QPushButton* save() const { return m_editor->findChild<QPushButton*>(QStringLiteral("applyButton")); }
    QPushButton* undo() const { return m_editor->findChild<QPushButton*>(QStringLiteral("revertButton")); }
    QString offered() const { return TestSupport::offered(m_editor.get()); }
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

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
#include <QSignalSpy>
#include <QSlider>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionSlider>
#include <memory>

class TestSceneSettings : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsOnSceneOneWithNothingToSave();
    void switchingScenesForgetsUnsavedState();
    void choosingTheSameKindChangesNothing();
    void choosingAnotherKind_data();
    void choosingAnotherKind();
    void editsEnableSaveOnlyWhenConnected();
    void draggingHoldsSaveBack();
    void saveFlushesThenApplies();
    void undoFlushesRevertsAndRereads();
    void demoModeShowsEveryScene();
    void comboBoxSurvivesBeingShownAgain();
    void everyPageIsShown();

private:
    QComboBox* comboBox() const { return m_editor->findChild<QComboBox*>(QStringLiteral("effectsComboBox")); }
    QPushButton* save() const { return m_editor->findChild<QPushButton*>(QStringLiteral("applyButton")); }
    QPushButton* undo() const { return m_editor->findChild<QPushButton*>(QStringLiteral("revertButton")); }
    QSlider* randomSpeed() const;
    MSPScene* scene(int index) const { return MSPSceneModel::instance()->scene(index); }

    EditorFixture m_keypad;
    std::unique_ptr<MSPSceneSettingsWidget> m_editor;
};

void TestSceneSettings::initTestCase() {
    QVERIFY(m_keypad.start());
}

void TestSceneSettings::init() {
    EditorFixture::resetScenes({0, 1, 2, 3, 4, 5, 6, 7}, 0);
    ConnectionState::instance()->setState(ConnectionState::Connected);
    m_keypad.keepConnected(true);
    m_editor = std::make_unique<MSPSceneSettingsWidget>();
    m_editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_editor.get()));
    m_editor->activeSceneChanged(0);
    m_keypad.clearRequests();
}

void TestSceneSettings::cleanup() {
    m_keypad.keepConnected(false);
    // A pending edit goes out now, so it cannot land in the next test's list.
    MSPComm::instance()->applyScene(nullptr);
    QVERIFY(m_keypad.waitIdle());
    m_editor.reset();
}

QSlider* TestSceneSettings::randomSpeed() const {
    return m_editor->editor(MSPEffect::RandomColor)->findChild<QSlider*>(QStringLiteral("speedSlider"));
}

void TestSceneSettings::startsOnSceneOneWithNothingToSave() {
    MSPSceneSettingsWidget fresh;
    QCOMPARE(fresh.findChild<QLabel*>(QStringLiteral("sceneNumberLabel"))->text(), QStringLiteral("Scene: 1"));
    QVERIFY(!fresh.findChild<QPushButton*>(QStringLiteral("applyButton"))->isEnabled());
    QVERIFY(!fresh.findChild<QPushButton*>(QStringLiteral("revertButton"))->isEnabled());
    auto* box = fresh.findChild<QComboBox*>(QStringLiteral("effectsComboBox"));
    QStringList kinds;
    for (int i = 0; i < box->count(); ++i)
        kinds << box->itemText(i);
    QCOMPARE(kinds, (QStringList{"Fixed Color", "Variable Color", "Color Wash", "Rainbow Wash", "Custom Wash",
                                 "Random Color", "RGB White", "Duo White"}));
    auto* stack = fresh.findChild<QStackedWidget*>(QStringLiteral("effectPropertiesStack"));
    QCOMPARE(stack->count(), 8);
    QCOMPARE(stack->currentIndex(), 0);
    QCOMPARE(save()->height(), 23);
}

void TestSceneSettings::switchingScenesForgetsUnsavedState() {
    m_editor->activeSceneChanged(5);
    QTest::keyClick(randomSpeed(), Qt::Key_Right);
    QVERIFY(save()->isEnabled());
    QVERIFY(undo()->isEnabled());
    m_editor->activeSceneChanged(4);
    QCOMPARE(m_editor->findChild<QLabel*>(QStringLiteral("sceneNumberLabel"))->text(), QStringLiteral("Scene: 5"));
    QCOMPARE(comboBox()->currentIndex(), int(MSPEffect::CustomWash));
    QCOMPARE(m_editor->findChild<QStackedWidget*>(QStringLiteral("effectPropertiesStack"))->currentIndex(),
             int(MSPEffect::CustomWash));
    QVERIFY(!save()->isEnabled());
    QVERIFY(!undo()->isEnabled());
}

void TestSceneSettings::choosingTheSameKindChangesNothing() {
    MSPEffect* before = scene(0)->effect();
    m_editor->on_effectsComboBox_currentIndexChanged(int(MSPEffect::FixedColor));
    QCOMPARE(scene(0)->effect(), before);
    QVERIFY(!save()->isEnabled());
    QTest::qWait(0);
    QCOMPARE(m_keypad.requests(), QStringList());
}

void TestSceneSettings::choosingAnotherKind_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("connected") << int(ConnectionState::Connected) << true;
    QTest::newRow("not connected") << int(ConnectionState::NotConnected) << false;
    QTest::newRow("demo") << int(ConnectionState::OfflineDemo) << false;
}

void TestSceneSettings::choosingAnotherKind() {
    QFETCH(int, state);
    QFETCH(bool, enabled);
    if (state != ConnectionState::Connected) {
        m_keypad.keepConnected(false);
        ConnectionState::instance()->setState(ConnectionState::State(state));
    }
    MSPSceneModel::instance()->setActiveSceneIndex(2, false);
    m_editor->activeSceneChanged(2);
    comboBox()->setFocus();
    // Down twice in the closed box: Color Wash, Rainbow Wash, Custom Wash.
    QTest::keyClick(comboBox(), Qt::Key_Down);
    QTest::keyClick(comboBox(), Qt::Key_Down);
    QCOMPARE(scene(2)->effect()->type(), int(MSPEffect::CustomWash));
    QCOMPARE(m_editor->findChild<QStackedWidget*>(QStringLiteral("effectPropertiesStack"))->currentIndex(),
             int(MSPEffect::CustomWash));
    QCOMPARE(save()->isEnabled(), enabled);
    QCOMPARE(undo()->isEnabled(), enabled);
    if (state == ConnectionState::Connected) {
        // Each new effect goes to the keypad at once.
        QVERIFY(m_keypad.waitForRequests(2));
        QCOMPARE(m_keypad.requests().last(), QStringLiteral("POST /api/v1/shows/3 ") + scene(2)->PostData());
        QVERIFY(m_keypad.requests().first().startsWith(QStringLiteral("POST /api/v1/shows/3 effect=3")));
    }
    ConnectionState::instance()->setState(ConnectionState::Connected);
}

void TestSceneSettings::editsEnableSaveOnlyWhenConnected() {
    MSPSceneModel::instance()->setActiveSceneIndex(5, false);
    m_editor->activeSceneChanged(5);
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
    qobject_cast<MSPRandomColorEffect*>(scene(5)->effect())->setSpeed(30);
    QVERIFY(save()->isEnabled());
}

void TestSceneSettings::draggingHoldsSaveBack() {
    MSPSceneModel::instance()->setActiveSceneIndex(5, false);
    m_editor->activeSceneChanged(5);
    QSlider* slider = randomSpeed();
    QTest::keyClick(slider, Qt::Key_Right);
    QVERIFY(save()->isEnabled());

    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    const QPoint handle =
        slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider).center();
    const int y = handle.y();
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, handle);
    QVERIFY(slider->isSliderDown());
    for (int x = handle.x() + 30; x < slider->width(); x += 30) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), slider->mapToGlobal(QPoint(x, y)), Qt::LeftButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(slider, &move);
        QVERIFY(!save()->isEnabled());
        QVERIFY(undo()->isEnabled());
    }
    QVERIFY(randomSpeed()->value() > 2);
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(slider->width() - 3, y));
    // The last value is in the effect, so the scene can be saved once the handle is let go.
    QVERIFY(save()->isEnabled());
    QCOMPARE(qobject_cast<MSPRandomColorEffect*>(scene(5)->effect())->speed(), slider->value());
}

void TestSceneSettings::saveFlushesThenApplies() {
    MSPSceneModel::instance()->setActiveSceneIndex(5, false);
    m_editor->activeSceneChanged(5);
    QTest::keyClick(randomSpeed(), Qt::Key_Right);
    QTest::keyClick(randomSpeed(), Qt::Key_Right);
    // Saved before the 100 ms timer would send the edit: the edit still goes first.
    QTest::mouseClick(save(), Qt::LeftButton);
    QVERIFY(!save()->isEnabled());
    QVERIFY(!undo()->isEnabled());
    QVERIFY(m_keypad.waitForRequests(2));
    QCOMPARE(m_keypad.requests(), (QStringList{QStringLiteral("POST /api/v1/shows/6 ") + scene(5)->PostData(),
                                               QStringLiteral("POST /api/v1/shows/6 apply=1")}));
    QCOMPARE(qobject_cast<MSPRandomColorEffect*>(scene(5)->effect())->speed(), 3);
}

void TestSceneSettings::undoFlushesRevertsAndRereads() {
    MSPSceneModel::instance()->setActiveSceneIndex(6, false);
    m_editor->activeSceneChanged(6);
    QSlider* temperature =
        m_editor->editor(MSPEffect::RgbWhite)->findChild<QSlider*>(QStringLiteral("temperatureSlider"));
    QTest::keyClick(temperature, Qt::Key_PageUp);
    QVERIFY(undo()->isEnabled());
    QTest::mouseClick(undo(), Qt::LeftButton);
    QVERIFY(!save()->isEnabled());
    QVERIFY(!undo()->isEnabled());
    QVERIFY(m_keypad.waitForRequests(3));
    QCOMPARE(m_keypad.requests(),
             (QStringList{QStringLiteral("POST /api/v1/shows/7 ") + scene(6)->PostData(),
                          QStringLiteral("POST /api/v1/shows/7 apply=0"), QStringLiteral("GET /api/v1/shows/7 ")}));
}

void TestSceneSettings::demoModeShowsEveryScene() {
    m_keypad.keepConnected(false);
    EditorFixture::resetScenes({0, 1, 2, 3, 4, 5, 6, 7}, 0);
    qobject_cast<MSPRandomColorEffect*>(scene(5)->effect())->setSpeed(17);
    ConnectionState::instance()->setState(ConnectionState::OfflineDemo);
    m_editor->setEnabled(true);
    QCOMPARE(SystemConfiguration::instance()->version(), QStringLiteral("1.1.24"));
    QCOMPARE(randomSpeed()->value(), 17);
    QVERIFY(!save()->isEnabled());
    QVERIFY(!undo()->isEnabled());
    // Edits in demo mode change the scenes but offer nothing to save, and nothing is sent.
    QTest::keyClick(randomSpeed(), Qt::Key_Right);
    QCOMPARE(qobject_cast<MSPRandomColorEffect*>(scene(5)->effect())->speed(), 18);
    QVERIFY(!save()->isEnabled());
    m_editor->setEnabled(false);
    QVERIFY(!m_editor->isEnabled());
    ConnectionState::instance()->setState(ConnectionState::Connected);
}

void TestSceneSettings::comboBoxSurvivesBeingShownAgain() {
    m_editor->activeSceneChanged(3);
    QComboBox* first = comboBox();
    QCOMPARE(first->currentIndex(), int(MSPEffect::RainbowWash));
    m_editor->hide();
    m_editor->show();
    QComboBox* second = comboBox();
    QVERIFY(second != first);
    QCOMPARE(second->currentIndex(), int(MSPEffect::RainbowWash));
    QCOMPARE(m_editor->findChildren<QComboBox*>(QStringLiteral("effectsComboBox")).size(), 1);
    MSPSceneModel::instance()->setActiveSceneIndex(3, false);
    second->setFocus();
    QTest::keyClick(second, Qt::Key_Down);
    QCOMPARE(scene(3)->effect()->type(), int(MSPEffect::CustomWash));

    // Shown while the window waits for a keypad, the new box must come alive with the editor.
    m_editor->hide();
    m_editor->QWidget::setEnabled(false);
    m_editor->show();
    m_editor->QWidget::setEnabled(true);
    QVERIFY(comboBox()->isEnabled());
}

void TestSceneSettings::everyPageIsShown() {
    // Pictures of the eight pages; LUMETTO_SCREENSHOT_DIR keeps them for a person to look at.
    const QString folder = qEnvironmentVariable("LUMETTO_SCREENSHOT_DIR");
    m_editor->resize(640, 640);
    for (int kind = 0; kind < MSPEffect::typeCount; ++kind) {
        MSPSceneModel::instance()->setActiveSceneIndex(kind, false);
        m_editor->activeSceneChanged(kind);
        QWidget* page = m_editor->findChild<QStackedWidget*>(QStringLiteral("effectPropertiesStack"))->currentWidget();
        QCOMPARE(page, m_editor->editor(kind));
        QVERIFY(page->isVisible());
        QCOMPARE(comboBox()->currentText(), MSPEffect::nameForType(kind));
        if (!folder.isEmpty())
            m_editor->grab().save(folder + QStringLiteral("/scenesettings-%1.png").arg(kind));
    }
}

LUMETTO_NETWORK_TEST_MAIN(TestSceneSettings, "tst_scenesettings", QApplication)
#include "tst_scenesettings.moc"

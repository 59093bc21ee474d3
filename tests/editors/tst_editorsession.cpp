#include "ConnectionState.h"
#include "KeypadSimulator.h"
#include "MSPComm.h"
#include "MSPEffect.h"
#include "MSPEffectWidget.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "MSPSceneSettingsWidget.h"
#include "MainWindow.h"
#include "SystemConfiguration.h"
#include "SystemConfigurationWidget.h"
#include "TestEnvironment.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
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
    void initTestCase();
    void cleanupTestCase();

    void panelPressPlaysTheScene();
    void keypadPressSelectsTheSceneEverywhere();
    void saveAndUndoReachTheKeypad();
    void sliderSweepEndsWithTheLastValue();
    void configurationReachesTheKeypad();

private:
    MSPSceneSettingsWidget* settings() const { return m_window->findChild<MSPSceneSettingsWidget*>(); }
    QPushButton* sceneButton(const char* name) const {
        return settings()->findChild<QPushButton*>(QLatin1String(name));
    }
    QRadioButton* panelButton(int number) const {
        return m_window->findChild<QRadioButton*>(QStringLiteral("scene%1Button").arg(number));
    }
    QSlider* randomSpeed() const {
        return settings()->editor(MSPEffect::RandomColor)->findChild<QSlider*>(QStringLiteral("speedSlider"));
    }
    // The posts the keypad received for a scene, as their bodies.
    QStringList sceneBodies(int number) const;
    bool idle() const;

    KeypadSimulator m_keypad;
    std::unique_ptr<MainWindow> m_window;
};

void TestEditorSession::initTestCase() {
    Q_INIT_RESOURCE(app_resources);
    QVERIFY(m_keypad.start({QStringLiteral("10.77.0.2"), QStringLiteral("Lobby")}));
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTRY_COMPARE_WITH_TIMEOUT(ConnectionState::instance()->state(), ConnectionState::Connected, Generous);
    QTRY_COMPARE_WITH_TIMEOUT(SystemConfiguration::instance()->name(), QStringLiteral("Lobby"), Generous);
    QVERIFY(idle());
}

void TestEditorSession::cleanupTestCase() {
    m_window.reset();
    m_keypad.stop();
}

bool TestEditorSession::idle() const {
    QElapsedTimer clock;
    clock.start();
    while (MSPComm::instance()->hasOutstandingReplies() && clock.elapsed() < Generous)
        QTest::qWait(10);
    return !MSPComm::instance()->hasOutstandingReplies();
}

QStringList TestEditorSession::sceneBodies(int number) const {
    QStringList bodies;
    for (const KeypadSimulator::Request& request :
         m_keypad.requests(QStringLiteral("POST"), QStringLiteral("/api/v1/shows/") + QString::number(number)))
        bodies << QString::fromLatin1(request.body);
    return bodies;
}

void TestEditorSession::panelPressPlaysTheScene() {
    const int pressed = m_keypad.activeScene() == 4 ? 3 : 4;
    QTest::mouseClick(panelButton(pressed), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(m_keypad.activeScene(), pressed, Generous);
    QTRY_COMPARE_WITH_TIMEOUT(m_window->findChild<QLabel*>(QStringLiteral("sceneNumberLabel"))->text(),
                              QStringLiteral("Scene: %1").arg(pressed), Generous);
    QVERIFY(panelButton(pressed)->isChecked());
    QVERIFY(idle());
}

void TestEditorSession::keypadPressSelectsTheSceneEverywhere() {
    const int pressed = m_keypad.activeScene() == 6 ? 7 : 6;
    QVERIFY(m_keypad.press(pressed));
    QTRY_VERIFY_WITH_TIMEOUT(panelButton(pressed)->isChecked(), Generous);
    QTRY_COMPARE_WITH_TIMEOUT(m_window->findChild<QLabel*>(QStringLiteral("sceneNumberLabel"))->text(),
                              QStringLiteral("Scene: %1").arg(pressed), Generous);
    QCOMPARE(MSPSceneModel::instance()->activeSceneIndex(), pressed - 1);
    QVERIFY(idle());
    QVERIFY(!sceneButton("applyButton")->isEnabled());
}

void TestEditorSession::saveAndUndoReachTheKeypad() {
    const int number = MSPSceneModel::instance()->activeSceneIndex() + 1;
    m_keypad.clearRequestLog();
    auto* kinds = settings()->findChild<QComboBox*>(QStringLiteral("effectsComboBox"));
    const int kind = kinds->currentIndex() == MSPEffect::RandomColor ? MSPEffect::RgbWhite : MSPEffect::RandomColor;
    // The editor follows the box through its index signal, whichever way the item is chosen.
    kinds->setCurrentIndex(kind);
    QCOMPARE(MSPSceneModel::instance()->scene(number - 1)->effect()->type(), kind);
    QTRY_VERIFY_WITH_TIMEOUT(m_keypad.liveQuery(number).startsWith(QStringLiteral("effect=%1").arg(kind)), Generous);
    QVERIFY(sceneButton("applyButton")->isEnabled());
    QTest::mouseClick(sceneButton("applyButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(sceneBodies(number).contains(QStringLiteral("apply=1")), Generous);
    QTRY_COMPARE_WITH_TIMEOUT(m_keypad.savedQuery(number), m_keypad.liveQuery(number), Generous);
    QVERIFY(idle());

    const QString saved = m_keypad.savedQuery(number);
    kinds->setCurrentIndex(MSPEffect::FixedColor);
    QTRY_VERIFY_WITH_TIMEOUT(m_keypad.liveQuery(number).startsWith(QStringLiteral("effect=0")), Generous);
    QTest::mouseClick(sceneButton("revertButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(sceneBodies(number).contains(QStringLiteral("apply=0")), Generous);
    // The keypad plays the saved scene again and the editor shows it.
    QTRY_COMPARE_WITH_TIMEOUT(m_keypad.liveQuery(number), saved, Generous);
    QTRY_COMPARE_WITH_TIMEOUT(kinds->currentIndex(), kind, Generous);
    QVERIFY(idle());
    QVERIFY(!sceneButton("applyButton")->isEnabled());
}

void TestEditorSession::sliderSweepEndsWithTheLastValue() {
    const int number = MSPSceneModel::instance()->activeSceneIndex() + 1;
    auto* kinds = settings()->findChild<QComboBox*>(QStringLiteral("effectsComboBox"));
    if (kinds->currentIndex() != MSPEffect::RandomColor)
        kinds->setCurrentIndex(MSPEffect::RandomColor);
    QVERIFY(idle());
    QSlider* slider = randomSpeed();
    QTest::keyClick(slider, Qt::Key_Home);
    QVERIFY(idle());
    m_keypad.clearRequestLog();
    QList<qint64> sent;
    QElapsedTimer clock;
    clock.start();
    QMetaObject::Connection watch = connect(MSPComm::instance(), &MSPComm::requestSent, this,
                                            [&](const QString& method, const QString&, const QString&) {
                                                if (method == QLatin1String("POST"))
                                                    sent << clock.elapsed();
                                            });
    QTimer hand;
    int steps = 0;
    connect(&hand, &QTimer::timeout, this, [&] {
        QTest::keyClick(slider, Qt::Key_Right);
        if (++steps == 31)
            hand.stop();
    });
    hand.start(8);
    QTRY_VERIFY_WITH_TIMEOUT(!hand.isActive(), Generous);
    QTRY_VERIFY_WITH_TIMEOUT(m_keypad.liveQuery(number).contains(QStringLiteral("param1=32&")), Generous);
    QVERIFY(idle());
    disconnect(watch);
    const QStringList bodies = sceneBodies(number);
    QVERIFY2(bodies.size() < 31, qPrintable(QString::number(bodies.size())));
    QVERIFY(bodies.last().contains(QStringLiteral("param1=32&")));
    for (int i = 1; i < sent.size(); ++i)
        QVERIFY2(sent.at(i) - sent.at(i - 1) >= 94, qPrintable(QString::number(sent.at(i) - sent.at(i - 1))));
    qDebug() << "31 values reached the keypad in" << bodies.size() << "posts";
}

void TestEditorSession::configurationReachesTheKeypad() {
    auto* form = m_window->findChild<SystemConfigurationWidget*>();
    auto* name = form->findChild<QLineEdit*>(QStringLiteral("nameEdit"));
    name->setFocus();
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Backspace);
    QTest::keyClicks(name, QStringLiteral("Foyer"));
    auto* universe = form->findChild<QSpinBox*>(QStringLiteral("universeSpinBox"));
    universe->setFocus();
    universe->selectAll();
    QTest::keyClicks(universe, QStringLiteral("7"));
    QCOMPARE(universe->value(), 7);
    auto* save = form->findChild<QPushButton*>(QStringLiteral("applyButton"));
    QVERIFY(save->isEnabled());
    QTest::mouseClick(save, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(m_keypad.state().value(QStringLiteral("name")).toString(), QStringLiteral("Foyer"),
                              Generous);
    QTRY_COMPARE_WITH_TIMEOUT(m_keypad.state().value(QStringLiteral("universe")).toInt(), 7, Generous);
    // Read back from the keypad, the model says the same.
    QVERIFY(idle());
    MSPComm::instance()->getConfig();
    QVERIFY(idle());
    QCOMPARE(SystemConfiguration::instance()->name(), QStringLiteral("Foyer"));
    QCOMPARE(SystemConfiguration::instance()->universe(), 7);
}

LUMETTO_NETWORK_TEST_MAIN(TestEditorSession, "tst_editorsession", QApplication)
#include "tst_editorsession.moc"

#include "ConnectionState.h"
#include "EditorFixture.h"
#include "MSPComm.h"
#include "MSPEffect.h"
#include "MSPEffectWidget.h"
#include "MSPRandomColorEffect.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "MSPSceneSettingsWidget.h"
#include "MainWindow.h"
#include "RecordingHttpServer.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QUdpSocket>
#include <limits>
#include <memory>

namespace {

// The keypad's answer to a scene request: the scene and which one now plays.
QByteArray sceneReply(int number, int effect, int speed) {
    return "<all_shows>\n<currentShow>" + QByteArray::number(number) + "</currentShow>\n<show><url>/api/v1/shows/" +
           QByteArray::number(number) + "</url>\n<effect>" + QByteArray::number(effect) +
           "</effect>\n<parameters><param>" + QByteArray::number(speed) +
           "</param><param>1</param><param>0</param><by>0</by><x>0</x><y>0</y></parameters>"
           "<numColors>0</numColors>\n<customColors>\n</customColors>\n</show>\n</all_shows>";
}

QByteArray sceneNotice(int scene) {
    QByteArray bytes = QByteArray::fromHex("0401DC4A0100010300000000000000AA");
    bytes[13] = static_cast<char>(scene);
    return bytes;
}

} // namespace

// The editors inside the main window, against a recording keypad: what the user does on the
// panel and in the editors reaches the keypad, and what the keypad does reaches the editors.
class TestEditorWiring : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void panelPressReadsTheScene();
    void keypadPressSelectsTheSceneEverywhere();
    void speedSliderSweepIsCoalesced();
    void undoReadsTheKeypadsSceneBack();

private:
    QRadioButton* sceneButton(int number) const {
        return m_window->findChild<QRadioButton*>(QStringLiteral("scene%1Button").arg(number));
    }
    QString sceneLabel() const { return m_window->findChild<QLabel*>(QStringLiteral("sceneNumberLabel"))->text(); }

    EditorFixture m_keypad;
    std::unique_ptr<MainWindow> m_window;
};

void TestEditorWiring::initTestCase() {
    QVERIFY(m_keypad.start(false));
    for (int number = 1; number <= 8; ++number) {
        const QString path = QStringLiteral("/api/v1/shows/") + QString::number(number);
        const QByteArray reply = sceneReply(number, MSPEffect::RandomColor, number + 10);
        m_keypad.server()->setReply(QStringLiteral("GET"), path, reply);
        m_keypad.server()->setReply(QStringLiteral("POST"), path, reply);
    }
}

void TestEditorWiring::init() {
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    // The window looks for keypads once at start; this network has none that answers discovery.
    QTRY_COMPARE_WITH_TIMEOUT(ConnectionState::instance()->state(), ConnectionState::NoDevice, EditorFixture::Generous);
    EditorFixture::resetScenes({0, 1, 2, 3, 4, 5, 6, 7}, 0);
    MSPComm::instance()->setDevice(EditorFixture::KeypadAddress, QByteArray::fromHex("0050C2AABBCC"));
    m_keypad.keepConnected(true);
    QTRY_COMPARE(ConnectionState::instance()->state(), ConnectionState::Connected);
    QVERIFY(m_keypad.waitIdle());
    m_keypad.clearRequests();
}

void TestEditorWiring::cleanup() {
    m_keypad.keepConnected(false);
    QVERIFY(m_keypad.waitIdle());
    m_window.reset();
    MSPComm::instance()->setDevice(QString(), QByteArray());
}

void TestEditorWiring::panelPressReadsTheScene() {
    QTest::mouseClick(sceneButton(3), Qt::LeftButton);
    QCOMPARE(MSPSceneModel::instance()->activeSceneIndex(), 2);
    QVERIFY(m_keypad.waitForRequests(1));
    QCOMPARE(m_keypad.requests().first(), QStringLiteral("GET /api/v1/shows/3 "));
    // The keypad's answer makes scene 3 the edited one.
    QTRY_COMPARE(sceneLabel(), QStringLiteral("Scene: 3"));
    QTRY_COMPARE(MSPSceneModel::instance()->scene(2)->effect()->type(), int(MSPEffect::RandomColor));
    QCOMPARE(m_window->findChild<QComboBox*>(QStringLiteral("effectsComboBox"))->currentIndex(),
             int(MSPEffect::RandomColor));
    QVERIFY(sceneButton(3)->isChecked());
}

void TestEditorWiring::keypadPressSelectsTheSceneEverywhere() {
    QUdpSocket keypad;
    QVERIFY(keypad.bind(QHostAddress(EditorFixture::KeypadAddress), 0));
    QCOMPARE(
        keypad.writeDatagram(sceneNotice(5), QHostAddress(EditorFixture::KeypadAddress), MSPComm::KeypadNoticePort),
        qint64(16));
    QTRY_COMPARE_WITH_TIMEOUT(sceneLabel(), QStringLiteral("Scene: 5"), EditorFixture::Generous);
    QCOMPARE(m_keypad.requests().first(), QStringLiteral("POST /api/v1/shows/5 "));
    QVERIFY(sceneButton(5)->isChecked());
    QCOMPARE(MSPSceneModel::instance()->activeSceneIndex(), 4);
    QCOMPARE(m_window->findChild<QComboBox*>(QStringLiteral("effectsComboBox"))->currentIndex(),
             int(MSPEffect::RandomColor));
    auto* settings = m_window->findChild<MSPSceneSettingsWidget*>();
    QCOMPARE(settings->editor(MSPEffect::RandomColor)->findChild<QSlider*>(QStringLiteral("speedSlider"))->value(), 15);
    // The keypad's own change is nothing to save.
    QVERIFY(!settings->findChild<QWidget*>(QStringLiteral("applyButton"))->isEnabled());
    QVERIFY(!settings->findChild<QWidget*>(QStringLiteral("revertButton"))->isEnabled());
}

void TestEditorWiring::speedSliderSweepIsCoalesced() {
    MSPSceneModel::instance()->setActiveSceneIndex(5, false);
    m_window->findChild<MSPSceneSettingsWidget*>()->activeSceneChanged(5);
    auto* settings = m_window->findChild<MSPSceneSettingsWidget*>();
    QSlider* slider = settings->editor(MSPEffect::RandomColor)->findChild<QSlider*>(QStringLiteral("speedSlider"));
    QCOMPARE(slider->value(), 1);
    // A hand sweeping the slider: a value every 10 ms, 31 values in all.
    QTimer hand;
    int steps = 0;
    connect(&hand, &QTimer::timeout, this, [&] {
        QTest::keyClick(slider, Qt::Key_Right);
        if (++steps == 31)
            hand.stop();
    });
    hand.start(10);
    QTRY_VERIFY_WITH_TIMEOUT(!hand.isActive(), EditorFixture::Generous);
    QCOMPARE(slider->value(), 32);
    auto* effect = qobject_cast<MSPRandomColorEffect*>(MSPSceneModel::instance()->scene(5)->effect());
    QCOMPARE(effect->speed(), 32);
    const QString last = QStringLiteral("POST /api/v1/shows/6 ") + MSPSceneModel::instance()->scene(5)->PostData();
    QTRY_VERIFY_WITH_TIMEOUT(!m_keypad.requests().isEmpty() && m_keypad.requests().last() == last,
                             EditorFixture::Generous);
    QVERIFY(m_keypad.waitIdle());

    const QStringList requests = m_keypad.requests();
    const QList<qint64> times = m_keypad.sendTimes();
    QVERIFY2(requests.size() >= 2, qPrintable(requests.join(QLatin1Char('\n'))));
    qint64 smallestGap = std::numeric_limits<qint64>::max();
    for (int i = 1; i < times.size(); ++i)
        smallestGap = qMin(smallestGap, times.at(i) - times.at(i - 1));
    qDebug() << "31 values became" << requests.size() << "posts, at least" << smallestGap << "ms apart";
    QVERIFY(requests.size() < 31);
    for (int i = 0; i < requests.size(); ++i) {
        QVERIFY2(requests.at(i).startsWith(QStringLiteral("POST /api/v1/shows/6 effect=5")),
                 qPrintable(requests.at(i)));
        // The coarse timer may fire up to 5 % early.
        if (i > 0)
            QVERIFY2(times.at(i) - times.at(i - 1) >= 94, qPrintable(QString::number(times.at(i) - times.at(i - 1))));
    }
    QCOMPARE(requests.last(), last);
}

void TestEditorWiring::undoReadsTheKeypadsSceneBack() {
    MSPSceneModel::instance()->setActiveSceneIndex(5, false);
    auto* settings = m_window->findChild<MSPSceneSettingsWidget*>();
    settings->activeSceneChanged(5);
    QSlider* slider = settings->editor(MSPEffect::RandomColor)->findChild<QSlider*>(QStringLiteral("speedSlider"));
    QTest::keyClick(slider, Qt::Key_End);
    auto* undo = settings->findChild<QWidget*>(QStringLiteral("revertButton"));
    auto* save = settings->findChild<QWidget*>(QStringLiteral("applyButton"));
    QVERIFY(undo->isEnabled());
    QTest::mouseClick(undo, Qt::LeftButton);
    QVERIFY(m_keypad.waitForRequests(3));
    QVERIFY(m_keypad.waitIdle());
    QCOMPARE(m_keypad.requests().mid(1),
             (QStringList{QStringLiteral("POST /api/v1/shows/6 apply=0"), QStringLiteral("GET /api/v1/shows/6 ")}));
    // The keypad's scene is back in the editor, and it is nothing to save.
    QTRY_COMPARE(slider->value(), 16);
    QVERIFY(!undo->isEnabled());
    QVERIFY(!save->isEnabled());
}

LUMETTO_NETWORK_TEST_MAIN(TestEditorWiring, "tst_editorwiring", QApplication)
#include "tst_editorwiring.moc"

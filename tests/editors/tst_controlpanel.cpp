#include "ConnectionState.h"
#include "EditorFixture.h"
#include "MSPControlPanelWidget.h"
#include "MSPEffect.h"
#include "MSPSceneModel.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <memory>

namespace {

const QString Up = QStringLiteral("POST /api/v1/config rel_bright=1");
const QString Down = QStringLiteral("POST /api/v1/config rel_bright=0");
const QString OnOff = QStringLiteral("POST /api/v1/config off_press=1");

} // namespace

class TestControlPanel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void plateGeometryAndImages();
    void scenePressesReportTheirIndex();
    void selectSceneChecksWithoutReporting();
    void disabledButtonsStayQuiet();
    void brightnessPresses_data();
    void brightnessPresses();
    void heldUpRepeatsOnVariableColor();
    void onOffAlwaysPresses();
    void coverFollowsTheConnection_data();
    void coverFollowsTheConnection();
    void failureFrameSurvivesDisabling();
    void failureChoices();
    void imagesArePainted();

private:
    QRadioButton* sceneButton(int number) const;
    // Presses on/off as a marker: every request before it was caused by what the test did.
    QStringList requestsUpToMarker();

    EditorFixture m_keypad;
    std::unique_ptr<MSPControlPanelWidget> m_panel;
};

void TestControlPanel::initTestCase() {
    Q_INIT_RESOURCE(app_resources);
    QVERIFY(m_keypad.start());
}

void TestControlPanel::init() {
    EditorFixture::resetScenes({0, 1, 2, 3, 4, 5, 6, 7}, 0);
    SystemConfiguration::instance()->setBrightness(128);
    m_panel = std::make_unique<MSPControlPanelWidget>();
    m_panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
    m_panel->setPanelEnabled(true);
    m_keypad.clearRequests();
}

void TestControlPanel::cleanup() {
    QVERIFY(m_keypad.waitIdle());
    m_panel.reset();
}

QRadioButton* TestControlPanel::sceneButton(int number) const {
    return m_panel->findChild<QRadioButton*>(QStringLiteral("scene%1Button").arg(number));
}

QStringList TestControlPanel::requestsUpToMarker() {
    QTest::mousePress(m_panel->findChild<QPushButton*>(QStringLiteral("onOffButton")), Qt::LeftButton);
    QTest::mouseRelease(m_panel->findChild<QPushButton*>(QStringLiteral("onOffButton")), Qt::LeftButton);
    // Configuration writes reach the keypad one after another, so the marker comes last.
    const auto markerArrived = [this] {
        const QStringList requests = m_keypad.requests();
        return !requests.isEmpty() && requests.last() == OnOff;
    };
    if (!QTest::qWaitFor(markerArrived, EditorFixture::Generous))
        return QStringList{QStringLiteral("no marker")} + m_keypad.requests();
    QStringList requests = m_keypad.requests();
    requests.removeLast();
    return requests;
}

void TestControlPanel::plateGeometryAndImages() {
    QCOMPARE(m_panel->size(), QSize(400, 600));
    QCOMPARE(m_panel->objectName(), QStringLiteral("MSPControlPanel"));
    struct Expected {
        const char* name;
        QRect geometry;
        int image;
    };
    const Expected expected[] = {
        {"scene1Button", {47, 36, 152, 87}, 1},  {"scene5Button", {202, 36, 152, 87}, 2},
        {"scene2Button", {47, 126, 152, 86}, 3}, {"scene6Button", {202, 126, 152, 86}, 4},
        {"scene3Button", {47, 215, 152, 85}, 5}, {"scene7Button", {202, 215, 152, 85}, 6},
        {"scene4Button", {47, 303, 152, 86}, 7}, {"scene8Button", {202, 303, 152, 86}, 8},
        {"downButton", {47, 392, 152, 86}, 9},   {"upButton", {202, 392, 152, 86}, 10},
        {"onOffButton", {46, 480, 309, 88}, 11},
    };
    for (const Expected& button : expected) {
        auto* widget = m_panel->findChild<QAbstractButton*>(QLatin1String(button.name));
        QVERIFY2(widget, button.name);
        QCOMPARE(widget->geometry(), button.geometry);
        QVERIFY(widget->text().isEmpty());
        for (const char* state : {"off", "down", "disabled"}) {
            const QString image = QStringLiteral(":/images/images/button_%1_%2.png").arg(button.image).arg(state);
            QVERIFY2(widget->styleSheet().contains(image), qPrintable(image));
            QVERIFY2(QFile::exists(image), qPrintable(image));
        }
    }
    QVERIFY(m_panel->findChild<QPushButton*>(QStringLiteral("upButton"))->autoRepeat());
    QVERIFY(m_panel->findChild<QPushButton*>(QStringLiteral("downButton"))->autoRepeat());
    QVERIFY(!m_panel->findChild<QPushButton*>(QStringLiteral("onOffButton"))->autoRepeat());
    QCOMPARE(m_panel->findChild<QLabel*>(QStringLiteral("overlay"))->geometry(), QRect(-10, 0, 400, 600));
    QCOMPARE(m_panel->findChild<QFrame*>(QStringLiteral("connectionFailedFrame"))->geometry(),
             QRect(10, 170, 371, 191));
    QCOMPARE(m_panel->findChild<QLabel*>(QStringLiteral("failureLabel"))->text(),
             QStringLiteral("The connection to an Lumetto Keypad has failed.  You may want to go to the Network tab to "
                            "change the settings before attempting to reconnect or use one of the options below. "));
}

void TestControlPanel::scenePressesReportTheirIndex() {
    QSignalSpy selected(m_panel.get(), &MSPControlPanelWidget::sceneIndexSelected);
    for (int number = 1; number <= 8; ++number) {
        QRadioButton* button = sceneButton(number);
        // The scene is chosen as the button goes down, not when it is let go.
        QTest::mousePress(button, Qt::LeftButton);
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.takeFirst().at(0).toInt(), number - 1);
        QTest::mouseRelease(button, Qt::LeftButton);
        QVERIFY(selected.isEmpty());
        QVERIFY(button->isChecked());
    }
    // The panel reports; making the scene active is the window's business, so nothing is sent.
    QCOMPARE(requestsUpToMarker(), QStringList());
}

void TestControlPanel::selectSceneChecksWithoutReporting() {
    QSignalSpy selected(m_panel.get(), &MSPControlPanelWidget::sceneIndexSelected);
    m_panel->selectScene(4);
    QVERIFY(sceneButton(5)->isChecked());
    QCOMPARE(sceneButton(5)->geometry().topLeft(), QPoint(202, 36));
    m_panel->selectScene(1);
    QVERIFY(sceneButton(2)->isChecked());
    QVERIFY(!sceneButton(5)->isChecked());
    m_panel->selectScene(8);
    m_panel->selectScene(-1);
    QVERIFY(sceneButton(2)->isChecked());
    QVERIFY(selected.isEmpty());
}

void TestControlPanel::disabledButtonsStayQuiet() {
    QSignalSpy selected(m_panel.get(), &MSPControlPanelWidget::sceneIndexSelected);
    SystemConfiguration* config = SystemConfiguration::instance();
    connect(config, &SystemConfiguration::scene3CheckBoxStateChanged, m_panel.get(),
            &MSPControlPanelWidget::handleScene3StateChanged);
    connect(config, &SystemConfiguration::upCheckBoxStateChanged, m_panel.get(),
            &MSPControlPanelWidget::handleUpStateChanged);
    config->setScene3CheckBoxState(false);
    config->setUpCheckBoxState(false);
    QVERIFY(!sceneButton(3)->isEnabled());
    QTest::mouseClick(sceneButton(3), Qt::LeftButton);
    QTest::mouseClick(m_panel->findChild<QPushButton*>(QStringLiteral("upButton")), Qt::LeftButton);
    QVERIFY(selected.isEmpty());
    QVERIFY(!sceneButton(3)->isChecked());
    QCOMPARE(requestsUpToMarker(), QStringList());

    config->setScene3CheckBoxState(true);
    config->setUpCheckBoxState(true);
    QTest::mouseClick(sceneButton(3), Qt::LeftButton);
    QCOMPARE(selected.size(), 1);
}

void TestControlPanel::brightnessPresses_data() {
    QTest::addColumn<int>("brightness");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("middle, fixed") << 128 << int(MSPEffect::FixedColor) << QStringList{Up, Down};
    QTest::newRow("full, fixed") << 255 << int(MSPEffect::FixedColor) << QStringList{Down};
    QTest::newRow("dark, fixed") << 0 << int(MSPEffect::FixedColor) << QStringList{Up};
    QTest::newRow("full, white") << 255 << int(MSPEffect::RgbWhite) << QStringList{Down};
    QTest::newRow("full, variable") << 255 << int(MSPEffect::VariableColor) << QStringList{Up, Down};
    QTest::newRow("dark, variable") << 0 << int(MSPEffect::VariableColor) << QStringList{Up, Down};
}

void TestControlPanel::brightnessPresses() {
    QFETCH(int, brightness);
    QFETCH(int, kind);
    QFETCH(QStringList, expected);
    EditorFixture::resetScenes({1, kind, 1}, 1);
    SystemConfiguration::instance()->setBrightness(brightness);
    QTest::mouseClick(m_panel->findChild<QPushButton*>(QStringLiteral("upButton")), Qt::LeftButton);
    QTest::mouseClick(m_panel->findChild<QPushButton*>(QStringLiteral("downButton")), Qt::LeftButton);
    QCOMPARE(requestsUpToMarker(), expected);
}

void TestControlPanel::heldUpRepeatsOnVariableColor() {
    EditorFixture::resetScenes({1}, 0);
    SystemConfiguration::instance()->setBrightness(255);
    auto* up = m_panel->findChild<QPushButton*>(QStringLiteral("upButton"));
    QTest::mousePress(up, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(m_keypad.requests().size() >= 3, EditorFixture::Generous);
    QTest::mouseRelease(up, Qt::LeftButton);
    const QStringList requests = requestsUpToMarker();
    QVERIFY(requests.size() >= 3);
    QCOMPARE(requests.count(Up), requests.size());
}

void TestControlPanel::onOffAlwaysPresses() {
    SystemConfiguration::instance()->setBrightness(0);
    QTest::mousePress(m_panel->findChild<QPushButton*>(QStringLiteral("onOffButton")), Qt::LeftButton);
    // Sent on the press itself.
    QVERIFY(m_keypad.waitForRequests(1));
    QCOMPARE(m_keypad.requests(), QStringList{OnOff});
    QTest::mouseRelease(m_panel->findChild<QPushButton*>(QStringLiteral("onOffButton")), Qt::LeftButton);
}

void TestControlPanel::coverFollowsTheConnection_data() {
    QTest::addColumn<bool>("frameBefore");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("overlay");
    QTest::addColumn<bool>("frame");
    // Rows start either from a clear panel or from one showing the failure frame.
    for (bool before : {false, true}) {
        const char* from = before ? "failed" : "clear";
        auto row = [&](int state, bool overlay, bool frame) {
            QTest::addRow("%s -> %d", from, state) << before << state << overlay << frame;
        };
        row(ConnectionState::StatusUnknown, before, before);
        row(ConnectionState::Discovering, true, false);
        row(ConnectionState::Connected, false, false);
        row(ConnectionState::OfflineDemo, false, false);
        row(ConnectionState::NotConnected, true, before);
        row(ConnectionState::RestoringFactoryDefaults, true, before);
        row(ConnectionState::CommunicationFailure, true, true);
        row(ConnectionState::ConnectionLost, true, true);
        row(ConnectionState::NoDevice, true, true);
    }
}

void TestControlPanel::coverFollowsTheConnection() {
    QFETCH(bool, frameBefore);
    QFETCH(int, state);
    QFETCH(bool, overlay);
    QFETCH(bool, frame);
    ConnectionState* connection = ConnectionState::instance();
    auto* overlayLabel = m_panel->findChild<QLabel*>(QStringLiteral("overlay"));
    auto* failureFrame = m_panel->findChild<QFrame*>(QStringLiteral("connectionFailedFrame"));
    // Set and checked without a turn of the event loop, so the periodic check cannot step in.
    connection->setState(ConnectionState::StatusUnknown);
    connection->setState(frameBefore ? ConnectionState::NoDevice : ConnectionState::Connected);
    QCOMPARE(failureFrame->isVisible(), frameBefore);
    QCOMPARE(overlayLabel->isVisible(), frameBefore);
    if (state == connection->state())
        connection->setState(ConnectionState::RestoringFactoryDefaults);
    const bool overlayBefore = overlayLabel->isVisible();
    const bool frameShown = failureFrame->isVisible();
    connection->setState(ConnectionState::State(state));
    if (state == ConnectionState::StatusUnknown) {
        QCOMPARE(overlayLabel->isVisible(), overlayBefore);
        QCOMPARE(failureFrame->isVisible(), frameShown);
        return;
    }
    QCOMPARE(overlayLabel->isVisible(), overlay);
    QCOMPARE(failureFrame->isVisible(), frame);
    // What the user sees in the middle of the plate: the frame on top, else the cover.
    QWidget* onTop = m_panel->childAt(failureFrame->geometry().center());
    if (frame)
        QVERIFY(onTop == failureFrame || failureFrame->isAncestorOf(onTop));
    else if (overlay)
        QCOMPARE(onTop, overlayLabel);
}

void TestControlPanel::failureFrameSurvivesDisabling() {
    ConnectionState::instance()->setState(ConnectionState::CommunicationFailure);
    auto* failureFrame = m_panel->findChild<QFrame*>(QStringLiteral("connectionFailedFrame"));
    m_panel->setPanelEnabled(false);
    QVERIFY(failureFrame->isVisible());
    QWidget* onTop = m_panel->childAt(failureFrame->geometry().center());
    QVERIFY(onTop == failureFrame || failureFrame->isAncestorOf(onTop));
    m_panel->setPanelEnabled(true);
    QVERIFY(!failureFrame->isVisible());
    QVERIFY(!m_panel->findChild<QLabel*>(QStringLiteral("overlay"))->isVisible());
}

void TestControlPanel::failureChoices() {
    ConnectionState::instance()->setState(ConnectionState::NoDevice);
    QSignalSpy retry(m_panel.get(), &MSPControlPanelWidget::retryDiscoverySelected);
    QTest::mouseClick(m_panel->findChild<QPushButton*>(QStringLiteral("retryButton")), Qt::LeftButton);
    QCOMPARE(retry.size(), 1);
    QTest::mouseClick(m_panel->findChild<QPushButton*>(QStringLiteral("demoModeButton")), Qt::LeftButton);
    QCOMPARE(ConnectionState::instance()->state(), ConnectionState::OfflineDemo);
    QVERIFY(!m_panel->findChild<QFrame*>(QStringLiteral("connectionFailedFrame"))->isVisible());
    QVERIFY(!m_panel->findChild<QLabel*>(QStringLiteral("overlay"))->isVisible());
    ConnectionState::instance()->setState(ConnectionState::Connected);
}

void TestControlPanel::imagesArePainted() {
    // Pictures of the three looks; LUMETTO_SCREENSHOT_DIR keeps them for a person to look at.
    const QString folder = qEnvironmentVariable("LUMETTO_SCREENSHOT_DIR");
    auto picture = [&](const char* name) {
        const QImage image = m_panel->grab().toImage();
        if (!folder.isEmpty())
            image.save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
        return image;
    };
    ConnectionState::instance()->setState(ConnectionState::Connected);
    m_panel->selectScene(0);
    m_panel->handleScene7StateChanged(false);
    const QImage connected = picture("controlpanel-connected");
    // A point on the key's face beside its number.
    const QPoint face(55, 0);
    const QPoint scene1 = sceneButton(1)->geometry().center() + face;
    const QPoint scene2 = sceneButton(2)->geometry().center() + face;
    const QPoint scene7 = sceneButton(7)->geometry().center() + face;
    const QPoint scene3 = sceneButton(3)->geometry().center() + face;
    // The lit scene, an unlit one and a disabled one are drawn with different images.
    QVERIFY(connected.pixel(scene1) != connected.pixel(scene2));
    QVERIFY(connected.pixel(scene7) != connected.pixel(scene3));
    QCOMPARE(connected.pixel(scene2), connected.pixel(scene3));

    ConnectionState::instance()->setState(ConnectionState::NotConnected);
    const QImage disabled = picture("controlpanel-disabled");
    QVERIFY(disabled.pixel(scene2) != connected.pixel(scene2));

    ConnectionState::instance()->setState(ConnectionState::CommunicationFailure);
    const QImage failed = picture("controlpanel-failed");
    const QPoint middle = m_panel->findChild<QFrame*>(QStringLiteral("connectionFailedFrame"))->geometry().center();
    QVERIFY(QColor(failed.pixel(middle + QPoint(0, 60))).lightness() > 245);
    // Both choices show their whole text.
    for (const char* name : {"demoModeButton", "retryButton"}) {
        auto* button = m_panel->findChild<QPushButton*>(QLatin1String(name));
        QVERIFY2(button->width() >= button->sizeHint().width(), name);
    }
    m_panel->handleScene7StateChanged(true);
}

LUMETTO_NETWORK_TEST_MAIN(TestControlPanel, "tst_controlpanel", QApplication)
#include "tst_controlpanel.moc"

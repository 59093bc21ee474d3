#include "ConnectionState.h"
#include "EditorFixture.h"
#include "MSPControlPanelWidget.h"
#include "MSPEffect.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <memory>

namespace {

const QString Up = QStringLiteral("POST /api/v1/config rel_bright=1");
const QString Down = QStringLiteral("POST /api/v1/config rel_bright=0");
const QString OnOff = QStringLiteral("POST /api/v1/config off_press=1");

} // namespace

class TestControlPanel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(app_resources);
        QVERIFY(m_keypad.start());
    }

    void init() {
        EditorFixture::resetScenes({0, 1, 2, 3, 4, 5, 6, 7}, 0);
        SystemConfiguration::instance()->setBrightness(128);
        m_panel = std::make_unique<MSPControlPanelWidget>();
        m_panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
        m_panel->setPanelEnabled(true);
        m_keypad.clearRequests();
    }

    void cleanup() {
        QVERIFY(m_keypad.waitIdle());
        m_panel.reset();
    }

    void scenePressesReportTheirIndex() {
        QSignalSpy selected(m_panel.get(), &MSPControlPanelWidget::sceneIndexSelected);
        for (int number = 1; number <= 8; ++number) {
            // The scene is chosen as the button goes down, not when it is let go.
            QTest::mousePress(sceneButton(number), Qt::LeftButton);
            QCOMPARE(selected.size(), 1);
            QCOMPARE(selected.takeFirst().at(0).toInt(), number - 1);
            QTest::mouseRelease(sceneButton(number), Qt::LeftButton);
            QVERIFY(selected.isEmpty());
            QVERIFY(sceneButton(number)->isChecked());
        }
        // Selected from code, the button is checked without a report; out of range is ignored.
        m_panel->selectScene(4);
        QVERIFY(sceneButton(5)->isChecked());
        m_panel->selectScene(1);
        m_panel->selectScene(8);
        m_panel->selectScene(-1);
        QVERIFY(sceneButton(2)->isChecked());
        QVERIFY(!sceneButton(5)->isChecked());
        QVERIFY(selected.isEmpty());

        // Buttons switched off in the configuration stay quiet until switched on again.
        m_panel->handleScene3StateChanged(false);
        m_panel->handleUpStateChanged(false);
        QTest::mouseClick(sceneButton(3), Qt::LeftButton);
        QTest::mouseClick(button("upButton"), Qt::LeftButton);
        QVERIFY(selected.isEmpty());
        QVERIFY(!sceneButton(3)->isChecked());
        m_panel->handleScene3StateChanged(true);
        QTest::mouseClick(sceneButton(3), Qt::LeftButton);
        QCOMPARE(selected.size(), 1);
        // The panel reports; making the scene active is the window's business, so nothing is sent.
        QCOMPARE(requestsUpToMarker(), QStringList());
    }

    void brightnessPresses_data() {
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

    void brightnessPresses() {
        QFETCH(int, brightness);
        QFETCH(int, kind);
        QFETCH(QStringList, expected);
        EditorFixture::resetScenes({1, kind, 1}, 1);
        SystemConfiguration::instance()->setBrightness(brightness);
        QTest::mouseClick(button("upButton"), Qt::LeftButton);
        QTest::mouseClick(button("downButton"), Qt::LeftButton);
        QCOMPARE(requestsUpToMarker(), expected);
    }

    // On/off goes out as the button goes down; up, held on a Variable Color scene, repeats.
    void heldButtons() {
        EditorFixture::resetScenes({1}, 0);
        SystemConfiguration::instance()->setBrightness(255);
        QTest::mousePress(button("onOffButton"), Qt::LeftButton);
        QVERIFY(m_keypad.waitForRequests(1));
        QCOMPARE(m_keypad.requests(), QStringList{OnOff});
        QTest::mouseRelease(button("onOffButton"), Qt::LeftButton);
        QVERIFY(m_keypad.waitIdle());
        m_keypad.clearRequests();
        QTest::mousePress(button("upButton"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(m_keypad.requests().size() >= 3, EditorFixture::Generous);
        QTest::mouseRelease(button("upButton"), Qt::LeftButton);
        const QStringList requests = requestsUpToMarker();
        QCOMPARE(requests.count(Up), requests.size());
    }

    void coverFollowsTheConnection() {
        using S = ConnectionState;
        // Overlay, and failure frame: shown, hidden, or as it was (-1).
        const std::tuple<S::State, bool, int> rows[] = {
            {S::StatusUnknown, false, -1},      {S::Discovering, true, 0},    {S::Connected, false, 0},
            {S::OfflineDemo, false, 0},         {S::NotConnected, true, -1},  {S::RestoringFactoryDefaults, true, -1},
            {S::CommunicationFailure, true, 1}, {S::ConnectionLost, true, 1}, {S::NoDevice, true, 1},
        };
        // Rows start either from a clear panel or from one showing the failure frame; set and
        // checked without a turn of the event loop, so the periodic check cannot step in.
        for (const bool before : {false, true}) {
            for (const auto& [state, overlay, frame] : rows) {
                S::instance()->setState(S::StatusUnknown);
                S::instance()->setState(before ? S::NoDevice : S::Connected);
                if (state == S::instance()->state())
                    S::instance()->setState(S::RestoringFactoryDefaults);
                S::instance()->setState(state);
                const QByteArray row = QByteArray::number(before) + " -> " + QByteArray::number(state);
                const bool framed = frame < 0 ? before : frame == 1;
                // Unknown changes nothing at all.
                QVERIFY2(overlayLabel()->isVisible() == (state == S::StatusUnknown ? before : overlay), row);
                QVERIFY2(failureFrame()->isVisible() == framed, row);
                // What the user sees in the middle of the plate: the frame on top, else the cover.
                if (framed)
                    QVERIFY2(frameIsOnTop(), row);
                else if (overlay)
                    QVERIFY2(m_panel->childAt(failureFrame()->geometry().center()) == overlayLabel(), row);
            }
        }
    }

    void failureFrameAndItsChoices() {
        ConnectionState::instance()->setState(ConnectionState::CommunicationFailure);
        m_panel->setPanelEnabled(false);
        QVERIFY(failureFrame()->isVisible());
        QVERIFY(frameIsOnTop());
        m_panel->setPanelEnabled(true);
        QVERIFY(!failureFrame()->isVisible());
        QVERIFY(!overlayLabel()->isVisible());

        ConnectionState::instance()->setState(ConnectionState::NoDevice);
        QSignalSpy retry(m_panel.get(), &MSPControlPanelWidget::retryDiscoverySelected);
        QTest::mouseClick(button("retryButton"), Qt::LeftButton);
        QCOMPARE(retry.size(), 1);
        QTest::mouseClick(button("demoModeButton"), Qt::LeftButton);
        QCOMPARE(ConnectionState::instance()->state(), ConnectionState::OfflineDemo);
        QVERIFY(!failureFrame()->isVisible());
        QVERIFY(!overlayLabel()->isVisible());
        ConnectionState::instance()->setState(ConnectionState::Connected);
    }

    // LUMETTO_SCREENSHOT_DIR keeps pictures of the three looks for a person to look at.
    void imagesArePainted() {
        const QString folder = qEnvironmentVariable("LUMETTO_SCREENSHOT_DIR");
        const auto picture = [&](ConnectionState::State state, const QString& name) {
            ConnectionState::instance()->setState(state);
            const QImage image = m_panel->grab().toImage();
            if (!folder.isEmpty())
                image.save(folder + QStringLiteral("/controlpanel-%1.png").arg(name));
            return image;
        };
        // A point on the key's face beside its number.
        const auto face = [this](int number) { return sceneButton(number)->geometry().center() + QPoint(55, 0); };
        m_panel->selectScene(0);
        m_panel->handleScene7StateChanged(false);
        const QImage connected = picture(ConnectionState::Connected, QStringLiteral("connected"));
        // The lit scene, an unlit one and a disabled one are drawn with different images.
        QVERIFY(connected.pixel(face(1)) != connected.pixel(face(2)));
        QVERIFY(connected.pixel(face(7)) != connected.pixel(face(3)));
        QCOMPARE(connected.pixel(face(2)), connected.pixel(face(3)));
        const QImage disabled = picture(ConnectionState::NotConnected, QStringLiteral("disabled"));
        QVERIFY(disabled.pixel(face(2)) != connected.pixel(face(2)));
        // The failure text fits its frame, and both choices show their whole text.
        const QImage failed = picture(ConnectionState::CommunicationFailure, QStringLiteral("failed"));
        QVERIFY(QColor(failed.pixel(failureFrame()->geometry().center() + QPoint(0, 60))).lightness() > 245);
        for (const char* name : {"demoModeButton", "retryButton"})
            QVERIFY2(button(name)->width() >= button(name)->sizeHint().width(), name);
    }

private:
    QAbstractButton* button(const char* name) const {
        return m_panel->findChild<QAbstractButton*>(QLatin1String(name));
    }
    QRadioButton* sceneButton(int number) const {
        return m_panel->findChild<QRadioButton*>(QStringLiteral("scene%1Button").arg(number));
    }
    QLabel* overlayLabel() const { return m_panel->findChild<QLabel*>(QStringLiteral("overlay")); }
    QFrame* failureFrame() const { return m_panel->findChild<QFrame*>(QStringLiteral("connectionFailedFrame")); }
    bool frameIsOnTop() const {
        QWidget* onTop = m_panel->childAt(failureFrame()->geometry().center());
        return onTop == failureFrame() || failureFrame()->isAncestorOf(onTop);
    }

    // Presses on/off as a marker: every request before it was caused by what the test did.
    QStringList requestsUpToMarker() {
        QTest::mousePress(button("onOffButton"), Qt::LeftButton);
        QTest::mouseRelease(button("onOffButton"), Qt::LeftButton);
        // Configuration writes reach the keypad one after another, so the marker comes last.
        if (!QTest::qWaitFor([this] { return m_keypad.requests().value(m_keypad.requests().size() - 1) == OnOff; },
                             EditorFixture::Generous))
            return QStringList{QStringLiteral("no marker")} + m_keypad.requests();
        QStringList requests = m_keypad.requests();
        requests.removeLast();
        return requests;
    }

    EditorFixture m_keypad;
    std::unique_ptr<MSPControlPanelWidget> m_panel;
};

LUMETTO_NETWORK_TEST_MAIN(TestControlPanel, "tst_controlpanel", QApplication)
#include "tst_controlpanel.moc"

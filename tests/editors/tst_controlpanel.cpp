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
            QVERIFY(selected.isEmpty() && sceneButton(number)->isChecked());
        }
        // Selected from code, the button is checked without a report; out of range is ignored.
        m_panel->selectScene(1);
        m_panel->selectScene(8);
        m_panel->selectScene(-1);
        QVERIFY(sceneButton(2)->isChecked());
        QVERIFY(selected.isEmpty());

        // Buttons switched off in the configuration stay quiet until switched on again.
        m_panel->handleScene3StateChanged(false);
        m_panel->handleUpStateChanged(false);
        QTest::mouseClick(sceneButton(3), Qt::LeftButton);
        QTest::mouseClick(button("upButton"), Qt::LeftButton);
        QVERIFY(selected.isEmpty() && !sceneButton(3)->isChecked());
        m_panel->handleScene3StateChanged(true);
        QTest::mouseClick(sceneButton(3), Qt::LeftButton);
        QCOMPARE(selected.size(), 1);
        // The panel reports; making the scene active is the window's business, so nothing is sent.
        QCOMPARE(requestsUpToMarker(), QStringList());
    }

    // Up and down go out unless the light is already at that end; a Variable Color scene has no
    // such end.
    void brightnessPresses() {
        const int fixed = MSPEffect::FixedColor, variable = MSPEffect::VariableColor;
        const std::tuple<int, int, QStringList> rows[] = {
            {128, fixed, {Up, Down}},           {255, fixed, {Down}},        {0, fixed, {Up}},
            {255, MSPEffect::RgbWhite, {Down}}, {255, variable, {Up, Down}}, {0, variable, {Up, Down}},
        };
        for (const auto& [brightness, kind, expected] : rows) {
            EditorFixture::resetScenes({1, kind, 1}, 1);
            SystemConfiguration::instance()->setBrightness(brightness);
            m_keypad.clearRequests();
            QTest::mouseClick(button("upButton"), Qt::LeftButton);
            QTest::mouseClick(button("downButton"), Qt::LeftButton);
            const QString row = QStringLiteral("kind %1 at %2").arg(kind).arg(brightness);
            QCOMPARE(QStringList{row} + requestsUpToMarker(), QStringList{row} + expected);
        }
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

    // LUMETTO_SCREENSHOT_DIR keeps pictures of the three looks for a person to look at.
    void looksAndFailureChoices() {
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

        // The window covers the panel while it waits, yet the failure and its choices stay on top.
        m_panel->setPanelEnabled(false);
        QVERIFY(frameIsOnTop());
        m_panel->setPanelEnabled(true);
        QVERIFY(!failureFrame()->isVisible() && !overlayLabel()->isVisible());
        ConnectionState::instance()->setState(ConnectionState::NoDevice);
        QSignalSpy retry(m_panel.get(), &MSPControlPanelWidget::retryDiscoverySelected);
        QTest::mouseClick(button("retryButton"), Qt::LeftButton);
        QCOMPARE(retry.size(), 1);
        QTest::mouseClick(button("demoModeButton"), Qt::LeftButton);
        QCOMPARE(ConnectionState::instance()->state(), ConnectionState::OfflineDemo);
        QVERIFY(!failureFrame()->isVisible() && !overlayLabel()->isVisible());
        ConnectionState::instance()->setState(ConnectionState::Connected);
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
        QTest::mouseClick(button("onOffButton"), Qt::LeftButton);
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

#include "ConnectionState.h"
#include "EditorFixture.h"
#include "MSPControlPanelWidget.h"
#include "MSPEffect.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

#include <QAccessible>
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

    // The cover greys out the plate, rim included, and leaves the wall around it as it is.
    void coverVeilsThePlateOnly() {
        ConnectionState::instance()->setState(ConnectionState::Discovering);
        const QImage covered = m_panel->grab().toImage();
        ConnectionState::instance()->setState(ConnectionState::Connected);
        const QImage open = m_panel->grab().toImage();
        for (const QPoint& plate : {QPoint(200, 300), QPoint(32, 300), QPoint(200, 18), QPoint(355, 578)})
            QVERIFY2(covered.pixel(plate) != open.pixel(plate),
                     qPrintable(QStringLiteral("%1,%2").arg(plate.x()).arg(plate.y())));
        for (const QPoint& wall : {QPoint(5, 300), QPoint(27, 300), QPoint(373, 300), QPoint(395, 300), QPoint(200, 5)})
            QCOMPARE(covered.pixel(wall), open.pixel(wall));
    }

    // LUMETTO_SCREENSHOT_DIR keeps pictures of the three looks for a person to look at.
    void looksAndFailureChoices() {
        const auto picture = [&](ConnectionState::State state, const QString& name) {
            ConnectionState::instance()->setState(state);
            const QImage image = m_panel->grab().toImage();
            TestSupport::keepPicture(image, QStringLiteral("controlpanel-%1.png").arg(name));
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

    // Without a mouse: Tab walks the keys in the plate's reading order, arrows move over the plate
    // without pressing, Space and Enter press, Alt and a number plays that scene; behind the cover
    // nothing reacts. The focused key wears a frame.
    void keyboardOnly() {
        m_panel->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_panel.get()));
        QSignalSpy selected(m_panel.get(), &MSPControlPanelWidget::sceneIndexSelected);
        const QStringList order = {"scene1Button", "scene2Button", "scene3Button", "scene4Button",
                                   "scene5Button", "scene6Button", "scene7Button", "scene8Button",
                                   "downButton",   "upButton",     "onOffButton"};
        sceneButton(1)->setFocus(Qt::TabFocusReason);
        QStringList walked;
        for (int i = 0; i < order.size(); ++i) {
            walked << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(walked, order);
        QVERIFY(selected.isEmpty());

        const std::tuple<const char*, Qt::Key, const char*> moves[] = {
            {"scene1Button", Qt::Key_Right, "scene5Button"}, {"scene5Button", Qt::Key_Down, "scene6Button"},
            {"scene6Button", Qt::Key_Left, "scene2Button"},  {"scene4Button", Qt::Key_Down, "downButton"},
            {"upButton", Qt::Key_Down, "onOffButton"},       {"onOffButton", Qt::Key_Down, "onOffButton"},
        };
        for (const auto& [from, arrow, to] : moves) {
            button(from)->setFocus(Qt::TabFocusReason);
            QTest::keyClick(button(from), arrow);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(to));
        }
        QVERIFY(selected.isEmpty());
        QCOMPARE(requestsUpToMarker(), QStringList());

        // The frame: the plate's blue just outside the focused key's face, nothing there otherwise.
        const QPoint ring = sceneButton(3)->geometry().topLeft() + QPoint(2, 40);
        const auto blueness = [&] {
            const QColor c = m_panel->grab().toImage().pixelColor(ring);
            return c.blue() - c.red();
        };
        sceneButton(3)->setFocus(Qt::TabFocusReason);
        const int framed = blueness();
        TestSupport::keepPicture(m_panel.get(), QStringLiteral("controlpanel-focus.png"));
        sceneButton(7)->setFocus(Qt::TabFocusReason);
        QVERIFY2(framed > blueness() + 50, qPrintable(QStringLiteral("%1 / %2").arg(framed).arg(blueness())));

        QTest::keyClick(sceneButton(7), Qt::Key_Space);
        QTest::keyClick(sceneButton(7), Qt::Key_Return);
        QTest::keyClick(m_panel.get(), Qt::Key_4, Qt::AltModifier);
        QTRY_COMPARE(selected.size(), 3);
        QCOMPARE(selected.at(0).at(0).toInt(), 6);
        QCOMPARE(selected.at(1).at(0).toInt(), 6);
        QCOMPARE(selected.at(2).at(0).toInt(), 3);
        QTRY_VERIFY(sceneButton(4)->isChecked());
        // Enter presses the key as a click does, down for a moment and then up.
        m_keypad.clearRequests();
        QTest::keyClick(button("upButton"), Qt::Key_Enter);
        QVERIFY(button("upButton")->isDown());
        QTRY_VERIFY(!button("upButton")->isDown());
        QTest::keyClick(button("downButton"), Qt::Key_Space);
        QCOMPARE(requestsUpToMarker(), (QStringList{Up, Down}));

        // Covered, the keys let the focus go and hear nothing.
        selected.clear();
        m_panel->setPanelEnabled(false);
        QVERIFY(!sceneButton(7)->hasFocus());
        QCOMPARE(sceneButton(7)->focusPolicy(), Qt::NoFocus);
        QTest::keyClick(sceneButton(2), Qt::Key_Space);
        QTest::keyClick(sceneButton(2), Qt::Key_Return);
        QTest::keyClick(m_panel.get(), Qt::Key_2, Qt::AltModifier);
        QTest::qWait(300);
        QVERIFY(selected.isEmpty());
        m_panel->setPanelEnabled(true);
        QCOMPARE(sceneButton(7)->focusPolicy(), Qt::TabFocus);
    }

    // What a screen reader says of each key: the playing scene, what each scene holds, what the other
    // keys do.
    void screenReaderNames() {
        EditorFixture::resetScenes({0, 2, 6}, 1);
        m_panel->selectScene(1);
        const auto name = [](QWidget* widget, QAccessible::Text text = QAccessible::Name) {
            return QAccessible::queryAccessibleInterface(widget)->text(text);
        };
        QCOMPARE(name(sceneButton(2)), QStringLiteral("Scene 2, playing"));
        QCOMPARE(name(sceneButton(1)), QStringLiteral("Scene 1"));
        QCOMPARE(name(sceneButton(2), QAccessible::Description),
                 QStringLiteral("Plays this scene on the keypad: Color Wash."));
        m_panel->selectScene(2);
        QCOMPARE(name(sceneButton(2)), QStringLiteral("Scene 2"));
        QCOMPARE(name(button("upButton")), QStringLiteral("Brightness up"));
        QCOMPARE(name(button("downButton")), QStringLiteral("Brightness down"));
        QCOMPARE(name(button("onOffButton")), QStringLiteral("On/Off"));
        QVERIFY(!name(button("onOffButton"), QAccessible::Description).isEmpty());
        QCOMPARE(sceneButton(5)->shortcut(), QKeySequence(QStringLiteral("Alt+5")));
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

#include "TestEnvironment.h"

#include "AboutDialog.h"
#include "ConnectionState.h"
#include "SplashScreen.h"
#include "StatusWidget.h"
#include "SystemConfiguration.h"

#include <QLabel>

namespace {

QLabel* label(const QWidget& widget, const char* name) {
    return widget.findChild<QLabel*>(QLatin1String(name));
}

struct PaintCounter : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

const QString Failure = QStringLiteral("Device communication failure.  IP address may be invalid.");

} // namespace

class TestShellWidgets : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(app_resources); }

    void statusFollowsTheConnectionState() {
        const QString demo = QStringLiteral("<html><head/><body><p style=\" color:#ff0000;\">Offline Demo Mode - "
                                            "Changes will not be saved.</p></body></html>");
        // States 6 to 8 say nothing in the status bar.
        const QStringList texts = {
            "Connection Status Unknown", "Discovering", "Connected", "Not Connected", Failure, demo, {}, {}, {}};
        const QStringList icons = {
            "disconnected", "discovering", "connected", "disconnected", "unreachable", "demo", {}, {}, {}};
        for (int state = 0; state <= ConnectionState::RestoringFactoryDefaults; ++state) {
            const QString text = texts.at(state);
            const QString icon = icons.at(state);
            StatusWidget widget(nullptr);
            ConnectionState::instance()->setState(state == 0 ? ConnectionState::Connected
                                                             : ConnectionState::StatusUnknown);
            ConnectionState::instance()->setState(ConnectionState::State(state));
            QCOMPARE(label(widget, "textLabel")->text(), text);
            // The whole text shows: "Device communication failure. ..." is wider than the designed label.
            if (!text.startsWith('<'))
                QVERIFY(label(widget, "textLabel")->width() >= widget.fontMetrics().horizontalAdvance(text));
            const QPixmap wanted = icon.isEmpty() ? QPixmap() : QPixmap(":/images/images/" + icon + ".png");
            QCOMPARE(label(widget, "iconLabel")->pixmap(Qt::ReturnByValue).toImage(), wanted.toImage());
            // A new widget starts with the state in force.
            QCOMPARE(label(StatusWidget(nullptr), "textLabel")->text(), text);
        }
    }

    // Only the display follows a heartbeat; the state itself is the state object's business. A
    // heartbeat that changes nothing on screen paints nothing: one comes every second.
    void heartBeatShowsReachability() {
        StatusWidget widget(nullptr);
        PaintCounter paints;
        widget.installEventFilter(&paints);
        for (QWidget* child : widget.findChildren<QWidget*>())
            child->installEventFilter(&paints);
        static_cast<QWidget&>(widget).show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        ConnectionState::instance()->setState(ConnectionState::Connected);
        QMetaObject::invokeMethod(ConnectionState::instance(), "heartBeat", Q_ARG(bool, false));
        QCOMPARE(label(widget, "textLabel")->text(), Failure);
        QCOMPARE(ConnectionState::instance()->state(), ConnectionState::Connected);
        QMetaObject::invokeMethod(ConnectionState::instance(), "heartBeat", Q_ARG(bool, true));
        QCOMPARE(label(widget, "textLabel")->text(), QStringLiteral("Connected"));
        QApplication::processEvents();

        paints.count = 0;
        for (int beat = 0; beat < 3; ++beat) {
            QMetaObject::invokeMethod(ConnectionState::instance(), "heartBeat", Q_ARG(bool, true));
            QApplication::processEvents();
        }
        QCOMPARE(paints.count, 0);
        QMetaObject::invokeMethod(ConnectionState::instance(), "heartBeat", Q_ARG(bool, false));
        QTRY_VERIFY(paints.count > 0);
    }

    void brightnessInPercent() {
        StatusWidget widget(nullptr);
        const std::pair<int, QString> expected[] = {{255, "100%"}, {254, "99%"}, {128, "50%"},
                                                    {1, "0%"},     {0, "0%"},    {-1, "Off"}};
        for (const auto& [brightness, text] : expected) {
            SystemConfiguration::instance()->setBrightness(brightness == 0 ? 10 : 0);
            SystemConfiguration::instance()->setBrightness(brightness);
            QCOMPARE(label(widget, "brightnessValueLabel")->text(), text);
        }
    }

    void splashAndAboutBox() {
        QCOMPARE(SplashScreen::versionText(), QStringLiteral("Version 1.3 20131127-196"));
        SplashScreen splash;
        QCOMPARE(splash.message(), QStringLiteral("none"));

        QWidget owner;
        AboutDialog::showAbout(&owner);
        AboutDialog* box = AboutDialog::existing();
        QVERIFY(box && box->isVisible() && box->isModal());
        QCOMPARE(label(*box, "versionLabel")->text(), QStringLiteral("Version: 1.3 20131127-196"));
        // A click anywhere closes it, on a label too.
        QTest::mouseClick(label(*box, "versionLabel"), Qt::LeftButton, {}, QPoint(2, 2));
        QTRY_VERIFY(!box->isVisible());
    }
};

// The connection state follows the REST client, which opens the keypad's UDP ports.
LUMETTO_NETWORK_TEST_MAIN(TestShellWidgets, "tst_shellwidgets", QApplication)
#include "tst_shellwidgets.moc"

#include "TestEnvironment.h"

#include "AboutDialog.h"
#include "ConnectionState.h"
#include "SplashScreen.h"
#include "StatusWidget.h"
#include "SystemConfiguration.h"

#include <QLabel>

namespace {

QString text(StatusWidget& widget, const char* label) {
    return widget.findChild<QLabel*>(QLatin1String(label))->text();
}

QString iconName(StatusWidget& widget) {
    return widget.findChild<QLabel*>(QStringLiteral("iconLabel"))->property("iconName").toString();
}

} // namespace

class TestShellWidgets : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(app_resources); }

    void statusFollowsTheConnectionState_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("icon");
        QTest::newRow("0") << 0 << "Connection Status Unknown"
                           << "disconnected.png";
        QTest::newRow("1") << 1 << "Discovering"
                           << "discovering.png";
        QTest::newRow("2") << 2 << "Connected"
                           << "connected.png";
        QTest::newRow("3") << 3 << "Not Connected"
                           << "disconnected.png";
        QTest::newRow("4") << 4 << "Device communication failure.  IP address may be invalid."
                           << "unreachable.png";
        QTest::newRow("5") << 5
                           << "<html><head/><body><p style=\" color:#ff0000;\">Offline Demo Mode - Changes will not be "
                              "saved.</p></body></html>"
                           << "demo.png";
        QTest::newRow("6") << 6 << ""
                           << "";
        QTest::newRow("7") << 7 << ""
                           << "";
        QTest::newRow("8") << 8 << ""
                           << "";
    }

    void statusFollowsTheConnectionState() {
        QFETCH(int, state);
        QFETCH(QString, text);
        QFETCH(QString, icon);
        StatusWidget widget(nullptr);
        ConnectionState::instance()->setState(state == 0 ? ConnectionState::Connected : ConnectionState::StatusUnknown);
        ConnectionState::instance()->setState(static_cast<ConnectionState::State>(state));
        QCOMPARE(::text(widget, "textLabel"), text);
        QCOMPARE(iconName(widget), icon);
        auto* iconLabel = widget.findChild<QLabel*>(QStringLiteral("iconLabel"));
        const QPixmap shown = iconLabel->pixmap(Qt::ReturnByValue);
        if (icon.isEmpty())
            QVERIFY(shown.isNull());
        else
            QCOMPARE(shown.toImage(), QPixmap(":/images/images/" + icon).toImage());

        // A new widget starts with the state in force.
        StatusWidget later(nullptr);
        QCOMPARE(::text(later, "textLabel"), text);
    }

    // Only the display follows a heartbeat; the state itself is the state object's business.
    void heartBeatShowsReachability() {
        StatusWidget widget(nullptr);
        ConnectionState::instance()->setState(ConnectionState::Connected);
        QMetaObject::invokeMethod(ConnectionState::instance(), "heartBeat", Q_ARG(bool, false));
        QCOMPARE(text(widget, "textLabel"),
                 QStringLiteral("Device communication failure.  IP address may be invalid."));
        QCOMPARE(ConnectionState::instance()->state(), ConnectionState::Connected);
        QMetaObject::invokeMethod(ConnectionState::instance(), "heartBeat", Q_ARG(bool, true));
        QCOMPARE(text(widget, "textLabel"), QStringLiteral("Connected"));
    }

    void brightnessInPercent_data() {
        QTest::addColumn<int>("brightness");
        QTest::addColumn<QString>("text");
        QTest::newRow("full") << 255 << "100%";
        QTest::newRow("truncated") << 254 << "99%";
        QTest::newRow("half") << 128 << "50%";
        QTest::newRow("one") << 1 << "0%";
        QTest::newRow("zero") << 0 << "0%";
        QTest::newRow("off") << -1 << "Off";
    }

    void brightnessInPercent() {
        QFETCH(int, brightness);
        QFETCH(QString, text);
        StatusWidget widget(nullptr);
        SystemConfiguration::instance()->setBrightness(brightness == 0 ? 10 : 0);
        SystemConfiguration::instance()->setBrightness(brightness);
        QCOMPARE(::text(widget, "brightnessValueLabel"), text);
    }

    void splashShowsTheVersion() {
        QCOMPARE(SplashScreen::versionText(), QStringLiteral("Version 1.3 20131127-196"));
        SplashScreen splash;
        QVERIFY(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(splash.message(), QStringLiteral("none"));
    }

    void aboutBoxClosesOnAClick() {
        QWidget owner;
        AboutDialog::showAbout(&owner);
        AboutDialog* box = AboutDialog::existing();
        QVERIFY(box);
        QVERIFY(box->isVisible());
        QVERIFY(box->isModal());
        // The box is exactly the picture.
        const QSize splashSize = QPixmap(":/images/images/splash.png").size();
        QVERIFY(!splashSize.isEmpty());
        QCOMPARE(box->minimumSize(), splashSize);
        QCOMPARE(box->maximumSize(), splashSize);
        QCOMPARE(box->findChild<QLabel*>("versionLabel")->text(), QStringLiteral("Version: 1.3 20131127-196"));
        QCOMPARE(box->findChild<QLabel*>("libraryPathsTitleLabel")->text(), QStringLiteral("Qt Library Paths:"));
        const QString paths = box->findChild<QLabel*>("libraryPathsLabel")->text();
        QVERIFY(paths.startsWith("   "));
        QVERIFY(!paths.endsWith('\n'));
        QCOMPARE(paths.count('\n'), QCoreApplication::libraryPaths().size() - 1);

        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_VERIFY(!box->isVisible());
        // A click on a label closes it too, and the same box comes back.
        AboutDialog::showAbout(&owner);
        QCOMPARE(AboutDialog::existing(), box);
        QVERIFY(box->isVisible());
        QLabel* label = box->findChild<QLabel*>("versionLabel");
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2));
        QTRY_VERIFY(!box->isVisible());
    }
};

// The connection state follows the REST client, which opens the keypad's UDP ports.
LUMETTO_NETWORK_TEST_MAIN(TestShellWidgets, "tst_shellwidgets", QApplication)
#include "tst_shellwidgets.moc"

#include "TestEnvironment.h"

#include "ConnectionState.h"
#include "EffectPreviewWidget.h"
#include "MSPComm.h"
#include "MSPEffectWidget.h"
#include "MSPFixedColorEffect.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "MSPSceneSettingsWidget.h"
#include "MainWindow.h"
#include "RecordingHttpServer.h"
#include "SystemConfiguration.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QRadioButton>
#include <QSettings>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>

namespace {

// A keypad that answers at the editor's own address on the test network.
const QString keypadAddress = QStringLiteral("10.77.0.1");

QString sceneLabel(MainWindow& window) {
    return window.findChild<QLabel*>(QStringLiteral("sceneLabel"))->text();
}

} // namespace

class TestPreviewDock : public QObject {
    Q_OBJECT

private slots:
    // Hidden, the window is as it always was. Shown, the preview sits under everything and the
    // window grows by exactly its height: keypad picture and settings keep their places. Whether
    // it is shown is remembered for the next start.
    void growsTheWindowByItsOwnHeight() {
        QSettings().clear();
        int hiddenHeight = 0;
        for (bool shownAtStart : {false, true}) {
            MainWindow window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            auto* preview = window.findChild<QDockWidget*>(QStringLiteral("Preview"));
            auto* panel = window.findChild<QDockWidget*>(QStringLiteral("ControlPanel"));
            QCOMPARE(preview->isVisible(), shownAtStart);
            QAction* toggle = window.findChild<QAction*>(QStringLiteral("previewAct"));
            if (shownAtStart) {
                QTRY_VERIFY(window.height() > hiddenHeight);
                toggle->trigger();
                QTRY_COMPARE(window.height(), hiddenHeight);
                QVERIFY(!QSettings().value(QStringLiteral("msp_preview_shown")).toBool());
                break;
            }
            QVERIFY(!preview->widget()->findChild<QTimer*>(QStringLiteral("previewTimer"))->isActive());
            hiddenHeight = window.height();
            // At least the designed height; more where the font needs it.
            QVERIFY(hiddenHeight >= panel->widget()->height() + 63);
            const QRect panelPlace = panel->geometry();
            const QRect settingsPlace = window.findChild<QDockWidget*>(QStringLiteral("Settings"))->geometry();
            const int statusTop = window.statusBar()->geometry().top();

            toggle->trigger();
            QTRY_VERIFY(window.height() > hiddenHeight);
            // Everything above the status bar stays where it was; the preview comes between them.
            const int separator = window.style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, &window);
            QTRY_COMPARE(preview->geometry().top(), statusTop + separator);
            QCOMPARE(window.statusBar()->geometry().top(), preview->geometry().bottom() + 1);
            QCOMPARE(panel->geometry(), panelPlace);
            QCOMPARE(window.findChild<QDockWidget*>(QStringLiteral("Settings"))->geometry(), settingsPlace);
            QVERIFY(QSettings().value(QStringLiteral("msp_preview_shown")).toBool());
        }
    }

    // What the user edits shows in the preview as it happens, before it is posted to the keypad;
    // in the offline demo the preview follows the scene buttons and the configuration too.
    void followsEveryEdit() {
        QSettings().setValue(QStringLiteral("msp_preview_shown"), true);
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Discovery found nobody; on a busy machine the heartbeat check may already have said so too.
        auto nobodyFound = [] {
            const ConnectionState::State state = ConnectionState::instance()->state();
            return state == ConnectionState::NoDevice || state == ConnectionState::NotConnected;
        };
        QTRY_VERIFY_WITH_TIMEOUT(nobodyFound(), 10000);
        auto* preview = window.findChild<EffectPreviewWidget*>(QStringLiteral("effectPreview"));
        QTRY_COMPARE(sceneLabel(window), QStringLiteral("Scene 1: Fixed Color"));

        SystemConfiguration::instance()->setLightsPerPort(40);
        RecordingHttpServer keypad;
        QVERIFY(keypad.listen(QHostAddress(keypadAddress)));
        keypad.setReply(QStringLiteral("POST"), QStringLiteral("/api/v1/shows/1"), "<api/>");
        auto posted = [&keypad](const QByteArray& part) {
            for (const RecordingHttpServer::Request& request : keypad.requests())
                if (request.method == QLatin1String("POST") && request.body.contains(part))
                    return true;
            return false;
        };
        MSPComm* comm = MSPComm::instance();
        comm->setDevice(keypadAddress, QByteArray());
        ConnectionState::instance()->setState(ConnectionState::Connected);
        window.findChild<QComboBox*>(QStringLiteral("effectsComboBox"))->setCurrentIndex(MSPEffect::CustomWash);
        QCOMPARE(sceneLabel(window), QStringLiteral("Scene 1: Custom Wash"));
        QTRY_VERIFY(posted("effect=4"));

        QTest::mouseClick(preview->findChild<QToolButton*>(QStringLiteral("playButton")), Qt::LeftButton);
        const EffectRenderer::Frame before = preview->frame();
        auto* width = window.findChild<MSPSceneSettingsWidget*>()
                          ->editor(MSPEffect::CustomWash)
                          ->findChild<QSlider*>(QStringLiteral("widthSlider"));
        QTest::keyClick(width, Qt::Key_End);
        QVERIFY(preview->frame() != before);
        QVERIFY(!posted("param3=32"));
        QTRY_VERIFY(posted("param3=32"));

        comm->setDevice(QString(), QByteArray());
        ConnectionState::instance()->setState(ConnectionState::OfflineDemo);
        QTest::mouseClick(window.findChild<QRadioButton*>(QStringLiteral("scene3Button")), Qt::LeftButton);
        QTRY_COMPARE(sceneLabel(window), QStringLiteral("Scene 3: Fixed Color"));
        auto* fixed = qobject_cast<MSPFixedColorEffect*>(MSPSceneModel::instance()->scene(2)->effect());
        fixed->setColor(QStringLiteral("#00ff00"));
        QCOMPARE(preview->frame().first().screen, qRgb(0, 255, 0));
        SystemConfiguration::instance()->setNumberOfPorts(4);
        SystemConfiguration::instance()->setLightsPerPort(50);
        QCOMPARE(preview->frame().size(), 200);
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestPreviewDock, "tst_previewdock", QApplication)
#include "tst_previewdock.moc"

#include "TestEnvironment.h"

#include "ConnectionState.h"
#include "KeypadSimulator.h"
#include "MSPChooser.h"
#include "MSPComm.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "MainWindow.h"
#include "SystemConfiguration.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

// The whole editor against simulated keypads on the private test network (the editor is
// 10.77.0.1, keypads from 10.77.0.2).
class TestEditorNetwork : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(app_resources); }

    void connectsToTheOnlyKeypad() {
        KeypadSimulator sim;
        QVERIFY(sim.start({"10.77.0.2", "Lobby"}));
        MainWindow window;
        window.show();
        QTRY_COMPARE_WITH_TIMEOUT(ConnectionState::instance()->state(), ConnectionState::Connected, 15000);
        QTRY_COMPARE_WITH_TIMEOUT(window.findChild<QLabel*>("textLabel")->text(), QStringLiteral("Connected"), 5000);
        // Configuration and scenes were read.
        QTRY_COMPARE_WITH_TIMEOUT(sim.requestCount("GET", "/api/v1/shows"), 1, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(SystemConfiguration::instance()->name(), QStringLiteral("Lobby"), 5000);
    }

    void twoKeypadsOfferTheChooser_data() {
        QTest::addColumn<bool>("accept");
        QTest::newRow("second chosen") << true;
        // Declining the choice leaves the editor without a keypad, as when none answered.
        QTest::newRow("declined") << false;
    }

    void twoKeypadsOfferTheChooser() {
        QFETCH(bool, accept);
        KeypadSimulator a;
        KeypadSimulator b;
        QVERIFY(a.start({"10.77.0.2", "A"}));
        QVERIFY(b.start({"10.77.0.3", "B"}));
        MSPComm::instance()->setDevice(QString(), QByteArray());
        ConnectionState::instance()->setState(ConnectionState::StatusUnknown);

        QStringList offered;
        // The chooser runs modally inside the discovery slot: answer it from the event loop.
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            auto* chooser = qobject_cast<MSPChooser*>(QApplication::activeModalWidget());
            if (!chooser)
                return;
            answer.stop();
            auto* combo = chooser->findChild<QComboBox*>("devicesComboBox");
            for (int i = 0; i < combo->count(); ++i)
                offered << combo->itemText(i);
            combo->setCurrentIndex(1);
            QTest::mouseClick(chooser->findChild<QDialogButtonBox*>("buttonBox")
                                  ->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                              Qt::LeftButton);
        });
        answer.start(50);

        MainWindow window;
        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(!offered.isEmpty(), 15000);
        QCOMPARE(offered, QStringList({"A (10.77.0.2)", "B (10.77.0.3)"}));
        if (!accept) {
            QTRY_COMPARE_WITH_TIMEOUT(ConnectionState::instance()->state(), ConnectionState::NoDevice, 5000);
            QVERIFY(MSPComm::instance()->address().isEmpty());
            QCOMPARE(MSPSceneModel::instance()->scene(7)->url(), QStringLiteral("/api/v1/shows/8"));
            return;
        }
        QTRY_COMPARE_WITH_TIMEOUT(MSPComm::instance()->address(), QStringLiteral("10.77.0.3"), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(ConnectionState::instance()->state(), ConnectionState::Connected, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(b.requestCount("GET", "/api/v1/shows"), 1, 5000);
        QCOMPARE(a.requestCount("GET", "/api/v1/shows"), 0);
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestEditorNetwork, "tst_editornetwork", QApplication)
#include "tst_editornetwork.moc"

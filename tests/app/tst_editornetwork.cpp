#include "TestEnvironment.h"

#include "ConnectionState.h"
#include "FileDialog.h"
#include "KeypadSimulator.h"
#include "MSPChooser.h"
#include "MSPColorWashEffect.h"
#include "MSPComm.h"
#include "MSPDocument.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "SystemConfiguration.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QByteArray WashScene = "effect=2&param1=1&param2=1&param_xy=(0,0,0)&num_colors=0";

MSPColorWashEffect* washOf(int index) {
    return qobject_cast<MSPColorWashEffect*>(MSPSceneModel::instance()->scene(index)->effect());
}

QString statusText(const MainWindow& window) {
    return window.findChild<QLabel*>("textLabel")->text();
}

// The window has found the keypad and read it: the read of all scenes ends with a revert.
bool connected(KeypadSimulator& sim) {
    return QTest::qWaitFor([] { return ConnectionState::instance()->state() == ConnectionState::Connected; }, 15000) &&
           QTest::qWaitFor(
               [&sim] {
                   return sim.hasEvent(QStringLiteral("editor")) && sim.requestCount("GET", "/api/v1/shows") == 1 &&
                          !MSPComm::instance()->hasOutstandingReplies();
               },
               10000);
}

} // namespace

// The whole editor against simulated keypads on the private test network (the editor is
// 10.77.0.1, keypads from 10.77.0.2).
class TestEditorNetwork : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(app_resources); }

    // A keypad of one test is gone in the next: what still waits for it must not ask there.
    void cleanup() {
        MSPComm::instance()->setDevice(QString(), QByteArray());
        MessageBox::setNextAnswer(QMessageBox::NoButton);
    }

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

    // Once a file is written the editor shows the scene the keypad plays, even with buttons of the
    // file disabled on the keypad already; a keypad that stops answering part-way is named, with
    // what arrived.
    void writingAFileToTheKeypad() {
        MSPSceneModel* model = MSPSceneModel::instance();
        SystemConfiguration* configuration = SystemConfiguration::instance();
        model->setActiveSceneIndex(5, false);
        configuration->setScene3CheckBoxState(false);
        configuration->setScene8CheckBoxState(false);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("six.xml"));
        QFile file(path);
        QVERIFY(file.open(QFile::WriteOnly) && file.write(MSPDocument::fileContents()) > 0);
        file.close();
        configuration->setScene3CheckBoxState(true);
        configuration->setScene8CheckBoxState(true);
        KeypadSimulator sim;
        QVERIFY(sim.start({"10.77.0.4", "Six"}));
        QVERIFY(sim.setConfig("&disable_switch=3&disable_switch=8"));
        MainWindow window;
        window.show();
        QVERIFY(connected(sim));

        FileDialog::setNextFileName(path);
        QVERIFY(window.open());
        QTRY_VERIFY_WITH_TIMEOUT(!MSPComm::instance()->hasOutstandingReplies(), 10000);
        QCOMPARE(sim.activeScene(), 6);
        QCOMPARE(model->activeSceneIndex(), 5);
        QVERIFY(window.findChild<QRadioButton*>("scene6Button")->isChecked());
        QCOMPARE(window.findChild<QLabel*>("sceneNumberLabel")->text(), QStringLiteral("Scene: 6"));

        connect(&sim, &KeypadSimulator::requestReceived, this, [&sim](const KeypadSimulator::Request& request) {
            if (request.path == QLatin1String("/api/v1/shows/4") && !sim.hasEvent(QStringLiteral("stalled")))
                QVERIFY(sim.stall(-1));
        });
        FileDialog::setNextFileName(path);
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QVERIFY(window.open());
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Loading onto Keypad Stopped"));
        QCOMPARE(
            MessageBox::lastText(),
            QStringLiteral("The keypad at 10.77.0.4 did not answer within 5 s while scene 4 of 8 was being written. "
                           "Scenes 1 to 3 were written; scenes 4 to 8 and the configuration were not."));
        QVERIFY(sim.endStall());
    }

    // Changes the keypad has not taken show in the status bar instead of "Connected", and leaving
    // the keypad asks about them. Kept, they arrive once the keypad answers again; after a lost
    // connection they go before the scenes are read again, which then show them.
    void changesWaitForTheKeypad() {
        KeypadSimulator sim;
        QVERIFY(sim.start({"10.77.0.6", "Slow"}));
        QVERIFY(sim.setScene(2, WashScene));
        MainWindow window;
        window.show();
        QVERIFY(connected(sim));
        QVERIFY(sim.stall(-1));
        washOf(1)->setSpeed(5);
        const QString waiting = QStringLiteral("1 change waiting for the keypad");
        QTRY_COMPARE_WITH_TIMEOUT(statusText(window), waiting, 5000);
        // LUMETTO_SCREENSHOT_DIR keeps a picture of the status bar for a person to look at.
        if (const QString folder = qEnvironmentVariable("LUMETTO_SCREENSHOT_DIR"); !folder.isEmpty())
            QVERIFY(window.grab().save(folder + QStringLiteral("/mainwindow-waiting.png")));
        // The keypad's heartbeats go on, and do not make it "Connected".
        QSignalSpy beats(ConnectionState::instance(), &ConnectionState::heartBeat);
        QVERIFY(beats.wait(5000));
        QCOMPARE(statusText(window), waiting);
        MessageBox::setNextAnswer(QMessageBox::Cancel);
        QVERIFY(!window.close());
        QCOMPARE(MessageBox::lastText(),
                 QStringLiteral("1 change has not reached the keypad yet.\n\nDiscard the waiting change and quit?"));
        MessageBox::setNextAnswer(QMessageBox::Cancel);
        ConnectionState::instance()->setState(ConnectionState::OfflineDemo);
        QCOMPARE(ConnectionState::instance()->state(), ConnectionState::Connected);
        QVERIFY(MessageBox::lastText().endsWith(QStringLiteral("and go to the offline demo?")));
        QVERIFY(sim.endStall());
        QTRY_COMPARE_WITH_TIMEOUT(statusText(window), QStringLiteral("Connected"), 15000);
        QVERIFY(sim.liveQuery(2).contains(QStringLiteral("param1=5&")));

        // Gone quiet, heartbeats and all: the change waits through the lost connection.
        sim.clearRequestLog();
        QVERIFY(sim.silence(6000));
        washOf(1)->setSpeed(6);
        QTRY_COMPARE_WITH_TIMEOUT(ConnectionState::instance()->state(), ConnectionState::ConnectionLost, 10000);
        QCOMPARE(statusText(window), waiting);
        QTRY_VERIFY_WITH_TIMEOUT(
            sim.requestCount("GET", "/api/v1/shows") == 1 && !MSPComm::instance()->hasOutstandingReplies(), 20000);
        QStringList order;
        for (const KeypadSimulator::Request& request : sim.requestLog()) {
            if (request.path == QLatin1String("/api/v1/shows") || request.body.startsWith("effect=") ||
                request.body.startsWith("apply="))
                order << request.method + QLatin1Char(' ') + QString::fromLatin1(request.body.left(17));
        }
        // The read comes last: the change is not reverted after it.
        QCOMPARE(order.mid(order.size() - 2), QStringList({"POST effect=2&param1=6", "GET "}));
        QCOMPARE(washOf(1)->speed(), 6);
        QVERIFY(sim.liveQuery(2).contains(QStringLiteral("param1=6&")));
        QCOMPARE(statusText(window), QStringLiteral("Connected"));
    }

    // With a change waiting for one keypad, choosing another asks first: kept, the editor stays;
    // given up, it is not sent again.
    void choosingAnotherKeypadAsksAboutWaitingWork() {
        KeypadSimulator a;
        QVERIFY(a.start({"10.77.0.11", "A"}));
        QVERIFY(a.setScene(2, WashScene));
        MainWindow window;
        window.show();
        QVERIFY(connected(a));
        KeypadSimulator b;
        QVERIFY(b.start({"10.77.0.12", "B"}));
        QVERIFY(a.stall(-1));
        washOf(1)->setSpeed(3);
        QTRY_COMPARE_WITH_TIMEOUT(statusText(window), QStringLiteral("1 change waiting for the keypad"), 5000);
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto* chooser = qobject_cast<MSPChooser*>(QApplication::activeModalWidget())) {
                auto* combo = chooser->findChild<QComboBox*>("devicesComboBox");
                combo->setCurrentIndex(combo->findText(QStringLiteral("B (10.77.0.12)")));
                chooser->accept();
            }
        });
        answer.start(50);
        for (QMessageBox::StandardButton choice : {QMessageBox::Cancel, QMessageBox::Discard}) {
            MessageBox::clearLast();
            MessageBox::setNextAnswer(choice);
            // One broadcast can miss a host that came up a moment ago; a user would look again.
            for (int attempt = 0; attempt < 5 && MessageBox::lastTitle().isEmpty(); ++attempt) {
                window.discover();
                (void)QTest::qWaitFor([] { return !MessageBox::lastTitle().isEmpty(); }, 3000);
            }
            QVERIFY(MessageBox::lastText().endsWith(QStringLiteral("and choose the other keypad?")));
            QCOMPARE(MSPComm::instance()->address(), choice == QMessageBox::Cancel ? a.address() : b.address());
        }
        QCOMPARE(MSPComm::instance()->waitingWrites(), 0);
        const int posts = a.requests("POST", "/api/v1/shows/2").size();
        QVERIFY(a.endStall());
        QVERIFY(!QTest::qWaitFor([&] { return a.requests("POST", "/api/v1/shows/2").size() > posts; }, 3000));
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestEditorNetwork, "tst_editornetwork", QApplication)
#include "tst_editornetwork.moc"

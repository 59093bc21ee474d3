#include "TestEnvironment.h"

#include "ConnectionState.h"
#include "FileDialog.h"
#include "KeypadBackup.h"
#include "KeypadSimulator.h"
#include "MSPChooser.h"
#include "MSPColorWashEffect.h"
#include "MSPComm.h"
#include "MSPControlPanelWidget.h"
#include "MSPDocument.h"
#include "MSPDocumentComparison.h"
#include "MSPDocumentFile.h"
#include "MSPEffect.h"
#include "MSPEffectFactory.h"
#include "MSPEffectWidget.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "MSPSceneSettingsWidget.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ModalAnswer.h"
#include "SystemConfiguration.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
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

using TestSupport::keepPicture;

QAbstractButton* button(QWidget* box, QMessageBox::StandardButton which) {
    return qobject_cast<QMessageBox*>(box)->button(which);
}

// The editor and the keypad picture of a window, worked as a user works them.
struct Hands {
    explicit Hands(MainWindow& window)
        : window(window)
        , panel(window.findChild<MSPControlPanelWidget*>())
        , editor(window.findChild<MSPSceneSettingsWidget*>()) {}

    // Presses a scene's key and waits for the editor to show the scene the keypad answers with.
    bool show(int scene) {
        QTest::mouseClick(window.findChild<QRadioButton*>(QStringLiteral("scene%1Button").arg(scene)), Qt::LeftButton);
        return QTest::qWaitFor(
            [&] {
                return editor->findChild<QLabel*>("sceneNumberLabel")->text() ==
                           QStringLiteral("Scene: %1").arg(scene) &&
                       !MSPComm::instance()->hasOutstandingReplies();
            },
            5000);
    }
    // One step faster on the wash's speed slider.
    void editSpeed() {
        auto* slider = editor->editor(MSPEffect::ColorWash)->findChild<QSlider*>("speedSlider");
        slider->setFocus();
        QTest::keyClick(slider, slider->value() < slider->maximum() ? Qt::Key_Right : Qt::Key_Left);
    }
    QPushButton* save() const { return editor->findChild<QPushButton*>("applyButton"); }
    QPushButton* undo() const { return editor->findChild<QPushButton*>("revertButton"); }
    QString offered() const { return TestSupport::offered(editor); }
    QList<int> marked() const {
        QList<int> scenes;
        for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
            if (panel->isMarkedUnsaved(i))
                scenes << i + 1;
        }
        return scenes;
    }

    MainWindow& window;
    MSPControlPanelWidget* panel;
    MSPSceneSettingsWidget* editor;
};

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
        MessageBox::clearLast();
    }

    // An edit the keypad plays but has not saved stays on show: its key is marked, and Save and
    // Undo come back with the scene. Leaving asks about every such scene.
    void unsavedScenesStayVisible() {
        KeypadSimulator sim;
        QVERIFY(sim.start({"10.77.0.13", "Foyer West"}));
        for (int scene : {2, 6, 7})
            QVERIFY(sim.setScene(scene, WashScene));
        MainWindow window;
        window.show();
        QVERIFY(connected(sim));
        Hands hands(window);

        QVERIFY(hands.show(6));
        QCOMPARE(hands.offered(), QString());
        hands.editSpeed();
        QTRY_VERIFY_WITH_TIMEOUT(sim.liveQuery(6) != sim.savedQuery(6), 5000);
        QCOMPARE(hands.marked(), QList<int>{6});
        QCOMPARE(hands.offered(), QStringLiteral("save undo"));
        QVERIFY(hands.show(7));
        QCOMPARE(hands.offered(), QString());
        QVERIFY(hands.show(6));
        QCOMPARE(hands.offered(), QStringLiteral("save undo"));
        QCOMPARE(hands.marked(), QList<int>{6});
        keepPicture(hands.panel, QStringLiteral("panel-unsaved-scene.png"));
        QTest::mouseClick(hands.save(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(sim.savedQuery(6), sim.liveQuery(6), 5000);
        QVERIFY(hands.marked().isEmpty());
        QCOMPARE(hands.offered(), QString());

        // Two scenes edited, and the window asked to close: kept open, then the edits given up.
        hands.editSpeed();
        QVERIFY(hands.show(2));
        hands.editSpeed();
        QTRY_VERIFY_WITH_TIMEOUT(sim.liveQuery(2) != sim.savedQuery(2), 5000);
        QTRY_COMPARE(hands.marked(), (QList<int>{2, 6}));
        keepPicture(hands.panel, QStringLiteral("panel-unsaved-scenes.png"));
        QString text;
        ModalAnswer cancel({[&](QWidget* box) {
            text = qobject_cast<QMessageBox*>(box)->text();
            QCOMPARE(qobject_cast<QMessageBox*>(box)->defaultButton(), button(box, QMessageBox::Save));
            keepPicture(box, QStringLiteral("exit-question.png"));
            QTest::mouseClick(button(box, QMessageBox::Cancel), Qt::LeftButton);
        }});
        QVERIFY(!window.close());
        QCOMPARE(cancel.answered(), 1);
        QCOMPARE(text, QStringLiteral("Save the changes to scenes 2 and 6 on the keypad?\n\nThe keypad plays these "
                                      "changes now, but forgets them when it restarts."));
        QCOMPARE(hands.marked(), (QList<int>{2, 6}));
        MessageBox::setNextAnswer(QMessageBox::Discard);
        QVERIFY(window.close());
        QTRY_COMPARE_WITH_TIMEOUT(sim.liveQuery(2), sim.savedQuery(2), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(sim.liveQuery(6), sim.savedQuery(6), 5000);
        QVERIFY(hands.marked().isEmpty());
    }

    // Opening a file while connected names the file and the keypad and lists what changes; Enter
    // keeps the keypad as it is. Sent, the keypad's content is kept in a backup first, which
    // brings it back.
    void openAsksBeforeReplacingTheKeypad() {
        QDir(KeypadBackup::defaultFolder()).removeRecursively();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lobby.xml"));
        MSPSceneModel* model = MSPSceneModel::instance();
        model->scene(2)->setEffect(MSPEffectFactory::instance()->create(MSPEffect::RainbowWash), false);
        SystemConfiguration::instance()->setName(QStringLiteral("Lobby"), false);
        QVERIFY(TestSupport::writeFile(path, MSPDocument::fileContents()));

        KeypadSimulator sim;
        QVERIFY(sim.start({"10.77.0.14", "Foyer West"}));
        QVERIFY(sim.setScene(3, WashScene));
        MainWindow window;
        window.show();
        QVERIFY(connected(sim));
        // The only keypad is taken without a question, and its configuration read.
        QCOMPARE(SystemConfiguration::instance()->name(), QStringLiteral("Foyer West"));
        const QByteArray keypad = MSPDocument::fileContents();
        const MSPDocumentComparison expected(keypad, MSPDocumentFile::load(path).contents);
        QVERIFY(!expected.isIdentical());
        sim.clearRequestLog();

        QString text;
        QString details;
        ModalAnswer enter({[&](QWidget* box) {
            auto* message = qobject_cast<QMessageBox*>(box);
            text = message->text();
            details = message->informativeText();
            QVERIFY(message->checkBox() && message->checkBox()->isChecked());
            QCOMPARE(message->checkBox()->text(), QStringLiteral("Back up the keypad first"));
            QCOMPARE(button(box, QMessageBox::Ok)->text(), QStringLiteral("Send"));
            keepPicture(box, QStringLiteral("open-question.png"));
            QTest::keyClick(box, Qt::Key_Return);
        }});
        FileDialog::setNextFileName(path);
        QVERIFY(!window.open());
        QCOMPARE(enter.answered(), 1);
        QCOMPARE(text, QStringLiteral("Send lobby.xml to keypad Foyer West (10.77.0.14)?"));
        QVERIFY2(details.startsWith(QStringLiteral("All eight scenes and the configuration on the keypad are "
                                                   "replaced, and its brightness is set to full.")),
                 qPrintable(details));
        for (const QString& line : expected.lines().mid(0, 12))
            QVERIFY2(details.contains(line), qPrintable(line));
        QTest::qWait(300);
        for (const KeypadSimulator::Request& request : sim.requestLog())
            QVERIFY2(request.method != QLatin1String("POST"), qPrintable(request.path));

        ModalAnswer send({[](QWidget* box) { QTest::mouseClick(button(box, QMessageBox::Ok), Qt::LeftButton); },
                          [&](QWidget* box) {
                              text = qobject_cast<QMessageBox*>(box)->text();
                              box->close();
                          }});
        FileDialog::setNextFileName(path);
        QVERIFY(window.open());
        QCOMPARE(send.answered(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(!MSPComm::instance()->hasOutstandingReplies(), 10000);
        QVERIFY(sim.savedQuery(3).startsWith(QStringLiteral("effect=3")));
        const QStringList backups = QDir(KeypadBackup::defaultFolder()).entryList(QDir::Files);
        QCOMPARE(backups.size(), 1);
        const QString backup = QDir(KeypadBackup::defaultFolder()).filePath(backups.first());
        QVERIFY2(text.endsWith(QDir::toNativeSeparators(backup)), qPrintable(text));
        QVERIFY(MSPDocumentComparison(keypad, MSPDocumentFile::load(backup).contents).isIdentical());

        // The backup opened again, without another backup, puts the keypad back.
        ModalAnswer restore({[](QWidget* box) {
            QTest::mouseClick(qobject_cast<QMessageBox*>(box)->checkBox(), Qt::LeftButton);
            QTest::mouseClick(button(box, QMessageBox::Ok), Qt::LeftButton);
        }});
        FileDialog::setNextFileName(backup);
        QVERIFY(window.open());
        QCOMPARE(restore.answered(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!MSPComm::instance()->hasOutstandingReplies(), 10000);
        QCOMPARE(QDir(KeypadBackup::defaultFolder()).entryList(QDir::Files).size(), 1);
        QCOMPARE(sim.savedQuery(3), sim.liveQuery(3));
        QVERIFY(sim.savedQuery(3).startsWith(QStringLiteral("effect=2")));
        const MSPDocumentComparison after(keypad, MSPDocument::fileContents());
        QVERIFY2(after.isIdentical(), qPrintable(after.text()));
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

        // Every state is kept: on a busy machine the heartbeat check may follow "no device" at once.
        bool nobodyFound = false;
        QMetaObject::Connection watch =
            connect(ConnectionState::instance(), &ConnectionState::stateChanged, this,
                    [&](ConnectionState::State state) { nobodyFound |= state == ConnectionState::NoDevice; });
        auto unwatch = qScopeGuard([&] { disconnect(watch); });
        MainWindow window;
        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(!offered.isEmpty(), 15000);
        QCOMPARE(offered, QStringList({"A (10.77.0.2)", "B (10.77.0.3)"}));
        if (!accept) {
            QTRY_VERIFY_WITH_TIMEOUT(nobodyFound, 5000);
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
        QVERIFY(TestSupport::writeFile(path, MSPDocument::fileContents()));
        configuration->setScene3CheckBoxState(true);
        configuration->setScene8CheckBoxState(true);
        KeypadSimulator sim;
        QVERIFY(sim.start({"10.77.0.4", "Six"}));
        QVERIFY(sim.setConfig("&disable_switch=3&disable_switch=8"));
        MainWindow window;
        window.show();
        QVERIFY(connected(sim));

        // Sent, with a backup first.
        MessageBox::setNextAnswer(QMessageBox::Ok);
        MessageBox::setNextAnswer(QMessageBox::Ok);
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
        MessageBox::clearLast();
        for (int box = 0; box < 3; ++box)
            MessageBox::setNextAnswer(QMessageBox::Ok);
        QVERIFY(window.open());
        QCOMPARE(MessageBox::titles(),
                 QStringList({"Send Configuration to Keypad", "Loading onto Keypad Stopped", "Keypad Backed Up"}));
        QCOMPARE(
            MessageBox::texts().at(1),
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
        keepPicture(&window, QStringLiteral("mainwindow-waiting.png"));
        // The keypad's heartbeats go on, and do not make it "Connected".
        QSignalSpy beats(ConnectionState::instance(), &ConnectionState::heartBeat);
        QVERIFY(beats.wait(5000));
        QCOMPARE(statusText(window), waiting);
        // The edited scene is saved, which waits too; the waiting changes are then kept.
        MessageBox::clearLast();
        MessageBox::setNextAnswer(QMessageBox::Save);
        MessageBox::setNextAnswer(QMessageBox::Cancel);
        QVERIFY(!window.close());
        QCOMPARE(MessageBox::titles(), QStringList({"Unsaved Scenes", "Changes Not on the Keypad"}));
        QVERIFY(MessageBox::lastText().endsWith(QStringLiteral("have not reached the keypad yet.\n\nDiscard the "
                                                               "waiting changes and quit?")));
        MessageBox::setNextAnswer(QMessageBox::Cancel);
        ConnectionState::instance()->setState(ConnectionState::OfflineDemo);
        QCOMPARE(ConnectionState::instance()->state(), ConnectionState::Connected);
        QVERIFY(MessageBox::lastText().endsWith(QStringLiteral("and go to the offline demo?")));
        QVERIFY(sim.endStall());
        QTRY_COMPARE_WITH_TIMEOUT(statusText(window), QStringLiteral("Connected"), 15000);
        QVERIFY(sim.liveQuery(2).contains(QStringLiteral("param1=5&")));
        // The save went after the edit, and nothing is left on its way.
        QTRY_VERIFY_WITH_TIMEOUT(MSPComm::instance()->deliveryIdle(), 10000);
        QCOMPARE(sim.savedQuery(2), sim.liveQuery(2));

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
            // The scene the keypad plays unsaved is asked about first, once: its edit is given up.
            if (choice == QMessageBox::Cancel)
                MessageBox::setNextAnswer(QMessageBox::Discard);
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

#include "TestEnvironment.h"

#include "ColorThumbnail.h"
#include "ConnectionState.h"
#include "FileDialog.h"
#include "KeypadBackup.h"
#include "KeypadSimulator.h"
#include "MSPComm.h"
#include "MSPDocument.h"
#include "MSPEffect.h"
#include "MSPEffectFactory.h"
#include "MSPFixedColorEffect.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ModalAnswer.h"
#include "ReplySizeLimit.h"
#include "SystemConfiguration.h"
#include "UpdateDialog.h"
#include "ZelColorLibrary.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

// Nothing answers at this address on the test network, so requests leave and simply fail.
const QString silentKeypad = QStringLiteral("10.77.0.9");

QStringList texts(const QList<QAction*>& actions) {
    QStringList result;
    for (QAction* action : actions)
        result << (action->isSeparator() ? QStringLiteral("|") : action->text());
    return result;
}

QAction* action(MainWindow& window, const char* name) {
    return window.findChild<QAction*>(QLatin1String(name));
}

void setState(ConnectionState::State state) {
    ConnectionState::instance()->setState(state);
}

using TestSupport::readFile;
using TestSupport::writeFile;

void setSceneOne(int type) {
    MSPSceneModel::instance()->scene(0)->setEffect(MSPEffectFactory::instance()->create(type), false);
}

QByteArray sceneDocument(int effectType) {
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<v1>\n<all_shows>\n<currentShow>1</currentShow>\n"
           "<show><url>/api/v1/shows/1</url>\n<effect>" +
           QByteArray::number(effectType) +
           "</effect>\n<parameters><param>5</param><param>1</param><param>0</param><by>0</by><x>0</x><y>0</y>"
           "</parameters><numColors>0</numColors>\n<customColors>\n</customColors>\n</show>\n</all_shows>\n</v1>";
}

int sceneOneType() {
    MSPEffect* effect = MSPSceneModel::instance()->scene(0)->effect();
    return effect ? effect->type() : -1;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init() {
        MessageBox::setNextAnswer(QMessageBox::NoButton);
        MessageBox::clearLast();
        FileDialog::clearNextFileName();
    }

    // Runs first: the window's own discovery finds nothing on the test network.
    void freshWindowWithoutKeypad() {
        // Every state is kept: on a busy machine the heartbeat check may follow "no device" at once.
        bool nobodyFound = false;
        QMetaObject::Connection watch =
            connect(ConnectionState::instance(), &ConnectionState::stateChanged, this,
                    [&](ConnectionState::State state) { nobodyFound |= state == ConnectionState::NoDevice; });
        auto unwatch = qScopeGuard([&] { disconnect(watch); });
        MainWindow window;
        QCOMPARE(ConnectionState::instance()->state(), ConnectionState::Discovering);
        // The library's colour rows are drawn like the picker's swatches.
        const ZelColor red = ZelColor::fromRgb8(255, 0, 0);
        QCOMPARE(ZelColorLibrary::Instance()->thumbnail(red).toImage(),
                 ZelColorPickerLib::ColorThumbnail::create(red).toImage());
        QStringList menus;
        for (QAction* menu : window.menuBar()->actions())
            menus << (menu->isSeparator() ? "|" : menu->text() + ": " + texts(menu->menu()->actions()).join(", "));
        QCOMPARE(menus,
                 QStringList({"&File: |, L&oad Configuration File..., &Save Configuration File..., |, E&xit",
                              "&Edit: Cut, Copy, Paste, Delete, |, Select All",
                              "&Device: Discover Device, Restore Factory Default Settings", "&View: Settings, Preview",
                              "|", "&Help: Help Contents, |, Update..., |, &About"}));

        QTRY_VERIFY_WITH_TIMEOUT(nobodyFound, 10000);
        QCOMPARE(MSPSceneModel::instance()->activeSceneIndex(), 0);
        for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
            MSPScene* scene = MSPSceneModel::instance()->scene(i);
            QCOMPARE(scene->url(), QStringLiteral("/api/v1/shows/%1").arg(i + 1));
            auto* effect = qobject_cast<MSPFixedColorEffect*>(scene->effect());
            QCOMPARE(effect ? effect->color() : QString(), QStringLiteral("#ff0000"));
        }
    }

    void actionsAndEditorsFollowTheState() {
        MainWindow window;
        auto* tabs = window.findChild<QTabWidget*>("tabWidget");
        QWidget* sceneEditor = window.findChild<QWidget*>("MSPSceneSettings");
        QWidget* configEditor = window.findChild<QWidget*>("SysConfig");
        for (int s = 0; s <= ConnectionState::RestoringFactoryDefaults; ++s) {
            const QByteArray row = QByteArray::number(s);
            tabs->setCurrentIndex(0);
            setState(s == 0 ? ConnectionState::Connected : ConnectionState::StatusUnknown);
            setState(ConnectionState::State(s));
            const bool files = s == 2 || s == 5;
            QVERIFY2(action(window, "loadAct")->isEnabled() == files, row);
            QVERIFY2(action(window, "saveAct")->isEnabled() == files, row);
            QVERIFY2(action(window, "restoreAct")->isEnabled() == (s == 2), row);
            QVERIFY2(action(window, "discoverAct")->isEnabled(), row);
            QVERIFY2(configEditor->isEnabled() == (s == 2 || s == 4 || s == 5), row);
            QVERIFY2(sceneEditor->isEnabled() == files, row);
            // A communication failure turns to the System Configuration page, but not from the Network page.
            QCOMPARE(tabs->currentIndex(), s == 4 ? 1 : 0);
        }
        setState(ConnectionState::Connected);
        tabs->setCurrentIndex(2);
        setState(ConnectionState::CommunicationFailure);
        QCOMPARE(tabs->currentIndex(), 2);
    }

    void reReadsOnlyWhenReturningToConnected() {
        MainWindow window;
        MSPComm::instance()->setDevice(silentKeypad, QByteArray(6, '\1'));
        QSignalSpy sent(MSPComm::instance(), &MSPComm::requestSent);
        for (int s : {1, 3, 4, 5, 6, 7, 8}) {
            setState(ConnectionState::State(s));
            sent.clear();
            setState(ConnectionState::Connected);
            QStringList paths;
            for (const QList<QVariant>& request : sent)
                paths << request.at(0).toString() + QLatin1Char(' ') + request.at(1).toString();
            const QStringList expected =
                (s == 5 || s == 6 || s == 8) ? QStringList({"GET /api/v1/config", "GET /api/v1/shows"}) : QStringList();
            QVERIFY2(paths == expected, qPrintable(QString::number(s) + ": " + paths.join(", ")));
        }
        MSPComm::instance()->setDevice(QString(), QByteArray());
    }

    void restoreFollowsTheKeypadVersion_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("resetsItself");
        QTest::newRow("1.2.9") << "1.2.9" << false;
        QTest::newRow("1.3.0") << "1.3.0" << true;
        QTest::newRow("1.1.15") << "1.1.15" << true;
        QTest::newRow("1.1.14") << "1.1.14" << false;
        QTest::newRow("2.0.0") << "2.0.0" << true;
        QTest::newRow("two parts") << "1.3" << false;
        QTest::newRow("unknown") << "Not Available" << false;
    }

    void restoreFollowsTheKeypadVersion() {
        QFETCH(QString, version);
        QFETCH(bool, resetsItself);
        MainWindow window;
        setState(ConnectionState::Connected);
        MSPComm::instance()->setDevice(silentKeypad, QByteArray(6, '\1'));
        SystemConfiguration::instance()->setVersion(version);
        const QString defaultFile = QCoreApplication::applicationDirPath() + "/defaultConfiguration.xml";
        QVERIFY2(!QFile::exists(defaultFile), "the test directory must not hold a default file");
        QSignalSpy sent(MSPComm::instance(), &MSPComm::requestSent);

        // Saying No changes nothing.
        MessageBox::setNextAnswer(QMessageBox::No);
        window.handleRestore();
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Restore Factory Default Settings"));
        QCOMPARE(sent.count(), 0);

        // Yes, with the backup offered; told where it went.
        MessageBox::clearLast();
        MessageBox::setNextAnswer(QMessageBox::Yes);
        MessageBox::setNextAnswer(QMessageBox::Ok);
        if (!resetsItself)
            MessageBox::setNextAnswer(QMessageBox::Ok);
        window.handleRestore();
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Keypad Backed Up"));
        QVERIFY2(MessageBox::lastText().contains(QDir::toNativeSeparators(KeypadBackup::defaultFolder())),
                 qPrintable(MessageBox::lastText()));
        if (resetsItself) {
            QCOMPARE(sent.count(), 1);
            QCOMPARE(sent.at(0).at(1).toString() + '?' + sent.at(0).at(2).toString(),
                     QStringLiteral("/api/v1/config?factory_reset=1"));
            QCOMPARE(ConnectionState::instance()->state(), ConnectionState::RestoringFactoryDefaults);
        } else {
            // No default file beside the test: the warning names where it was looked for.
            QCOMPARE(MessageBox::titles().at(1), QStringLiteral("Open Error"));
            QVERIFY2(MessageBox::texts().at(1).contains(defaultFile), qPrintable(MessageBox::texts().at(1)));
            QCOMPARE(sent.count(), 0);

            // With the file there, it is read (offline, so nothing is sent).
            QVERIFY(writeFile(defaultFile, sceneDocument(MSPEffect::RainbowWash)));
            setState(ConnectionState::OfflineDemo);
            // The demo gives the scene editor a version of its own; this keypad's is wanted here.
            SystemConfiguration::instance()->setVersion(version);
            MessageBox::setNextAnswer(QMessageBox::Yes);
            MessageBox::setNextAnswer(QMessageBox::Ok);
            const QString userFolder = window.lastDirPath();
            window.handleRestore();
            QFile::remove(defaultFile);
            QCOMPARE(sceneOneType(), int(MSPEffect::RainbowWash));
            QCOMPARE(window.lastDirPath(), userFolder);
            QCOMPARE(sent.count(), 0);
        }
        MSPComm::instance()->setDevice(QString(), QByteArray());
        setState(ConnectionState::NoDevice);
    }

    void openRefusesBrokenDocuments_data() {
        QTest::addColumn<QByteArray>("contents"); // null: no file at all; "fifo" and "folder" make one of those
        QTest::addColumn<QString>("where");
        QTest::newRow("missing") << QByteArray() << "Cannot open file";
        // A pipe would block the window until someone writes to it: refused unopened.
        QTest::newRow("pipe") << QByteArray("fifo") << ":\nit is a named pipe (FIFO), not a file.";
        QTest::newRow("folder") << QByteArray("folder") << ":\nit is a folder, not a file.";
        QTest::newRow("mismatched tag") << sceneDocument(MSPEffect::ColorWash).replace("</v1>", "</v2>") << "Line 12";
        QTest::newRow("not ours") << QByteArray("<html>\n<body/></html>") << "Line 1";
        QTest::newRow("empty") << QByteArray("") << "The file is empty";
        QTest::newRow("invalid byte") << QByteArray(
                                             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<v1>\n<x>\xe9</x></v1>")
                                      << "Line 3: byte 0xE9 is not valid UTF-8";
        QTest::newRow("unknown encoding") << QByteArray("<?xml version=\"1.0\" encoding=\"X-NONE-9\"?>\n<v1></v1>")
                                          << "Line 1: the document declares the encoding \"X-NONE-9\"";
        // Well formed, and the scene would go in before the switch states fail.
        const QByteArray halfway = sceneDocument(MSPEffect::ColorWash)
                                       .replace("</all_shows>", "</all_shows><config>\n<property>\n<url>/api/v1/config/"
                                                                "switch_state</url>\n<value>1,1</value></property>\n"
                                                                "</config>");
        QTest::newRow("refused halfway") << halfway
                                         << QStringLiteral("Line %1: not a valid configuration document: switch state")
                                                .arg(halfway.left(halfway.indexOf("<value>1,1")).count('\n') + 1);
    }

    // Refused before anything is applied: scene one keeps its effect.
    void openRefusesBrokenDocuments() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, where);
        MainWindow window;
        setState(ConnectionState::OfflineDemo);
        setSceneOne(MSPEffect::FixedColor);
        QTemporaryDir dir;
        const QString path = dir.filePath("broken.xml");
        if (contents == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (contents == "folder")
            QVERIFY(QDir().mkdir(path));
        else if (!contents.isNull())
            QVERIFY(writeFile(path, contents));
        FileDialog::setNextFileName(path);
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QVERIFY(!window.open());
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Open Error"));
        QVERIFY2(MessageBox::lastText().contains(path), qPrintable(MessageBox::lastText()));
        QVERIFY2(MessageBox::lastText().contains(where), qPrintable(MessageBox::lastText()));
        QCOMPARE(sceneOneType(), int(MSPEffect::FixedColor));
    }

    // A reply refused for its size is a broken or hostile device: the user is told which.
    void refusedReplyIsReported() {
        MainWindow window;
        MessageBox::setNextAnswer(QMessageBox::Ok);
        emit ReplySizeLimit::instance()->replyRefused(
            "10.77.0.2", "the keypad at 10.77.0.2 sent a reply larger than any keypad sends");
        QTRY_COMPARE(MessageBox::lastTitle(), QStringLiteral("Keypad Error"));
        QCOMPARE(MessageBox::lastText(),
                 QStringLiteral("The keypad at 10.77.0.2 sent a reply larger than any keypad sends."));
    }

    void openAndSave() {
        MainWindow window;
        setState(ConnectionState::OfflineDemo);
        QTemporaryDir dir;
        FileDialog::setNextFileName(QString()); // cancelled
        QVERIFY(!window.open());
        QVERIFY(MessageBox::lastTitle().isEmpty());

        // Save replaces a longer old file completely, leaves nothing beside it, and remembers the folder.
        const QString path = dir.filePath("keypad.xml");
        QVERIFY(writeFile(path, QByteArray(100000, 'x')));
        setSceneOne(MSPEffect::ColorWash);
        // A name typed into the configuration form in the demo is saved with the scenes.
        auto* nameEdit = window.findChild<QLineEdit*>(QStringLiteral("nameEdit"));
        nameEdit->clear();
        QTest::keyClicks(nameEdit, QStringLiteral("Lobby"));
        FileDialog::setNextFileName(path);
        QVERIFY(window.save());
        QCOMPARE(SystemConfiguration::instance()->name(), QStringLiteral("Lobby"));
        QCOMPARE(readFile(path), MSPDocument::fileContents());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"keypad.xml"}));

        // A save that the disk cuts short says so and leaves the saved file as it was.
        const QByteArray savedBefore = MSPDocument::fileContents();
        setSceneOne(MSPEffect::RandomColor);
        {
            const TestSupport::FileSizeLimit full(100);
            QVERIFY(full.active());
            FileDialog::setNextFileName(path);
            MessageBox::setNextAnswer(QMessageBox::Ok);
            QVERIFY(!window.save());
        }
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Save Error"));
        QCOMPARE(readFile(path), savedBefore);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"keypad.xml"}));

        // A name typed without a suffix gets ".xml", which Open lists.
        FileDialog::setNextFileName(dir.filePath("lobby"));
        QVERIFY(window.save());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"keypad.xml", "lobby.xml"}));
        QCOMPARE(readFile(dir.filePath("lobby.xml")), MSPDocument::fileContents());
        // The dialog asked about "lobby" only: the existing lobby.xml is replaced only when the user says so.
        QFile::resize(dir.filePath("lobby.xml"), 10);
        FileDialog::setNextFileName(dir.filePath("lobby"));
        MessageBox::setNextAnswer(QMessageBox::No);
        QVERIFY(!window.save());
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Replace File"));
        QCOMPARE(QFileInfo(dir.filePath("lobby.xml")).size(), 10);

        // Opening it again starts in that folder and brings the saved scene back.
        setSceneOne(MSPEffect::FixedColor);
        FileDialog::setNextFileName(path);
        QVERIFY(window.open());
        QCOMPARE(FileDialog::lastDirectory(), dir.path());
        QCOMPARE(sceneOneType(), int(MSPEffect::ColorWash));
    }

    // Connected, a file goes to the keypad scene by scene while the window stays usable.
    void openWhileConnectedShowsProgressAndLocksFileActions() {
        MainWindow window;
        window.show();
        QTemporaryDir dir;
        const QString path = dir.filePath("eight.xml");
        QVERIFY(writeFile(path, MSPDocument::fileContents()));
        KeypadSimulator sim;
        QVERIFY(sim.start({"10.77.0.5", "Progress"}));
        MSPComm::instance()->setDevice(sim.address(), sim.macBytes());
        setState(ConnectionState::Connected);
        QStringList progress;
        bool locked = true;
        bool secondOpen = true;
        auto* bar = window.findChild<QProgressBar*>("fileProgress");
        const auto watcher = connect(MSPComm::instance(), &MSPComm::requestSent, this, [&] {
            QCoreApplication::processEvents();
            progress << bar->format();
            for (const char* name : {"loadAct", "saveAct", "restoreAct", "discoverAct"})
                locked = locked && !action(window, name)->isEnabled();
            locked = locked && bar->isVisible();
            if (progress.size() == 1) {
                FileDialog::setNextFileName(path);
                secondOpen = window.open();
                FileDialog::clearNextFileName();
                // State changes while reading must not unlock the actions.
                setState(ConnectionState::ConnectionLost);
                setState(ConnectionState::Connected);
            }
        });
        // Sent, after a backup.
        MessageBox::setNextAnswer(QMessageBox::Ok);
        MessageBox::setNextAnswer(QMessageBox::Ok);
        FileDialog::setNextFileName(path);
        QVERIFY(window.open());
        disconnect(watcher);
        QCOMPARE(MessageBox::titles(), QStringList({"Send Configuration to Keypad", "Keypad Backed Up"}));
        setState(ConnectionState::OfflineDemo);
        QVERIFY(!secondOpen);
        QVERIFY2(progress.contains("Loading onto keypad: scene 3 of 8"), qPrintable(progress.join(", ")));
        QVERIFY2(progress.contains("Loading onto keypad: configuration"), qPrintable(progress.join(", ")));
        QVERIFY(locked);
        QVERIFY(action(window, "loadAct")->isEnabled() && action(window, "discoverAct")->isEnabled());
        QVERIFY(!bar->isVisible());
        MSPComm::instance()->setDevice(QString(), QByteArray());
    }

    // With no update server configured nothing is checked at start; "Update..." opens the preferences,
    // made when first asked for and kept. The guide is not installed beside the test, which must be said.
    void helpMenu() {
        MainWindow window;
        QVERIFY(!window.findChild<UpdateDialog*>());
        QVERIFY(!QSettings().contains(QStringLiteral("update_last_check")));
        action(window, "updateAct")->trigger();
        auto* dialog = window.findChild<UpdateDialog*>();
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->isVisible());
        dialog->reject();
        action(window, "updateAct")->trigger();
        QCOMPARE(window.findChildren<UpdateDialog*>().size(), 1);
        QTRY_VERIFY(dialog->isVisible());
        dialog->reject();

        const QString guide = QCoreApplication::applicationDirPath() + "/help/LumettoKeypad_ProductGuide.pdf";
        QVERIFY2(!QFile::exists(guide), "the test directory must not hold the guide");
        MessageBox::setNextAnswer(QMessageBox::Ok);
        action(window, "helpAct")->trigger();
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Error"));
        QCOMPARE(MessageBox::lastText(), "Failed to find help file at file:///" + guide);

        // There, but nothing on the desktop shows PDF files: the guide is not called missing.
        QVERIFY(QDir().mkpath(QFileInfo(guide).path()));
        QVERIFY(writeFile(guide, "%PDF-1.4\n"));
        QUrl opened;
        static QUrl* seen = nullptr;
        seen = &opened;
        MainWindow::setUrlOpener([](const QUrl& url) {
            *seen = url;
            return false;
        });
        MessageBox::clearLast();
        MessageBox::setNextAnswer(QMessageBox::Ok);
        action(window, "helpAct")->trigger();
        const QString title = MessageBox::lastTitle();
        const QString text = MessageBox::lastText();
        MainWindow::setUrlOpener([](const QUrl&) { return true; });
        action(window, "helpAct")->trigger();
        const QStringList titles = MessageBox::titles();
        MainWindow::setUrlOpener(nullptr);
        QDir(QFileInfo(guide).path()).removeRecursively();
        QCOMPARE(opened, QUrl::fromLocalFile(guide));
        QCOMPARE(title, QStringLiteral("Help"));
        QCOMPARE(text, "No program to show PDF files was found. The guide is at " + QDir::toNativeSeparators(guide) +
                           "; open it with a PDF viewer once one is installed.");
        QCOMPARE(titles.size(), 1);
    }

    // Enter alone keeps the keypad; the backup is on offer, and left out when unticked.
    void factoryRestoreDefaultsToNo() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        setState(ConnectionState::Connected);
        MSPComm::instance()->setDevice(silentKeypad, QByteArray(6, '\2'));
        SystemConfiguration::instance()->setVersion(QStringLiteral("1.3.0"));
        QDir(KeypadBackup::defaultFolder()).removeRecursively();
        QSignalSpy sent(MSPComm::instance(), &MSPComm::requestSent);
        bool offered = false;
        {
            // A box after the question would mean Enter went ahead: closed, so the test can say so.
            ModalAnswer enter({[&](QWidget* box) {
                                   auto* message = qobject_cast<QMessageBox*>(box);
                                   offered = message->checkBox() && message->checkBox()->isChecked() &&
                                             message->checkBox()->text() == QLatin1String("Back up the keypad first");
                                   QTest::keyClick(box, Qt::Key_Return);
                               },
                               [](QWidget* box) { box->close(); }});
            action(window, "restoreAct")->trigger();
            QCOMPARE(enter.answered(), 1);
        }
        QVERIFY(offered);
        QCOMPARE(sent.count(), 0);
        QCOMPARE(ConnectionState::instance()->state(), ConnectionState::Connected);

        ModalAnswer yes({[](QWidget* box) {
            auto* message = qobject_cast<QMessageBox*>(box);
            QTest::mouseClick(message->checkBox(), Qt::LeftButton);
            QTest::mouseClick(message->button(QMessageBox::Yes), Qt::LeftButton);
        }});
        action(window, "restoreAct")->trigger();
        QCOMPARE(yes.answered(), 1);
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.at(0).at(2).toString(), QStringLiteral("factory_reset=1"));
        QVERIFY(!QDir(KeypadBackup::defaultFolder()).exists());
        MSPComm::instance()->setDevice(QString(), QByteArray());
        setState(ConnectionState::NoDevice);
    }

    // The demo plays the active scene, and its key is lit.
    void demoLightsTheActiveScene() {
        MainWindow window;
        window.show();
        setState(ConnectionState::NoDevice);
        MSPSceneModel::instance()->setActiveSceneIndex(3, false);
        auto* key = window.findChild<QRadioButton*>(QStringLiteral("scene4Button"));
        QVERIFY(!key->isChecked());
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("demoModeButton")), Qt::LeftButton);
        QCOMPARE(ConnectionState::instance()->state(), ConnectionState::OfflineDemo);
        QVERIFY(key->isChecked());
        MSPSceneModel::instance()->setActiveSceneIndex(0, false);
        setState(ConnectionState::NoDevice);
    }

    // The geometry shows in the next window; the dock state is compared as saved.
    void exitThroughTheFileMenuSavesTheLayout() {
        QByteArray state;
        {
            MainWindow window;
            window.show();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            window.resize(1111, window.height());
            QTRY_COMPARE(window.width(), 1111);
            state = window.saveState(0);
            QMenuBar* bar = window.menuBar();
            QAction* file = bar->actions().first();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
            QTRY_VERIFY(file->menu()->isVisible());
            QTest::mouseClick(file->menu(), Qt::LeftButton, {},
                              file->menu()->actionGeometry(action(window, "exitAct")).center());
            QTRY_VERIFY(!window.isVisible());
        }
        QCOMPARE(QSettings().value("msp_window_state").toByteArray(), state);
        MainWindow again;
        again.show();
        QTRY_COMPARE(again.width(), 1111);
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestMainWindow, "tst_mainwindow", QApplication)
#include "tst_mainwindow.moc"

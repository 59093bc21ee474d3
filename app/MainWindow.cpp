#include "MainWindow.h"

#include "UiLog.h"
#include "UpdateChecker.h"
#include "UpdateDialog.h"

#include "AboutDialog.h"
#include "ColorThumbnail.h"
#include "ConfigurationFileReader.h"
#include "ConnectionState.h"
#include "Discoverer.h"
#include "EventLoopWait.h"
#include "FileDialog.h"
#include "FittingScrollArea.h"
#include "KeypadBackup.h"
#include "MSPChooser.h"
#include "MSPComm.h"
#include "MSPControlPanelWidget.h"
#include "MSPDocument.h"
#include "MSPDocumentComparison.h"
#include "MSPDocumentFile.h"
#include "MSPEffect.h"
#include "MSPEffectFactory.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "MSPSceneSettingsWidget.h"
#include "MessageBox.h"
#include "NetworkPrefs.h"
#include "PreviewDock.h"
#include "ReplySizeLimit.h"
#include "StatusWidget.h"
#include "SystemConfiguration.h"
#include "SystemConfigurationWidget.h"
#include "WindowFit.h"
#include "ZelColorLibrary.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QResizeEvent>
#include <QSaveFile>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSettings>
#include <QSplashScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <memory>

namespace {

const QString geometryKey = QStringLiteral("msp_window_geometry");
const QString stateKey = QStringLiteral("msp_window_state");
const QString lastDirKey = QStringLiteral("lastDirPath");
const QString defaultFileName = QStringLiteral("defaultConfiguration.xml");
const QString helpFileName = QStringLiteral("/help/LumettoKeypad_ProductGuide.pdf");
const QString scenePathPrefix = QStringLiteral("/api/v1/shows/");
const QString configPath = QStringLiteral("/api/v1/config");

constexpr int windowExtraHeight = 63;
constexpr int dockedMinimumWidth = 970;
constexpr int dockedMaximumWidth = 10000;
// A first start opens wider than the smallest width: the wash editors' library and rows get room
// beside the picker.
constexpr int defaultWidth = 1100;
constexpr int addressChangeWaitMs = 10000;
constexpr int exitWaitMs = 100;
constexpr int firstDiscoveryDelayMs = 1000;
constexpr int splashMs = 1000;
// Eight scenes, then the configuration.
constexpr int fileProgressSteps = MSPSceneModel::sceneCount + 1;
// Saves and reverts asked for on leaving a keypad get this long to arrive; what is still on its
// way then is a waiting change, which the user is asked about in turn.
constexpr int leavingDeliveryMs = 2500;
// Changes listed in the question before sending a file; the rest are in its details.
constexpr int listedChanges = 12;

bool openWithDesktop(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}
MainWindow::UrlOpener urlOpener = &openWithDesktop;

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainWindow"));
    // Before any picker exists, so every colour row is drawn like a swatch from the start.
    ZelColorLibrary::Instance()->init(false, false, false);
    ZelColorLibrary::Instance()->setThumbnailGenerator(&ZelColorPickerLib::ColorThumbnail::create);
    createControlPanelDock();
    createActions();
    createMenus();
    createSettingsDock();
    m_previewDock = new PreviewDock(this, m_viewMenu, m_controlPanel);
    connect(m_previewDock, &PreviewDock::addedHeightChanged, this, &MainWindow::scheduleFit);
    createStatusBar();

    setWindowTitle(tr("Lumetto Keypad Effect Manager"));
    m_model = MSPSceneModel::instance();
    connectSharedObjects();

    QTimer::singleShot(firstDiscoveryDelayMs, this, [this] { discover(); });

    setFixedHeight(m_controlPanel->height() + windowExtraHeight);
    QSettings settings;
    if (settings.contains(geometryKey)) {
        restoreGeometry(settings.value(geometryKey).toByteArray());
        restoreState(settings.value(stateKey).toByteArray(), 0);
    } else {
        resize(defaultWidth, height());
    }
    m_settingsDock->setFloating(false);
    m_settingsDock->setVisible(true);
    m_previewDock->restoreVisibility();
    // The state object announced its first state before anyone listened; the actions must not
    // offer loading and saving while nothing is connected.
    applyState(ConnectionState::instance()->state());
    createUpdateChecking();
}

void MainWindow::createUpdateChecking() {
    // The dialog is made when first asked for (showUpdater); it reads its label then.
    m_updateChecker = new UpdateChecker(this);
    m_updateChecker->useProgramDefaults();
    // A check the user did not ask for reports only a newer version.
    m_updateChecker->setVerbose(false);
    m_updateChecker->checkForUpdateIfNecessary();
}

MainWindow::~MainWindow() {
    m_splash = nullptr;
    if (MSPScene* scene = m_model ? m_model->scene(m_model->activeSceneIndex()) : nullptr)
        MSPComm::instance()->revertScene(scene);
    EventLoopWait::wait(exitWaitMs);
    setWaitCursor(false);
    // The docks are destroyed after this object has stopped being a MainWindow, and hiding the
    // settings dock then reports a visibility change to a slot of this class.
    disconnect(m_settingsDock, nullptr, this, nullptr);
}

void MainWindow::createControlPanelDock() {
    m_controlPanelDock = new QDockWidget(tr("Control Panel"), this);
    m_controlPanelDock->setObjectName(QStringLiteral("ControlPanel"));
    m_controlPanelDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    m_controlPanelDock->setAllowedAreas(Qt::LeftDockWidgetArea);
    // The plate shows whole wherever the screen has room for it, and scrolls on a screen too small.
    m_panelScroll = new FittingScrollArea(m_controlPanelDock);
    m_panelScroll->setObjectName(QStringLiteral("controlPanelScroll"));
    m_controlPanel = new MSPControlPanelWidget(m_panelScroll->viewport());
    m_controlPanel->setPanelEnabled(false);
    m_panelScroll->setWidget(m_controlPanel);
    m_panelScroll->setWidthFixedToContent(true);
    m_controlPanelDock->setWidget(m_panelScroll);
    addDockWidget(Qt::LeftDockWidgetArea, m_controlPanelDock);
}

void MainWindow::createActions() {
    auto makeAction = [this](const QString& text, const char* name, void (MainWindow::*slot)()) {
        auto* action = new QAction(text, this);
        action->setObjectName(QLatin1String(name));
        if (slot)
            connect(action, &QAction::triggered, this, slot);
        return action;
    };
    m_loadAct = makeAction(tr("L&oad Configuration File..."), "loadAct", nullptr);
    m_loadAct->setShortcuts(QKeySequence::Open);
    m_loadAct->setStatusTip(tr("Load Configuration onto Lumetto Keypad"));
    connect(m_loadAct, &QAction::triggered, this, &MainWindow::open);

    m_saveAct = makeAction(tr("&Save Configuration File..."), "saveAct", nullptr);
    m_saveAct->setShortcuts(QKeySequence::Save);
    m_saveAct->setStatusTip(tr("Save Lumetto Keypad Configuration"));
    connect(m_saveAct, &QAction::triggered, this, &MainWindow::save);

    m_restoreAct = makeAction(tr("Restore Factory Default Settings"), "restoreAct", &MainWindow::handleRestore);
    m_restoreAct->setStatusTip(tr("Restore Lumetto Keypad to its factory default settings"));

    m_exitAct = makeAction(tr("E&xit"), "exitAct", nullptr);
    m_exitAct->setShortcuts(QKeySequence::Quit);
    m_exitAct->setStatusTip(tr("Quit the application"));
    connect(m_exitAct, &QAction::triggered, this, &QWidget::close);

    m_aboutAct = makeAction(tr("&About"), "aboutAct", &MainWindow::about);
    m_aboutAct->setStatusTip(tr("Show the application's About box"));

    m_helpAct = makeAction(tr("Help Contents"), "helpAct", &MainWindow::showOnlineHelp);
    m_helpAct->setShortcut(QKeySequence(tr("F1")));

    m_updateAct = makeAction(tr("Update..."), "updateAct", &MainWindow::showUpdater);

    m_discoverAct = makeAction(tr("Discover Device"), "discoverAct", nullptr);
    m_discoverAct->setStatusTip(tr("Discover Lumetto Keypad devices"));
    connect(m_discoverAct, &QAction::triggered, this, [this] { discover(); });

    m_cutAct = makeAction(tr("Cut"), "cutAct", &MainWindow::cut);
    m_copyAct = makeAction(tr("Copy"), "copyAct", &MainWindow::copy);
    m_pasteAct = makeAction(tr("Paste"), "pasteAct", &MainWindow::paste);
    m_deleteAct = makeAction(tr("Delete"), "deleteAct", &MainWindow::deleteSlot);
    m_selectAllAct = makeAction(tr("Select All"), "selectAllAct", &MainWindow::select);
}

void MainWindow::createMenus() {
    menuBar()->setStyleSheet(QStringLiteral(
        "QMenuBar{border-bottom: 1px solid gray; background-color: #f2f1f1} QMenuBar::item{background: transparent;}"));

    m_fileMenu = menuBar()->addMenu(tr("&File"));
    m_fileMenu->setObjectName(QStringLiteral("fileMenu"));
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_loadAct);
    m_fileMenu->addAction(m_saveAct);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_exitAct);

    m_editMenu = menuBar()->addMenu(tr("&Edit"));
    m_editMenu->setObjectName(QStringLiteral("editMenu"));
    m_editMenu->addAction(m_cutAct);
    m_editMenu->addAction(m_copyAct);
    m_editMenu->addAction(m_pasteAct);
    m_editMenu->addAction(m_deleteAct);
    m_editMenu->addSeparator();
    m_editMenu->addAction(m_selectAllAct);

    m_deviceMenu = menuBar()->addMenu(tr("&Device"));
    m_deviceMenu->setObjectName(QStringLiteral("deviceMenu"));
    m_deviceMenu->addAction(m_discoverAct);
    m_deviceMenu->addAction(m_restoreAct);

    m_viewMenu = menuBar()->addMenu(tr("&View"));
    m_viewMenu->setObjectName(QStringLiteral("viewMenu"));

    menuBar()->addSeparator();

    m_helpMenu = menuBar()->addMenu(tr("&Help"));
    m_helpMenu->setObjectName(QStringLiteral("helpMenu"));
    m_helpMenu->addAction(m_helpAct);
    m_helpMenu->addSeparator();
    m_helpMenu->addAction(m_updateAct);
    m_helpMenu->addSeparator();
    m_helpMenu->addAction(m_aboutAct);
}

void MainWindow::createSettingsDock() {
    m_settingsDock = new QDockWidget(tr("Settings"), this);
    m_settingsDock->setObjectName(QStringLiteral("Settings"));
    m_settingsDock->setAcceptDrops(true);
    m_settingsDock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);

    m_settingsScroll = new FittingScrollArea(m_settingsDock);
    m_settingsScroll->setObjectName(QStringLiteral("settingsScroll"));
    m_tabWidget = new QTabWidget(m_settingsScroll->viewport());
    m_tabWidget->setObjectName(QStringLiteral("tabWidget"));
    m_sceneSettingsWidget = new MSPSceneSettingsWidget(m_tabWidget);

    MSPComm* comm = MSPComm::instance();
    m_networkPrefs = new NetworkPrefs(comm->networkConfigurationManager(), this, true);
    connect(m_networkPrefs, &NetworkPrefs::interfaceChosen, this, &MainWindow::handleHostAddressChanged);
    comm->setNetworkPrefs(m_networkPrefs);
    m_networkPrefs->announceCurrentChoice();

    m_sysConfigWidget = new SystemConfigurationWidget(m_tabWidget);
    connect(m_sysConfigWidget, &SystemConfigurationWidget::addressChanged, this, &MainWindow::handleAddressChanged);

    m_tabWidget->addTab(m_sceneSettingsWidget, tr("Scene Settings"));
    m_tabWidget->addTab(m_sysConfigWidget, tr("System Configuration"));
    m_tabWidget->addTab(m_networkPrefs, tr("Network"));
    m_settingsScroll->setWidget(m_tabWidget);
    m_settingsDock->setWidget(m_settingsScroll);
    addDockWidget(Qt::RightDockWidgetArea, m_settingsDock);

    connect(m_settingsDock, &QDockWidget::topLevelChanged, this, &MainWindow::handleSettingsLocationChanged);
    connect(m_settingsDock, &QDockWidget::visibilityChanged, this, &MainWindow::handleSettingsLocationChanged);

    QAction* toggle = m_settingsDock->toggleViewAction();
    toggle->setMenuRole(QAction::NoRole);
    m_viewMenu->addAction(toggle);

    m_sceneSettingsWidget->setEnabled(false);
    m_sysConfigWidget->setEnabled(false);
}

void MainWindow::createStatusBar() {
    m_statusWidget = new StatusWidget(this);
    statusBar()->addWidget(m_statusWidget);
    statusBar()->setStyleSheet(QStringLiteral("QStatusBar{border-top: 1px solid gray; background-color: #e3e5e5}"));

    m_fileProgress = new QProgressBar(this);
    m_fileProgress->setObjectName(QStringLiteral("fileProgress"));
    m_fileProgress->setRange(0, fileProgressSteps);
    // Wide enough for its longest text on one line, whatever the desktop's font.
    const QFontMetrics metrics(m_fileProgress->font());
    const int textWidth = qMax(
        metrics.horizontalAdvance(
            tr("Loading onto keypad: scene %1 of %2").arg(MSPSceneModel::sceneCount).arg(MSPSceneModel::sceneCount)),
        metrics.horizontalAdvance(tr("Loading onto keypad: configuration")));
    m_fileProgress->setFixedWidth(textWidth + 4 * metrics.averageCharWidth());
    m_fileProgress->setTextVisible(true);
    m_fileProgress->hide();
    statusBar()->addPermanentWidget(m_fileProgress);

    connect(ConnectionState::instance(), &ConnectionState::stateChanged, this, &MainWindow::handleConnectionState);
    MSPComm* comm = MSPComm::instance();
    m_statusWidget->setWaitingChanges(comm->waitingWrites());
    connect(comm, &MSPComm::waitingWritesChanged, m_statusWidget, &StatusWidget::setWaitingChanges);
}

void MainWindow::connectSharedObjects() {
    MSPComm* comm = MSPComm::instance();
    Discoverer* discoverer = Discoverer::instance();
    SystemConfiguration* configuration = SystemConfiguration::instance();

    connect(m_controlPanel, &MSPControlPanelWidget::sceneIndexSelected, this,
            &MainWindow::handleControlPanelChangedActiveSceneIndex);
    connect(m_controlPanel, &MSPControlPanelWidget::sceneIndexSelected, comm, &MSPComm::getScene);
    connect(m_controlPanel, &MSPControlPanelWidget::retryDiscoverySelected, this, [this] { discover(); });
    connect(comm, &MSPComm::activeSceneIndexChanged, this, &MainWindow::handleDeviceActiveSceneIndexChanged);
    connect(configuration, &SystemConfiguration::scene1CheckBoxStateChanged, m_controlPanel,
            &MSPControlPanelWidget::handleScene1StateChanged);
    connect(configuration, &SystemConfiguration::scene2CheckBoxStateChanged, m_controlPanel,
            &MSPControlPanelWidget::handleScene2StateChanged);
    connect(configuration, &SystemConfiguration::scene3CheckBoxStateChanged, m_controlPanel,
            &MSPControlPanelWidget::handleScene3StateChanged);
    connect(configuration, &SystemConfiguration::scene4CheckBoxStateChanged, m_controlPanel,
            &MSPControlPanelWidget::handleScene4StateChanged);
    connect(configuration, &SystemConfiguration::scene5CheckBoxStateChanged, m_controlPanel,
            &MSPControlPanelWidget::handleScene5StateChanged);
    connect(configuration, &SystemConfiguration::scene6CheckBoxStateChanged, m_controlPanel,
            &MSPControlPanelWidget::handleScene6StateChanged);
    connect(configuration, &SystemConfiguration::scene7CheckBoxStateChanged, m_controlPanel,
            &MSPControlPanelWidget::handleScene7StateChanged);
    connect(configuration, &SystemConfiguration::scene8CheckBoxStateChanged, m_controlPanel,
            &MSPControlPanelWidget::handleScene8StateChanged);
    connect(configuration, &SystemConfiguration::downCheckBoxStateChanged, m_controlPanel,
            &MSPControlPanelWidget::handleDownStateChanged);
    connect(configuration, &SystemConfiguration::upCheckBoxStateChanged, m_controlPanel,
            &MSPControlPanelWidget::handleUpStateChanged);
    connect(configuration, &SystemConfiguration::onOffCheckBoxStateChanged, m_controlPanel,
            &MSPControlPanelWidget::handleOnOffStateChanged);
    connect(comm, &MSPComm::networkError, this, &MainWindow::handleNetworkError);
    // A reply refused for its size comes from something broken or hostile: say so, one box at a time.
    auto refusalShowing = std::make_shared<bool>(false);
    connect(
        ReplySizeLimit::instance(), &ReplySizeLimit::replyRefused, this,
        [refusalShowing](const QString&, const QString& message) {
            if (*refusalShowing)
                return;
            *refusalShowing = true;
            MessageBox::warning(QApplication::activeWindow(), tr("Keypad Error"),
                                message.left(1).toUpper() + message.mid(1) + QLatin1Char('.'));
            *refusalShowing = false;
        },
        Qt::QueuedConnection);
    connect(m_model, &MSPSceneModel::effectParamsChanged, comm, &MSPComm::handleEffectParamsChanged);
    connect(m_model, &MSPSceneModel::effectChanged, comm, &MSPComm::handleEffectChanged);
    discoverer->setNetworkPrefs(m_networkPrefs);
    connect(discoverer, &Discoverer::reachedDiscoverTimeLimit, this, &MainWindow::handleDiscovererTimeLimit);
    connect(discoverer, &Discoverer::discovering, configuration, &SystemConfiguration::handleDiscovering);

    connect(comm, &MSPComm::requestSent, this,
            [this](const QString& method, const QString& path, const QString&) { handleRequestSent(method, path); });
}

void MainWindow::setSplash(QSplashScreen* splash) {
    m_splash = splash;
    QTimer::singleShot(splashMs, this, &MainWindow::killSplash);
}

void MainWindow::killSplash() {
    if (m_splash) {
        m_splash->finish(this);
        m_splash = nullptr;
    }
}

void MainWindow::setWaitCursor(bool on) {
    if (on == m_waitCursor)
        return;
    m_waitCursor = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainWindow::discover(int timeOut) {
    // A file being written to the keypad must finish before the keypad may change.
    if (m_readingFile)
        return;
    ConnectionState::instance()->setState(ConnectionState::Discovering);
    Discoverer* discoverer = Discoverer::instance();
    if (m_discoverTimerId)
        discoverer->killTimer(m_discoverTimerId);
    m_discoverTimerId = discoverer->startDiscovery(timeOut);
    setWaitCursor(true);
}

void MainWindow::handleDiscovererTimeLimit() {
    setWaitCursor(false);
    Discoverer* discoverer = Discoverer::instance();
    if (m_discoverTimerId)
        discoverer->killTimer(m_discoverTimerId);
    m_discoverTimerId = 0;

    const QList<DiscoveredDevice> devices = discoverer->devices();
    int choice = -1;
    if (devices.size() == 1) {
        choice = 0;
    } else if (devices.size() > 1) {
        QStringList items;
        for (const DiscoveredDevice& device : devices)
            items << device.name() + QStringLiteral(" (") + device.address() + QLatin1Char(')');
        MSPChooser chooser(items, this);
        if (chooser.exec() == QDialog::Accepted)
            choice = chooser.selectedIndex();
    }

    if (choice >= 0 && choice < devices.size()) {
        const DiscoveredDevice& device = devices.at(choice);
        MSPComm* comm = MSPComm::instance();
        const bool otherKeypad =
            comm->mac().isEmpty() ? device.address() != comm->address() : device.mac() != comm->mac();
        // Staying with the keypad that has work waiting: it goes on as before.
        if (otherKeypad && !comm->address().isEmpty() && !mayLeaveKeypad(Leaving::OtherKeypad))
            return;
        SystemConfiguration::instance()->setIpAddress(device.address(), false);
        comm->setDevice(device.address(), device.mac());
        comm->getConfig();
        if (!MSPComm::isOnLocalSubnet(device.address()))
            ConnectionState::instance()->setState(ConnectionState::CommunicationFailure);
        comm->getShows();
        return;
    }

    // Nobody to talk to: eight fixed-colour scenes to look at, and the offline demo on offer.
    m_model->setActiveSceneIndex(0, false);
    for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
        MSPScene* scene = m_model->scene(i);
        scene->setURL(scenePathPrefix + QString::number(i + 1));
        if (!scene->effect())
            scene->setEffect(MSPEffectFactory::instance()->create(0, scene), false);
    }
    ConnectionState::instance()->setState(ConnectionState::NoDevice);
}

void MainWindow::handleAddressChanged() {
    setWaitCursor(true);
    // The keypad takes its new address before it answers discovery again.
    EventLoopWait::wait(addressChangeWaitMs);
    setWaitCursor(false);
    ConnectionState::instance()->setState(ConnectionState::Discovering);
    m_discoverTimerId = Discoverer::instance()->startDiscovery(500);
    setWaitCursor(true);
}

void MainWindow::handleHostAddressChanged(QNetworkAddressEntry hostAddressEntry, QString name) {
    Q_UNUSED(name)
    m_hostAddressEntry = hostAddressEntry;
}

void MainWindow::handleControlPanelChangedActiveSceneIndex(int index) {
    m_model->setActiveSceneIndex(index, false);
    if (ConnectionState::instance()->state() == ConnectionState::OfflineDemo)
        m_sceneSettingsWidget->activeSceneChanged(index);
}

void MainWindow::handleDeviceActiveSceneIndexChanged(int index) {
    m_model->setActiveSceneIndex(index, false);
    m_controlPanel->selectScene(index);
    m_sceneSettingsWidget->activeSceneChanged(index);
}

void MainWindow::handleConnectionState(ConnectionState::State status) {
    // The demo sends nothing: entered with work that has not reached the keypad, that work is
    // given up, or the demo is not entered.
    if (status == ConnectionState::OfflineDemo && m_previousState != ConnectionState::OfflineDemo &&
        !mayLeaveKeypad(Leaving::OfflineDemo)) {
        ConnectionState::instance()->setState(m_previousState);
        return;
    }
    const bool returning = m_previousState == ConnectionState::OfflineDemo ||
                           m_previousState == ConnectionState::ConnectionLost ||
                           m_previousState == ConnectionState::RestoringFactoryDefaults;
    if (returning && status == ConnectionState::Connected) {
        MSPComm::instance()->getConfig();
        MSPComm::instance()->getShows();
    }
    m_previousState = status;
    applyState(status);
    repaint();
}

void MainWindow::applyState(ConnectionState::State status) {
    m_sysConfigWidget->setEnabled(status == ConnectionState::Connected ||
                                  status == ConnectionState::CommunicationFailure ||
                                  status == ConnectionState::OfflineDemo);
    m_sceneSettingsWidget->setEnabled(status == ConnectionState::Connected || status == ConnectionState::OfflineDemo);
    updateActions();

    m_sysConfigWidget->setAddressOnlyMode(status == ConnectionState::CommunicationFailure);
    if (status == ConnectionState::CommunicationFailure && m_tabWidget->currentIndex() == 0)
        m_tabWidget->setCurrentIndex(1);
}

void MainWindow::updateActions() {
    const ConnectionState::State status = ConnectionState::instance()->state();
    const bool fileActions = status == ConnectionState::Connected || status == ConnectionState::OfflineDemo;
    m_loadAct->setEnabled(fileActions && !m_readingFile);
    m_saveAct->setEnabled(fileActions && !m_readingFile);
    m_restoreAct->setEnabled(status == ConnectionState::Connected && !m_readingFile);
    m_discoverAct->setEnabled(!m_readingFile);
}

QString MainWindow::lastDirPath() const {
    return QSettings().value(lastDirKey, QDir::homePath()).toString();
}

void MainWindow::setLastDirPath(const QString& fileName) {
    QSettings().setValue(lastDirKey, QFileInfo(fileName).absolutePath());
}

bool MainWindow::open() {
    if (m_readingFile)
        return false;
    const QString fileName =
        FileDialog::getOpenFileName(this, tr("Open Configuration"), lastDirPath(), tr("Configuration Files (*.xml)"));
    if (fileName.isEmpty())
        return false;
    return openFile(fileName);
}

bool MainWindow::openFile(const QString& fileName) {
    if (m_readingFile)
        return false;
    return openAndReadFile(fileName, Folder::Remember, Ask::Send);
}

bool MainWindow::openAndReadFile(const QString& fileName, Folder folder, Ask ask) {
    const MSPDocumentFile::Result file = MSPDocumentFile::load(fileName);
    if (file.status == MSPDocumentFile::Status::NotOpened) {
        MessageBox::warning(QApplication::activeWindow(), tr("Open Error"),
                            tr("Cannot open file %1:\n%2.").arg(fileName, file.problem));
        return false;
    }
    if (folder == Folder::Remember)
        setLastDirPath(fileName);
    if (!file.ok()) {
        const QString problem = file.line > 0 ? tr("Line %1: %2").arg(file.line).arg(file.problem)
                                              : file.problem.left(1).toUpper() + file.problem.mid(1);
        MessageBox::warning(QApplication::activeWindow(), tr("Open Error"),
                            tr("Cannot read file %1:\n%2").arg(fileName, problem));
        return false;
    }
    QString backupPath;
    if (ask == Ask::Send && ConnectionState::instance()->state() == ConnectionState::Connected &&
        !maySendFile(fileName, file.contents, &backupPath))
        return false;
    QBuffer buffer;
    buffer.setData(file.contents);
    buffer.open(QBuffer::ReadOnly);
    if (!readFile(&buffer)) {
        MessageBox::warning(QApplication::activeWindow(), tr("Open Error"),
                            tr("File %1 was only partly read.").arg(fileName));
    }
    if (!backupPath.isEmpty())
        MessageBox::information(
            QApplication::activeWindow(), tr("Keypad Backed Up"),
            tr("What the keypad held before is saved in %1").arg(QDir::toNativeSeparators(backupPath)));
    return true;
}

bool MainWindow::maySendFile(const QString& fileName, const QByteArray& contents, QString* backupPath) {
    // Against what the editor holds of the keypad: its scenes as read and edited, its configuration.
    const MSPDocumentComparison comparison(MSPDocument::fileContents(), contents);
    MessageBox::Question question;
    question.title = tr("Send Configuration to Keypad");
    question.text = tr("Send %1 to keypad %2 (%3)?")
                        .arg(QFileInfo(fileName).fileName(), SystemConfiguration::instance()->name(),
                             MSPComm::instance()->address());
    QString details = tr("All eight scenes and the configuration on the keypad are replaced, and its brightness is "
                         "set to full.");
    details += QStringLiteral("\n\n");
    if (!comparison.ok()) {
        details += tr("What changes cannot be listed: %1").arg(comparison.beforeRead().error);
    } else if (comparison.isIdentical()) {
        details += tr("Nothing else changes: the file holds what the keypad holds now.");
    } else {
        const QStringList lines = comparison.lines();
        details += tr("What changes:");
        for (const QString& line : lines.mid(0, listedChanges))
            details += QStringLiteral("\n\u2022 ") + line;
        if (lines.size() > listedChanges) {
            details +=
                QStringLiteral("\n") + tr("and %n more, listed in the details", nullptr, lines.size() - listedChanges);
            question.detailedText = comparison.text();
        }
    }
    question.informativeText = details;
    question.buttons = QMessageBox::Ok | QMessageBox::Cancel;
    question.buttonTexts.insert(QMessageBox::Ok, tr("Send"));
    question.defaultButton = QMessageBox::Cancel;
    question.checkBoxText = tr("Back up the keypad first");
    question.checked = true;
    qCInfo(lcUi).noquote() << "asking:" << question.text;
    if (MessageBox::ask(QApplication::activeWindow(), question) != QMessageBox::Ok) {
        qCInfo(lcUi).noquote() << fileName << "not sent";
        return false;
    }
    if (question.checked) {
        *backupPath = backUpKeypad();
        if (backupPath->isEmpty())
            return false;
    }
    return true;
}

QString MainWindow::backUpKeypad() {
    const KeypadBackup::Result backup = KeypadBackup::write(
        KeypadBackup::defaultFolder(), SystemConfiguration::instance()->name(), MSPDocument::fileContents());
    if (!backup.ok()) {
        qCWarning(lcUi).noquote() << "keypad not backed up:" << backup.error;
        MessageBox::warning(
            QApplication::activeWindow(), tr("Backup Failed"),
            tr("The keypad could not be backed up, so nothing was sent to it.\n\n%1").arg(backup.error));
        return QString();
    }
    qCInfo(lcUi).noquote() << "keypad backed up to" << backup.path;
    return backup.path;
}

bool MainWindow::readFile(QIODevice* device) {
    if (!device || m_readingFile)
        return false;
    const bool sendToDevice = ConnectionState::instance()->state() == ConnectionState::Connected;
    m_readingFile = true;
    updateActions();
    setWaitCursor(true);
    m_sceneSettingsWidget->clearPreviousSelection();
    if (sendToDevice)
        setFileProgress(0, tr("Loading onto keypad..."));
    const MSPDocument::ReadResult result = ConfigurationFileReader::read(device, sendToDevice);
    if (!result.ok)
        qCWarning(lcUi).noquote() << "configuration not fully read:" << result.error;
    setWaitCursor(false);
    m_readingFile = false;
    m_fileProgress->hide();
    updateActions();
    if (!result.keypadFailure.isEmpty())
        MessageBox::warning(QApplication::activeWindow(), tr("Loading onto Keypad Stopped"), result.keypadFailure);
    return result.ok;
}

void MainWindow::handleRequestSent(const QString& method, const QString& path) {
    if (!m_readingFile)
        return;
    // Each scene's step starts with the read that selects it on the keypad.
    if (path.startsWith(scenePathPrefix)) {
        const int scene = path.mid(scenePathPrefix.size()).toInt();
        setFileProgress(scene, tr("Loading onto keypad: scene %1 of %2").arg(scene).arg(MSPSceneModel::sceneCount));
    } else if (path == configPath && method == QLatin1String("POST")) {
        setFileProgress(fileProgressSteps, tr("Loading onto keypad: configuration"));
    }
}

void MainWindow::setFileProgress(int step, const QString& text) {
    m_fileProgress->setValue(step);
    m_fileProgress->setFormat(text);
    m_fileProgress->show();
}

bool MainWindow::save() {
    MSPComm::instance()->getConfig();
    QString fileName =
        FileDialog::getSaveFileName(this, tr("Save Configuration"), lastDirPath(), tr("Configuration Files (*.xml)"));
    if (fileName.isEmpty())
        return false;
    // Open lists "*.xml" only: a file saved without the suffix would seem lost.
    if (QFileInfo(fileName).suffix().isEmpty()) {
        fileName += fileName.endsWith(QLatin1Char('.')) ? QStringLiteral("xml") : QStringLiteral(".xml");
        // The dialog asked about the name as typed; the file with the suffix may be someone's work.
        if (QFileInfo::exists(fileName) &&
            MessageBox::question(this, tr("Replace File"),
                                 tr("%1 already exists. Replace it?").arg(QFileInfo(fileName).fileName()),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            return false;
    }
    // Written beside the old file and renamed over it: a failed save leaves the old file intact.
    QSaveFile file(fileName);
    if (!file.open(QFile::WriteOnly)) {
        MessageBox::warning(QApplication::activeWindow(), tr("Save Error"),
                            tr("Cannot open file %1:\n%2.").arg(fileName, file.errorString()));
        return false;
    }
    setLastDirPath(fileName);
    // The demo does not process edits as they are typed, so the form's fields reach the model now
    // or the file would not hold them.
    if (ConnectionState::instance()->state() == ConnectionState::OfflineDemo)
        m_sysConfigWidget->on_applyButton_clicked();
    const QByteArray contents = MSPDocument::fileContents();
    // Flushed before the commit, which would not notice the last bytes failing on a full disk.
    if (file.write(contents) != contents.size() || !file.flush() || !file.commit()) {
        MessageBox::warning(QApplication::activeWindow(), tr("Save Error"),
                            tr("Cannot write file %1:\n%2.").arg(fileName, file.errorString()));
        return false;
    }
    return true;
}

bool MainWindow::keypadResetsItself(const QString& version) {
    const QStringList parts = version.split(QLatin1Char('.'));
    if (parts.size() < 3)
        return false;
    const int major = parts.at(0).toInt();
    const int minor = parts.at(1).toInt();
    const int patch = parts.at(2).toInt();
    return major > 1 || (major == 1 && minor > 2) || (major == 1 && minor == 1 && patch > 14);
}

void MainWindow::handleRestore() {
    if (m_readingFile)
        return;
    MessageBox::Question question;
    question.title = tr("Restore Factory Default Settings");
    question.text =
        tr("This will restore the Lumetto Keypad to its factory default settings.  Do you want to continue?\n\nIf "
           "the IP address has been changed, then you will need to rediscover the device.");
    question.buttons = QMessageBox::Yes | QMessageBox::No;
    // Enter alone must not wipe the keypad.
    question.defaultButton = QMessageBox::No;
    question.checkBoxText = tr("Back up the keypad first");
    question.checked = true;
    if (MessageBox::ask(QApplication::activeWindow(), question) != QMessageBox::Yes)
        return;
    QString backupPath;
    if (question.checked) {
        backupPath = backUpKeypad();
        if (backupPath.isEmpty())
            return;
    }
    if (keypadResetsItself(SystemConfiguration::instance()->version())) {
        MSPComm::instance()->restoreFactoryDefaults();
        ConnectionState::instance()->setState(ConnectionState::RestoringFactoryDefaults);
        m_sceneSettingsWidget->clearPreviousSelection();
    } else {
        openAndReadFile(QCoreApplication::applicationDirPath() + QLatin1Char('/') + defaultFileName, Folder::Keep);
    }
    if (!backupPath.isEmpty())
        MessageBox::information(
            QApplication::activeWindow(), tr("Keypad Backed Up"),
            tr("What the keypad held before is saved in %1").arg(QDir::toNativeSeparators(backupPath)));
}

void MainWindow::setUrlOpener(UrlOpener opener) {
    urlOpener = opener ? opener : &openWithDesktop;
}

void MainWindow::showOnlineHelp() {
    const QString path = QCoreApplication::applicationDirPath() + helpFileName;
    const QString urlText = tr("file:///") + path;
    // Desktop services report success once a viewer is started, even for a missing file.
    if (!QFile::exists(path)) {
        MessageBox::critical(QApplication::activeWindow(), tr("Error"),
                             tr("Failed to find help file at %1").arg(urlText));
        return;
    }
    // The guide is there: telling the user it is missing would send them to reinstall.
    if (!urlOpener(QUrl::fromLocalFile(path))) {
        qCWarning(lcUi).noquote() << "no program opened the guide" << path;
        MessageBox::warning(QApplication::activeWindow(), tr("Help"),
                            tr("No program to show PDF files was found. The guide is at %1; open it with a PDF "
                               "viewer once one is installed.")
                                .arg(QDir::toNativeSeparators(path)));
    }
}

void MainWindow::about() {
    AboutDialog::showAbout(this);
}

void MainWindow::showUpdater() {
    if (!m_updateDialog) {
        m_updateDialog = new UpdateDialog(this);
        connect(m_updateChecker, &UpdateChecker::updateLabelShouldReset, m_updateDialog,
                &UpdateDialog::resetUpdateLabel);
    }
    m_updateDialog->showDialog();
}

void MainWindow::postKey(int key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = QApplication::focusWidget();
    if (!target)
        return;
    QApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, modifiers, QString(), false, 1));
    QApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, modifiers, QString(), false, 1));
}

void MainWindow::cut() {
    postKey(Qt::Key_X, Qt::ControlModifier);
}

void MainWindow::copy() {
    postKey(Qt::Key_C, Qt::ControlModifier);
}

void MainWindow::paste() {
    postKey(Qt::Key_V, Qt::ControlModifier);
}

void MainWindow::deleteSlot() {
    postKey(Qt::Key_Delete, Qt::NoModifier);
}

void MainWindow::select() {
    postKey(Qt::Key_A, Qt::ControlModifier);
}

void MainWindow::setStatusBar(QString message) {
    statusBar()->showMessage(message);
}

void MainWindow::handleNetworkError() {}

void MainWindow::resizeEvent(QResizeEvent* event) {
    if (event->size().width() == panelColumnWidth()) {
        m_savedWidth = event->oldSize().width();
        m_savedHeight = event->oldSize().height();
    }
    QMainWindow::resizeEvent(event);
    scheduleFit();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_watchingScreen && windowHandle()) {
        m_watchingScreen = true;
        connect(windowHandle(), &QWindow::screenChanged, this, &MainWindow::scheduleFit);
    }
    scheduleFit();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        scheduleFit();
}

bool MainWindow::event(QEvent* event) {
    // A column asks for other room (a larger font, another form); not while the fit itself asks.
    if (event->type() == QEvent::LayoutRequest && !m_fitting)
        scheduleFit();
    return QMainWindow::event(event);
}

int MainWindow::panelColumnWidth() const {
    return m_panelScroll->maximumWidth();
}

void MainWindow::scheduleFit() {
    if (m_fitScheduled)
        return;
    m_fitScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_fitScheduled = false;
        fitToScreen();
    });
}

QSize MainWindow::neededSize() {
    // What the columns need in full: asked of them while they may not shrink (the fit then lets them
    // shrink again).
    if (m_panelScroll->isShrinkable() || m_settingsScroll->isShrinkable()) {
        m_panelScroll->setShrinkable(false);
        m_settingsScroll->setShrinkable(false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    QSize needed = minimumSizeHint();
    // The layout's minimum leaves out the separator between two docks side by side.
    if (m_settingsDock->isVisible() && !m_settingsDock->isFloating() &&
        dockWidgetArea(m_settingsDock) != dockWidgetArea(m_controlPanelDock))
        needed.rwidth() += qMax(0, m_settingsDock->x() - m_controlPanelDock->geometry().right() - 1);
    // And the one above the preview docked under them.
    if (m_previewDock->addedHeight() > 0)
        needed.rheight() += style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this);
    return needed;
}

void MainWindow::fitToScreen() {
    if (!isVisible())
        return;
    // The layouts' answers to the fit's own changes are settled here, and ask for no other fit.
    const QScopedValueRollback<bool> fitting(m_fitting, true);
    QScreen* screen =
        windowHandle() && windowHandle()->screen() ? windowHandle()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect room = screen->availableGeometry();
    const QSize frame = frameGeometry().size() - geometry().size();
    const bool docked = m_settingsDock->isVisible() && !m_settingsDock->isFloating();

    WindowFit::Input input;
    input.needed = neededSize();
    input.panelAlone = !docked;
    // The preview under the panel comes on top of the designed height, so nothing above it shrinks.
    input.designedHeight = m_controlPanel->height() + windowExtraHeight + m_previewDock->addedHeight();
    input.designedMinimumWidth = dockedMinimumWidth;
    input.maximumWidth = dockedMaximumWidth;
    input.available = room.size() - frame;
    const WindowFit::Result fit = WindowFit::compute(input);

    m_panelScroll->setShrinkable(fit.scroll);
    // A floating settings window is the user's to size: it scrolls when made small.
    m_settingsScroll->setShrinkable(fit.scroll || !docked);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    // The docks keep their sizes until the window's layout is made again; what that posts is settled here.
    layout()->invalidate();
    layout()->activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const bool changed = minimumWidth() != fit.minimumWidth || maximumWidth() != fit.maximumWidth ||
                         minimumHeight() != fit.height || maximumHeight() != fit.height;
    if (!changed)
        return;
    setMinimumWidth(fit.minimumWidth);
    setMaximumWidth(fit.maximumWidth);
    setFixedHeight(fit.height);
    if (width() > input.available.width())
        resize(input.available.width(), height());
    // Grown, the window keeps its frame on the screen.
    const QRect outer(frameGeometry().topLeft(), QSize(qMax(width(), fit.minimumWidth), fit.height) + frame);
    if (!room.contains(outer)) {
        const QPoint topLeft(qBound(room.left(), outer.left(), qMax(room.left(), room.right() - outer.width() + 1)),
                             qBound(room.top(), outer.top(), qMax(room.top(), room.bottom() - outer.height() + 1)));
        move(topLeft);
    }
}

void MainWindow::handleSettingsLocationChanged(bool topLevel) {
    Q_UNUSED(topLevel)
    if (m_settingsDock->isVisible() && !m_settingsDock->isFloating() && m_settingsDock->width() != 0) {
        setMinimumWidth(dockedMinimumWidth);
        setMaximumWidth(dockedMaximumWidth);
        if (m_savedWidth > 0)
            resize(m_savedWidth, m_savedHeight);
    } else {
        setFixedWidth(panelColumnWidth());
    }
    m_controlPanel->repaint();
    scheduleFit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!mayLeaveKeypad(Leaving::Exit)) {
        event->ignore();
        return;
    }
    QSettings settings;
    settings.setValue(geometryKey, saveGeometry());
    settings.setValue(stateKey, saveState(0));
    QMainWindow::closeEvent(event);
}

bool MainWindow::mayLeaveKeypad(Leaving leaving) {
    // Every kind of work the keypad does not hold yet asks here, in turn: scenes it plays unsaved
    // first, since saving or reverting them is more for the keypad to take; then whatever has not
    // reached it.
    return mayLeaveUnsavedScenes(leaving) && mayDiscardWaitingWrites(leaving);
}

QString MainWindow::scenesText(const QList<int>& indexes) {
    QStringList numbers;
    for (int index : indexes)
        numbers << QString::number(index + 1);
    if (numbers.size() == 1)
        return tr("scene %1").arg(numbers.first());
    const QString last = numbers.takeLast();
    return tr("scenes %1 and %2").arg(numbers.join(QStringLiteral(", ")), last);
}

bool MainWindow::mayLeaveUnsavedScenes(Leaving leaving) {
    const QList<int> scenes = m_model->unsavedScenes();
    if (scenes.isEmpty())
        return true;
    QString text = tr("Save the changes to %1 on the keypad?").arg(scenesText(scenes));
    text += QStringLiteral("\n\n");
    text += scenes.size() == 1 ? tr("The keypad plays them now, but forgets them when it restarts.")
                               : tr("The keypad plays these changes now, but forgets them when it restarts.");
    const QMessageBox::StandardButton answer =
        MessageBox::question(QApplication::activeWindow(), tr("Unsaved Scenes"), text,
                             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer != QMessageBox::Save && answer != QMessageBox::Discard)
        return false;
    MSPComm* comm = MSPComm::instance();
    // Entering the demo has already stopped the traffic; this much must still reach the keypad.
    const bool demo = leaving == Leaving::OfflineDemo;
    if (demo)
        comm->setOfflineDemo(false);
    for (int index : scenes) {
        MSPScene* scene = m_model->scene(index);
        if (answer == QMessageBox::Save)
            comm->applyScene(scene);
        else
            comm->revertScene(scene);
    }
    QElapsedTimer waited;
    waited.start();
    while (!comm->deliveryIdle() && waited.elapsed() < leavingDeliveryMs)
        EventLoopWait::wait(20);
    if (demo)
        comm->setOfflineDemo(true);
    return true;
}

bool MainWindow::mayDiscardWaitingWrites(Leaving leaving) {
    MSPComm* comm = MSPComm::instance();
    const int waiting = comm->waitingWrites();
    if (waiting == 0)
        return true;
    QString text = waiting == 1 ? tr("1 change has not reached the keypad yet.")
                                : tr("%1 changes have not reached the keypad yet.").arg(waiting);
    text += QStringLiteral("\n\n");
    const QString what = waiting == 1 ? tr("the waiting change") : tr("the waiting changes");
    switch (leaving) {
    case Leaving::OtherKeypad:
        text += tr("Discard %1 and choose the other keypad?").arg(what);
        break;
    case Leaving::OfflineDemo:
        text += tr("Discard %1 and go to the offline demo?").arg(what);
        break;
    case Leaving::Exit:
        text += tr("Discard %1 and quit?").arg(what);
        break;
    }
    const QMessageBox::StandardButton answer =
        MessageBox::question(QApplication::activeWindow(), tr("Changes Not on the Keypad"), text,
                             QMessageBox::Discard | QMessageBox::Cancel);
    if (answer != QMessageBox::Discard)
        return false;
    comm->discardWaitingWrites();
    return true;
}

#pragma once

#include "ConnectionState.h"

#include <QMainWindow>
#include <QNetworkAddressEntry>
#include <QString>

class FittingScrollArea;
class MSPControlPanelWidget;
class MSPSceneModel;
class MSPSceneSettingsWidget;
class NetworkPrefs;
class PreviewDock;
class QAction;
class QDockWidget;
class QIODevice;
class QMenu;
class QProgressBar;
class QSplashScreen;
class QTabWidget;
class QUrl;
class StatusWidget;
class SystemConfigurationWidget;
class UpdateChecker;
class UpdateDialog;

// The one top-level window: the keypad picture on the left, the settings tabs on the right,
// the menus, and the wiring of the shared model and communication objects.
class MainWindow : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY(MainWindow)

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    void setSplash(QSplashScreen* splash);
    bool readFile(QIODevice* device);
    QString lastDirPath() const;
    void setLastDirPath(const QString& fileName);

    // Whether a keypad of this version restores its factory defaults itself; older ones get
    // the default configuration file.
    static bool keypadResetsItself(const QString& version);
    // How the window opens the guide; tests stand in for a desktop without a PDF viewer.
    using UrlOpener = bool (*)(const QUrl& url);
    static void setUrlOpener(UrlOpener opener);
    // "scene 2", "scenes 2 and 6", "scenes 1, 2 and 6" for scene indexes.
    static QString scenesText(const QList<int>& indexes);
    // True while a configuration file is being read (and written to a connected keypad).
    bool isReadingFile() const { return m_readingFile; }

public slots:
    void handleDiscovererTimeLimit();
    void handleSettingsLocationChanged(bool topLevel);
    bool open();
    // File > Open once the file is chosen; the file named on the command line comes in here too.
    bool openFile(const QString& fileName);
    void setStatusBar(QString message);
    void handleControlPanelChangedActiveSceneIndex(int index);
    void handleDeviceActiveSceneIndexChanged(int index);
    void discover(int timeOut = 500);
    void handleNetworkError();
    void about();
    void cut();
    void copy();
    void paste();
    void deleteSlot();
    void select();
    bool save();
    void handleRestore();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private slots:
    void handleAddressChanged();
    void killSplash();
    void handleConnectionState(ConnectionState::State status);
    void showOnlineHelp();
    void showUpdater();
    void handleHostAddressChanged(QNetworkAddressEntry hostAddressEntry, QString name);
    void handleRequestSent(const QString& method, const QString& path);

private:
    void createControlPanelDock();
    void createActions();
    void createMenus();
    void createSettingsDock();
    void createStatusBar();
    void connectSharedObjects();
    void applyState(ConnectionState::State status);
    void updateActions();
    void createUpdateChecking();
    void setWaitCursor(bool on);
    void postKey(int key, Qt::KeyboardModifiers modifiers);
    // The factory file is the program's own: reading it does not move the user's last folder.
    enum class Folder { Remember, Keep };
    // A file the user opens is sent to a connected keypad only once the user agrees; the factory
    // file has been agreed to already.
    enum class Ask { Send, Not };
    bool openAndReadFile(const QString& fileName, Folder folder, Ask ask = Ask::Not);
    bool maySendFile(const QString& fileName, const QByteArray& contents, QString* backupPath);
    // Writes what the editor holds of the keypad to the backups folder; the path, or empty after
    // the user was told why not.
    QString backUpKeypad();
    // Leaving the keypad: whether the user lets go of what it does not hold yet; true to go on.
    enum class Leaving { OtherKeypad, OfflineDemo, Exit };
    bool mayLeaveKeypad(Leaving leaving);
    bool mayDiscardWaitingWrites(Leaving leaving);
    bool mayLeaveUnsavedScenes(Leaving leaving);
    void setFileProgress(int step, const QString& text);
    // The window as large as its columns need (never smaller than designed), and no larger than its
    // screen, where the columns scroll instead; once the event loop has settled what changed.
    void scheduleFit();
    void fitToScreen();
    QSize neededSize();
    int panelColumnWidth() const;

    MSPSceneSettingsWidget* m_sceneSettingsWidget = nullptr;
    SystemConfigurationWidget* m_sysConfigWidget = nullptr;
    NetworkPrefs* m_networkPrefs = nullptr;
    QDockWidget* m_settingsDock = nullptr;
    QTabWidget* m_tabWidget = nullptr;
    PreviewDock* m_previewDock = nullptr;

    QMenu* m_fileMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_deviceMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QMenu* m_helpMenu = nullptr;

    QAction* m_saveAct = nullptr;
    QAction* m_loadAct = nullptr;
    QAction* m_restoreAct = nullptr;
    QAction* m_aboutAct = nullptr;
    QAction* m_helpAct = nullptr;
    QAction* m_updateAct = nullptr;
    UpdateDialog* m_updateDialog = nullptr;
    UpdateChecker* m_updateChecker = nullptr;
    QAction* m_exitAct = nullptr;
    QAction* m_discoverAct = nullptr;
    QAction* m_cutAct = nullptr;
    QAction* m_copyAct = nullptr;
    QAction* m_pasteAct = nullptr;
    QAction* m_deleteAct = nullptr;
    QAction* m_selectAllAct = nullptr;

    MSPSceneModel* m_model = nullptr;
    MSPControlPanelWidget* m_controlPanel = nullptr;
    QDockWidget* m_controlPanelDock = nullptr;
    FittingScrollArea* m_panelScroll = nullptr;
    FittingScrollArea* m_settingsScroll = nullptr;
    bool m_fitScheduled = false;
    bool m_fitting = false;
    bool m_watchingScreen = false;

    int m_discoverTimerId = 0;
    QSplashScreen* m_splash = nullptr;
    StatusWidget* m_statusWidget = nullptr;
    QNetworkAddressEntry m_hostAddressEntry;
    int m_savedWidth = -1;
    int m_savedHeight = -1;

    ConnectionState::State m_previousState = ConnectionState::NotConnected;
    bool m_readingFile = false;
    bool m_waitCursor = false;
    QProgressBar* m_fileProgress = nullptr;
};

#pragma once

#include <QMetaObject>
#include <QObject>
#include <QString>

namespace ZelCommonUtils {
class AutoUpdateTool;
}

// Decides when an update check is due, runs it and reports the outcome.
class UpdateChecker : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(UpdateChecker)

public:
    static const char* const UpdateFile;
    static const char* const ApplicationName;

    explicit UpdateChecker(QObject* parent = nullptr);
    ~UpdateChecker() override;

    // The update server host: the setting "update_server_host", else the build's default. Empty
    // when none is configured.
    static QString configuredHost();

    void setServer(QString host, QString updateFile);
    void setAppInfo(QString appName, uint major, uint minor, uint patch, uint build, uint releaseDate);
    void setVerbose(bool verbose);
    // The configured host, the version file and this program's name and version.
    void useProgramDefaults();

    bool isChecking() const { return m_checking; }
    ZelCommonUtils::AutoUpdateTool* tool() const { return m_tool; }

    void checkForUpdateIfNecessary();
    void checkNow();
    void startCheck(QString proxyHost, int proxyPort, QString proxyUser, QString proxyPassword);

signals:
    void updateLabelShouldReset();

private slots:
    void handleXMLFileDownloadSuccess();
    void handleUnableToRetrieveFile();
    void handleUpdateAvailable(QString appName, QString version, QString url);
    void handleNoUpdateAvailable(QString app, QString versionStr);

private:
    void finishCheck();

    bool m_verbose = true;
    QString m_host;
    QString m_updateFile;
    QString m_appName;
    uint m_major = 0;
    uint m_minor = 0;
    uint m_patch = 0;
    uint m_build = 0;
    uint m_releaseDate = 0;
    ZelCommonUtils::AutoUpdateTool* m_tool = nullptr;

    bool m_checking = false;
    QMetaObject::Connection m_successConnection;
    QMetaObject::Connection m_failureConnection;
    QMetaObject::Connection m_availableConnection;
    QMetaObject::Connection m_noUpdateConnection;
};

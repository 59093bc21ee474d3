#pragma once

#include "VersionFileCodec.h"

#include <QNetworkProxy>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace ZelCommonUtils {

/**
 * Downloads the version file from an update server and tells whether a newer release of an
 * application is published. One download at a time; every getVersionInfo() ends with exactly one
 * of fileDownloadSuccess() or unableToRetrieveFile(), always from the event loop.
 */
class AutoUpdateTool : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(AutoUpdateTool)

public:
    /// A download that has not finished by then fails.
    static constexpr int DefaultTimeoutMs = 8000;

    explicit AutoUpdateTool(QObject* parent = nullptr);
    ~AutoUpdateTool() override;

    /// "updates.example.com", "10.0.0.5:8080" or a base URL such as "https://updates.example.com".
    void setHost(const QString& host);
    /// Path of the version file on the host, e.g. "/software/ZelAppVersions.xml".
    void setUpdateFile(QString updateFile);
    /// Downloads go through this HTTP proxy.
    void setProxy(const QString& host, int port, const QString& user, const QString& password);
    /// Downloads go direct, whatever the system's proxy settings.
    void clearProxy();
    /// Time limit for one download, in milliseconds.
    void setTimeout(int milliseconds);
    int timeout() const { return m_timeoutMs; }

    /// Where the version file is fetched from; invalid when no host is set.
    QUrl versionFileUrl() const;
    bool isDownloading() const { return !m_reply.isNull(); }

    /// Starts downloading the version file. A call while a download runs is ignored: the running
    /// download's outcome answers it.
    void getVersionInfo();

    /// Compares the running program's version with the last downloaded file and emits
    /// updateAvailable() or noUpdateAvailable(). An application the file does not list has no
    /// update.
    void checkForUpdate(QString appName, uint major, uint minor, uint patch, uint build, uint releaseDate);

signals:
    void fileDownloadSuccess();
    void unableToRetrieveFile();
    void updateAvailable(const QString appName, const QString version, const QString url);
    void noUpdateAvailable(const QString appName, const QString version);

private:
    void handleDownloadProgress(qint64 received, qint64 total);
    void handleReplyFinished();
    void handleTimeout();
    void failLater(const QString& why);

    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QTimer m_deadline;
    QString m_host;
    QString m_updateFile;
    QNetworkProxy m_proxy{QNetworkProxy::NoProxy};
    int m_timeoutMs = DefaultTimeoutMs;
    QString m_abortReason;
    VersionFileCodec::Document m_document;
};

} // namespace ZelCommonUtils

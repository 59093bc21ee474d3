#include "AutoUpdateTool.h"

#include "UpdateLog.h"

#include <QCoreApplication>
#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace ZelCommonUtils {

namespace {

constexpr int MaxRedirects = 5;

} // namespace

AutoUpdateTool::AutoUpdateTool(QObject* parent)
    : QObject(parent)
    , m_network(new QNetworkAccessManager(this)) {
    m_network->setProxy(m_proxy);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &AutoUpdateTool::handleTimeout);
}

AutoUpdateTool::~AutoUpdateTool() {
    if (m_reply) {
        // Nobody is left to hear the outcome.
        m_reply->disconnect(this);
        m_reply->abort();
        delete m_reply;
    }
}

void AutoUpdateTool::setHost(const QString& host) {
    m_host = host.trimmed();
}

void AutoUpdateTool::setUpdateFile(QString updateFile) {
    m_updateFile = updateFile.trimmed();
}

void AutoUpdateTool::setProxy(const QString& host, int port, const QString& user, const QString& password) {
    m_proxy = QNetworkProxy(QNetworkProxy::HttpProxy, host.trimmed(), quint16(qBound(0, port, 65535)), user, password);
    m_network->setProxy(m_proxy);
}

void AutoUpdateTool::clearProxy() {
    m_proxy = QNetworkProxy(QNetworkProxy::NoProxy);
    m_network->setProxy(m_proxy);
}

void AutoUpdateTool::setTimeout(int milliseconds) {
    m_timeoutMs = qMax(1, milliseconds);
}

QUrl AutoUpdateTool::versionFileUrl() const {
    if (m_host.isEmpty())
        return QUrl();
    QUrl url(m_host.contains(QLatin1String("://")) ? m_host : QStringLiteral("http://") + m_host, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return QUrl();
    QString path = url.path();
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    url.setPath(path + (m_updateFile.startsWith(QLatin1Char('/')) ? m_updateFile : QLatin1Char('/') + m_updateFile));
    return url;
}

void AutoUpdateTool::getVersionInfo() {
    if (m_reply) {
        qCDebug(lcUpdate) << "Update: a download of the version file is already running";
        return;
    }
    m_document = VersionFileCodec::Document();
    const QUrl url = versionFileUrl();
    if (!url.isValid()) {
        failLater(QStringLiteral("no valid update server host (\"%1\")").arg(m_host));
        return;
    }
    if (m_proxy.type() == QNetworkProxy::HttpProxy && (m_proxy.hostName().isEmpty() || m_proxy.port() == 0)) {
        failLater(QStringLiteral("the proxy \"%1:%2\" is incomplete").arg(m_proxy.hostName()).arg(m_proxy.port()));
        return;
    }

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    // A proxy must not answer with a stale copy: a new release would go unnoticed.
    request.setRawHeader("Cache-Control", "no-cache");
    const QString agent =
        QCoreApplication::applicationName() + QLatin1Char('/') + QCoreApplication::applicationVersion();
    request.setHeader(QNetworkRequest::UserAgentHeader, agent.toUtf8());

    m_abortReason.clear();
    m_reply = m_network->get(request);
    // Checked as each piece arrives: the progress signal is held back to ten a second, and its
    // last one only follows the end of the reply, so a file that is too large would be held
    // whole (or until the time limit) before it was refused.
    QNetworkReply* reply = m_reply;
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
        handleDownloadProgress(0, reply->header(QNetworkRequest::ContentLengthHeader).toLongLong());
    });
    connect(reply, &QNetworkReply::readyRead, this,
            [this, reply] { handleDownloadProgress(reply->pos() + reply->bytesAvailable(), -1); });
    connect(m_reply, &QNetworkReply::finished, this, &AutoUpdateTool::handleReplyFinished);
    m_deadline.start(m_timeoutMs);
}

void AutoUpdateTool::handleDownloadProgress(qint64 received, qint64 total) {
    if (!m_reply || !m_abortReason.isEmpty())
        return;
    if (received > VersionFileCodec::MaxFileSize || total > VersionFileCodec::MaxFileSize) {
        m_abortReason = QStringLiteral("the version file is larger than %1 bytes").arg(VersionFileCodec::MaxFileSize);
        m_reply->abort();
    }
}

void AutoUpdateTool::handleTimeout() {
    if (!m_reply)
        return;
    m_abortReason = QStringLiteral("no complete answer within %1 ms").arg(m_timeoutMs);
    m_reply->abort();
}

void AutoUpdateTool::handleReplyFinished() {
    QNetworkReply* reply = m_reply;
    if (!reply)
        return;
    m_reply.clear();
    m_deadline.stop();
    reply->deleteLater();

    const QString url = reply->request().url().toDisplayString();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    QString failure;
    if (!m_abortReason.isEmpty())
        failure = m_abortReason;
    else if (reply->error() != QNetworkReply::NoError)
        failure = QStringLiteral("%1 (HTTP status %2)").arg(reply->errorString()).arg(status);
    else if (status < 200 || status > 299)
        failure = QStringLiteral("HTTP status %1").arg(status);
    if (!failure.isEmpty()) {
        qCWarning(lcUpdate).noquote() << QStringLiteral("Update: download of %1 failed: %2").arg(url, failure);
        emit unableToRetrieveFile();
        return;
    }
    const QByteArray data = reply->read(VersionFileCodec::MaxFileSize + 1);
    VersionFileCodec::Document document = VersionFileCodec::parse(data);
    if (!document.ok) {
        qCWarning(lcUpdate).noquote()
            << QStringLiteral("Update: the version file from %1 is not usable: %2").arg(url, document.error);
        emit unableToRetrieveFile();
        return;
    }
    m_document = document;
    emit fileDownloadSuccess();
}

void AutoUpdateTool::failLater(const QString& why) {
    qCWarning(lcUpdate).noquote() << "Update: cannot download the version file:" << why;
    // Callers connect after asking, so even an immediate failure comes from the event loop.
    QMetaObject::invokeMethod(this, &AutoUpdateTool::unableToRetrieveFile, Qt::QueuedConnection);
}

void AutoUpdateTool::checkForUpdate(QString appName, uint major, uint minor, uint patch, uint build, uint releaseDate) {
    const VersionFileCodec::Version current{major, minor, patch, build, releaseDate};
    const QString currentText = VersionFileCodec::versionText(current);
    if (!m_document.ok) {
        qCWarning(lcUpdate) << "Update: no version file has been downloaded; nothing to compare" << appName << "with";
        emit noUpdateAvailable(appName, currentText);
        return;
    }
    const VersionFileCodec::Application* published = m_document.find(appName);
    if (!published) {
        qCWarning(lcUpdate) << "Update: the version file does not list" << appName;
        emit noUpdateAvailable(appName, currentText);
        return;
    }
    if (VersionFileCodec::compare(published->version, current) > 0)
        emit updateAvailable(appName, VersionFileCodec::versionText(published->version), published->downloadUrl);
    else
        emit noUpdateAvailable(appName, currentText);
}

} // namespace ZelCommonUtils

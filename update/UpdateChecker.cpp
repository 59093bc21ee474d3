#include "UpdateChecker.h"

#include "AutoUpdateTool.h"
#include "BrowserLauncher.h"
#include "MessageBoxes.h"
#include "UpdateLog.h"

#include <QApplication>
#include <QDateTime>
#include <QDebug>
#include <QSettings>
#include <QUrl>

const char* const UpdateChecker::UpdateFile = "/software/ZelAppVersions.xml";
const char* const UpdateChecker::ApplicationName = "Lumetto Keypad Effect Manager";

namespace {

QDateTime epoch() {
    return QDateTime::fromMSecsSinceEpoch(0, Qt::UTC);
}

} // namespace

UpdateChecker::UpdateChecker(QObject* parent)
    : QObject(parent)
    , m_tool(new ZelCommonUtils::AutoUpdateTool(nullptr)) {}

UpdateChecker::~UpdateChecker() {
    delete m_tool;
}

QString UpdateChecker::configuredHost() {
    return QSettings()
        .value(QStringLiteral("update_server_host"), QStringLiteral(LUMETTO_UPDATE_HOST))
        .toString()
        .trimmed();
}

void UpdateChecker::setServer(QString host, QString updateFile) {
    m_host = host.trimmed();
    m_updateFile = updateFile;
}

void UpdateChecker::setAppInfo(QString appName, uint major, uint minor, uint patch, uint build, uint releaseDate) {
    m_appName = appName;
    m_major = major;
    m_minor = minor;
    m_patch = patch;
    m_build = build;
    m_releaseDate = releaseDate;
}

void UpdateChecker::setVerbose(bool verbose) {
    m_verbose = verbose;
}

void UpdateChecker::useProgramDefaults() {
    setServer(configuredHost(), QString::fromLatin1(UpdateFile));
    setAppInfo(QString::fromLatin1(ApplicationName), 3, 1, 3, 0, 20131127);
}

void UpdateChecker::checkForUpdateIfNecessary() {
    QSettings settings;
    if (settings.value(QStringLiteral("update_never_check"), false).toBool())
        return;
    if (m_host.isEmpty()) {
        qCDebug(lcUpdate) << "Update: no update server is configured; the automatic check is skipped.";
        return;
    }
    QDateTime last = settings.value(QStringLiteral("update_last_check"), epoch()).toDateTime();
    if (!last.isValid()) {
        // An unreadable value must not stop checking for good: treat it as never checked.
        qCWarning(lcUpdate) << "Update: \"update_last_check\" is not a date-time:"
                            << settings.value(QStringLiteral("update_last_check"));
        last = epoch();
    }
    const qint64 days = last.daysTo(QDateTime::currentDateTime());
    const int interval = settings.value(QStringLiteral("update_check_interval_days"), 14).toInt();
    qCDebug(lcUpdate) << "Last checked for updates" << days << "days ago. Update interval is" << interval << "days.";
    if (days >= interval || days < 0)
        checkNow();
}

void UpdateChecker::checkNow() {
    QSettings settings;
    if (settings.value(QStringLiteral("use_proxy"), false).toBool()) {
        startCheck(settings.value(QStringLiteral("proxy_host")).toString(),
                   settings.value(QStringLiteral("proxy_port"), 0).toInt(),
                   settings.value(QStringLiteral("proxy_user")).toString(),
                   settings.value(QStringLiteral("proxy_password")).toString());
    } else {
        startCheck(QString(), 0, QString(), QString());
    }
}

void UpdateChecker::startCheck(QString proxyHost, int proxyPort, QString proxyUser, QString proxyPassword) {
    if (m_checking) {
        qCDebug(lcUpdate) << "Update: a check is already running";
        return;
    }
    if (m_host.isEmpty()) {
        qCDebug(lcUpdate) << "Update: no update server is configured; cannot check for updates.";
        if (m_verbose)
            MessageBoxes::information(QApplication::activeWindow(), tr("Check For Updates"),
                                      tr("No update server is configured, so this program cannot check for "
                                         "updates."));
        return;
    }
    m_checking = true;
    m_successConnection = connect(m_tool, &ZelCommonUtils::AutoUpdateTool::fileDownloadSuccess, this,
                                  &UpdateChecker::handleXMLFileDownloadSuccess);
    m_failureConnection = connect(m_tool, &ZelCommonUtils::AutoUpdateTool::unableToRetrieveFile, this,
                                  &UpdateChecker::handleUnableToRetrieveFile);
    m_availableConnection =
        connect(m_tool, &ZelCommonUtils::AutoUpdateTool::updateAvailable, this, &UpdateChecker::handleUpdateAvailable);
    m_noUpdateConnection = connect(m_tool, &ZelCommonUtils::AutoUpdateTool::noUpdateAvailable, this,
                                   &UpdateChecker::handleNoUpdateAvailable);
    m_tool->setHost(m_host);
    m_tool->setUpdateFile(m_updateFile);
    if (proxyHost.trimmed().isEmpty())
        m_tool->clearProxy();
    else
        m_tool->setProxy(proxyHost, proxyPort, proxyUser, proxyPassword);
    m_tool->getVersionInfo();
}

void UpdateChecker::handleXMLFileDownloadSuccess() {
    if (m_appName.isEmpty()) {
        qCDebug(lcUpdate) << "Bug: No appname set";
        finishCheck();
        return;
    }
    QSettings().setValue(QStringLiteral("update_last_check"), QDateTime::currentDateTime());
    m_tool->checkForUpdate(m_appName, m_major, m_minor, m_patch, m_build, m_releaseDate);
    emit updateLabelShouldReset();
}

void UpdateChecker::handleUnableToRetrieveFile() {
    finishCheck();
    qCDebug(lcUpdate) << "Update: Unable to retrieve XML file";
    if (m_verbose)
        MessageBoxes::information(QApplication::activeWindow(), tr("Update Error"),
                                  tr("Unable to retrieve update file."));
}

void UpdateChecker::handleUpdateAvailable(QString appName, QString version, QString url) {
    Q_UNUSED(appName)
    finishCheck();
    qCDebug(lcUpdate) << "Update: Update available.";
    const QMessageBox::StandardButton answer = MessageBoxes::question(
        QApplication::activeWindow(), tr("Update Available"),
        tr("A newer version (%1) of this application is available.\n\nWould you like to go to the download page?")
            .arg(version));
    if (answer == QMessageBox::Yes && !url.isEmpty())
        BrowserLauncher::open(QUrl(url));
}

void UpdateChecker::handleNoUpdateAvailable(QString app, QString versionStr) {
    Q_UNUSED(app)
    finishCheck();
    qCDebug(lcUpdate) << "Update: No update available. Have latest version.";
    if (m_verbose)
        MessageBoxes::information(QApplication::activeWindow(), tr("No Update Available"),
                                  tr("You have the latest version: v%1").arg(versionStr));
}

void UpdateChecker::finishCheck() {
    // Every check has connections of its own.
    disconnect(m_successConnection);
    disconnect(m_failureConnection);
    disconnect(m_availableConnection);
    disconnect(m_noUpdateConnection);
    m_checking = false;
}

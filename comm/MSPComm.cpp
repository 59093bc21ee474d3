#include "MSPComm.h"

#include "CommLog.h"
#include "CommMessageBox.h"
#include "Discoverer.h"
#include "EventLoopWait.h"
#include "KeypadAddressing.h"
#include "KeypadDatagram.h"
#include "KeypadFailure.h"
#include "LowDelaySockets.h"
#include "MSPDocument.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "NetworkPrefs.h"
#include "ReplySizeLimit.h"
#include "SystemConfiguration.h"
#include "Vexil.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkConfigurationManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUdpSocket>
#include <QUrl>
#include <QtDebug>

#include <algorithm>

namespace {

const QString ConfigPath = QStringLiteral("/api/v1/config");
const QString ShowsPath = QStringLiteral("/api/v1/shows");
const QString ScenePathPrefix = QStringLiteral("/api/v1/shows/");
constexpr int ConfigurationPacingMs = 500;
constexpr int AddressChangeSettleMs = 1000;
constexpr int SceneButtonWaitMs = 400;
constexpr int SocketToggleMs = 1000;
constexpr int MacSize = 6;
constexpr quint16 HttpPort = 80;

} // namespace

MSPComm* MSPComm::instance() {
    static MSPComm* comm = new MSPComm;
    return comm;
}

MSPComm::MSPComm()
    : m_networkAccessManager(new QNetworkAccessManager(this)) {
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    m_networkConfigurationManager = new QNetworkConfigurationManager(this);
    QT_WARNING_POP
    qRegisterMetaType<QNetworkReply*>("QNetworkReply*");
    MSPDeviceLink::registerLink(this);
    connect(m_networkAccessManager, &QNetworkAccessManager::finished, this, &MSPComm::replyFinished);
    m_sceneUpdateTimer.setSingleShot(false);
    connect(&m_sceneUpdateTimer, &QTimer::timeout, this, &MSPComm::handleSceneUpdateTimer);
    m_clock.start();
    m_deliveryTimer.setSingleShot(true);
    connect(&m_deliveryTimer, &QTimer::timeout, this, &MSPComm::sendDue);
    // Every request to a scene makes the keypad play it, and its web server may serve two
    // connections in either order.
    m_delivery.orderAcross(ScenePathPrefix);

    m_keyPadSocket = new QUdpSocket(this);
    // Keypads speak IPv4; binding to the IPv4 "any" address keeps senders in dotted form.
    if (!m_keyPadSocket->bind(QHostAddress::AnyIPv4, KeypadNoticePort, QAbstractSocket::ReuseAddressHint)) {
        qCWarning(lcComm) << "binding the keypad port failed:" << m_keyPadSocket->errorString();
        CommMessageBox::critical(tr("Error"), tr("Failed to bind to port 6041.  Close any application that may be "
                                                 "using this port and restart this program."));
        return;
    }
    connect(m_keyPadSocket, &QUdpSocket::readyRead, this, &MSPComm::processPendingKeyPadDatagrams);
    m_heartBeatSocket = new QUdpSocket(this);
    connect(m_heartBeatSocket, &QUdpSocket::readyRead, this, &MSPComm::processPendingHeartBeatDatagrams);
    connect(&m_socketToggleTimer, &QTimer::timeout, this, &MSPComm::toggleSocket);
}

MSPComm::~MSPComm() {
    if (m_keyPadSocket)
        m_keyPadSocket->close();
    if (m_heartBeatSocket)
        m_heartBeatSocket->close();
}

void MSPComm::setDevice(const QString& address, const QByteArray& mac) {
    // The same keypad at a new address still gets what waits for it; another keypad does not: an
    // edit sent there would overwrite a scene the user has not even seen yet.
    const bool sameKeypad = !mac.isEmpty() && mac == m_mac;
    if (!sameKeypad && (address != m_address || mac != m_mac)) {
        m_sceneUpdateTimer.stop();
        m_pendingScene = nullptr;
        if (const int given = m_delivery.discard())
            qCWarning(lcComm) << given << "writes for" << m_address << "given up: another keypad was chosen";
        m_delivery.reset();
        m_deliveries.clear();
        m_showsDeferred = m_configDeferred = false;
        // What the other keypad plays unsaved is nothing this one plays.
        MSPSceneModel::instance()->clearUnsaved();
    }
    m_address = address;
    m_mac = mac;
    sendDue();
}

void MSPComm::setNetworkPrefs(NetworkPrefs* prefs) {
    m_networkPrefs = prefs;
    connect(prefs, &NetworkPrefs::interfaceChosen, this, &MSPComm::handleHostAddressChanged);
}

bool MSPComm::isOnLocalSubnet(const QString& address) {
    QHostAddress interfaceAddress;
    unsigned int netmask = 0;
    QHostAddress broadcast;
    Discoverer::instance()->vexil()->getInterface(interfaceAddress, netmask, broadcast);

    const QHostAddress target(address);
    if (target.isNull())
        return false;
    if (interfaceAddress.toIPv4Address() != 0)
        return KeypadAddressing::sharesSubnet(interfaceAddress, target, netmask);
    return KeypadAddressing::sharesAnySubnet(target, KeypadAddressing::localAddressEntries());
}

bool MSPComm::keypadReachable() const {
    if (m_offlineDemo) {
        if (!m_address.isEmpty())
            qCDebug(lcComm) << "offline demo: nothing sent to" << m_address;
        return false;
    }
    return mayTalkToKeypad();
}

bool MSPComm::mayTalkToKeypad() const {
    return !m_offlineDemo && !m_address.isEmpty() && isOnLocalSubnet(m_address);
}

void MSPComm::setPostsSuppressed(bool suppressed) {
    m_postsSuppressed = suppressed;
    // Lifted at the end of a document being read: what waits goes out once the read is over.
    if (!suppressed && !m_delivery.isIdle())
        m_deliveryTimer.start(0);
}

void MSPComm::limitTransferTime(QNetworkReply* reply) {
    // The stack's own limit counts only quiet time: a keypad that keeps a reply dribbling in would
    // hold it for ever, so the whole transfer is limited too.
    QTimer::singleShot(TransferTimeoutMs, reply, [reply] {
        if (!reply->isRunning())
            return;
        qCWarning(lcComm) << "no complete reply from" << reply->url().toString() << "within" << TransferTimeoutMs
                          << "ms";
        reply->abort();
    });
}

QNetworkReply* MSPComm::get(const QString& path) {
    QNetworkRequest request(QUrl(QStringLiteral("http://") + m_address + path, QUrl::TolerantMode));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    request.setTransferTimeout(TransferTimeoutMs);
    ++m_outstanding;
    QNetworkReply* reply = m_networkAccessManager->get(request);
    limitTransferTime(reply);
    ReplySizeLimit::watch(reply);
    return reply;
}

QNetworkReply* MSPComm::post(const QString& path, const QString& body) {
    QNetworkRequest request(QUrl(QStringLiteral("http://") + m_address + path, QUrl::TolerantMode));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    request.setTransferTimeout(TransferTimeoutMs);
    // A connection must not hold the body back until the headers are acknowledged: a reused one
    // is switched now, a new one is opened ahead and switched once connected (LowDelaySockets).
    // A post without a body (a keypad press read) goes in one piece and is not held.
    const QHostAddress keypad(m_address);
    if (LowDelaySockets::applyTo(keypad, HttpPort) == 0 && LowDelaySockets::isEnabled() && !body.isEmpty() &&
        !LowDelaySockets::hasConnection(keypad, HttpPort)) {
        m_networkAccessManager->connectToHost(m_address, HttpPort);
        LowDelaySockets::awaitConnection(keypad, HttpPort, PreconnectWaitMs);
    }
    ++m_outstanding;
    QNetworkReply* reply = m_networkAccessManager->post(request, body.toLatin1());
    limitTransferTime(reply);
    ReplySizeLimit::watch(reply);
    return reply;
}

void MSPComm::announce(bool post, const QString& path, const QString& body) {
    // Only once the reply is filed: whoever listens may run the event loop, and the reply finish.
    emit requestSent(post ? QStringLiteral("POST") : QStringLiteral("GET"), path, body);
}

void MSPComm::getShows(bool revertActiveScene) {
    if (!keypadReachable())
        return;
    // Read now, the scenes would show the keypad's old state over the user's newer one.
    if (m_delivery.hasWrites(ScenePathPrefix)) {
        m_showsDeferred = true;
        return;
    }
    QNetworkReply* reply = get(ShowsPath);
    if (revertActiveScene)
        m_showsReply = reply;
    announce(false, ShowsPath, QString());
}

void MSPComm::requestScene(int index, bool unparsed) {
    if (!keypadReachable())
        return;
    if (index < KeypadDatagram::FirstScene - 1 || index > KeypadDatagram::LastScene - 1) {
        qCWarning(lcComm) << "no scene with index" << index;
        return;
    }
    queueRequest(ScenePathPrefix + QString::number(index + 1), false, QString(), unparsed, false,
                 DeliveryQueue::Kind::Read);
}

quint64 MSPComm::queueRequest(const QString& path, bool post, const QString& body, bool unparsed, bool failureTolerant,
                              DeliveryQueue::Kind kind) {
    DeliveryQueue::Request request;
    request.path = path;
    request.post = post;
    request.body = body;
    request.unparsed = unparsed;
    request.failureTolerant = failureTolerant;
    request.kind = kind;
    const quint64 id = m_delivery.add(request, m_clock.elapsed());
    sendDue();
    return id;
}

quint64 MSPComm::sendStep(const QString& path, bool post, const QString& body, bool readReply) {
    if (path.isEmpty() || !keypadReachable())
        return 0;
    if (post)
        noteSceneWrite(path, body);
    return queueRequest(path, post, body, !readReply, false, DeliveryQueue::Kind::Managed);
}

void MSPComm::sendDue() {
    const qint64 now = m_clock.elapsed();
    // While a reply is read nothing leaves; in the offline demo nothing at all.
    if (!m_postsSuppressed && mayTalkToKeypad()) {
        const QList<DeliveryQueue::Request> due = m_delivery.takeDue(now);
        for (const DeliveryQueue::Request& request : due) {
            if (request.attempts > 1)
                qCInfo(lcComm).noquote() << "sending again, try" << request.attempts << ":" << request.path
                                         << request.body;
            QNetworkReply* reply = request.post ? post(request.path, request.body) : get(request.path);
            if (request.unparsed)
                m_unparsedReplies.append(reply);
            if (request.failureTolerant)
                m_failureTolerantReplies.append(reply);
            m_deliveries.insert(reply, request.id);
            announce(request.post, request.path, request.body);
        }
        runDeferredReads();
    }
    const int waiting = m_delivery.waitingWrites(now);
    if (waiting != m_waitingWrites) {
        if (m_waitingWrites == 0)
            qCWarning(lcComm) << waiting << "writes wait for the keypad at" << m_address;
        else if (waiting == 0)
            qCInfo(lcComm) << "every waiting write has reached the keypad at" << m_address;
        m_waitingWrites = waiting;
        emit waitingWritesChanged(waiting);
    }
    const qint64 next = m_delivery.nextChange(now);
    if (next < 0)
        m_deliveryTimer.stop();
    else
        m_deliveryTimer.start(int(std::min<qint64>(next - now, TransferTimeoutMs)));
}

void MSPComm::runDeferredReads() {
    if (m_configDeferred && !m_delivery.hasWrites(ConfigPath)) {
        m_configDeferred = false;
        getConfig();
    }
    // After writes that waited for the keypad the active scene plays what the user made, and a
    // revert would throw that away again.
    if (m_showsDeferred && !m_delivery.hasWrites(ScenePathPrefix)) {
        m_showsDeferred = false;
        getShows(false);
    }
}

void MSPComm::finishDelivery(QNetworkReply* reply, quint64 id, bool failed, bool tolerant) {
    const bool answered = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    const DeliveryQueue::Outcome outcome = !failed || tolerant ? DeliveryQueue::Outcome::Delivered
                                           : answered          ? DeliveryQueue::Outcome::Refused
                                                               : DeliveryQueue::Outcome::Failed;
    const QString failure = failed && !tolerant ? KeypadFailure::describe(reply, TransferTimeoutMs) : QString();
    const QString what = reply->url().path();
    switch (m_delivery.finish(id, outcome, m_clock.elapsed())) {
    case DeliveryQueue::Verdict::Done:
    case DeliveryQueue::Verdict::Returned:
        break;
    case DeliveryQueue::Verdict::Retry:
        qCWarning(lcComm).noquote() << "the keypad at" << m_address << failure << "- a write to" << what
                                    << "waits and is sent again when the keypad answers";
        break;
    case DeliveryQueue::Verdict::Superseded:
        qCWarning(lcComm).noquote() << "the keypad at" << m_address << failure << "- the newer write to" << what
                                    << "waiting behind it goes instead";
        break;
    case DeliveryQueue::Verdict::Dropped:
        if (!failure.isEmpty())
            qCWarning(lcComm).noquote() << "the keypad at" << m_address << failure << "- the request to" << what
                                        << "is not sent again";
        break;
    }
    emit requestFinished(id, outcome == DeliveryQueue::Outcome::Delivered, failure);
}

int MSPComm::discardWaitingWrites() {
    const int given = m_delivery.discard();
    if (given > 0)
        qCWarning(lcComm) << given << "writes for the keypad at" << m_address << "given up by the user";
    sendDue();
    return given;
}

int MSPComm::discardWaitingWrites(const QStringList& paths) {
    const int given = m_delivery.discard(paths);
    if (given > 0)
        qCInfo(lcComm) << given << "waiting writes replaced by newer ones";
    sendDue();
    return given;
}

void MSPComm::getScene(int index) {
    requestScene(index, false);
}

void MSPComm::getConfig() {
    if (!keypadReachable())
        return;
    if (m_delivery.hasWrites(ConfigPath)) {
        m_configDeferred = true;
        return;
    }
    m_configReply = get(ConfigPath);
    announce(false, ConfigPath, QString());
}

void MSPComm::postToDevice(const QString& path, const QString& body, bool unparsed, bool failureTolerant, bool apply) {
    if (m_postsSuppressed || path.isEmpty() || !keypadReachable())
        return;
    const QString sent = apply ? body + QStringLiteral("&apply=1") : body;
    noteSceneWrite(path, sent);
    if (path.startsWith(ScenePathPrefix) || path == ConfigPath) {
        queueRequest(path, true, sent, unparsed, failureTolerant, DeliveryQueue::kindOf(true, sent));
        return;
    }
    QNetworkReply* reply = post(path, sent);
    if (unparsed)
        m_unparsedReplies.append(reply);
    if (failureTolerant)
        m_failureTolerantReplies.append(reply);
    announce(true, path, sent);
}

void MSPComm::noteEdit(MSPScene* scene) {
    // The keypad plays an edit at once and keeps it only when saved.
    if (!m_postsSuppressed && keypadReachable()) {
        MSPSceneModel* model = MSPSceneModel::instance();
        model->setUnsaved(model->indexOf(scene), true);
    }
}

void MSPComm::noteSceneWrite(const QString& path, const QString& body) {
    // Saved or reverted, a scene plays what the keypad keeps.
    if (path.startsWith(ScenePathPrefix) && body.contains(QLatin1String("apply=")))
        MSPSceneModel::instance()->setUnsaved(path.mid(ScenePathPrefix.size()).toInt() - 1, false);
}

void MSPComm::handleEffectChanged(MSPScene* scene) {
    if (!scene || readingDocument())
        return;
    noteEdit(scene);
    postToDevice(scene->url(), scene->PostData(), true, false, false);
}

void MSPComm::handleEffectParamsChanged(MSPScene* scene) {
    if (!scene || readingDocument())
        return;
    noteEdit(scene);
    if (m_pendingScene && m_pendingScene != scene)
        handleSceneUpdateTimer();
    m_pendingScene = scene;
    if (m_sceneUpdateTimer.isActive()) {
        if (m_sceneUpdateTimer.remainingTime() == 0)
            handleSceneUpdateTimer();
    } else {
        m_sceneUpdateTimer.start(SceneUpdateIntervalMs);
    }
}

void MSPComm::handleSceneUpdateTimer() {
    if (!m_sceneUpdateTimer.isActive())
        return;
    m_sceneUpdateTimer.stop();
    if (m_pendingScene) {
        MSPScene* scene = m_pendingScene;
        m_pendingScene = nullptr;
        postToDevice(scene->url(), scene->PostData(), true, false, false);
    }
}

void MSPComm::applyScene(MSPScene* scene) {
    handleSceneUpdateTimer();
    if (scene)
        postToDevice(scene->url(), QStringLiteral("apply=1"), true, false, false);
}

void MSPComm::revertScene(MSPScene* scene) {
    handleSceneUpdateTimer();
    if (scene)
        postToDevice(scene->url(), QStringLiteral("apply=0"), false, false, false);
}

void MSPComm::brightnessUp() {
    postToDevice(ConfigPath, QStringLiteral("rel_bright=1"), true, false, false);
}

void MSPComm::brightnessDown() {
    postToDevice(ConfigPath, QStringLiteral("rel_bright=0"), true, false, false);
}

void MSPComm::pressOnOff() {
    postToDevice(ConfigPath, QStringLiteral("off_press=1"), true, false, false);
}

void MSPComm::dropOutstandingReplies() {
    // Dropped replies keep running; they are only no longer expected to be unread or to fail.
    const QList<QNetworkReply*> unparsed = m_unparsedReplies;
    for (QNetworkReply* reply : unparsed) {
        m_unparsedReplies.removeAll(reply);
        m_failureTolerantReplies.removeAll(reply);
        reply->ignoreSslErrors();
    }
    const QList<QNetworkReply*> tolerant = m_failureTolerantReplies;
    for (QNetworkReply* reply : tolerant) {
        m_failureTolerantReplies.removeAll(reply);
        reply->ignoreSslErrors();
    }
}

void MSPComm::restoreFactoryDefaults() {
    // The keypad is about to forget everything; what waits for it would undo the reset.
    if (const int given = m_delivery.discard())
        qCWarning(lcComm) << given << "waiting writes given up for a factory reset";
    MSPSceneModel::instance()->clearUnsaved();
    dropOutstandingReplies();
    postToDevice(ConfigPath, QStringLiteral("factory_reset=1"), true, true, false);
}

void MSPComm::sendConfiguration(const QStringList& bodies, const QString& newIpAddress) {
    if (m_offlineDemo)
        return;
    const bool changingAddress = !newIpAddress.isEmpty();
    if (isOnLocalSubnet(m_address)) {
        for (int i = 0; i < bodies.size(); ++i) {
            const bool last = i == bodies.size() - 1;
            postToDevice(ConfigPath, bodies.at(i), changingAddress || !last, changingAddress, true);
            EventLoopWait::wait(ConfigurationPacingMs);
        }
    }
    if (!changingAddress)
        return;
    // Writes queued behind a slow reply still go out before the keypad moves to its new address.
    QTimer drain;
    drain.setSingleShot(true);
    drain.start(TransferTimeoutMs);
    while (m_delivery.hasWrites(ConfigPath) && drain.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EventLoopWait::wait(AddressChangeSettleMs);
    dropOutstandingReplies();
    EventLoopWait::wait(AddressChangeSettleMs);
    if (m_mac.size() < MacSize) {
        qCWarning(lcComm) << "no hardware address known for" << m_address << "- cannot change its address";
        return;
    }
    const QByteArray address = KeypadAddressing::normalisedAddress(newIpAddress).toLatin1();
    QByteArray mac = m_mac;
    Discoverer::instance()->vexil()->sendSetIP(mac.data(), address.constData());
}

bool MSPComm::parseReply(QIODevice* reply) {
    ++m_parsingReplies;
    const MSPDocument::ReadResult result = MSPDocument::read(reply, false);
    --m_parsingReplies;
    if (!result.ok)
        qCDebug(lcComm).noquote() << "keypad reply not fully read:" << result.error;
    if (result.currentShowIndex != -1)
        emit activeSceneIndexChanged(result.currentShowIndex);
    return result.ok;
}

void MSPComm::waitForActiveSceneButton() {
    SystemConfiguration* configuration = SystemConfiguration::instance();
    MSPSceneModel* model = MSPSceneModel::instance();
    QTimer timer;
    timer.setSingleShot(true);
    timer.start(SceneButtonWaitMs);
    while (!configuration->isSceneEnabled(model->activeSceneIndex()) && timer.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (configuration->isSceneEnabled(model->activeSceneIndex()))
        return;
    const int index = configuration->firstEnabledScene();
    model->setActiveSceneIndex(index, false);
    emit activeSceneIndexChanged(index);
    requestScene(index, false);
}

void MSPComm::replyFinished(QNetworkReply* reply) {
    // The connection opened ahead of a post reports its own end; it is no request of ours.
    if (reply->url().scheme() == QLatin1String("preconnect-http")) {
        reply->deleteLater();
        return;
    }
    --m_outstanding;
    const quint64 delivery = m_deliveries.take(reply);
    const bool unparsed = m_unparsedReplies.contains(reply);
    // A keypad that resets drops the connection; one that floods us has not reset.
    const bool tolerant = m_failureTolerantReplies.contains(reply) && !ReplySizeLimit::refused(reply);
    const bool failed = reply->error() != QNetworkReply::NoError;

    if (!unparsed && !failed) {
        parseReply(reply);
        if (m_keyPadSceneReplies.removeAll(reply) > 0)
            getConfig();
        waitForActiveSceneButton();
    } else if (unparsed) {
        m_unparsedReplies.removeAll(reply);
    }

    if (failed && !tolerant) {
        qCDebug(lcComm).noquote() << reply->url().toString() << KeypadFailure::describe(reply, TransferTimeoutMs) << "-"
                                  << reply->errorString();
        if (reply->url().host() == m_address)
            emit networkError();
        else
            qCDebug(lcComm) << "reply for wrong address";
    } else {
        emit heartBeat(true);
        m_failureTolerantReplies.removeAll(reply);
    }

    if (reply == m_configReply) {
        emit configReceived();
        m_configReply = nullptr;
    }
    if (reply == m_showsReply) {
        m_showsReply = nullptr;
        MSPSceneModel* model = MSPSceneModel::instance();
        revertScene(model->scene(model->activeSceneIndex()));
    }
    if (delivery)
        finishDelivery(reply, delivery, failed, tolerant);
    else if (reply->url().host() == m_address &&
             (!failed || reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()))
        m_delivery.lifeSign(m_clock.elapsed());
    reply->deleteLater();
    if (m_firstReply) {
        m_firstReply = false;
        m_socketToggleTimer.start(SocketToggleMs);
    }
    // What waited behind this reply goes out as soon as the event loop turns, even when a listener
    // below starts a file load from here and runs the loop until it is done.
    m_deliveryTimer.start(0);
    emit replyHandled(reply);
}

void MSPComm::toggleSocket() {
    if (!m_heartBeatSocket)
        return;
    m_socketEnabled = !m_socketEnabled;
    if (m_socketEnabled && !m_bindErrorShowing) {
        qCDebug(lcComm) << "################### enabling socket #########################";
        if (!m_heartBeatSocket->bind(QHostAddress::AnyIPv4, HeartBeatPort, QAbstractSocket::ReuseAddressHint)) {
            qCWarning(lcComm) << "binding the heartbeat port failed:" << m_heartBeatSocket->errorString();
            m_bindErrorShowing = true;
            CommMessageBox::critical(
                tr("Error"), tr("Failed to bind to port 6038.  Close any application that may be using this port."));
            m_bindErrorShowing = false;
            return;
        }
        qCDebug(lcComm) << "################### socket enabled #########################";
        return;
    }
    m_heartBeatSocket->close();
}

void MSPComm::processPendingHeartBeatDatagrams() {
    while (m_heartBeatSocket->state() == QAbstractSocket::BoundState && m_heartBeatSocket->hasPendingDatagrams()) {
        QByteArray datagram(static_cast<int>(qMax<qint64>(m_heartBeatSocket->pendingDatagramSize(), 0)), '\0');
        QHostAddress sender;
        m_heartBeatSocket->readDatagram(datagram.data(), datagram.size(), &sender);
        if (sender.toString() != m_address)
            continue;
        qCDebug(lcComm) << " ******************** got heartbeat ******************* ";
        emit heartBeat(isOnLocalSubnet(m_address));
        // The keypad is there: what failed to reach it may go again.
        m_delivery.lifeSign(m_clock.elapsed());
        sendDue();
        toggleSocket();
        break;
    }
}

void MSPComm::processPendingKeyPadDatagrams() {
    while (m_keyPadSocket->state() == QAbstractSocket::BoundState && m_keyPadSocket->hasPendingDatagrams()) {
        QByteArray datagram(static_cast<int>(qMax<qint64>(m_keyPadSocket->pendingDatagramSize(), 0)), '\0');
        QHostAddress sender;
        m_keyPadSocket->readDatagram(datagram.data(), datagram.size(), &sender);
        if (sender.toString() != m_address)
            continue;

        const KeypadDatagram notice = KeypadDatagram::parse(datagram);
        if (notice.kind() == KeypadDatagram::Kind::SceneNotice) {
            const int scene = notice.sceneNumber();
            qCDebug(lcComm).noquote() << "MSPComm::processPendingKeyPadDatagrams() - scene:" << scene;
            if (!notice.hasValidScene()) {
                qCWarning(lcComm) << "ignoring a notice for scene" << scene << "which the keypad does not have";
                continue;
            }
            if (MSPSceneModel::instance()->activeSceneIndex() == scene - 1)
                continue;
            qCDebug(lcComm) << "MSPComm::processPendingKeyPadDatagrams() - getting scene";
            const QString path = ScenePathPrefix + QString::number(scene);
            QNetworkReply* reply = post(path, QString());
            if (SystemConfiguration::instance()->brightness() == -1 && !m_loadingFile)
                m_keyPadSceneReplies.append(reply);
            announce(true, path, QString());
        } else if (notice.kind() == KeypadDatagram::Kind::ConfigurationNotice) {
            getConfig();
        }
    }
}

void MSPComm::handleHostAddressChanged(QNetworkAddressEntry hostAddressEntry, QString name) {
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    if (name.isEmpty()) {
        m_networkAccessManager->setConfiguration(m_networkConfigurationManager->defaultConfiguration());
    } else {
        const QList<QNetworkConfiguration> configurations = m_networkConfigurationManager->allConfigurations();
        for (const QNetworkConfiguration& configuration : configurations) {
            if (configuration.name() == name) {
                m_networkAccessManager->setConfiguration(configuration);
                break;
            }
        }
    }
    QT_WARNING_POP
    Vexil* vexil = Discoverer::instance()->vexil();
    vexil->resetSocket();
    if (!vexil->setInterface(hostAddressEntry))
        qCDebug(lcComm).noquote() << "setting the vexil interface failed for " + name;
}

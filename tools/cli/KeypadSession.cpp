#include "KeypadSession.h"

#include "ConfigurationFileReader.h"
#include "KeypadFailure.h"
#include "MSPComm.h"
#include "MSPDescription.h"
#include "MSPDocumentComparison.h"
#include "MSPEffect.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "ReplySizeLimit.h"
#include "SystemConfiguration.h"
#include "SystemConfigurationCheck.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QNetworkReply>

namespace {

// Far longer than any request may take (each has its own transfer limit); it only guards
// against a run that would never end.
constexpr int SettleLimitMs = 120000;

const char* keyName(MSPKeyPress::Key key) {
    switch (key) {
    case MSPKeyPress::Key::Up:
        return "up";
    case MSPKeyPress::Key::Down:
        return "down";
    case MSPKeyPress::Key::OnOff:
        return "on/off";
    }
    return "";
}

} // namespace

KeypadSession::KeypadSession() {
    MSPComm* comm = MSPComm::instance();
    MSPSceneModel* model = MSPSceneModel::instance();
    connect(model, &MSPSceneModel::effectParamsChanged, comm, &MSPComm::handleEffectParamsChanged);
    connect(model, &MSPSceneModel::effectChanged, comm, &MSPComm::handleEffectChanged);
    connect(comm, &MSPComm::replyHandled, this, &KeypadSession::handleReply);
    // As the editor's window does: the keypad's word on its active scene is the model's.
    connect(comm, &MSPComm::activeSceneIndexChanged, model,
            [model](int index) { model->setActiveSceneIndex(index, false); });
    connect(comm, &MSPComm::requestSent, this,
            [this](const QString& method, const QString& path) { emit requestSent(method, path); });
}

QString KeypadSession::addressProblem(const QString& address) {
    const QHostAddress host(address);
    if (host.isNull() || host.protocol() != QAbstractSocket::IPv4Protocol)
        return QStringLiteral("%1 is not an IPv4 address").arg(address);
    if (!MSPComm::isOnLocalSubnet(address))
        return QStringLiteral("%1 is not on any local subnet").arg(address);
    return QString();
}

bool KeypadSession::fail(const QString& message) {
    m_error = message;
    return false;
}

void KeypadSession::handleReply(QNetworkReply* reply) {
    if (reply->error() == QNetworkReply::NoError || reply->url().host() != m_address)
        return;
    m_replyFailed = true;
    m_replyError = ReplySizeLimit::refused(reply) ? ReplySizeLimit::message(reply)
                                                  : KeypadFailure::describe(reply, MSPComm::TransferTimeoutMs);
}

bool KeypadSession::settle(const QString& what) {
    MSPComm* comm = MSPComm::instance();
    QDeadlineTimer deadline(SettleLimitMs);
    while (comm->hasOutstandingReplies() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    if (comm->hasOutstandingReplies())
        return fail(QStringLiteral("keypad at %1 did not finish %2").arg(m_address, what));
    if (m_replyFailed)
        return fail(QStringLiteral("keypad at %1 failed while %2: %3").arg(m_address, what, m_replyError));
    return true;
}

bool KeypadSession::open(const QString& address, const QByteArray& mac) {
    m_address = address;
    m_name.clear();
    m_error.clear();
    m_replyFailed = false;
    m_replyError.clear();
    // What the previous keypad left in the shared models must not steer this one: with its
    // active scene disabled here, reading the configuration would select another scene.
    MSPSceneModel::instance()->setActiveSceneIndex(0, false);
    SystemConfiguration::instance()->handleDiscovering();

    MSPComm* comm = MSPComm::instance();
    comm->setDevice(address, mac);
    comm->getConfig();
    if (!settle(QStringLiteral("reading the configuration")))
        return false;
    m_name = SystemConfiguration::instance()->name();
    return true;
}

bool KeypadSession::readConfiguration() {
    MSPComm::instance()->getConfig();
    return settle(QStringLiteral("reading the configuration"));
}

bool KeypadSession::readScenes() {
    MSPComm::instance()->getShows(false);
    if (!settle(QStringLiteral("reading the scenes")))
        return false;
    MSPSceneModel* model = MSPSceneModel::instance();
    for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
        if (!model->scene(i) || !model->scene(i)->effect())
            return fail(QStringLiteral("keypad at %1 sent no scene %2").arg(m_address).arg(i + 1));
    }
    return true;
}

QByteArray KeypadSession::document() const {
    return MSPDocument::fileContents();
}

bool KeypadSession::restore(const QByteArray& contents, int* requests, MSPDocument::ReadResult* read) {
    *requests = 0;
    const QMetaObject::Connection counter =
        connect(MSPComm::instance(), &MSPComm::requestSent, this, [requests] { ++*requests; });
    QByteArray data = contents;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    *read = ConfigurationFileReader::read(&buffer, true);
    // A step that failed and went again is the restore's own affair; it says so if it gave up.
    m_replyFailed = false;
    const bool settled = read->keypadFailure.isEmpty() && settle(QStringLiteral("restoring"));
    disconnect(counter);
    if (!read->keypadFailure.isEmpty()) {
        QString message = read->keypadFailure;
        message[0] = message.at(0).toLower();
        return fail(message);
    }
    return settled;
}

bool KeypadSession::previewRestore(const QByteArray& contents, QStringList* differences) {
    differences->clear();
    if (!readScenes())
        return false;
    // What the keypad holds, and what it would hold: the document read into the same models
    // without sending, with what a restore sets besides.
    MSPSceneModel* model = MSPSceneModel::instance();
    SystemConfiguration* configuration = SystemConfiguration::instance();
    const int active = model->activeSceneIndex();
    const MSPDescription::Document before = MSPDescription::document(*model, *configuration, active);
    QByteArray data = contents;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    const MSPDocument::ReadResult read = ConfigurationFileReader::read(&buffer, false);
    configuration->setBrightness(255);
    // Firmware without button switches keeps every button enabled, whatever it is sent.
    if (SystemConfigurationCheck::buttonGate(configuration->version()) == SystemConfigurationCheck::ButtonGate::Closed)
        configuration->handleDiscovering();
    // A restore asks for the document's active scene last, which makes it the keypad's.
    const int current = read.currentShowIndex >= 0 ? read.currentShowIndex : active;
    *differences = MSPDocumentComparison(before, MSPDescription::document(*model, *configuration, current)).lines();
    return true;
}

bool KeypadSession::sendConfiguration(bool withBrightness) {
    SystemConfiguration* configuration = SystemConfiguration::instance();
    MSPComm::instance()->sendConfiguration(configuration->PostData(false, withBrightness), QString());
    return settle(QStringLiteral("saving the configuration"));
}

bool KeypadSession::selectScene(int index) {
    SystemConfiguration* configuration = SystemConfiguration::instance();
    if (!configuration->isSceneEnabled(index))
        return fail(QStringLiteral("keypad at %1 has its scene %2 button disabled").arg(m_address).arg(index + 1));
    MSPSceneModel* model = MSPSceneModel::instance();
    model->setActiveSceneIndex(index, false);
    MSPComm::instance()->getScene(index);
    if (!settle(QStringLiteral("selecting scene %1").arg(index + 1)))
        return false;
    if (model->activeSceneIndex() != index) {
        return fail(QStringLiteral("keypad at %1 did not select scene %2: it reports scene %3 active")
                        .arg(m_address)
                        .arg(index + 1)
                        .arg(model->activeSceneIndex() + 1));
    }
    return true;
}

bool KeypadSession::press(MSPKeyPress::Key key, bool* sent) {
    *sent = false;
    const SystemConfiguration* configuration = SystemConfiguration::instance();
    const bool enabled = key == MSPKeyPress::Key::Up     ? configuration->upCheckBoxState()
                         : key == MSPKeyPress::Key::Down ? configuration->downCheckBoxState()
                                                         : configuration->onOffCheckBoxState();
    if (!enabled)
        return fail(QStringLiteral("keypad at %1 has its %2 button disabled").arg(m_address, keyName(key)));

    MSPSceneModel* model = MSPSceneModel::instance();
    const MSPScene* scene = model->scene(model->activeSceneIndex());
    const int effectType = scene && scene->effect() ? scene->effect()->type() : -1;
    if (!MSPKeyPress::isSent(key, effectType, configuration->brightness()))
        return true;

    MSPComm* comm = MSPComm::instance();
    if (key == MSPKeyPress::Key::Up)
        comm->brightnessUp();
    else if (key == MSPKeyPress::Key::Down)
        comm->brightnessDown();
    else
        comm->pressOnOff();
    *sent = true;
    return settle(QStringLiteral("pressing %1").arg(keyName(key)));
}

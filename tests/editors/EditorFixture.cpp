#include "EditorFixture.h"

#include "CommMessageBox.h"
#include "ConnectionState.h"
#include "MSPComm.h"
#include "MSPEffectFactory.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "RecordingHttpServer.h"

#include <QHostAddress>
#include <QtTest>

const QString EditorFixture::KeypadAddress = QStringLiteral("10.77.0.1");

EditorFixture::EditorFixture() {
    m_heartBeats.setInterval(300);
    connect(&m_heartBeats, &QTimer::timeout, this, [] { emit MSPComm::instance()->heartBeat(true); });
}

EditorFixture::~EditorFixture() {
    CommMessageBox::setHandler({});
    delete m_server;
}

bool EditorFixture::start() {
    CommMessageBox::setHandler(
        [this](const QString& title, const QString& text) { m_messages << title + QStringLiteral(": ") + text; });
    MSPComm* comm = MSPComm::instance();
    if (!m_messages.isEmpty()) {
        qWarning() << m_messages;
        return false;
    }
    m_server = new RecordingHttpServer;
    if (!m_server->listen(QHostAddress(KeypadAddress))) {
        qWarning() << "the recording keypad cannot listen on" << KeypadAddress;
        return false;
    }
    MSPSceneModel* model = MSPSceneModel::instance();
    connect(model, &MSPSceneModel::effectParamsChanged, comm, &MSPComm::handleEffectParamsChanged);
    connect(model, &MSPSceneModel::effectChanged, comm, &MSPComm::handleEffectChanged);
    connect(comm, &MSPComm::requestSent, this, [this](const QString& method, const QString& path, const QString& body) {
        m_requests << method + QLatin1Char(' ') + path + QLatin1Char(' ') + body;
    });
    comm->setDevice(KeypadAddress, QByteArray::fromHex("0050C2AABBCC"));
    return true;
}

bool EditorFixture::waitForRequests(int count, int timeout) const {
    QElapsedTimer clock;
    clock.start();
    while (m_requests.size() < count && clock.elapsed() < timeout)
        QTest::qWait(10);
    return m_requests.size() >= count;
}

bool EditorFixture::waitIdle() const {
    QElapsedTimer clock;
    clock.start();
    while (MSPComm::instance()->hasOutstandingReplies() && clock.elapsed() < Generous)
        QTest::qWait(10);
    return !MSPComm::instance()->hasOutstandingReplies();
}

void EditorFixture::resetScenes(const QList<int>& kinds, int activeIndex) {
    MSPSceneModel* model = MSPSceneModel::instance();
    for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
        MSPScene* scene = model->scene(i);
        scene->setURL(QStringLiteral("/api/v1/shows/") + QString::number(i + 1));
        scene->setEffect(MSPEffectFactory::instance()->create(kinds.value(i, 0), scene), false);
    }
    model->setActiveSceneIndex(activeIndex, false);
}

void EditorFixture::keepConnected(bool on) {
    if (on) {
        emit MSPComm::instance()->heartBeat(true);
        m_heartBeats.start();
    } else {
        m_heartBeats.stop();
    }
}

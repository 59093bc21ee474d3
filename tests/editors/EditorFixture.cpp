#include "EditorFixture.h"

#include "CommMessageBox.h"
#include "MSPComm.h"
#include "MSPEffectFactory.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "RecordingHttpServer.h"

#include <QtTest>

const QString EditorFixture::KeypadAddress = QStringLiteral("10.77.0.1");

EditorFixture::EditorFixture() {
    m_heartBeats.setInterval(300);
    connect(&m_heartBeats, &QTimer::timeout, this, [] { emit MSPComm::instance()->heartBeat(true); });
}

EditorFixture::~EditorFixture() {
    CommMessageBox::setHandler({});
}

bool EditorFixture::start() {
    // The REST client reports ports it cannot bind in a message box.
    QStringList messages;
    CommMessageBox::setHandler([&messages](const QString& title, const QString& text) { messages << title + text; });
    MSPComm* comm = MSPComm::instance();
    CommMessageBox::setHandler([](const QString& title, const QString& text) { qWarning() << title << text; });
    m_server = std::make_unique<RecordingHttpServer>();
    if (!messages.isEmpty() || !m_server->listen(QHostAddress(KeypadAddress))) {
        qWarning() << "no keypad at" << KeypadAddress << messages;
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

bool EditorFixture::waitForRequests(int count) const {
    return QTest::qWaitFor([&] { return m_requests.size() >= count; }, Generous);
}

bool EditorFixture::waitIdle() {
    return QTest::qWaitFor([] { return !MSPComm::instance()->hasOutstandingReplies(); }, Generous);
}

void EditorFixture::resetScenes(const QList<int>& kinds, int activeIndex) {
    MSPSceneModel* model = MSPSceneModel::instance();
    for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
        MSPScene* scene = model->scene(i);
        scene->setURL(QStringLiteral("/api/v1/shows/") + QString::number(i + 1));
        scene->setEffect(MSPEffectFactory::instance()->create(kinds.value(i, 0), scene), false);
    }
    model->setActiveSceneIndex(activeIndex, false);
    // Fresh scenes, nothing the keypad plays unsaved.
    model->clearUnsaved();
}

void EditorFixture::keepConnected(bool on) {
    if (on) {
        emit MSPComm::instance()->heartBeat(true);
        m_heartBeats.start();
    } else {
        m_heartBeats.stop();
    }
}

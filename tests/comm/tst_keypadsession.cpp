#include "CommMessageBox.h"
#include "ConfigurationFileReader.h"
#include "ConnectionState.h"
#include "Discoverer.h"
#include "KeypadSimulator.h"
#include "MSPColorWashEffect.h"
#include "MSPComm.h"
#include "MSPDocument.h"
#include "MSPEffectFactory.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QSignalSpy>

namespace {

constexpr int Generous = 20000;

QStringList logLines(const KeypadSimulator& sim) {
    QStringList lines;
    for (const KeypadSimulator::Request& request : sim.requestLog())
        lines << request.method + QLatin1Char(' ') + request.path + QLatin1Char(' ') +
                     QString::fromLatin1(request.body);
    return lines;
}

} // namespace

// The editor's communication code against simulated keypads, each a host of its own on the
// private network.
class TestKeypadSession : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void discoversOneAndThenThreeKeypads();
    void readsAndEditsAKeypad();
    void followsButtonPresses();
    void heartBeatsDriveTheConnectionState();
    void restoreSendsTheFileInOrder();
    void changesTheKeypadAddress();
    void factoryResetIsNoFailure();
    void keypadLostInTheMiddleOfARestore();

private:
    bool connectTo(KeypadSimulator& sim);

    MSPComm* m_comm = nullptr;
};

void TestKeypadSession::initTestCase() {
    CommMessageBox::setHandler([](const QString& title, const QString& text) { QFAIL(qPrintable(title + text)); });
    m_comm = MSPComm::instance();
    MSPSceneModel* model = MSPSceneModel::instance();
    connect(model, &MSPSceneModel::effectParamsChanged, m_comm, &MSPComm::handleEffectParamsChanged);
    connect(model, &MSPSceneModel::effectChanged, m_comm, &MSPComm::handleEffectChanged);
    connect(m_comm, &MSPComm::activeSceneIndexChanged, model,
            [model](int index) { model->setActiveSceneIndex(index, false); });
}

void TestKeypadSession::cleanup() {
    QTRY_VERIFY_WITH_TIMEOUT(!m_comm->hasOutstandingReplies(), Generous);
    m_comm->setDevice(QString(), QByteArray());
}

bool TestKeypadSession::connectTo(KeypadSimulator& sim) {
    m_comm->setDevice(sim.address(), sim.macBytes());
    m_comm->getConfig();
    m_comm->getShows();
    QElapsedTimer timer;
    timer.start();
    while (m_comm->hasOutstandingReplies() && timer.elapsed() < Generous)
        QTest::qWait(10);
    return !m_comm->hasOutstandingReplies();
}

void TestKeypadSession::discoversOneAndThenThreeKeypads() {
    Discoverer* discoverer = Discoverer::instance();
    KeypadSimulator alpha;
    QVERIFY(alpha.start({QStringLiteral("10.77.0.2"), QStringLiteral("Alpha")}));
    discoverer->discover();
    QTRY_COMPARE_WITH_TIMEOUT(discoverer->deviceCount(), 1, Generous);
    const DiscoveredDevice found = discoverer->devices().first();
    QCOMPARE(found.name(), QStringLiteral("Alpha"));
    QCOMPARE(found.address(), QStringLiteral("10.77.0.2"));
    QCOMPARE(found.mac(), alpha.macBytes());

    KeypadSimulator beta;
    KeypadSimulator gamma;
    QVERIFY(beta.start({QStringLiteral("10.77.0.10"), QStringLiteral("Beta")}));
    QVERIFY(gamma.start({QStringLiteral("10.77.0.3"), QStringLiteral("Gamma")}));
    // One broadcast can miss a host whose link came up a moment ago; asking again, as a user
    // would press Discover again, must find all three.
    bool foundAll = false;
    for (int attempt = 0; attempt < 5 && !foundAll; ++attempt) {
        discoverer->discover();
        foundAll = QTest::qWaitFor([&] { return discoverer->deviceCount() == 3; }, Generous / 5);
    }
    QCOMPARE(discoverer->deviceCount(), 3);
    QStringList order;
    for (const DiscoveredDevice& device : discoverer->devices())
        order << device.name() + QLatin1Char('@') + device.address();
    // Plain text order: .10 before .2.
    QCOMPARE(order, QStringList({QStringLiteral("Beta@10.77.0.10"), QStringLiteral("Alpha@10.77.0.2"),
                                 QStringLiteral("Gamma@10.77.0.3")}));
}

void TestKeypadSession::readsAndEditsAKeypad() {
    KeypadSimulator sim;
    QVERIFY(sim.start({QStringLiteral("10.77.0.4"), QStringLiteral("Editing")}));
    QVERIFY(connectTo(sim));
    MSPSceneModel* model = MSPSceneModel::instance();
    const int active = model->activeSceneIndex();
    QCOMPARE(active, sim.activeScene() - 1);
    QCOMPARE(SystemConfiguration::instance()->name(), QStringLiteral("Editing"));
    // Reading all scenes ends with one revert of the active scene.
    QCOMPARE(sim.requestCount(QStringLiteral("POST"), QStringLiteral("/api/v1/shows/") + QString::number(active + 1)),
             1);
    QCOMPARE(sim.requestLog().last().body, QByteArray("apply=0"));
    sim.clearRequestLog();

    // A new effect goes out at once; a burst of speed changes as one post with the last speed.
    MSPScene* scene = model->scene(2);
    auto* wash = qobject_cast<MSPColorWashEffect*>(MSPEffectFactory::instance()->create(2, scene));
    QVERIFY(wash);
    scene->setEffect(wash, true);
    for (int speed = 1; speed <= 12; ++speed)
        wash->setSpeed(speed);
    QTRY_COMPARE_WITH_TIMEOUT(sim.requestCount(), 2, Generous);
    const QList<KeypadSimulator::Request> posts =
        sim.requests(QStringLiteral("POST"), QStringLiteral("/api/v1/shows/3"));
    QCOMPARE(posts.size(), 2);
    QVERIFY(posts.at(1).body.startsWith("effect=2&param1=12&"));
    QCOMPARE(posts.at(1).contentType, QByteArray("application/x-www-form-urlencoded"));
    QVERIFY(sim.liveQuery(3).contains(QStringLiteral("param1=12")));
    QVERIFY(!QSignalSpy(&sim, &KeypadSimulator::requestReceived).wait(300));
    QCOMPARE(sim.requestCount(), 2);
}

void TestKeypadSession::followsButtonPresses() {
    KeypadSimulator sim;
    QVERIFY(sim.start({QStringLiteral("10.77.0.5"), QStringLiteral("Buttons")}));
    QVERIFY(connectTo(sim));
    sim.clearRequestLog();
    QSignalSpy active(m_comm, &MSPComm::activeSceneIndexChanged);
    const int pressed = sim.activeScene() == 6 ? 7 : 6;
    QVERIFY(sim.press(pressed));
    QTRY_COMPARE_WITH_TIMEOUT(sim.requestCount(), 1, Generous);
    const KeypadSimulator::Request request = sim.requestLog().first();
    QCOMPARE(request.method + QLatin1Char(' ') + request.path,
             QStringLiteral("POST /api/v1/shows/") + QString::number(pressed));
    QVERIFY(request.body.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!active.isEmpty(), Generous);
    QCOMPARE(active.last().at(0).toInt(), pressed - 1);
    QCOMPARE(MSPSceneModel::instance()->activeSceneIndex(), pressed - 1);

    // A brightness press changes the configuration: the editor reads it again.
    QTRY_VERIFY_WITH_TIMEOUT(!m_comm->hasOutstandingReplies(), Generous);
    sim.clearRequestLog();
    QSignalSpy configs(m_comm, &MSPComm::configReceived);
    QVERIFY(sim.pressDown());
    QVERIFY(configs.wait(Generous));
    QCOMPARE(logLines(sim), QStringList({QStringLiteral("GET /api/v1/config ")}));
}

void TestKeypadSession::heartBeatsDriveTheConnectionState() {
    KeypadSimulator::Options options(QStringLiteral("10.77.0.6"), QStringLiteral("Pulse"));
    options.heartbeatMs = 250;
    KeypadSimulator sim;
    QVERIFY(sim.start(options));
    m_comm->setDevice(sim.address(), sim.macBytes());
    ConnectionState state;
    state.followHeartBeats(m_comm);
    QSignalSpy changes(&state, &ConnectionState::stateChanged);
    // The keypad beats, but nobody asked it anything yet, so it does not know the editor.
    QTRY_COMPARE_WITH_TIMEOUT(state.state(), ConnectionState::NotConnected, Generous);

    m_comm->getConfig();
    QTRY_COMPARE_WITH_TIMEOUT(state.state(), ConnectionState::Connected, Generous);
    QSignalSpy beats(m_comm, &MSPComm::heartBeat);
    QTRY_VERIFY_WITH_TIMEOUT(beats.count() >= 2, Generous);
    QCOMPARE(state.state(), ConnectionState::Connected);

    QVERIFY(sim.setHeartbeats(false));
    QTRY_COMPARE_WITH_TIMEOUT(state.state(), ConnectionState::ConnectionLost, Generous);
    QVERIFY(sim.setHeartbeats(true));
    QTRY_COMPARE_WITH_TIMEOUT(state.state(), ConnectionState::Connected, Generous);
    QList<int> seen;
    for (const QList<QVariant>& args : changes)
        seen << args.at(0).value<ConnectionState::State>();
    QCOMPARE(seen.mid(0, 3),
             QList<int>({ConnectionState::Discovering, ConnectionState::NotConnected, ConnectionState::Connected}));
    QVERIFY(seen.contains(ConnectionState::ConnectionLost));
}

void TestKeypadSession::restoreSendsTheFileInOrder() {
    KeypadSimulator sim;
    QVERIFY(sim.start({QStringLiteral("10.77.0.7"), QStringLiteral("Restore")}));
    QVERIFY(connectTo(sim));
    MSPSceneModel* model = MSPSceneModel::instance();
    model->setActiveSceneIndex(3, false);
    QByteArray file = MSPDocument::fileContents();
    sim.clearRequestLog();

    QBuffer device(&file);
    QVERIFY(device.open(QIODevice::ReadOnly));
    QSignalSpy errors(m_comm, &MSPComm::networkError);
    QVERIFY(ConfigurationFileReader::read(&device, true).ok);
    QTRY_VERIFY_WITH_TIMEOUT(!m_comm->hasOutstandingReplies(), Generous);

    QStringList expected;
    for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
        const QString path = QStringLiteral("/api/v1/shows/") + QString::number(i + 1);
        expected << QStringLiteral("GET ") + path + QLatin1Char(' ')
                 << QStringLiteral("POST ") + path + QLatin1Char(' ') + model->scene(i)->PostData() +
                        QStringLiteral("&apply=1");
    }
    expected << QStringLiteral("GET /api/v1/shows/4 ");
    for (const QString& text : SystemConfiguration::instance()->PostData(false, true))
        expected << QStringLiteral("POST /api/v1/config ") + text + QStringLiteral("&apply=1");
    QCOMPARE(logLines(sim), expected);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(SystemConfiguration::instance()->brightness(), 255);
}

void TestKeypadSession::changesTheKeypadAddress() {
    KeypadSimulator sim;
    QVERIFY(sim.start({QStringLiteral("10.77.0.8"), QStringLiteral("Mover")}));
    QVERIFY(connectTo(sim));
    sim.clearRequestLog();
    m_comm->sendConfiguration({QStringLiteral("name=Mover&universe=3"), QStringLiteral("&enable_switch=1")},
                              QStringLiteral("010.077.000.090"));
    QTRY_VERIFY_WITH_TIMEOUT(sim.hasEvent(QStringLiteral("moved 10.77.0.90")), Generous);
    // The keypad's configuration notices make the editor read the configuration in between.
    const QStringList posts = logLines(sim).filter(QRegularExpression(QStringLiteral("^POST ")));
    QCOMPARE(posts, QStringList({QStringLiteral("POST /api/v1/config name=Mover&universe=3&apply=1"),
                                 QStringLiteral("POST /api/v1/config &enable_switch=1&apply=1")}));

    // The keypad answers at its new address.
    m_comm->setDevice(QStringLiteral("10.77.0.90"), sim.macBytes());
    QSignalSpy configs(m_comm, &MSPComm::configReceived);
    m_comm->getConfig();
    QVERIFY(configs.wait(Generous));
    QCOMPARE(SystemConfiguration::instance()->universe(), 3);
}

void TestKeypadSession::factoryResetIsNoFailure() {
    KeypadSimulator::Options options(QStringLiteral("10.77.0.11"), QStringLiteral("Resettable"));
    options.rebootMs = 1500;
    KeypadSimulator sim;
    QVERIFY(sim.start(options));
    QVERIFY(connectTo(sim));
    QVERIFY(sim.setConfig("name=Customised&universe=9"));
    QSignalSpy errors(m_comm, &MSPComm::networkError);
    QSignalSpy beats(m_comm, &MSPComm::heartBeat);
    m_comm->restoreFactoryDefaults();
    QTRY_VERIFY_WITH_TIMEOUT(sim.hasEvent(QStringLiteral("factory-reset")), Generous);
    QTRY_VERIFY_WITH_TIMEOUT(!m_comm->hasOutstandingReplies(), Generous);
    QCOMPARE(errors.count(), 0);
    QVERIFY(!beats.isEmpty());
    QCOMPARE(beats.first().at(0).toBool(), true);

    // Once it is awake again it has its defaults back.
    QTRY_VERIFY_WITH_TIMEOUT(sim.hasEvent(QStringLiteral("awake")), Generous);
    QSignalSpy configs(m_comm, &MSPComm::configReceived);
    m_comm->getConfig();
    QVERIFY(configs.wait(Generous));
    QCOMPARE(SystemConfiguration::instance()->universe(), 0);
}

void TestKeypadSession::keypadLostInTheMiddleOfARestore() {
    KeypadSimulator sim;
    QVERIFY(sim.start({QStringLiteral("10.77.0.12"), QStringLiteral("Fragile")}));
    QVERIFY(connectTo(sim));
    QByteArray file = MSPDocument::fileContents();
    sim.clearRequestLog();
    connect(&sim, &KeypadSimulator::requestReceived, this, [&sim] {
        if (sim.requestCount() == 5)
            sim.kill();
    });
    QSignalSpy errors(m_comm, &MSPComm::networkError);
    QBuffer device(&file);
    QVERIFY(device.open(QIODevice::ReadOnly));
    QVERIFY(ConfigurationFileReader::read(&device, true).ok);
    QVERIFY(!m_comm->loadingFile());
    QVERIFY(!m_comm->postsSuppressed());
    // Every request after the loss fails within its transfer limit and is reported.
    QTRY_VERIFY_WITH_TIMEOUT(!m_comm->hasOutstandingReplies(), MSPComm::TransferTimeoutMs + Generous);
    QVERIFY(errors.count() > 0);
    QVERIFY(!sim.isRunning());
}

LUMETTO_NETWORK_TEST_MAIN(TestKeypadSession, "tst_keypadsession", QCoreApplication)

#include "tst_keypadsession.moc"

#include "CommMessageBox.h"
#include "ConfigurationFileReader.h"
#include "ConnectionState.h"
#include "Discoverer.h"
#include "KeypadSimulator.h"
#include "MSPComm.h"
#include "MSPDocument.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

#include <QBuffer>
#include <QSignalSpy>

constexpr int Generous = 20000;

// The editor's communication code against simulated keypads, each a host of its own on the
// private network.
class TestKeypadSession : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        CommMessageBox::setHandler([](const QString& title, const QString& text) { QFAIL(qPrintable(title + text)); });
        m_comm = MSPComm::instance();
        MSPSceneModel* model = MSPSceneModel::instance();
        connect(model, &MSPSceneModel::effectParamsChanged, m_comm, &MSPComm::handleEffectParamsChanged);
        connect(model, &MSPSceneModel::effectChanged, m_comm, &MSPComm::handleEffectChanged);
        connect(m_comm, &MSPComm::activeSceneIndexChanged, model,
                [model](int index) { model->setActiveSceneIndex(index, false); });
    }

    void cleanup() {
        QVERIFY(idle());
        m_comm->setDevice(QString(), QByteArray());
    }

    void discoversOneAndThenThreeKeypads() {
        Discoverer* discoverer = Discoverer::instance();
        KeypadSimulator alpha;
        QVERIFY(alpha.start({QStringLiteral("10.77.0.2"), QStringLiteral("Alpha")}));
        discoverer->discover();
        QTRY_COMPARE_WITH_TIMEOUT(discoverer->deviceCount(), 1, Generous);
        const DiscoveredDevice found = discoverer->devices().first();
        QVERIFY(found.name() == QStringLiteral("Alpha") && found.address() == QStringLiteral("10.77.0.2"));
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
        QStringList order;
        for (const DiscoveredDevice& device : discoverer->devices())
            order << device.name() + QLatin1Char('@') + device.address();
        // Plain text order: .10 before .2.
        QCOMPARE(order, QStringList({QStringLiteral("Beta@10.77.0.10"), QStringLiteral("Alpha@10.77.0.2"),
                                     QStringLiteral("Gamma@10.77.0.3")}));
    }

    void heartBeatsDriveTheConnectionState() {
        KeypadSimulator::Options options(QStringLiteral("10.77.0.6"), QStringLiteral("Pulse"));
        options.heartbeatMs = 250;
        KeypadSimulator sim;
        QVERIFY(sim.start(options));
        m_comm->setDevice(sim.address(), sim.macBytes());
        ConnectionState state;
        state.followHeartBeats(m_comm);
        // The keypad beats, but nobody asked it anything yet, so it does not know the editor.
        QTRY_COMPARE_WITH_TIMEOUT(state.state(), ConnectionState::NotConnected, Generous);
        m_comm->getConfig();
        QTRY_COMPARE_WITH_TIMEOUT(state.state(), ConnectionState::Connected, Generous);
        QVERIFY(sim.setHeartbeats(false));
        QTRY_COMPARE_WITH_TIMEOUT(state.state(), ConnectionState::ConnectionLost, Generous);
        QVERIFY(sim.setHeartbeats(true));
        QTRY_COMPARE_WITH_TIMEOUT(state.state(), ConnectionState::Connected, Generous);
    }

    // The whole restore against a keypad is the command-line tool's round trip (tst_keypadcli); here
    // the keypad dies midway: every request after the loss fails within its transfer limit and is reported.
    void keypadLostDuringARestore() {
        KeypadSimulator sim;
        QVERIFY(connectTo(sim, QStringLiteral("10.77.0.7"), QStringLiteral("Restore")));
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
        QTRY_VERIFY_WITH_TIMEOUT(!m_comm->hasOutstandingReplies(), MSPComm::TransferTimeoutMs + Generous);
        QVERIFY(errors.count() > 0 && !sim.isRunning());
    }

    // The administration of a keypad: a new address, then its factory defaults back.
    void changesTheKeypadAddressThenResetsIt() {
        KeypadSimulator sim;
        QVERIFY(connectTo(sim, QStringLiteral("10.77.0.8"), QStringLiteral("Mover"), 1500));
        sim.clearRequestLog();
        m_comm->sendConfiguration({QStringLiteral("name=Mover&universe=3"), QStringLiteral("&enable_switch=1")},
                                  QStringLiteral("010.077.000.090"));
        QTRY_VERIFY_WITH_TIMEOUT(sim.hasEvent(QStringLiteral("moved 10.77.0.90")), Generous);
        // The keypad's configuration notices make the editor read the configuration in between.
        QByteArrayList posted;
        for (const KeypadSimulator::Request& request :
             sim.requests(QStringLiteral("POST"), QStringLiteral("/api/v1/config")))
            posted << request.body;
        QCOMPARE(posted, QByteArrayList({"name=Mover&universe=3&apply=1", "&enable_switch=1&apply=1"}));
        // The keypad answers at its new address.
        m_comm->setDevice(QStringLiteral("10.77.0.90"), sim.macBytes());
        QVERIFY(readConfig());
        QCOMPARE(SystemConfiguration::instance()->universe(), 3);

        QSignalSpy errors(m_comm, &MSPComm::networkError);
        m_comm->restoreFactoryDefaults();
        QTRY_VERIFY_WITH_TIMEOUT(sim.hasEvent(QStringLiteral("factory-reset")), Generous);
        QVERIFY(idle());
        QCOMPARE(errors.count(), 0);
        // Once it is awake again it has its defaults back.
        QTRY_VERIFY_WITH_TIMEOUT(sim.hasEvent(QStringLiteral("awake")), Generous);
        QVERIFY(readConfig());
        QCOMPARE(SystemConfiguration::instance()->universe(), 0);
    }

private:
    bool connectTo(KeypadSimulator& sim, const QString& address, const QString& name, int rebootMs = -1) {
        KeypadSimulator::Options options(address, name);
        options.rebootMs = rebootMs;
        if (!sim.start(options))
            return false;
        m_comm->setDevice(sim.address(), sim.macBytes());
        m_comm->getConfig();
        m_comm->getShows();
        return idle();
    }

    bool idle() {
        return QTest::qWaitFor([this] { return !m_comm->hasOutstandingReplies(); }, Generous);
    }
    bool readConfig() {
        QSignalSpy configs(m_comm, &MSPComm::configReceived);
        m_comm->getConfig();
        return configs.wait(Generous);
    }

    MSPComm* m_comm = nullptr;
};

LUMETTO_NETWORK_TEST_MAIN(TestKeypadSession, "tst_keypadsession", QCoreApplication)

#include "tst_keypadsession.moc"

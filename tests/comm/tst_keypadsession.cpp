#include "CommMessageBox.h"
#include "ConfigurationFileReader.h"
#include "ConnectionState.h"
#include "KeypadSimulator.h"
#include "MSPComm.h"
#include "MSPDocument.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

#include <QBuffer>
#include <QSignalSpy>

namespace {

constexpr int Generous = 20000;

QStringList logLines(const KeypadSimulator& sim) {
    QStringList lines;
    for (const KeypadSimulator::Request& r : sim.requestLog())
        lines << r.method + QLatin1Char(' ') + r.path + QLatin1Char(' ') + QString::fromLatin1(r.body);
    return lines;
}

} // namespace

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

    void heartBeatsDriveTheConnectionState() {
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

    void restoreSendsTheFile_data() {
        QTest::addColumn<int>("lostAfter");
        QTest::newRow("whole") << 0;
        // Every request after the loss fails within its transfer limit and is reported.
        QTest::newRow("keypad lost midway") << 5;
    }

    void restoreSendsTheFile() {
        QFETCH(int, lostAfter);
        KeypadSimulator sim;
        QVERIFY(connectTo(sim, QStringLiteral("10.77.0.7"), QStringLiteral("Restore")));
        MSPSceneModel* model = MSPSceneModel::instance();
        model->setActiveSceneIndex(3, false);
        QByteArray file = MSPDocument::fileContents();
        const QString fileScene = model->scene(7)->PostData();
        // Someone changed the keypad since the file was saved.
        QVERIFY(sim.setScene(8, "effect=5&param1=3&param2=0&param_xy=(0,0,0)&num_colors=0"));
        sim.clearRequestLog();
        connect(&sim, &KeypadSimulator::requestReceived, this, [&sim, lostAfter] {
            if (sim.requestCount() == lostAfter)
                sim.kill();
        });
        QSignalSpy errors(m_comm, &MSPComm::networkError);
        QBuffer device(&file);
        QVERIFY(device.open(QIODevice::ReadOnly));
        QVERIFY(ConfigurationFileReader::read(&device, true).ok);
        QVERIFY(!m_comm->loadingFile());
        QVERIFY(!m_comm->postsSuppressed());
        QTRY_VERIFY_WITH_TIMEOUT(!m_comm->hasOutstandingReplies(), MSPComm::TransferTimeoutMs + Generous);
        if (lostAfter) {
            QVERIFY(errors.count() > 0);
            QVERIFY(!sim.isRunning());
            return;
        }
        // The request sequence itself is the REST client's; here the keypad takes all of it.
        QCOMPARE(sim.requestCount(), 8 * 2 + 1 + 2);
        QCOMPARE(sim.savedQuery(8), fileScene);
        QCOMPARE(errors.count(), 0);
        QCOMPARE(SystemConfiguration::instance()->brightness(), 255);
    }

    void changesTheKeypadAddress() {
        KeypadSimulator sim;
        QVERIFY(connectTo(sim, QStringLiteral("10.77.0.8"), QStringLiteral("Mover")));
        sim.clearRequestLog();
        m_comm->sendConfiguration({QStringLiteral("name=Mover&universe=3"), QStringLiteral("&enable_switch=1")},
                                  QStringLiteral("010.077.000.090"));
        QTRY_VERIFY_WITH_TIMEOUT(sim.hasEvent(QStringLiteral("moved 10.77.0.90")), Generous);
        // The keypad's configuration notices make the editor read the configuration in between.
        QCOMPARE(logLines(sim).filter(QStringLiteral("POST ")),
                 QStringList({QStringLiteral("POST /api/v1/config name=Mover&universe=3&apply=1"),
                              QStringLiteral("POST /api/v1/config &enable_switch=1&apply=1")}));
        // The keypad answers at its new address.
        m_comm->setDevice(QStringLiteral("10.77.0.90"), sim.macBytes());
        QVERIFY(readConfig());
        QCOMPARE(SystemConfiguration::instance()->universe(), 3);
    }

    void factoryResetIsNoFailure() {
        KeypadSimulator sim;
        QVERIFY(connectTo(sim, QStringLiteral("10.77.0.11"), QStringLiteral("Resettable"), 1500));
        QVERIFY(sim.setConfig("name=Customised&universe=9"));
        QSignalSpy errors(m_comm, &MSPComm::networkError);
        QSignalSpy beats(m_comm, &MSPComm::heartBeat);
        m_comm->restoreFactoryDefaults();
        QTRY_VERIFY_WITH_TIMEOUT(sim.hasEvent(QStringLiteral("factory-reset")), Generous);
        QVERIFY(idle());
        QCOMPARE(errors.count(), 0);
        QVERIFY(!beats.isEmpty());
        QCOMPARE(beats.first().at(0).toBool(), true);
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

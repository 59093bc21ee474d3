#include "CommMessageBox.h"
#include "ConfigurationFileReader.h"
#include "ConnectionState.h"
#include "Discoverer.h"
#include "KeypadSimulator.h"
#include "MSPColorWashEffect.h"
#include "MSPComm.h"
#include "MSPDocument.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QSignalSpy>

namespace {

constexpr int Generous = 20000;
const QByteArray WashScene = "effect=2&param1=1&param2=1&param_xy=(0,0,0)&num_colors=0";

int speedIn(const QByteArray& body) {
    static const QRegularExpression speed(QStringLiteral("(?:^|&)param1=(\\d+)"));
    return speed.match(QString::fromLatin1(body)).captured(1).toInt();
}

// A request and, when it came again at once (a retry), its repeats: one step of a restore.
struct Step {
    QString line;
    qint64 firstMs = 0;
    qint64 lastMs = 0;
};

QList<Step> stepsOf(const QList<KeypadSimulator::Request>& log) {
    QList<Step> steps;
    for (const KeypadSimulator::Request& request : log) {
        const QString line =
            request.method + QLatin1Char(' ') + request.path + QLatin1Char(' ') + QString::fromLatin1(request.body);
        if (steps.isEmpty() || steps.last().line != line)
            steps.append({line, request.receivedMs, request.receivedMs});
        else
            steps.last().lastMs = request.receivedMs;
    }
    return steps;
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

    void workDoneDuringAStallArrives_data() {
        QTest::addColumn<bool>("save");
        QTest::newRow("edit burst") << false;
        QTest::newRow("edit, then Save") << true;
    }

    // The keypad stalls for longer than a request may take while the user works, its heartbeats
    // going on. Once it answers again it holds the user's last state, saved when Save was pressed,
    // and it never got an older state after a newer one.
    void workDoneDuringAStallArrives() {
        QFETCH(bool, save);
        KeypadSimulator sim;
        QVERIFY(sim.start({QStringLiteral("10.77.0.11"), QStringLiteral("Busy")}));
        QVERIFY(sim.setScene(1, WashScene));
        QVERIFY(connectTo(sim));
        auto* wash = qobject_cast<MSPColorWashEffect*>(MSPSceneModel::instance()->scene(0)->effect());
        QVERIFY(wash);
        sim.clearRequestLog();
        QVERIFY(sim.stall(7000));
        const int last = save ? 2 : 6;
        for (int speed = 2; speed <= last; ++speed) {
            wash->setSpeed(speed);
            // The user's pace: five changes over 1.5 s.
            QTest::qWait(300);
        }
        if (save)
            m_comm->applyScene(MSPSceneModel::instance()->scene(0));
        QTRY_VERIFY_WITH_TIMEOUT(sim.hasEvent(QStringLiteral("released")), Generous);
        const QString edit = QStringLiteral("param1=%1&").arg(last);
        QTRY_VERIFY2_WITH_TIMEOUT(sim.liveQuery(1).contains(edit), qPrintable(sim.liveQuery(1)), Generous);
        if (save)
            QTRY_VERIFY2_WITH_TIMEOUT(sim.savedQuery(1).contains(edit), qPrintable(sim.savedQuery(1)), Generous);
        int newest = 0;
        for (const KeypadSimulator::Request& request :
             sim.requests(QStringLiteral("POST"), QStringLiteral("/api/v1/shows/1"))) {
            if (!request.body.startsWith("effect="))
                continue;
            QVERIFY2(speedIn(request.body) >= newest, request.body.constData());
            newest = speedIn(request.body);
        }
        QVERIFY(idle());
    }

    // Two scenes chosen in quick succession while the keypad is slow to answer: it ends on the one
    // chosen last, as the editor shows, whichever connection its web server serves first.
    void scenesChosenQuicklyPlayInOrder() {
        KeypadSimulator sim;
        QVERIFY(connectTo(sim, QStringLiteral("10.77.0.13"), QStringLiteral("Quick")));
        sim.clearRequestLog();
        QVERIFY(sim.stall(-1));
        m_comm->getScene(4);
        m_comm->getScene(6);
        QTRY_COMPARE_WITH_TIMEOUT(sim.requestCount(QStringLiteral("GET"), QStringLiteral("/api/v1/shows/5")), 1,
                                  Generous);
        QTest::qWait(300);
        QCOMPARE(sim.requestCount(QStringLiteral("GET"), QStringLiteral("/api/v1/shows/7")), 0);
        QVERIFY(sim.endStall());
        QTRY_COMPARE_WITH_TIMEOUT(sim.requestCount(QStringLiteral("GET"), QStringLiteral("/api/v1/shows/7")), 1,
                                  Generous);
        QVERIFY(idle());
        QCOMPARE(sim.activeScene(), 7);
        QCOMPARE(MSPSceneModel::instance()->activeSceneIndex(), 6);
    }

    // A stall part-way through writing a file: every step still arrives, once it is answered, in
    // order and with the keypad's pauses between steps.
    void restoreRidesOutAStall() {
        KeypadSimulator sim;
        QVERIFY(connectTo(sim, QStringLiteral("10.77.0.12"), QStringLiteral("Restore")));
        QByteArray file = MSPDocument::fileContents();
        const int current = MSPSceneModel::instance()->activeSceneIndex() + 1;
        sim.clearRequestLog();
        bool stalled = false;
        connect(&sim, &KeypadSimulator::requestReceived, this, [&](const KeypadSimulator::Request& request) {
            if (!stalled && request.path == QLatin1String("/api/v1/shows/4")) {
                stalled = true;
                QVERIFY(sim.stall(6000));
            }
        });
        QBuffer device(&file);
        QVERIFY(device.open(QIODevice::ReadOnly));
        QVERIFY(ConfigurationFileReader::read(&device, true).ok);
        QVERIFY(idle());
        QVERIFY(sim.hasEvent(QStringLiteral("released")));

        MSPSceneModel* model = MSPSceneModel::instance();
        QStringList expected;
        QList<int> pauses;
        for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
            expected << QStringLiteral("GET /api/v1/shows/%1 ").arg(i + 1)
                     << QStringLiteral("POST /api/v1/shows/%1 %2&apply=1").arg(i + 1).arg(model->scene(i)->PostData());
            pauses << (i == 0 ? 0 : 300) << 300;
        }
        expected << QStringLiteral("GET /api/v1/shows/%1 ").arg(current);
        pauses << 600;
        const QStringList config = SystemConfiguration::instance()->PostData(false, true);
        for (int i = 0; i < config.size(); ++i) {
            expected << QStringLiteral("POST /api/v1/config ") + config.at(i) + QStringLiteral("&apply=1");
            pauses << (i == 0 ? 300 : 500);
        }
        const auto lines = [&sim] {
            QStringList lines;
            for (const Step& step : stepsOf(sim.requestLog()))
                lines << step.line;
            return lines;
        };
        // The log is read from the keypad's output, which may lag a little behind its answers.
        QTRY_COMPARE_WITH_TIMEOUT(lines(), expected, Generous);
        const QList<Step> steps = stepsOf(sim.requestLog());
        // Coarse timers may fire a little early, and the log is read through a pipe.
        for (int i = 1; i < steps.size(); ++i)
            QVERIFY2(steps.at(i).firstMs - steps.at(i - 1).lastMs >= pauses.at(i) - 60, qPrintable(steps.at(i).line));
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
        return sim.start(options) && connectTo(sim);
    }
    bool connectTo(KeypadSimulator& sim) {
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

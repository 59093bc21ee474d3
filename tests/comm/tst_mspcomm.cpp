#include "CommMessageBox.h"
#include "ConnectionState.h"
#include "MSPColorWashEffect.h"
#include "MSPComm.h"
#include "MSPEffectFactory.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "RecordingHttpServer.h"
#include "ReplySizeLimit.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

#include <QNetworkReply>
#include <QSignalSpy>
#include <QUdpSocket>

namespace {

// The editor end of the private network; the tests' keypad lives on the same host, so that its
// datagrams come from the keypad address.
const QString KeypadAddress = QStringLiteral("10.77.0.1");
constexpr int Generous = 15000;

QByteArray sceneNotice(int scene) {
    QByteArray bytes = QByteArray::fromHex("0401DC4A0100010300000000000000AA");
    bytes[13] = static_cast<char>(scene);
    return bytes;
}

const QByteArray ConfigurationNotice = QByteArray::fromHex("0401DC4A010003030000000000000000AA");

MSPColorWashEffect* washOf(int index) {
    return qobject_cast<MSPColorWashEffect*>(MSPSceneModel::instance()->scene(index)->effect());
}

QString show(int number) {
    return QStringLiteral("/api/v1/shows/") + QString::number(number);
}

// A show document as the keypad sends one scene: no all_shows around it.
QByteArray bareShow(int effect, int speed) {
    return "<show><url>/api/v1/shows/2</url>\n<effect>" + QByteArray::number(effect) +
           "</effect>\n<parameters><param>" + QByteArray::number(speed) +
           "</param><param>1</param><param>0</param><by>0</by><x>0</x><y>0</y></parameters>"
           "<numColors>0</numColors>\n<customColors>\n</customColors>\n</show>";
}

} // namespace

// The REST client against a recording stand-in for the keypad: the exact requests, their order
// and timing. tst_keypadsession runs the same client against simulated keypads, a file's restore
// included; tst_MSPDeviceLink holds that restore's steps.
class TestMSPComm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        CommMessageBox::setHandler([](const QString& title, const QString& text) { QFAIL(qPrintable(title + text)); });
        m_comm = MSPComm::instance();
        MSPSceneModel* model = MSPSceneModel::instance();
        connect(model, &MSPSceneModel::effectParamsChanged, m_comm, &MSPComm::handleEffectParamsChanged);
        connect(model, &MSPSceneModel::effectChanged, m_comm, &MSPComm::handleEffectChanged);
    }

    void init() {
        m_server = new RecordingHttpServer;
        QVERIFY(m_server->listen(QHostAddress(KeypadAddress)));
        MSPSceneModel* model = MSPSceneModel::instance();
        for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
            MSPScene* scene = model->scene(i);
            scene->setURL(show(i + 1));
            scene->setEffect(MSPEffectFactory::instance()->create(2, scene), false);
        }
        model->setActiveSceneIndex(2, false);
        SystemConfiguration::instance()->setBrightness(100);
        m_comm->setDevice(KeypadAddress, QByteArray::fromHex("0050C2AABBCC"));
    }

    void cleanup() {
        QVERIFY(idle());
        m_comm->setDevice(QString(), QByteArray());
        delete m_server;
        m_server = nullptr;
    }

    void nothingLeavesWithoutAnAddress() {
        QSignalSpy sent(m_comm, &MSPComm::requestSent);
        const auto tryEverything = [this](int speed) {
            m_comm->getShows();
            m_comm->getConfig();
            m_comm->getScene(0);
            m_comm->applyScene(MSPSceneModel::instance()->scene(0));
            m_comm->brightnessUp();
            m_comm->restoreFactoryDefaults();
            m_comm->sendConfiguration({QStringLiteral("name=Demo")}, QString());
            washOf(0)->setSpeed(speed);
        };
        // No address, then one off every local subnet.
        for (const QString& address : {QString(), QStringLiteral("192.0.2.7")}) {
            m_comm->setDevice(address, QByteArray());
            tryEverything(7);
        }
        QVERIFY(!QTest::qWaitFor([&] { return !sent.isEmpty(); }, 300));
        QVERIFY(!m_comm->hasOutstandingReplies());

        // The offline demo leaves alone even a keypad still known from before, until it ends.
        m_comm->setDevice(KeypadAddress, QByteArray::fromHex("0050C2AABBCC"));
        ConnectionState::instance()->setState(ConnectionState::OfflineDemo);
        tryEverything(8);
        QVERIFY(!QTest::qWaitFor([&] { return !sent.isEmpty(); }, 300));
        ConnectionState::instance()->setState(ConnectionState::NotConnected);
        m_comm->getConfig();
        QVERIFY(waitForRequests(1));
        QCOMPARE(m_server->lines(), QStringList({QStringLiteral("GET /api/v1/config ")}));
    }

    void burstsOfEditsBecomeOnePostPerSceneAndKeypad() {
        QElapsedTimer burst;
        burst.start();
        for (int speed = 1; speed <= 10; ++speed)
            washOf(2)->setSpeed(speed);
        QVERIFY(waitForRequests(1));
        // Coarse timers may fire up to 5 % early.
        QVERIFY(burst.elapsed() >= 90);
        QCOMPARE(linesOnceQuiet(1), QStringList(QStringLiteral("POST ") + show(3) + QLatin1Char(' ') +
                                                MSPSceneModel::instance()->scene(2)->PostData()));
        QVERIFY(settle());

        // An edit on another scene sends the pending one at once.
        washOf(2)->setSpeed(4);
        washOf(2)->setSpeed(5);
        washOf(3)->setSpeed(6);
        washOf(3)->setSpeed(8);
        QVERIFY(waitForRequests(2));
        QVERIFY(m_server->lines().at(0).startsWith(QStringLiteral("POST /api/v1/shows/3 effect=2&param1=5&")));
        QVERIFY(m_server->lines().at(1).startsWith(QStringLiteral("POST /api/v1/shows/4 effect=2&param1=8&")));
        QVERIFY(settle());

        // Another keypad answers at the same address before the interval is over: the edit was
        // meant for the old one.
        washOf(2)->setSpeed(4);
        m_comm->setDevice(KeypadAddress, QByteArray::fromHex("0050C2DDEEFF"));
        QVERIFY(!waitForRequests(1, 400));
        washOf(2)->setSpeed(5);
        QVERIFY(waitForRequests(1));
        QVERIFY(m_server->lines().first().contains(QStringLiteral("param1=5&")));
    }

    // The HTTP stack would send these over parallel connections; a keypad must get the edit before
    // the save, and the save before the read that shows the saved scene.
    void sceneRequestsKeepTheirOrder() {
        QStringList events;
        connect(m_comm, &MSPComm::requestSent, this,
                [&](const QString& method, const QString& path, const QString& body) {
                    events << QStringLiteral("sent %1 %2 %3").arg(method, path, body.section(QLatin1Char('&'), 0, 0));
                });
        connect(m_comm, &MSPComm::replyHandled, this,
                [&](QNetworkReply* reply) { events << QStringLiteral("answered ") + reply->url().path(); });
        MSPScene* scene = MSPSceneModel::instance()->scene(2);
        washOf(2)->setSpeed(4);
        m_comm->applyScene(scene);
        washOf(2)->setSpeed(5);
        washOf(2)->setSpeed(6);
        m_comm->applyScene(scene);
        m_comm->getScene(2);
        QVERIFY(waitForRequests(5));
        QVERIFY(idle());
        disconnect(m_comm, nullptr, this, nullptr);
        QStringList expected;
        // The two later edits leave as one: the second carries the whole scene.
        for (const char* request :
             {"POST %1 effect=2", "POST %1 apply=1", "POST %1 effect=2", "POST %1 apply=1", "GET %1 "})
            expected << QStringLiteral("sent ") + QString::fromLatin1(request).arg(show(3))
                     << QStringLiteral("answered ") + show(3);
        QCOMPARE(events, expected);
        QVERIFY(m_server->lines().at(2).contains(QStringLiteral("param1=6&")));
    }

    void keypadRepliesAreNeverEchoed_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("bare show, same kind") << bareShow(2, 9);
        QTest::newRow("bare show, new kind") << bareShow(3, 4);
        QTest::newRow("inside api") << "<api>" + bareShow(1, 3) + "</api>";
        QTest::newRow("inside all_shows") << "<v1><all_shows>" + bareShow(2, 6) + "</all_shows></v1>";
        // Reading all scenes ends with one revert of the active scene, and nothing more.
        QTest::newRow("all scenes") << QByteArray();
    }

    void keypadRepliesAreNeverEchoed() {
        QFETCH(QByteArray, reply);
        QStringList expected{QStringLiteral("GET /api/v1/shows/2 ")};
        if (reply.isEmpty()) {
            m_comm->getShows();
            expected =
                QStringList{QStringLiteral("GET /api/v1/shows "), QStringLiteral("POST /api/v1/shows/3 apply=0")};
        } else {
            m_server->setReply(QStringLiteral("GET"), show(2), reply);
            QSignalSpy handled(m_comm, &MSPComm::replyHandled);
            m_comm->getScene(1);
            QVERIFY(handled.wait(Generous));
            QVERIFY(!MSPSceneModel::instance()->scene(1)->PostData().isEmpty());
        }
        // Nothing goes back, not even after the coalescing time.
        QCOMPARE(linesOnceQuiet(expected.size()), expected);
    }

    // Keypad names may carry accents, which the keypad reads as Latin-1.
    void configurationIsPacedLatin1AndApplied() {
        m_comm->sendConfiguration({QStringLiteral("name=Caf\u00e9&universe=1"), QStringLiteral("&enable_switch=1"),
                                   QStringLiteral("&disable_switch=2")},
                                  QString());
        QVERIFY(waitForRequests(3));
        const QList<RecordingHttpServer::Request> requests = m_server->requests();
        QCOMPARE(requests.first().body, QByteArray("name=Caf\xe9&universe=1&apply=1"));
        QCOMPARE(m_server->lines().mid(1),
                 QStringList({QStringLiteral("POST /api/v1/config &enable_switch=1&apply=1"),
                              QStringLiteral("POST /api/v1/config &disable_switch=2&apply=1")}));
        // Paced at least the keypad's 500 ms apart (an upper bound would only measure the machine).
        QVERIFY(requests.at(1).arrivalMs - requests.at(0).arrivalMs >= 450);
        QVERIFY(requests.at(2).arrivalMs - requests.at(1).arrivalMs >= 450);
    }

    void noticesSelectScenesAndReadTheConfiguration() {
        SystemConfiguration::instance()->setBrightness(-1);
        // Notices from another host are dropped, whatever they say.
        sendDatagram(sceneNotice(6), QStringLiteral("127.0.0.1"));
        sendDatagram(ConfigurationNotice, QStringLiteral("127.0.0.1"));
        // Scene 3 is active already; 0, 9 and -1 name no scene; wrong lengths are no notice.
        for (int scene : {3, 0, 9, -1})
            sendDatagram(sceneNotice(scene));
        sendDatagram(ConfigurationNotice + "x");
        sendDatagram(sceneNotice(4) + "x");
        sendDatagram(sceneNotice(5));
        // With brightness "off" the configuration is read after the scene.
        QVERIFY(waitForRequests(2));
        QCOMPARE(m_server->lines(),
                 QStringList({QStringLiteral("POST /api/v1/shows/5 "), QStringLiteral("GET /api/v1/config ")}));
        QVERIFY(settle());
        QSignalSpy configs(m_comm, &MSPComm::configReceived);
        sendDatagram(ConfigurationNotice);
        QVERIFY(configs.wait(Generous));
        QCOMPARE(m_server->lines(), QStringList(QStringLiteral("GET /api/v1/config ")));
    }

    void failedRequests_data() {
        using Mode = RecordingHttpServer::Mode;
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<bool>("reset");
        QTest::addColumn<qint64>("size"); // of the reply, for the modes that send one
        QTest::addColumn<bool>("failed");
        QTest::addColumn<bool>("slow"); // ends only at the transfer limit
        const qint64 limit = ReplySizeLimit::KeypadReplyLimit;
        QTest::newRow("keypad never answers") << Mode::Silent << false << 0LL << true << true;
        // Never quiet for long, never done: the limit is on the whole transfer.
        QTest::newRow("keypad answers a byte at a time") << Mode::Trickle << false << 0LL << true << true;
        QTest::newRow("keypad hangs up") << Mode::Hangup << false << 0LL << true << false;
        // A keypad drops the connection as it resets: that is what a reset looks like, no failure.
        QTest::newRow("keypad hangs up on a reset") << Mode::Hangup << true << 0LL << false << false;
        // Refused the moment a reply passes the limit, or says it will: never held to the end.
        QTest::newRow("reply as large as allowed") << Mode::Sized << false << limit << false << false;
        QTest::newRow("reply announced too large") << Mode::Sized << false << limit + 1 << true << false;
        QTest::newRow("reply grows too large") << Mode::Unannounced << false << limit + 1 << true << false;
        QTest::newRow("endless reply") << Mode::Flood << false << 0LL << true << false;
        QTest::newRow("endless reply to a reset") << Mode::Flood << true << 0LL << true << false;
    }

    void failedRequests() {
        QFETCH(RecordingHttpServer::Mode, mode);
        QFETCH(bool, reset);
        QFETCH(qint64, size);
        QFETCH(bool, failed);
        QFETCH(bool, slow);
        m_server->setMode(mode);
        m_server->setReplySize(size);
        QSignalSpy errors(m_comm, &MSPComm::networkError);
        QSignalSpy beats(m_comm, &MSPComm::heartBeat);
        QSignalSpy refusals(ReplySizeLimit::instance(), &ReplySizeLimit::replyRefused);
        QElapsedTimer timer;
        timer.start();
        reset ? m_comm->restoreFactoryDefaults() : m_comm->getConfig();
        QVERIFY(
            QTest::qWaitFor([&] { return !m_comm->hasOutstandingReplies(); }, MSPComm::TransferTimeoutMs + Generous));
        QCOMPARE(errors.count(), failed ? 1 : 0);
        QCOMPARE(beats.count(), failed ? 0 : 1);
        QCOMPARE(beats.value(0).value(0, true).toBool(), true);
        // The stack's transfer limit is a coarse timer, which may fire up to 5 % early.
        if (slow)
            QVERIFY(timer.elapsed() >= MSPComm::TransferTimeoutMs * 9 / 10);
        else
            QVERIFY2(timer.elapsed() < MSPComm::TransferTimeoutMs / 2, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(timer.elapsed() < MSPComm::TransferTimeoutMs * 2);

        const bool tooLarge =
            failed && (mode == RecordingHttpServer::Mode::Sized || mode == RecordingHttpServer::Mode::Unannounced ||
                       mode == RecordingHttpServer::Mode::Flood);
        QCOMPARE(refusals.count(), tooLarge ? 1 : 0);
        if (tooLarge) {
            QCOMPARE(refusals.at(0).at(0).toString(), KeypadAddress);
            QVERIFY2(refusals.at(0).at(1).toString().contains("keypad at " + KeypadAddress + " sent a reply larger"),
                     qPrintable(refusals.at(0).at(1).toString()));
        }
    }

private:
    void sendDatagram(const QByteArray& datagram, const QString& from = KeypadAddress) {
        QUdpSocket sender;
        QVERIFY(sender.bind(QHostAddress(from), 0));
        QCOMPARE(sender.writeDatagram(datagram, QHostAddress(KeypadAddress), MSPComm::KeypadNoticePort),
                 qint64(datagram.size()));
    }

    bool waitForRequests(int count, int timeout = Generous) {
        return QTest::qWaitFor([&] { return m_server->requests().size() >= count; }, timeout);
    }
    bool idle() {
        return QTest::qWaitFor([this] { return !m_comm->hasOutstandingReplies(); }, Generous);
    }
    // The requests once no more has come for a while.
    QStringList linesOnceQuiet(int count) {
        waitForRequests(count);
        waitForRequests(count + 1, 400);
        return m_server->lines();
    }
    // Lets the client finish, then forgets what the keypad saw so far.
    bool settle() {
        const bool wasIdle = idle();
        m_server->clear();
        return wasIdle;
    }

    RecordingHttpServer* m_server = nullptr;
    MSPComm* m_comm = nullptr;
};

LUMETTO_NETWORK_TEST_MAIN(TestMSPComm, "tst_mspcomm", QCoreApplication)

#include "tst_mspcomm.moc"

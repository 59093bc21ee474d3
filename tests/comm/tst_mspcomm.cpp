#include "CommMessageBox.h"
#include "ConfigurationFileReader.h"
#include "LowDelaySockets.h"
#include "MSPColorWashEffect.h"
#include "MSPComm.h"
#include "MSPDocument.h"
#include "MSPEffectFactory.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "RecordingHttpServer.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

#include <QBuffer>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <memory>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

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

class TestMSPComm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        CommMessageBox::setHandler(
            [this](const QString& title, const QString& text) { m_messages << title + QStringLiteral(": ") + text; });
        m_comm = MSPComm::instance();
        QVERIFY2(m_messages.isEmpty(), "the keypad port could not be bound");
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
        QTRY_VERIFY_WITH_TIMEOUT(!m_comm->hasOutstandingReplies(), Generous);
        m_comm->setDevice(QString(), QByteArray());
        delete m_server;
        m_server = nullptr;
    }

    void nothingLeavesWithoutAnAddress() {
        QSignalSpy sent(m_comm, &MSPComm::requestSent);
        // No address, then one off every local subnet.
        for (const QString& address : {QString(), QStringLiteral("192.0.2.7")}) {
            m_comm->setDevice(address, QByteArray());
            m_comm->getShows();
            m_comm->getScene(0);
            m_comm->applyScene(MSPSceneModel::instance()->scene(0));
            m_comm->brightnessUp();
            m_comm->restoreFactoryDefaults();
            washOf(0)->setSpeed(7);
        }
        QVERIFY(!QTest::qWaitFor([&] { return !sent.isEmpty(); }, 300));
        QVERIFY(!m_comm->hasOutstandingReplies());
        QVERIFY(MSPComm::isOnLocalSubnet(QStringLiteral("10.77.200.3")));
        QVERIFY(!MSPComm::isOnLocalSubnet(QStringLiteral("not an address")));
    }

    void requestsCarryLatin1Bodies() {
        m_comm->postToDevice(QStringLiteral("/api/v1/config"), QStringLiteral("name=Caf\u00e9 & Bar"), true, false,
                             true);
        m_comm->brightnessUp();
        m_comm->brightnessDown();
        m_comm->pressOnOff();
        QVERIFY(waitForRequests(4));
        QCOMPARE(m_server->requests().first().body, QByteArray("name=Caf\xe9 & Bar&apply=1"));
        QCOMPARE(m_server->lines().mid(1), QStringList({QStringLiteral("POST /api/v1/config rel_bright=1"),
                                                        QStringLiteral("POST /api/v1/config rel_bright=0"),
                                                        QStringLiteral("POST /api/v1/config off_press=1")}));
    }

    void burstsOfEditsBecomeOnePostPerSceneAndKeypad() {
        QElapsedTimer burst;
        burst.start();
        for (int speed = 1; speed <= 10; ++speed)
            washOf(2)->setSpeed(speed);
        QVERIFY(waitForRequests(1));
        // Coarse timers may fire up to 5 % early.
        QVERIFY(burst.elapsed() >= 90);
        QVERIFY(!waitForRequests(2, 400));
        QCOMPARE(m_server->lines(), QStringList(QStringLiteral("POST ") + show(3) + QLatin1Char(' ') +
                                                MSPSceneModel::instance()->scene(2)->PostData()));
        QVERIFY(m_server->lines().first().contains(QStringLiteral("param1=10&")));
        QTRY_VERIFY_WITH_TIMEOUT(!m_comm->hasOutstandingReplies(), Generous);
        m_server->clear();

        // An edit on another scene sends the pending one at once.
        washOf(2)->setSpeed(4);
        washOf(2)->setSpeed(5);
        washOf(3)->setSpeed(6);
        washOf(3)->setSpeed(8);
        QVERIFY(waitForRequests(2));
        QCOMPARE(m_server->requests().size(), 2);
        QVERIFY(m_server->lines().at(0).startsWith(QStringLiteral("POST /api/v1/shows/3 effect=2&param1=5&")));
        QVERIFY(m_server->lines().at(1).startsWith(QStringLiteral("POST /api/v1/shows/4 effect=2&param1=8&")));
        QTRY_VERIFY_WITH_TIMEOUT(!m_comm->hasOutstandingReplies(), Generous);
        m_server->clear();

        // Another keypad answers at the same address before the interval is over.
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
        QTRY_VERIFY_WITH_TIMEOUT(!m_comm->hasOutstandingReplies(), Generous);
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
        QVERIFY(waitForRequests(expected.size()));
        QVERIFY(!waitForRequests(expected.size() + 1, 400));
        QCOMPARE(m_server->lines(), expected);
    }

    void configurationIsPacedAndApplied() {
        QSignalSpy configs(m_comm, &MSPComm::configReceived);
        m_comm->sendConfiguration({QStringLiteral("name=A&universe=1"), QStringLiteral("&enable_switch=1"),
                                   QStringLiteral("&disable_switch=2")},
                                  QString());
        QVERIFY(waitForRequests(3));
        QCOMPARE(m_server->lines(), QStringList({QStringLiteral("POST /api/v1/config name=A&universe=1&apply=1"),
                                                 QStringLiteral("POST /api/v1/config &enable_switch=1&apply=1"),
                                                 QStringLiteral("POST /api/v1/config &disable_switch=2&apply=1")}));
        // Paced at least the keypad's 500 ms apart (an upper bound would only measure the machine).
        const QList<RecordingHttpServer::Request> requests = m_server->requests();
        QVERIFY(requests.at(1).arrivalMs - requests.at(0).arrivalMs >= 450);
        QVERIFY(requests.at(2).arrivalMs - requests.at(1).arrivalMs >= 450);
        QCOMPARE(configs.count(), 0);
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
        QTRY_VERIFY_WITH_TIMEOUT(!m_comm->hasOutstandingReplies(), Generous);

        m_server->clear();
        QSignalSpy configs(m_comm, &MSPComm::configReceived);
        sendDatagram(ConfigurationNotice);
        QVERIFY(configs.wait(Generous));
        QCOMPARE(m_server->lines(), QStringList(QStringLiteral("GET /api/v1/config ")));
    }

    void factoryResetFailureIsNoError() {
        m_server->setHangupOn("factory_reset=1");
        QSignalSpy errors(m_comm, &MSPComm::networkError);
        QSignalSpy beats(m_comm, &MSPComm::heartBeat);
        QList<QNetworkReply::NetworkError> failures;
        connect(m_comm, &MSPComm::replyHandled, this,
                [&failures](QNetworkReply* reply) { failures << reply->error(); });
        m_comm->restoreFactoryDefaults();
        QTRY_COMPARE_WITH_TIMEOUT(failures.size(), 1, Generous);
        disconnect(m_comm, &MSPComm::replyHandled, this, nullptr);
        QVERIFY(failures.first() != QNetworkReply::NoError);
        QCOMPARE(errors.count(), 0);
        QCOMPARE(beats.count(), 1);
        QCOMPARE(beats.at(0).at(0).toBool(), true);
        // The HTTP stack may try a reused connection once more; only the reset goes out.
        QStringList lines = m_server->lines();
        lines.removeDuplicates();
        QCOMPARE(lines, QStringList(QStringLiteral("POST /api/v1/config factory_reset=1")));

        // The same failure on an ordinary request is a network error.
        m_server->setHangupOn("rel_bright");
        m_comm->brightnessUp();
        QVERIFY(errors.wait(Generous));
    }

    void silentKeypadTimesOut() {
        m_server->setMode(RecordingHttpServer::Mode::Silent);
        QSignalSpy errors(m_comm, &MSPComm::networkError);
        QElapsedTimer timer;
        timer.start();
        m_comm->getConfig();
        QVERIFY(errors.wait(MSPComm::TransferTimeoutMs + Generous));
        // The stack's limit is a coarse timer, which may fire up to 5 % early.
        QVERIFY(timer.elapsed() >= MSPComm::TransferTimeoutMs * 9 / 10);
        QVERIFY(!m_comm->hasOutstandingReplies());
    }

    void fileRestoreSequence() {
        // A file with the eight scenes of the model as it is now, scene 6 current, brightness 40.
        MSPSceneModel* model = MSPSceneModel::instance();
        for (int i = 0; i < MSPSceneModel::sceneCount; ++i)
            washOf(i)->setSpeed(i + 1);
        model->setActiveSceneIndex(5, false);
        SystemConfiguration::instance()->setName(QStringLiteral("Foyer"));
        SystemConfiguration::instance()->setBrightness(40);
        m_comm->applyScene(nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(!m_comm->hasOutstandingReplies(), Generous);
        m_server->clear();
        QByteArray file = MSPDocument::fileContents();
        model->setActiveSceneIndex(2, false);

        QBuffer device(&file);
        QVERIFY(device.open(QIODevice::ReadOnly));
        QSignalSpy errors(m_comm, &MSPComm::networkError);
        QVERIFY(ConfigurationFileReader::read(&device, true).ok);
        QVERIFY(!m_comm->loadingFile());
        QVERIFY(!m_comm->postsSuppressed());

        QStringList expected;
        for (int i = 0; i < MSPSceneModel::sceneCount; ++i)
            expected << QStringLiteral("GET ") + show(i + 1) + QLatin1Char(' ')
                     << QStringLiteral("POST ") + show(i + 1) + QLatin1Char(' ') + model->scene(i)->PostData() +
                            QStringLiteral("&apply=1");
        // The file's config element follows its shows, so the current scene is asked for first.
        expected << QStringLiteral("GET /api/v1/shows/6 ");
        const QStringList config = SystemConfiguration::instance()->PostData(false, true);
        QCOMPARE(config.size(), 2);
        QVERIFY(config.first().contains(QStringLiteral("name=Foyer&")));
        QVERIFY(config.first().contains(QStringLiteral("&abs_bright=255&")));
        for (const QString& text : config)
            expected << QStringLiteral("POST /api/v1/config ") + text + QStringLiteral("&apply=1");
        QVERIFY(waitForRequests(expected.size()));
        QVERIFY(!waitForRequests(expected.size() + 1, 400));
        QCOMPARE(m_server->lines(), expected);
        QCOMPARE(errors.count(), 0);
        // Reading the file does not move the model's active scene.
        QCOMPARE(model->activeSceneIndex(), 2);
        const QList<RecordingHttpServer::Request> requests = m_server->requests();
        QVERIFY(requests.at(1).arrivalMs - requests.at(0).arrivalMs >= 250);
        QVERIFY(requests.at(18).arrivalMs - requests.at(17).arrivalMs >= 450);
    }

    void heartBeatPortTakenIsReported() {
        m_comm->getConfig();
        QTRY_VERIFY_WITH_TIMEOUT(!m_comm->hasOutstandingReplies(), Generous);
        // Take the port while the client has it closed, without sharing it.
        std::unique_ptr<QUdpSocket> squatter;
        const auto takePort = [&squatter] {
            squatter = std::make_unique<QUdpSocket>();
            return squatter->bind(QHostAddress::AnyIPv4, MSPComm::HeartBeatPort, QAbstractSocket::DontShareAddress);
        };
        QTRY_VERIFY_WITH_TIMEOUT(takePort(), Generous);
        m_messages.clear();
        QTRY_VERIFY_WITH_TIMEOUT(!m_messages.isEmpty(), Generous);
        QCOMPARE(m_messages.first(),
                 QStringLiteral("Error: Failed to bind to port 6038.  Close any application that may "
                                "be using this port."));
    }

    void keypadConnectionsSendAtOnce() {
        const auto noDelay = [](const QTcpSocket& socket) {
            int value = 0;
            socklen_t length = sizeof(value);
            getsockopt(int(socket.socketDescriptor()), IPPROTO_TCP, TCP_NODELAY, &value, &length);
            return value != 0;
        };
        QTcpServer other;
        QVERIFY(other.listen(QHostAddress(KeypadAddress), 8080));
        QTcpSocket toKeypad;
        QTcpSocket elsewhere;
        toKeypad.connectToHost(QHostAddress(KeypadAddress), 80);
        elsewhere.connectToHost(QHostAddress(KeypadAddress), 8080);
        QVERIFY(toKeypad.waitForConnected(Generous));
        QVERIFY(elsewhere.waitForConnected(Generous));
        QVERIFY(!noDelay(toKeypad));
        QVERIFY(LowDelaySockets::applyTo(QHostAddress(KeypadAddress), 80) >= 1);
        QVERIFY(noDelay(toKeypad));
        QVERIFY(!noDelay(elsewhere));
        LowDelaySockets::setEnabled(false);
        QCOMPARE(LowDelaySockets::applyTo(QHostAddress(KeypadAddress), 8080), 0);
        LowDelaySockets::setEnabled(true);
        QVERIFY(!noDelay(elsewhere));
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

    RecordingHttpServer* m_server = nullptr;
    MSPComm* m_comm = nullptr;
    QStringList m_messages;
};

LUMETTO_NETWORK_TEST_MAIN(TestMSPComm, "tst_mspcomm", QCoreApplication)

#include "tst_mspcomm.moc"

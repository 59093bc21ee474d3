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

QByteArray configurationNotice() {
    return QByteArray::fromHex("0401DC4A010003030000000000000000AA");
}

MSPColorWashEffect* washOf(int index) {
    return qobject_cast<MSPColorWashEffect*>(MSPSceneModel::instance()->scene(index)->effect());
}

// A show document as the keypad sends one scene: no all_shows around it.
QByteArray bareShow(int number, int effect, int speed) {
    QByteArray show = "<show><url>/api/v1/shows/" + QByteArray::number(number) + "</url>\n<effect>" +
                      QByteArray::number(effect) + "</effect>\n<parameters><param>" + QByteArray::number(speed) +
                      "</param><param>1</param><param>0</param><by>0</by><x>0</x><y>0</y></parameters>"
                      "<numColors>0</numColors>\n<customColors>\n</customColors>\n</show>";
    return show;
}

} // namespace

class TestMSPComm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void nothingLeavesWithoutAnAddress();
    void requestsCarryTheFormHeaderAndLatin1Bodies();
    void burstOfEditsBecomesOnePost();
    void editOnAnotherSceneFlushesThePendingOne();
    void pendingEditStaysWithItsKeypad();
    void sceneRequestsKeepTheirOrder();
    void keypadRepliesAreNeverEchoed_data();
    void keypadRepliesAreNeverEchoed();
    void showsReadEndsWithOneRevert();
    void configurationIsPacedAndApplied();
    void sceneNotices();
    void configurationNoticeReadsTheConfiguration();
    void datagramsFromOtherHostsAreDropped();
    void factoryResetFailureIsNoError();
    void silentKeypadTimesOut();
    void fileRestoreSequence();
    void heartBeatPortTakenIsReported();
    void keypadConnectionsSendAtOnce();

private:
    void sendDatagram(const QByteArray& datagram, quint16 port, const QString& from = KeypadAddress);
    bool waitForRequests(int count, int timeout = Generous);

    RecordingHttpServer* m_server = nullptr;
    MSPComm* m_comm = nullptr;
    QList<QPair<QString, QString>> m_messages;
};

void TestMSPComm::initTestCase() {
    CommMessageBox::setHandler(
        [this](const QString& title, const QString& text) { m_messages.append(qMakePair(title, text)); });
    m_comm = MSPComm::instance();
    QVERIFY2(m_messages.isEmpty(), "the keypad port could not be bound");
    MSPSceneModel* model = MSPSceneModel::instance();
    connect(model, &MSPSceneModel::effectParamsChanged, m_comm, &MSPComm::handleEffectParamsChanged);
    connect(model, &MSPSceneModel::effectChanged, m_comm, &MSPComm::handleEffectChanged);
}

void TestMSPComm::init() {
    m_server = new RecordingHttpServer;
    QVERIFY(m_server->listen(QHostAddress(KeypadAddress)));
    MSPSceneModel* model = MSPSceneModel::instance();
    for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
        MSPScene* scene = model->scene(i);
        scene->setURL(QStringLiteral("/api/v1/shows/") + QString::number(i + 1));
        scene->setEffect(MSPEffectFactory::instance()->create(2, scene), false);
    }
    model->setActiveSceneIndex(2, false);
    SystemConfiguration::instance()->setBrightness(100);
    m_comm->setDevice(KeypadAddress, QByteArray::fromHex("0050C2AABBCC"));
}

void TestMSPComm::cleanup() {
    QTRY_VERIFY_WITH_TIMEOUT(!m_comm->hasOutstandingReplies(), Generous);
    m_comm->setDevice(QString(), QByteArray());
    delete m_server;
    m_server = nullptr;
}

void TestMSPComm::sendDatagram(const QByteArray& datagram, quint16 port, const QString& from) {
    QUdpSocket sender;
    QVERIFY(sender.bind(QHostAddress(from), 0));
    QCOMPARE(sender.writeDatagram(datagram, QHostAddress(KeypadAddress), port), qint64(datagram.size()));
}

bool TestMSPComm::waitForRequests(int count, int timeout) {
    QElapsedTimer timer;
    timer.start();
    while (m_server->requests().size() < count && timer.elapsed() < timeout)
        QTest::qWait(10);
    return m_server->requests().size() >= count;
}

void TestMSPComm::nothingLeavesWithoutAnAddress() {
    m_comm->setDevice(QString(), QByteArray());
    QSignalSpy sent(m_comm, &MSPComm::requestSent);
    MSPScene* scene = MSPSceneModel::instance()->scene(0);
    m_comm->getShows();
    m_comm->getConfig();
    m_comm->getScene(0);
    m_comm->applyScene(scene);
    m_comm->revertScene(scene);
    m_comm->brightnessUp();
    m_comm->brightnessDown();
    m_comm->pressOnOff();
    m_comm->restoreFactoryDefaults();
    m_comm->postToDevice(QStringLiteral("/api/v1/config"), QStringLiteral("x=1"), false, false, true);
    washOf(0)->setSpeed(7);
    QCOMPARE(sent.count(), 0);
    QVERIFY(!m_comm->hasOutstandingReplies());

    // Off every local subnet counts as no address.
    m_comm->setDevice(QStringLiteral("192.0.2.7"), QByteArray());
    m_comm->getConfig();
    m_comm->brightnessUp();
    QCOMPARE(sent.count(), 0);
    QVERIFY(!MSPComm::isOnLocalSubnet(QStringLiteral("192.0.2.7")));
    QVERIFY(MSPComm::isOnLocalSubnet(QStringLiteral("10.77.200.3")));
    QVERIFY(!MSPComm::isOnLocalSubnet(QStringLiteral("not an address")));
}

void TestMSPComm::requestsCarryTheFormHeaderAndLatin1Bodies() {
    QSignalSpy handled(m_comm, &MSPComm::replyHandled);
    m_comm->postToDevice(QStringLiteral("/api/v1/config"), QStringLiteral("name=Caf\u00e9 & Bar"), true, false, true);
    m_comm->brightnessUp();
    m_comm->brightnessDown();
    m_comm->pressOnOff();
    QVERIFY(waitForRequests(4));
    QCOMPARE(m_server->lines(), QStringList({QStringLiteral("POST /api/v1/config name=Caf\u00e9 & Bar&apply=1"),
                                             QStringLiteral("POST /api/v1/config rel_bright=1"),
                                             QStringLiteral("POST /api/v1/config rel_bright=0"),
                                             QStringLiteral("POST /api/v1/config off_press=1")}));
    QCOMPARE(m_server->requests().first().body, QByteArray("name=Caf\xe9 & Bar&apply=1"));
    QTRY_COMPARE_WITH_TIMEOUT(handled.count(), 4, Generous);
}

void TestMSPComm::burstOfEditsBecomesOnePost() {
    QElapsedTimer burst;
    burst.start();
    for (int speed = 1; speed <= 10; ++speed)
        washOf(2)->setSpeed(speed);
    QVERIFY(waitForRequests(1));
    // Coarse timers may fire up to 5 % early.
    QVERIFY2(burst.elapsed() >= 90, qPrintable(m_server->lines().join(QLatin1Char('\n'))));
    // Nothing else follows the single post.
    QVERIFY(!waitForRequests(2, 400));
    QCOMPARE(m_server->lines(),
             QStringList({QStringLiteral("POST /api/v1/shows/3 ") + MSPSceneModel::instance()->scene(2)->PostData()}));
    QVERIFY(m_server->lines().first().contains(QStringLiteral("param1=10&")));
}

void TestMSPComm::editOnAnotherSceneFlushesThePendingOne() {
    washOf(2)->setSpeed(4);
    washOf(2)->setSpeed(5);
    washOf(3)->setSpeed(6);
    washOf(3)->setSpeed(8);
    QVERIFY(waitForRequests(2));
    const QStringList lines = m_server->lines();
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).startsWith(QStringLiteral("POST /api/v1/shows/3 effect=2&param1=5&")));
    QVERIFY(lines.at(1).startsWith(QStringLiteral("POST /api/v1/shows/4 effect=2&param1=8&")));
}

void TestMSPComm::pendingEditStaysWithItsKeypad() {
    washOf(2)->setSpeed(4);
    // Another keypad answers at the same address before the interval is over.
    m_comm->setDevice(KeypadAddress, QByteArray::fromHex("0050C2DDEEFF"));
    QVERIFY(!waitForRequests(1, 400));
    washOf(2)->setSpeed(5);
    QVERIFY(waitForRequests(1));
    QVERIFY(m_server->lines().first().contains(QStringLiteral("param1=5&")));
}

// The HTTP stack would send these over parallel connections; a keypad must get the edit before
// the save, and the save before the read that shows the saved scene.
void TestMSPComm::sceneRequestsKeepTheirOrder() {
    QStringList events;
    connect(m_comm, &MSPComm::requestSent, this, [&](const QString& method, const QString& path, const QString& body) {
        events << QStringLiteral("sent %1 %2 %3").arg(method, path, body.section(QLatin1Char('&'), 0, 0));
    });
    connect(m_comm, &MSPComm::replyHandled, this,
            [&](QNetworkReply* reply) { events << QStringLiteral("answered ") + reply->url().path(); });
    washOf(2)->setSpeed(4);
    m_comm->applyScene(MSPSceneModel::instance()->scene(2));
    washOf(2)->setSpeed(5);
    washOf(2)->setSpeed(6);
    m_comm->applyScene(MSPSceneModel::instance()->scene(2));
    m_comm->getScene(2);
    QVERIFY(waitForRequests(5));
    QTRY_VERIFY_WITH_TIMEOUT(!m_comm->hasOutstandingReplies(), Generous);
    disconnect(m_comm, &MSPComm::requestSent, this, nullptr);
    disconnect(m_comm, &MSPComm::replyHandled, this, nullptr);
    const QString path = QStringLiteral("/api/v1/shows/3");
    QStringList expected;
    // The two later edits leave as one: the second carries the whole scene.
    for (const QString& request :
         {QStringLiteral("POST %1 effect=2"), QStringLiteral("POST %1 apply=1"), QStringLiteral("POST %1 effect=2"),
          QStringLiteral("POST %1 apply=1"), QStringLiteral("GET %1 ")})
        expected << QStringLiteral("sent ") + request.arg(path) << QStringLiteral("answered ") + path;
    QCOMPARE(events, expected);
    QVERIFY(m_server->lines().at(2).contains(QStringLiteral("param1=6&")));
}

void TestMSPComm::keypadRepliesAreNeverEchoed_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("bare show, same kind") << bareShow(2, 2, 9);
    QTest::newRow("bare show, new kind") << bareShow(2, 3, 4);
    QTest::newRow("inside api") << "<api>" + bareShow(2, 1, 3) + "</api>";
    QTest::newRow("inside all_shows") << "<v1><all_shows>" + bareShow(2, 2, 6) + "</all_shows></v1>";
}

void TestMSPComm::keypadRepliesAreNeverEchoed() {
    QFETCH(QByteArray, reply);
    m_server->setReply(QStringLiteral("GET"), QStringLiteral("/api/v1/shows/2"), reply);
    QSignalSpy handled(m_comm, &MSPComm::replyHandled);
    m_comm->getScene(1);
    QVERIFY(handled.wait(Generous));
    // The reply did reach the model...
    MSPScene* scene = MSPSceneModel::instance()->scene(1);
    QVERIFY(scene->effect());
    QVERIFY(!scene->PostData().isEmpty());
    // ...and nothing went back, not even after the coalescing time.
    QVERIFY(!waitForRequests(2, 400));
    QCOMPARE(m_server->lines(), QStringList({QStringLiteral("GET /api/v1/shows/2 ")}));
}

void TestMSPComm::showsReadEndsWithOneRevert() {
    m_comm->getShows();
    QVERIFY(waitForRequests(2));
    QVERIFY(!waitForRequests(3, 300));
    QCOMPARE(m_server->lines(),
             QStringList({QStringLiteral("GET /api/v1/shows "), QStringLiteral("POST /api/v1/shows/3 apply=0")}));
}

void TestMSPComm::configurationIsPacedAndApplied() {
    QSignalSpy configs(m_comm, &MSPComm::configReceived);
    m_comm->sendConfiguration(
        {QStringLiteral("name=A&universe=1"), QStringLiteral("&enable_switch=1"), QStringLiteral("&disable_switch=2")},
        QString());
    QVERIFY(waitForRequests(3));
    const QList<RecordingHttpServer::Request> requests = m_server->requests();
    QCOMPARE(m_server->lines(), QStringList({QStringLiteral("POST /api/v1/config name=A&universe=1&apply=1"),
                                             QStringLiteral("POST /api/v1/config &enable_switch=1&apply=1"),
                                             QStringLiteral("POST /api/v1/config &disable_switch=2&apply=1")}));
    // Paced at least the keypad's 500 ms apart (an upper bound would only measure the machine).
    QVERIFY(requests.at(1).arrivalMs - requests.at(0).arrivalMs >= 450);
    QVERIFY(requests.at(2).arrivalMs - requests.at(1).arrivalMs >= 450);
    QCOMPARE(configs.count(), 0);
}

void TestMSPComm::sceneNotices() {
    SystemConfiguration::instance()->setBrightness(-1);
    // Scene 3 is active already; 0, 9 and -1 name no scene; then scene 5 is pressed.
    for (int scene : {3, 0, 9, -1, 5})
        sendDatagram(sceneNotice(scene), MSPComm::KeypadNoticePort);
    QVERIFY(waitForRequests(1));
    QCOMPARE(m_server->lines().first(), QStringLiteral("POST /api/v1/shows/5 "));
    // With brightness "off" the configuration is read after the scene.
    QVERIFY(waitForRequests(2));
    QCOMPARE(m_server->lines(),
             QStringList({QStringLiteral("POST /api/v1/shows/5 "), QStringLiteral("GET /api/v1/config ")}));
}

void TestMSPComm::configurationNoticeReadsTheConfiguration() {
    QSignalSpy configs(m_comm, &MSPComm::configReceived);
    QByteArray tooLong = configurationNotice() + "x";
    sendDatagram(tooLong, MSPComm::KeypadNoticePort);
    QByteArray sceneHeaderOfConfigLength = sceneNotice(4) + "x";
    sendDatagram(sceneHeaderOfConfigLength, MSPComm::KeypadNoticePort);
    sendDatagram(configurationNotice(), MSPComm::KeypadNoticePort);
    QVERIFY(configs.wait(Generous));
    QCOMPARE(m_server->lines(), QStringList({QStringLiteral("GET /api/v1/config ")}));
}

void TestMSPComm::datagramsFromOtherHostsAreDropped() {
    sendDatagram(sceneNotice(6), MSPComm::KeypadNoticePort, QStringLiteral("127.0.0.1"));
    sendDatagram(configurationNotice(), MSPComm::KeypadNoticePort, QStringLiteral("127.0.0.1"));
    // The same notice from the keypad itself is taken: everything before it was dropped.
    sendDatagram(sceneNotice(7), MSPComm::KeypadNoticePort);
    QVERIFY(waitForRequests(1));
    QCOMPARE(m_server->lines(), QStringList({QStringLiteral("POST /api/v1/shows/7 ")}));
}

void TestMSPComm::factoryResetFailureIsNoError() {
    m_server->setHangupOn("factory_reset=1");
    QSignalSpy errors(m_comm, &MSPComm::networkError);
    QSignalSpy beats(m_comm, &MSPComm::heartBeat);
    QList<QNetworkReply::NetworkError> failures;
    connect(m_comm, &MSPComm::replyHandled, this, [&failures](QNetworkReply* reply) { failures << reply->error(); });
    m_comm->restoreFactoryDefaults();
    QTRY_COMPARE_WITH_TIMEOUT(failures.size(), 1, Generous);
    QVERIFY(failures.first() != QNetworkReply::NoError);
    QCOMPARE(errors.count(), 0);
    QCOMPARE(beats.count(), 1);
    QCOMPARE(beats.at(0).at(0).toBool(), true);
    // The HTTP stack may try a reused connection once more; only the reset goes out.
    QVERIFY(m_server->lines().contains(QStringLiteral("POST /api/v1/config factory_reset=1")));
    QCOMPARE(m_server->lines().removeDuplicates(), m_server->lines().size() - 1);

    // The same failure on an ordinary request is a network error.
    m_server->setHangupOn("rel_bright");
    m_comm->brightnessUp();
    QVERIFY(errors.wait(Generous));
    disconnect(m_comm, &MSPComm::replyHandled, this, nullptr);
}

void TestMSPComm::silentKeypadTimesOut() {
    m_server->setMode(RecordingHttpServer::Mode::Silent);
    QSignalSpy errors(m_comm, &MSPComm::networkError);
    QString failure;
    connect(m_comm, &MSPComm::replyHandled, this, [&failure](QNetworkReply* reply) { failure = reply->errorString(); });
    QElapsedTimer timer;
    timer.start();
    m_comm->getConfig();
    QVERIFY(errors.wait(MSPComm::TransferTimeoutMs + Generous));
    disconnect(m_comm, &MSPComm::replyHandled, this, nullptr);
    // The stack's limit is a coarse timer, which may fire up to 5 % early.
    QVERIFY2(timer.elapsed() >= MSPComm::TransferTimeoutMs * 9 / 10, qPrintable(failure));
    QVERIFY(!m_comm->hasOutstandingReplies());
}

void TestMSPComm::fileRestoreSequence() {
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
    const MSPDocument::ReadResult result = ConfigurationFileReader::read(&device, true);
    QVERIFY(result.ok);
    QVERIFY(!m_comm->loadingFile());
    QVERIFY(!m_comm->postsSuppressed());
    QVERIFY(waitForRequests(8 * 2 + 2 + 1));

    QStringList expected;
    for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
        const QString path = QStringLiteral("/api/v1/shows/") + QString::number(i + 1);
        expected << QStringLiteral("GET ") + path + QLatin1Char(' ');
        expected << QStringLiteral("POST ") + path + QLatin1Char(' ') + model->scene(i)->PostData() +
                        QStringLiteral("&apply=1");
    }
    // The file's config element follows its shows, so the current scene is asked for first.
    expected << QStringLiteral("GET /api/v1/shows/6 ");
    const QStringList config = SystemConfiguration::instance()->PostData(false, true);
    QCOMPARE(config.size(), 2);
    QVERIFY(config.first().contains(QStringLiteral("name=Foyer&")));
    QVERIFY(config.first().contains(QStringLiteral("&abs_bright=255&")));
    for (const QString& text : config)
        expected << QStringLiteral("POST /api/v1/config ") + text + QStringLiteral("&apply=1");
    QVERIFY2(!waitForRequests(expected.size() + 1, 400), qPrintable(m_server->lines().join(QLatin1Char('\n'))));
    QCOMPARE(m_server->lines(), expected);
    QCOMPARE(errors.count(), 0);
    // Reading the file does not move the model's active scene.
    QCOMPARE(model->activeSceneIndex(), 2);

    const QList<RecordingHttpServer::Request> requests = m_server->requests();
    QVERIFY(requests.at(1).arrivalMs - requests.at(0).arrivalMs >= 250);
    QVERIFY(requests.at(18).arrivalMs - requests.at(17).arrivalMs >= 450);
}

void TestMSPComm::heartBeatPortTakenIsReported() {
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
    QCOMPARE(m_messages.first().first, QStringLiteral("Error"));
    QCOMPARE(m_messages.first().second, QStringLiteral("Failed to bind to port 6038.  Close any application that may "
                                                       "be using this port."));
}

void TestMSPComm::keypadConnectionsSendAtOnce() {
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

LUMETTO_NETWORK_TEST_MAIN(TestMSPComm, "tst_mspcomm", QCoreApplication)

#include "tst_mspcomm.moc"

#include "KeypadSimulator.h"
#include "TestEnvironment.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkDatagram>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSignalSpy>
#include <QUdpSocket>

// The simulator seen from the editor's host (10.77.0.1): its HTTP semantics, its datagrams and
// its control channel.
class TestKeypadSim : public QObject {
    Q_OBJECT

    QNetworkAccessManager m_http;

    struct Reply {
        QNetworkReply::NetworkError error = QNetworkReply::NoError;
        int status = 0;
        QByteArray body;
    };

    Reply send(const QString& method, const QString& address, const QString& path, const QByteArray& body = {},
               int timeoutMs = 10000) {
        QNetworkRequest request(QUrl(QStringLiteral("http://") + address + path));
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
        request.setTransferTimeout(timeoutMs);
        QNetworkReply* reply = method == QLatin1String("GET") ? m_http.get(request) : m_http.post(request, body);
        QSignalSpy finished(reply, &QNetworkReply::finished);
        if (!reply->isFinished())
            finished.wait(timeoutMs + 5000);
        Reply result{reply->error(), reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                     reply->readAll()};
        reply->deleteLater();
        return result;
    }

    static QByteArray nextDatagram(QUdpSocket& socket, int timeoutMs = 5000) {
        if (!socket.hasPendingDatagrams()) {
            QSignalSpy ready(&socket, &QUdpSocket::readyRead);
            if (!ready.wait(timeoutMs))
                return {};
        }
        return socket.receiveDatagram().data();
    }

private slots:
    void editsApplyAndRevert() {
        KeypadSimulator sim;
        QVERIFY(sim.start({QStringLiteral("10.77.0.2"), QStringLiteral("Lobby")}));
        const QString a = sim.address();
        const QString factory = sim.savedQuery(3);

        const QByteArray edit = "effect=2&param1=5&param2=1&param_xy=(0,0,0)&num_colors=0";
        Reply r = send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/shows/3"), edit);
        QCOMPARE(r.status, 200);
        QVERIFY(r.body.contains("<show><url>/api/v1/shows/3</url>\n<effect>2</effect>\n<parameters><param>5</param>"
                                "<param>1</param><param>0</param><by>0</by><x>0</x><y>0</y></parameters>"));
        QCOMPARE(sim.liveQuery(3), QString::fromLatin1(edit));
        QCOMPARE(sim.savedQuery(3), factory);

        QCOMPARE(send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/shows/3"), "apply=1").status, 200);
        QCOMPARE(sim.savedQuery(3), QString::fromLatin1(edit));

        const QByteArray wash = "effect=4&param1=1&param2=0&param3=1&param_xy=(0,0,0)&num_colors=2"
                                "&color1=(255,0,0)&custom_xy_1=(0,0,0)&color2=(0,10,200)&custom_xy_2=(3127,3290,1000)";
        QCOMPARE(send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/shows/3"), wash).status, 200);
        r = send(QStringLiteral("GET"), a, QStringLiteral("/api/v1/shows/3"));
        QVERIFY(r.body.contains("<color>\n<red>0</red>\n<grn>10</grn>\n<blu>200</blu>\n<by>1000</by><x>3127</x>"
                                "<y>3290</y></color>"));
        QCOMPARE(r.body.count("<color>"), 6);
        QCOMPARE(send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/shows/3"), "apply=0").status, 200);
        QCOMPARE(sim.liveQuery(3), QString::fromLatin1(edit));

        // A file load posts the scene and saves it in one request.
        QCOMPARE(send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/shows/5"), wash + "&apply=1").status, 200);
        QCOMPARE(sim.savedQuery(5), QString::fromLatin1(wash));

        // Malformed edits are refused whole.
        for (const QByteArray& bad :
             {QByteArray("effect=2&param1=5"), QByteArray("effect=9&param1=5&param2=1&param_xy=(0,0,0)&num_colors=0"),
              QByteArray("effect=2&param1=5&param2=1&param_xy=(0,0)&num_colors=0"),
              QByteArray("effect=2&param1=05&param2=1&param_xy=(0,0,0)&num_colors=0"),
              QByteArray("effect=2&param1=5&param2=1&param_xy=(0,0,0)&num_colors=1&color1=(1,2,3)&custom_xy_1=(0,0,0)"),
              QByteArray("apply=2")}) {
            r = send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/shows/3"), bad);
            QCOMPARE(r.error, QNetworkReply::ProtocolInvalidOperationError);
            QCOMPARE(r.status, 400);
        }
        QCOMPARE(sim.liveQuery(3), QString::fromLatin1(edit));
        QCOMPARE(send(QStringLiteral("GET"), a, QStringLiteral("/api/v1/shows/0")).status, 404);
        QCOMPARE(send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/shows/-1"), "").status, 404);

        // Every request is in the log, exactly.
        QTRY_COMPARE(sim.requestCount(QStringLiteral("POST"), QStringLiteral("/api/v1/shows/3")), 10);
        const KeypadSimulator::Request first =
            sim.requests(QStringLiteral("POST"), QStringLiteral("/api/v1/shows/3")).first();
        QCOMPARE(first.body, edit);
        QCOMPARE(first.peer, QStringLiteral("10.77.0.1"));
    }

    void scenesAreSelectedByReadsAndPresses() {
        KeypadSimulator sim;
        QVERIFY(sim.start());
        QUdpSocket notices;
        QVERIFY(notices.bind(QHostAddress(QStringLiteral("10.77.0.1")), 6041));
        const QString a = sim.address();

        Reply r = send(QStringLiteral("GET"), a, QStringLiteral("/api/v1/shows"));
        QCOMPARE(r.body.count("<show>"), 8);
        QVERIFY(r.body.startsWith("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<api>\n<shows>\n<currentShow>1"));
        QCOMPARE(sim.activeScene(), 1);

        r = send(QStringLiteral("GET"), a, QStringLiteral("/api/v1/shows/4"));
        QVERIFY(r.body.contains("<currentShow>4</currentShow>"));
        QCOMPARE(sim.activeScene(), 4);
        // The keypad-press read: an empty POST.
        r = send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/shows/6"), "");
        QVERIFY(r.body.contains("<currentShow>6</currentShow>"));
        QCOMPARE(sim.activeScene(), 6);
        // Reads by the editor are not presses: no notice for them.
        QVERIFY(!notices.hasPendingDatagrams());

        QVERIFY(sim.press(2));
        QByteArray notice = nextDatagram(notices);
        QCOMPARE(notice.toHex(), QByteArray("0401dc4a010001030000000000020000"));
        QCOMPARE(sim.activeScene(), 2);
        QCOMPARE(sim.command("press 2"), QByteArray("ok unchanged"));

        QVERIFY(sim.pressDown());
        notice = nextDatagram(notices);
        QCOMPARE(notice.size(), 17);
        QCOMPARE(notice.left(8).toHex(), QByteArray("0401dc4a01000303"));
        QCOMPARE(sim.state().value(QStringLiteral("level")).toInt(), 255 - 16);

        // A disabled button does nothing.
        QCOMPARE(send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/config"), "&disable_switch=5&apply=1").status,
                 200);
        QCOMPARE(nextDatagram(notices).size(), 17);
        QCOMPARE(sim.command("press 5"), QByteArray("ok disabled"));
        QCOMPARE(sim.activeScene(), 2);

        // With notices for button changes only, the editor's own posts send none.
        QCOMPARE(sim.command("config-notices buttons"), QByteArray("ok"));
        const int sent = sim.state().value(QStringLiteral("noticesSent")).toInt();
        QCOMPARE(send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/config"), "universe=4&apply=1").status, 200);
        QVERIFY(sim.pressOnOff());
        QCOMPARE(nextDatagram(notices).size(), 17);
        QCOMPARE(sim.state().value(QStringLiteral("noticesSent")).toInt(), sent + 1);
        QVERIFY(sim.hasEvent(QStringLiteral("scene-notice 2 to 10.77.0.1")));
    }

    void configurationPosts() {
        KeypadSimulator sim;
        QVERIFY(sim.start({QStringLiteral("10.77.0.3"), QStringLiteral("Hall")}));
        const QString a = sim.address();
        Reply r = send(QStringLiteral("GET"), a, QStringLiteral("/api/v1/config"));
        for (const char* property : {"name", "ip", "version", "universe", "vexil", "num_ports", "num_lights",
                                     "brightness", "switch_state", "global_profile"})
            QVERIFY2(r.body.contains(QByteArray("<url>/api/v1/config/") + property + "</url>"), property);
        QVERIFY(r.body.contains("<value>Hall</value>"));
        QVERIFY(r.body.contains("<value>10.77.0.3</value>"));
        QVERIFY(r.body.contains("<value>1.3.2</value>"));
        QVERIFY(r.body.contains("<value>1,1,1,1,1,1,1,1,1,1,1</value>"));

        r = send(
            QStringLiteral("POST"), a, QStringLiteral("/api/v1/config"),
            "name=Hall <Co>&universe=7&vexil=2&num_ports=16&num_lights=170&abs_bright=off&global_profile=9&apply=1");
        QCOMPARE(r.status, 200);
        QVERIFY(r.body.contains("<value>Hall &lt;Co&gt;</value>"));
        QVERIFY(r.body.contains("<url>/api/v1/config/brightness</url>\n<value>off</value>"));
        r = send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/config"),
                 "&enable_switch=1&disable_switch=2&enable_switch=3&enable_switch=4&enable_switch=5&enable_switch=6"
                 "&enable_switch=7&enable_switch=8&disable_switch=11&enable_switch=10&disable_switch=9&apply=1");
        QVERIFY(r.body.contains("<value>1,0,1,1,1,1,1,1,0,1,0</value>"));
        QJsonObject state = sim.state();
        QCOMPARE(state.value(QStringLiteral("universe")).toInt(), 7);
        QCOMPARE(state.value(QStringLiteral("on")).toBool(), false);

        // Brightness: up from off turns on, then steps; on/off toggles.
        send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/config"), "rel_bright=1");
        QCOMPARE(sim.state().value(QStringLiteral("on")).toBool(), true);
        send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/config"), "abs_bright=250");
        send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/config"), "rel_bright=1");
        QCOMPARE(sim.state().value(QStringLiteral("level")).toInt(), 255);
        send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/config"), "rel_bright=0");
        QCOMPARE(sim.state().value(QStringLiteral("level")).toInt(), 239);
        r = send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/config"), "off_press=1");
        QVERIFY(r.body.contains("<value>off</value>"));

        // Out of range: refused whole.
        for (const QByteArray& bad :
             {QByteArray("universe=256"), QByteArray("vexil=3&universe=1"), QByteArray("num_lights=0"),
              QByteArray("disable_switch=12"), QByteArray("colour=red"), QByteArray("abs_bright=-1")})
            QCOMPARE(send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/config"), bad).status, 400);
        QCOMPARE(sim.state().value(QStringLiteral("universe")).toInt(), 7);
    }

    void factoryResetRestoresDefaultsAndGoesSilent() {
        QUdpSocket heartbeats;
        QVERIFY(heartbeats.bind(QHostAddress(QStringLiteral("10.77.0.1")), 6038));
        KeypadSimulator sim;
        KeypadSimulator::Options options;
        options.address = QStringLiteral("10.77.0.4");
        options.rebootMs = 1500;
        options.heartbeatMs = 100;
        options.editor = QStringLiteral("10.77.0.1");
        QVERIFY(sim.start(options));
        const QString a = sim.address();
        const QString factory = sim.savedQuery(1);
        QVERIFY(sim.setScene(1, "effect=5&param1=3&param2=0&param_xy=(0,0,0)&num_colors=0"));
        QVERIFY(sim.setConfig("universe=9"));
        QVERIFY(sim.press(7));

        QCOMPARE(send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/config"), "factory_reset=1").status, 200);
        QTRY_VERIFY(sim.hasEvent(QStringLiteral("silent 1500")));
        QElapsedTimer silence;
        silence.start();
        QCOMPARE(send(QStringLiteral("GET"), a, QStringLiteral("/api/v1/config")).error,
                 QNetworkReply::ConnectionRefusedError);
        QJsonObject state = sim.state();
        QCOMPARE(state.value(QStringLiteral("silent")).toBool(), true);
        QCOMPARE(state.value(QStringLiteral("universe")).toInt(), 0);
        QCOMPARE(state.value(QStringLiteral("active")).toInt(), 1);
        QCOMPARE(sim.savedQuery(1), factory);
        // A rebooting keypad sends no heartbeats.
        while (heartbeats.hasPendingDatagrams())
            heartbeats.receiveDatagram();
        QVERIFY(nextDatagram(heartbeats, 700).isEmpty() || sim.hasEvent(QStringLiteral("awake")));

        QTRY_VERIFY_WITH_TIMEOUT(sim.hasEvent(QStringLiteral("awake")), 10000);
        QVERIFY(silence.elapsed() >= 1000);
        QCOMPARE(send(QStringLiteral("GET"), a, QStringLiteral("/api/v1/config")).status, 200);
        QCOMPARE(nextDatagram(heartbeats).size(), 16);
    }

    void heartbeatsGoToTheLastEditor() {
        QUdpSocket heartbeats;
        QVERIFY(heartbeats.bind(QHostAddress(QStringLiteral("10.77.0.1")), 6038));
        KeypadSimulator sim;
        KeypadSimulator::Options options;
        options.address = QStringLiteral("10.77.0.5");
        options.heartbeatMs = 100;
        QVERIFY(sim.start(options));
        // Nobody has talked to the keypad yet.
        QVERIFY(nextDatagram(heartbeats, 500).isEmpty());

        QCOMPARE(send(QStringLiteral("GET"), sim.address(), QStringLiteral("/api/v1/config")).status, 200);
        const QByteArray beat = nextDatagram(heartbeats);
        QCOMPARE(beat.size(), 16);
        QCOMPARE(beat.left(8).toHex(), QByteArray("0401dc4a01000203"));
        QTRY_VERIFY(sim.hasEvent(QStringLiteral("editor 10.77.0.1")));

        QVERIFY(sim.setHeartbeats(false));
        while (heartbeats.hasPendingDatagrams())
            heartbeats.receiveDatagram();
        QVERIFY(nextDatagram(heartbeats, 600).isEmpty());
        QVERIFY(sim.setHeartbeats(true));
        QCOMPARE(nextDatagram(heartbeats).size(), 16);
    }

    void refusesDelaysAndHangs() {
        KeypadSimulator sim;
        QVERIFY(sim.start({QStringLiteral("10.77.0.6"), QStringLiteral("Bad")}));
        const QString a = sim.address();

        QVERIFY(sim.setRefusing(true));
        QCOMPARE(send(QStringLiteral("GET"), a, QStringLiteral("/api/v1/config")).error,
                 QNetworkReply::ConnectionRefusedError);
        QVERIFY(sim.setRefusing(false));
        QCOMPARE(send(QStringLiteral("GET"), a, QStringLiteral("/api/v1/config")).status, 200);

        QVERIFY(sim.setDelay(400));
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(send(QStringLiteral("GET"), a, QStringLiteral("/api/v1/shows/2")).status, 200);
        QVERIFY(timer.elapsed() >= 380);
        QVERIFY(sim.setDelay(0));

        QVERIFY(sim.setHanging(true));
        timer.restart();
        const Reply hung = send(QStringLiteral("POST"), a, QStringLiteral("/api/v1/shows/2"), "apply=1", 1000);
        QCOMPARE(hung.error, QNetworkReply::OperationCanceledError);
        QVERIFY(timer.elapsed() >= 900);
        // Received and logged, never answered.
        QTRY_COMPARE(sim.requestCount(QStringLiteral("POST"), QStringLiteral("/api/v1/shows/2")), 1);
        QVERIFY(sim.setHanging(false));
        QCOMPARE(send(QStringLiteral("GET"), a, QStringLiteral("/api/v1/config")).status, 200);
    }

    void logsEveryRequestExactly() {
        KeypadSimulator sim;
        QVERIFY(sim.start({QStringLiteral("10.77.0.9"), QStringLiteral("Log")}));
        const QByteArray odd("name=\"quoted\" back\\slash\nline\ttab \xe9\x01 end ");
        QCOMPARE(send(QStringLiteral("POST"), sim.address(), QStringLiteral("/api/v1/config"), odd).status, 400);
        QCOMPARE(send(QStringLiteral("GET"), sim.address(), QStringLiteral("/nowhere")).status, 404);
        QTRY_COMPARE(sim.requestCount(), 2);
        const KeypadSimulator::Request post = sim.requestLog().at(0);
        QCOMPARE(post.method, QStringLiteral("POST"));
        QCOMPARE(post.path, QStringLiteral("/api/v1/config"));
        QCOMPARE(post.body, odd);
        QCOMPARE(post.contentType, QByteArray("application/x-www-form-urlencoded"));
        QCOMPARE(sim.requestLog().at(1).body, QByteArray());
        QVERIFY(sim.hasEvent(QStringLiteral("refused 404")));

        QVERIFY(sim.command("dance").startsWith("error "));
        QVERIFY(sim.command("press 9").startsWith("error "));
        QVERIFY(sim.command("delay soon").startsWith("error "));
        QVERIFY(!sim.setScene(2, "effect=2"));
        QVERIFY(sim.isRunning());

        // A keypad that loses power mid-request: the client sees the connection fail.
        QVERIFY(sim.setHanging(true));
        QNetworkRequest request(QUrl(QStringLiteral("http://10.77.0.9/api/v1/shows")));
        request.setTransferTimeout(10000);
        QNetworkReply* reply = m_http.get(request);
        QTRY_COMPARE(sim.requestCount(), 3);
        sim.kill();
        QVERIFY(!sim.isRunning());
        // Qt retries once on a new connection, which may first have to give up on the vanished host.
        QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished(), 20000);
        QVERIFY(reply->error() != QNetworkReply::NoError);
        QVERIFY(reply->error() != QNetworkReply::OperationCanceledError);
        reply->deleteLater();
    }

    void severalSimulatorsSideBySide() {
        KeypadSimulator first, second;
        QVERIFY(first.start({QStringLiteral("10.77.0.7"), QStringLiteral("One")}));
        QVERIFY(second.start({QStringLiteral("10.77.1.8"), QStringLiteral("Two")}));
        QVERIFY(first.mac() != second.mac());
        QVERIFY(send(QStringLiteral("GET"), first.address(), QStringLiteral("/api/v1/config")).body.contains("One"));
        QVERIFY(send(QStringLiteral("GET"), second.address(), QStringLiteral("/api/v1/config")).body.contains("Two"));
        QTRY_COMPARE(first.requestCount(), 1);
        QTRY_COMPARE(second.requestCount(), 1);
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestKeypadSim, "tst_keypadsim", QCoreApplication)
#include "tst_keypadsim.moc"

#include "KeypadSimulator.h"
#include "TestEnvironment.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkDatagram>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUdpSocket>

// The simulator seen from the editor's host (10.77.0.1): its HTTP semantics, its datagrams and
// its control channel. What it accepts and refuses is KeypadState's, tested on its own.
class TestKeypadSim : public QObject {
    Q_OBJECT

    QNetworkAccessManager m_http;
    QString m_at; // the simulator that get() and post() talk to

    struct Reply {
        QNetworkReply::NetworkError error = QNetworkReply::NoError;
        int status = 0;
        QByteArray body;
    };

    Reply send(const QString& path, const QByteArray* body, int timeoutMs = 10000) {
        QNetworkRequest request(QUrl(QStringLiteral("http://") + m_at + path));
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
        request.setTransferTimeout(timeoutMs);
        QNetworkReply* reply = body ? m_http.post(request, *body) : m_http.get(request);
        QSignalSpy finished(reply, &QNetworkReply::finished);
        if (!reply->isFinished())
            (void)finished.wait(timeoutMs + 5000);
        Reply result{reply->error(), reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                     reply->readAll()};
        reply->deleteLater();
        return result;
    }
    Reply get(const QString& path) { return send(path, nullptr); }
    Reply post(const QString& path, const QByteArray& body, int timeoutMs = 10000) {
        return send(path, &body, timeoutMs);
    }

    static QByteArray nextDatagram(QUdpSocket& socket, int timeoutMs = 5000) {
        if (!socket.hasPendingDatagrams() && !QSignalSpy(&socket, &QUdpSocket::readyRead).wait(timeoutMs))
            return {};
        return socket.receiveDatagram().data();
    }

    bool start(KeypadSimulator& sim, const QString& address, int heartbeatMs = 500, int rebootMs = -1) {
        KeypadSimulator::Options options(address, QStringLiteral("Hall"));
        options.heartbeatMs = heartbeatMs;
        options.rebootMs = rebootMs;
        m_at = address;
        return sim.start(options);
    }

private slots:
    // "--version X.Y.Z" was the firmware option before "--firmware"; scripts that use it still work.
    void firmwareUnderItsOldOptionName() {
        KeypadSimulator sim;
        KeypadSimulator::Options options(QStringLiteral("10.77.0.2"), QStringLiteral("Hall"));
        options.extraArguments = QStringList{"--version", "1.1.14"};
        m_at = options.address;
        QVERIFY(sim.start(options));
        QVERIFY(get("/api/v1/config").body.contains("<value>1.1.14</value>"));
    }

    void editsApplyAndRevert() {
        KeypadSimulator sim;
        QVERIFY(start(sim, "10.77.0.2"));
        const QString factory = sim.savedQuery(3);
        const QByteArray edit = "effect=4&param1=2&param2=1&param3=3&param_xy=(0,0,0)&num_colors=1"
                                "&color1=(9,8,7)&custom_xy_1=(3000,4000,500)";
        const QByteArray reply = post("/api/v1/shows/3", edit).body;
        // The scene as the editor's reader expects it, unused colours and all.
        QVERIFY(reply.contains("<show><url>/api/v1/shows/3</url>\n<effect>4</effect>\n<parameters><param>2</param>"
                               "<param>1</param><param>3</param><by>0</by><x>0</x><y>0</y></parameters>"
                               "<numColors>1</numColors>\n<customColors><color>\n<red>9</red>\n<grn>8</grn>\n"
                               "<blu>7</blu>\n<by>500</by><x>3000</x><y>4000</y></color>"));
        QCOMPARE(reply.count("<color>"), 6);
        QCOMPARE(sim.liveQuery(3), QString::fromLatin1(edit));
        QCOMPARE(sim.savedQuery(3), factory);
        QCOMPARE(post("/api/v1/shows/3", "apply=0").status, 200);
        QCOMPARE(sim.liveQuery(3), factory);
        QCOMPARE(post("/api/v1/shows/3", edit + "&apply=1").status, 200);
        QCOMPARE(sim.savedQuery(3), QString::fromLatin1(edit));
        QCOMPARE(post("/api/v1/shows/3", "effect=2&param1=5").status, 400);
        QCOMPARE(get("/api/v1/shows/0").status, 404);
    }

    void scenesAreSelectedByReadsAndPresses() {
        KeypadSimulator sim;
        QVERIFY(start(sim, "10.77.0.2"));
        QUdpSocket notices;
        QVERIFY(notices.bind(QHostAddress(QStringLiteral("10.77.0.1")), 6041));
        const QByteArray all = get("/api/v1/shows").body;
        QVERIFY(all.startsWith("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<api>\n<shows>\n<currentShow>1"));
        QCOMPARE(all.count("<show>"), 8);
        QVERIFY(get("/api/v1/shows/4").body.contains("<currentShow>4</currentShow>"));
        // The keypad-press read: an empty POST.
        QVERIFY(post("/api/v1/shows/6", "").body.contains("<currentShow>6</currentShow>"));
        QCOMPARE(sim.activeScene(), 6);
        // Reads by the editor are not presses: no notice for them.
        QVERIFY(!notices.hasPendingDatagrams());

        QVERIFY(sim.press(2));
        QCOMPARE(nextDatagram(notices).toHex(), QByteArray("0401dc4a010001030000000000020000"));
        QCOMPARE(sim.command("press 2"), QByteArray("ok unchanged"));
        QVERIFY(sim.pressDown());
        QCOMPARE(nextDatagram(notices).left(8).toHex(), QByteArray("0401dc4a01000303"));
        QCOMPARE(sim.state().value(QStringLiteral("level")).toInt(), 255 - 16);

        // A disabled button does nothing.
        QCOMPARE(post("/api/v1/config", "&disable_switch=5&apply=1").status, 200);
        QCOMPARE(nextDatagram(notices).size(), 17);
        QCOMPARE(sim.command("press 5"), QByteArray("ok disabled"));
        // With notices for button changes only, the editor's own posts send none.
        QCOMPARE(sim.command("config-notices buttons"), QByteArray("ok"));
        const int sent = sim.state().value(QStringLiteral("noticesSent")).toInt();
        QCOMPARE(post("/api/v1/config", "universe=4&apply=1").status, 200);
        QVERIFY(sim.pressOnOff());
        QCOMPARE(nextDatagram(notices).size(), 17);
        QCOMPARE(sim.state().value(QStringLiteral("noticesSent")).toInt(), sent + 1);
        QVERIFY(sim.hasEvent(QStringLiteral("scene-notice 2 to 10.77.0.1")));
    }

    void factoryResetRestoresDefaultsAndGoesSilent() {
        QUdpSocket heartbeats;
        QVERIFY(heartbeats.bind(QHostAddress(QStringLiteral("10.77.0.1")), 6038));
        KeypadSimulator sim;
        QVERIFY(start(sim, "10.77.0.4", 100, 1500));
        const QString factory = sim.savedQuery(1);
        QVERIFY(sim.setScene(1, "effect=5&param1=3&param2=0&param_xy=(0,0,0)&num_colors=0"));
        QVERIFY(sim.setConfig("universe=9"));
        QVERIFY(sim.press(7));
        QCOMPARE(post("/api/v1/config", "factory_reset=1").status, 200);
        QTRY_VERIFY(sim.hasEvent(QStringLiteral("silent 1500")));
        QElapsedTimer silence;
        silence.start();
        QCOMPARE(get("/api/v1/config").error, QNetworkReply::ConnectionRefusedError);
        const QJsonObject state = sim.state();
        QCOMPARE(state.value(QStringLiteral("universe")).toInt(), 0);
        QCOMPARE(state.value(QStringLiteral("active")).toInt(), 1);
        QCOMPARE(sim.savedQuery(1), factory);
        // A rebooting keypad sends no heartbeats.
        while (heartbeats.hasPendingDatagrams())
            heartbeats.receiveDatagram();
        QVERIFY(nextDatagram(heartbeats, 700).isEmpty() || sim.hasEvent(QStringLiteral("awake")));
        QTRY_VERIFY_WITH_TIMEOUT(sim.hasEvent(QStringLiteral("awake")), 10000);
        QVERIFY(silence.elapsed() >= 1000);
        QCOMPARE(get("/api/v1/config").status, 200);
        QCOMPARE(nextDatagram(heartbeats).size(), 16);
    }

    // The control channel makes the keypad refuse, dawdle or hang; the log keeps every request as it came.
    void controlChannelAndRequestLog() {
        KeypadSimulator sim;
        QVERIFY(start(sim, "10.77.0.6"));
        QVERIFY(sim.setRefusing(true));
        QCOMPARE(get("/api/v1/config").error, QNetworkReply::ConnectionRefusedError);
        QVERIFY(sim.setRefusing(false));
        QVERIFY(sim.setDelay(400));
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(get("/api/v1/shows/2").status, 200);
        QVERIFY(timer.elapsed() >= 380);
        QVERIFY(sim.setDelay(0));
        QVERIFY(sim.setHanging(true));
        // Only the client's own time limit ends the wait.
        QCOMPARE(post("/api/v1/shows/2", "apply=1", 1000).error, QNetworkReply::OperationCanceledError);
        QVERIFY(sim.setHanging(false));
        for (const char* bad : {"dance", "press 9", "delay soon"})
            QVERIFY2(sim.command(bad).startsWith("error "), bad);
        QVERIFY(!sim.setScene(2, "effect=2"));

        const QByteArray odd("name=\"quoted\" back\\slash\nline\ttab \xe9\x01 end ");
        QCOMPARE(post("/api/v1/config", odd).status, 400);
        QCOMPARE(get("/nowhere").status, 404);
        QTRY_COMPARE(sim.requestCount("GET", "/nowhere"), 1);
        QCOMPARE(sim.requestCount(), 4);
        // The hanging request was received and logged, never answered.
        QCOMPARE(sim.requestCount("POST", "/api/v1/shows/2"), 1);
        const KeypadSimulator::Request logged = sim.requests("POST", "/api/v1/config").value(0);
        QCOMPARE(logged.body, odd);
        QCOMPARE(logged.contentType, QByteArray("application/x-www-form-urlencoded"));
        QVERIFY(sim.hasEvent(QStringLiteral("refused 404")));
        QVERIFY(sim.isRunning());
    }

    // A stalled keypad takes every request and answers none until it recovers, its heartbeats going
    // on; then it works off what it holds in the order it came: an older edit never lands last.
    void stallHoldsRequestsAndAnswersThemInOrder() {
        KeypadSimulator sim;
        QVERIFY(start(sim, "10.77.0.8", 100));
        QUdpSocket heartbeats;
        QVERIFY(heartbeats.bind(QHostAddress(QStringLiteral("10.77.0.1")), 6038));
        QVERIFY(sim.command("stall soon").startsWith("error "));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(sim.stall(1500));
        QList<QNetworkReply*> replies;
        QNetworkRequest request(QUrl(QStringLiteral("http://10.77.0.8/api/v1/shows/2")));
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
        // The client opens at most six connections to a host.
        for (int speed = 3; speed <= 7; ++speed) {
            replies << m_http.post(request, "effect=2&param1=" + QByteArray::number(speed) +
                                                "&param2=1&param_xy=(0,0,0)&num_colors=0");
            QTRY_COMPARE(sim.requestCount(), replies.size());
        }
        QCOMPARE(sim.state().value(QStringLiteral("held")).toInt(), 5);
        QVERIFY(!nextDatagram(heartbeats).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!replies.last()->isRunning(), 10000);
        QVERIFY(timer.elapsed() >= 1400 && replies.first()->error() == QNetworkReply::NoError);
        QVERIFY(sim.liveQuery(2).startsWith(QStringLiteral("effect=2&param1=7&")));
        qDeleteAll(replies);

        // Or until it is told otherwise.
        QVERIFY(sim.stall(-1));
        QNetworkReply* held = m_http.get(QNetworkRequest(QUrl(QStringLiteral("http://10.77.0.8/api/v1/config"))));
        QVERIFY(!QTest::qWaitFor([held] { return held->isFinished(); }, 2000));
        QVERIFY(sim.endStall());
        QTRY_VERIFY(held->isFinished());
        QVERIFY(sim.hasEvent(QStringLiteral("stalled")) && sim.hasEvent(QStringLiteral("released")));
        delete held;
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestKeypadSim, "tst_keypadsim", QCoreApplication)
#include "tst_keypadsim.moc"

#include "DiscoveryPacket.h"
#include "KeypadSimulator.h"
#include "TestEnvironment.h"
#include "Vexil.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkDatagram>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QUdpSocket>

#include <algorithm>

// Vexil against simulated keypads that are hosts of their own on the private network.
class TestVexilDiscovery : public QObject {
    Q_OBJECT

    struct Answer {
        QByteArray mac;
        QString address;
        quint32 serial = 0;
        quint16 version = 0;
        QByteArray versionText;
        QByteArray name;
    };
    QList<Answer> m_answers;

    void collect(Vexil& vexil) {
        connect(&vexil, &Vexil::signalDiscoverResponse, this,
                [this](char* mac, quint32 ip, quint32 sn, quint16 ver, quint32, char* verstring, char* idstring) {
                    m_answers.append({QByteArray(mac, 6), QHostAddress(ip).toString(), sn, ver, QByteArray(verstring),
                                      QByteArray(idstring)});
                });
    }

    const Answer* answerFrom(const QString& address) const {
        for (const Answer& answer : m_answers)
            if (answer.address == address)
                return &answer;
        return nullptr;
    }

private slots:
    void init() { m_answers.clear(); }

    void findsOneKeypad() {
        KeypadSimulator sim;
        KeypadSimulator::Options options(QStringLiteral("10.77.0.2"), QStringLiteral("Lobby"));
        options.serial = QStringLiteral("4711");
        options.version = QStringLiteral("1.3.2");
        QVERIFY(sim.start(options));
        Vexil vexil;
        collect(vexil);
        QVERIFY(vexil.sendDiscover("10.77.255.255"));
        QTRY_COMPARE(m_answers.size(), 1);
        const Answer& a = m_answers.first();
        QCOMPARE(a.address, QStringLiteral("10.77.0.2"));
        QCOMPARE(a.mac, sim.macBytes());
        QCOMPARE(a.name, QByteArray("Lobby"));
        QCOMPARE(a.serial, 4711u);
        QCOMPARE(a.version, quint16(0x0132));
        const QList<QByteArray> lines = a.versionText.split('\n');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(2), QByteArray("Software:SFT-009251-00"));
        QCOMPARE(lines.at(3), QByteArray("Firmware:1.3.2"));
        // The keypad now knows where its editor is.
        QTRY_VERIFY(sim.hasEvent(QStringLiteral("discover 10.77.0.1")));
    }

    void findsThreeKeypadsAlsoThroughTheGlobalBroadcast() {
        KeypadSimulator lobby, hall, other;
        QVERIFY(lobby.start({QStringLiteral("10.77.0.3"), QStringLiteral("Lobby")}));
        QVERIFY(hall.start({QStringLiteral("10.77.0.12"), QStringLiteral("Hall")}));
        KeypadSimulator::Options foreign(QStringLiteral("10.77.2.4"), QStringLiteral("Stage"));
        foreign.partNumber = QStringLiteral("SFT-000001-00");
        QVERIFY(other.start(foreign));

        Vexil vexil;
        collect(vexil);
        QVERIFY(vexil.sendDiscover("255.255.255.255"));
        QTRY_COMPARE(m_answers.size(), 3);
        QVERIFY(answerFrom(QStringLiteral("10.77.0.3")));
        QCOMPARE(answerFrom(QStringLiteral("10.77.0.3"))->name, QByteArray("Lobby"));
        QCOMPARE(answerFrom(QStringLiteral("10.77.0.12"))->name, QByteArray("Hall"));
        QVERIFY(answerFrom(QStringLiteral("10.77.2.4"))->versionText.contains("Software:SFT-000001-00\n"));
        QCOMPARE(answerFrom(QStringLiteral("10.77.0.12"))->mac, hall.macBytes());

        // A second request is answered again, by each keypad once.
        m_answers.clear();
        QVERIFY(vexil.sendDiscover("10.77.255.255"));
        QTRY_COMPARE(m_answers.size(), 3);
    }

    void movesAKeypadByItsHardwareAddress() {
        KeypadSimulator target, bystander;
        QVERIFY(target.start({QStringLiteral("10.77.0.5"), QStringLiteral("Target")}));
        QVERIFY(bystander.start({QStringLiteral("10.77.0.6"), QStringLiteral("Bystander")}));
        Vexil vexil;
        collect(vexil);
        QVERIFY(vexil.sendDiscover("10.77.255.255"));
        QTRY_COMPARE(m_answers.size(), 2);

        QByteArray mac = answerFrom(QStringLiteral("10.77.0.5"))->mac;

        // A request with a netmask that is not contiguous is refused, and the keypad says so.
        DiscoveryPacket odd;
        odd.type = DiscoveryPacket::Type::SetAddressRequest;
        std::copy(mac.cbegin(), mac.cend(), odd.mac.begin());
        odd.ipv4 = QHostAddress(QStringLiteral("10.77.3.60")).toIPv4Address();
        odd.netmask = 0xFF00FF00;
        QUdpSocket raw;
        QVERIFY(raw.bind(QHostAddress(QStringLiteral("10.77.0.1")), 0));
        raw.writeDatagram(odd.encode(), QHostAddress(QStringLiteral("10.77.255.255")), DiscoveryPacket::KeypadPort);
        QSignalSpy answered(&raw, &QUdpSocket::readyRead);
        QVERIFY(answered.wait(5000));
        DiscoveryPacket refusal;
        QVERIFY(DiscoveryPacket::decode(raw.receiveDatagram().data(), refusal));
        QCOMPARE(refusal.type, DiscoveryPacket::Type::SetAddressReply);
        QCOMPARE(refusal.status, DiscoveryPacket::Status::InvalidAddress);
        QCOMPARE(QHostAddress(refusal.ipv4).toString(), QStringLiteral("10.77.0.5"));

        QVERIFY(vexil.sendSetIP(mac.data(), "10.77.3.50"));
        QTRY_VERIFY2_WITH_TIMEOUT(target.hasEvent(QStringLiteral("moved 10.77.3.50")),
                                  qPrintable(target.events().join(QLatin1Char('|'))), 10000);
        QCOMPARE(target.address(), QStringLiteral("10.77.3.50"));
        QVERIFY(!bystander.hasEvent(QStringLiteral("set-address")));

        // It serves at the new address only.
        QNetworkAccessManager http;
        auto get = [&http](const QString& address) {
            QNetworkRequest request(QUrl(QStringLiteral("http://%1/api/v1/config").arg(address)));
            request.setTransferTimeout(3000);
            QNetworkReply* reply = http.get(request);
            QSignalSpy finished(reply, &QNetworkReply::finished);
            finished.wait(8000);
            reply->deleteLater();
            return reply->error() == QNetworkReply::NoError ? reply->readAll() : QByteArray();
        };
        QVERIFY(get(QStringLiteral("10.77.3.50")).contains("<value>10.77.3.50</value>"));
        QVERIFY(get(QStringLiteral("10.77.0.5")).isEmpty());

        m_answers.clear();
        QVERIFY(vexil.sendDiscover("10.77.255.255"));
        QTRY_COMPARE(m_answers.size(), 2);
        QVERIFY(answerFrom(QStringLiteral("10.77.3.50")));
        QCOMPARE(answerFrom(QStringLiteral("10.77.3.50"))->mac, mac);
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestVexilDiscovery, "tst_vexildiscovery", QCoreApplication)
#include "tst_vexildiscovery.moc"

#include "DiscoveryPacket.h"
#include "KeypadSimulator.h"
#include "TestEnvironment.h"
#include "Vexil.h"

#include <QHostAddress>
#include <QNetworkDatagram>
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

    Answer answerFrom(const QString& address) const {
        for (const Answer& answer : m_answers)
            if (answer.address == address)
                return answer;
        return {};
    }

private slots:
    void init() { m_answers.clear(); }

    void findsKeypadsAlsoThroughTheGlobalBroadcast() {
        KeypadSimulator lobby, hall, other;
        KeypadSimulator::Options options(QStringLiteral("10.77.0.3"), QStringLiteral("Lobby"));
        options.serial = QStringLiteral("4711");
        options.version = QStringLiteral("1.3.2");
        QVERIFY(lobby.start(options));
        QVERIFY(hall.start({QStringLiteral("10.77.0.12"), QStringLiteral("Hall")}));
        options = {QStringLiteral("10.77.2.4"), QStringLiteral("Stage")};
        options.partNumber = QStringLiteral("SFT-000001-00");
        QVERIFY(other.start(options));

        Vexil vexil;
        collect(vexil);
        QVERIFY(vexil.sendDiscover("255.255.255.255"));
        QTRY_COMPARE(m_answers.size(), 3);
        const Answer a = answerFrom(QStringLiteral("10.77.0.3"));
        QVERIFY(a.mac == lobby.macBytes() && a.name == "Lobby" && a.serial == 4711 && a.version == 0x0132);
        QCOMPARE(a.versionText.split('\n').mid(2), (QList<QByteArray>{"Software:SFT-009251-00", "Firmware:1.3.2"}));
        QCOMPARE(answerFrom(QStringLiteral("10.77.0.12")).mac, hall.macBytes());
        QVERIFY(answerFrom(QStringLiteral("10.77.2.4")).versionText.contains("Software:SFT-000001-00\n"));
        // The keypads now know where their editor is.
        QTRY_VERIFY(lobby.hasEvent(QStringLiteral("discover 10.77.0.1")));

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

        QByteArray mac = answerFrom(QStringLiteral("10.77.0.5")).mac;

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
        QVERIFY(refusal.type == DiscoveryPacket::Type::SetAddressReply &&
                refusal.status == DiscoveryPacket::Status::InvalidAddress);
        QCOMPARE(QHostAddress(refusal.ipv4).toString(), QStringLiteral("10.77.0.5"));

        QVERIFY(vexil.sendSetIP(mac.data(), "10.77.3.50"));
        QTRY_VERIFY2_WITH_TIMEOUT(target.hasEvent(QStringLiteral("moved 10.77.3.50")),
                                  qPrintable(target.events().join(QLatin1Char('|'))), 10000);
        QCOMPARE(target.address(), QStringLiteral("10.77.3.50"));
        QVERIFY(!bystander.hasEvent(QStringLiteral("set-address")));

        // Found again at the new address only.
        m_answers.clear();
        QVERIFY(vexil.sendDiscover("10.77.255.255"));
        QTRY_COMPARE(m_answers.size(), 2);
        QCOMPARE(answerFrom(QStringLiteral("10.77.3.50")).mac, mac);
        QVERIFY(answerFrom(QStringLiteral("10.77.0.5")).mac.isEmpty());
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestVexilDiscovery, "tst_vexildiscovery", QCoreApplication)
#include "tst_vexildiscovery.moc"

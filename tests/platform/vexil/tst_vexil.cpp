#include "DiscoveryPacket.h"
#include "TestEnvironment.h"
#include "Vexil.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QUdpSocket>

#include <memory>

// Keypad side played by a plain socket in the same host: the simulator's own tests cover a keypad
// that is a separate host.
class TestVexil : public QObject {
    Q_OBJECT

    std::unique_ptr<QUdpSocket> m_keypad;
    DiscoveryPacket m_request;
    QNetworkDatagram m_datagram;

    static DiscoveryPacket keypadReply(quint16 sequence) {
        DiscoveryPacket p;
        p.type = DiscoveryPacket::Type::DiscoverReply;
        p.sequence = sequence;
        p.mac = {{0x02, 0x4C, 0x4D, 0x00, 0x00, 0x09}};
        p.ipv4 = 0x0A4D0009;
        p.serial = 9009;
        p.firmware = 0x0132;
        p.universe = 3;
        p.versionText = "Product:Keypad\nHardware:HW-1\nSoftware:SFT-009251-00\nFirmware:1.3.2";
        p.name = "Lobby";
        return p;
    }

    // Waits for one request at the keypad port and keeps it with where it came from.
    bool receive() {
        if (!m_keypad->hasPendingDatagrams() && !m_keypad->waitForReadyRead(5000))
            return false;
        m_datagram = m_keypad->receiveDatagram();
        return DiscoveryPacket::decode(m_datagram.data(), m_request);
    }

    void answer(const QByteArray& data) {
        m_keypad->writeDatagram(data, m_datagram.senderAddress(), m_datagram.senderPort());
    }

private slots:
    void init() {
        m_keypad = std::make_unique<QUdpSocket>();
        QVERIFY(m_keypad->bind(QHostAddress::AnyIPv4, DiscoveryPacket::KeypadPort));
    }
    void cleanup() { m_keypad.reset(); }

    void reportsAnswersWithValidTexts() {
        Vexil vexil;
        QByteArrayList responses;
        connect(&vexil, &Vexil::signalDiscoverResponse, this,
                [&](char* mac, quint32 ip, quint32 sn, quint16 ver, quint32 uni, char* verstring, char* idstring) {
                    // The texts are read here, inside the slot, as the editor's slot does.
                    responses << QByteArray(mac, 6).toHex() + ' ' + QByteArray::number(ip, 16) + ' ' +
                                     QByteArray::number(sn) + ' ' + QByteArray::number(ver, 16) + ' ' +
                                     QByteArray::number(uni) + ' ' + QByteArray(verstring) + ' ' + QByteArray(idstring);
                });
        QVERIFY(vexil.sendDiscover("10.77.255.255"));
        QVERIFY(receive());
        QCOMPARE(m_request.type, DiscoveryPacket::Type::DiscoverRequest);
        QCOMPARE(m_datagram.destinationAddress(), QHostAddress(QStringLiteral("10.77.255.255")));

        // Garbage and a foreign request first: neither is reported.
        answer("hello");
        answer(DiscoveryPacket().encode());
        answer(keypadReply(m_request.sequence).encode());
        QTRY_COMPARE(responses,
                     QByteArrayList{"024c4d000009 a4d0009 9009 132 3 " + keypadReply(0).versionText + " Lobby"});
    }

    void survivesASlotThatReopensTheSocket() {
        Vexil vexil;
        int answers = 0;
        connect(&vexil, &Vexil::signalDiscoverResponse, this,
                [&](char*, quint32, quint32, quint16, quint32, char* verstring, char*) {
                    ++answers;
                    QVERIFY(QByteArray(verstring).contains("SFT-009251-00"));
                    // As the editor does when the user picks another interface.
                    vexil.resetSocket();
                });
        QVERIFY(vexil.sendDiscover("10.77.255.255"));
        QVERIFY(receive());
        for (int i = 0; i < 3; ++i)
            answer(keypadReply(m_request.sequence).encode());
        QTRY_COMPARE(answers, 1);

        // The new socket works; answers to the old one are gone with it.
        QVERIFY(vexil.sendDiscover("10.77.255.255"));
        QVERIFY(receive());
        answer(keypadReply(m_request.sequence).encode());
        QTRY_COMPARE(answers, 2);
    }

    void sendsFromTheChosenInterface() {
        Vexil vexil;
        QHostAddress ip, broadcast;
        unsigned int netmask = 1;
        vexil.getInterface(ip, netmask, broadcast);
        QVERIFY(ip == QHostAddress(QHostAddress::AnyIPv4) && netmask == 0);

        QNetworkAddressEntry none, lan;
        QVERIFY(!vexil.setInterface(none));
        for (const QNetworkAddressEntry& entry :
             QNetworkInterface::interfaceFromName(QStringLiteral("lan0")).addressEntries())
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                lan = entry;
        QVERIFY(vexil.setInterface(lan));
        vexil.getInterface(ip, netmask, broadcast);
        QCOMPARE(ip.toString(), QStringLiteral("10.77.0.1"));
        QCOMPARE(netmask, 0xFFFF0000u);
        QCOMPARE(broadcast.toString(), QStringLiteral("10.77.255.255"));
        QVERIFY(vexil.sendDiscover("255.255.255.255"));
        QVERIFY(receive());
        QCOMPARE(m_datagram.senderAddress().toString(), QStringLiteral("10.77.0.1"));

        vexil.resetSocket();
        vexil.getInterface(ip, netmask, broadcast);
        QCOMPARE(ip, QHostAddress(QHostAddress::AnyIPv4));
        QVERIFY(!vexil.sendDiscover("not an address"));
        QVERIFY(!vexil.sendDiscover(nullptr));
    }

    void namesTheKeypadByItsHardwareAddress() {
        Vexil vexil;
        QVERIFY(vexil.sendDiscover("10.77.255.255"));
        QVERIFY(receive());
        char mac[6] = {0x02, 0x4C, 0x4D, 0x00, 0x01, char(0xFE)};
        QVERIFY(vexil.sendSetIP(mac, "10.77.1.20"));
        QVERIFY(receive());
        QCOMPARE(m_request.type, DiscoveryPacket::Type::SetAddressRequest);
        QCOMPARE(DiscoveryPacket::macText(m_request.mac), QStringLiteral("02:4c:4d:00:01:fe"));
        QVERIFY(m_request.ipv4 == 0x0A4D0114u && m_request.netmask == 0);
        // The request goes where the keypads were searched for, not to the keypad's old address.
        QCOMPARE(m_datagram.destinationAddress().toString(), QStringLiteral("10.77.255.255"));
        QVERIFY(!vexil.sendSetIP(nullptr, "10.77.1.20"));
        QVERIFY(!vexil.sendSetIP(mac, "10.77.1"));
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestVexil, "tst_vexil", QCoreApplication)
#include "tst_vexil.moc"

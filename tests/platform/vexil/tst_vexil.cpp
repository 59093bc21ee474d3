#include "DiscoveryPacket.h"
#include "TestEnvironment.h"
#include "Vexil.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QUdpSocket>

// Keypad side played by a plain socket in the same host: the simulator's own tests cover a keypad
// that is a separate host.
class TestVexil : public QObject {
    Q_OBJECT

    struct Response {
        QByteArray mac;
        quint32 ip = 0, serial = 0, universe = 0;
        quint16 version = 0;
        QByteArray versionText, name;
    };

    static QNetworkAddressEntry lanEntry() {
        const QNetworkInterface lan = QNetworkInterface::interfaceFromName(QStringLiteral("lan0"));
        for (const QNetworkAddressEntry& entry : lan.addressEntries())
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                return entry;
        return {};
    }

    static DiscoveryPacket keypadReply(quint16 sequence, const QByteArray& name) {
        DiscoveryPacket p;
        p.type = DiscoveryPacket::Type::DiscoverReply;
        p.sequence = sequence;
        p.mac = {{0x02, 0x4C, 0x4D, 0x00, 0x00, 0x09}};
        p.ipv4 = 0x0A4D0009;
        p.serial = 9009;
        p.firmware = 0x0132;
        p.universe = 3;
        p.versionText = "Product:Keypad\nHardware:HW-1\nSoftware:SFT-009251-00\nFirmware:1.3.2";
        p.name = name;
        return p;
    }

    // Waits for one request at the keypad port and returns it with where it came from.
    static bool receive(QUdpSocket& keypad, DiscoveryPacket& packet, QNetworkDatagram& datagram) {
        if (!keypad.hasPendingDatagrams() && !keypad.waitForReadyRead(5000))
            return false;
        datagram = keypad.receiveDatagram();
        return DiscoveryPacket::decode(datagram.data(), packet);
    }

    QList<Response> m_responses;

private slots:
    void reportsAnswersWithValidTexts() {
        QUdpSocket keypad;
        QVERIFY(keypad.bind(QHostAddress::AnyIPv4, DiscoveryPacket::KeypadPort));
        Vexil vexil;
        m_responses.clear();
        connect(
            &vexil, &Vexil::signalDiscoverResponse, this,
            [this](char* mac, quint32 ip, quint32 sn, quint16 ver, quint32 uni, char* verstring, char* idstring) {
                // The texts are read here, inside the slot, as the editor's slot does.
                m_responses.append({QByteArray(mac, 6), ip, sn, uni, ver, QByteArray(verstring), QByteArray(idstring)});
            });

        QVERIFY(vexil.sendDiscover("10.77.255.255"));
        DiscoveryPacket request;
        QNetworkDatagram datagram;
        QVERIFY(receive(keypad, request, datagram));
        QCOMPARE(request.type, DiscoveryPacket::Type::DiscoverRequest);
        QCOMPARE(datagram.destinationAddress(), QHostAddress(QStringLiteral("10.77.255.255")));

        // Garbage and a foreign request first: neither is reported.
        keypad.writeDatagram(QByteArray("hello"), datagram.senderAddress(), datagram.senderPort());
        keypad.writeDatagram(DiscoveryPacket().encode(), datagram.senderAddress(), datagram.senderPort());
        keypad.writeDatagram(keypadReply(request.sequence, "Lobby").encode(), datagram.senderAddress(),
                             datagram.senderPort());
        QTRY_COMPARE(m_responses.size(), 1);
        const Response& r = m_responses.first();
        QCOMPARE(r.mac, QByteArray::fromHex("024c4d000009"));
        QCOMPARE(r.ip, 0x0A4D0009u);
        QCOMPARE(r.serial, 9009u);
        QCOMPARE(r.version, quint16(0x0132));
        QCOMPARE(r.universe, 3u);
        QCOMPARE(r.versionText, QByteArray("Product:Keypad\nHardware:HW-1\nSoftware:SFT-009251-00\nFirmware:1.3.2"));
        QCOMPARE(r.name, QByteArray("Lobby"));
    }

    void survivesASlotThatReopensTheSocket() {
        QUdpSocket keypad;
        QVERIFY(keypad.bind(QHostAddress::AnyIPv4, DiscoveryPacket::KeypadPort));
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
        DiscoveryPacket request;
        QNetworkDatagram datagram;
        QVERIFY(receive(keypad, request, datagram));
        for (int i = 0; i < 3; ++i)
            keypad.writeDatagram(keypadReply(request.sequence, "Lobby").encode(), datagram.senderAddress(),
                                 datagram.senderPort());
        QTRY_COMPARE(answers, 1);

        // The new socket works; answers to the old one are gone with it.
        QVERIFY(vexil.sendDiscover("10.77.255.255"));
        QVERIFY(receive(keypad, request, datagram));
        keypad.writeDatagram(keypadReply(request.sequence, "Lobby").encode(), datagram.senderAddress(),
                             datagram.senderPort());
        QTRY_COMPARE(answers, 2);
    }

    void sendsFromTheChosenInterface() {
        QUdpSocket keypad;
        QVERIFY(keypad.bind(QHostAddress::AnyIPv4, DiscoveryPacket::KeypadPort));
        Vexil vexil;
        QHostAddress ip, broadcast;
        unsigned int netmask = 1;
        vexil.getInterface(ip, netmask, broadcast);
        QCOMPARE(ip, QHostAddress(QHostAddress::AnyIPv4));
        QCOMPARE(netmask, 0u);

        QNetworkAddressEntry none;
        QVERIFY(!vexil.setInterface(none));
        QNetworkAddressEntry lan = lanEntry();
        QVERIFY(!lan.ip().isNull());
        QVERIFY(vexil.setInterface(lan));
        vexil.getInterface(ip, netmask, broadcast);
        QCOMPARE(ip.toString(), QStringLiteral("10.77.0.1"));
        QCOMPARE(netmask, 0xFFFF0000u);
        QCOMPARE(broadcast.toString(), QStringLiteral("10.77.255.255"));

        QVERIFY(vexil.sendDiscover("255.255.255.255"));
        DiscoveryPacket request;
        QNetworkDatagram datagram;
        QVERIFY(receive(keypad, request, datagram));
        QCOMPARE(datagram.senderAddress().toString(), QStringLiteral("10.77.0.1"));

        vexil.resetSocket();
        vexil.getInterface(ip, netmask, broadcast);
        QCOMPARE(ip, QHostAddress(QHostAddress::AnyIPv4));
        QVERIFY(!vexil.sendDiscover("not an address"));
        QVERIFY(!vexil.sendDiscover(nullptr));
    }

    void namesTheKeypadByItsHardwareAddress() {
        QUdpSocket keypad;
        QVERIFY(keypad.bind(QHostAddress::AnyIPv4, DiscoveryPacket::KeypadPort));
        Vexil vexil;
        QVERIFY(vexil.sendDiscover("10.77.255.255"));
        DiscoveryPacket packet;
        QNetworkDatagram datagram;
        QVERIFY(receive(keypad, packet, datagram));

        char mac[6] = {0x02, 0x4C, 0x4D, 0x00, 0x01, char(0xFE)};
        QVERIFY(vexil.sendSetIP(mac, "10.77.1.20"));
        QVERIFY(receive(keypad, packet, datagram));
        QCOMPARE(packet.type, DiscoveryPacket::Type::SetAddressRequest);
        QCOMPARE(DiscoveryPacket::macText(packet.mac), QStringLiteral("02:4c:4d:00:01:fe"));
        QCOMPARE(packet.ipv4, 0x0A4D0114u);
        QCOMPARE(packet.netmask, 0u);
        // The request goes where the keypads were searched for, not to the keypad's old address.
        QCOMPARE(datagram.destinationAddress().toString(), QStringLiteral("10.77.255.255"));
        QVERIFY(!vexil.sendSetIP(nullptr, "10.77.1.20"));
        QVERIFY(!vexil.sendSetIP(mac, "10.77.1"));
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestVexil, "tst_vexil", QCoreApplication)
#include "tst_vexil.moc"

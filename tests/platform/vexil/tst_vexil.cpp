#include "DiscoveryPacket.h"
#include "TestEnvironment.h"
#include "Vexil.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

#include <memory>

// Keypad side played by a plain socket in the same host: tst_vexildiscovery covers keypads that
// are hosts of their own.
class TestVexil : public QObject {
    Q_OBJECT

    std::unique_ptr<QUdpSocket> m_keypad;
    DiscoveryPacket m_request;
    QNetworkDatagram m_datagram;

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

    QByteArray keypadReply() const {
        DiscoveryPacket p;
        p.type = DiscoveryPacket::Type::DiscoverReply;
        p.sequence = m_request.sequence;
        p.mac = {{0x02, 0x4C, 0x4D, 0x00, 0x00, 0x09}};
        p.ipv4 = 0x0A4D0009;
        p.serial = 9009;
        p.firmware = 0x0132;
        p.universe = 3;
        p.versionText = "Product:Keypad\nSoftware:SFT-009251-00";
        p.name = "Lobby";
        return p.encode();
    }

private slots:
    void init() {
        m_keypad = std::make_unique<QUdpSocket>();
        QVERIFY(m_keypad->bind(QHostAddress::AnyIPv4, DiscoveryPacket::KeypadPort));
    }
    void cleanup() { m_keypad.reset(); }

    // The editor's slot reads the texts, and reopens the socket when the user picks another
    // interface: answers still queued on the old socket go with it, the new one works.
    void reportsAnswersToASlotThatReopensTheSocket() {
        Vexil vexil;
        QByteArrayList responses;
        connect(&vexil, &Vexil::signalDiscoverResponse, this,
                [&](char* mac, quint32 ip, quint32 sn, quint16 ver, quint32 uni, char* verstring, char* idstring) {
                    responses << QByteArray(mac, 6).toHex() + ' ' + QByteArray::number(ip, 16) + ' ' +
                                     QByteArray::number(sn) + ' ' + QByteArray::number(ver, 16) + ' ' +
                                     QByteArray::number(uni) + ' ' + QByteArray(verstring) + ' ' + QByteArray(idstring);
                    vexil.resetSocket();
                });
        QVERIFY(vexil.sendDiscover("10.77.255.255"));
        QVERIFY(receive());
        QCOMPARE(m_request.type, DiscoveryPacket::Type::DiscoverRequest);
        QCOMPARE(m_datagram.destinationAddress(), QHostAddress(QStringLiteral("10.77.255.255")));
        // Garbage and a foreign request first: neither is reported.
        answer("hello");
        answer(DiscoveryPacket().encode());
        for (int i = 0; i < 3; ++i)
            answer(keypadReply());
        const QByteArray expected = "024c4d000009 a4d0009 9009 132 3 Product:Keypad\nSoftware:SFT-009251-00 Lobby";
        QTRY_COMPARE(responses, QByteArrayList{expected});

        QVERIFY(vexil.sendDiscover("10.77.255.255"));
        QVERIFY(receive());
        answer(keypadReply());
        QTRY_COMPARE(responses, (QByteArrayList{expected, expected}));

        // A set-address request goes where the keypads were searched for, not to the keypad's old
        // address, which may be on no subnet of ours. Addresses that are none, or no hardware address,
        // are refused.
        char mac[6] = {0x02, 0x4C, 0x4D, 0x00, 0x01, char(0xFE)};
        QVERIFY(vexil.sendSetIP(mac, "10.77.1.20"));
        QVERIFY(receive() && m_request.type == DiscoveryPacket::Type::SetAddressRequest);
        QCOMPARE(m_datagram.destinationAddress().toString(), QStringLiteral("10.77.255.255"));
        QVERIFY(!vexil.sendSetIP(nullptr, "10.77.1.20") && !vexil.sendSetIP(mac, "10.77.1"));
        QVERIFY(!vexil.sendDiscover("not an address") && !vexil.sendDiscover(nullptr));
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestVexil, "tst_vexil", QCoreApplication)
#include "tst_vexil.moc"

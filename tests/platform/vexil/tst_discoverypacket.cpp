#include "DiscoveryPacket.h"
#include "TestEnvironment.h"

namespace {

DiscoveryPacket reply() {
    DiscoveryPacket p;
    p.type = DiscoveryPacket::Type::DiscoverReply;
    p.sequence = 0xBEEF;
    p.mac = {{0x02, 0x4C, 0x4D, 0x00, 0x00, 0x02}};
    p.ipv4 = 0x0A4D0002;
    p.serial = 0x01020304;
    p.firmware = DiscoveryPacket::packFirmware(QStringLiteral("1.3.2"));
    p.universe = 7;
    p.versionText = "Product:Keypad\nHardware:HW-1\nSoftware:SFT-009251-00\nFirmware:1.3.2";
    p.name = "Lobby";
    return p;
}

} // namespace

class TestDiscoveryPacket : public QObject {
    Q_OBJECT

private slots:
    void roundTripsInNetworkByteOrder() {
        DiscoveryPacket request;
        request.sequence = 42;
        DiscoveryPacket setAddress = reply();
        setAddress.type = DiscoveryPacket::Type::SetAddressRequest;
        setAddress.netmask = 0xFFFF0000;
        DiscoveryPacket ack = reply();
        ack.type = DiscoveryPacket::Type::SetAddressReply;
        ack.status = DiscoveryPacket::Status::InvalidAddress;

        const QList<DiscoveryPacket> packets{request, reply(), setAddress, ack};
        const QList<int> sizes{8, 224, 24, 20};
        for (int i = 0; i < packets.size(); ++i) {
            const QByteArray wire = packets.at(i).encode();
            QCOMPARE(wire.size(), sizes.at(i));
            DiscoveryPacket out;
            QString error;
            QVERIFY2(DiscoveryPacket::decode(wire, out, &error), qPrintable(error));
            QCOMPARE(out.type, packets.at(i).type);
            QCOMPARE(out.encode(), wire);
        }
        DiscoveryPacket out;
        QVERIFY(DiscoveryPacket::decode(reply().encode(), out));
        QVERIFY(out.name == "Lobby" && out.serial == 0x01020304 && out.versionText == reply().versionText);

        // The offsets the keypad firmware reads.
        const QByteArray wire = reply().encode();
        QCOMPARE(wire.left(26), QByteArray::fromHex("5658494c0102beef024c4d0000020000"
                                                    "0a4d0002010203040132"));
        QCOMPARE(wire.mid(28, 7), QByteArray::fromHex("00000007") + "Pro");
        QCOMPARE(wire.mid(160, 6), QByteArray("Lobby\0", 6));

        // Firmware past the packed field's nibbles saturates; the version text stays exact.
        QCOMPARE(DiscoveryPacket::packFirmware(QStringLiteral("1.1.20")), quint16(0x011F));
        QCOMPARE(DiscoveryPacket::packFirmware(QStringLiteral("1.20.3")), quint16(0x01F3));
        QCOMPARE(DiscoveryPacket::packFirmware(QStringLiteral("1.3")), quint16(0));
    }

    void rejectsMalformedDatagrams_data() {
        QTest::addColumn<QByteArray>("datagram");
        const QByteArray good = reply().encode();
        auto patched = [](QByteArray wire, int at, const QByteArray& bytes) {
            return wire.replace(at, bytes.size(), bytes);
        };
        DiscoveryPacket ack;
        ack.type = DiscoveryPacket::Type::SetAddressReply;

        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header cut") << good.left(7);
        QTest::newRow("reply cut") << good.left(good.size() - 1);
        QTest::newRow("reply oversized") << good + QByteArray(1, '\0');
        QTest::newRow("request oversized") << DiscoveryPacket().encode() + "x";
        QTest::newRow("wrong magic") << patched(good, 0, "W");
        QTest::newRow("wrong version") << patched(good, 4, "\x02");
        QTest::newRow("unknown type") << patched(good, 5, "\x09");
        QTest::newRow("type zero") << patched(good, 5, QByteArray(1, '\0'));
        QTest::newRow("name without NUL") << patched(good, 160, QByteArray(64, 'x'));
        QTest::newRow("version text without NUL") << patched(good, 32, QByteArray(128, 'v'));
        QTest::newRow("unknown status") << patched(ack.encode(), 14, "\x03");
        QTest::newRow("keypad scene notice") << QByteArray::fromHex("0401dc4a01000103000000000003000000");
    }

    void rejectsMalformedDatagrams() {
        QFETCH(QByteArray, datagram);
        DiscoveryPacket out = reply();
        out.name = "untouched";
        QString error;
        QVERIFY(!DiscoveryPacket::decode(datagram, out, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(out.name, QByteArray("untouched"));
    }

    // Nothing that does not fit its field is sent.
    void refusesToEncodeTextsThatDoNotFit() {
        DiscoveryPacket p = reply();
        p.name = QByteArray(63, 'n');
        QCOMPARE(p.encode().size(), DiscoveryPacket::DiscoverReplySize);
        p.name = QByteArray(64, 'n');
        QVERIFY(p.encode().isEmpty());
        p = reply();
        p.versionText = QByteArray("a\0b", 3);
        QVERIFY(p.encode().isEmpty());
    }
};

LUMETTO_TEST_MAIN_CORE(TestDiscoveryPacket, "tst_discoverypacket")
#include "tst_discoverypacket.moc"

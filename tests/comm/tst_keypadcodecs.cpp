#include "DiscoveryVersionText.h"
#include "KeypadAddressing.h"
#include "KeypadDatagram.h"
#include "TestEnvironment.h"

namespace {

QByteArray datagram(const char* hexHeader, int size, int sceneByte = 0) {
    QByteArray bytes = QByteArray::fromHex(hexHeader);
    bytes.resize(size);
    for (int i = 8; i < size; ++i)
        bytes[i] = '\x7f';
    if (size > 13)
        bytes[13] = static_cast<char>(sceneByte);
    return bytes;
}

const char SceneHeader[] = "0401DC4A01000103";
const char ConfigHeader[] = "0401DC4A01000303";

QHostAddress host(const char* text) {
    return QHostAddress(QString::fromLatin1(text));
}

QNetworkAddressEntry entry(const char* ip, const char* netmask) {
    QNetworkAddressEntry e;
    e.setIp(host(ip));
    e.setNetmask(host(netmask));
    return e;
}

} // namespace

class TestKeypadCodecs : public QObject {
    Q_OBJECT

private slots:
    void datagrams_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("scene");
        QTest::addColumn<bool>("validScene");
        using K = KeypadDatagram::Kind;
        QTest::newRow("scene 1") << datagram(SceneHeader, 16, 1) << int(K::SceneNotice) << 1 << true;
        QTest::newRow("scene 8") << datagram(SceneHeader, 16, 8) << int(K::SceneNotice) << 8 << true;
        QTest::newRow("scene 0 is no scene") << datagram(SceneHeader, 16, 0) << int(K::SceneNotice) << 0 << false;
        QTest::newRow("scene 9 is no scene") << datagram(SceneHeader, 16, 9) << int(K::SceneNotice) << 9 << false;
        QTest::newRow("scene byte is signed") << datagram(SceneHeader, 16, 0xff) << int(K::SceneNotice) << -1 << false;
        QTest::newRow("configuration") << datagram(ConfigHeader, 17) << int(K::ConfigurationNotice) << 0 << false;
        QTest::newRow("scene length, config header") << datagram(ConfigHeader, 16, 3) << int(K::Ignored) << 0 << false;
        QTest::newRow("config length, scene header") << datagram(SceneHeader, 17, 3) << int(K::Ignored) << 0 << false;
        QTest::newRow("one byte short") << datagram(SceneHeader, 15, 3) << int(K::Ignored) << 0 << false;
        QTest::newRow("one byte long") << datagram(ConfigHeader, 18) << int(K::Ignored) << 0 << false;
        QTest::newRow("empty") << QByteArray() << int(K::Ignored) << 0 << false;
        QByteArray wrongFirstByte = datagram(SceneHeader, 16, 3);
        wrongFirstByte[0] = '\x05';
        QTest::newRow("wrong first byte") << wrongFirstByte << int(K::Ignored) << 0 << false;
    }

    void datagrams() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        QFETCH(int, scene);
        QFETCH(bool, validScene);
        const KeypadDatagram parsed = KeypadDatagram::parse(bytes);
        QCOMPARE(int(parsed.kind()), kind);
        QCOMPARE(parsed.sceneNumber(), scene);
        QCOMPARE(parsed.hasValidScene(), validScene);
    }

    void normalisedAddress() {
        const QList<QPair<QString, QString>> rows{{"192.168.001.010", "192.168.1.10"},
                                                  {"010.000.000.001", "10.0.0.1"},
                                                  {"10.77.0.9", "10.77.0.9"},
                                                  {"10..0.1", "10..0.1"},
                                                  {"", ""}};
        for (const auto& row : rows)
            QCOMPARE(KeypadAddressing::normalisedAddress(row.first), row.second);
    }

    void subnetsAndDiscoveryTargets() {
        const quint32 mask = host("255.255.255.0").toIPv4Address();
        QVERIFY(KeypadAddressing::sharesSubnet(host("192.168.1.5"), host("192.168.1.20"), mask));
        QVERIFY(!KeypadAddressing::sharesSubnet(host("192.168.1.5"), host("192.168.2.20"), mask));
        const QList<QNetworkAddressEntry> entries{entry("127.0.0.1", "0.0.0.0"), entry("0.0.0.0", "0.0.0.0"),
                                                  entry("192.168.1.5", "255.255.255.0"),
                                                  entry("10.77.0.1", "255.255.0.0")};
        QVERIFY(KeypadAddressing::sharesAnySubnet(host("10.77.3.4"), entries));
        QVERIFY(KeypadAddressing::sharesAnySubnet(host("192.168.1.200"), entries));
        QVERIFY(!KeypadAddressing::sharesAnySubnet(host("10.78.0.2"), entries));
        // Loopback and empty entries have no subnet of their own, even with an empty netmask.
        QVERIFY(!KeypadAddressing::sharesAnySubnet(host("8.8.8.8"), entries));
        QVERIFY(!KeypadAddressing::sharesAnySubnet(host("10.77.0.2"), {}));

        QCOMPARE(KeypadAddressing::directedBroadcastFor(QStringLiteral("10.20.30.40")),
                 QStringLiteral("10.20.255.255"));
        for (const char* none : {"192.168.5.5", "110.1.1.1", "fe80::1"})
            QCOMPARE(KeypadAddressing::directedBroadcastFor(QString::fromLatin1(none)), QString());
        QCOMPARE(KeypadAddressing::discoveryTargetFor(
                     {host("10.1.2.3"), host("::1"), host("10.9.8.7"), host("192.168.0.4")}),
                 QStringLiteral("10.9.255.255"));
        QCOMPARE(KeypadAddressing::discoveryTargetFor({host("192.168.5.5")}), QString());
        QCOMPARE(KeypadAddressing::discoveryTargetFor({}), QString());
    }

    void versionText_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<bool>("keypad");
        QTest::addColumn<int>("build");
        QTest::newRow("keypad") << QByteArray("HW:REV-C\nFW:1.3.0\nSW:SFT-009251-00\nBuild: 1234\n") << true << true
                                << 1234;
        QTest::newRow("surrounding blanks trimmed")
            << QByteArray("\n  HW:A\nFW:1.3.0\nSW:SFT-009251-00:x\nBuild 7  \n") << true << true << 7;
        QTest::newRow("blank after colon")
            << QByteArray("HW:A\nFW:B\nSW: SFT-009251-00\nBuild:1") << true << false << 1;
        QTest::newRow("other product") << QByteArray("HW:A\nFW:B\nSW:SFT-001111-00\nBuild:1") << true << false << 1;
        QTest::newRow("three lines") << QByteArray("HW:A\nFW:B\nSW:SFT-009251-00") << false << false << 0;
        QTest::newRow("empty inner line counts") << QByteArray("HW:A\n\nSW:SFT-009251-00\nB:2") << true << true << 2;
    }

    void versionText() {
        QFETCH(QByteArray, text);
        QFETCH(bool, readable);
        QFETCH(bool, keypad);
        QFETCH(int, build);
        const DiscoveryVersionText version(text.constData());
        QCOMPARE(version.isReadable(), readable);
        QCOMPARE(version.isKeypad(), keypad);
        QCOMPARE(version.buildNumber(), build);
        QVERIFY(!DiscoveryVersionText(nullptr).isReadable());
    }
};

LUMETTO_TEST_MAIN_CORE(TestKeypadCodecs, "tst_keypadcodecs")

#include "tst_keypadcodecs.moc"

#include "DiscoveryVersionText.h"
#include "KeypadAddressing.h"
#include "KeypadDatagram.h"
#include "TestEnvironment.h"

namespace {

QByteArray datagram(const char* hexHeader, int size, int sceneByte = 0) {
    QByteArray bytes = QByteArray::fromHex(hexHeader).leftJustified(size, '\x7f', true);
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

    void addressRules() {
        // Zero-padded octets as typed become the plain form the keypad expects; anything else stays.
        QCOMPARE(KeypadAddressing::normalisedAddress("192.168.001.010"), QStringLiteral("192.168.1.10"));
        for (const QString kept : {"10..0.1", ""})
            QCOMPARE(KeypadAddressing::normalisedAddress(kept), kept);

        // Loopback and empty entries have no subnet of their own, even with an empty netmask.
        const QList<QNetworkAddressEntry> entries{entry("127.0.0.1", "0.0.0.0"), entry("0.0.0.0", "0.0.0.0"),
                                                  entry("192.168.1.5", "255.255.255.0"),
                                                  entry("10.77.0.1", "255.255.0.0")};
        QVERIFY(KeypadAddressing::sharesAnySubnet(host("10.77.3.4"), entries));
        QVERIFY(KeypadAddressing::sharesAnySubnet(host("192.168.1.200"), entries));
        for (const char* elsewhere : {"10.78.0.2", "192.168.2.1", "8.8.8.8"})
            QVERIFY2(!KeypadAddressing::sharesAnySubnet(host(elsewhere), entries), elsewhere);
        QVERIFY(!KeypadAddressing::sharesAnySubnet(host("10.77.0.2"), {}));

        // Keypads are searched for on the /16 of the last address in 10.x, and only there.
        QCOMPARE(KeypadAddressing::directedBroadcastFor(QStringLiteral("10.20.30.40")),
                 QStringLiteral("10.20.255.255"));
        for (const char* none : {"192.168.5.5", "110.1.1.1", "fe80::1"})
            QCOMPARE(KeypadAddressing::directedBroadcastFor(QString::fromLatin1(none)), QString());
        QCOMPARE(KeypadAddressing::discoveryTargetFor(
                     {host("10.1.2.3"), host("::1"), host("10.9.8.7"), host("192.168.0.4")}),
                 QStringLiteral("10.9.255.255"));
        QCOMPARE(KeypadAddressing::discoveryTargetFor({host("192.168.5.5")}), QString());
    }

    // Whether a discovery answer comes from a keypad of this product.
    void versionText_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("keypad");
        QTest::newRow("keypad") << QByteArray("HW:REV-C\nFW:1.3.0\nSW:SFT-009251-00\nBuild: 1234\n") << true;
        QTest::newRow("surrounding blanks trimmed")
            << QByteArray("\n  HW:A\nFW:1.3.0\nSW:SFT-009251-00:x\nBuild 7  \n") << true;
        QTest::newRow("empty inner line counts") << QByteArray("HW:A\n\nSW:SFT-009251-00\nB:2") << true;
        QTest::newRow("blank after colon") << QByteArray("HW:A\nFW:B\nSW: SFT-009251-00\nBuild:1") << false;
        QTest::newRow("other product") << QByteArray("HW:A\nFW:B\nSW:SFT-001111-00\nBuild:1") << false;
        QTest::newRow("three lines") << QByteArray("HW:A\nFW:B\nSW:SFT-009251-00") << false;
        QTest::newRow("nothing") << QByteArray() << false;
    }

    void versionText() {
        QFETCH(QByteArray, text);
        QFETCH(bool, keypad);
        QCOMPARE(DiscoveryVersionText(text.isNull() ? nullptr : text.constData()).isKeypad(), keypad);
    }

    // What else an answer tells, as the keypad writes it.
    void versionTextFields() {
        const DiscoveryVersionText text("Product:Lumetto Keypad\nHardware:HW-004113-02\nSoftware:SFT-009251-00\n"
                                        "Firmware:1.1.20\n");
        QCOMPARE(text.product(), QStringLiteral("Lumetto Keypad"));
        QCOMPARE(text.hardware(), QStringLiteral("HW-004113-02"));
        QCOMPARE(text.firmware(), QStringLiteral("1.1.20"));
        QCOMPARE(text.firmwareNumber(), 1120);
    }
};

LUMETTO_TEST_MAIN_CORE(TestKeypadCodecs, "tst_keypadcodecs")

#include "tst_keypadcodecs.moc"

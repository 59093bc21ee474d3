#include "Discoverer.h"
#include "TestEnvironment.h"

#include <QHostAddress>
#include <QSignalSpy>

namespace {

QByteArray keypadVersion = "HW:REV-C\nFW:1.3.0\nSW:SFT-009251-00\nBuild:42";

quint32 ipv4(const char* text) {
    return QHostAddress(QString::fromLatin1(text)).toIPv4Address();
}

void answer(Discoverer& discoverer, const char* address, const char* name, QByteArray version = keypadVersion,
            QByteArray mac = QByteArray::fromHex("0050C2112233")) {
    QByteArray id(name);
    discoverer.handleSignalDiscoverResponse(mac.data(), ipv4(address), 1, 2, 3,
                                            version.isNull() ? nullptr : version.data(), id.data());
}

QStringList addresses(const Discoverer& discoverer) {
    QStringList result;
    for (const DiscoveredDevice& device : discoverer.devices())
        result << device.address();
    return result;
}

} // namespace

class TestDiscoverer : public QObject {
    Q_OBJECT

private slots:
    void keepsKeypadsSortedByAddressText();
    void dropsOtherAnswers();
    void discoverEmptiesTheList();
    void timeLimitRepeatsUntilKilled();
};

void TestDiscoverer::keepsKeypadsSortedByAddressText() {
    Discoverer discoverer;
    answer(discoverer, "192.168.1.9", "Nine", keypadVersion, QByteArray::fromHex("0102030405060708"));
    answer(discoverer, "192.168.1.10", "Ten");
    answer(discoverer, "10.77.0.3", "Lobby");
    QCOMPARE(addresses(discoverer),
             QStringList({QStringLiteral("10.77.0.3"), QStringLiteral("192.168.1.10"), QStringLiteral("192.168.1.9")}));
    const DiscoveredDevice nine = discoverer.devices().last();
    QCOMPARE(nine.name(), QStringLiteral("Nine"));
    QCOMPARE(nine.mac(), QByteArray::fromHex("010203040506"));

    // A keypad that answers twice is listed twice.
    answer(discoverer, "10.77.0.3", "Lobby");
    QCOMPARE(discoverer.deviceCount(), 4);
}

void TestDiscoverer::dropsOtherAnswers() {
    Discoverer discoverer;
    answer(discoverer, "10.77.0.2", "No version", QByteArray());
    answer(discoverer, "10.77.0.3", "Short", "HW:A\nFW:B\nSW:SFT-009251-00");
    answer(discoverer, "10.77.0.4", "Blank", "HW:A\nFW:B\nSW: SFT-009251-00\nBuild:1");
    answer(discoverer, "10.77.0.5", "Other", "HW:A\nFW:B\nSW:SFT-000001-00\nBuild:1");
    QCOMPARE(discoverer.deviceCount(), 0);
}

void TestDiscoverer::discoverEmptiesTheList() {
    Discoverer discoverer;
    QSignalSpy discovering(&discoverer, &Discoverer::discovering);
    answer(discoverer, "10.77.0.2", "Lobby");
    QCOMPARE(discoverer.deviceCount(), 1);
    discoverer.discover();
    QCOMPARE(discovering.count(), 1);
    QCOMPARE(discoverer.deviceCount(), 0);
}

void TestDiscoverer::timeLimitRepeatsUntilKilled() {
    Discoverer discoverer;
    QSignalSpy limit(&discoverer, &Discoverer::reachedDiscoverTimeLimit);
    const int id = discoverer.startDiscovery(50);
    QVERIFY(id > 0);
    QTRY_VERIFY_WITH_TIMEOUT(limit.count() >= 2, 10000);
    discoverer.killTimer(id);
    limit.clear();
    QVERIFY(!limit.wait(300));
}

LUMETTO_NETWORK_TEST_MAIN(TestDiscoverer, "tst_discoverer", QCoreApplication)

#include "tst_discoverer.moc"

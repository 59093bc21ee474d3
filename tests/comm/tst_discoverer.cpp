#include "Discoverer.h"
#include "TestEnvironment.h"

#include <QHostAddress>
#include <QSignalSpy>

namespace {

void answer(Discoverer& discoverer, const char* address, const char* name,
            QByteArray version = "HW:REV-C\nFW:1.3.0\nSW:SFT-009251-00\nBuild:42",
            QByteArray mac = QByteArray::fromHex("0050C2112233")) {
    QByteArray id(name);
    discoverer.handleSignalDiscoverResponse(mac.data(), QHostAddress(QString::fromLatin1(address)).toIPv4Address(), 1,
                                            2, 3, version.isNull() ? nullptr : version.data(), id.data());
}

} // namespace

class TestDiscoverer : public QObject {
    Q_OBJECT

private slots:
    void keepsKeypadsSortedByAddressText() {
        Discoverer discoverer;
        answer(discoverer, "192.168.1.9", "Nine", "HW:A\nFW:B\nSW:SFT-009251-00\nBuild:1",
               QByteArray::fromHex("0102030405060708"));
        answer(discoverer, "192.168.1.10", "Ten");
        answer(discoverer, "10.77.0.3", "Lobby");
        // Other products, and answers without a version, are no keypads.
        answer(discoverer, "10.77.0.4", "Other", "HW:A\nFW:B\nSW:SFT-000001-00\nBuild:1");
        answer(discoverer, "10.77.0.5", "No version", QByteArray());
        QStringList listed;
        for (const DiscoveredDevice& device : discoverer.devices())
            listed << device.address();
        QCOMPARE(listed, QStringList({"10.77.0.3", "192.168.1.10", "192.168.1.9"}));
        QCOMPARE(discoverer.devices().last().name(), QStringLiteral("Nine"));
        QCOMPARE(discoverer.devices().last().mac(), QByteArray::fromHex("010203040506"));
        // A keypad that answers twice is listed twice.
        answer(discoverer, "10.77.0.3", "Lobby");
        QCOMPARE(discoverer.deviceCount(), 4);

        QSignalSpy discovering(&discoverer, &Discoverer::discovering);
        discoverer.discover();
        QCOMPARE(discovering.count(), 1);
        QCOMPARE(discoverer.deviceCount(), 0);
    }

    void timeLimitRepeatsUntilKilled() {
        Discoverer discoverer;
        QSignalSpy limit(&discoverer, &Discoverer::reachedDiscoverTimeLimit);
        const int id = discoverer.startDiscovery(50);
        QVERIFY(id > 0);
        QTRY_VERIFY_WITH_TIMEOUT(limit.count() >= 2, 10000);
        discoverer.killTimer(id);
        limit.clear();
        QVERIFY(!limit.wait(300));
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestDiscoverer, "tst_discoverer", QCoreApplication)

#include "tst_discoverer.moc"

#include "Discoverer.h"
#include "TestEnvironment.h"

#include <QHostAddress>

namespace {

void answer(Discoverer& discoverer, const char* address, const char* name,
            QByteArray version = "HW:REV-C\nFW:1.3.0\nSW:SFT-009251-00\nBuild:42",
            QByteArray mac = QByteArray::fromHex("0050C2112233")) {
    QByteArray id(name);
    discoverer.handleSignalDiscoverResponse(mac.data(), QHostAddress(QString::fromLatin1(address)).toIPv4Address(), 1,
                                            2, 3, version.isNull() ? nullptr : version.data(), id.data());
}

} // namespace

// Answers as the discovery library hands them over; tst_keypadsession discovers simulated keypads.
class TestDiscoverer : public QObject {
    Q_OBJECT

private slots:
    void keepsOnlyKeypadsSortedByAddressText() {
        Discoverer discoverer;
        answer(discoverer, "192.168.1.9", "Nine", "HW:A\nFW:B\nSW:SFT-009251-00\nBuild:1",
               QByteArray::fromHex("0102030405060708"));
        answer(discoverer, "192.168.1.10", "Ten");
        // Other products, and answers without a version, are no keypads.
        answer(discoverer, "10.77.0.4", "Other", "HW:A\nFW:B\nSW:SFT-000001-00\nBuild:1");
        answer(discoverer, "10.77.0.5", "No version", QByteArray());
        QCOMPARE(discoverer.deviceCount(), 2);
        QCOMPARE(discoverer.devices().first().address(), QStringLiteral("192.168.1.10"));
        QCOMPARE(discoverer.devices().last().name(), QStringLiteral("Nine"));
        QCOMPARE(discoverer.devices().last().mac(), QByteArray::fromHex("010203040506"));
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestDiscoverer, "tst_discoverer", QCoreApplication)

#include "tst_discoverer.moc"

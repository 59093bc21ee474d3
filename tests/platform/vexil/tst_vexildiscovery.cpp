#include "DiscoveryPacket.h"
#include "KeypadSimulator.h"
#include "TestEnvironment.h"
#include "Vexil.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QUdpSocket>

#include <algorithm>

// Vexil against simulated keypads that are hosts of their own on the private network; the
// editor's discovery and address change on top of it are in tst_keypadsession.
class TestVexilDiscovery : public QObject {
    Q_OBJECT

private slots:
    // The request is a broadcast: only the keypad it names by hardware address may move.
    void movesOnlyTheKeypadItNames() {
        KeypadSimulator target, bystander;
        QVERIFY(target.start({QStringLiteral("10.77.0.5"), QStringLiteral("Target")}));
        QVERIFY(bystander.start({QStringLiteral("10.77.0.6"), QStringLiteral("Bystander")}));
        QByteArray mac = target.macBytes();

        // A request with a netmask that is not contiguous is refused, and the keypad says so.
        DiscoveryPacket odd;
        odd.type = DiscoveryPacket::Type::SetAddressRequest;
        std::copy(mac.cbegin(), mac.cend(), odd.mac.begin());
        odd.ipv4 = QHostAddress(QStringLiteral("10.77.3.60")).toIPv4Address();
        odd.netmask = 0xFF00FF00;
        QUdpSocket raw;
        QVERIFY(raw.bind(QHostAddress(QStringLiteral("10.77.0.1")), 0));
        raw.writeDatagram(odd.encode(), QHostAddress(QStringLiteral("10.77.255.255")), DiscoveryPacket::KeypadPort);
        QVERIFY(QSignalSpy(&raw, &QUdpSocket::readyRead).wait(5000));
        DiscoveryPacket refusal;
        QVERIFY(DiscoveryPacket::decode(raw.receiveDatagram().data(), refusal));
        QVERIFY(refusal.type == DiscoveryPacket::Type::SetAddressReply &&
                refusal.status == DiscoveryPacket::Status::InvalidAddress);
        QCOMPARE(QHostAddress(refusal.ipv4).toString(), QStringLiteral("10.77.0.5"));

        Vexil vexil;
        QSet<QString> answered;
        connect(&vexil, &Vexil::signalDiscoverResponse, this,
                [&](char*, quint32 ip, quint32, quint16, quint32, char*, char*) {
                    answered << QHostAddress(ip).toString();
                });
        QVERIFY(vexil.sendDiscover("255.255.255.255"));
        QTRY_COMPARE(answered.size(), 2);
        QVERIFY(vexil.sendSetIP(mac.data(), "10.77.3.50"));
        QTRY_VERIFY2_WITH_TIMEOUT(target.hasEvent(QStringLiteral("moved 10.77.3.50")),
                                  qPrintable(target.events().join(QLatin1Char('|'))), 10000);
        QVERIFY(!QTest::qWaitFor([&] { return bystander.hasEvent(QStringLiteral("set-address")); }, 500));
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestVexilDiscovery, "tst_vexildiscovery", QCoreApplication)
#include "tst_vexildiscovery.moc"

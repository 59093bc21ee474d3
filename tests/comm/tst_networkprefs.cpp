#include "TestEnvironment.h"

#include "NetworkPrefs.h"

#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTableWidget>

namespace {

// The test runs as root of its own network namespace, so it can give itself interfaces.
bool ip(const QString& arguments) {
    QProcess process;
    process.start(QStringLiteral("ip"), arguments.split(' '));
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

QTableWidget* table(NetworkPrefs& prefs) {
    return prefs.findChild<QTableWidget*>(QStringLiteral("mNetworkInterfaceTable"));
}

int rowOf(NetworkPrefs& prefs, const QString& name) {
    QTableWidget* t = table(prefs);
    for (int row = 0; row < t->rowCount(); ++row) {
        if (t->item(row, 0)->text() == name)
            return row;
    }
    return -1;
}

QStringList rowTexts(NetworkPrefs& prefs, int row) {
    QTableWidget* t = table(prefs);
    return {t->item(row, 0)->text(), t->item(row, 1)->text(), t->item(row, 2)->text()};
}

void clickCell(NetworkPrefs& prefs, int row, int column) {
    QTableWidget* t = table(prefs);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualItemRect(t->item(row, column)).center());
}

} // namespace

class TestNetworkPrefs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(ip("link add t0 type veth peer name t0peer"));
        QVERIFY(ip("addr add 192.168.1.5/24 broadcast 192.168.1.255 dev t0"));
        QVERIFY(ip("addr add fd00::5/64 dev t0"));
        QVERIFY(ip("link set t0 up"));
        QVERIFY(ip("link set t0peer up"));
        // An interface that is down never appears.
        QVERIFY(ip("link add t1 type veth peer name t1peer"));
        QVERIFY(ip("addr add 172.16.0.5/16 broadcast 172.16.255.255 dev t1"));
    }

    void init() { QSettings().clear(); }

    void listsUsableIpv4Interfaces() {
        NetworkPrefs prefs(nullptr, nullptr, true);
        QTableWidget* t = table(prefs);
        QCOMPARE(t->columnCount(), 3);
        QCOMPARE(t->horizontalHeaderItem(0)->text(), QStringLiteral("Name"));
        QCOMPARE(t->horizontalHeaderItem(1)->text(), QStringLiteral("IP Address"));
        QCOMPARE(t->horizontalHeaderItem(2)->text(), QStringLiteral("Broadcast Address"));
        QCOMPARE(t->rowCount(), 2);
        QCOMPARE(rowTexts(prefs, rowOf(prefs, "lan0")),
                 QStringList({"lan0", "10.77.0.1/255.255.0.0", "10.77.255.255"}));
        QCOMPARE(rowTexts(prefs, rowOf(prefs, "t0")),
                 QStringList({"t0", "192.168.1.5/255.255.255.0", "192.168.1.255"}));
        QVERIFY(!(t->item(0, 0)->flags() & Qt::ItemIsEditable));
        QVERIFY(prefs.findChild<QRadioButton*>("mDefaultNetworkInterfaceRadio")->isChecked());
        QVERIFY(prefs.findChild<QRadioButton*>("mDefaultNetworkInterfaceRadio")
                    ->text()
                    .startsWith("Use default interface ("));
        QCOMPARE(prefs.findChild<QPushButton*>("refreshButton")->toolTip(),
                 QStringLiteral("Refresh list of interfaces."));
        // Without a saved address the first row is selected, in bold.
        QCOMPARE(t->selectedItems().size(), 3);
        QCOMPARE(t->selectedItems().first()->row(), 0);
        QVERIFY(t->item(0, 2)->font().bold());
        QVERIFY(!t->item(1, 2)->font().bold());
    }

    void pinnedInterfaceIsAnnouncedAndRemembered() {
        int t0 = -1;
        {
            NetworkPrefs prefs(nullptr, nullptr, true);
            QSignalSpy chosen(&prefs, &NetworkPrefs::interfaceChosen);
            t0 = rowOf(prefs, "t0");
            QTest::mouseClick(prefs.findChild<QRadioButton*>("mSelectedNetworkInterfaceRadio"), Qt::LeftButton);
            chosen.clear();
            clickCell(prefs, t0, 1);
            QVERIFY(!chosen.isEmpty());
            const QNetworkAddressEntry entry = chosen.last().at(0).value<QNetworkAddressEntry>();
            QCOMPARE(entry.ip().toString(), QStringLiteral("192.168.1.5"));
            QCOMPARE(chosen.last().at(1).toString(), QStringLiteral("t0"));
            QCOMPARE(prefs.hostAddress(), QStringLiteral("192.168.1.5"));
            QVERIFY(table(prefs)->item(t0, 0)->font().bold());
        }
        QSettings settings;
        QCOMPARE(settings.value("network_interface/default").toBool(), false);
        QCOMPARE(settings.value("network_interface/ip").toString(), QStringLiteral("192.168.1.5"));

        // After a restart the saved row is selected again.
        NetworkPrefs again(nullptr, nullptr, true);
        QVERIFY(again.findChild<QRadioButton*>("mSelectedNetworkInterfaceRadio")->isChecked());
        QCOMPARE(table(again)->selectedItems().first()->row(), rowOf(again, "t0"));
        QCOMPARE(again.currentAddressEntry().ip().toString(), QStringLiteral("192.168.1.5"));

        // Within a run a refresh keeps the interface by name although its address changed.
        QVERIFY(ip("addr flush dev t0"));
        QVERIFY(ip("addr add 192.168.1.6/24 broadcast 192.168.1.255 dev t0"));
        QSignalSpy chosen(&again, &NetworkPrefs::interfaceChosen);
        QTest::mouseClick(again.findChild<QPushButton*>("refreshButton"), Qt::LeftButton);
        QCOMPARE(table(again)->selectedItems().first()->text(), QStringLiteral("t0"));
        QVERIFY(!chosen.isEmpty());
        QCOMPARE(chosen.last().at(0).value<QNetworkAddressEntry>().ip().toString(), QStringLiteral("192.168.1.6"));
        QVERIFY(ip("addr flush dev t0"));
        QVERIFY(ip("addr add 192.168.1.5/24 broadcast 192.168.1.255 dev t0"));
    }

    void defaultInterfaceIsAnnounced() {
        NetworkPrefs prefs(nullptr, nullptr, true);
        QSignalSpy chosen(&prefs, &NetworkPrefs::interfaceChosen);
        prefs.announceCurrentChoice();
        QCOMPARE(chosen.count(), 1);
        const QNetworkAddressEntry entry = chosen.last().at(0).value<QNetworkAddressEntry>();
        QCOMPARE(chosen.last().at(1).toString(), prefs.defaultConfigurationName());
        // No configuration by an interface's name: the "any" address, so every interface counts.
        const QString name = prefs.defaultConfigurationName();
        if (rowOf(prefs, name) < 0) {
            QCOMPARE(entry.ip(), QHostAddress(QHostAddress::AnyIPv4));
            QCOMPARE(entry.broadcast(), QHostAddress(QHostAddress::Broadcast));
        } else {
            QCOMPARE(entry.ip().toString(), rowTexts(prefs, rowOf(prefs, name)).at(1).section('/', 0, 0));
        }
        QCOMPARE(QSettings().value("network_interface/default").toBool(), true);
    }

    void pageThatIsNotLiveKeepsQuiet() {
        NetworkPrefs prefs(nullptr, nullptr, false);
        QSignalSpy chosen(&prefs, &NetworkPrefs::interfaceChosen);
        QTest::mouseClick(prefs.findChild<QRadioButton*>("mSelectedNetworkInterfaceRadio"), Qt::LeftButton);
        clickCell(prefs, rowOf(prefs, "t0"), 0);
        QCOMPARE(chosen.count(), 0);
        QVERIFY(!QSettings().contains("network_interface/ip"));
        QCOMPARE(prefs.hostAddress(), QStringLiteral("192.168.1.5"));
    }
};

// Needs interfaces of its own, which only a private network namespace gives.
LUMETTO_NETWORK_TEST_MAIN(TestNetworkPrefs, "tst_networkprefs", QApplication)
#include "tst_networkprefs.moc"

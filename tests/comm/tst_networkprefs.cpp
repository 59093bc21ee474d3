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
    const QList<QTableWidgetItem*> found = table(prefs)->findItems(name, Qt::MatchExactly);
    return found.isEmpty() || found.first()->column() != 0 ? -1 : found.first()->row();
}

QStringList rowTexts(NetworkPrefs& prefs, const QString& name) {
    QStringList texts;
    for (int column = 0; column < table(prefs)->columnCount(); ++column)
        texts << table(prefs)->item(rowOf(prefs, name), column)->text();
    return texts;
}

QRadioButton* radio(NetworkPrefs& prefs, const char* name) {
    return prefs.findChild<QRadioButton*>(QLatin1String(name));
}

// Pins an interface the way a user does: the radio button, then a click on its row.
void pin(NetworkPrefs& prefs, const QString& name) {
    QTest::mouseClick(radio(prefs, "mSelectedNetworkInterfaceRadio"), Qt::LeftButton);
    QTableWidget* t = table(prefs);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualItemRect(t->item(rowOf(prefs, name), 1)).center());
}

QString chosenIp(const QSignalSpy& chosen) {
    return chosen.isEmpty() ? QString() : chosen.last().at(0).value<QNetworkAddressEntry>().ip().toString();
}

} // namespace

class TestNetworkPrefs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // t1 is down, so it never appears.
        for (const char* command :
             {"link add t0 type veth peer name t0peer", "addr add 192.168.1.5/24 broadcast 192.168.1.255 dev t0",
              "addr add fd00::5/64 dev t0", "link set t0 up", "link set t0peer up",
              "link add t1 type veth peer name t1peer", "addr add 172.16.0.5/16 broadcast 172.16.255.255 dev t1"})
            QVERIFY2(ip(QString::fromLatin1(command)), command);
    }

    void init() { QSettings().clear(); }

    void interfaceChoiceIsAnnouncedAndRemembered() {
        {
            NetworkPrefs prefs(nullptr, nullptr, true);
            // Only interfaces that are up, and only their IPv4 addresses.
            QTableWidget* t = table(prefs);
            QCOMPARE(t->rowCount(), 2);
            QCOMPARE(rowTexts(prefs, "lan0"), QStringList({"lan0", "10.77.0.1/255.255.0.0", "10.77.255.255"}));
            QCOMPARE(rowTexts(prefs, "t0"), QStringList({"t0", "192.168.1.5/255.255.255.0", "192.168.1.255"}));
            QVERIFY(radio(prefs, "mDefaultNetworkInterfaceRadio")->isChecked());
            // Without a saved address the first row is selected, in bold.
            QCOMPARE(t->selectedItems().size(), 3);
            QCOMPARE(t->selectedItems().first()->row(), 0);
            QVERIFY(t->item(0, 2)->font().bold() && !t->item(1, 2)->font().bold());

            // The default: the interface of the system's default configuration, or without one the
            // "any" address, so that every interface counts.
            QSignalSpy chosen(&prefs, &NetworkPrefs::interfaceChosen);
            prefs.announceCurrentChoice();
            QCOMPARE(chosen.count(), 1);
            const QString name = prefs.defaultConfigurationName();
            QCOMPARE(chosen.last().at(1).toString(), name);
            QCOMPARE(chosenIp(chosen), rowOf(prefs, name) < 0 ? QStringLiteral("0.0.0.0")
                                                              : rowTexts(prefs, name).at(1).section('/', 0, 0));
            QCOMPARE(QSettings().value("network_interface/default").toBool(), true);

            pin(prefs, "t0");
            QCOMPARE(chosenIp(chosen), QStringLiteral("192.168.1.5"));
            QCOMPARE(chosen.last().at(1).toString(), QStringLiteral("t0"));
            QVERIFY(t->item(rowOf(prefs, "t0"), 0)->font().bold());
        }
        QCOMPARE(QSettings().value("network_interface/default").toBool(), false);
        QCOMPARE(QSettings().value("network_interface/ip").toString(), QStringLiteral("192.168.1.5"));

        // After a restart the saved row is selected again, and known from the start.
        NetworkPrefs again(nullptr, nullptr, true);
        QVERIFY(radio(again, "mSelectedNetworkInterfaceRadio")->isChecked());
        QCOMPARE(table(again)->selectedItems().first()->row(), rowOf(again, "t0"));
        QCOMPARE(again.currentAddressEntry().ip().toString(), QStringLiteral("192.168.1.5"));

        // Within a run a refresh keeps the interface by name although its address changed.
        QVERIFY(ip("addr flush dev t0"));
        QVERIFY(ip("addr add 192.168.1.6/24 broadcast 192.168.1.255 dev t0"));
        QSignalSpy chosen(&again, &NetworkPrefs::interfaceChosen);
        QTest::mouseClick(again.findChild<QPushButton*>("refreshButton"), Qt::LeftButton);
        QCOMPARE(table(again)->selectedItems().first()->text(), QStringLiteral("t0"));
        QCOMPARE(chosenIp(chosen), QStringLiteral("192.168.1.6"));
        QVERIFY(ip("addr flush dev t0"));
        QVERIFY(ip("addr add 192.168.1.5/24 broadcast 192.168.1.255 dev t0"));
    }
};

// Needs interfaces of its own, which only a private network namespace gives.
LUMETTO_NETWORK_TEST_MAIN(TestNetworkPrefs, "tst_networkprefs", QApplication)
#include "tst_networkprefs.moc"

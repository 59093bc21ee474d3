#include "TestEnvironment.h"

#include "MSPChooser.h"

#include <QComboBox>
#include <QLabel>

// Choosing among keypads end to end is covered with the main window; here the dialog's own rules.
class TestMSPChooser : public QObject {
    Q_OBJECT

private slots:
    void offersTheKeypadsInOrder() {
        MSPChooser chooser({"A (10.0.0.2)", "B (10.0.0.3)"}, nullptr);
        QCOMPARE(chooser.findChild<QLabel*>("label")->text(), QStringLiteral("Choose an Lumetto Keypad"));
        QCOMPARE(chooser.selectedIndex(), 0);
        chooser.findChild<QComboBox*>("devicesComboBox")->setCurrentIndex(1);
        QCOMPARE(chooser.selectedIndex(), 1);
        QCOMPARE(MSPChooser({}, nullptr).selectedIndex(), -1);
    }
};

LUMETTO_TEST_MAIN(TestMSPChooser, "tst_mspchooser")
#include "tst_mspchooser.moc"

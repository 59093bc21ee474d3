#include "TestEnvironment.h"

#include "MSPChooser.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

class TestMSPChooser : public QObject {
    Q_OBJECT

private slots:
    void listsTheKeypadsAndReturnsTheChoice() {
        MSPChooser chooser({"A (10.0.0.2)", "B (10.0.0.3)"}, nullptr);
        QCOMPARE(chooser.windowTitle(), QStringLiteral("Choose an Lumetto Keypad"));
        QCOMPARE(chooser.findChild<QLabel*>("label")->text(), QStringLiteral("Choose an Lumetto Keypad"));
        auto* combo = chooser.findChild<QComboBox*>("devicesComboBox");
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), QStringLiteral("A (10.0.0.2)"));
        QCOMPARE(combo->itemText(1), QStringLiteral("B (10.0.0.3)"));
        QCOMPARE(chooser.selectedIndex(), 0);

        chooser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chooser));
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(chooser.selectedIndex(), 1);
        QSignalSpy accepted(&chooser, &QDialog::accepted);
        QTest::mouseClick(chooser.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(chooser.result(), int(QDialog::Accepted));
    }

    void emptyChooserHasNoChoice() {
        MSPChooser chooser({}, nullptr);
        QCOMPARE(chooser.selectedIndex(), -1);
    }
};

LUMETTO_TEST_MAIN(TestMSPChooser, "tst_mspchooser")
#include "tst_mspchooser.moc"

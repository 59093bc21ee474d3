#include "FilterBox.h"
#include "LineEditClearButton.h"
#include "TestEnvironment.h"

#include <QSignalSpy>

using namespace ZelWidgetsLib;

class TestFilterBox : public QObject {
    Q_OBJECT

private slots:
    void clearingFollowsTheText() {
        FilterBox box;
        box.resize(200, 26);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        LineEditClearButton* clear = box.clearButton();
        QVERIFY(!clear->isVisible());
        QSignalSpy edited(&box, &QLineEdit::textEdited);
        QTest::keyClicks(&box, QStringLiteral("red"));
        QVERIFY(clear->isVisible() && box.rect().contains(clear->geometry()));
        // The clearing is an edit like the letters, so filters follow it, and it can be undone.
        QTest::mouseClick(clear, Qt::LeftButton);
        QVERIFY(box.text().isEmpty() && !clear->isVisible() && box.isUndoAvailable());
        QCOMPARE(edited.count(), 4);

        QTest::keyClicks(&box, QStringLiteral("abc"));
        QTest::keyClick(&box, Qt::Key_Escape);
        QCOMPARE(box.text(), QString());
        box.setReadOnly(true);
        box.setText(QStringLiteral("kept"));
        clear->click();
        QCOMPARE(box.text(), QStringLiteral("kept"));
    }
};

LUMETTO_TEST_MAIN(TestFilterBox, "tst_filterbox")
#include "tst_filterbox.moc"

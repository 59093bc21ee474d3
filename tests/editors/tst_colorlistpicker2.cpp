#include "ColorListPicker2.h"
#include "ColorMimeData.h"
#include "TestEnvironment.h"
#include "ZelColor.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <memory>

using ZelColorPickerLib::ColorMimeData;
using Colours = QStringList;

namespace {

const QString Red = ZelColor(QColor(255, 0, 0)).aName();
const QString Green = ZelColor(QColor(0, 255, 0)).aName();
const QString Blue = ZelColor(QColor(0, 0, 255)).aName();
const QString Yellow = ZelColor(QColor(255, 255, 0)).aName();

std::unique_ptr<ColorListPicker2> makeStrip(const Colours& colours, int minCount = 1, int maxCount = 200) {
    auto strip = std::make_unique<ColorListPicker2>();
    strip->setMinCount(minCount);
    strip->setMaxCount(maxCount);
    strip->setText(colours.join(QLatin1Char('|')));
    strip->show();
    return strip;
}

QPoint centreOf(int index) {
    return QRect(ColorListPicker2::CellSize * index + 1, 1, ColorListPicker2::CellSize, ColorListPicker2::CellSize)
        .center();
}

// Steps of a few pixels with the left button held, so every cell on the way is passed as a hand
// would pass it.
void moveAlong(QWidget* widget, QPoint from, const QPoint& to) {
    while (from != to) {
        from += QPoint(qBound(-3, to.x() - from.x(), 3), qBound(-3, to.y() - from.y(), 3));
        QMouseEvent move(QEvent::MouseMove, from, widget->mapToGlobal(from), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(widget, &move);
    }
}

// Pressed at the first point, moved through the others and let go at the last.
void drag(QWidget* widget, const QList<QPoint>& points) {
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, points.first());
    for (int i = 1; i < points.size(); ++i)
        moveAlong(widget, points.at(i - 1), points.at(i));
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, points.last());
}

std::unique_ptr<QMimeData> payload(const QColor& color) {
    return std::unique_ptr<QMimeData>(ColorMimeData::encode({{QString(), ZelColor(color), QString(), QString()}}));
}

// The colour last handed to the picker.
QString lastEdit(const QSignalSpy& edits) {
    return edits.isEmpty() ? QString() : edits.last().at(0).toString();
}

bool dropAt(QWidget* widget, QMimeData* data, const QPoint& pos) {
    return TestSupport::drop(widget, data, pos, Qt::CopyAction | Qt::MoveAction) == QEvent::None;
}

// Opens the context menu at pos, takes the entry named chosen (if any) and answers the enabled
// entries ("none" without a menu).
QString contextMenuAt(QWidget* widget, const QPoint& pos, const QString& chosen = QString()) {
    QString offered = QStringLiteral("none");
    QTimer::singleShot(0, widget, [&offered, chosen] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        QStringList enabled;
        for (QAction* action : menu->actions()) {
            if (action->isEnabled())
                enabled << action->text();
            if (action->text() == chosen)
                menu->setActiveAction(action);
        }
        offered = enabled.join(QLatin1Char(','));
        if (chosen.isEmpty())
            menu->close();
        else
            QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &event);
    return offered;
}

} // namespace

class TestColorListPicker2 : public QObject {
    Q_OBJECT

private slots:
    void clicksAndPickerAnswers() {
        auto strip = makeStrip({Red, Green});
        QSignalSpy edits(strip.get(), &ColorListPicker2::editColor);
        QSignalSpy counts(strip.get(), &ColorListPicker2::colorCountChanged);
        QSignalSpy changes(strip.get(), &ColorListPicker2::colorChanged);
        QTest::mouseClick(strip.get(), Qt::LeftButton, Qt::NoModifier, centreOf(1));
        QCOMPARE(lastEdit(edits), Green);
        // The picker's answer replaces the cell being edited; a cancelled pick takes back nothing
        // that was not just added.
        strip->editColorChanged(Blue);
        QCOMPARE(changes.takeFirst(), (QVariantList{1, Blue}));
        strip->onCancelledColor(QString());
        QCOMPARE(strip->colors(), (Colours{Red, Blue}));

        // "+" appends a copy of the last colour to edit; cancelled, the new cell goes again.
        QTest::mouseClick(strip.get(), Qt::LeftButton, Qt::NoModifier, centreOf(2));
        QCOMPARE(strip->colors(), (Colours{Red, Blue, Blue}));
        QCOMPARE(strip->currentIndex(), 2);
        QCOMPARE(counts.count(), 1);
        QCOMPARE(lastEdit(edits), Blue);
        strip->onCancelledColor(QString());
        QCOMPARE(strip->colors(), (Colours{Red, Blue}));

        // Pressed on "+" but let go elsewhere: nothing added. An answer for a cell that is not there
        // is dropped.
        drag(strip.get(), {centreOf(2), centreOf(0)});
        strip->setCurrentIndex(7);
        strip->editColorChanged(Yellow);
        QCOMPARE(strip->colors(), (Colours{Red, Blue}));
    }

    // Without a mouse: arrows choose the colour to edit, Delete keeps the minimum, "+" and Insert add; a
    // screen reader finds each cell as a list item called by its colour, the edited one selected.
    void keyboardAndScreenReader() {
        auto strip = makeStrip({Red, Green, Blue}, 2, 4);
        QSignalSpy edits(strip.get(), &ColorListPicker2::editColor);
        QSignalSpy counts(strip.get(), &ColorListPicker2::colorCountChanged);
        strip->setFocus();
        QTest::keyClick(strip.get(), Qt::Key_Right);
        QTest::keyClick(strip.get(), Qt::Key_Right);
        QTest::keyClick(strip.get(), Qt::Key_Right);
        QCOMPARE(strip->currentIndex(), 2);
        QCOMPARE(edits.count(), 2);
        QCOMPARE(lastEdit(edits), Blue);

        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(strip.get());
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->childCount(), 4); // three colours and "+"
        QCOMPARE(list->child(0)->role(), QAccessible::ListItem);
        QCOMPARE(list->child(1)->text(QAccessible::Name), strip->colorName(1));
        QVERIFY(!list->child(1)->text(QAccessible::Name).isEmpty());
        QVERIFY(list->child(2)->state().selected && !list->child(0)->state().selected);
        QCOMPARE(list->child(3)->role(), QAccessible::Button);
        QCOMPARE(list->indexOfChild(list->child(2)), 2);
        QCOMPARE(list->childAt(strip->mapToGlobal(centreOf(1)).x(), strip->mapToGlobal(centreOf(1)).y()),
                 list->child(1));

        QTest::keyClick(strip.get(), Qt::Key_Plus);
        QCOMPARE(strip->colors(), (Colours{Red, Green, Blue, Blue}));
        QCOMPARE(list->childCount(), 4); // full: no "+" any more
        QCOMPARE(list->child(3)->role(), QAccessible::ListItem);
        QTest::keyClick(strip.get(), Qt::Key_Plus);
        QTest::keyClick(strip.get(), Qt::Key_Insert);
        QCOMPARE(strip->count(), 4);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(strip.get(), Qt::Key_Delete);
        QCOMPARE(strip->colors(), (Colours{Red, Green}));
        QCOMPARE(counts.count(), 3);
        QTest::keyClick(strip.get(), Qt::Key_Home);
        QCOMPARE(strip->currentIndex(), 0);
        QTest::keyClick(strip.get(), Qt::Key_Insert);
        QCOMPARE(strip->colors(), (Colours{Red, Red, Green}));
        QCOMPARE(list->childCount(), 4);
        QCOMPARE(list->child(1)->text(QAccessible::Name), strip->colorName(1));
    }

    void dragsReorderDeleteAndCopy() {
        auto strip = makeStrip({Red, Green, Blue}, 2);
        QSignalSpy counts(strip.get(), &ColorListPicker2::colorCountChanged);
        QSignalSpy edits(strip.get(), &ColorListPicker2::editColor);
        // The dragged cell trades places with every cell it passes, and stays the one edited.
        drag(strip.get(), {centreOf(0), centreOf(2)});
        QCOMPARE(strip->colors(), (Colours{Green, Blue, Red}));
        QCOMPARE(strip->currentIndex(), 2);
        QCOMPARE(counts.count(), 2);

        // Dragged out of the row, a cell is deleted and its left neighbour edited, but never below
        // the minimum.
        drag(strip.get(), {centreOf(1), centreOf(1) + QPoint(0, 60)});
        QCOMPARE(strip->colors(), (Colours{Green, Red}));
        QCOMPARE(counts.count(), 3);
        QCOMPARE(lastEdit(edits), Green);
        drag(strip.get(), {centreOf(0), centreOf(0) + QPoint(0, 60)});
        QCOMPARE(strip->colors(), (Colours{Green, Red}));

        // Down out of the row first, then across onto "+": no cell is passed, and a copy is appended.
        const QPoint below(0, 40);
        drag(strip.get(), {centreOf(0), centreOf(0) + below, centreOf(2) + below, centreOf(2) + QPoint(0, 2)});
        QCOMPARE(strip->colors(), (Colours{Green, Red, Green}));
        QCOMPARE(counts.count(), 4);
    }

    void contextMenu() {
        auto strip = makeStrip({Red, Green}, 2, 3);
        QSignalSpy counts(strip.get(), &ColorListPicker2::colorCountChanged);
        QSignalSpy edits(strip.get(), &ColorListPicker2::editColor);
        const QString insert = QStringLiteral("Insert Color"), remove = QStringLiteral("Delete Color");
        // At the minimum nothing can be deleted; at the maximum nothing inserted.
        QCOMPARE(contextMenuAt(strip.get(), centreOf(1), insert), insert);
        QCOMPARE(strip->colors(), (Colours{Red, Green, Green}));
        QCOMPARE(counts.count(), 1);
        QCOMPARE(lastEdit(edits), Green);
        QCOMPARE(contextMenuAt(strip.get(), centreOf(0), remove), remove);
        QCOMPARE(strip->colors(), (Colours{Green, Green}));
        QCOMPARE(counts.count(), 2);
        // Under the row, between the cells, no menu.
        QCOMPARE(contextMenuAt(strip.get(), QPoint(10, ColorListPicker2::CellSize + 10)), QStringLiteral("none"));
    }

    // A drop replaces the cell it lands on, or is appended beside the cells until the strip is full:
    // a wash keeps six colours, so the full strip shows no "+" and takes no drop beside it.
    void dropsReplaceOrAppendUntilFull() {
        auto strip = makeStrip({Red, Green, Blue, Red, Green}, 1, 6);
        QSignalSpy edits(strip.get(), &ColorListPicker2::editColor);
        QVERIFY(dropAt(strip.get(), payload(Qt::yellow).get(), centreOf(2)));
        QCOMPARE(lastEdit(edits), Yellow);
        QVERIFY(dropAt(strip.get(), payload(Qt::yellow).get(), centreOf(5)));
        QCOMPARE(strip->colors(), (Colours{Red, Green, Yellow, Red, Green, Yellow}));
        QCOMPARE(strip->currentIndex(), 5);

        edits.clear();
        QTest::mouseClick(strip.get(), Qt::LeftButton, Qt::NoModifier, centreOf(6));
        const QImage picture = strip->grab().toImage();
        QCOMPARE(picture.pixelColor(centreOf(6)), picture.pixelColor(QPoint(picture.width() - 1, 1)));
        QVERIFY(!dropAt(strip.get(), payload(Qt::blue).get(), centreOf(6)));
        QCOMPARE(edits.count(), 0);

        // Another program's item: an identifier joined with the colour value.
        QMimeData foreign;
        foreign.setData(ColorMimeData::ForeignType, QByteArray("abc123") + Blue.toUtf8() + ",ignored");
        QVERIFY(dropAt(strip.get(), &foreign, centreOf(0)));
        QMimeData plain;
        plain.setText(QStringLiteral("not a colour"));
        QVERIFY(!dropAt(strip.get(), &plain, centreOf(1)));
        QCOMPARE(strip->colors(), (Colours{Blue, Green, Yellow, Red, Green, Yellow}));
    }
};

LUMETTO_TEST_MAIN(TestColorListPicker2, "tst_colorlistpicker2")
#include "tst_colorlistpicker2.moc"

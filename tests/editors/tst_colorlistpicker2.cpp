#include "ColorListPicker2.h"
#include "ColorMimeData.h"
#include "TestEnvironment.h"
#include "ZelColor.h"

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

// A move with the left button held, as the window system sends it during a drag.
void dragTo(QWidget* widget, const QPoint& pos) {
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Steps of a few pixels, so every cell on the way is passed as a hand would pass it.
void moveAlong(QWidget* widget, QPoint from, const QPoint& to) {
    while (from != to) {
        from += QPoint(qBound(-3, to.x() - from.x(), 3), qBound(-3, to.y() - from.y(), 3));
        dragTo(widget, from);
    }
}

// Pressed at the first point, moved through the others and let go at the last.
void drag(QWidget* widget, const QList<QPoint>& points) {
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, points.first());
    for (int i = 1; i < points.size(); ++i)
        moveAlong(widget, points.at(i - 1), points.at(i));
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, points.last());
}

QMimeData* payload(const QColor& color) {
    return ColorMimeData::encode({{QString(), ZelColor(color), QString(), QString()}});
}

// Drag enter, move and drop at pos; answers whether the drop was accepted.
bool dropAt(QWidget* widget, QMimeData* data, const QPoint& pos) {
    QDragEnterEvent enter(pos, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(pos, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
    QDropEvent drop(pos, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &drop);
    return drop.isAccepted();
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
        QCOMPARE(strip->currentIndex(), 1);
        QCOMPARE(edits.count(), 1);
        QCOMPARE(edits.at(0).at(0).toString(), Green);
        QCOMPARE(counts.count(), 0);
        // The picker's answer replaces the cell being edited.
        strip->editColorChanged(Blue);
        QCOMPARE(strip->colors(), (Colours{Red, Blue}));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.at(0).at(0).toInt(), 1);
        QCOMPARE(changes.at(0).at(1).toString(), Blue);
        // A cancelled pick takes back nothing that was not just added.
        strip->onCancelledColor(QString());
        QCOMPARE(strip->count(), 2);

        // "+" appends a copy of the last colour to edit; cancelled, the new cell goes again.
        QTest::mouseClick(strip.get(), Qt::LeftButton, Qt::NoModifier, centreOf(2));
        QCOMPARE(strip->colors(), (Colours{Red, Blue, Blue}));
        QCOMPARE(strip->currentIndex(), 2);
        QCOMPARE(counts.count(), 1);
        QCOMPARE(edits.last().at(0).toString(), Blue);
        strip->onCancelledColor(QString());
        QCOMPARE(strip->colors(), (Colours{Red, Blue}));

        // Pressed on "+" but let go elsewhere: nothing added.
        QTest::mousePress(strip.get(), Qt::LeftButton, Qt::NoModifier, centreOf(2));
        dragTo(strip.get(), centreOf(0));
        QCOMPARE(strip->state(), int(ColorListPicker2::PlusPressedMovedOff));
        QTest::mouseRelease(strip.get(), Qt::LeftButton, Qt::NoModifier, centreOf(0));
        QCOMPARE(strip->count(), 2);
        // An answer for a cell that is not there is dropped.
        strip->setCurrentIndex(7);
        strip->editColorChanged(Yellow);
        QCOMPARE(strip->colors(), (Colours{Red, Blue}));
    }

    void dragsReorderDeleteAndCopy() {
        auto strip = makeStrip({Red, Green, Blue}, 2);
        QSignalSpy counts(strip.get(), &ColorListPicker2::colorCountChanged);
        QSignalSpy edits(strip.get(), &ColorListPicker2::editColor);
        // The dragged cell trades places with every cell it passes.
        QTest::mousePress(strip.get(), Qt::LeftButton, Qt::NoModifier, centreOf(0));
        moveAlong(strip.get(), centreOf(0), centreOf(1));
        QCOMPARE(strip->colors(), (Colours{Green, Red, Blue}));
        moveAlong(strip.get(), centreOf(1), centreOf(2));
        QTest::mouseRelease(strip.get(), Qt::LeftButton, Qt::NoModifier, centreOf(2));
        QCOMPARE(strip->colors(), (Colours{Green, Blue, Red}));
        QCOMPARE(strip->currentIndex(), 2);
        QCOMPARE(counts.count(), 2);

        // Dragged out of the row, a cell is deleted, but never below the minimum.
        drag(strip.get(), {centreOf(1), centreOf(1) + QPoint(0, 60)});
        QCOMPARE(strip->colors(), (Colours{Green, Red}));
        QCOMPARE(counts.count(), 3);
        QCOMPARE(strip->currentIndex(), 0);
        QCOMPARE(edits.last().at(0).toString(), Green);
        drag(strip.get(), {centreOf(0), centreOf(0) + QPoint(0, 60)});
        QCOMPARE(strip->colors(), (Colours{Green, Red}));
        QCOMPARE(counts.count(), 3);

        // Down out of the row first, then across onto "+": no cell is passed, and a copy is appended.
        const QPoint below(0, 40);
        drag(strip.get(), {centreOf(0), centreOf(0) + below, centreOf(2) + below, centreOf(2) + QPoint(0, 2)});
        QCOMPARE(strip->colors(), (Colours{Green, Red, Green}));
        QCOMPARE(strip->currentIndex(), 2);
        QCOMPARE(counts.count(), 4);
    }

    void contextMenu() {
        auto strip = makeStrip({Red, Green}, 2, 3);
        QSignalSpy counts(strip.get(), &ColorListPicker2::colorCountChanged);
        QSignalSpy edits(strip.get(), &ColorListPicker2::editColor);
        // At the minimum nothing can be deleted; at the maximum nothing inserted.
        QCOMPARE(contextMenuAt(strip.get(), centreOf(1), QStringLiteral("Insert Color")),
                 QStringLiteral("Insert Color"));
        QCOMPARE(strip->colors(), (Colours{Red, Green, Green}));
        QCOMPARE(strip->currentIndex(), 1);
        QCOMPARE(counts.count(), 1);
        QCOMPARE(edits.last().at(0).toString(), Green);
        QCOMPARE(contextMenuAt(strip.get(), centreOf(0), QStringLiteral("Delete Color")),
                 QStringLiteral("Delete Color"));
        QCOMPARE(strip->colors(), (Colours{Green, Green}));
        QCOMPARE(counts.count(), 2);
        // Under the row, between the cells, no menu.
        QCOMPARE(contextMenuAt(strip.get(), QPoint(10, ColorListPicker2::CellSize + 10)), QStringLiteral("none"));
    }

    void dropsReplaceOrAppend() {
        auto strip = makeStrip({Red, Green, Blue});
        QSignalSpy edits(strip.get(), &ColorListPicker2::editColor);
        std::unique_ptr<QMimeData> yellow(payload(Qt::yellow));
        QVERIFY(dropAt(strip.get(), yellow.get(), centreOf(2)));
        QCOMPARE(strip->colors(), (Colours{Red, Green, Yellow}));
        QCOMPARE(strip->currentIndex(), 2);
        QCOMPARE(edits.last().at(0).toString(), Yellow);
        std::unique_ptr<QMimeData> red(payload(Qt::red));
        QVERIFY(dropAt(strip.get(), red.get(), centreOf(3)));
        QCOMPARE(strip->colors(), (Colours{Red, Green, Yellow, Red}));
        QCOMPARE(strip->currentIndex(), 3);

        // Another program's item: an identifier joined with the colour value.
        QMimeData foreign;
        foreign.setData(ColorMimeData::ForeignType, QByteArray("abc123") + Blue.toUtf8() + ",ignored");
        QVERIFY(dropAt(strip.get(), &foreign, centreOf(0)));
        QCOMPARE(strip->colors().first(), Blue);
        QMimeData plain;
        plain.setText(QStringLiteral("not a colour"));
        QVERIFY(!dropAt(strip.get(), &plain, centreOf(0)));
        QCOMPARE(strip->colors().first(), Blue);
    }

    // A wash keeps six colours: the full strip shows no "+" and takes no drop beside it.
    void fullStripTakesNoSeventh() {
        auto strip = makeStrip(QVector<QString>(6, Red).toList(), 1, 6);
        strip->setCurrentIndex(2);
        QSignalSpy edits(strip.get(), &ColorListPicker2::editColor);
        QTest::mouseClick(strip.get(), Qt::LeftButton, Qt::NoModifier, centreOf(6));
        QCOMPARE(strip->count(), 6);
        QCOMPARE(strip->currentIndex(), 2);
        const QImage picture = strip->grab().toImage();
        QCOMPARE(picture.pixelColor(centreOf(6)), picture.pixelColor(QPoint(picture.width() - 1, 1)));

        std::unique_ptr<QMimeData> blue(payload(Qt::blue));
        QVERIFY(!dropAt(strip.get(), blue.get(), centreOf(6)));
        QCOMPARE(strip->count(), 6);
        QCOMPARE(edits.count(), 0);
        // A drop onto a cell still replaces.
        QVERIFY(dropAt(strip.get(), blue.get(), centreOf(5)));
        QCOMPARE(strip->colors(), (Colours{Red, Red, Red, Red, Red, Blue}));
    }
};

LUMETTO_TEST_MAIN(TestColorListPicker2, "tst_colorlistpicker2")
#include "tst_colorlistpicker2.moc"

#include "ColorListPicker2.h"
#include "ColorMimeData.h"
#include "TestEnvironment.h"
#include "ZelColor.h"

#include <QAction>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTimer>
#include <QToolTip>
#include <memory>

using ZelColorPickerLib::ColorMimeData;

namespace {

const QString Red = ZelColor(QColor(255, 0, 0)).aName();
const QString Green = ZelColor(QColor(0, 255, 0)).aName();
const QString Blue = ZelColor(QColor(0, 0, 255)).aName();
const QString Yellow = ZelColor(QColor(255, 255, 0)).aName();

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
void dragAlong(QWidget* widget, QPoint from, const QPoint& to) {
    while (from != to) {
        from += QPoint(qBound(-3, to.x() - from.x(), 3), qBound(-3, to.y() - from.y(), 3));
        dragTo(widget, from);
    }
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

struct MenuState {
    bool shown = false;
    bool insertEnabled = false;
    bool deleteEnabled = false;
};

// Opens the context menu at pos and answers what it offered; with chosen set, that entry is taken.
MenuState contextMenuAt(QWidget* widget, const QPoint& pos, const QString& chosen = QString()) {
    MenuState state;
    QTimer::singleShot(0, widget, [&state, chosen] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        state.shown = true;
        QAction* toTake = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text() == QLatin1String("Insert Color"))
                state.insertEnabled = action->isEnabled();
            if (action->text() == QLatin1String("Delete Color"))
                state.deleteEnabled = action->isEnabled();
            if (action->text() == chosen)
                toTake = action;
        }
        if (toTake)
            menu->setActiveAction(toTake), QTest::keyClick(menu, Qt::Key_Return);
        else
            menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &event);
    return state;
}

} // namespace

class TestColorListPicker2 : public QObject {
    Q_OBJECT

private slots:
    void textRoundTrip();
    void clickSelectsAndPlusAppends();
    void dragReorders();
    void dragOutDeletes();
    void dragOutKeepsMinimum();
    void dragOntoPlusAppendsCopy();
    void fullStripHasNoPlus();
    void contextMenu();
    void dropsReplaceOrAppend();
    void fullStripRefusesDropBeside();
    void editedColourIsApplied();
    void cancelledAdditionIsTakenBack();
    void tooltips();
};

void TestColorListPicker2::textRoundTrip() {
    ColorListPicker2 strip;
    QSignalSpy counts(&strip, &ColorListPicker2::colorCountChanged);
    const QString text = Red + QLatin1Char('|') + Green + QLatin1Char('|') + Blue;
    strip.setText(text);
    QCOMPARE(strip.count(), 3);
    QCOMPARE(strip.currentIndex(), 0);
    QCOMPARE(strip.text(), text);
    QCOMPARE(strip.property("text").toString(), text);
    QCOMPARE(strip.width(), 4 * ColorListPicker2::CellSize + 3);
    QCOMPARE(counts.count(), 0);

    strip.setText(QString());
    QCOMPARE(strip.colors(), QStringList{QString()});
    QCOMPARE(strip.text(), QString());

    strip.setText(Red + QLatin1String("||") + Blue);
    QCOMPARE(strip.colors(), (QStringList{Red, QString(), Blue}));
}

void TestColorListPicker2::clickSelectsAndPlusAppends() {
    ColorListPicker2 strip;
    strip.setText(Red + QLatin1Char('|') + Green);
    strip.show();
    QSignalSpy edits(&strip, &ColorListPicker2::editColor);
    QSignalSpy counts(&strip, &ColorListPicker2::colorCountChanged);

    QTest::mouseClick(&strip, Qt::LeftButton, Qt::NoModifier, centreOf(1));
    QCOMPARE(strip.currentIndex(), 1);
    QCOMPARE(edits.count(), 1);
    QCOMPARE(edits.at(0).at(0).toString(), Green);
    QCOMPARE(counts.count(), 0);

    QTest::mouseClick(&strip, Qt::LeftButton, Qt::NoModifier, centreOf(2));
    QCOMPARE(strip.colors(), (QStringList{Red, Green, Green}));
    QCOMPARE(strip.currentIndex(), 2);
    QCOMPARE(strip.state(), int(ColorListPicker2::Appended));
    QCOMPARE(counts.count(), 1);
    QCOMPARE(edits.last().at(0).toString(), Green);
    QCOMPARE(strip.width(), 4 * ColorListPicker2::CellSize + 3);

    // Pressed on "+" but let go elsewhere: nothing added.
    QTest::mousePress(&strip, Qt::LeftButton, Qt::NoModifier, centreOf(3));
    dragTo(&strip, centreOf(0));
    QCOMPARE(strip.state(), int(ColorListPicker2::PlusPressedMovedOff));
    QTest::mouseRelease(&strip, Qt::LeftButton, Qt::NoModifier, centreOf(0));
    QCOMPARE(strip.count(), 3);
}

void TestColorListPicker2::dragReorders() {
    ColorListPicker2 strip;
    strip.setText(Red + QLatin1Char('|') + Green + QLatin1Char('|') + Blue);
    strip.show();
    QSignalSpy counts(&strip, &ColorListPicker2::colorCountChanged);

    QTest::mousePress(&strip, Qt::LeftButton, Qt::NoModifier, centreOf(0));
    dragAlong(&strip, centreOf(0), centreOf(1));
    QCOMPARE(strip.colors(), (QStringList{Green, Red, Blue}));
    QCOMPARE(counts.count(), 1);
    dragAlong(&strip, centreOf(1), centreOf(2));
    QCOMPARE(strip.colors(), (QStringList{Green, Blue, Red}));
    QCOMPARE(counts.count(), 2);
    QCOMPARE(strip.currentIndex(), 2);
    QTest::mouseRelease(&strip, Qt::LeftButton, Qt::NoModifier, centreOf(2));
    QCOMPARE(strip.colors(), (QStringList{Green, Blue, Red}));
    QCOMPARE(strip.currentIndex(), 2);
    QCOMPARE(counts.count(), 2);
}

void TestColorListPicker2::dragOutDeletes() {
    ColorListPicker2 strip;
    strip.setText(Red + QLatin1Char('|') + Green + QLatin1Char('|') + Blue);
    strip.show();
    QSignalSpy counts(&strip, &ColorListPicker2::colorCountChanged);
    QSignalSpy edits(&strip, &ColorListPicker2::editColor);

    QTest::mousePress(&strip, Qt::LeftButton, Qt::NoModifier, centreOf(1));
    const QPoint away = centreOf(1) + QPoint(0, 60);
    dragAlong(&strip, centreOf(1), away);
    QTest::mouseRelease(&strip, Qt::LeftButton, Qt::NoModifier, away);
    QCOMPARE(strip.colors(), (QStringList{Red, Blue}));
    QCOMPARE(counts.count(), 1);
    QCOMPARE(strip.currentIndex(), 0);
    QCOMPARE(edits.last().at(0).toString(), Red);
    QCOMPARE(strip.width(), 3 * ColorListPicker2::CellSize + 3);
}

void TestColorListPicker2::dragOutKeepsMinimum() {
    ColorListPicker2 strip;
    strip.setMinCount(2);
    strip.setText(Red + QLatin1Char('|') + Green);
    strip.show();
    QSignalSpy counts(&strip, &ColorListPicker2::colorCountChanged);

    QTest::mousePress(&strip, Qt::LeftButton, Qt::NoModifier, centreOf(0));
    const QPoint away = centreOf(0) + QPoint(0, 60);
    dragAlong(&strip, centreOf(0), away);
    QTest::mouseRelease(&strip, Qt::LeftButton, Qt::NoModifier, away);
    QCOMPARE(strip.colors(), (QStringList{Red, Green}));
    QCOMPARE(counts.count(), 0);
}

void TestColorListPicker2::dragOntoPlusAppendsCopy() {
    ColorListPicker2 strip;
    strip.setText(Red + QLatin1Char('|') + Green);
    strip.show();
    QSignalSpy counts(&strip, &ColorListPicker2::colorCountChanged);

    QTest::mousePress(&strip, Qt::LeftButton, Qt::NoModifier, centreOf(0));
    // Down out of the row first, then across to "+": no cell is passed on the way.
    dragAlong(&strip, centreOf(0), centreOf(0) + QPoint(0, 40));
    dragAlong(&strip, centreOf(0) + QPoint(0, 40), centreOf(2) + QPoint(0, 40));
    dragAlong(&strip, centreOf(2) + QPoint(0, 40), centreOf(2) + QPoint(0, 2));
    QTest::mouseRelease(&strip, Qt::LeftButton, Qt::NoModifier, centreOf(2) + QPoint(0, 2));
    QCOMPARE(strip.colors(), (QStringList{Red, Green, Red}));
    QCOMPARE(strip.currentIndex(), 2);
    QCOMPARE(counts.count(), 1);
}

void TestColorListPicker2::fullStripHasNoPlus() {
    ColorListPicker2 strip;
    strip.setMaxCount(6);
    strip.setText(QStringList(QVector<QString>(6, Red).toList()).join(QLatin1Char('|')));
    strip.setCurrentIndex(2);
    strip.show();
    QSignalSpy edits(&strip, &ColorListPicker2::editColor);
    QTest::mouseClick(&strip, Qt::LeftButton, Qt::NoModifier, centreOf(6));
    QCOMPARE(strip.count(), 6);
    QCOMPARE(strip.currentIndex(), 2);
    QCOMPARE(edits.count(), 0);

    // Where "+" would be stays as blank as the background.
    const QImage picture = strip.grab().toImage();
    QCOMPARE(picture.pixelColor(centreOf(6)), picture.pixelColor(QPoint(picture.width() - 1, 1)));
    QVERIFY(picture.pixelColor(centreOf(5)) != picture.pixelColor(centreOf(6)));
}

void TestColorListPicker2::contextMenu() {
    ColorListPicker2 strip;
    strip.setMinCount(2);
    strip.setMaxCount(3);
    strip.setText(Red + QLatin1Char('|') + Green);
    strip.show();
    QSignalSpy counts(&strip, &ColorListPicker2::colorCountChanged);
    QSignalSpy edits(&strip, &ColorListPicker2::editColor);

    MenuState menu = contextMenuAt(&strip, centreOf(1));
    QVERIFY(menu.shown);
    QVERIFY(menu.insertEnabled);
    QVERIFY(!menu.deleteEnabled);

    menu = contextMenuAt(&strip, centreOf(1), QStringLiteral("Insert Color"));
    QCOMPARE(strip.colors(), (QStringList{Red, Green, Green}));
    QCOMPARE(strip.currentIndex(), 1);
    QCOMPARE(strip.state(), int(ColorListPicker2::Inserted));
    QCOMPARE(counts.count(), 1);
    QCOMPARE(edits.last().at(0).toString(), Green);

    menu = contextMenuAt(&strip, centreOf(0), QStringLiteral("Delete Color"));
    QVERIFY(!menu.insertEnabled);
    QVERIFY(menu.deleteEnabled);
    QCOMPARE(strip.colors(), (QStringList{Green, Green}));
    QCOMPARE(counts.count(), 2);

    // Under the row, between the cells, no menu.
    QVERIFY(!contextMenuAt(&strip, QPoint(10, ColorListPicker2::CellSize + 10)).shown);
}

void TestColorListPicker2::dropsReplaceOrAppend() {
    ColorListPicker2 strip;
    strip.setText(Red + QLatin1Char('|') + Green + QLatin1Char('|') + Blue);
    strip.show();
    QSignalSpy edits(&strip, &ColorListPicker2::editColor);

    std::unique_ptr<QMimeData> yellow(payload(Qt::yellow));
    QVERIFY(dropAt(&strip, yellow.get(), centreOf(2)));
    QCOMPARE(strip.colors(), (QStringList{Red, Green, Yellow}));
    QCOMPARE(strip.currentIndex(), 2);
    QCOMPARE(edits.last().at(0).toString(), Yellow);

    std::unique_ptr<QMimeData> red(payload(Qt::red));
    QVERIFY(dropAt(&strip, red.get(), centreOf(3)));
    QCOMPARE(strip.colors(), (QStringList{Red, Green, Yellow, Red}));
    QCOMPARE(strip.currentIndex(), 3);
    QCOMPARE(strip.state(), int(ColorListPicker2::Appended));

    // Another program's item: an identifier joined with the colour value.
    QMimeData foreign;
    foreign.setData(ColorMimeData::ForeignType, QByteArray("abc123") + Blue.toUtf8() + ",ignored");
    QVERIFY(dropAt(&strip, &foreign, centreOf(0)));
    QCOMPARE(strip.colors().first(), Blue);

    QMimeData plain;
    plain.setText(QStringLiteral("not a colour"));
    QVERIFY(!dropAt(&strip, &plain, centreOf(0)));
    QCOMPARE(strip.colors().first(), Blue);
}

void TestColorListPicker2::fullStripRefusesDropBeside() {
    ColorListPicker2 strip;
    strip.setMaxCount(6);
    strip.setText(QStringList(QVector<QString>(6, Red).toList()).join(QLatin1Char('|')));
    strip.show();
    QSignalSpy edits(&strip, &ColorListPicker2::editColor);
    std::unique_ptr<QMimeData> blue(payload(Qt::blue));
    QVERIFY(!dropAt(&strip, blue.get(), centreOf(6)));
    QCOMPARE(strip.count(), 6);
    QCOMPARE(edits.count(), 0);
    // A drop onto a cell still replaces.
    QVERIFY(dropAt(&strip, blue.get(), centreOf(5)));
    QCOMPARE(strip.colors().last(), Blue);
    QCOMPARE(strip.count(), 6);
}

void TestColorListPicker2::editedColourIsApplied() {
    ColorListPicker2 strip;
    strip.setText(Red + QLatin1Char('|') + Green);
    QSignalSpy changes(&strip, &ColorListPicker2::colorChanged);
    strip.setCurrentIndex(1);
    strip.editColorChanged(Blue);
    QCOMPARE(strip.colors(), (QStringList{Red, Blue}));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0).at(0).toInt(), 1);
    QCOMPARE(changes.at(0).at(1).toString(), Blue);

    strip.setCurrentIndex(7);
    strip.editColorChanged(Yellow);
    QCOMPARE(strip.colors(), (QStringList{Red, Blue}));
    QCOMPARE(changes.count(), 2);
}

void TestColorListPicker2::cancelledAdditionIsTakenBack() {
    ColorListPicker2 strip;
    strip.setText(Red + QLatin1Char('|') + Green);
    strip.show();
    strip.onCancelledColor(QString());
    QCOMPARE(strip.count(), 2);
    QTest::mouseClick(&strip, Qt::LeftButton, Qt::NoModifier, centreOf(2));
    QCOMPARE(strip.count(), 3);
    strip.onCancelledColor(QString());
    QCOMPARE(strip.colors(), (QStringList{Red, Green}));
}

void TestColorListPicker2::tooltips() {
    ColorListPicker2 strip;
    ZelColor white;
    white.setYxyF(1.0, 0.3127, 0.3290);
    strip.setText(Red + QLatin1Char('|') + white.aName());
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    const auto tipAt = [&strip](const QPoint& pos) {
        QHelpEvent help(QEvent::ToolTip, pos, strip.mapToGlobal(pos));
        QApplication::sendEvent(&strip, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tipAt(centreOf(2)), QStringLiteral("Click to add a color"));
    QCOMPARE(tipAt(centreOf(1)), QStringLiteral("White-Range White"));
    QVERIFY(!tipAt(centreOf(0)).isEmpty());
}

LUMETTO_TEST_MAIN(TestColorListPicker2, "tst_colorlistpicker2")

#include "tst_colorlistpicker2.moc"

#include "ColorMimeData.h"
#include "ColorPickerDialogs.h"
#include "ColorThumbnail.h"
#include "ColorTreeAndFilterWidget.h"
#include "FilterBox.h"
#include "LineEditClearButton.h"
#include "TestEnvironment.h"
#include "ZelColorLibrary.h"
#include "ZelColorLibraryTreeView.h"

#include <QClipboard>
#include <QDir>
#include <QDrag>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <memory>

using namespace ZelColorPickerLib;

namespace {

ZelColorLibrary* library() {
    return ZelColorLibrary::Instance();
}

const QString UserList = QStringLiteral("My Colors");

} // namespace

// Reads the drag a view starts: caught as it is made, read just before it is deleted (offscreen,
// a drag ends at once).
class DragCatcher : public QObject {
public:
    explicit DragCatcher(QObject* source) { source->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ChildAdded) {
            static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
        } else if (event->type() == QEvent::DeferredDelete) {
            if (auto* drag = qobject_cast<QDrag*>(watched); drag && drag->mimeData() && payload.isEmpty()) {
                payload = drag->mimeData()->data(ColorMimeData::ColorType);
                names = drag->mimeData()->data(ColorMimeData::NameType);
                hotSpot = drag->hotSpot();
            }
        }
        return false;
    }
    QByteArray payload, names;
    QPoint hotSpot;
};

class TestColorTreeAndFilterWidget : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void formAndSetUp();
    void filterFindsAndHides();
    void filterIsSharedBetweenWidgets();
    void clicksOpenListsAndPickColours();
    void keysMoveAndPick();
    void contextMenuRules();
    void copyAndPasteMakeFreshUids();
    void deleteKeysAndFixedLists();
    void renameInPlace();
    void dropsThroughTheCodec();
    void draggingSelectedColours();
    void exportThenImportThroughButtons();
    void screenshot();

private:
    QStringList openContextMenuOn(const QModelIndex& index, const QString& trigger = QString());
    QPoint centreOf(const QModelIndex& index) const { return m_tree->visualRect(index).center(); }
    QModelIndex listIndex(const QString& name) const { return library()->getIndexOfList(name); }

    std::unique_ptr<ColorTreeAndFilterWidget> m_widget;
    ZelColorLibraryTreeView* m_tree = nullptr;
    QStringList m_messages;
    QString m_userUid;
    QString m_projectUid;
};

void TestColorTreeAndFilterWidget::initTestCase() {
    QFile::remove(ZelColorLibrary::userFilePath());
    QSettings().clear();
    ZelColorLibrary::setProblemReporter([this](const QString& title, const QString&) { m_messages << title; });
    ColorPickerDialogs::setMessageAnswerer([this](const QString& title, const QString&) {
        m_messages << title;
        return true;
    });
    library()->setThumbnailGenerator(&ColorThumbnail::create);
    library()->init(true, true, true);
    library()->createColorList(UserList, true);
    m_userUid = library()->createColorWithName(ZelColor::fromRgb8(200, 40, 90), QStringLiteral("Raspberry"), QString(),
                                               UserList, QStringLiteral("R-7"));
    ZelColor warm;
    warm.setYxyF(1.0, 0.45, 0.41);
    library()->createColorWithName(warm, QStringLiteral("Warm Stage White"), QString(), UserList, QString());
    m_projectUid = library()->createColorWithName(ZelColor::fromRgb8(0, 90, 200), QStringLiteral("Lobby Blue"),
                                                  QString(), ZelColorLibrary::ProjectSwatches, QString());
}

void TestColorTreeAndFilterWidget::init() {
    m_messages.clear();
    m_widget = std::make_unique<ColorTreeAndFilterWidget>();
    m_widget->resize(280, 560);
    m_widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_widget.get()));
    m_tree = m_widget->treeView();
}

void TestColorTreeAndFilterWidget::cleanup() {
    m_widget->findChild<ZelWidgetsLib::FilterBox*>(QStringLiteral("treeViewFilter"))->clear();
    m_widget.reset();
}

void TestColorTreeAndFilterWidget::formAndSetUp() {
    QVERIFY(m_widget->findChild<QWidget*>(QStringLiteral("colorTreeButtonBar")));
    auto* newGroup = m_widget->findChild<QToolButton*>(QStringLiteral("newGroupButton"));
    auto* load = m_widget->findChild<QToolButton*>(QStringLiteral("loadGroupButton"));
    auto* exportButton = m_widget->findChild<QToolButton*>(QStringLiteral("exportButton"));
    QVERIFY(newGroup && load && exportButton);
    QVERIFY(!newGroup->icon().isNull() && !load->icon().isNull());
    QVERIFY(!exportButton->isEnabled());

    // The new group appears with its name open for editing.
    QSignalSpy lists(library(), &ZelColorLibrary::listsChanged);
    QTest::mouseClick(newGroup, Qt::LeftButton);
    QCOMPARE(lists.count(), 1);
    QVERIFY(library()->getModifiableLists().contains(QStringLiteral("New Color Group")));
    QTRY_VERIFY(m_tree->findChild<QLineEdit*>());
    QTest::keyClick(m_tree->findChild<QLineEdit*>(), Qt::Key_Escape);
    library()->deleteColorList(QStringLiteral("New Color Group"));
}

void TestColorTreeAndFilterWidget::filterFindsAndHides() {
    auto* filter = m_widget->findChild<ZelWidgetsLib::FilterBox*>(QStringLiteral("treeViewFilter"));
    const QModelIndex defaults = listIndex(ZelColorLibrary::DefaultSwatches);
    QVERIFY(!m_tree->isExpanded(defaults));

    QTest::keyClicks(filter, QStringLiteral("RED"));
    QCOMPARE(m_tree->filterText(), QStringLiteral("RED"));
    const QModelIndex red = library()->index(0, 0, defaults);
    QCOMPARE(red.data().toString(), QStringLiteral("Red"));
    QVERIFY(!m_tree->isRowHidden(red.row(), defaults));
    QVERIFY(m_tree->isExpanded(defaults));
    QVERIFY(m_tree->isRowHidden(1, defaults)); // Orange
    QVERIFY(m_tree->isRowHidden(listIndex(ZelColorLibrary::ProjectSwatches).row(), QModelIndex()));
    QVERIFY(m_tree->visualRect(red).isValid());

    // The second text: vendor ids and hex values are searched too.
    filter->clear();
    QTest::keyClicks(filter, QStringLiteral("r-7"));
    QVERIFY(!m_tree->isRowHidden(listIndex(UserList).row(), QModelIndex()));
    QVERIFY(m_tree->isRowHidden(defaults.row(), QModelIndex()));
    filter->clear();
    QTest::keyClicks(filter, QStringLiteral("#005ac8"));
    QVERIFY(!m_tree->isRowHidden(listIndex(ZelColorLibrary::ProjectSwatches).row(), QModelIndex()));

    filter->clear();
    QTest::keyClicks(filter, QStringLiteral("no such colour"));
    for (int row = 0; row < library()->rowCount(); ++row)
        QVERIFY2(m_tree->isRowHidden(row, QModelIndex()), qPrintable(library()->index(row, 0).data().toString()));

    // Colours added while filtering obey the filter.
    const QString uid = library()->createColorWithName(ZelColor::fromRgb8(1, 1, 1), QStringLiteral("Ink"), QString(),
                                                       UserList, QString());
    QVERIFY(m_tree->isRowHidden(listIndex(UserList).row(), QModelIndex()));
    library()->deleteColor(uid);

    // Clearing brings every row back and the lists as the user left them.
    QTest::mouseClick(filter->clearButton(), Qt::LeftButton);
    QCOMPARE(m_tree->filterText(), QString());
    for (int row = 0; row < library()->rowCount(); ++row)
        QVERIFY(!m_tree->isRowHidden(row, QModelIndex()));
    QVERIFY(!m_tree->isRowHidden(1, defaults));
    QVERIFY(!m_tree->isExpanded(defaults));
}

void TestColorTreeAndFilterWidget::filterIsSharedBetweenWidgets() {
    auto* filter = m_widget->findChild<ZelWidgetsLib::FilterBox*>(QStringLiteral("treeViewFilter"));
    QTest::keyClicks(filter, QStringLiteral("white"));
    QCOMPARE(ColorTreeAndFilterWidget::lastFilter(), QStringLiteral("white"));

    ColorTreeAndFilterWidget second;
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    QCOMPARE(second.findChild<ZelWidgetsLib::FilterBox*>(QStringLiteral("treeViewFilter"))->text(),
             QStringLiteral("white"));
    QCOMPARE(second.treeView()->filterText(), QStringLiteral("white"));
    QVERIFY(second.treeView()->isRowHidden(listIndex(ZelColorLibrary::ProjectSwatches).row(), QModelIndex()));
}

void TestColorTreeAndFilterWidget::clicksOpenListsAndPickColours() {
    const QModelIndex list = listIndex(UserList);
    const QString key = ZelColorLibraryTreeView::expandedSettingsKey(UserList);
    QCOMPARE(key, QStringLiteral("My_Colors_expanded"));
    const bool before = m_tree->isExpanded(list);
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(list));
    QCOMPARE(m_tree->isExpanded(list), !before);
    QCOMPARE(QSettings().value(key).toBool(), !before);
    if (!m_tree->isExpanded(list))
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(list));
    QVERIFY(m_tree->isExpanded(list));
    QVERIFY(QSettings().value(key).toBool());

    QSignalSpy picked(m_tree, &ZelColorLibraryTreeView::colorItemClicked);
    const QModelIndex raspberry = library()->getIndexOfUid(m_userUid);
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(raspberry));
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.first().at(0).value<ZelColor>(), ZelColor::fromRgb8(200, 40, 90));
    QCOMPARE(picked.first().at(1).toString(), m_userUid);
    // With a modifier it only selects.
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, Qt::ControlModifier, centreOf(raspberry));
    QCOMPARE(picked.count(), 1);

    // A new tree opens the lists the user opened.
    ColorTreeAndFilterWidget second;
    QVERIFY(second.treeView()->isExpanded(list));
}

void TestColorTreeAndFilterWidget::keysMoveAndPick() {
    m_tree->setExpanded(listIndex(UserList), true);
    const QModelIndex raspberry = library()->getIndexOfUid(m_userUid);
    m_tree->setCurrentIndex(raspberry);
    QSignalSpy picked(m_tree, &ZelColorLibraryTreeView::colorItemClicked);
    QTest::keyClick(m_tree, Qt::Key_Down);
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.first().at(0).value<ZelColor>().spec(), 3);
    QTest::keyClick(m_tree, Qt::Key_Up);
    QCOMPARE(picked.count(), 2);
    QCOMPARE(picked.last().at(1).toString(), m_userUid);
    QTest::keyClick(m_tree, Qt::Key_Up); // onto the list row: nothing to pick
    QCOMPARE(picked.count(), 2);
    QCOMPARE(m_tree->currentIndex(), listIndex(UserList));
    QTest::keyClick(m_tree, Qt::Key_Return);
    QCOMPARE(m_tree->currentIndex(), listIndex(UserList));
}

QStringList TestColorTreeAndFilterWidget::openContextMenuOn(const QModelIndex& index, const QString& trigger) {
    QStringList texts;
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        QTRY_VERIFY(QApplication::activePopupWidget());
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        seen = true;
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            texts << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" (disabled)"));
            if (action->text() == trigger)
                chosen = action;
        }
        if (chosen)
            menu->setActiveAction(chosen), QTest::keyClick(menu, Qt::Key_Return);
        else
            menu->close();
    });
    m_tree->scrollTo(index);
    [&] { QTRY_COMPARE(m_tree->indexAt(centreOf(index)), index); }();
    const QPoint pos = centreOf(index);
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, m_tree->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(m_tree->viewport(), &event);
    if (!seen)
        texts << QStringLiteral("<no menu>");
    return texts;
}

void TestColorTreeAndFilterWidget::contextMenuRules() {
    QApplication::clipboard()->clear();
    m_tree->setExpanded(listIndex(ZelColorLibrary::ProjectSwatches), true);
    m_tree->setExpanded(listIndex(UserList), true);
    const QModelIndex project = library()->getIndexOfUid(m_projectUid);
    const QModelIndex user = library()->getIndexOfUid(m_userUid);

    QCOMPARE(openContextMenuOn(project), QStringList({"Export...", "Copy"}));
    QCOMPARE(openContextMenuOn(listIndex(ZelColorLibrary::ProjectSwatches)), QStringList({"Export..."}));
    QCOMPARE(openContextMenuOn(user), QStringList({"Rename", "Delete", "Export...", "Copy"}));

    QMimeData* colour = new QMimeData;
    colour->setColorData(QColor(Qt::yellow));
    QApplication::clipboard()->setMimeData(colour);
    QCOMPARE(openContextMenuOn(user), QStringList({"Rename", "Delete", "Export...", "Copy", "Paste"}));
    QCOMPARE(openContextMenuOn(listIndex(UserList)), QStringList({"Rename", "Delete", "Export...", "Paste"}));
    QCOMPARE(openContextMenuOn(project), QStringList({"Export...", "Copy"}));
    QMimeData* foreign = new QMimeData;
    foreign->setData(ColorMimeData::ForeignType, "#123456");
    QApplication::clipboard()->setMimeData(foreign);
    QCOMPARE(openContextMenuOn(listIndex(UserList)).last(), QStringLiteral("Paste"));

    // Two rows: no Rename; one of them fixed: nothing that changes anything.
    m_tree->selectionModel()->select(library()->index(1, 0, listIndex(UserList)),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QMimeData* none = new QMimeData;
    QApplication::clipboard()->setMimeData(none);
    QStringList texts;
    QTimer::singleShot(0, this, [&] {
        QTRY_VERIFY(QApplication::activePopupWidget());
        for (QAction* action : QApplication::activePopupWidget()->actions())
            texts << action->text();
        QApplication::activePopupWidget()->close();
    });
    m_tree->selectionModel()->select(user, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    m_tree->handleCustomContextMenuRequested(centreOf(user));
    QCOMPARE(texts, QStringList({"Delete", "Export...", "Copy"}));
    texts.clear();
    QTimer::singleShot(0, this, [&] {
        QTRY_VERIFY(QApplication::activePopupWidget());
        for (QAction* action : QApplication::activePopupWidget()->actions())
            texts << action->text();
        QApplication::activePopupWidget()->close();
    });
    m_tree->selectionModel()->select(project, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    m_tree->handleCustomContextMenuRequested(centreOf(user));
    QCOMPARE(texts, QStringList({"Export...", "Copy"}));
}

void TestColorTreeAndFilterWidget::copyAndPasteMakeFreshUids() {
    m_tree->setExpanded(listIndex(UserList), true);
    const int before = library()->rowCount(listIndex(UserList));
    const QModelIndex user = library()->getIndexOfUid(m_userUid);
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(user));
    QTest::keyClick(m_tree, Qt::Key_C, Qt::ControlModifier);
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    QVERIFY(copied && copied->hasFormat(ColorMimeData::ColorType));
    QCOMPARE(QString::fromLatin1(copied->data(ColorMimeData::ColorType)), m_userUid + QStringLiteral("#c8285a"));

    QTest::keyClick(m_tree, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(library()->rowCount(listIndex(UserList)), before + 1);
    const QModelIndex pasted = library()->index(before, 0, listIndex(UserList));
    const QString pastedUid = pasted.data(ZelColorLibrary::UidRole).toString();
    QVERIFY(pastedUid != m_userUid);
    QCOMPARE(pasted.data().toString(), QStringLiteral("Raspberry"));
    QCOMPARE(library()->getVendorId(pastedUid), QStringLiteral("R-7"));
    QCOMPARE(library()->get(pastedUid), library()->get(m_userUid));
    QVERIFY(m_tree->selectionModel()->isRowSelected(pasted.row(), pasted.parent()));

    // Pasting the paste again: a third entry, again a uid of its own.
    QTest::keyClick(m_tree, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(m_tree, Qt::Key_V, Qt::ControlModifier);
    const QString third =
        library()->index(before + 1, 0, listIndex(UserList)).data(ZelColorLibrary::UidRole).toString();
    QVERIFY(third != pastedUid && third != m_userUid);

    // Nothing goes into a fixed list through paste.
    const int projectRows = library()->rowCount(listIndex(ZelColorLibrary::ProjectSwatches));
    m_tree->setExpanded(listIndex(ZelColorLibrary::ProjectSwatches), true);
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                      centreOf(library()->getIndexOfUid(m_projectUid)));
    QTest::keyClick(m_tree, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(library()->rowCount(listIndex(ZelColorLibrary::ProjectSwatches)), projectRows);

    library()->deleteColor(pastedUid);
    library()->deleteColor(third);
}

void TestColorTreeAndFilterWidget::deleteKeysAndFixedLists() {
    m_tree->setExpanded(listIndex(UserList), true);
    m_tree->setExpanded(listIndex(ZelColorLibrary::ProjectSwatches), true);
    for (const Qt::Key key : {Qt::Key_Delete, Qt::Key_Backspace}) {
        const QString uid = library()->createColorWithName(ZelColor::fromRgb8(5, 5, 5), QStringLiteral("Gone"),
                                                           QString(), UserList, QString());
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(library()->getIndexOfUid(uid)));
        QTest::keyClick(m_tree, key);
        QVERIFY(!library()->containsUid(uid));
    }
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                      centreOf(library()->getIndexOfUid(m_projectUid)));
    QTest::keyClick(m_tree, Qt::Key_Delete);
    QVERIFY(library()->containsUid(m_projectUid));

    // A whole group goes only after the user says yes.
    library()->createColorList(QStringLiteral("Scratch"), true);
    library()->createColor(ZelColor::fromRgb8(9, 9, 9), QString(), QStringLiteral("Scratch"), QString(), QString());
    ColorPickerDialogs::setMessageAnswerer([this](const QString& title, const QString&) {
        m_messages << title;
        return false;
    });
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                      centreOf(listIndex(QStringLiteral("Scratch"))));
    QTest::keyClick(m_tree, Qt::Key_Delete);
    QCOMPARE(m_messages, QStringList({"Delete Color Group"}));
    QVERIFY(library()->getModifiableLists().contains(QStringLiteral("Scratch")));
    ColorPickerDialogs::setMessageAnswerer([this](const QString& title, const QString&) {
        m_messages << title;
        return true;
    });
    QTest::keyClick(m_tree, Qt::Key_Delete);
    QVERIFY(!library()->getModifiableLists().contains(QStringLiteral("Scratch")));
}

void TestColorTreeAndFilterWidget::renameInPlace() {
    library()->createColorList(QStringLiteral("Rename Me"), true);
    QSignalSpy renamed(library(), &ZelColorLibrary::listRenamed);
    const QModelIndex list = listIndex(QStringLiteral("Rename Me"));
    QTest::mouseDClick(m_tree->viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(list));
    QLineEdit* editor = nullptr;
    QTRY_VERIFY((editor = m_tree->findChild<QLineEdit*>()) && editor->isVisible());
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Renamed"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(renamed.count(), 1);
    QCOMPARE(renamed.first(), QVariantList({"Rename Me", "Renamed"}));
    library()->deleteColorList(QStringLiteral("Renamed"));

    // A fixed list does not open an editor.
    QTest::mouseDClick(m_tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                       centreOf(listIndex(ZelColorLibrary::DefaultSwatches)));
    QVERIFY(!m_tree->findChild<QLineEdit*>() || !m_tree->findChild<QLineEdit*>()->isVisible());
}

void TestColorTreeAndFilterWidget::dropsThroughTheCodec() {
    const QModelIndex list = listIndex(UserList);
    m_tree->setExpanded(list, true);
    const int before = library()->rowCount(list);
    auto dragOnto = [this](const QModelIndex& target, QMimeData* data) {
        const QPoint pos = centreOf(target);
        QDragEnterEvent enter(pos, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_tree->viewport(), &enter);
        if (!enter.isAccepted())
            return QStringLiteral("enter refused");
        QDragMoveEvent move(pos, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_tree->viewport(), &move);
        if (!move.isAccepted())
            return QStringLiteral("move refused");
        QDropEvent drop(pos, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_tree->viewport(), &drop);
        return drop.isAccepted() ? QStringLiteral("dropped") : QStringLiteral("drop refused");
    };

    // A library colour dropped onto a colour row of its own list: a copy with a fresh uid.
    std::unique_ptr<QMimeData> own(ColorMimeData::encode(
        {{m_userUid, library()->get(m_userUid), QStringLiteral("ignored"), QString()},
         {QString(), ZelColor::fromRgb8(0, 128, 0), QStringLiteral("Forest, dark"), QStringLiteral("F-1")}}));
    QCOMPARE(dragOnto(library()->getIndexOfUid(m_userUid), own.get()), QStringLiteral("dropped"));
    QCOMPARE(library()->rowCount(list), before + 2);
    const QModelIndex copy = library()->index(before, 0, list);
    QVERIFY(copy.data(ZelColorLibrary::UidRole).toString() != m_userUid);
    QCOMPARE(copy.data().toString(), QStringLiteral("Raspberry")); // the library's name wins
    const QModelIndex forest = library()->index(before + 1, 0, list);
    QCOMPARE(forest.data().toString(), QStringLiteral("Forest, dark"));
    QCOMPARE(forest.data(ZelColorLibrary::VendorIdRole).toString(), QStringLiteral("F-1"));

    // From another program, onto the list row itself.
    QMimeData foreign;
    foreign.setData(ColorMimeData::ForeignType, "#abcdef");
    QCOMPARE(dragOnto(list, &foreign), QStringLiteral("dropped"));
    QCOMPARE(library()->index(before + 2, 0, list).data().toString(), QStringLiteral("Color"));

    // Refused: a fixed list, a payload that decodes to nothing, plain text.
    QCOMPARE(dragOnto(listIndex(ZelColorLibrary::DefaultSwatches), own.get()), QStringLiteral("move refused"));
    QMimeData garbage;
    garbage.setData(ColorMimeData::ColorType, "not-a-colour");
    QCOMPARE(dragOnto(list, &garbage), QStringLiteral("drop refused"));
    QMimeData text;
    text.setText(QStringLiteral("#ff0000"));
    QCOMPARE(dragOnto(list, &text), QStringLiteral("enter refused"));
    QCOMPARE(library()->rowCount(list), before + 3);
    QCOMPARE(library()->rowCount(listIndex(ZelColorLibrary::DefaultSwatches)), 32);

    for (int row = before + 2; row >= before; --row)
        library()->deleteColor(library()->index(row, 0, list).data(ZelColorLibrary::UidRole).toString());
}

void TestColorTreeAndFilterWidget::draggingSelectedColours() {
    const QModelIndex list = listIndex(UserList);
    m_tree->setExpanded(list, true);
    m_tree->scrollTo(library()->index(1, 0, list));
    const QModelIndex first = library()->getIndexOfUid(m_userUid);
    const QModelIndex second = library()->index(1, 0, list);
    QTRY_COMPARE(m_tree->indexAt(centreOf(second)), second);
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(first));
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, Qt::ShiftModifier, centreOf(second));

    DragCatcher catcher(m_tree);
    // Through the window, so the moves carry the pressed button as a real mouse's do.
    QWindow* window = m_widget->windowHandle();
    const QPoint start = m_tree->viewport()->mapTo(m_widget.get(), centreOf(second));
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, start);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(window, start + QPoint(0, step * QApplication::startDragDistance()));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, start);
    QTRY_VERIFY(!m_tree->findChild<QDrag*>());
    const QList<QByteArray> items = catcher.payload.split(',');
    QCOMPARE(items.size(), 2);
    QCOMPARE(items.first(), (m_userUid + QStringLiteral("#c8285a")).toLatin1());
    QVERIFY(items.last().contains("#yxy:"));
    QCOMPARE(catcher.names, QByteArray("Raspberry,Warm Stage White"));
    QCOMPARE(catcher.hotSpot, QPoint(16, 16));
}

void TestColorTreeAndFilterWidget::exportThenImportThroughButtons() {
    QTemporaryDir dir;
    auto* exportButton = m_widget->findChild<QToolButton*>(QStringLiteral("exportButton"));
    auto* load = m_widget->findChild<QToolButton*>(QStringLiteral("loadGroupButton"));
    QVERIFY(!exportButton->isEnabled());
    QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, Qt::NoModifier, centreOf(listIndex(UserList)));
    QVERIFY(exportButton->isEnabled());

    QString askedTitle, askedDir, askedFilter;
    ColorPickerDialogs::setNextSaveFileAnswer([&](const QString& title, const QString& start, const QString& filter) {
        askedTitle = title, askedDir = start, askedFilter = filter;
        return dir.filePath(QStringLiteral("Backstage"));
    });
    QTest::mouseClick(exportButton, Qt::LeftButton);
    QCOMPARE(askedTitle, QStringLiteral("Export Colors to a File"));
    QCOMPARE(askedDir, QDir::homePath());
    QCOMPARE(askedFilter, QStringLiteral("Zel Color Files (*.zelcolors);;All Files (*.* *)"));
    const QString path = dir.filePath(QStringLiteral("Backstage.zelcolors"));
    QVERIFY(QFile::exists(path));
    QCOMPARE(QSettings().value(QStringLiteral("colorPickerExportDir")).toString(), dir.path());

    ColorPickerDialogs::setNextOpenFileAnswer([&](const QString& title, const QString& start, const QString&) {
        askedTitle = title, askedDir = start;
        return path;
    });
    QTest::mouseClick(load, Qt::LeftButton);
    QCOMPARE(askedTitle, QStringLiteral("Load Color Group From File"));
    QCOMPARE(askedDir, dir.path());
    const QModelIndex imported = listIndex(QStringLiteral("Backstage"));
    QVERIFY(library()->isUserListIndex(imported));
    QCOMPARE(library()->rowCount(imported), library()->rowCount(listIndex(UserList)));
    QCOMPARE(library()->index(0, 0, imported).data().toString(), QStringLiteral("Raspberry"));

    // An export that cannot be written says so.
    ColorPickerDialogs::setNextSaveFileAnswer([&](const QString&, const QString&, const QString&) {
        return dir.filePath(QStringLiteral("missing/x.zelcolors"));
    });
    QTest::mouseClick(exportButton, Qt::LeftButton);
    QCOMPARE(m_messages, QStringList({"Export Colors to a File"}));

    library()->deleteColorList(QStringLiteral("Backstage"));
    m_tree->clearSelection();
    QVERIFY(!exportButton->isEnabled());
}

void TestColorTreeAndFilterWidget::screenshot() {
    library()->createColorList(QStringLiteral("Wedding Reception"), true);
    const struct {
        const char* name;
        int r, g, b;
    } colors[] = {{"Blush", 244, 194, 194},
                  {"Champagne", 247, 231, 206},
                  {"Candle Glow", 255, 183, 76},
                  {"Ivory", 255, 248, 231},
                  {"Dusty Rose", 199, 120, 132}};
    for (const auto& c : colors)
        library()->createColorWithName(ZelColor::fromRgb8(c.r, c.g, c.b), QString::fromLatin1(c.name), QString(),
                                       QStringLiteral("Wedding Reception"), QString());
    auto* filter = m_widget->findChild<ZelWidgetsLib::FilterBox*>(QStringLiteral("treeViewFilter"));
    QTest::keyClicks(filter, QStringLiteral("ro"));
    m_tree->selectionModel()->select(library()->getIndexOfUid(m_userUid),
                                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const QImage filtered = m_widget->grab().toImage();
    filter->clear();
    m_tree->setExpanded(listIndex(ZelColorLibrary::DefaultSwatches), true);
    m_tree->setExpanded(listIndex(UserList), false);
    m_tree->setCurrentIndex(library()->index(12, 0, listIndex(ZelColorLibrary::DefaultSwatches)));
    m_widget->resize(300, 760);
    const QImage whole = m_widget->grab().toImage();
    QCOMPARE(filtered.size(), QSize(280, 560));
    QVERIFY(filtered != whole);

    const QString out = QString::fromLocal8Bit(qgetenv("LUMETTO_SCREENSHOT_DIR"));
    if (!out.isEmpty()) {
        QVERIFY(filtered.save(out + QStringLiteral("/colortree-filtered.png")));
        QVERIFY(whole.save(out + QStringLiteral("/colortree.png")));
    }
    library()->deleteColorList(QStringLiteral("Wedding Reception"));
}

LUMETTO_TEST_MAIN(TestColorTreeAndFilterWidget, "tst_colortreeandfilterwidget")
#include "tst_colortreeandfilterwidget.moc"

#include "ColorMimeData.h"
#include "ColorPickerDialogs.h"
#include "ColorThumbnail.h"
#include "ColorTreeAndFilterWidget.h"
#include "DragCatcher.h"
#include "FilterBox.h"
#include "LineEditClearButton.h"
#include "TestEnvironment.h"
#include "ZelColorLibrary.h"
#include "ZelColorLibraryTreeView.h"

#include <QAction>
#include <QClipboard>
#include <QDrag>
#include <QLineEdit>
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

QString uidOf(const QModelIndex& index) {
    return index.data(ZelColorLibrary::UidRole).toString();
}

} // namespace

class TestColorTreeAndFilterWidget : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void newGroupOpensForRenaming();
    void filterFindsHidesAndIsShared();
    void clicksAndKeysPickColours();
    void contextMenuRules_data();
    void contextMenuRules();
    void addingAndRemovingColours();
    void draggingSelectedColours();
    void exportThenImportThroughButtons();

private:
    QPoint centreOf(const QModelIndex& index) const { return m_tree->visualRect(index).center(); }
    QModelIndex listIndex(const QString& name) const { return library()->getIndexOfList(name); }
    void clickOn(const QModelIndex& index, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, modifiers, centreOf(index));
    }
    ZelWidgetsLib::FilterBox* filter() const {
        return m_widget->findChild<ZelWidgetsLib::FilterBox*>(QStringLiteral("treeViewFilter"));
    }
    QToolButton* button(const char* name) const { return m_widget->findChild<QToolButton*>(QLatin1String(name)); }
    void exportTo(const QString& path) {
        ColorPickerDialogs::setNextSaveFileAnswer(
            [path](const QString&, const QString&, const QString&) { return path; });
        QTest::mouseClick(button("exportButton"), Qt::LeftButton);
    }
    // Imports @p path through the button; answers the folder the file dialog opened in.
    QString importFrom(const QString& path) {
        QString opened;
        ColorPickerDialogs::setNextOpenFileAnswer([&](const QString&, const QString& start, const QString&) {
            opened = start;
            return path;
        });
        QTest::mouseClick(button("loadGroupButton"), Qt::LeftButton);
        return opened;
    }
    void filterBy(const QString& text) {
        filter()->clear();
        QTest::keyClicks(filter(), text);
    }

    std::unique_ptr<ColorTreeAndFilterWidget> m_widget;
    ZelColorLibraryTreeView* m_tree = nullptr;
    QStringList m_messages;
    bool m_answer = true;
    QString m_userUid;
    QString m_projectUid;
};

void TestColorTreeAndFilterWidget::initTestCase() {
    QFile::remove(ZelColorLibrary::userFilePath());
    QSettings().clear();
    ZelColorLibrary::setProblemReporter([this](const QString& title, const QString&) { m_messages << title; });
    ColorPickerDialogs::setMessageAnswerer([this](const QString& title, const QString&) {
        m_messages << title;
        return m_answer;
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
    m_answer = true;
    m_widget = std::make_unique<ColorTreeAndFilterWidget>();
    m_widget->resize(280, 560);
    m_widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_widget.get()));
    m_tree = m_widget->treeView();
    m_tree->setExpanded(listIndex(UserList), true);
    m_tree->setExpanded(listIndex(ZelColorLibrary::ProjectSwatches), true);
}

void TestColorTreeAndFilterWidget::cleanup() {
    filter()->clear();
    m_widget.reset();
}

void TestColorTreeAndFilterWidget::newGroupOpensForRenaming() {
    QSignalSpy renamed(library(), &ZelColorLibrary::listRenamed);
    QTest::mouseClick(button("newGroupButton"), Qt::LeftButton);
    QLineEdit* editor = nullptr;
    QTRY_VERIFY((editor = m_tree->findChild<QLineEdit*>()) && editor->isVisible());
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Renamed"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(renamed.count(), 1);
    QCOMPARE(renamed.first(), QVariantList({"New Color Group", "Renamed"}));
    library()->deleteColorList(QStringLiteral("Renamed"));
}

void TestColorTreeAndFilterWidget::filterFindsHidesAndIsShared() {
    const QModelIndex defaults = listIndex(ZelColorLibrary::DefaultSwatches);
    const auto hidden = [this](const QModelIndex& index) { return m_tree->isRowHidden(index.row(), index.parent()); };
    QVERIFY(!m_tree->isExpanded(defaults));
    filterBy(QStringLiteral("RED"));
    QVERIFY(!hidden(library()->index(0, 0, defaults))); // Red
    QVERIFY(hidden(library()->index(1, 0, defaults)));  // Orange
    QVERIFY(m_tree->isExpanded(defaults));
    QVERIFY(hidden(listIndex(ZelColorLibrary::ProjectSwatches)));
    TestSupport::keepPicture(m_widget.get(), QStringLiteral("colortree-filtered.png"));

    // Vendor ids and hex values are searched too.
    filterBy(QStringLiteral("r-7"));
    QVERIFY(!hidden(listIndex(UserList)));
    QVERIFY(hidden(defaults));
    filterBy(QStringLiteral("#005ac8"));
    QVERIFY(!hidden(listIndex(ZelColorLibrary::ProjectSwatches)));

    filterBy(QStringLiteral("no such colour"));
    for (int row = 0; row < library()->rowCount(); ++row)
        QVERIFY2(hidden(library()->index(row, 0)), qPrintable(library()->index(row, 0).data().toString()));
    // Colours added while filtering obey the filter.
    const QString uid = library()->createColorWithName(ZelColor::fromRgb8(1, 1, 1), QStringLiteral("Ink"), QString(),
                                                       UserList, QString());
    QVERIFY(hidden(listIndex(UserList)));
    library()->deleteColor(uid);

    // Another tree opens with the same filter.
    ColorTreeAndFilterWidget second;
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    QVERIFY(second.treeView()->isRowHidden(listIndex(UserList).row(), QModelIndex()));

    // Clearing brings every row back and the lists as the user left them.
    QTest::mouseClick(filter()->clearButton(), Qt::LeftButton);
    for (int row = 0; row < library()->rowCount(); ++row)
        QVERIFY(!hidden(library()->index(row, 0)));
    QVERIFY(!hidden(library()->index(1, 0, defaults)));
    QVERIFY(!m_tree->isExpanded(defaults));
}

void TestColorTreeAndFilterWidget::clicksAndKeysPickColours() {
    // A click on a list row opens or closes it, and a new tree remembers that.
    const QModelIndex list = listIndex(UserList);
    clickOn(list);
    QVERIFY(!m_tree->isExpanded(list));
    QVERIFY(!ColorTreeAndFilterWidget().treeView()->isExpanded(list));
    clickOn(list);
    QVERIFY(m_tree->isExpanded(list));
    QVERIFY(ColorTreeAndFilterWidget().treeView()->isExpanded(list));

    QSignalSpy picked(m_tree, &ZelColorLibraryTreeView::colorItemClicked);
    const QModelIndex raspberry = library()->getIndexOfUid(m_userUid);
    clickOn(raspberry);
    QCOMPARE(picked.count(), 1);
    QCOMPARE(picked.last().at(0).value<ZelColor>(), ZelColor::fromRgb8(200, 40, 90));
    QCOMPARE(picked.last().at(1).toString(), m_userUid);
    // With a modifier it only selects.
    clickOn(raspberry, Qt::ControlModifier);
    QCOMPARE(picked.count(), 1);

    m_tree->setCurrentIndex(raspberry);
    QTest::keyClick(m_tree, Qt::Key_Down);
    QCOMPARE(picked.count(), 2);
    QCOMPARE(picked.last().at(0).value<ZelColor>().spec(), int(ZelColor::Yxy));
    QTest::keyClick(m_tree, Qt::Key_Up);
    QCOMPARE(picked.last().at(1).toString(), m_userUid);
    QTest::keyClick(m_tree, Qt::Key_Up); // onto the list row: nothing to pick
    QTest::keyClick(m_tree, Qt::Key_Return);
    QCOMPARE(picked.count(), 3);
    QCOMPARE(m_tree->currentIndex(), list);
}

void TestColorTreeAndFilterWidget::contextMenuRules_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("alsoOther");
    QTest::addColumn<QByteArray>("clipboard"); // "" nothing, "toolkit" a plain colour, else from another program
    QTest::addColumn<QStringList>("menu");
    const QStringList fixedColour = {"Export...", "Copy"};
    const QStringList userColour = {"Rename", "Delete", "Export...", "Copy"};
    QTest::newRow("fixed colour") << "fixed colour" << false << QByteArray("toolkit") << fixedColour;
    QTest::newRow("fixed list") << "fixed list" << false << QByteArray() << QStringList({"Export..."});
    QTest::newRow("user colour") << "user colour" << false << QByteArray() << userColour;
    QTest::newRow("user colour, colour copied")
        << "user colour" << false << QByteArray("toolkit") << userColour + QStringList({"Paste"});
    QTest::newRow("user list, foreign colour copied")
        << "user list" << false << QByteArray("#123456") << QStringList({"Rename", "Delete", "Export...", "Paste"});
    QTest::newRow("two user colours") << "user colour" << true << QByteArray()
                                      << QStringList({"Delete", "Export...", "Copy"});
    QTest::newRow("user and fixed colour") << "fixed colour" << true << QByteArray("toolkit") << fixedColour;
}

void TestColorTreeAndFilterWidget::contextMenuRules() {
    QFETCH(QString, target);
    QFETCH(bool, alsoOther);
    QFETCH(QByteArray, clipboard);
    QFETCH(QStringList, menu);
    auto* copied = new QMimeData;
    if (clipboard == "toolkit")
        copied->setColorData(QColor(Qt::yellow));
    else if (!clipboard.isEmpty())
        copied->setData(ColorMimeData::ForeignType, clipboard);
    QApplication::clipboard()->setMimeData(copied);
    const QModelIndex user = library()->getIndexOfUid(m_userUid);
    const QModelIndex index = target == "fixed colour" ? library()->getIndexOfUid(m_projectUid)
                              : target == "fixed list" ? listIndex(ZelColorLibrary::ProjectSwatches)
                              : target == "user list"  ? listIndex(UserList)
                                                       : user;
    QStringList texts;
    QTimer::singleShot(0, this, [&] {
        QTRY_VERIFY(QApplication::activePopupWidget());
        for (QAction* action : QApplication::activePopupWidget()->actions())
            texts << action->text();
        QApplication::activePopupWidget()->close();
    });
    clickOn(index);
    if (alsoOther)
        clickOn(index == user ? library()->index(1, 0, listIndex(UserList)) : user, Qt::ControlModifier);
    const QPoint pos = centreOf(index);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, m_tree->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(m_tree->viewport(), &event);
    QCOMPARE(texts, menu);
}

void TestColorTreeAndFilterWidget::addingAndRemovingColours() {
    const QModelIndex list = listIndex(UserList);
    const int before = library()->rowCount(list);
    const auto uidAt = [&](int row) { return uidOf(library()->index(row, 0, list)); };

    // Copied and pasted, and the paste copied and pasted again: each entry with a uid of its own.
    clickOn(library()->getIndexOfUid(m_userUid));
    QTest::keyClick(m_tree, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(m_tree, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(m_tree->selectionModel()->isRowSelected(before, list));
    QTest::keyClick(m_tree, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(m_tree, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(library()->rowCount(list), before + 2);
    QCOMPARE(QSet<QString>({m_userUid, uidAt(before), uidAt(before + 1)}).size(), 3);
    QCOMPARE(library()->index(before + 1, 0, list).data().toString(), QStringLiteral("Raspberry"));
    QCOMPARE(library()->getVendorId(uidAt(before + 1)), QStringLiteral("R-7"));
    QCOMPARE(library()->get(uidAt(before + 1)), library()->get(m_userUid));
    // Nothing goes into a fixed list through paste.
    const int projectRows = library()->rowCount(listIndex(ZelColorLibrary::ProjectSwatches));
    clickOn(library()->getIndexOfUid(m_projectUid));
    QTest::keyClick(m_tree, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(library()->rowCount(listIndex(ZelColorLibrary::ProjectSwatches)), projectRows);

    // Dropped through the payload codec; answers the step of the drag that was refused, or None.
    auto dragOnto = [this](const QModelIndex& target, QMimeData* data) {
        return TestSupport::drop(m_tree->viewport(), data, centreOf(target));
    };
    // A library colour onto a colour row of its own list: a copy with a fresh uid, the library's name.
    std::unique_ptr<QMimeData> own(ColorMimeData::encode(
        {{m_userUid, library()->get(m_userUid), QStringLiteral("ignored"), QString()},
         {QString(), ZelColor::fromRgb8(0, 128, 0), QStringLiteral("Forest, dark"), QStringLiteral("F-1")}}));
    QCOMPARE(dragOnto(library()->getIndexOfUid(m_userUid), own.get()), QEvent::None);
    QCOMPARE(library()->rowCount(list), before + 4);
    QVERIFY(uidAt(before + 2) != m_userUid);
    QCOMPARE(library()->index(before + 2, 0, list).data().toString(), QStringLiteral("Raspberry"));
    QCOMPARE(library()->index(before + 3, 0, list).data().toString(), QStringLiteral("Forest, dark"));
    QCOMPARE(library()->getVendorId(uidAt(before + 3)), QStringLiteral("F-1"));
    // From another program, onto the list row itself.
    QMimeData foreign;
    foreign.setData(ColorMimeData::ForeignType, "#abcdef");
    QCOMPARE(dragOnto(list, &foreign), QEvent::None);
    QCOMPARE(library()->get(uidAt(before + 4)), ZelColor::fromRgb8(0xab, 0xcd, 0xef));
    // Refused: a fixed list, payloads that decode to nothing, plain text.
    QCOMPARE(dragOnto(listIndex(ZelColorLibrary::DefaultSwatches), own.get()), QEvent::DragMove);
    for (const QString& format : {ColorMimeData::ColorType, ColorMimeData::ForeignType}) {
        QMimeData garbage;
        garbage.setData(format, "not-a-colour");
        QCOMPARE(dragOnto(list, &garbage), QEvent::Drop);
    }
    QMimeData text;
    text.setText(QStringLiteral("#ff0000"));
    QCOMPARE(dragOnto(list, &text), QEvent::DragEnter);
    QCOMPARE(library()->rowCount(list), before + 5);

    // Backspace deletes like Delete, a selection at once; a fixed colour stays.
    clickOn(library()->index(before + 4, 0, list));
    QTest::keyClick(m_tree, Qt::Key_Backspace);
    QCOMPARE(library()->rowCount(list), before + 4);
    clickOn(library()->index(before, 0, list));
    clickOn(library()->index(before + 3, 0, list), Qt::ShiftModifier);
    QTest::keyClick(m_tree, Qt::Key_Delete);
    QCOMPARE(library()->rowCount(list), before);
    clickOn(library()->getIndexOfUid(m_projectUid));
    QTest::keyClick(m_tree, Qt::Key_Delete);
    QVERIFY(library()->containsUid(m_projectUid));

    // A whole group goes only after the user says yes.
    library()->createColorList(QStringLiteral("Scratch"), true);
    library()->createColor(ZelColor::fromRgb8(9, 9, 9), QString(), QStringLiteral("Scratch"), QString(), QString());
    m_answer = false;
    clickOn(listIndex(QStringLiteral("Scratch")));
    QTest::keyClick(m_tree, Qt::Key_Delete);
    QCOMPARE(m_messages, QStringList({"Delete Color Group"}));
    QVERIFY(library()->getModifiableLists().contains(QStringLiteral("Scratch")));
    m_answer = true;
    QTest::keyClick(m_tree, Qt::Key_Delete);
    QVERIFY(!library()->getModifiableLists().contains(QStringLiteral("Scratch")));
}

void TestColorTreeAndFilterWidget::draggingSelectedColours() {
    const QModelIndex second = library()->index(1, 0, listIndex(UserList));
    clickOn(library()->getIndexOfUid(m_userUid));
    clickOn(second, Qt::ShiftModifier);

    DragCatcher catcher(m_tree);
    // Through the window, so the moves carry the pressed button as a real mouse's do.
    QWindow* window = m_widget->windowHandle();
    const QPoint start = m_tree->viewport()->mapTo(m_widget.get(), centreOf(second));
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, start);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(window, start + QPoint(0, step * QApplication::startDragDistance()));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, start);
    QTRY_VERIFY(!m_tree->findChild<QDrag*>());
    const QList<QByteArray> items = catcher.data(ColorMimeData::ColorType).split(',');
    QCOMPARE(items.size(), 2);
    QCOMPARE(items.first(), (m_userUid + QStringLiteral("#c8285a")).toLatin1());
    QVERIFY(items.last().contains("#yxy:"));
    QCOMPARE(catcher.data(ColorMimeData::NameType), QByteArray("Raspberry,Warm Stage White"));
}

void TestColorTreeAndFilterWidget::exportThenImportThroughButtons() {
    QTemporaryDir dir;
    clickOn(listIndex(UserList));
    exportTo(dir.filePath(QStringLiteral("Backstage")));
    const QString path = dir.filePath(QStringLiteral("Backstage.zelcolors"));
    QVERIFY(QFile::exists(path));
    // The import dialog opens where the export went.
    QCOMPARE(importFrom(path), dir.path());
    const QModelIndex imported = listIndex(QStringLiteral("Backstage"));
    QVERIFY(library()->isUserListIndex(imported));
    QCOMPARE(library()->rowCount(imported), library()->rowCount(listIndex(UserList)));
    const QModelIndex first = library()->index(0, 0, imported);
    QCOMPARE(first.data().toString(), QStringLiteral("Raspberry"));
    QVERIFY(uidOf(first) != m_userUid); // an imported colour never shares a uid
    QVERIFY(m_messages.isEmpty());

    // An export that cannot be written says so, and so does a file that is no colour file.
    exportTo(dir.filePath(QStringLiteral("missing/x")));
    const QString html = dir.filePath(QStringLiteral("page.zelcolors"));
    QVERIFY(TestSupport::writeFile(html, "<html><body>hi</body></html>"));
    const int lists = library()->rowCount();
    importFrom(html);
    QCOMPARE(m_messages, QStringList({"Export Colors to a File", "Import Color Group"}));
    QCOMPARE(library()->rowCount(), lists);
    library()->deleteColorList(QStringLiteral("Backstage"));
}

LUMETTO_TEST_MAIN(TestColorTreeAndFilterWidget, "tst_colortreeandfilterwidget")
#include "tst_colortreeandfilterwidget.moc"

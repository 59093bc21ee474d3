#include "ZelColorLibraryTreeView.h"

#include "ColorPickerDialogs.h"
#include "PickerLog.h"
#include "ZelColorLibrary.h"
#include "ZelColorLibraryTreeViewDelegate.h"

#include <QApplication>
#include <QClipboard>
#include <QDebug>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QSaveFile>
#include <QSettings>

namespace ZelColorPickerLib {

namespace {

const QString ExportDirKey = QStringLiteral("colorPickerExportDir");

} // namespace

ZelColorLibraryTreeView::ZelColorLibraryTreeView(QWidget* parent)
    : QTreeView(parent)
    , m_library(ZelColorLibrary::Instance()) {
    setObjectName(QStringLiteral("colorTreeView"));
    setRootIsDecorated(false);
    setAutoScroll(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setModel(m_library);
    setRootIndex(QModelIndex());
    setContextMenuPolicy(Qt::CustomContextMenu);
    setIndentation(10);
    setDragEnabled(true);
    setDropIndicatorShown(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setHeaderHidden(true);
    setExpandsOnDoubleClick(false);
    setWordWrap(true);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setItemDelegate(new ZelColorLibraryTreeViewDelegate(this));
    setUniformRowHeights(false);

    connect(this, &QWidget::customContextMenuRequested, this,
            &ZelColorLibraryTreeView::handleCustomContextMenuRequested);
    connect(m_library, &ZelColorLibrary::addedColorToList, this, &ZelColorLibraryTreeView::handleAddedColorToList);
    connect(m_library, &QAbstractItemModel::rowsInserted, this, &ZelColorLibraryTreeView::handleRowsInserted);
    connect(m_library, &ZelColorLibrary::listRenamed, this, [this] {
        if (!m_filter.isEmpty())
            handleFilterChanged(m_filter);
    });
    restoreExpandedStates();
}

QString ZelColorLibraryTreeView::expandedSettingsKey(const QString& listName) {
    return QString(listName).replace(QLatin1Char(' '), QLatin1Char('_')) + QStringLiteral("_expanded");
}

void ZelColorLibraryTreeView::restoreExpandedStates() {
    QSettings settings;
    for (int row = 0; row < m_library->rowCount(); ++row) {
        const QModelIndex list = m_library->index(row, 0);
        setExpanded(list, settings.value(expandedSettingsKey(list.data().toString()), false).toBool());
    }
}

void ZelColorLibraryTreeView::setListExpanded(const QModelIndex& listIndex, bool expanded) {
    setExpanded(listIndex, expanded);
    QSettings().setValue(expandedSettingsKey(listIndex.data().toString()), expanded);
}

void ZelColorLibraryTreeView::handleRowsInserted(const QModelIndex& parent, int first, int last) {
    if (!parent.isValid()) {
        QSettings settings;
        for (int row = first; row <= last; ++row) {
            const QModelIndex list = m_library->index(row, 0);
            setExpanded(list, settings.value(expandedSettingsKey(list.data().toString()), false).toBool());
        }
    }
    // New rows must obey the filter the user sees.
    if (!m_filter.isEmpty())
        handleFilterChanged(m_filter);
}

// --- filter -------------------------------------------------------------------------------

void ZelColorLibraryTreeView::handleFilterChanged(QString text) {
    const bool wasFiltered = !m_filter.isEmpty();
    m_filter = text;
    applyFilter(rootIndex());
    if (m_filter.isEmpty() && wasFiltered)
        restoreExpandedStates();
    resizeColumnToContents(0);
}

bool ZelColorLibraryTreeView::applyFilter(const QModelIndex& parent) {
    bool anyVisible = false;
    const int rows = m_library->rowCount(parent);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = m_library->index(row, 0, parent);
        const bool childVisible = applyFilter(index);
        const QString display = index.data(Qt::DisplayRole).toString();
        const QString second = index.data(ZelColorLibrary::SecondTextRole).toString();
        const bool textMatch =
            display != QLatin1String("Explicit Colors") &&
            (display.contains(m_filter, Qt::CaseInsensitive) || second.contains(m_filter, Qt::CaseInsensitive));
        const bool visible = m_filter.isEmpty() || textMatch || childVisible;
        setRowHidden(row, parent, !visible);
        if (visible && !m_filter.isEmpty() && m_library->rowCount(index) > 0)
            setExpanded(index, true);
        anyVisible = anyVisible || visible;
    }
    return anyVisible;
}

// --- selection ----------------------------------------------------------------------------

void ZelColorLibraryTreeView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QTreeView::selectionChanged(selected, deselected);
    emit selectionChangedSignal(selected, deselected);
}

QModelIndexList ZelColorLibraryTreeView::selectedColorIndexes() const {
    QModelIndexList colors;
    QSet<QString> seen;
    auto add = [&](const QModelIndex& index) {
        const QString uid = index.data(ZelColorLibrary::UidRole).toString();
        if (!uid.isEmpty() && !seen.contains(uid)) {
            seen.insert(uid);
            colors << index;
        }
    };
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) {
        const int la = a.parent().isValid() ? a.parent().row() : a.row();
        const int lb = b.parent().isValid() ? b.parent().row() : b.row();
        if (la != lb)
            return la < lb;
        return (a.parent().isValid() ? a.row() : -1) < (b.parent().isValid() ? b.row() : -1);
    });
    for (const QModelIndex& index : qAsConst(rows)) {
        if (m_library->isListIndex(index)) {
            for (int row = 0; row < m_library->rowCount(index); ++row)
                add(m_library->index(row, 0, index));
        } else {
            add(index);
        }
    }
    return colors;
}

bool ZelColorLibraryTreeView::selectionIsModifiable() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return false;
    // Project Swatches, the defaults and the presets belong to the program, not the user.
    return std::all_of(rows.cbegin(), rows.cend(), [this](const QModelIndex& index) {
        return m_library->isUserListIndex(m_library->listIndexOf(index));
    });
}

QList<ColorMimeData::Entry> ZelColorLibraryTreeView::entriesOf(const QModelIndexList& indexes) const {
    QList<ColorMimeData::Entry> entries;
    for (const QModelIndex& index : indexes) {
        const QString uid = index.data(ZelColorLibrary::UidRole).toString();
        entries << ColorMimeData::Entry{uid, m_library->get(uid), index.data(ZelColorLibrary::NameRole).toString(),
                                        index.data(ZelColorLibrary::VendorIdRole).toString()};
    }
    return entries;
}

// --- adding colours -----------------------------------------------------------------------

int ZelColorLibraryTreeView::addColorsFromMimeData(const QMimeData* data, const QModelIndex target, bool selectAdded) {
    const QList<ColorMimeData::Entry> entries = ColorMimeData::decode(data);
    if (entries.isEmpty()) {
        qCDebug(lcPicker) << "Nothing in the dropped or pasted data is a colour";
        return 0;
    }
    const QModelIndex listIndex = m_library->listIndexOf(target);
    if (!m_library->isUserListIndex(listIndex)) {
        qCWarning(lcPicker) << "Colours go only into user groups, not into" << listIndex.data().toString();
        return 0;
    }
    const QString list = listIndex.data().toString();
    QStringList added;
    m_library->setEditingMultipleColors(true);
    for (const ColorMimeData::Entry& entry : entries) {
        QString uid = entry.uid;
        QString name = m_library->containsUid(uid) ? m_library->getName(uid, ZelColorLibrary::StoredName) : QString();
        if (name.isEmpty())
            name = entry.name.isEmpty() ? tr("Color") : entry.name;
        const QString vendorId = entry.vendorId.isEmpty() ? m_library->getVendorId(uid) : entry.vendorId;
        if (uid.isEmpty() || m_library->containsUid(uid))
            uid = m_library->createNewSwatchUidFromUid(uid, list);
        const QString newUid = m_library->createColorWithName(entry.color, name, uid, list, vendorId);
        if (!newUid.isEmpty())
            added << newUid;
    }
    m_library->setEditingMultipleColors(false);

    if (selectAdded && !added.isEmpty()) {
        QItemSelection selection;
        for (const QString& uid : qAsConst(added)) {
            const QModelIndex index = m_library->getIndexOfUid(uid);
            selection.select(index, index);
        }
        selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        const QModelIndex last = m_library->getIndexOfUid(added.last());
        selectionModel()->setCurrentIndex(last, QItemSelectionModel::NoUpdate);
        scrollTo(last);
    }
    return added.size();
}

void ZelColorLibraryTreeView::handleAddedColorToList(QModelIndex& listIndex) {
    if (!listIndex.isValid() || isRowHidden(listIndex.row(), listIndex.parent()))
        return;
    // Show the user where the colour went.
    if (!isExpanded(listIndex))
        setListExpanded(listIndex, true);
}

// --- context menu and its actions ---------------------------------------------------------

void ZelColorLibraryTreeView::handleCustomContextMenuRequested(QPoint pt) {
    m_menuIndex = indexAt(pt);
    const bool modifiable = selectionIsModifiable();
    const int selectedCount = selectionModel()->selectedRows().size();

    QMenu menu(this);
    menu.setObjectName(QStringLiteral("colorTreeContextMenu"));
    if (modifiable && selectedCount == 1)
        connect(menu.addAction(tr("Rename")), &QAction::triggered, this,
                &ZelColorLibraryTreeView::handleContextMenuRenameEvent);
    if (modifiable)
        connect(menu.addAction(tr("Delete")), &QAction::triggered, this,
                &ZelColorLibraryTreeView::handleContextMenuDeleteEvent);
    QAction* exportAction = menu.addAction(tr("Export..."));
    exportAction->setEnabled(selectedCount > 0);
    connect(exportAction, &QAction::triggered, this, &ZelColorLibraryTreeView::handleExportRequest);
    if (m_menuIndex.isValid() && !m_library->isListIndex(m_menuIndex))
        connect(menu.addAction(tr("Copy")), &QAction::triggered, this,
                &ZelColorLibraryTreeView::handleContextMenuCopyEvent);
    const QMimeData* clipboard = QApplication::clipboard()->mimeData();
    if (modifiable && clipboard && ColorMimeData::canDecode(clipboard))
        connect(menu.addAction(tr("Paste")), &QAction::triggered, this,
                &ZelColorLibraryTreeView::handleContextMenuPasteEvent);
    menu.exec(viewport()->mapToGlobal(pt));
}

void ZelColorLibraryTreeView::handleContextMenuRenameEvent() {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.size() != 1 || !selectionIsModifiable())
        return;
    setCurrentIndex(rows.first());
    edit(rows.first());
}

void ZelColorLibraryTreeView::handleContextMenuCopyEvent() {
    QModelIndexList colors = selectedColorIndexes();
    if (colors.isEmpty() && m_menuIndex.isValid() && !m_library->isListIndex(m_menuIndex))
        colors << m_menuIndex;
    if (colors.isEmpty())
        return;
    QApplication::clipboard()->setMimeData(ColorMimeData::encode(entriesOf(colors)));
}

void ZelColorLibraryTreeView::handleContextMenuPasteEvent() {
    if (!selectionIsModifiable())
        return;
    const QModelIndex target =
        currentIndex().isValid() && selectionModel()->isRowSelected(currentIndex().row(), currentIndex().parent())
            ? currentIndex()
            : selectionModel()->selectedRows().value(0);
    addColorsFromMimeData(QApplication::clipboard()->mimeData(), target, true);
}

void ZelColorLibraryTreeView::handleContextMenuDeleteEvent() {
    if (!selectionIsModifiable())
        return;
    QStringList lists, uids;
    int colorsInLists = 0;
    const QModelIndexList rows = selectionModel()->selectedRows();
    for (const QModelIndex& index : rows) {
        if (m_library->isListIndex(index)) {
            lists << index.data().toString();
            colorsInLists += m_library->rowCount(index);
        }
    }
    for (const QModelIndex& index : rows) {
        if (!m_library->isListIndex(index) && !lists.contains(index.parent().data().toString()))
            uids << index.data(ZelColorLibrary::UidRole).toString();
    }
    if (!lists.isEmpty() && colorsInLists > 0) {
        const QString text =
            lists.size() == 1
                ? tr("Delete the group \"%1\" and its %n color(s)?", nullptr, colorsInLists).arg(lists.first())
                : tr("Delete %1 groups and their %n color(s)?", nullptr, colorsInLists).arg(lists.size());
        if (!ColorPickerDialogs::question(this, tr("Delete Color Group"), text))
            return;
    }
    m_library->setEditingMultipleColors(true);
    for (const QString& uid : qAsConst(uids))
        m_library->deleteColor(uid);
    m_library->setEditingMultipleColors(false);
    for (const QString& list : qAsConst(lists))
        m_library->deleteColorList(list);
}

void ZelColorLibraryTreeView::handleExportRequest() {
    const QModelIndexList colors = selectedColorIndexes();
    if (colors.isEmpty()) {
        qCDebug(lcPicker) << "Export asked for with no colours selected";
        return;
    }
    QSettings settings;
    const QString start = settings.value(ExportDirKey, QDir::homePath()).toString();
    QString path = ColorPickerDialogs::getSaveFileName(this, tr("Export Colors to a File"), start,
                                                       tr("Zel Color Files (*.zelcolors);;All Files (*.* *)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".zelcolors");
    settings.setValue(ExportDirKey, QFileInfo(path).absolutePath());

    const QByteArray text = m_library->createColorDoc(colors, QFileInfo(path).completeBaseName()).toByteArray(1);
    qCDebug(lcPicker).noquote() << text;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.flush() || !file.commit()) {
        ColorPickerDialogs::warning(
            this, tr("Export Colors to a File"),
            tr("The colors could not be saved to \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    }
}

void ZelColorLibraryTreeView::handleDragDestroyed() {
    m_drag.clear();
    m_pressedIndex = QPersistentModelIndex();
}

// --- keys and mouse -----------------------------------------------------------------------

void ZelColorLibraryTreeView::handleUpDownEvent(QKeyEvent* event) {
    QTreeView::keyPressEvent(event);
    const QModelIndex current = currentIndex();
    if (current.isValid() && !m_library->isListIndex(current)) {
        const QString uid = current.data(ZelColorLibrary::UidRole).toString();
        emit colorItemClicked(m_library->get(uid), uid);
    }
}

void ZelColorLibraryTreeView::keyPressEvent(QKeyEvent* event) {
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Clear:
        handleContextMenuDeleteEvent();
        return;
    case Qt::Key_C:
        if (control) {
            handleContextMenuCopyEvent();
            return;
        }
        break;
    case Qt::Key_V:
        if (control) {
            handleContextMenuPasteEvent();
            return;
        }
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        handleUpDownEvent(event);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->ignore();
        return;
    default:
        break;
    }
    QTreeView::keyPressEvent(event);
}

void ZelColorLibraryTreeView::mousePressEvent(QMouseEvent* event) {
    m_pressedIndex = indexAt(event->pos());
    QTreeView::mousePressEvent(event);
}

void ZelColorLibraryTreeView::mouseReleaseEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->pos());
    const bool plainLeft = event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier;
    const bool sameRow = index.isValid() && index == QModelIndex(m_pressedIndex);
    const bool afterDoubleClick = std::exchange(m_afterDoubleClick, false);
    QTreeView::mouseReleaseEvent(event);
    if (!plainLeft || !sameRow || afterDoubleClick || state() == EditingState)
        return;
    if (m_library->isListIndex(index)) {
        setListExpanded(index, !isExpanded(index));
    } else {
        const QString uid = index.data(ZelColorLibrary::UidRole).toString();
        emit colorItemClicked(ZelColor(index.data(ZelColorLibrary::ColorTextRole).toString()), uid);
    }
}

void ZelColorLibraryTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->pos());
    if (event->button() == Qt::LeftButton && index.isValid() && (index.flags() & Qt::ItemIsEditable)) {
        m_afterDoubleClick = true;
        setCurrentIndex(index);
        edit(index);
        return;
    }
    QTreeView::mouseDoubleClickEvent(event);
}

// --- drag and drop ------------------------------------------------------------------------

void ZelColorLibraryTreeView::startDrag(Qt::DropActions supportedActions) {
    Q_UNUSED(supportedActions)
    QModelIndexList colors;
    const QModelIndexList rows = selectionModel()->selectedRows();
    for (const QModelIndex& index : rows) {
        if (!m_library->isListIndex(index))
            colors << index;
    }
    if (colors.isEmpty())
        return;
    m_drag = ColorMimeData::createDrag(this, entriesOf(colors));
    connect(m_drag, &QObject::destroyed, this, &ZelColorLibraryTreeView::handleDragDestroyed);
    m_drag->exec(Qt::CopyAction, Qt::CopyAction);
}

void ZelColorLibraryTreeView::dragEnterEvent(QDragEnterEvent* event) {
    if (!ColorMimeData::canDecode(event->mimeData())) {
        event->ignore();
        return;
    }
    QTreeView::dragEnterEvent(event);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void ZelColorLibraryTreeView::dropEvent(QDropEvent* event) {
    const QModelIndex target = indexAt(event->pos());
    // The base class clears the drop indicator and the auto scroll; the model adds nothing.
    QTreeView::dropEvent(event);
    if (target.isValid() && ColorMimeData::canDecode(event->mimeData()) &&
        addColorsFromMimeData(event->mimeData(), target, true) > 0) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ZelColorLibraryTreeView::showEvent(QShowEvent* event) {
    QTreeView::showEvent(event);
    resizeColumnToContents(0);
    emit showed();
}

} // namespace ZelColorPickerLib

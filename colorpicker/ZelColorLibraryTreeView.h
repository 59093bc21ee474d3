#pragma once

#include "ColorMimeData.h"
#include "ZelColor.h"

#include <QItemSelection>
#include <QPointer>
#include <QTreeView>

class QDrag;
class QMenu;
class QMimeData;
class ZelColorLibrary;

namespace ZelColorPickerLib {

/**
 * The colour library as a tree: lists with their colours. A click on a colour picks it, a click
 * on a list opens or closes it (remembered in the settings), and colours are dragged, dropped,
 * copied, pasted, renamed, deleted and exported here. User lists are the only ones changed.
 */
class ZelColorLibraryTreeView : public QTreeView {
    Q_OBJECT
    Q_DISABLE_COPY(ZelColorLibraryTreeView)

public:
    explicit ZelColorLibraryTreeView(QWidget* parent = nullptr);

    /**
     * Adds the colours of @p data to the list of @p target (the row itself when it is a list).
     * Colours the library already holds get a fresh uid, so a copy never shares one.
     * With @p selectAdded the new rows become the selection. Answers how many were added.
     */
    int addColorsFromMimeData(const QMimeData* data, const QModelIndex target, bool selectAdded);

    /** The selected colours, a selected list standing for all of its colours, each once. */
    QModelIndexList selectedColorIndexes() const;
    /** True when something is selected and every selected row belongs to a user list. */
    bool selectionIsModifiable() const;
    /** The filter now applied (empty for none). */
    QString filterText() const { return m_filter; }

    /** The settings key that remembers whether @p listName is open. */
    static QString expandedSettingsKey(const QString& listName);

signals:
    void colorItemClicked(ZelColor color, QString uid);
    void selectionChangedSignal(QItemSelection selected, QItemSelection deselected);
    void showed();

public slots:
    void handleFilterChanged(QString text);
    void handleExportRequest();
    void handleDragDestroyed();
    void handleCustomContextMenuRequested(QPoint pt);
    void handleContextMenuRenameEvent();
    void handleContextMenuCopyEvent();
    void handleContextMenuPasteEvent();
    void handleContextMenuDeleteEvent();
    void handleUpDownEvent(QKeyEvent* event);
    void handleAddedColorToList(QModelIndex& listIndex);

protected slots:
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool applyFilter(const QModelIndex& parent);
    void restoreExpandedStates();
    void setListExpanded(const QModelIndex& listIndex, bool expanded);
    QList<ColorMimeData::Entry> entriesOf(const QModelIndexList& indexes) const;
    void handleRowsInserted(const QModelIndex& parent, int first, int last);

    ZelColorLibrary* m_library;
    QString m_filter;
    QPointer<QDrag> m_drag;
    QPersistentModelIndex m_pressedIndex;
    QModelIndex m_menuIndex;
    bool m_afterDoubleClick = false;
};

} // namespace ZelColorPickerLib

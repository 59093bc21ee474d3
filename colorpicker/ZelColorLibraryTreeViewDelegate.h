#pragma once

#include <QStyledItemDelegate>

namespace ZelColorPickerLib {

/**
 * Paints list rows of the colour library tree as flat buttons (open/closed arrow, a person icon
 * for the user's own lists, the name and the number of colours) and colour rows the standard
 * way with the library's thumbnail.
 */
class ZelColorLibraryTreeViewDelegate : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY(ZelColorLibraryTreeViewDelegate)

public:
    explicit ZelColorLibraryTreeViewDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace ZelColorPickerLib

#include "ZelColorLibraryTreeViewDelegate.h"

#include "ColorPickerIcons.h"
#include "ScaledPixmap.h"
#include "ZelColorLibrary.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTreeView>

namespace ZelColorPickerLib {

namespace {

bool isListRow(const QModelIndex& index) {
    return index.isValid() && !index.parent().isValid();
}

constexpr int ListRowHeight = 24;

} // namespace

ZelColorLibraryTreeViewDelegate::ZelColorLibraryTreeViewDelegate(QObject* parent)
    : QStyledItemDelegate(parent) {}

QSize ZelColorLibraryTreeViewDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (isListRow(index)) {
        QFont bold = option.font;
        bold.setBold(true);
        const int count = index.model()->rowCount(index);
        const int textWidth = QFontMetrics(bold).horizontalAdvance(index.data().toString()) +
                              option.fontMetrics.horizontalAdvance(QStringLiteral("%1/%1").arg(count)) + 56;
        size = QSize(qMax(size.width(), textWidth), qMax(size.height() + 6, ListRowHeight));
    } else {
        size.setHeight(qMax(size.height(), 20));
    }
    return size;
}

void ZelColorLibraryTreeViewDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const {
    if (!isListRow(index)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }

    const auto* view = qobject_cast<const QTreeView*>(option.widget);
    const bool expanded = view && view->isExpanded(index);
    const bool selected = option.state & QStyle::State_Selected;
    const bool hovered = option.state & QStyle::State_MouseOver;
    const bool userList = index.data(ZelColorLibrary::ListKindRole).toInt() == ZelColorLibrary::UserList;
    const QPalette& palette = option.palette;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF button = QRectF(option.rect).adjusted(1.5, 1.5, -1.5, -1.5);
    QLinearGradient fill(button.topLeft(), button.bottomLeft());
    QColor top = palette.color(QPalette::Button).lighter(hovered ? 112 : 106);
    QColor bottom = palette.color(QPalette::Button).darker(hovered ? 100 : 104);
    if (selected) {
        top = palette.color(QPalette::Highlight).lighter(170);
        bottom = palette.color(QPalette::Highlight).lighter(150);
    }
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    painter->setPen(selected ? palette.color(QPalette::Highlight) : palette.color(QPalette::Mid));
    painter->setBrush(fill);
    painter->drawRoundedRect(button, 3, 3);
    painter->setRenderHint(QPainter::Antialiasing, false);

    QRect content = option.rect.adjusted(6, 0, -8, 0);
    // Open/closed arrow: the tree has no branch decoration of its own.
    QStyleOption arrow;
    arrow.rect = QRect(content.left(), content.center().y() - 5, 10, 10);
    arrow.palette = palette;
    arrow.state = QStyle::State_Enabled;
    const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawPrimitive(expanded ? QStyle::PE_IndicatorArrowDown : QStyle::PE_IndicatorArrowRight, &arrow, painter,
                         option.widget);
    content.setLeft(content.left() + 15);

    if (userList) {
        const QPixmap icon = ColorPickerIcons::pixmap(QStringLiteral(":/images/userIcon.png"), 14);
        painter->drawPixmap(content.left(),
                            content.center().y() - ZelWidgetsLib::ScaledPixmap::pointSize(icon).height() / 2 + 1, icon);
        content.setLeft(content.left() + 19);
    }

    // While a filter hides colours, say how many of them show.
    const int total = index.model()->rowCount(index);
    int shown = total;
    for (int row = 0; view && row < total; ++row)
        shown -= view->isRowHidden(row, index) ? 1 : 0;
    const QString count = shown == total ? QString::number(total) : QStringLiteral("%1/%2").arg(shown).arg(total);
    const int countWidth = option.fontMetrics.horizontalAdvance(count) + 4;
    const QRect countRect(content.right() - countWidth, content.top(), countWidth, content.height());
    painter->setPen(palette.color(QPalette::Disabled, QPalette::Text));
    painter->drawText(countRect, Qt::AlignRight | Qt::AlignVCenter, count);

    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    painter->setPen(palette.color(QPalette::ButtonText));
    const QRect textRect(content.left(), content.top(), countRect.left() - content.left() - 4, content.height());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                      QFontMetrics(bold).elidedText(index.data().toString(), Qt::ElideRight, textRect.width()));
    painter->restore();
}

QWidget* ZelColorLibraryTreeViewDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                                       const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setMaxLength(ZelColorLibrary::MaxTextLength);
    return editor;
}

} // namespace ZelColorPickerLib

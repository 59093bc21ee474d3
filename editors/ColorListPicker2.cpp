#include "ColorListPicker2.h"

#include "ColorListAccessible.h"
#include "ColorMimeData.h"
#include "RecentColorsWidget.h"
#include "UiLog.h"
#include "ZelColor.h"
#include "ZelColorLibrary.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QToolTip>

using ZelColorPickerLib::ColorMimeData;

namespace {

constexpr int MaxCellsForText = 100;

// The one place that turns a colour string into what the screen shows.
QColor screenColor(const QString& color) {
    return ZelColor(color).toQColor();
}

QColor withAlpha(QColor color, bool halfTransparent) {
    if (halfTransparent)
        color.setAlphaF(color.alphaF() * 0.5);
    return color;
}

} // namespace

ColorListPicker2::ColorListPicker2(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("colorList"));
    setMouseTracking(true);
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Colors"));
    ColorListAccessible::install();
    updateSize(0);
}

QString ColorListPicker2::colorName(int index) const {
    if (index < 0 || index >= count())
        return QString();
    const QString& color = m_colors.at(index);
    const QString name = ZelColorLibrary::Instance()->getName(color, ZelColorLibrary::StoredName);
    return name.isEmpty() ? ZelColorPickerLib::RecentColorsWidget::describe(ZelColor(color)) : name;
}

void ColorListPicker2::chooseFromKeyboard(int index) {
    if (index < 0 || index >= count() || index == m_currentIndex)
        return;
    m_state = Idle;
    m_currentIndex = index;
    emit editColor(m_colors.at(index));
    update();
    announceCurrent();
}

void ColorListPicker2::announceCurrent() {
    if (!hasFocus() || m_currentIndex < 0 || m_currentIndex >= count())
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(m_currentIndex);
    QAccessible::updateAccessibility(&focus);
}

void ColorListPicker2::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
        chooseFromKeyboard(m_currentIndex - 1);
        break;
    case Qt::Key_Right:
        chooseFromKeyboard(m_currentIndex + 1);
        break;
    case Qt::Key_Home:
        chooseFromKeyboard(0);
        break;
    case Qt::Key_End:
        chooseFromKeyboard(count() - 1);
        break;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        if (count() > m_minCount) {
            m_pressedIndex = -1;
            deleteColor(m_currentIndex);
            announceCurrent();
        }
        break;
    case Qt::Key_Insert:
        m_menuIndex = m_currentIndex;
        onContextMenuInsert();
        announceCurrent();
        break;
    case Qt::Key_Plus:
        if (hasPlus() && count() > 0) {
            appendColor(m_colors.last());
            update();
            announceCurrent();
        }
        break;
    default:
        QWidget::keyPressEvent(event);
        break;
    }
}

void ColorListPicker2::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
    announceCurrent();
}

void ColorListPicker2::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

QString ColorListPicker2::text() const {
    return m_colors.join(QLatin1Char('|'));
}

void ColorListPicker2::setText(const QString& text) {
    m_text = text;
    m_colors = text.split(QLatin1Char('|'));
    updateSize(qMin(count(), MaxCellsForText));
    m_currentIndex = 0;
    update();
}

void ColorListPicker2::setCurrentIndex(int index) {
    m_currentIndex = index;
    update();
}

QRect ColorListPicker2::cellRect(int index) const {
    return QRect(CellSize * index + 1, 1, CellSize, CellSize);
}

QRect ColorListPicker2::plusRect() const {
    return cellRect(m_draggingOut ? count() - 1 : count());
}

QRect ColorListPicker2::targetRect(int index) const {
    return QRect(CellSize * index + 1 + CellSize / 4 + 1, CellSize / 4 + 2, CellSize / 2 - 2, CellSize / 2 - 2);
}

int ColorListPicker2::cellAt(const QPoint& pos) const {
    for (int i = 0; i < count(); ++i) {
        if (cellRect(i).contains(pos))
            return i;
    }
    return -1;
}

bool ColorListPicker2::overPlus(const QPoint& pos) const {
    return hasPlus() && cellRect(count()).contains(pos);
}

QSize ColorListPicker2::minimumSizeHint() const {
    return QSize(count() * CellSize, CellSize + 16);
}

void ColorListPicker2::updateSize(int cells) {
    const QSize hint = minimumSizeHint();
    setFixedSize(qMax((cells + 1) * CellSize + 3, hint.width()), qMax(CellSize + 2, hint.height()));
}

void ColorListPicker2::editColorChanged(const QString& inNewColor) {
    if (m_currentIndex >= 0 && m_currentIndex < count() && m_colors.at(m_currentIndex) != inNewColor) {
        m_colors[m_currentIndex] = inNewColor;
        update();
    }
    emit colorChanged(m_currentIndex, inNewColor);
}

void ColorListPicker2::onCancelledColor(const QString&) {
    if ((m_state == Inserted || m_state == Appended) && m_currentIndex >= 0 && m_currentIndex < count()) {
        m_colors.removeAt(m_currentIndex);
        updateSize(count());
    }
    update();
}

void ColorListPicker2::onContextMenuDelete() {
    if (count() > m_minCount)
        deleteColor(m_menuIndex);
}

void ColorListPicker2::onContextMenuInsert() {
    if (m_menuIndex < 0 || m_menuIndex >= count() || count() >= m_maxCount)
        return;
    const QString color = m_colors.at(m_menuIndex);
    m_colors.insert(m_menuIndex, color);
    updateSize(count());
    update();
    m_state = Inserted;
    m_currentIndex = m_menuIndex;
    emit editColor(color);
    emit colorCountChanged();
}

void ColorListPicker2::appendColor(const QString& color) {
    m_colors.append(color);
    updateSize(count());
    m_state = Appended;
    m_currentIndex = count() - 1;
    emit editColor(color);
    emit colorCountChanged();
}

void ColorListPicker2::deleteColor(int index) {
    if (index < 0 || index >= count())
        return;
    m_colors.removeAt(index);
    updateSize(count());
    if (m_pressedIndex <= m_currentIndex) {
        m_currentIndex = qMax(0, m_currentIndex - 1);
        if (m_currentIndex < count())
            emit editColor(m_colors.at(m_currentIndex));
    }
    emit colorCountChanged();
    update();
}

void ColorListPicker2::mousePressEvent(QMouseEvent* event) {
    m_state = Idle;
    if (event->button() != Qt::LeftButton || !contentsRect().contains(event->pos())) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressedIndex = -1;
    m_mousePos = event->pos();
    if (overPlus(event->pos())) {
        m_state = PlusPressed;
        update();
        return;
    }
    const int index = cellAt(event->pos());
    if (index < 0)
        return;
    m_pressedIndex = index;
    m_menuIndex = index;
    m_currentIndex = index;
    const QRect cell = cellRect(index);
    m_pressOffset = event->pos() - cell.topLeft();
    m_state = CellPressed;
    emit editColor(m_colors.at(index));
    update();
}

void ColorListPicker2::mouseMoveEvent(QMouseEvent* event) {
    if (m_state == PlusPressed || m_state == PlusPressedMovedOff) {
        m_state = overPlus(event->pos()) ? PlusPressed : PlusPressedMovedOff;
        update();
        return;
    }
    if (m_state != CellPressed && m_state != Dragging)
        return;
    m_mousePos = event->pos();
    const QRect dragged(m_mousePos - m_pressOffset, QSize(CellSize, CellSize));
    m_menuIndex = -1;
    for (int i = 0; i < count(); ++i) {
        if (targetRect(i).intersects(dragged)) {
            m_menuIndex = i;
            break;
        }
    }
    if (m_menuIndex >= 0 && m_pressedIndex >= 0 && m_pressedIndex < count()) {
        if (m_menuIndex != m_pressedIndex) {
            m_colors.move(m_pressedIndex, m_menuIndex);
            m_pressedIndex = m_menuIndex;
            m_currentIndex = m_menuIndex;
            emit colorCountChanged();
        }
        m_state = Dragging;
    }
    update();
}

void ColorListPicker2::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (m_state == PlusPressed) {
            // An empty strip has no last colour to copy: it starts from an empty colour.
            appendColor(m_colors.isEmpty() ? QString() : m_colors.constLast());
        } else if (m_state == Dragging && m_menuIndex < 0 && m_pressedIndex >= 0 && m_pressedIndex < count()) {
            if (overPlus(event->pos()))
                appendColor(m_colors.at(m_pressedIndex));
            else if (count() > m_minCount)
                deleteColor(m_pressedIndex);
        }
    }
    m_pressedIndex = -1;
    m_draggingOut = false;
    update();
    QWidget::mouseReleaseEvent(event);
}

void ColorListPicker2::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("colorListMenu"));
    QAction* insertAction = menu.addAction(tr("Insert Color"), this, &ColorListPicker2::onContextMenuInsert);
    QAction* deleteAction = menu.addAction(tr("Delete Color"), this, &ColorListPicker2::onContextMenuDelete);
    deleteAction->setEnabled(count() > m_minCount);
    insertAction->setEnabled(count() < m_maxCount);
    // From the keyboard, the menu is the colour being edited.
    const bool keyboard = event->reason() == QContextMenuEvent::Keyboard;
    m_menuIndex = keyboard ? m_currentIndex : cellAt(event->pos());
    if (m_menuIndex >= 0 && m_menuIndex < count())
        menu.exec(keyboard ? mapToGlobal(cellRect(m_menuIndex).bottomLeft()) : event->globalPos());
}

bool ColorListPicker2::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = toolTipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}

QString ColorListPicker2::toolTipAt(const QPoint& pos) const {
    if (overPlus(pos))
        return tr("Click to add a color");
    const int index = cellAt(pos);
    if (index < 0)
        return QString();
    const ZelColorLibrary* library = ZelColorLibrary::Instance();
    const QString& color = m_colors.at(index);
    QString name = library->getName(color, ZelColorLibrary::StoredName);
    if (name.isEmpty()) {
        name = library->get(color).spec() == ZelColor::Yxy ? tr("White-Range White")
                                                           : library->getName(color, ZelColorLibrary::Description);
    }
    return name;
}

bool ColorListPicker2::canDecode(const QMimeData* data) {
    return data && ColorMimeData::canDecode(data);
}

QString ColorListPicker2::droppedColor(const QMimeData* data) {
    const QList<ColorMimeData::Entry> entries = ColorMimeData::decode(data);
    return entries.isEmpty() ? QString() : entries.constFirst().color.aName();
}

void ColorListPicker2::dragEnterEvent(QDragEnterEvent* event) {
    if (!canDecode(event->mimeData())) {
        event->ignore();
        return;
    }
    m_externalDragActive = true;
    m_mousePos = event->pos();
    event->acceptProposedAction();
    update();
}

void ColorListPicker2::dragMoveEvent(QDragMoveEvent* event) {
    m_mousePos = event->pos();
    event->acceptProposedAction();
    update();
}

void ColorListPicker2::dragLeaveEvent(QDragLeaveEvent* event) {
    m_externalDragActive = false;
    update();
    event->accept();
}

void ColorListPicker2::dropEvent(QDropEvent* event) {
    m_externalDragActive = false;
    m_mousePos = event->pos();
    const QString color = canDecode(event->mimeData()) ? droppedColor(event->mimeData()) : QString();
    if (color.isEmpty()) {
        if (canDecode(event->mimeData()))
            qCDebug(lcUi) << "dropped data names no colour:" << event->mimeData()->formats();
        event->ignore();
        update();
        return;
    }
    const int index = cellAt(m_mousePos);
    if (index < 0) {
        // A full strip takes no more: a wash carries a fixed number of colours.
        if (count() >= m_maxCount) {
            event->ignore();
            update();
            return;
        }
        m_colors.append(color);
        updateSize(count());
        m_state = Appended;
        m_currentIndex = count() - 1;
    } else {
        m_colors[index] = color;
        m_currentIndex = index;
    }
    emit editColor(m_colors.at(m_currentIndex));
    event->setDropAction(Qt::MoveAction);
    event->accept();
    update();
}

bool ColorListPicker2::isDraggingOut() const {
    // The pressed colour has left every cell: it is shown as going away and the rest close up.
    const bool dragged = m_state == CellPressed || m_state == Dragging;
    return dragged && m_pressedIndex >= 0 && m_pressedIndex < count() && m_menuIndex < 0 && cellAt(m_mousePos) < 0 &&
           !overPlus(m_mousePos);
}

void ColorListPicker2::paintEvent(QPaintEvent*) {
    m_draggingOut = isDraggingOut();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor grey(152, 152, 152);

    int slot = 0;
    for (int i = 0; i < count(); ++i) {
        if (m_draggingOut && i == m_pressedIndex)
            continue;
        const QRect outer = cellRect(slot++);
        painter.setPen(QPen(grey, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outer);
        const QRect inner = outer.adjusted(2, 2, -2, -2);
        painter.setPen(Qt::white);
        painter.setBrush(screenColor(m_colors.at(i)));
        painter.drawRect(inner);
        if (i == m_currentIndex) {
            const int cx = inner.center().x();
            const int b = inner.bottom();
            const QPoint marker[] = {{cx, b + 5}, {cx + 6, b + 11}, {cx - 6, b + 11}};
            painter.setPen(Qt::black);
            painter.setBrush(QColor(80, 80, 80));
            painter.drawPolygon(marker, 3);
        }
    }

    if (hasPlus()) {
        const QRect outer = plusRect();
        painter.setPen(QPen(grey, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outer);
        const QRect inner = outer.adjusted(2, 2, -2, -2);
        painter.setPen(Qt::white);
        painter.setBrush(m_state == PlusPressed ? QColor(Qt::lightGray) : QColor(Qt::white));
        painter.drawRect(inner);
        painter.setPen(Qt::black);
        painter.drawText(inner, Qt::AlignCenter, QStringLiteral("+"));
    }

    if (m_pressedIndex >= 0 && m_pressedIndex < count()) {
        const QRect outer(m_mousePos - m_pressOffset, QSize(CellSize, CellSize));
        painter.setPen(withAlpha(Qt::black, m_draggingOut));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(outer);
        painter.setPen(withAlpha(Qt::white, m_draggingOut));
        painter.setBrush(withAlpha(screenColor(m_colors.at(m_pressedIndex)), m_draggingOut));
        painter.drawRect(outer.adjusted(2, 2, -2, -2));
    }

    if (hasFocus() && m_currentIndex >= 0 && m_currentIndex < count() && !m_draggingOut) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cellRect(m_currentIndex).adjusted(-1, -1, 0, 0));
    }

    if (m_externalDragActive) {
        painter.setPen(QPen(Qt::black, 2));
        painter.setBrush(Qt::NoBrush);
        const int index = cellAt(m_mousePos);
        if (overPlus(m_mousePos))
            painter.drawRect(plusRect().adjusted(-2, -2, 2, 2));
        else if (index >= 0)
            painter.drawRect(cellRect(index));
    }
}

void ColorListPicker2::closeEvent(QCloseEvent* event) {
    disconnect();
    QWidget::closeEvent(event);
}

#include "RecentColorsWidget.h"

#include "CCTUtils.h"
#include "ColorMimeData.h"
#include "ColorThumbnail.h"
#include "RecentColors.h"
#include "RgbText.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QToolTip>

namespace ZelColorPickerLib {

namespace {

constexpr int Gap = 3;

} // namespace

RecentColorsWidget::RecentColorsWidget(QWidget* parent, RecentColors* list)
    : QWidget(parent)
    , m_list(list ? list : RecentColors::instance()) {
    setObjectName(QStringLiteral("recentColorsWidget"));
    setToolTip(tr("Colors recently sent to the keypad"));
    setAccessibleName(tr("Recent Colors"));
    // The arrow keys choose a colour, Space or Enter picks it.
    setFocusPolicy(Qt::StrongFocus);
    m_colors = m_list->colors();
    updateAccessibleDescription();
    connect(m_list, &RecentColors::changed, this, [this] {
        m_colors = m_list->colors();
        m_cursor = qBound(0, m_cursor, qMax(0, m_colors.size() - 1));
        updateAccessibleDescription();
        update();
    });
}

void RecentColorsWidget::updateAccessibleDescription() {
    if (m_colors.isEmpty()) {
        setAccessibleDescription(tr("No colors yet"));
        return;
    }
    setAccessibleDescription(
        tr("%1 of %2: %3").arg(m_cursor + 1).arg(m_colors.size()).arg(describe(m_colors.value(m_cursor))));
}

QList<ZelColor> RecentColorsWidget::colors() const {
    return m_colors;
}

int RecentColorsWidget::rows() const {
    return (RecentColors::MaximumCount + Columns - 1) / Columns;
}

int RecentColorsWidget::captionHeight() const {
    return fontMetrics().height();
}

int RecentColorsWidget::cellSize() const {
    const int byHeight = (height() - captionHeight() - rows() * Gap) / rows();
    const int byWidth = (width() - (Columns - 1) * Gap) / Columns;
    return qMax(6, qMin(byHeight, byWidth));
}

QSize RecentColorsWidget::sizeHint() const {
    const int cell = 18;
    return QSize(qMax(Columns * cell + (Columns - 1) * Gap, fontMetrics().horizontalAdvance(tr("Recent"))),
                 captionHeight() + rows() * (cell + Gap));
}

QSize RecentColorsWidget::minimumSizeHint() const {
    const int cell = 10;
    return QSize(Columns * cell + (Columns - 1) * Gap, captionHeight() + rows() * (cell + Gap));
}

QRect RecentColorsWidget::cellRect(int index) const {
    const int cell = cellSize();
    const int row = index / Columns;
    const int column = index % Columns;
    return QRect(column * (cell + Gap), captionHeight() + Gap + row * (cell + Gap), cell, cell);
}

int RecentColorsWidget::cellAt(const QPoint& position) const {
    for (int i = 0; i < m_colors.size(); ++i) {
        if (cellRect(i).contains(position))
            return i;
    }
    return -1;
}

QString RecentColorsWidget::describe(const ZelColor& color) {
    switch (color.spec()) {
    case ZelColor::Rgb:
    case ZelColor::Hsb:
        return RgbText::format(color.red8(), color.green8(), color.blue8(), RgbText::Form::Hex) +
               QStringLiteral("  (") +
               RgbText::format(color.red8(), color.green8(), color.blue8(), RgbText::Form::Decimal) + QLatin1Char(')');
    case ZelColor::Yxy: {
        double cct = 0;
        double tint = 0;
        CCTUtils::getCCTAndTintFromxy(color.getx(), color.gety(), &cct, &tint);
        return tr("%1 K, tint %2, intensity %3%").arg(qRound(cct)).arg(qRound(tint)).arg(qRound(color.getY() * 100));
    }
    default:
        return tr("Channel color %1").arg(color.aName());
    }
}

bool RecentColorsWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = cellAt(help->pos());
        if (index >= 0) {
            QToolTip::showText(help->globalPos(), describe(m_colors[index]), this, cellRect(index));
            return true;
        }
    }
    return QWidget::event(event);
}

void RecentColorsWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(0, 0, width(), captionHeight()), Qt::AlignLeft | Qt::AlignVCenter, tr("Recent"));
    const qreal ratio = devicePixelRatioF();
    for (int i = 0; i < RecentColors::MaximumCount; ++i) {
        const QRect cell = cellRect(i);
        if (i < m_colors.size()) {
            QPixmap swatch = ColorThumbnail::swatch(m_colors[i], qRound(cell.width() * ratio));
            swatch.setDevicePixelRatio(ratio);
            painter.drawPixmap(cell.topLeft(), swatch);
        } else {
            // An empty place: the row's length tells how many colours it keeps.
            painter.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
        }
    }
    if (hasFocus() && m_cursor < m_colors.size()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cellRect(m_cursor).adjusted(-1, -1, 0, 0));
    }
}

void RecentColorsWidget::keyPressEvent(QKeyEvent* event) {
    const int last = m_colors.size() - 1;
    int cursor = m_cursor;
    switch (event->key()) {
    case Qt::Key_Left:
        cursor -= 1;
        break;
    case Qt::Key_Right:
        cursor += 1;
        break;
    case Qt::Key_Up:
        cursor -= Columns;
        break;
    case Qt::Key_Down:
        cursor += Columns;
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Select:
        if (m_cursor <= last && !event->isAutoRepeat())
            emit colorClicked(m_colors[m_cursor], QString());
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (cursor >= 0 && cursor <= last && cursor != m_cursor) {
        m_cursor = cursor;
        updateAccessibleDescription();
        update();
    }
}

void RecentColorsWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void RecentColorsWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void RecentColorsWidget::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton ? cellAt(event->pos()) : -1;
    m_pressPos = event->pos();
}

void RecentColorsWidget::mouseMoveEvent(QMouseEvent* event) {
    if (m_pressed < 0 || m_pressed >= m_colors.size() || !(event->buttons() & Qt::LeftButton) ||
        (event->pos() - m_pressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    ColorMimeData::Entry entry;
    entry.color = m_colors[m_pressed];
    m_pressed = -1;
    QDrag* drag = ColorMimeData::createDrag(this, {entry});
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

void RecentColorsWidget::mouseReleaseEvent(QMouseEvent* event) {
    const int pressed = m_pressed;
    m_pressed = -1;
    // Letting go elsewhere takes the click back.
    if (pressed >= 0 && event->button() == Qt::LeftButton && cellAt(event->pos()) == pressed)
        emit colorClicked(m_colors[pressed], QString());
}

void RecentColorsWidget::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* clear = menu.addAction(tr("Clear Recent Colors"));
    clear->setObjectName(QStringLiteral("clearRecentColorsAction"));
    clear->setEnabled(!m_colors.isEmpty());
    connect(clear, &QAction::triggered, m_list, &RecentColors::clear);
    menu.exec(event->globalPos());
}

} // namespace ZelColorPickerLib

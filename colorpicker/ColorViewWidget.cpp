#include "ColorViewWidget.h"

#include "CCTUtils.h"
#include "ColorMimeData.h"
#include "ColorSelectorWidget.h"
#include "RecentColorsWidget.h"
#include "ScaledPixmap.h"
#include "ZelColorLibrary.h"
#include "ZelColorPickerButtonsWidget.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>

namespace ZelColorPickerLib {

ColorViewWidget::ColorViewWidget(QWidget* parent)
    : QWidget(parent) {
    setAcceptDrops(true);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    // Space or Enter does what a click does; the menu key opens the context menu.
    setFocusPolicy(Qt::StrongFocus);
    m_selectionImage = ZelWidgetsLib::ScaledPixmap::load(QStringLiteral(":/images/ColorSelection.png"));
}

void ColorViewWidget::setColor(const ZelColor& color, const QString& uid) {
    m_color = color;
    m_uid = uid;
    m_opacity = color.isValid() ? color.alpha8() : 255;
    updateAccessibleDescription();
    update();
}

void ColorViewWidget::updateAccessibleDescription() {
    if (!m_color.isValid()) {
        setAccessibleDescription(tr("No color"));
        return;
    }
    const QString name = m_uid.isEmpty() ? QString() : ZelColorLibrary::Instance()->getName(m_uid);
    const QString values = RecentColorsWidget::describe(m_color);
    setAccessibleDescription(name.isEmpty() ? values : name + QStringLiteral(", ") + values);
}

void ColorViewWidget::setOpacity(int opacity) {
    m_opacity = qBound(0, opacity, 255);
    if (m_color.isValid())
        m_color.setAlpha8(m_opacity);
    update();
}

void ColorViewWidget::setDisplayMode(int mode) {
    m_displayMode = mode;
    update();
}

void ColorViewWidget::setSelected(bool selected) {
    m_selected = selected;
    update();
}

void ColorViewWidget::setSelectable(bool selectable) {
    m_selectable = selectable;
    setCursor(selectable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
}

bool ColorViewWidget::acceptsColor(const ZelColor& color, int displayMode) {
    if (color.spec() == displayMode)
        return true;
    if (color.spec() == ZelColor::NChannel)
        return (color.nChannelRenderType() == 0 && displayMode == RgbDisplay) ||
               (color.nChannelRenderType() == 1 && displayMode == WhiteDisplay);
    return false;
}

ZelColor ColorViewWidget::defaultColor(int displayMode) {
    if (displayMode == WhiteDisplay) {
        const QPointF xy = CCTUtils::getxyFromCCT(4000);
        ZelColor white;
        white.setYxyF(1.0, xy.x(), xy.y());
        return white;
    }
    return ZelColor::fromRgb8(255, 255, 255);
}

QRect ColorViewWidget::swatchSquare() const {
    const int side = qMin(width(), height());
    return QRect((width() - side) / 2, (height() - side) / 2, side, side);
}

void ColorViewWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect square = swatchSquare();
    const QRect inner = square.adjusted(3, 3, -3, -3);

    if (m_selected && m_selectable) {
        if (!m_selectionImage.isNull()) {
            painter.drawPixmap(square, m_selectionImage);
        } else {
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(QRectF(square).adjusted(1, 1, -1, -1), 3, 3);
            painter.setRenderHint(QPainter::Antialiasing, false);
        }
    }

    painter.fillRect(inner, QBrush(ColorSelectorWidget::transparentBackground()));
    if (m_color.isValid()) {
        QColor shown = m_displayMode == WhiteDisplay ? m_color.convertTo(ZelColor::Yxy).toQColor()
                                                     : m_color.convertTo(ZelColor::Rgb).toQColor();
        shown.setAlpha(m_opacity);
        painter.fillRect(inner, shown);
    }
    if (m_color.spec() == ZelColor::NChannel) {
        // A channel colour is marked by a dark corner.
        const QPoint corner = inner.topRight() + QPoint(1, 0);
        const QPoint mark[] = {corner, corner + QPoint(-8, 0), corner + QPoint(0, 8)};
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(40, 40, 40));
        painter.drawPolygon(mark, 3);
    }
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(inner.adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        // In the swatch's margin, where the selection ring is not: both can show.
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DashLine));
        painter.drawRect(square.adjusted(0, 0, -1, -1));
    }
}

void ColorViewWidget::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Select:
        if (!event->isAutoRepeat())
            emit selected();
        break;
    default:
        QWidget::keyPressEvent(event);
        break;
    }
}

void ColorViewWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void ColorViewWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void ColorViewWidget::mousePressEvent(QMouseEvent* event) {
    m_pressedButtons = event->buttons();
    if (event->button() == Qt::LeftButton)
        m_pressPos = event->pos();
}

void ColorViewWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!(m_pressedButtons & Qt::LeftButton) || !(event->buttons() & Qt::LeftButton))
        return;
    if ((event->pos() - m_pressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    m_pressedButtons = Qt::NoButton;
    if (!m_color.isValid())
        return;
    ColorMimeData::Entry entry;
    entry.uid = m_uid;
    entry.color = m_color;
    if (!m_uid.isEmpty()) {
        entry.name = ZelColorLibrary::Instance()->getName(m_uid);
        entry.vendorId = ZelColorLibrary::Instance()->getVendorId(m_uid);
    }
    QDrag* drag = ColorMimeData::createDrag(this, {entry});
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

void ColorViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasPressed = m_pressedButtons & event->button();
    m_pressedButtons = Qt::NoButton;
    // Letting go outside the swatch takes the click back.
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->pos()))
        emit selected();
}

QMenu* ColorViewWidget::createContextMenu() {
    auto* menu = new QMenu(this);
    QAction* add = menu->addAction(tr("Add to ") + ZelColorPickerButtonsWidget::favoriteList());
    add->setObjectName(QStringLiteral("addToFavoritesAction"));
    add->setEnabled(m_color.isValid());
    connect(add, &QAction::triggered, this, &ColorViewWidget::onAddToFavorites);
    if (!m_mainSwatch) {
        QAction* reset = menu->addAction(tr("Reset"));
        reset->setObjectName(QStringLiteral("resetAction"));
        connect(reset, &QAction::triggered, this, &ColorViewWidget::onReset);
    }
    return menu;
}

void ColorViewWidget::contextMenuEvent(QContextMenuEvent* event) {
    if (!swatchSquare().contains(event->pos()))
        return;
    QMenu* menu = createContextMenu();
    menu->exec(event->globalPos());
    menu->deleteLater();
}

void ColorViewWidget::onAddToFavorites() {
    emit addToFavorites(m_color, m_uid);
}

void ColorViewWidget::onCopyToMainColor() {
    emit copyToMainColor(m_color, m_uid);
}

void ColorViewWidget::onReset() {
    setColor(defaultColor(m_displayMode), QString());
    emit colorChanged(m_color, m_uid);
}

bool ColorViewWidget::acceptsPayload(const QMimeData* data) const {
    // A payload none of whose colours decodes changes nothing, rather than showing the fallback.
    if (!ColorMimeData::canDecode(data))
        return false;
    const QList<ColorMimeData::Entry> entries = ColorMimeData::decode(data);
    return !entries.isEmpty() && acceptsColor(entries.first().color, m_displayMode);
}

void ColorViewWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (acceptsPayload(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ColorViewWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (acceptsPayload(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ColorViewWidget::dropEvent(QDropEvent* event) {
    if (!acceptsPayload(event->mimeData())) {
        event->ignore();
        return;
    }
    const ColorMimeData::Entry entry = ColorMimeData::first(event->mimeData());
    if (event->source() == this) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->acceptProposedAction();
    }
    setColor(entry.color, entry.uid);
    emit colorChanged(m_color, m_uid);
    if (m_mainSwatch)
        emit selected();
}

} // namespace ZelColorPickerLib

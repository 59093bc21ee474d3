#include "LineEditClearButton.h"

#include <QLineEdit>
#include <QPainter>

namespace ZelWidgetsLib {

LineEditClearButton::LineEditClearButton(QLineEdit* lineEdit)
    : QAbstractButton(lineEdit)
    , m_lineEdit(lineEdit) {
    setObjectName(QStringLiteral("lineEditClearButton"));
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);
    setToolTip(tr("Clear"));
    setAccessibleName(tr("Clear"));
    connect(this, &QAbstractButton::clicked, this, &LineEditClearButton::clearLineEdit);
    connect(lineEdit, &QLineEdit::textChanged, this, &LineEditClearButton::updateVisibility);
    updateVisibility(lineEdit->text());
}

QSize LineEditClearButton::sizeHint() const {
    return QSize(16, 16);
}

void LineEditClearButton::clearLineEdit() {
    if (m_lineEdit->isReadOnly() || m_lineEdit->text().isEmpty())
        return;
    // Through the undo stack, as a user's own deletion would go, so textEdited is emitted too.
    m_lineEdit->selectAll();
    m_lineEdit->del();
    m_lineEdit->setFocus(Qt::OtherFocusReason);
}

void LineEditClearButton::updateVisibility(const QString& text) {
    setVisible(!text.isEmpty());
}

void LineEditClearButton::enterEvent(QEvent* event) {
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void LineEditClearButton::leaveEvent(QEvent* event) {
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void LineEditClearButton::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height()) - 2;
    const QRectF circle((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    QColor fill = palette().color(QPalette::Text);
    fill.setAlphaF(isDown() ? 0.75 : m_hovered ? 0.6 : 0.4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawEllipse(circle);
    const qreal inset = side * 0.32;
    const QRectF cross = circle.adjusted(inset, inset, -inset, -inset);
    painter.setPen(QPen(palette().color(QPalette::Base), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
}

} // namespace ZelWidgetsLib

#include "KeypadKeyMarks.h"

#include <QAbstractButton>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

// The plate's accent, as the lit keys glow with it.
const QColor Accent(41, 156, 255);
const QColor AccentDeep(18, 104, 196);
// The key images' face: inset from the image, rounded like it (tools/imagegen draws them).
constexpr qreal FaceRadius = 10;

} // namespace

KeypadKeyMarks::KeypadKeyMarks(QWidget* panel)
    : QWidget(panel) {
    setObjectName(QStringLiteral("keyMarks"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(panel->rect());
}

void KeypadKeyMarks::addKey(QAbstractButton* key) {
    m_keys.append(key);
    key->installEventFilter(this);
}

void KeypadKeyMarks::setMark(QAbstractButton* key, Mark mark, bool on) {
    Marks& marks = m_marks[key];
    if (marks.testFlag(mark) == on)
        return;
    marks.setFlag(mark, on);
    update(key->geometry());
}

KeypadKeyMarks::Marks KeypadKeyMarks::marks(QAbstractButton* key) const {
    Marks result = m_marks.value(key);
    result.setFlag(FocusFrame, key->hasFocus());
    return result;
}

QRectF KeypadKeyMarks::keyFace(const QSize& keySize) {
    return QRectF(5, 4, keySize.width() - 10, qMin<qreal>(77, keySize.height() - 8));
}

void KeypadKeyMarks::paintMarks(QPainter& painter, const QRectF& face, Marks marks) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    if (marks.testFlag(FocusFrame)) {
        // A ring just outside the face, in the plate's blue: set apart from the lit key's glow by its
        // gap and its crisp line.
        const QRectF ring = face.adjusted(-3, -3, 3, 3);
        QPainterPath path;
        path.addRoundedRect(ring, FaceRadius + 3, FaceRadius + 3);
        QColor halo = Accent;
        halo.setAlpha(70);
        painter.setPen(QPen(halo, 4));
        painter.drawPath(path);
        painter.setPen(QPen(AccentDeep, 2));
        painter.drawPath(path);
    }
    if (marks.testFlag(Unsaved)) {
        // A small amber lamp in the face's upper right corner, lit like the plate's keys, with a dark
        // rim that holds on a lit key and on a dark one.
        constexpr qreal size = 12;
        const QRectF lamp(face.right() - size - 8, face.top() + 7, size, size);
        QRadialGradient glow(lamp.center() - QPointF(size * 0.12, size * 0.15), size * 0.6);
        glow.setColorAt(0, QColor(255, 224, 140));
        glow.setColorAt(1, QColor(240, 150, 0));
        painter.setBrush(glow);
        painter.setPen(QPen(QColor(60, 40, 0), 1.5));
        painter.drawEllipse(lamp);
    }
    painter.restore();
}

bool KeypadKeyMarks::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
        if (auto* key = qobject_cast<QAbstractButton*>(watched))
            update(key->geometry());
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void KeypadKeyMarks::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (QAbstractButton* key : qAsConst(m_keys)) {
        const Marks keyMarks = marks(key);
        if (!keyMarks || !key->isVisible())
            continue;
        painter.save();
        painter.translate(key->geometry().topLeft() - geometry().topLeft());
        paintMarks(painter, keyFace(key->size()), keyMarks);
        painter.restore();
    }
}

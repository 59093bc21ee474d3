#include "FittingScrollArea.h"

#include <QEvent>
#include <QScrollBar>

FittingScrollArea::FittingScrollArea(QWidget* parent)
    : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A Tab stop of its own would hold nothing; Tab reaches what it shows, and scrolls it into view.
    setFocusPolicy(Qt::NoFocus);
}

QSize FittingScrollArea::neededSize() const {
    const QWidget* content = widget();
    return content ? content->minimumSizeHint().expandedTo(content->minimumSize()) : QSize(0, 0);
}

QSize FittingScrollArea::slack() const {
    return maximumViewportSize() - neededSize();
}

void FittingScrollArea::setShrinkable(bool shrinkable) {
    if (m_shrinkable == shrinkable)
        return;
    m_shrinkable = shrinkable;
    updateWidth();
    updateGeometry();
}

void FittingScrollArea::setWidthFixedToContent(bool fixed) {
    m_widthFixedToContent = fixed;
    updateWidth();
}

void FittingScrollArea::updateWidth() {
    if (!m_widthFixedToContent)
        return;
    const int scrollBar = m_shrinkable ? verticalScrollBar()->sizeHint().width() : 0;
    setFixedWidth(neededSize().width() + frameExtent().width() + scrollBar);
}

bool FittingScrollArea::eventFilter(QObject* watched, QEvent* event) {
    // What the content needs is what the column asks for: the window hears of a change.
    if (watched == widget() && event->type() == QEvent::LayoutRequest) {
        updateWidth();
        updateGeometry();
    }
    return QScrollArea::eventFilter(watched, event);
}

QSize FittingScrollArea::frameExtent() const {
    return QSize(2 * frameWidth(), 2 * frameWidth());
}

QSize FittingScrollArea::minimumSizeHint() const {
    return m_shrinkable ? QScrollArea::minimumSizeHint() : neededSize() + frameExtent();
}

QSize FittingScrollArea::sizeHint() const {
    const QSize content = widget() ? widget()->sizeHint().expandedTo(neededSize()) : QSize(0, 0);
    return content + frameExtent();
}

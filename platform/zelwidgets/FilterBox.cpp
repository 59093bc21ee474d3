#include "FilterBox.h"

#include "LineEditClearButton.h"

#include <QKeyEvent>
#include <QStyle>

namespace ZelWidgetsLib {

FilterBox::FilterBox(QWidget* parent)
    : QLineEdit(parent)
    , m_clearButton(new LineEditClearButton(this)) {
    setPlaceholderText(tr("Filter"));
    setClearButtonEnabled(false); // ours replaces the toolkit's
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    setTextMargins(0, 0, m_clearButton->sizeHint().width() + frame, 0);
    placeClearButton();
}

void FilterBox::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    placeClearButton();
}

void FilterBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !text().isEmpty() && event->modifiers() == Qt::NoModifier) {
        m_clearButton->click();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FilterBox::placeClearButton() {
    const QSize size = m_clearButton->sizeHint();
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    m_clearButton->setGeometry(width() - size.width() - frame - 1, (height() - size.height()) / 2, size.width(),
                               size.height());
}

} // namespace ZelWidgetsLib

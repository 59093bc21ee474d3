#include "ModalAnswer.h"

#include <QApplication>
#include <QWidget>

ModalAnswer::ModalAnswer(const QList<Handler>& handlers, QObject* parent)
    : QObject(parent)
    , m_handlers(handlers) {
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswer::look);
    m_timer.start(30);
}

void ModalAnswer::look() {
    QWidget* dialog = QApplication::activeModalWidget();
    // The same dialog is answered once, even while it closes.
    if (!dialog || dialog == m_last || !dialog->isVisible() || m_answered >= m_handlers.size())
        return;
    m_last = dialog;
    const Handler handler = m_handlers.at(m_answered++);
    if (m_answered >= m_handlers.size())
        m_timer.stop();
    handler(dialog);
}

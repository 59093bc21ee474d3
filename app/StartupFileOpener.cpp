#include "StartupFileOpener.h"

#include "MessageBox.h"

#include <QApplication>
#include <QTimer>

StartupFileOpener::StartupFileOpener(const QString& fileName, ConnectionState* state, Busy busy, Open open,
                                     QObject* parent)
    : QObject(parent)
    , m_fileName(fileName)
    , m_state(state)
    , m_busy(std::move(busy))
    , m_open(std::move(open)) {
    connect(m_state, &ConnectionState::stateChanged, this, &StartupFileOpener::check);
}

void StartupFileOpener::check() {
    if (m_opened)
        return;
    const ConnectionState::State state = m_state->state();
    if (state == ConnectionState::Connected || state == ConnectionState::OfflineDemo) {
        if (m_busy())
            return;
        m_opened = true;
        m_open(m_fileName);
    } else if (state == ConnectionState::NoDevice && !m_told) {
        m_told = true;
        // Not from inside the state change: the window is still setting itself up for it.
        QTimer::singleShot(0, this, &StartupFileOpener::tellWhyNotYet);
    }
}

void StartupFileOpener::tellWhyNotYet() {
    if (m_opened)
        return;
    MessageBox::information(QApplication::activeWindow(), tr("Open Configuration"),
                            tr("No keypad was found. %1 will be opened as soon as a keypad is connected or the "
                               "offline demo starts.")
                                .arg(m_fileName));
}

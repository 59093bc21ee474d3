#pragma once

#include "ConnectionState.h"

#include <QObject>
#include <QString>

#include <functional>

// The file named on the editor's command line. It is opened through File > Open's own path, and
// only once File > Open could be used: a keypad connected and its scenes read, or the offline
// demo started. Opened earlier, the keypad's own scenes would arrive afterwards and replace it.
class StartupFileOpener : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(StartupFileOpener)

public:
    using Busy = std::function<bool()>;
    using Open = std::function<void(const QString& fileName)>;

    // busy says whether the keypad is still being read (or a file is being loaded); open is
    // called once with the file name.
    StartupFileOpener(const QString& fileName, ConnectionState* state, Busy busy, Open open, QObject* parent = nullptr);

    bool isOpened() const { return m_opened; }

public slots:
    // Opens the file if now is the time; the connection state calls it, and so should the end of
    // every keypad request.
    void check();

private:
    void tellWhyNotYet();

    QString m_fileName;
    ConnectionState* m_state = nullptr;
    Busy m_busy;
    Open m_open;
    bool m_opened = false;
    bool m_told = false;
};

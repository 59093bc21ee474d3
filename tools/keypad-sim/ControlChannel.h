#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>

#include <functional>

class QLocalServer;
class QLocalSocket;
class QSocketNotifier;

// Line-based control of the simulator: commands in on stdin and, if asked, on a Unix socket,
// one reply line for each on the same stream. Reports go to stdout and to the socket clients
// that sent "watch".
class ControlChannel : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(ControlChannel)

public:
    using Executor = std::function<QByteArray(const QByteArray&)>;

    explicit ControlChannel(Executor executor, QObject* parent = nullptr);

    void readStdin();
    bool listen(const QString& path, QString* error);
    /// A line to every watcher.
    void broadcast(const QByteArray& line);
    static void writeStdout(const QByteArray& line);

signals:
    void stdinClosed();
    /// A socket client went away and no other is connected.
    void lastClientGone();

private:
    void readFromStdin();
    void readFromClient(QLocalSocket* client);

    Executor m_executor;
    QSocketNotifier* m_stdin = nullptr;
    QByteArray m_stdinBuffer;
    QLocalServer* m_server = nullptr;
    QList<QLocalSocket*> m_watchers;
    int m_clients = 0;
};

#include "ControlChannel.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

ControlChannel::ControlChannel(Executor executor, QObject* parent)
    : QObject(parent)
    , m_executor(std::move(executor)) {}

void ControlChannel::writeStdout(const QByteArray& line) {
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void ControlChannel::readStdin() {
    m_stdin = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_stdin, &QSocketNotifier::activated, this, &ControlChannel::readFromStdin);
}

void ControlChannel::readFromStdin() {
    char buffer[4096];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (n <= 0) {
        m_stdin->setEnabled(false);
        // The end of a pipe means whoever started us is gone; a background job's /dev/null
        // says nothing.
        struct stat info {};
        if (::fstat(STDIN_FILENO, &info) == 0 && (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)))
            emit stdinClosed();
        return;
    }
    m_stdinBuffer.append(buffer, static_cast<int>(n));
    int end;
    while ((end = m_stdinBuffer.indexOf('\n')) >= 0) {
        const QByteArray line = m_stdinBuffer.left(end);
        m_stdinBuffer.remove(0, end + 1);
        if (!line.trimmed().isEmpty())
            writeStdout(m_executor(line));
    }
}

bool ControlChannel::listen(const QString& path, QString* error) {
    m_server = new QLocalServer(this);
    QLocalServer::removeServer(path);
    if (!m_server->listen(path)) {
        *error = QStringLiteral("cannot listen on %1: %2").arg(path, m_server->errorString());
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::readyRead, this, [this, client] { readFromClient(client); });
            ++m_clients;
            connect(client, &QLocalSocket::disconnected, this, [this, client] {
                m_watchers.removeAll(client);
                client->deleteLater();
                if (--m_clients == 0)
                    emit lastClientGone();
            });
        }
    });
    return true;
}

void ControlChannel::readFromClient(QLocalSocket* client) {
    while (client->canReadLine()) {
        const QByteArray line = client->readLine();
        if (line.trimmed() == "watch") {
            if (!m_watchers.contains(client))
                m_watchers.append(client);
            client->write("ok\n");
        } else if (!line.trimmed().isEmpty()) {
            client->write(m_executor(line) + '\n');
        }
    }
}

void ControlChannel::broadcast(const QByteArray& line) {
    writeStdout(line);
    for (QLocalSocket* client : qAsConst(m_watchers))
        client->write(line + '\n');
}

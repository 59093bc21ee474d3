#include "RecordingHttpServer.h"

#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

RecordingHttpServer::RecordingHttpServer()
    : m_server(new QTcpServer(this)) {
    m_clock.start();
    connect(m_server, &QTcpServer::newConnection, this, &RecordingHttpServer::handleConnection);
}

RecordingHttpServer::~RecordingHttpServer() = default;

bool RecordingHttpServer::listen(const QHostAddress& address, quint16 port) {
    return m_server->listen(address, port);
}

void RecordingHttpServer::close() {
    m_server->close();
    const QList<QTcpSocket*> sockets = m_buffers.keys();
    for (QTcpSocket* socket : sockets)
        socket->abort();
}

void RecordingHttpServer::setReply(const QString& method, const QString& path, const QByteArray& body) {
    m_replies.insert(method + QLatin1Char(' ') + path, body);
}

QStringList RecordingHttpServer::lines() const {
    QStringList result;
    for (const Request& request : m_requests)
        result << request.line();
    return result;
}

void RecordingHttpServer::handleConnection() {
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        m_buffers.insert(socket, QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void RecordingHttpServer::readFrom(QTcpSocket* socket) {
    m_buffers[socket] += socket->readAll();
    for (;;) {
        // A handler of requestReceived may have closed the server and with it this socket.
        if (!m_buffers.contains(socket) || socket->state() != QAbstractSocket::ConnectedState)
            return;
        QByteArray& buffer = m_buffers[socket];
        const int headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        const QList<QByteArray> headerLines = buffer.left(headerEnd).split('\n');
        const QList<QByteArray> requestLine = headerLines.first().trimmed().split(' ');
        int contentLength = 0;
        for (const QByteArray& line : headerLines) {
            if (line.toLower().startsWith("content-length:"))
                contentLength = line.mid(int(sizeof("content-length:")) - 1).trimmed().toInt();
        }
        if (buffer.size() < headerEnd + 4 + contentLength)
            return;
        Request request;
        request.method = QString::fromLatin1(requestLine.value(0));
        request.path = QString::fromLatin1(requestLine.value(1));
        request.body = buffer.mid(headerEnd + 4, contentLength);
        request.arrivalMs = m_clock.elapsed();
        buffer.remove(0, headerEnd + 4 + contentLength);
        m_requests.append(request);
        emit requestReceived(request);
        if (!m_buffers.contains(socket) || socket->state() != QAbstractSocket::ConnectedState)
            return;

        const bool hangup = m_mode == Mode::Hangup || (!m_hangupOn.isEmpty() && request.body.contains(m_hangupOn));
        if (hangup) {
            socket->abort();
            return;
        }
        if (m_mode == Mode::Silent)
            continue;
        const QByteArray body = m_replies.value(request.method + QLatin1Char(' ') + request.path, "<v1></v1>");
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\n\r\n" + body);
    }
}

#include "RecordingHttpServer.h"

#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

RecordingHttpServer::RecordingHttpServer()
    : m_server(new QTcpServer(this)) {
    m_clock.start();
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            m_buffers.insert(socket, QByteArray());
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_buffers.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

bool RecordingHttpServer::listen(const QHostAddress& address, quint16 port) {
    return m_server->listen(address, port);
}

void RecordingHttpServer::setReply(const QString& method, const QString& path, const QByteArray& body) {
    m_replies.insert(method + QLatin1Char(' ') + path, body);
}

QStringList RecordingHttpServer::lines() const {
    QStringList result;
    for (const Request& r : m_requests)
        result << r.method + QLatin1Char(' ') + r.path + QLatin1Char(' ') + QString::fromLatin1(r.body);
    return result;
}

void RecordingHttpServer::readFrom(QTcpSocket* socket) {
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    for (;;) {
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
        Request request{QString::fromLatin1(requestLine.value(0)), QString::fromLatin1(requestLine.value(1)),
                        buffer.mid(headerEnd + 4, contentLength), m_clock.elapsed()};
        buffer.remove(0, headerEnd + 4 + contentLength);
        m_requests.append(request);

        if (m_mode == Mode::Hangup || (!m_hangupOn.isEmpty() && request.body.contains(m_hangupOn))) {
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

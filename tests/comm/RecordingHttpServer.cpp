#include "RecordingHttpServer.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

RecordingHttpServer::RecordingHttpServer()
    : m_server(new QTcpServer(this)) {
    m_clock.start();
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            const auto buffer = std::make_shared<QByteArray>();
            connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] { readFrom(socket, *buffer); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool RecordingHttpServer::listen(const QHostAddress& address, quint16 port) {
    return m_server->listen(address, port);
}

QStringList RecordingHttpServer::lines() const {
    QStringList result;
    for (const Request& r : m_requests)
        result << r.method + QLatin1Char(' ') + r.path + QLatin1Char(' ') + QString::fromLatin1(r.body);
    return result;
}

void RecordingHttpServer::readFrom(QTcpSocket* socket, QByteArray& buffer) {
    buffer += socket->readAll();
    for (int headerEnd; (headerEnd = buffer.indexOf("\r\n\r\n")) >= 0;) {
        const QList<QByteArray> headerLines = buffer.left(headerEnd).split('\n');
        const QList<QByteArray> requestLine = headerLines.first().trimmed().split(' ');
        int contentLength = 0;
        for (const QByteArray& line : headerLines) {
            if (line.toLower().startsWith("content-length:"))
                contentLength = line.mid(int(sizeof("content-length:")) - 1).trimmed().toInt();
        }
        if (buffer.size() < headerEnd + 4 + contentLength)
            return;
        m_requests.append({QString::fromLatin1(requestLine.value(0)), QString::fromLatin1(requestLine.value(1)),
                           buffer.mid(headerEnd + 4, contentLength), m_clock.elapsed()});
        buffer.remove(0, headerEnd + 4 + contentLength);

        if (m_mode == Mode::Hangup || (!m_hangupOn.isEmpty() && m_requests.last().body.contains(m_hangupOn))) {
            socket->abort();
            return;
        }
        if (m_mode == Mode::Silent)
            continue;
        if (m_mode == Mode::Trickle) {
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: 100000\r\n\r\n");
            auto* drip = new QTimer(socket);
            connect(drip, &QTimer::timeout, socket, [socket] { socket->write(" "); });
            drip->start(500);
            continue;
        }
        if (m_mode == Mode::Sized) {
            const QByteArray body = "<v1>" + QByteArray(int(m_replySize) - 9, ' ') + "</v1>";
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " +
                          QByteArray::number(body.size()) + "\r\n\r\n" + body);
            continue;
        }
        if (m_mode == Mode::Unannounced || m_mode == Mode::Flood) {
            // Without a length the body ends only when the connection does.
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\n\r\n<v1>");
            if (m_mode == Mode::Unannounced) {
                socket->write(QByteArray(int(m_replySize) - 4, ' '));
                m_bodyBytesSent += m_replySize;
                continue;
            }
            const auto feed = [this, socket] {
                constexpr int Chunk = 256 * 1024;
                while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 4 * Chunk) {
                    socket->write(QByteArray(Chunk, ' '));
                    m_bodyBytesSent += Chunk;
                }
            };
            connect(socket, &QTcpSocket::bytesWritten, socket, feed);
            feed();
            continue;
        }
        const QByteArray body =
            m_replies.value(m_requests.last().method + QLatin1Char(' ') + m_requests.last().path, "<v1></v1>");
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\n\r\n" + body);
    }
}

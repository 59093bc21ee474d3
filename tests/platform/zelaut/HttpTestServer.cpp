#include "HttpTestServer.h"

#include <QTcpSocket>
#include <QUrl>

HttpTestServer::HttpTestServer(QObject* parent)
    : QObject(parent) {
    connect(&m_server, &QTcpServer::newConnection, this, &HttpTestServer::handleNewConnection);
}

bool HttpTestServer::listen(const QHostAddress& address) {
    return m_server.listen(address, 0);
}

QString HttpTestServer::hostAndPort() const {
    return m_server.serverAddress().toString() + QLatin1Char(':') + QString::number(port());
}

void HttpTestServer::handleNewConnection() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            if (socket->property("answered").toBool())
                return;
            QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
            socket->setProperty("buffer", buffer);
            const int end = buffer.indexOf("\r\n\r\n");
            if (end < 0)
                return;
            socket->setProperty("answered", true);

            Request request;
            const QList<QByteArray> lines = buffer.left(end).split('\n');
            const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
            request.method = requestLine.value(0);
            request.target = requestLine.value(1);
            for (int i = 1; i < lines.size(); ++i) {
                const int colon = lines.at(i).indexOf(':');
                if (colon > 0)
                    request.headers.insert(lines.at(i).left(colon).trimmed().toLower(),
                                           lines.at(i).mid(colon + 1).trimmed());
            }
            m_requests.append(request);

            // A proxy sends the absolute URL; the path decides either way.
            const QByteArray path = QUrl::fromEncoded(request.target).path(QUrl::FullyEncoded).toUtf8();
            const Response response = m_responses.value(path, {404, "not here"});
            if (response.behaviour == Behaviour::NeverAnswer)
                return;
            if (response.behaviour == Behaviour::CloseAtOnce) {
                socket->disconnectFromHost();
                return;
            }
            QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) +
                              " Test\r\nContent-Type: application/xml\r\nConnection: close\r\n";
            if (response.sendContentLength)
                head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
            socket->write(head + "\r\n" + response.body);
            // Held: a body without a length has not ended for the client.
            if (response.behaviour != Behaviour::AnswerAndHold)
                socket->disconnectFromHost();
        });
    }
}

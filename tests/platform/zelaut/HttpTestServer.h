#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QObject>
#include <QTcpServer>

// An HTTP/1.1 server of a few lines for the update tests: fixed answers per path, every request
// recorded with its headers.
class HttpTestServer : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(HttpTestServer)

public:
    enum class Behaviour { Answer, NeverAnswer, CloseAtOnce, AnswerAndHold };

    struct Response {
        int status = 200;
        QByteArray body;
        Behaviour behaviour = Behaviour::Answer;
        bool sendContentLength = true;
    };

    struct Request {
        QByteArray method;
        QByteArray target;
        QMap<QByteArray, QByteArray> headers; // names in lower case
    };

    explicit HttpTestServer(QObject* parent = nullptr);

    bool listen(const QHostAddress& address = QHostAddress::LocalHost);
    quint16 port() const { return m_server.serverPort(); }
    // "127.0.0.1:port", as an update host is written.
    QString hostAndPort() const;

    void setResponse(const QByteArray& path, const Response& response) { m_responses.insert(path, response); }
    void serve(const QByteArray& path, const QByteArray& body, int status = 200) { setResponse(path, {status, body}); }

    const QList<Request>& requests() const { return m_requests; }
    int requestCount() const { return m_requests.size(); }

private:
    void handleNewConnection();

    QTcpServer m_server;
    QMap<QByteArray, Response> m_responses;
    QList<Request> m_requests;
};

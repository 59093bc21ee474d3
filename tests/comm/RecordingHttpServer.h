#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QStringList>

class QTcpServer;
class QTcpSocket;

// A keypad's HTTP side reduced to what the REST client tests need: it records every request
// (method, path, exact body, arrival time) and answers from a table, or not at all.
class RecordingHttpServer : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(RecordingHttpServer)

public:
    struct Request {
        QString method;
        QString path;
        QByteArray body;
        qint64 arrivalMs = 0;
    };

    // Trickle answers with a large reply and sends it a byte at a time, every half second.
    // Sized answers with a document of replySize() bytes (Content-Length given); Unannounced sends
    // that many bytes without a length and then falls silent, the connection open; Flood sends
    // an endless body as fast as the client takes it.
    enum class Mode { Answer, Silent, Hangup, Trickle, Sized, Unannounced, Flood };

    RecordingHttpServer();

    bool listen(const QHostAddress& address, quint16 port = 80);
    void setReply(const QString& method, const QString& path, const QByteArray& body) {
        m_replies.insert(method + QLatin1Char(' ') + path, body);
    }
    void setMode(Mode mode) { m_mode = mode; }
    void setReplySize(qint64 size) { m_replySize = size; }
    // Bytes of the Flood and Unannounced bodies written so far.
    qint64 bodyBytesSent() const { return m_bodyBytesSent; }
    // Hang up on requests whose body contains this text (a keypad that restarts).
    void setHangupOn(const QByteArray& bodyPart) { m_hangupOn = bodyPart; }

    const QList<Request>& requests() const { return m_requests; }
    // "METHOD path body" for each request.
    QStringList lines() const;
    void clear() { m_requests.clear(); }

private:
    void readFrom(QTcpSocket* socket, QByteArray& buffer);

    QTcpServer* m_server = nullptr;
    QHash<QString, QByteArray> m_replies;
    QList<Request> m_requests;
    Mode m_mode = Mode::Answer;
    qint64 m_replySize = 0;
    qint64 m_bodyBytesSent = 0;
    QByteArray m_hangupOn;
    QElapsedTimer m_clock;
};

Q_DECLARE_METATYPE(RecordingHttpServer::Mode)

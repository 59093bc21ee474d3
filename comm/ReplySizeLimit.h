#pragma once

#include <QObject>
#include <QString>

class QNetworkReply;

// Keeps a device's reply from growing without end: a keypad's replies are a few kilobytes, so a
// reply that passes the limit comes from something broken or hostile and is refused the moment
// it does (or announces that it will), long before the transfer time limit, so what is held for
// it never grows much past the limit.
class ReplySizeLimit : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(ReplySizeLimit)

public:
    static constexpr qint64 KeypadReplyLimit = 1024 * 1024;

    // Where refusals are announced.
    static ReplySizeLimit* instance();

    // Watches a reply from the moment it is made.
    static void watch(QNetworkReply* reply, qint64 limit = KeypadReplyLimit);
    // Whether the reply was refused for its size (it then ends with an error).
    static bool refused(const QNetworkReply* reply);
    // What to tell the user about a refused reply.
    static QString message(const QNetworkReply* reply);

signals:
    // A reply was refused; message() is its text.
    void replyRefused(const QString& host, const QString& message);

private:
    ReplySizeLimit() = default;
    static void refuse(QNetworkReply* reply, qint64 limit, qint64 size);
};

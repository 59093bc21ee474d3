#include "ReplySizeLimit.h"

#include "CommLog.h"

#include <QNetworkReply>
#include <QtDebug>

namespace {

const char* const RefusedProperty = "lumettoRefusedReplySize";

} // namespace

ReplySizeLimit* ReplySizeLimit::instance() {
    static ReplySizeLimit* limit = new ReplySizeLimit;
    return limit;
}

void ReplySizeLimit::watch(QNetworkReply* reply, qint64 limit) {
    // A length in the headers over the limit is refused before any of the body comes.
    connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, limit] {
        const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (!refused(reply) && announced > limit)
            refuse(reply, limit, announced);
    });
    // Every piece of the body, as it comes (the progress signal is held back to ten a second,
    // and the last one only follows the end of the reply).
    connect(reply, &QNetworkReply::readyRead, reply, [reply, limit] {
        const qint64 received = reply->pos() + reply->bytesAvailable();
        if (!refused(reply) && received > limit)
            refuse(reply, limit, received);
    });
}

void ReplySizeLimit::refuse(QNetworkReply* reply, qint64 limit, qint64 size) {
    reply->setProperty(RefusedProperty, limit);
    qCWarning(lcComm).noquote() << QStringLiteral("refused the reply from %1: %2 bytes and more, the limit is %3")
                                       .arg(reply->url().toString())
                                       .arg(size)
                                       .arg(limit);
    reply->abort();
    emit instance()->replyRefused(reply->url().host(), message(reply));
}

bool ReplySizeLimit::refused(const QNetworkReply* reply) {
    return reply && reply->property(RefusedProperty).isValid();
}

QString ReplySizeLimit::message(const QNetworkReply* reply) {
    return tr("the keypad at %1 sent a reply larger than any keypad sends (more than %2 KiB); it was refused")
        .arg(reply->url().host())
        .arg(reply->property(RefusedProperty).toLongLong() / 1024);
}

#include "KeypadFailure.h"

#include "ReplySizeLimit.h"

#include <QCoreApplication>
#include <QNetworkRequest>

QString KeypadFailure::describe(QNetworkReply::NetworkError error, int httpStatus, const QString& httpReason,
                                int timeoutMs) {
    if (httpStatus >= 400) {
        const QString reason = httpReason.trimmed();
        return reason.isEmpty() ? tr("answered with HTTP status %1").arg(httpStatus)
                                : tr("answered with HTTP status %1 (%2)").arg(httpStatus).arg(reason);
    }
    switch (error) {
    case QNetworkReply::NoError:
        return QString();
    // We give up on a request only when its time is up.
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TimeoutError:
        return tr("did not answer within %1 s").arg(timeoutMs / 1000.0);
    case QNetworkReply::ConnectionRefusedError:
        return tr("refused the connection");
    case QNetworkReply::RemoteHostClosedError:
        return tr("closed the connection without answering");
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::UnknownNetworkError:
        return tr("could not be reached");
    default:
        break;
    }
    return tr("did not answer as expected (network error %1)").arg(int(error));
}

QString KeypadFailure::describe(const QNetworkReply* reply, int timeoutMs) {
    if (ReplySizeLimit::refused(reply))
        return tr("sent a reply larger than any keypad sends, which was refused");
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    return describe(reply->error(), status, reason, timeoutMs);
}

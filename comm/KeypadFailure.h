#pragma once

#include <QCoreApplication>
#include <QNetworkReply>
#include <QString>

class QNetworkReply;

// What became of a request that the keypad did not answer as asked, in words that follow "the
// keypad at 10.77.0.2": "did not answer within 5 s". The network stack's own texts ("Operation
// canceled" for a request we gave up on) say little to a user.
class KeypadFailure final {
    Q_DECLARE_TR_FUNCTIONS(KeypadFailure)

public:
    static QString describe(QNetworkReply::NetworkError error, int httpStatus, const QString& httpReason,
                            int timeoutMs);
    static QString describe(const QNetworkReply* reply, int timeoutMs);
};

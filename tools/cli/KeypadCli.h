#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>

class QNetworkReply;

// The command-line companion: discovery, backup, restore and a readable summary of a
// configuration file, on the same communication and model code as the editor. Every failure
// ends in one line on stderr and a non-zero exit status.
class KeypadCli : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(KeypadCli)

public:
    enum ExitCode {
        Success = 0,
        UsageError = 1,
        AddressError = 2,
        KeypadError = 3,
        FileError = 4,
    };

    KeypadCli();

    int run(const QStringList& arguments);

private:
    int discover(const QStringList& arguments);
    int backup(const QString& address, const QString& fileName);
    int restore(const QString& fileName, const QString& address);
    int show(const QStringList& arguments);
    int render(const QStringList& arguments);

    int usage();
    int fail(ExitCode code, const QString& message);
    void progress(const QString& message);

    // Reads and checks a configuration file; on failure sets the message and returns false.
    bool loadCheckedFile(const QString& fileName, QByteArray* contents, QString* error);
    // Prepares the REST client for the keypad at address; returns Success or the failure code.
    int connectTo(const QString& address);
    // Runs the event loop until no request is outstanding; false on a communication failure.
    bool settle(const QString& what);
    void handleReply(QNetworkReply* reply);

    QTextStream m_out;
    QTextStream m_err;
    QString m_address;
    QString m_lastError;
    bool m_failed = false;
};

#pragma once

#include "DiscoveredDevice.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <memory>

class KeypadSession;

// The command-line companion: discovery, backup, restore, comparison and configuration of one
// keypad or a whole building of them, and a readable summary of a configuration file, on the
// same communication and model code as the editor. Every failure ends in one line on stderr and
// a non-zero exit status.
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
        // diff and restore --dry-run: what was compared is not the same.
        Different = 5,
    };

    KeypadCli();
    ~KeypadCli() override;

    int run(const QStringList& arguments);

private:
    int discover(const QStringList& arguments);
    int backup(const QStringList& arguments);
    int backupAll(const QString& directory, int timeout);
    int restore(const QStringList& arguments);
    int diff(const QStringList& arguments);
    int set(const QStringList& arguments);
    int press(const QStringList& arguments);
    int show(const QStringList& arguments);
    int render(const QStringList& arguments);

    int usage();
    int fail(ExitCode code, const QString& message);
    void progress(const QString& message);

    // Reads and checks a configuration file; on failure sets the message and returns false.
    bool loadCheckedFile(const QString& fileName, QByteArray* contents, QString* error);
    // Made on first use: commands that only read files open no socket.
    KeypadSession* session();
    QList<DiscoveredDevice> discoverDevices(int timeout);
    // Reads everything the keypad at address holds into document; Success or the failure's code.
    int readKeypad(const QString& address, const QByteArray& mac, QByteArray* document);
    // The document read from a file or, for an address, from that keypad.
    int readOperand(const QString& operand, QByteArray* document);
    // Writes a file whole or not at all; empty, or why it failed.
    static QString writeFile(const QString& fileName, const QByteArray& contents);

    QTextStream m_out;
    QTextStream m_err;
    std::unique_ptr<KeypadSession> m_session;
};

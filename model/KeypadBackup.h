#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QString>

// What a keypad holds, kept as a configuration document before something replaces it (a file
// sent to it, a factory reset), so the user can open it again to go back.
class KeypadBackup final {
    Q_DECLARE_TR_FUNCTIONS(KeypadBackup)

public:
    struct Result {
        // The file written; empty when none was.
        QString path;
        // Why nothing was written, in words for the user.
        QString error;

        bool ok() const { return error.isEmpty(); }
    };

    // The "backups" folder under the application's data folder.
    static QString defaultFolder();
    // "Foyer West 2026-12-08 17.58.03.xml": the keypad's name with what file systems refuse left
    // out, "keypad" when nothing is left, and the time to the second.
    static QString fileName(const QString& keypadName, const QDateTime& when);
    // Writes the document into folder, made when missing; never over another file, so a second
    // backup in the same second gets " (2)" and so on.
    static Result write(const QString& folder, const QString& keypadName, const QByteArray& document,
                        const QDateTime& when = QDateTime::currentDateTime());
};

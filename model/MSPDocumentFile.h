#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// A configuration file taken from disk the one way that the editor's Open, its factory default
// file and the command line's show and restore share: only a regular file, never more of it
// than MSPDocument::maximumSize, and checked whole (encoding, XML, our root element, a trial
// read) before any of it reaches a model or a keypad.
class MSPDocumentFile final {
    Q_DECLARE_TR_FUNCTIONS(MSPDocumentFile)

public:
    enum class Status {
        Loaded,
        NotOpened, // missing, unreadable, or not a regular file
        Refused,   // read, but not a configuration document we take
    };

    struct Result {
        Status status = Status::NotOpened;
        QByteArray contents;
        // Why it was not loaded, in words for the user; empty when it was.
        QString problem;
        // The document line the problem is on; 0 when it is not about one line.
        int line = 0;

        bool ok() const { return status == Status::Loaded; }
    };

    static Result load(const QString& fileName);
    // The checks of load() on contents already read.
    static Result check(const QByteArray& contents);
};

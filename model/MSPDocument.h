#pragma once

#include "RestoreSequence.h"

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;
class MSPHandler;
class MSPSceneModel;
class SystemConfiguration;

// The configuration file as a whole: its text from the models, and the guarded read of a file
// or keypad reply into them. Shared by the main window, the REST client and the command line.
class MSPDocument final {
public:
    // Our documents are a few kilobytes; anything much larger is refused before it is parsed.
    static constexpr qint64 maximumSize = 1024 * 1024;

    struct ReadResult {
        bool ok = false;
        // The document's active scene (0-7), -1 when it named none.
        int currentShowIndex = -1;
        // Why the read failed; empty when it succeeded.
        QString error;
        // The line the read failed on, 0 when unknown.
        int line = 0;
        // Read with send-to-device: the requests that write the document to the keypad.
        RestoreSequence restore;
        // Set by whoever ran them: what reached the keypad, when not all of it did.
        QString keypadFailure;
    };

    // The file text: the active scene, the eight shows and the configuration without IP address.
    static QString text(const MSPSceneModel& model, const SystemConfiguration& configuration);
    static QString text();
    // The text as the file holds it, ISO-8859-1.
    static QByteArray fileContents();

    // Writes fileContents() to an open device; false (with the reason logged) when it is not all written.
    static bool write(QIODevice* device);

    // Reads a document into the shared models; see MSPHandler for sendToDevice. Nothing is sent:
    // the result lists what would write the document to a keypad.
    static ReadResult read(const QByteArray& data, bool sendToDevice);
    static ReadResult read(QIODevice* device, bool sendToDevice);
    // Reads a document into scratch models only: whether read() would take it whole, so that a
    // broken file is refused before anything of it is applied or sent.
    static ReadResult check(const QByteArray& data);

    // The document with every name its configuration sets replaced by name, all else byte for byte
    // as it was: a restore that keeps each keypad's own name. A document that sets no name comes
    // back unchanged; so does one that cannot be read, for the read to refuse as it would.
    static QByteArray withName(const QByteArray& data, const QString& name);

    // Looks at a document's content without touching the shared models: the document is read into
    // scratch models, which the inspector sees once the read has ended (also after a failed read,
    // with what was read up to the failure), and which are gone when this returns.
    using Inspector = std::function<void(const ReadResult& result, const MSPSceneModel& model,
                                         const SystemConfiguration& configuration)>;
    static ReadResult inspect(const QByteArray& data, const Inspector& inspector);

private:
    static ReadResult parse(const QByteArray& data, MSPHandler* handler);
};

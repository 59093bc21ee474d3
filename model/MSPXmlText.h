#pragma once

#include <QString>

// Text content for the documents we write. The writers build documents by concatenation, so
// every text that comes from a user or a keypad goes through here to keep the file readable.
class MSPXmlText final {
public:
    // Escapes markup characters; characters outside ISO-8859-1 become character references so
    // that they survive a Latin-1 file; characters XML cannot carry at all are dropped.
    static QString escaped(const QString& text);
};

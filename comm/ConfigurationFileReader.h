#pragma once

#include "MSPDocument.h"

class QIODevice;

// Reads a configuration file into the models the way the editor's Open does: the REST client
// knows a file is loading for the whole parse, and with sendToDevice (a keypad is connected)
// every scene and the configuration are written to the keypad as they are read.
class ConfigurationFileReader final {
public:
    static MSPDocument::ReadResult read(QIODevice* device, bool sendToDevice);
    // Sends to the keypad exactly when the connection state is Connected.
    static MSPDocument::ReadResult readForCurrentConnection(QIODevice* device);
};

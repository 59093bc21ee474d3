#pragma once

#include "MSPDocument.h"

class QIODevice;
class RestoreSequence;

// Reads a configuration file into the models the way the editor's Open does: the REST client
// knows a file is loading for the whole parse, and with sendToDevice (a keypad is connected)
// every scene and the configuration are then written to the keypad, step by step. When not all
// of it arrives, the result's keypadFailure says what was written and what was not.
class ConfigurationFileReader final {
public:
    static MSPDocument::ReadResult read(QIODevice* device, bool sendToDevice);
    // Sends to the keypad exactly when the connection state is Connected.
    static MSPDocument::ReadResult readForCurrentConnection(QIODevice* device);

private:
    // Runs the steps through the REST client, the event loop turning meanwhile; returns why it
    // stopped, empty when every step was answered.
    static QString writeToKeypad(RestoreSequence& sequence);
};

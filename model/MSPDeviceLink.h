#pragma once

#include <QString>

// What the document reader needs of the keypad connection. The REST client implements it and
// registers itself, so the model never depends on the communication code.
class MSPDeviceLink {
public:
    virtual ~MSPDeviceLink();

    // While set, scene edits made in the model are not posted to the keypad.
    virtual void setPostsSuppressed(bool suppressed) = 0;
    // Reads scene index (0-7) from the keypad; an unparsed reply is not read into the model.
    virtual void requestScene(int index, bool unparsed) = 0;
    // Posts body to path; with apply the body ends in "&apply=1".
    virtual void postToDevice(const QString& path, const QString& body, bool unparsed, bool failureTolerant,
                              bool apply) = 0;

    // The link readers use; null when none is registered. A link unregisters itself when destroyed.
    static MSPDeviceLink* registered();
    static void registerLink(MSPDeviceLink* link);

protected:
    MSPDeviceLink() = default;
    MSPDeviceLink(const MSPDeviceLink&) = default;
    MSPDeviceLink& operator=(const MSPDeviceLink&) = default;
};

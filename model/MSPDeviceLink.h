#pragma once

#include <QString>

// What the document reader needs of the keypad connection. The REST client implements it and
// registers itself, so the model never depends on the communication code.
class MSPDeviceLink {
public:
    virtual ~MSPDeviceLink();

    // While set, scene edits made in the model are not posted to the keypad.
    virtual void setPostsSuppressed(bool suppressed) = 0;

    // The link readers use; null when none is registered. A link unregisters itself when destroyed.
    static MSPDeviceLink* registered();
    static void registerLink(MSPDeviceLink* link);

protected:
    MSPDeviceLink() = default;
    MSPDeviceLink(const MSPDeviceLink&) = default;
    MSPDeviceLink& operator=(const MSPDeviceLink&) = default;
};

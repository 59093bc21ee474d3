#pragma once

#include "DiscoveredDevice.h"

#include <QList>
#include <QString>
#include <QVector>

// Which file each keypad of a whole-building backup goes to: named after the keypad and its
// hardware address, in characters every file system takes, and never the same file for two
// keypads, also where a file system ignores case.
class BackupPlan final {
public:
    struct Item {
        DiscoveredDevice device;
        QString fileName;
    };

    // The keypads a discovery found, each once (a keypad that answered twice is one keypad), in
    // the order found, each with a file name of its own.
    static QVector<Item> forDevices(const QList<DiscoveredDevice>& devices);

    // "Lobby-West_024c4d000014.xml": the name's ASCII letters, digits, "-" and "." (blanks become
    // "-", anything else "_"; none of these at either end), then the hardware address, or the IPv4
    // address where there is none.
    static QString fileName(const QString& name, const QByteArray& mac, const QString& address);
};

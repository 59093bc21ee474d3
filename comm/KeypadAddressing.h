#pragma once

#include <QHostAddress>
#include <QList>
#include <QNetworkAddressEntry>
#include <QString>

// The address rules of keypad communication, free of sockets: which addresses count as local,
// where a discovery request goes, and the form of an address handed to the keypad.
class KeypadAddressing final {
public:
    // Zero-padded octets as typed into the editor ("192.168.001.010") in the plain form the
    // keypad expects ("192.168.1.10"). Parts are kept as they are otherwise.
    static QString normalisedAddress(const QString& address);

    static bool sharesSubnet(const QHostAddress& first, const QHostAddress& second, quint32 netmask);

    // True when target shares the subnet of one of the entries, skipping loopback and
    // addresses without an IPv4 value.
    static bool sharesAnySubnet(const QHostAddress& target, const QList<QNetworkAddressEntry>& entries);

    // The address entries of every valid interface of this machine, in the system's order.
    static QList<QNetworkAddressEntry> localAddressEntries();

    // The /16 directed broadcast ("10.4.255.255") for a host address whose first octet is 10,
    // otherwise an empty text.
    static QString directedBroadcastFor(const QString& hostAddress);

    // The discovery target for the addresses of this host: the last one with first octet 10
    // decides; empty when there is none.
    static QString discoveryTargetFor(const QList<QHostAddress>& hostAddresses);
};

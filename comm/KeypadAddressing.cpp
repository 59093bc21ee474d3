#include "KeypadAddressing.h"

#include <QNetworkInterface>
#include <QStringList>

QString KeypadAddressing::normalisedAddress(const QString& address) {
    QStringList parts = address.split(QLatin1Char('.'));
    for (QString& part : parts) {
        int zeros = 0;
        while (zeros < part.size() - 1 && part.at(zeros) == QLatin1Char('0'))
            ++zeros;
        part.remove(0, zeros);
    }
    return parts.join(QLatin1Char('.'));
}

bool KeypadAddressing::sharesSubnet(const QHostAddress& first, const QHostAddress& second, quint32 netmask) {
    return (first.toIPv4Address() & netmask) == (second.toIPv4Address() & netmask);
}

bool KeypadAddressing::sharesAnySubnet(const QHostAddress& target, const QList<QNetworkAddressEntry>& entries) {
    for (const QNetworkAddressEntry& entry : entries) {
        const QHostAddress ip = entry.ip();
        if (ip == QHostAddress(QHostAddress::LocalHost) || ip.toIPv4Address() == 0)
            continue;
        if (sharesSubnet(ip, target, entry.netmask().toIPv4Address()))
            return true;
    }
    return false;
}

QList<QNetworkAddressEntry> KeypadAddressing::localAddressEntries() {
    QList<QNetworkAddressEntry> entries;
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& interface : interfaces) {
        if (interface.isValid())
            entries += interface.addressEntries();
    }
    return entries;
}

QString KeypadAddressing::directedBroadcastFor(const QString& hostAddress) {
    const QStringList octets = hostAddress.split(QLatin1Char('.'));
    if (octets.size() < 2 || octets.first() != QLatin1String("10"))
        return QString();
    return octets.at(0) + QLatin1Char('.') + octets.at(1) + QLatin1String(".255.255");
}

QString KeypadAddressing::discoveryTargetFor(const QList<QHostAddress>& hostAddresses) {
    QString target;
    for (const QHostAddress& address : hostAddresses) {
        const QString candidate = directedBroadcastFor(address.toString());
        if (!candidate.isEmpty())
            target = candidate;
    }
    return target;
}

#pragma once

#include <QByteArray>
#include <QString>

// One keypad that answered a discovery request.
class DiscoveredDevice final {
public:
    DiscoveredDevice() = default;
    DiscoveredDevice(const QString& name, const QByteArray& mac, const QString& address);

    QString name() const { return m_name; }
    QByteArray mac() const { return m_mac; }
    QString address() const { return m_address; }

private:
    QString m_name;
    QByteArray m_mac;
    QString m_address;
};

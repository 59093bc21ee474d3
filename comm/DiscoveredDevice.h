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

    // What else the answer tells; empty or 0 when it did not say.
    QString firmware() const { return m_firmware; }
    QString hardware() const { return m_hardware; }
    QString product() const { return m_product; }
    quint32 serialNumber() const { return m_serialNumber; }
    quint32 universe() const { return m_universe; }
    void setDetails(const QString& product, const QString& hardware, const QString& firmware, quint32 serialNumber,
                    quint32 universe);

private:
    QString m_name;
    QByteArray m_mac;
    QString m_address;
    QString m_firmware;
    QString m_hardware;
    QString m_product;
    quint32 m_serialNumber = 0;
    quint32 m_universe = 0;
};

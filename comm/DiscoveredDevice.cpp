#include "DiscoveredDevice.h"

DiscoveredDevice::DiscoveredDevice(const QString& name, const QByteArray& mac, const QString& address)
    : m_name(name)
    , m_mac(mac)
    , m_address(address) {}

void DiscoveredDevice::setDetails(const QString& product, const QString& hardware, const QString& firmware,
                                  quint32 serialNumber, quint32 universe) {
    m_product = product;
    m_hardware = hardware;
    m_firmware = firmware;
    m_serialNumber = serialNumber;
    m_universe = universe;
}

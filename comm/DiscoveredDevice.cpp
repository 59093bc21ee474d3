#include "DiscoveredDevice.h"

DiscoveredDevice::DiscoveredDevice(const QString& name, const QByteArray& mac, const QString& address)
    : m_name(name)
    , m_mac(mac)
    , m_address(address) {}

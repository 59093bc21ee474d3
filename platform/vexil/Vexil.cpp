#include "Vexil.h"

#include "DiscoveryLog.h"
#include "DiscoveryPacket.h"

#include <QDebug>
#include <QNetworkDatagram>
#include <QStringList>
#include <QUdpSocket>

namespace {

// Only the four-part dotted form: the shorthand forms ("10.77.1" meaning 10.77.0.1) would send
// a keypad somewhere nobody asked for.
QHostAddress parseIPv4(const char* text) {
    if (!text)
        return {};
    const QStringList parts = QString::fromLatin1(text).split(QLatin1Char('.'));
    if (parts.size() != 4)
        return {};
    quint32 value = 0;
    for (const QString& part : parts) {
        bool ok = false;
        const uint octet = part.toUInt(&ok, 10);
        if (!ok || part.isEmpty() || part.size() > 3 || octet > 255 || !part.at(0).isDigit())
            return {};
        value = value << 8 | octet;
    }
    return QHostAddress(value);
}

} // namespace

Vexil::Vexil(QObject* parent)
    : QObject(parent) {
    openSocket(QHostAddress(QHostAddress::AnyIPv4));
}

Vexil::~Vexil() = default;

bool Vexil::openSocket(const QHostAddress& bindAddress) {
    if (m_socket) {
        // Possibly called from a slot of this socket's own readyRead().
        m_socket->disconnect(this);
        m_socket->close();
        m_socket->deleteLater();
    }
    m_socket = new QUdpSocket(this);
    connect(m_socket, &QUdpSocket::readyRead, this, &Vexil::readDatagrams);
    // An ephemeral port: keypads answer to wherever the request came from.
    if (!m_socket->bind(bindAddress, 0)) {
        qCWarning(lcDiscovery) << "cannot bind the discovery socket to" << bindAddress.toString()
                               << m_socket->errorString();
        return false;
    }
    return true;
}

bool Vexil::sendDiscover(const char* address) {
    const QHostAddress target = parseIPv4(address);
    if (target.isNull()) {
        qCWarning(lcDiscovery) << "discovery target is not an IPv4 address:" << (address ? address : "(null)");
        return false;
    }
    m_lastBroadcast = target;
    DiscoveryPacket request;
    request.type = DiscoveryPacket::Type::DiscoverRequest;
    request.sequence = ++m_sequence;
    return send(request.encode(), target);
}

bool Vexil::setInterface(QNetworkAddressEntry& entry) {
    m_hasInterface = false;
    m_interface = QNetworkAddressEntry();
    if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol) {
        qCWarning(lcDiscovery) << "interface has no IPv4 address:" << entry.ip().toString();
        return false;
    }
    // Bound to the interface address, the socket sends even 255.255.255.255 out of that
    // interface, and only answers to that address reach it.
    if (!openSocket(entry.ip())) {
        openSocket(QHostAddress(QHostAddress::AnyIPv4));
        return false;
    }
    m_interface = entry;
    m_hasInterface = true;
    return true;
}

void Vexil::getInterface(QHostAddress& ip, unsigned int& netmask, QHostAddress& broadcast) const {
    if (!m_hasInterface) {
        ip = QHostAddress(QHostAddress::AnyIPv4);
        netmask = 0;
        broadcast = QHostAddress(QHostAddress::Broadcast);
        return;
    }
    ip = m_interface.ip();
    netmask = m_interface.netmask().toIPv4Address();
    broadcast = m_interface.broadcast().isNull() ? QHostAddress(QHostAddress::Broadcast) : m_interface.broadcast();
}

void Vexil::resetSocket() {
    m_hasInterface = false;
    m_interface = QNetworkAddressEntry();
    openSocket(QHostAddress(QHostAddress::AnyIPv4));
}

bool Vexil::sendSetIP(char* const mac, const char* address) {
    const QHostAddress newAddress = parseIPv4(address);
    if (!mac || newAddress.isNull()) {
        qCWarning(lcDiscovery) << "set-address request needs a hardware address and an IPv4 address:"
                               << (address ? address : "(null)");
        return false;
    }
    DiscoveryPacket request;
    request.type = DiscoveryPacket::Type::SetAddressRequest;
    request.sequence = ++m_sequence;
    for (size_t i = 0; i < request.mac.size(); ++i)
        request.mac[i] = static_cast<quint8>(mac[i]);
    request.ipv4 = newAddress.toIPv4Address();
    request.netmask = 0;
    qCDebug(lcDiscovery) << "asking" << DiscoveryPacket::macText(request.mac) << "to move to" << newAddress.toString();
    return send(request.encode(), m_lastBroadcast);
}

bool Vexil::send(const QByteArray& datagram, const QHostAddress& target) {
    if (m_socket->state() != QAbstractSocket::BoundState) {
        qCWarning(lcDiscovery) << "discovery socket is not open; nothing sent to" << target.toString();
        return false;
    }
    if (m_socket->writeDatagram(datagram, target, DiscoveryPacket::KeypadPort) != datagram.size()) {
        qCWarning(lcDiscovery) << "sending to" << target.toString() << "failed:" << m_socket->errorString();
        return false;
    }
    return true;
}

void Vexil::readDatagrams() {
    // The socket may be replaced by a slot that runs during the emission below.
    QUdpSocket* socket = m_socket;
    while (socket == m_socket && socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket->receiveDatagram();
        DiscoveryPacket packet;
        QString error;
        if (!DiscoveryPacket::decode(datagram.data(), packet, &error)) {
            qCDebug(lcDiscovery) << "dropped datagram from" << datagram.senderAddress().toString() << ":" << error;
            continue;
        }
        switch (packet.type) {
        case DiscoveryPacket::Type::DiscoverReply: {
            // Buffers of this emission alone: valid until every directly connected slot has
            // returned, and untouched by answers read in a nested event loop.
            QByteArray mac(reinterpret_cast<const char*>(packet.mac.data()), static_cast<int>(packet.mac.size()));
            QByteArray versionText = packet.versionText;
            QByteArray name = packet.name;
            emit signalDiscoverResponse(mac.data(), packet.ipv4, packet.serial, packet.firmware, packet.universe,
                                        versionText.data(), name.data());
            break;
        }
        case DiscoveryPacket::Type::SetAddressReply:
            if (packet.status == DiscoveryPacket::Status::Accepted)
                qCDebug(lcDiscovery) << "keypad" << DiscoveryPacket::macText(packet.mac) << "takes address"
                                     << QHostAddress(packet.ipv4).toString();
            else
                qCWarning(lcDiscovery) << "keypad" << DiscoveryPacket::macText(packet.mac) << "refused address"
                                       << QHostAddress(packet.ipv4).toString() << "status"
                                       << static_cast<int>(packet.status);
            break;
        case DiscoveryPacket::Type::DiscoverRequest:
        case DiscoveryPacket::Type::SetAddressRequest:
            // Another editor's request; not for us.
            break;
        }
    }
}

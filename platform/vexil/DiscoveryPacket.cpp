#include "DiscoveryPacket.h"

#include <QStringList>

#include <cstring>

namespace {

void putU8(QByteArray& out, quint8 value) {
    out.append(static_cast<char>(value));
}

void putU16(QByteArray& out, quint16 value) {
    putU8(out, static_cast<quint8>(value >> 8));
    putU8(out, static_cast<quint8>(value));
}

void putU32(QByteArray& out, quint32 value) {
    putU16(out, static_cast<quint16>(value >> 16));
    putU16(out, static_cast<quint16>(value));
}

void putZeros(QByteArray& out, int count) {
    out.append(count, '\0');
}

bool putText(QByteArray& out, const QByteArray& text, int field) {
    // One byte stays free for the terminating NUL.
    if (text.size() >= field || text.contains('\0'))
        return false;
    out.append(text);
    putZeros(out, field - text.size());
    return true;
}

// Reads fixed-width fields front to back; every read is checked against the datagram size.
class Reader {
public:
    explicit Reader(const QByteArray& data)
        : m_data(data) {}

    bool u8(quint8& value) {
        if (!has(1))
            return false;
        value = static_cast<quint8>(m_data.at(m_pos++));
        return true;
    }
    bool u16(quint16& value) {
        quint8 hi = 0, lo = 0;
        if (!has(2) || !u8(hi) || !u8(lo))
            return false;
        value = static_cast<quint16>(hi << 8 | lo);
        return true;
    }
    bool u32(quint32& value) {
        quint16 hi = 0, lo = 0;
        if (!has(4) || !u16(hi) || !u16(lo))
            return false;
        value = static_cast<quint32>(hi) << 16 | lo;
        return true;
    }
    bool bytes(quint8* target, int count) {
        if (!has(count))
            return false;
        std::memcpy(target, m_data.constData() + m_pos, static_cast<size_t>(count));
        m_pos += count;
        return true;
    }
    bool skip(int count) {
        if (!has(count))
            return false;
        m_pos += count;
        return true;
    }
    bool text(QByteArray& value, int field) {
        if (!has(field))
            return false;
        const char* start = m_data.constData() + m_pos;
        const void* nul = std::memchr(start, '\0', static_cast<size_t>(field));
        if (!nul)
            return false;
        value = QByteArray(start, static_cast<int>(static_cast<const char*>(nul) - start));
        m_pos += field;
        return true;
    }

private:
    bool has(int count) const { return count >= 0 && m_data.size() - m_pos >= count; }

    const QByteArray& m_data;
    int m_pos = 0;
};

int expectedSize(DiscoveryPacket::Type type) {
    switch (type) {
    case DiscoveryPacket::Type::DiscoverRequest:
        return DiscoveryPacket::DiscoverRequestSize;
    case DiscoveryPacket::Type::DiscoverReply:
        return DiscoveryPacket::DiscoverReplySize;
    case DiscoveryPacket::Type::SetAddressRequest:
        return DiscoveryPacket::SetAddressRequestSize;
    case DiscoveryPacket::Type::SetAddressReply:
        return DiscoveryPacket::SetAddressReplySize;
    }
    return -1;
}

bool fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return false;
}

} // namespace

QByteArray DiscoveryPacket::encode() const {
    QByteArray out;
    const int size = expectedSize(type);
    if (size < 0)
        return {};
    out.reserve(size);
    for (quint8 byte : Magic)
        putU8(out, byte);
    putU8(out, ProtocolVersion);
    putU8(out, static_cast<quint8>(type));
    putU16(out, sequence);

    switch (type) {
    case Type::DiscoverRequest:
        break;
    case Type::DiscoverReply:
        out.append(reinterpret_cast<const char*>(mac.data()), static_cast<int>(mac.size()));
        putZeros(out, 2);
        putU32(out, ipv4);
        putU32(out, serial);
        putU16(out, firmware);
        putZeros(out, 2);
        putU32(out, universe);
        if (!putText(out, versionText, VersionTextField) || !putText(out, name, NameField))
            return {};
        break;
    case Type::SetAddressRequest:
        out.append(reinterpret_cast<const char*>(mac.data()), static_cast<int>(mac.size()));
        putZeros(out, 2);
        putU32(out, ipv4);
        putU32(out, netmask);
        break;
    case Type::SetAddressReply:
        out.append(reinterpret_cast<const char*>(mac.data()), static_cast<int>(mac.size()));
        putU8(out, static_cast<quint8>(status));
        putZeros(out, 1);
        putU32(out, ipv4);
        break;
    }
    Q_ASSERT(out.size() == size);
    return out;
}

bool DiscoveryPacket::decode(const QByteArray& datagram, DiscoveryPacket& packet, QString* error) {
    Reader in(datagram);
    std::array<quint8, 4> magic{};
    quint8 version = 0, typeByte = 0;
    DiscoveryPacket p;
    if (!in.bytes(magic.data(), 4) || !in.u8(version) || !in.u8(typeByte) || !in.u16(p.sequence))
        return fail(error, QStringLiteral("shorter than the header (%1 bytes)").arg(datagram.size()));
    if (magic != Magic)
        return fail(error, QStringLiteral("not a discovery datagram (wrong magic)"));
    if (version != ProtocolVersion)
        return fail(error, QStringLiteral("unsupported protocol version %1").arg(version));
    if (typeByte < static_cast<quint8>(Type::DiscoverRequest) || typeByte > static_cast<quint8>(Type::SetAddressReply))
        return fail(error, QStringLiteral("unknown message type %1").arg(typeByte));
    p.type = static_cast<Type>(typeByte);
    if (datagram.size() != expectedSize(p.type))
        return fail(error, QStringLiteral("wrong length %1 for message type %2, expected %3")
                               .arg(datagram.size())
                               .arg(typeByte)
                               .arg(expectedSize(p.type)));

    bool ok = true;
    switch (p.type) {
    case Type::DiscoverRequest:
        break;
    case Type::DiscoverReply:
        ok = in.bytes(p.mac.data(), 6) && in.skip(2) && in.u32(p.ipv4) && in.u32(p.serial) && in.u16(p.firmware) &&
             in.skip(2) && in.u32(p.universe);
        if (ok && (!in.text(p.versionText, VersionTextField) || !in.text(p.name, NameField)))
            return fail(error, QStringLiteral("text field without terminating NUL"));
        break;
    case Type::SetAddressRequest:
        ok = in.bytes(p.mac.data(), 6) && in.skip(2) && in.u32(p.ipv4) && in.u32(p.netmask);
        break;
    case Type::SetAddressReply: {
        quint8 status = 0;
        ok = in.bytes(p.mac.data(), 6) && in.u8(status) && in.skip(1) && in.u32(p.ipv4);
        if (ok && status > static_cast<quint8>(Status::Failed))
            return fail(error, QStringLiteral("unknown status %1").arg(status));
        p.status = static_cast<Status>(status);
        break;
    }
    }
    if (!ok)
        return fail(error, QStringLiteral("truncated datagram"));
    packet = p;
    return true;
}

quint16 DiscoveryPacket::packFirmware(const QString& version) {
    const QStringList parts = version.split(QLatin1Char('.'));
    if (parts.size() != 3)
        return 0;
    bool okMajor = false, okMinor = false, okPatch = false;
    const uint major = parts.at(0).toUInt(&okMajor);
    const uint minor = parts.at(1).toUInt(&okMinor);
    const uint patch = parts.at(2).toUInt(&okPatch);
    if (!okMajor || !okMinor || !okPatch || major > 255)
        return 0;
    return static_cast<quint16>(major << 8 | qMin(minor, 15u) << 4 | qMin(patch, 15u));
}

QString DiscoveryPacket::macText(const Mac& mac) {
    QStringList parts;
    for (quint8 byte : mac)
        parts.append(QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')));
    return parts.join(QLatin1Char(':'));
}

bool DiscoveryPacket::parseMac(const QString& text, Mac& mac) {
    QString separated = text;
    separated.replace(QLatin1Char('-'), QLatin1Char(':'));
    const QStringList parts = separated.split(QLatin1Char(':'));
    if (parts.size() != 6)
        return false;
    Mac result{};
    for (int i = 0; i < 6; ++i) {
        bool ok = false;
        const uint byte = parts.at(i).toUInt(&ok, 16);
        if (!ok || parts.at(i).size() != 2 || byte > 0xFF)
            return false;
        result[static_cast<size_t>(i)] = static_cast<quint8>(byte);
    }
    mac = result;
    return true;
}

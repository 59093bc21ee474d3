// The discovery codec: a datagram it takes encodes back to itself (reserved bytes and text
// padding as zeros) and decodes again to the same packet; the version text of a reply never
// takes another product for a keypad.
#include "DiscoveryPacket.h"
#include "DiscoveryVersionText.h"
#include "FuzzSupport.h"

namespace {

bool samePacket(const DiscoveryPacket& a, const DiscoveryPacket& b) {
    return a.type == b.type && a.sequence == b.sequence && a.mac == b.mac && a.ipv4 == b.ipv4 && a.serial == b.serial &&
           a.firmware == b.firmware && a.universe == b.universe && a.versionText == b.versionText && a.name == b.name &&
           a.netmask == b.netmask && a.status == b.status;
}

// The datagram with what the decoder ignores set as the encoder writes it.
QByteArray canonical(QByteArray datagram, DiscoveryPacket::Type type) {
    auto zero = [&datagram](int from, int count) {
        for (int i = from; i < from + count; ++i)
            datagram[i] = '\0';
    };
    auto zeroAfterText = [&datagram](int from, int field) {
        const int nul = datagram.indexOf('\0', from);
        for (int i = nul; i < from + field; ++i)
            datagram[i] = '\0';
    };
    const int body = DiscoveryPacket::HeaderSize;
    switch (type) {
    case DiscoveryPacket::Type::DiscoverRequest:
        break;
    case DiscoveryPacket::Type::DiscoverReply:
        zero(body + 6, 2);
        zero(body + 18, 2);
        zeroAfterText(body + 24, DiscoveryPacket::VersionTextField);
        zeroAfterText(body + 24 + DiscoveryPacket::VersionTextField, DiscoveryPacket::NameField);
        break;
    case DiscoveryPacket::Type::SetAddressRequest:
        zero(body + 6, 2);
        break;
    case DiscoveryPacket::Type::SetAddressReply:
        zero(body + 7, 1);
        break;
    }
    return datagram;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSupport::initialise();
    const QByteArray datagram = FuzzSupport::bytes(data, size);

    // The version text reader also sees raw text, as a reply's field or a NUL-terminated string.
    const QByteArray asText = datagram.left(datagram.indexOf('\0') < 0 ? datagram.size() : datagram.indexOf('\0'));
    const DiscoveryVersionText raw(asText.constData());
    FUZZ_CHECK(!raw.isKeypad() || raw.softwarePartNumber() == QLatin1String(DiscoveryVersionText::KeypadPartNumber),
               raw.softwarePartNumber());

    DiscoveryPacket packet;
    QString error;
    if (!DiscoveryPacket::decode(datagram, packet, &error)) {
        FUZZ_CHECK(!error.isEmpty(), QString());
        return 0;
    }
    const QByteArray encoded = packet.encode();
    FUZZ_CHECK(encoded == canonical(datagram, packet.type),
               QString::fromLatin1(encoded.toHex()) + QStringLiteral(" from ") + QString::fromLatin1(datagram.toHex()));
    DiscoveryPacket again;
    FUZZ_CHECK(DiscoveryPacket::decode(encoded, again, &error), error);
    FUZZ_CHECK(samePacket(packet, again), QString());

    if (packet.type == DiscoveryPacket::Type::DiscoverReply) {
        const DiscoveryVersionText version(packet.versionText.constData());
        FUZZ_CHECK(!version.isKeypad() || version.softwarePartNumber() == QLatin1String("SFT-009251-00"),
                   version.softwarePartNumber());
    }
    return 0;
}

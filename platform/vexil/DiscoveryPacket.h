#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>

/**
 * One datagram of the keypad discovery protocol, as plain values, with its encoder and its
 * checking decoder. No sockets here: Vexil and the keypad simulator own those.
 *
 * The byte layout is documented in docs/discovery-protocol.md; every multi-byte number is in
 * network byte order.
 */
struct DiscoveryPacket {
    /// The UDP port a keypad listens on for requests.
    static constexpr quint16 KeypadPort = 6042;
    /// First four bytes of every datagram: "VXIL".
    static constexpr std::array<quint8, 4> Magic{{0x56, 0x58, 0x49, 0x4C}};
    static constexpr quint8 ProtocolVersion = 1;

    static constexpr int HeaderSize = 8;
    static constexpr int VersionTextField = 128; ///< bytes, NUL-padded, so at most 127 characters
    static constexpr int NameField = 64;         ///< bytes, NUL-padded, so at most 63 characters
    static constexpr int DiscoverRequestSize = HeaderSize;
    static constexpr int DiscoverReplySize = HeaderSize + 24 + VersionTextField + NameField;
    static constexpr int SetAddressRequestSize = HeaderSize + 16;
    static constexpr int SetAddressReplySize = HeaderSize + 12;

    enum class Type : quint8 {
        DiscoverRequest = 1,
        DiscoverReply = 2,
        SetAddressRequest = 3,
        SetAddressReply = 4,
    };

    /// Outcome of a set-address request, carried by its reply.
    enum class Status : quint8 {
        Accepted = 0,
        InvalidAddress = 1,
        Failed = 2,
    };

    using Mac = std::array<quint8, 6>;

    Type type = Type::DiscoverRequest;
    quint16 sequence = 0; ///< chosen by the requester, echoed in the reply

    // Discover reply; mac and ipv4 also in the set-address messages.
    Mac mac{};
    quint32 ipv4 = 0; ///< host order, first octet in the most significant byte
    quint32 serial = 0;
    quint16 firmware = 0; ///< major << 8 | minor << 4 | patch
    quint32 universe = 0;
    QByteArray versionText; ///< "label:value" lines separated by line feeds
    QByteArray name;

    // Set-address request and reply.
    quint32 netmask = 0; ///< request only; 0 keeps the keypad's current netmask
    Status status = Status::Accepted;

    /**
     * The datagram for this packet. Empty when a field does not fit its slot (a text that is
     * too long or holds a NUL byte), so that nothing malformed is ever sent.
     */
    QByteArray encode() const;

    /**
     * Reads @p datagram into @p packet. Returns false, leaving @p packet unchanged, for anything
     * that is not exactly one well-formed datagram of a known type: wrong magic or protocol
     * version, unknown type, wrong length, a text field without its terminating NUL.
     * @p error, when given, receives the reason.
     */
    static bool decode(const QByteArray& datagram, DiscoveryPacket& packet, QString* error = nullptr);

    /// Packs "major.minor.patch" into the firmware field, a minor or patch above 15 as 15 (the
    /// version text carries the exact version); 0 when the text is no such version.
    static quint16 packFirmware(const QString& version);

    static QString macText(const Mac& mac);
    /// Reads "aa:bb:cc:dd:ee:ff" (or with '-'); false when it is not six hex pairs.
    static bool parseMac(const QString& text, Mac& mac);
};

#pragma once

#include <QHostAddress>
#include <QNetworkAddressEntry>
#include <QObject>

class QUdpSocket;

/**
 * The editor's end of the keypad discovery protocol (docs/discovery-protocol.md): sends
 * discovery and set-address requests and reports every keypad that answers.
 *
 * Everything runs on the thread that owns the object; answers are read from the socket's
 * readyRead() and reported through signalDiscoverResponse() at once, so the text arguments of
 * the signal are valid while a directly connected slot runs, and only then.
 */
class Vexil : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(Vexil)

public:
    explicit Vexil(QObject* parent = nullptr);
    ~Vexil() override;

    /**
     * Sends one discovery request to @p address, a broadcast address in dotted text such as
     * "255.255.255.255" or "10.77.255.255". Answers arrive later as signalDiscoverResponse().
     * Returns false when the address is not an IPv4 address or the datagram could not be sent.
     */
    bool sendDiscover(const char* address);

    /**
     * Makes later requests leave through the interface of @p entry (its address becomes the
     * source of every request). Returns false, with no interface set, when the entry has no
     * IPv4 address or the socket cannot be bound to it.
     */
    bool setInterface(QNetworkAddressEntry& entry);

    /**
     * The interface set last: its address (0.0.0.0 when none is set), its netmask as a 32-bit
     * number in host order (0 when none) and its broadcast address (255.255.255.255 when none).
     */
    void getInterface(QHostAddress& ip, unsigned int& netmask, QHostAddress& broadcast) const;

    /// Reopens the socket, unbound from any interface chosen before.
    void resetSocket();

    /**
     * Asks the keypad whose 6-byte hardware address is @p mac to take @p address (dotted text)
     * and keep its netmask. The request is broadcast to the address last given to
     * sendDiscover() (or 255.255.255.255), so it reaches a keypad whatever its address is now.
     * Returns false when @p mac is null, the address is not IPv4 or nothing could be sent.
     */
    bool sendSetIP(char* const mac, const char* address);

signals:
    /**
     * One keypad answered a discovery request. @p mac points to its 6-byte hardware address,
     * @p ip is its IPv4 address in host order, @p sn its serial number, @p ver its packed
     * firmware version, @p uni its universe, @p verstring its NUL-terminated version text
     * ("label:value" lines) and @p idstring its NUL-terminated name.
     */
    void signalDiscoverResponse(char* mac, quint32 ip, quint32 sn, quint16 ver, quint32 uni, char* verstring,
                                char* idstring);

private:
    bool openSocket(const QHostAddress& bindAddress);
    bool send(const QByteArray& datagram, const QHostAddress& target);
    void readDatagrams();

    QUdpSocket* m_socket = nullptr;
    QNetworkAddressEntry m_interface;
    bool m_hasInterface = false;
    QHostAddress m_lastBroadcast{QHostAddress::Broadcast};
    quint16 m_sequence = 0;
};

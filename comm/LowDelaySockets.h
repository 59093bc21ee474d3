#pragma once

#include <QHostAddress>

// Turns off Nagle's algorithm on this process's TCP connections to one peer.
//
// The HTTP stack writes a request's headers and its body separately and leaves Nagle on, so on
// a reused connection a small body waits until the keypad acknowledges the headers; a server
// that delays its ACKs (Linux by default, and small embedded stacks even longer) then stalls
// every edit by tens of milliseconds. The stack gives no access to its sockets, so they are
// found among the process's descriptors. Linux only; elsewhere this does nothing.
//
// A new connection is made by the stack's own thread, which writes the headers the moment it is
// connected: the switch would come too late. So before a request that finds no connection, the
// connection is opened ahead (QNetworkAccessManager::connectToHost, which the request then uses),
// and awaitConnection() switches Nagle off on it once the handshake is done. Until the stack
// offers a hook on its sockets (or writes a request in one piece) this is the way in; measured
// with tests/comm/bench_comm against a keypad that delays its acknowledgements.
class LowDelaySockets final {
public:
    // Returns the number of connections changed.
    static int applyTo(const QHostAddress& peer, quint16 port);
    // Whether a connection to the peer is open or being opened.
    static bool hasConnection(const QHostAddress& peer, quint16 port);
    // Waits up to timeoutMs, without the event loop, for a connection to the peer to be
    // established and switches Nagle off on it; false when none came in time.
    static bool awaitConnection(const QHostAddress& peer, quint16 port, int timeoutMs);

    // On by default; the benchmark switches it off to measure the difference.
    static void setEnabled(bool enabled);
    static bool isEnabled();
};

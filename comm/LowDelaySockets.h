#pragma once

#include <QHostAddress>

// Turns off Nagle's algorithm on this process's TCP connections to one peer.
//
// The HTTP stack writes a request's headers and its body separately and leaves Nagle on, so on
// a reused connection a small body waits until the keypad acknowledges the headers; a server
// that delays its ACKs (Linux by default, and small embedded stacks even longer) then stalls
// every edit by tens of milliseconds. The stack gives no access to its sockets, so they are
// found among the process's descriptors. Linux only; elsewhere this does nothing.
class LowDelaySockets final {
public:
    // Returns the number of connections changed.
    static int applyTo(const QHostAddress& peer, quint16 port);

    // On by default; the benchmark switches it off to measure the difference.
    static void setEnabled(bool enabled);
    static bool isEnabled();
};

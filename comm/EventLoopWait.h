#pragma once

// Gives the keypad time between requests without blocking: events (replies, datagrams, user
// input) are handled until the time is up.
class EventLoopWait final {
public:
    static void wait(int msec);
};

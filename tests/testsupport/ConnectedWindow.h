#pragma once

#include <memory>

class KeypadSimulator;
class MainWindow;

// The editor's window as a user meets it: shown, connected to a simulated keypad named "Lobby" at
// 10.77.0.2 that the window found itself, and done reading it. For the tests that drive the whole
// window against a keypad.
class ConnectedWindow final {
public:
    enum class Wait { Exposed, Active };

    // Starts the keypad and opens the window; null (with a warning naming the step) when either
    // does not get there in time.
    static std::unique_ptr<MainWindow> open(KeypadSimulator& keypad, Wait wait = Wait::Exposed);
    // No request to the keypad is still waiting for its reply.
    static bool idle();
};

#pragma once

// What a press of the keypad's up, down and on/off keys sends, shared by the on-screen control
// panel and the command line's press.
class MSPKeyPress final {
public:
    enum class Key { Up, Down, OnOff };

    // Whether the press is sent at all. Up at full brightness and down at none change nothing and
    // are not sent, except in a Variable Color scene, whose colour those keys move instead.
    // activeEffectType is the active scene's MSPEffect::Type, -1 without an effect; brightness is
    // the keypad's level 0-255, -1 when it is off.
    static bool isSent(Key key, int activeEffectType, int brightness);
};

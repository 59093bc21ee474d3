#pragma once

#include <QString>

// The texts under the speed sliders: how long one round of an effect takes at a speed.
class MSPSpeedText final {
public:
    // Colour and rainbow washes: the speed is clamped to 1-32 first.
    static QString washText(int speed);
    // Custom wash and random colour; a speed outside 1-32 reads as its plain number.
    static QString customText(int speed);

    // The time in seconds that washText() and customText() state. A speed outside 1-32 plays as
    // the nearest speed of the table: the keypad knows no other rounds.
    static double washSeconds(int speed);
    static double customSeconds(int speed);
};

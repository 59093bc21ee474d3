#pragma once

#include "SystemConfiguration.h"

#include <QCoreApplication>
#include <QString>

// What the System Configuration form takes before it saves, as pure code: the form and the
// command line's set refuse the same values, in the same words.
class SystemConfigurationCheck final {
    Q_DECLARE_TR_FUNCTIONS(SystemConfigurationCheck)

public:
    struct Range {
        int minimum;
        int maximum;
        bool contains(int value) const { return value >= minimum && value <= maximum; }
    };
    static constexpr Range universeRange{0, 255};
    static constexpr Range VexilModeRange{1, 2};
    static constexpr Range lightsPerPortRange{1, 170};
    static constexpr Range numberOfPortsRange{1, 16};
    // The keypad's brightness level; a keypad that is off reports "off" instead.
    static constexpr Range brightnessRange{0, 255};
    static constexpr int nameMaximumLength = 31;

    // 1 to 31 characters, none of them "&", "," or a double quote: the keypad's query texts and
    // lists carry the name unescaped.
    static QString namePattern();
    static bool isValidName(const QString& name);
    // Why a name is refused, in a sentence; empty when it is taken. The form cannot even type
    // what the longer messages are about, so it only ever shows emptyNameMessage().
    static QString nameProblem(const QString& name);

    // The form's own warnings, without the colour it shows them in.
    static QString emptyNameMessage();
    static QString noSceneButtonMessage();
    static QString unreachableAddressMessage();

    // Save needs one of the eight scene buttons enabled; down, up and on/off do not count.
    static bool anySceneEnabled(const bool (&sceneStates)[SystemConfiguration::sceneCount]);

    // Whether a firmware version has per-button enable switches; versions with fewer than three
    // parts are undecided.
    enum class ButtonGate { Open, Closed, Unknown };
    static ButtonGate buttonGate(const QString& version);
};

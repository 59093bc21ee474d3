#pragma once

#include "KeypadState.h"

#include <QByteArray>
#include <QJsonObject>

#include <memory>

class MSPEffect;

// What the keypad's lights show: its active scene, played by the editor's own effect renderer
// (docs/effects.md). A frame is worked out when it is asked for, so nothing runs in between.
class SceneLights final {
public:
    /// The reply to "lights [SECONDS]": the active scene's frame now, or SECONDS after it started.
    static QByteArray reply(const KeypadState& state, const QByteArray& argument);
    /// The frame `seconds` after the active scene started, as JSON.
    static QJsonObject frame(const KeypadState& state, double seconds);
    /// A scene as the editor reads it from the keypad's reply: the same effect, the same colours.
    static std::unique_ptr<MSPEffect> effectOf(const SceneContent& scene, int profile);
};

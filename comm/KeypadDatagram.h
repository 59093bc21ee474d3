#pragma once

#include <QByteArray>

// One datagram from a keypad's notice port, decoded. Pure: no sockets, so every layout can be
// tested byte by byte.
class KeypadDatagram final {
public:
    enum class Kind { Ignored, SceneNotice, ConfigurationNotice };

    static constexpr int SceneNoticeSize = 16;
    static constexpr int ConfigurationNoticeSize = 17;
    static constexpr int FirstScene = 1;
    static constexpr int LastScene = 8;

    static KeypadDatagram parse(const QByteArray& datagram);

    Kind kind() const { return m_kind; }
    // The 1-based scene number of a scene notice as the keypad sent it (a signed byte), else 0.
    int sceneNumber() const { return m_sceneNumber; }
    // A scene notice naming a scene the keypad actually has.
    bool hasValidScene() const;

private:
    Kind m_kind = Kind::Ignored;
    int m_sceneNumber = 0;
};

#include "KeypadDatagram.h"

namespace {

constexpr char SceneHeader[] = {'\x04', '\x01', '\xDC', '\x4A', '\x01', '\x00', '\x01', '\x03'};
constexpr char ConfigurationHeader[] = {'\x04', '\x01', '\xDC', '\x4A', '\x01', '\x00', '\x03', '\x03'};
constexpr int HeaderSize = 8;
constexpr int SceneNumberOffset = 13;

bool startsWith(const QByteArray& datagram, const char (&header)[HeaderSize]) {
    return datagram.size() >= HeaderSize && datagram.startsWith(QByteArray::fromRawData(header, HeaderSize));
}

} // namespace

KeypadDatagram KeypadDatagram::parse(const QByteArray& datagram) {
    KeypadDatagram result;
    if (datagram.size() == SceneNoticeSize && startsWith(datagram, SceneHeader)) {
        result.m_kind = Kind::SceneNotice;
        result.m_sceneNumber = static_cast<signed char>(datagram.at(SceneNumberOffset));
    } else if (datagram.size() == ConfigurationNoticeSize && startsWith(datagram, ConfigurationHeader)) {
        result.m_kind = Kind::ConfigurationNotice;
    }
    return result;
}

bool KeypadDatagram::hasValidScene() const {
    return m_kind == Kind::SceneNotice && m_sceneNumber >= FirstScene && m_sceneNumber <= LastScene;
}

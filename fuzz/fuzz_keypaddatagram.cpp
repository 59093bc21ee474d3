// The keypad's notices: the kind a datagram is given agrees with its size and header, and a
// scene notice's scene is the byte the keypad sent.
#include "FuzzSupport.h"
#include "KeypadDatagram.h"

namespace {

const QByteArray SceneHeader = QByteArray::fromHex("0401dc4a01000103");
const QByteArray ConfigurationHeader = QByteArray::fromHex("0401dc4a01000303");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSupport::initialise();
    const QByteArray datagram = FuzzSupport::bytes(data, size);
    const KeypadDatagram notice = KeypadDatagram::parse(datagram);

    const bool scene = datagram.size() == KeypadDatagram::SceneNoticeSize && datagram.startsWith(SceneHeader);
    const bool configuration =
        datagram.size() == KeypadDatagram::ConfigurationNoticeSize && datagram.startsWith(ConfigurationHeader);
    const KeypadDatagram::Kind expected = scene           ? KeypadDatagram::Kind::SceneNotice
                                          : configuration ? KeypadDatagram::Kind::ConfigurationNotice
                                                          : KeypadDatagram::Kind::Ignored;
    FUZZ_CHECK(notice.kind() == expected, QString::fromLatin1(datagram.toHex()));

    const int sceneNumber = scene ? static_cast<signed char>(datagram.at(13)) : 0;
    FUZZ_CHECK(notice.sceneNumber() == sceneNumber, QString::number(notice.sceneNumber()));
    FUZZ_CHECK(notice.hasValidScene() ==
                   (scene && sceneNumber >= KeypadDatagram::FirstScene && sceneNumber <= KeypadDatagram::LastScene),
               QString::number(sceneNumber));
    return 0;
}

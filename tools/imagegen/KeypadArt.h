#pragma once

#include <QImage>
#include <QSize>
#include <QVector>

// The keypad's front plate and its eleven keys as the control panel shows them.
namespace KeypadArt {

enum class KeyState { Off, On, Down, Disabled };
enum class KeyFace { Scene, BrightnessDown, BrightnessUp, Power };

struct KeySpec {
    int imageNumber; // button_n: the plate's keys counted row by row
    KeyFace face;
    int sceneNumber; // 1-8 for scene keys, 0 otherwise
    QSize size;
};

// The eleven keys in image-number order, with the sizes of their places on the plate.
const QVector<KeySpec>& keys();

// Each picture in points, drawn at the scale (2 for screens at 200 %).
QImage background(qreal scale = 1);
QImage disabledOverlay(qreal scale = 1);
QImage key(const KeySpec& spec, KeyState state, qreal scale = 1);

// The whole plate with its keys as placed by the control panel, for the guide and for review; litScene
// 1-8 lights that scene key, 0 none.
QImage assembledPanel(int litScene, bool withOverlay);

// The assembled plate alone, cut from the wall, with its shadow on transparency.
QImage freestandingPlate(int litScene);

} // namespace KeypadArt

#pragma once

#include <QByteArray>
#include <QImage>

// The splash picture, the application icon and the small icons of the program.
namespace IconArt {

QImage splash();
QImage applicationIcon(int size);
// The application icon as a scalable drawing, from the same drawing code as the pictures.
QByteArray applicationIconSvg();

enum class Status { Connected, Discovering, Disconnected, Unreachable, Demo };
QImage statusIcon(Status status);

QImage question();
QImage reloadArrow();
QImage transparentBackground();
QImage colorSelection();
QImage userIcon();
QImage warningIndication();
QImage plusSign();
QImage minusSign();
QImage addColorGroup();
QImage importColors();
QImage exportColors();

} // namespace IconArt

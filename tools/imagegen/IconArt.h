#pragma once

#include <QByteArray>
#include <QImage>

// The splash picture, the application icon and the small icons of the program.
namespace IconArt {

// Each picture in points, drawn at the scale (2 for screens at 200 %).
QImage splash(qreal scale = 1);
QImage applicationIcon(int size, qreal scale = 1);
// The application icon as a scalable drawing, from the same drawing code as the pictures.
QByteArray applicationIconSvg();

enum class Status { Connected, Discovering, Disconnected, Unreachable, Demo };
QImage statusIcon(Status status, qreal scale = 1);

QImage question(qreal scale = 1);
QImage reloadArrow(qreal scale = 1);
QImage transparentBackground(qreal scale = 1);
QImage colorSelection(qreal scale = 1);
QImage userIcon(qreal scale = 1);
QImage warningIndication(qreal scale = 1);
QImage plusSign(qreal scale = 1);
QImage minusSign(qreal scale = 1);
QImage addColorGroup(qreal scale = 1);
QImage importColors(qreal scale = 1);
QImage exportColors(qreal scale = 1);

} // namespace IconArt

#pragma once

#include <QByteArray>
#include <QImage>

// Encodes images as PNG with only the row filters that cost next to nothing to undo (none, sub,
// up). Qt's writer lets the PNG library pick any filter, and it mostly picks Paeth, whose undoing
// was the largest single cost of the editor's start-up: the control panel's full-size images are
// decoded before the window shows.
class PngFile final {
public:
    // 8-bit RGBA, straight alpha; the same image gives the same bytes on every build.
    static QByteArray encode(const QImage& image);
};

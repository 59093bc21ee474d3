#pragma once

#include <QIcon>
#include <QPixmap>

namespace ZelColorPickerLib {

/**
 * The icons of the colour library widgets. The program's image resources win when they are
 * linked in (":/images/userIcon.png" and the like); without them the same pictures are drawn
 * here, so the widgets never show empty buttons.
 */
class ColorPickerIcons final {
public:
    /** @p resource is the image path, e.g. ":/images/addColorGroup.png". */
    static QIcon icon(const QString& resource);
    static QPixmap pixmap(const QString& resource, int size = 16);
};

} // namespace ZelColorPickerLib

#pragma once

#include "ZelColor.h"

#include <QPixmap>

namespace ZelColorPickerLib {

/**
 * The icons of colour rows in the colour library, drawn like a picker swatch: a dark grey frame
 * around a chequered ground (so translucent colours read as such) with the colour on top.
 * A chromaticity white is shown at full intensity (its tint, not its dimming), an N-channel
 * colour with a dark corner mark.
 */
class ColorThumbnail final {
public:
    static constexpr int Size = 13;

    /**
     * The thumbnail of @p color, Size x Size pixels:
     * `ZelColorLibrary::Instance()->setThumbnailGenerator(&ColorThumbnail::create)`.
     */
    static QPixmap create(const ZelColor& color);
    /** The same picture at any size (drag pictures, larger previews). */
    static QPixmap swatch(const ZelColor& color, int size);
};

} // namespace ZelColorPickerLib

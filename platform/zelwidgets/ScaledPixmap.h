#pragma once

#include <QPixmap>
#include <QString>

namespace ZelWidgetsLib {

/**
 * Pictures for screens at any scale. A picture "name.png" may have a twin "name@2x.png" drawn at twice
 * the size; Qt's style sheets and icons pick it by themselves, a plain QPixmap does not. These loads do,
 * and only where a screen needs it: at 100 % the twin is never read.
 */
class ScaledPixmap final {
public:
    /** The picture for screens of @p ratio (1 at 100 %, 2 at 200 %): the twin when it helps and exists. */
    static QPixmap load(const QString& path, qreal ratio);
    /** The picture for the sharpest of the application's screens. */
    static QPixmap load(const QString& path);
    /** Which file @p load reads for @p ratio. */
    static QString fileFor(const QString& path, qreal ratio);
    /** The picture's size in points, which is what a widget lays it out at. */
    static QSize pointSize(const QPixmap& pixmap);
};

} // namespace ZelWidgetsLib

#pragma once

#include <QPixmap>
#include <QWidget>

class QPainter;

namespace ZelColorPickerLib {

/**
 * Base of the drawn colour selectors: the tracking rule shared by all of them and the pieces
 * they paint alike (marker, focus frame, chequered ground).
 *
 * Tracking is allowed unless it is limited; a limited selector picks on a press only after the
 * previous press was released inside it.
 */
class ColorSelectorWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ColorSelectorWidget)

public:
    explicit ColorSelectorWidget(QWidget* parent = nullptr);

    void setTrackingLimited(bool limited) { m_trackingLimited = limited; }
    bool isTrackingLimited() const { return m_trackingLimited; }
    bool trackingAllowed() const { return !m_trackingLimited || m_mouseReleased; }

    /** The ground translucent colours are painted on; drawn in code when the image is missing. */
    static QPixmap transparentBackground();
    /** A 7 x 7 circle centred on @p center. */
    static void paintMarker(QPainter& painter, const QPoint& center);
    /** Four nested one-pixel frames around @p rect, from inside out white, white, dark grey, black. */
    static void paintFocusFrame(QPainter& painter, const QRect& rect);

protected:
    void setMouseReleased(bool released) { m_mouseReleased = released; }
    bool mouseReleased() const { return m_mouseReleased; }

private:
    bool m_trackingLimited = false;
    bool m_mouseReleased = true;
};

} // namespace ZelColorPickerLib

#pragma once

#include "ZelColor.h"

#include <QPoint>
#include <QWidget>

class QMenu;
class QMimeData;

namespace ZelColorPickerLib {

/**
 * One swatch of the picker: shows a colour on a chequered ground, is selected by a click,
 * starts colour drags and takes colour drops of the kind its page shows.
 */
class ColorViewWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ColorViewWidget)

public:
    enum DisplayMode { RgbDisplay = 1, WhiteDisplay = 3 };

    explicit ColorViewWidget(QWidget* parent = nullptr);

    ZelColor color() const { return m_color; }
    QString uid() const { return m_uid; }
    /** Takes the colour and its uid; the opacity follows the colour's alpha. */
    void setColor(const ZelColor& color, const QString& uid = QString());
    int opacity() const { return m_opacity; }
    /** Sets the opacity and the colour's alpha with it. */
    void setOpacity(int opacity);
    int displayMode() const { return m_displayMode; }
    void setDisplayMode(int mode);
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    bool isSelectable() const { return m_selectable; }
    void setSelectable(bool selectable);
    bool isMainSwatch() const { return m_mainSwatch; }
    void setMainSwatch(bool main) { m_mainSwatch = main; }

    /** Whether a swatch in @p displayMode takes @p color as a drop. */
    static bool acceptsColor(const ZelColor& color, int displayMode);
    /** What Reset shows: white on the RGB page, a 4000 K white at full intensity on the white page. */
    static ZelColor defaultColor(int displayMode);
    /** The swatch's context menu (the caller owns it). */
    QMenu* createContextMenu();

    QSize sizeHint() const override { return QSize(40, 40); }
    QSize minimumSizeHint() const override { return QSize(20, 20); }

signals:
    void colorChanged(ZelColor color, const QString& uid);
    void selected();
    void addToFavorites(ZelColor color, const QString& uid);
    void copyToMainColor(ZelColor color, const QString& uid);
    void openInRGBPicker(ZelColor color, const QString& uid);
    void openInWhitePicker(ZelColor color, const QString& uid);

public slots:
    void onAddToFavorites();
    void onCopyToMainColor();
    void onReset();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QRect swatchSquare() const;
    // Screen readers hear the colour: its name in the library, and its values.
    void updateAccessibleDescription();
    bool acceptsPayload(const QMimeData* data) const;

    ZelColor m_color = ZelColor::fromRgb8(255, 255, 255);
    QString m_uid;
    int m_opacity = 255;
    int m_displayMode = RgbDisplay;
    bool m_selected = false;
    bool m_selectable = false;
    bool m_mainSwatch = false;
    Qt::MouseButtons m_pressedButtons = Qt::NoButton;
    QPoint m_pressPos;
    QPixmap m_selectionImage;
};

} // namespace ZelColorPickerLib

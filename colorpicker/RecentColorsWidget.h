#pragma once

#include "ZelColor.h"

#include <QPointer>
#include <QWidget>

namespace ZelColorPickerLib {

class RecentColors;

/**
 * The colours last sent to the keypad (RecentColors) as small swatches under the caption
 * "Recent", most recent first, in rows of Columns. A click picks a colour and a drag carries it,
 * as with the colours of the library; the context menu clears the list.
 */
class RecentColorsWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(RecentColorsWidget)

public:
    static constexpr int Columns = 5;

    /** Shows @p list (the process-wide one when none is given). */
    explicit RecentColorsWidget(QWidget* parent = nullptr, RecentColors* list = nullptr);

    /** The colours shown, most recent first. */
    QList<ZelColor> colors() const;
    /** Where the swatch of colour @p index is drawn. */
    QRect cellRect(int index) const;
    /** The colour under @p position, or -1. */
    int cellAt(const QPoint& position) const;
    /** How a colour reads in the swatch's tool tip: its RGB values, or a white's temperature. */
    static QString describe(const ZelColor& color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void colorClicked(ZelColor color, const QString& uid);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The colour under the keyboard's cursor, for screen readers.
    void updateAccessibleDescription();

    int rows() const;
    int cellSize() const;
    int captionHeight() const;

    QPointer<RecentColors> m_list;
    QList<ZelColor> m_colors;
    int m_pressed = -1;
    int m_cursor = 0; // the colour the keyboard picks
    QPoint m_pressPos;
};

} // namespace ZelColorPickerLib

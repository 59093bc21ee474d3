#pragma once

#include "ColorZoomWidget.h"
#include "ZelColor.h"

#include <QPixmap>

namespace ZelColorPickerLib {

/**
 * A grid of the colours around one centre colour: hue changes by a step per column, saturation
 * per row (rows grow downward), brightness stays. Cells outside the hue or saturation range are
 * dark grey and cannot be picked.
 */
class HsbSpectrumZoomWidget : public ColorZoomWidget {
    Q_OBJECT
    Q_DISABLE_COPY(HsbSpectrumZoomWidget)

public:
    explicit HsbSpectrumZoomWidget(QWidget* parent = nullptr);

    /** Makes @p color the centre colour and selects the centre cell. */
    void setColor(const ZelColor& color);
    ZelColor centerColor() const { return m_center; }
    void setZoomLevel(int level);
    int zoomLevel() const { return m_level; }
    static constexpr int lowestLevel() { return 1; }
    static constexpr int highestLevel() { return 9; }
    int hueStep() const { return m_hueStep; }
    int saturationStep() const { return m_saturationStep; }
    QRectF zoomArea() const;

    int columns() const;
    int rows() const;
    /** The selected cell as column and row offsets from the centre cell. */
    QPoint selectedCell() const { return m_selected; }
    /** The rectangle of the cell at offsets (@p column, @p row). */
    QRect cellRect(int column, int row) const;
    /** The cell's colour; an empty colour when the cell is out of range. */
    ZelColor cellColor(int column, int row) const;

    QSize sizeHint() const override { return QSize(11 + 14 * 17, 11 + 14 * 3); }
    QSize minimumSizeHint() const override { return QSize(25, 25); }

    static constexpr int CellSize = 13;
    static constexpr int CellPitch = 14;

signals:
    void colorChanged(ZelColor color);
    void centerColorChanged(int hue, int saturation, int brightness, int transparency);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool cellAt(const QPoint& pos, QPoint* cell) const;
    void moveCenter(int hueSteps, int saturationSteps);
    void emitZoomArea();
    void startColorDrag(const ZelColor& color);
    void invalidate();

    ZelColor m_center = ZelColor::fromRgb8(255, 0, 0);
    int m_hue = 0;
    int m_saturation = 255;
    int m_value = 255;
    int m_alpha = 255;
    int m_level = 5;
    int m_hueStep = 7;
    int m_saturationStep = 5;
    QPoint m_selected;
    QPoint m_pressPos;
    bool m_pressed = false;
    // The cells change with the centre, the level and the size only, not with the selection.
    QPixmap m_cells;
    bool m_cellsValid = false;
    QRectF m_lastZoomArea;
};

} // namespace ZelColorPickerLib

#include "HsbSpectrumZoomWidget.h"

#include "ColorMimeData.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace ZelColorPickerLib {

namespace {

struct Steps {
    int hue;
    int saturation;
};

// Hue step in degrees per column, saturation step in 0..255 units per row, levels 1 to 9.
constexpr Steps zoomSteps[] = {{13, 9}, {11, 8}, {9, 7}, {8, 6}, {7, 5}, {6, 4}, {5, 3}, {3, 2}, {2, 1}};

const QColor outOfRange(Qt::darkGray);

int gridCount(int extent) {
    int count = (extent - 11) / HsbSpectrumZoomWidget::CellPitch;
    if (count % 2 == 0)
        --count;
    return qBound(1, count, 999);
}

} // namespace

HsbSpectrumZoomWidget::HsbSpectrumZoomWidget(QWidget* parent)
    : ColorZoomWidget(parent) {
    setObjectName(QStringLiteral("hsbSpectrumZoomWidget"));
    setZoomLevel(m_level);
}

void HsbSpectrumZoomWidget::setColor(const ZelColor& color) {
    m_center = color;
    m_hue = qBound(0, color.hue8(), 359);
    m_saturation = qBound(0, color.saturation8(), 255);
    m_value = qBound(0, color.value8(), 255);
    m_alpha = color.alpha8();
    m_selected = QPoint();
    invalidate();
}

void HsbSpectrumZoomWidget::setZoomLevel(int level) {
    m_level = qBound(lowestLevel(), level, highestLevel());
    m_hueStep = zoomSteps[m_level - 1].hue;
    m_saturationStep = zoomSteps[m_level - 1].saturation;
    m_selected = QPoint();
    invalidate();
}

int HsbSpectrumZoomWidget::columns() const {
    return gridCount(width());
}

int HsbSpectrumZoomWidget::rows() const {
    return gridCount(height());
}

QRectF HsbSpectrumZoomWidget::zoomArea() const {
    const int halfColumns = columns() / 2;
    const int halfRows = rows() / 2;
    const double x = (m_hue - halfColumns * m_hueStep) / 359.0;
    const double y = (255 - halfRows * m_saturationStep - m_saturation) / 255.0;
    const double w = (m_hue + halfColumns * m_hueStep) / 359.0 - x;
    const double h = (halfRows * m_saturationStep - m_saturation + 255) / 255.0 - y;
    return QRectF(x, y, w, h);
}

QRect HsbSpectrumZoomWidget::cellRect(int column, int row) const {
    const QPoint center = rect().center();
    return QRect(center.x() - CellSize / 2 + column * CellPitch, center.y() - CellSize / 2 + row * CellPitch, CellSize,
                 CellSize);
}

ZelColor HsbSpectrumZoomWidget::cellColor(int column, int row) const {
    const int hue = m_hue + column * m_hueStep;
    const int saturation = m_saturation - row * m_saturationStep;
    if (hue < 0 || hue > 359 || saturation < 0 || saturation > 255)
        return ZelColor();
    ZelColor color;
    color.setHsv8(hue, saturation, m_value, 255, 0);
    return color;
}

bool HsbSpectrumZoomWidget::cellAt(const QPoint& pos, QPoint* cell) const {
    const int halfColumns = columns() / 2;
    const int halfRows = rows() / 2;
    const QPoint origin = cellRect(-halfColumns, -halfRows).topLeft();
    const QPoint d = pos - origin;
    if (d.x() < 0 || d.y() < 0)
        return false;
    const int column = d.x() / CellPitch;
    const int row = d.y() / CellPitch;
    if (column >= columns() || row >= rows())
        return false;
    *cell = QPoint(column - halfColumns, row - halfRows);
    return true;
}

void HsbSpectrumZoomWidget::invalidate() {
    m_cellsValid = false;
    update();
    emitZoomArea();
}

void HsbSpectrumZoomWidget::emitZoomArea() {
    const QRectF area = zoomArea();
    if (area == m_lastZoomArea)
        return;
    m_lastZoomArea = area;
    emit zoomAreaChanged(area);
}

void HsbSpectrumZoomWidget::resizeEvent(QResizeEvent* event) {
    ColorZoomWidget::resizeEvent(event);
    m_selected.setX(qBound(-columns() / 2, m_selected.x(), columns() / 2));
    m_selected.setY(qBound(-rows() / 2, m_selected.y(), rows() / 2));
    invalidate();
}

void HsbSpectrumZoomWidget::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    if (!m_cellsValid || m_cells.size() != size() * ratio) {
        m_cells = QPixmap(size() * ratio);
        m_cells.setDevicePixelRatio(ratio);
        m_cells.fill(palette().color(QPalette::Window));
        QPainter cells(&m_cells);
        const int halfColumns = columns() / 2;
        const int halfRows = rows() / 2;
        for (int row = -halfRows; row <= halfRows; ++row) {
            for (int column = -halfColumns; column <= halfColumns; ++column) {
                const ZelColor color = cellColor(column, row);
                cells.fillRect(cellRect(column, row), color.isValid() ? color.toQColor() : outOfRange);
            }
        }
        m_cellsValid = true;
    }

    QPainter painter(this);
    painter.drawPixmap(0, 0, m_cells);
    const QRect selected = cellRect(m_selected.x(), m_selected.y());
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(selected.adjusted(-1, -1, 0, 0));
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(selected.adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        const int halfColumns = columns() / 2;
        const int halfRows = rows() / 2;
        const QRect grid(cellRect(-halfColumns, -halfRows).topLeft(), cellRect(halfColumns, halfRows).bottomRight());
        paintFocusFrame(painter, grid);
    }
}

void HsbSpectrumZoomWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_pressed = true;
    m_pressPos = event->pos();
}

void HsbSpectrumZoomWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressed || !(event->buttons() & Qt::LeftButton))
        return;
    if ((event->pos() - m_pressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    m_pressed = false;
    QPoint cell;
    if (!cellAt(m_pressPos, &cell))
        return;
    const ZelColor color = cellColor(cell.x(), cell.y());
    if (color.isValid())
        startColorDrag(color);
}

void HsbSpectrumZoomWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    QPoint cell;
    if (!cellAt(event->pos(), &cell))
        return;
    const ZelColor color = cellColor(cell.x(), cell.y());
    if (!color.isValid())
        return;
    m_selected = cell;
    update();
    ZelColor picked;
    picked.setHsv8(m_hue + cell.x() * m_hueStep, m_saturation - cell.y() * m_saturationStep, m_value, m_alpha, 0);
    emit colorChanged(picked);
}

void HsbSpectrumZoomWidget::moveCenter(int hueSteps, int saturationSteps) {
    m_hue = qBound(0, m_hue + hueSteps * m_hueStep, 359);
    m_saturation = qBound(0, m_saturation + saturationSteps * m_saturationStep, 255);
    m_center.setHsv8(m_hue, m_saturation, m_value, m_alpha, 0);
    emit centerColorChanged(m_hue, m_saturation, m_value, m_alpha);
    invalidate();
}

void HsbSpectrumZoomWidget::keyPressEvent(QKeyEvent* event) {
    QPoint move;
    switch (event->key()) {
    case Qt::Key_Left:
        move = QPoint(-1, 0);
        break;
    case Qt::Key_Right:
        move = QPoint(1, 0);
        break;
    case Qt::Key_Up:
        move = QPoint(0, -1);
        break;
    case Qt::Key_Down:
        move = QPoint(0, 1);
        break;
    default:
        ColorZoomWidget::keyPressEvent(event);
        return;
    }
    const QPoint target = m_selected + move;
    if (qAbs(target.x()) > columns() / 2 || qAbs(target.y()) > rows() / 2) {
        // At the edge of the grid the grid scrolls instead: rows grow downward, so Up is more saturation.
        moveCenter(move.x(), -move.y());
    } else {
        m_selected = target;
        update();
    }
    const ZelColor color = cellColor(m_selected.x(), m_selected.y());
    if (color.isValid()) {
        ZelColor picked = color;
        picked.setAlpha8(m_alpha);
        emit colorChanged(picked);
    }
}

void HsbSpectrumZoomWidget::startColorDrag(const ZelColor& color) {
    // RGB form: the RGB page's swatches take RGB colours only.
    ColorMimeData::Entry entry;
    entry.color = color.convertTo(ZelColor::Rgb);
    QDrag* drag = ColorMimeData::createDrag(this, {entry});
    drag->exec(Qt::CopyAction);
}

void HsbSpectrumZoomWidget::focusInEvent(QFocusEvent* event) {
    ColorZoomWidget::focusInEvent(event);
    update();
}

void HsbSpectrumZoomWidget::focusOutEvent(QFocusEvent* event) {
    ColorZoomWidget::focusOutEvent(event);
    update();
}

} // namespace ZelColorPickerLib

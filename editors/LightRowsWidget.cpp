#include "LightRowsWidget.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

// A light needs two pixels and a gap to be seen as one.
constexpr int minimumPitch = 3;
constexpr int margin = 4;
constexpr int largestLight = 18;
const QColor wallColor(0x1c, 0x1c, 0x1e);
const QColor rimColor(0x48, 0x48, 0x4c);

} // namespace

LightRowsWidget::LightRowsWidget(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("previewLights"));
    // The wall covers every pixel: nothing behind it needs drawing.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LightRowsWidget::setFrame(const EffectRenderer::Frame* frame, int ports, int lightsPerPort) {
    m_frame = frame;
    if (ports != m_ports || lightsPerPort != m_lightsPerPort) {
        m_ports = std::max(1, ports);
        m_lightsPerPort = std::max(1, lightsPerPort);
        placeLights();
    }
    update();
}

QVector<int> LightRowsWidget::shownLights(int lightsPerPort, int width) {
    const int fitting = std::max(1, width / minimumPitch);
    const int count = std::min(lightsPerPort, fitting);
    QVector<int> shown(count);
    for (int j = 0; j < count; ++j)
        shown[j] = count == 1 ? 0 : static_cast<int>(std::lround(double(j) * (lightsPerPort - 1) / (count - 1)));
    return shown;
}

QSize LightRowsWidget::sizeHint() const {
    return QSize(400, fontMetrics().height() * 5);
}

QSize LightRowsWidget::minimumSizeHint() const {
    return QSize(100, fontMetrics().height() * 3);
}

void LightRowsWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeLights();
}

void LightRowsWidget::placeLights() {
    m_cells.clear();
    const qreal ratio = devicePixelRatioF();
    m_wall = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    m_wall.setDevicePixelRatio(ratio);
    m_wall.fill(wallColor);
    const int innerWidth = width() - 2 * margin;
    const int innerHeight = height() - 2 * margin;
    if (innerWidth <= 0 || innerHeight <= 0)
        return;

    const QVector<int> shown = shownLights(m_lightsPerPort, innerWidth);
    const double pitch = double(innerWidth) / shown.size();
    const double rowPitch = double(innerHeight) / m_ports;
    const int diameter = std::clamp(static_cast<int>(std::min(pitch, rowPitch) * 0.8), 2, largestLight);

    QPainter painter(&m_wall);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath holes, rims;
    for (int port = 0; port < m_ports; ++port) {
        const double y = margin + rowPitch * (port + 0.5);
        for (int j = 0; j < shown.size(); ++j) {
            const double x = margin + pitch * (j + 0.5);
            const QRect rect(static_cast<int>(std::lround(x - diameter / 2.0)),
                             static_cast<int>(std::lround(y - diameter / 2.0)), diameter, diameter);
            m_cells.append({rect, port * m_lightsPerPort + shown.at(j)});
            holes.addEllipse(QRectF(rect));
            rims.addEllipse(QRectF(rect).adjusted(-1.0, -1.0, 1.0, 1.0));
        }
    }
    // A rim around each light, where there is room, so that a dark light still shows where it is.
    if (diameter >= 6 && std::min(pitch, rowPitch) >= diameter + 3)
        painter.fillPath(rims, rimColor);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillPath(holes, Qt::black);
}

void LightRowsWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (m_frame) {
        for (const Cell& cell : qAsConst(m_cells)) {
            if (cell.index < m_frame->size())
                painter.fillRect(cell.rect, QColor(m_frame->at(cell.index).screen));
        }
    }
    painter.drawImage(0, 0, m_wall);
}

#include "HsbTintsAndShadesWidget.h"

#include <QPainter>
#include <QtMath>

namespace ZelColorPickerLib {

namespace {

// The hexcone model, inlined: this runs once per pixel of the square.
QRgb hsvToRgb(double hue, double saturation, double value) {
    const double h = hue * 6.0;
    const int sector = qBound(0, static_cast<int>(h), 5);
    const double f = h - sector;
    const double p = value * (1.0 - saturation);
    const double q = value * (1.0 - saturation * f);
    const double t = value * (1.0 - saturation * (1.0 - f));
    double r = value, g = t, b = p;
    switch (sector) {
    case 1:
        r = q;
        g = value;
        b = p;
        break;
    case 2:
        r = p;
        g = value;
        b = t;
        break;
    case 3:
        r = p;
        g = q;
        b = value;
        break;
    case 4:
        r = t;
        g = p;
        b = value;
        break;
    case 5:
        r = value;
        g = p;
        b = q;
        break;
    default:
        break;
    }
    return qRgb(qRound(r * 255), qRound(g * 255), qRound(b * 255));
}

} // namespace

HsbTintsAndShadesWidget::HsbTintsAndShadesWidget(QWidget* parent)
    : GradientColorSelectorWidget(parent) {
    setObjectName(QStringLiteral("hsbTintsAndShadesWidget"));
}

void HsbTintsAndShadesWidget::setColor(const ZelColor& color) {
    m_saturation = color.saturationF();
    m_brightness = color.valueF();
    const double hue = color.saturationF() > 0.0 ? qBound(0.0, color.hueF(), 1.0) : 0.0;
    if (hue != m_hue)
        m_hue = hue;
    update();
}

void HsbTintsAndShadesWidget::stepLeft() {
    chooseColor(m_hue, m_saturation, qMin(m_brightness - KeyStep, MaximumBrightness));
}

void HsbTintsAndShadesWidget::stepRight() {
    chooseColor(m_hue, m_saturation, qMin(m_brightness + KeyStep, MaximumBrightness));
}

void HsbTintsAndShadesWidget::pickAt(int x, int y) {
    const QRect r = drawingRect();
    const QPointF d = offsetsOf(QPoint(x, y));
    const double brightness = qMin(d.x() / r.width(), MaximumBrightness);
    chooseColor(m_hue, 1.0 - d.y() / r.height(), brightness);
}

void HsbTintsAndShadesWidget::paintEvent(QPaintEvent*) {
    const QRect r = drawingRect();
    const QSize planeSize(r.width() + 1, r.height() + 1);
    if (m_plane.size() != planeSize || m_planeHue != m_hue) {
        m_plane = QImage(planeSize, QImage::Format_RGB32);
        const int w = planeSize.width();
        const int h = planeSize.height();
        for (int y = 0; y < h; ++y) {
            auto* line = reinterpret_cast<QRgb*>(m_plane.scanLine(y));
            const double saturation = 1.0 - double(y) / qMax(1, h - 1);
            for (int x = 0; x < w; ++x)
                line[x] = hsvToRgb(m_hue, saturation, double(x) / qMax(1, w - 1));
        }
        m_planeHue = m_hue;
    }

    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawImage(r.topLeft(), m_plane);
    paintMarker(painter, pointFor(m_brightness, 1.0 - m_saturation));
    if (hasFocus())
        paintFocusFrame(painter, QRect(r.topLeft(), planeSize).adjusted(0, 0, -1, -1));
}

} // namespace ZelColorPickerLib

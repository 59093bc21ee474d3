#include "BlackBodyCurveWidget.h"

#include "CCTImageUtils.h"
#include "CCTUtils.h"
#include "CieStandardObserver.h"
#include "ColorScience.h"
#include "ScaledPixmap.h"
#include "WhiteRange.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace ZelColorPickerLib {

namespace {

constexpr int Inset = 4; // room for the focus frame
const QColor OutsideLocusColor(72, 72, 72);
const QColor CurveColor(28, 28, 28);
const QColor OutlineColor(20, 20, 20);
const QColor WarningColor(196, 32, 32);
const QColor GamutColor(0, 84, 196);

QFont diagramFont(int pixelSize, bool bold = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QPolygonF spectralLocus() {
    QPolygonF locus;
    for (int i = 0; i < CieStandardObserver::sampleCount(); ++i) {
        double xyz[3];
        CieStandardObserver::colorMatching(i, &xyz[0], &xyz[1], &xyz[2]);
        const double sum = xyz[0] + xyz[1] + xyz[2];
        if (sum > 1e-9)
            locus << QPointF(xyz[0] / sum, xyz[1] / sum);
    }
    return locus;
}

// The sRGB colour that shows chromaticity (x, y) at its brightest displayable level.
QRgb chromaticityColor(double x, double y) {
    double xyz[3];
    ColorScience::xyYToXyz(1.0, x, y, xyz);
    double rgb[3];
    ColorScience::xyzToLinearSrgb(xyz, rgb);
    const double peak = qMax(rgb[0], qMax(rgb[1], rgb[2]));
    int channels[3];
    for (int i = 0; i < 3; ++i) {
        const double level = peak > 0 ? qBound(0.0, rgb[i] / peak, 1.0) : 0.0;
        channels[i] = qRound(ColorScience::linearToSrgb(level) * 255.0);
    }
    return qRgb(channels[0], channels[1], channels[2]);
}

QPixmap warningPixmap() {
    static const QPixmap pixmap = [] {
        const QPixmap image = ZelWidgetsLib::ScaledPixmap::load(QStringLiteral(":/images/WarningIndication.png"));
        if (!image.isNull()) {
            const qreal ratio = image.devicePixelRatio();
            QPixmap sized = image.scaledToHeight(qRound(16 * ratio), Qt::SmoothTransformation);
            sized.setDevicePixelRatio(ratio);
            return sized;
        }
        QPixmap fallback(16, 16);
        fallback.fill(Qt::transparent);
        QPainter painter(&fallback);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(120, 80, 0), 1));
        painter.setBrush(QColor(255, 196, 0));
        painter.drawPolygon(QPolygonF({QPointF(8, 1), QPointF(15, 15), QPointF(1, 15)}));
        painter.setPen(Qt::black);
        painter.setFont(diagramFont(11, true));
        painter.drawText(QRect(0, 4, 16, 12), Qt::AlignCenter, QStringLiteral("!"));
        return fallback;
    }();
    return pixmap;
}

} // namespace

BlackBodyCurveWidget::BlackBodyCurveWidget(QWidget* parent)
    : ColorSelectorWidget(parent) {
    setObjectName(QStringLiteral("blackBodyCurveWidget"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setCursor(Qt::CrossCursor);
    m_point = WhiteRange::instance().nearestAllowed(CCTUtils::getxyFromCCT(4000));
    m_requestedPoint = m_point;
    setAccessibleDescription(tr("Chromaticity diagram of the whites: the arrow keys move the point, Ctrl with R, G or "
                                "B moves it toward red, green or blue."));
    updateAccessibleName();
}

void BlackBodyCurveWidget::updateAccessibleName() {
    double cct = 0;
    double tint = 0;
    CCTUtils::getCCTAndTintFromxy(m_point.x(), m_point.y(), &cct, &tint);
    setAccessibleName(tr("White diagram: %1 K, tint %2").arg(qRound(cct)).arg(qRound(tint)));
}

QSize BlackBodyCurveWidget::sizeHint() const {
    return QSize(408, 308);
}

QSize BlackBodyCurveWidget::minimumSizeHint() const {
    return QSize(208, 158);
}

QRectF BlackBodyCurveWidget::imageRect() const {
    return QRectF(rect().adjusted(Inset, Inset, -Inset, -Inset));
}

QPointF BlackBodyCurveWidget::pointFromxy(const QPointF& xy) const {
    return CCTImageUtils::getPointFromxy(xy.x(), xy.y(), WhiteRange::diagramWindow(), imageRect());
}

QPointF BlackBodyCurveWidget::xyFromPoint(const QPointF& position) const {
    double x = 0;
    double y = 0;
    CCTImageUtils::getxyFromPoint(&x, &y, WhiteRange::diagramWindow(), position, imageRect());
    return QPointF(x, y);
}

ZelColor BlackBodyCurveWidget::color() const {
    ZelColor white;
    white.setYxyF(m_intensity, m_point.x(), m_point.y(), 1.0, 0);
    return white;
}

void BlackBodyCurveWidget::setColor(const ZelColor& color) {
    const ZelColor white = color.convertTo(ZelColor::Yxy);
    m_intensity = qBound(0.0, white.getY(), 1.0);
    m_requestedPoint = QPointF(white.getx(), white.gety());
    m_outside = !WhiteRange::instance().contains(m_requestedPoint);
    m_point = WhiteRange::instance().nearestAllowed(m_requestedPoint);
    updateAccessibleName();
    update();
}

void BlackBodyCurveWidget::setCCTAndTint(int cct, int tint) {
    m_point = WhiteRange::instance().nearestAllowed(CCTUtils::getxyFromCCTAndTint(cct, tint));
    m_outside = false;
    updateAccessibleName();
    update();
}

void BlackBodyCurveWidget::setFixtureProfile(ColorUtils::HueformProfileID profile) {
    if (profile == m_gamut.profile())
        return;
    m_gamut = FixtureGamut(profile);
    m_diagram = QImage();
    update();
}

bool BlackBodyCurveWidget::isOutsideFixtureGamut() const {
    return m_gamut.isValid() && !m_gamut.contains(m_point);
}

ZelColor BlackBodyCurveWidget::fixtureColor() const {
    const ZelColor made = m_gamut.produced(color());
    if (made.isValid() || !m_gamut.isValid())
        return made;
    // A dark point still has a chromaticity, which the fixture answers once it is brighter.
    ZelColor full;
    full.setYxyF(1.0, m_point.x(), m_point.y(), 1.0, 0);
    return m_gamut.produced(full);
}

void BlackBodyCurveWidget::setIntensity(double intensity) {
    m_intensity = qBound(0.0, intensity, 1.0);
}

void BlackBodyCurveWidget::moveTowardPrimary(const QPointF& primary, double step) {
    const QPointF toward = primary - m_point;
    const double length = std::hypot(toward.x(), toward.y());
    if (length <= 0)
        return;
    choose(WhiteRange::instance().move(m_point, toward / length * step));
}

void BlackBodyCurveWidget::choose(const QPointF& xy) {
    m_point = WhiteRange::instance().nearestAllowed(xy);
    m_outside = false;
    updateAccessibleName();
    update();
    emit colorChanged(color());
}

void BlackBodyCurveWidget::resizeEvent(QResizeEvent* event) {
    ColorSelectorWidget::resizeEvent(event);
    m_diagram = QImage();
}

void BlackBodyCurveWidget::renderDiagram() {
    const QRect area = imageRect().toRect();
    m_diagram = QImage(area.size(), QImage::Format_RGB32);
    if (area.isEmpty())
        return;
    const QRectF window = WhiteRange::diagramWindow();
    const QRectF local(QPointF(0, 0), QSizeF(area.size()));
    const QPolygonF locus = spectralLocus();

    // Pixel centres, one chromaticity each.
    for (int row = 0; row < area.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(m_diagram.scanLine(row));
        for (int column = 0; column < area.width(); ++column) {
            double x = 0;
            double y = 0;
            CCTImageUtils::getxyFromPoint(&x, &y, window, QPointF(column + 0.5, row + 0.5), local);
            line[column] =
                locus.containsPoint(QPointF(x, y), Qt::OddEvenFill) ? chromaticityColor(x, y) : OutsideLocusColor.rgb();
        }
    }

    QPainter painter(&m_diagram);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const auto at = [&](const QPointF& xy) { return CCTImageUtils::getPointFromxy(xy.x(), xy.y(), window, local); };

    // Grid every 0.05 with its values along the left and bottom edges.
    painter.setFont(diagramFont(9));
    for (int i = 5; i <= 11; ++i) {
        const double value = i * 0.05;
        const QPointF vertical = at(QPointF(value, window.top()));
        const QPointF horizontal = at(QPointF(window.left(), value));
        painter.setPen(QPen(QColor(0, 0, 0, 40), 1));
        if (vertical.x() > 0 && vertical.x() < local.width()) {
            painter.drawLine(QPointF(vertical.x(), 0), QPointF(vertical.x(), local.height()));
            painter.setPen(QColor(0, 0, 0, 150));
            painter.drawText(QRectF(vertical.x() + 2, local.height() - 13, 40, 12), Qt::AlignLeft,
                             QString::number(value, 'f', 2));
        }
        painter.setPen(QPen(QColor(0, 0, 0, 40), 1));
        if (horizontal.y() > 0 && horizontal.y() < local.height()) {
            painter.drawLine(QPointF(0, horizontal.y()), QPointF(local.width(), horizontal.y()));
            painter.setPen(QColor(0, 0, 0, 150));
            painter.drawText(QRectF(2, horizontal.y() - 12, 40, 12), Qt::AlignLeft, QString::number(value, 'f', 2));
        }
    }

    // Spectral locus: the edge of the visible colours.
    QPolygonF locusPoints;
    for (const QPointF& xy : locus)
        locusPoints << at(xy);
    painter.setPen(QPen(QColor(255, 255, 255, 160), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(locusPoints);

    // White range: a light veil inside the outline.
    QPolygonF outline;
    for (const QPointF& xy : WhiteRange::instance().polygon())
        outline << at(xy);
    painter.setBrush(QColor(255, 255, 255, 70));
    painter.setPen(QPen(OutlineColor, 1.5));
    painter.drawPolygon(outline);
    painter.setBrush(Qt::NoBrush);
    drawGamut(painter, local);

    // Black-body curve, beyond the range thinner.
    QPainterPath curve;
    QPainterPath inRange;
    for (int cct = 1600; cct <= 25000; cct += cct < 10000 ? 25 : 250) {
        const QPointF p = at(CCTUtils::getxyFromCCT(cct));
        if (curve.elementCount() == 0)
            curve.moveTo(p);
        else
            curve.lineTo(p);
        if (cct == WhiteRange::MinimumCCT)
            inRange.moveTo(p);
        else if (cct > WhiteRange::MinimumCCT && cct <= WhiteRange::MaximumCCT)
            inRange.lineTo(p);
    }
    painter.setPen(QPen(CurveColor, 1));
    painter.drawPath(curve);
    painter.setPen(QPen(CurveColor, 2));
    painter.drawPath(inRange);

    // Temperatures: a short isotemperature tick across the curve and its label.
    painter.setFont(diagramFont(10, true));
    const QFontMetrics metrics(painter.font());
    static const int labelled[] = {2000, 2500, 3000, 3500, 4000, 5000, 6500, 10000};
    for (const int cct : labelled) {
        const QPointF from = at(CCTUtils::getxyFromCCTAndTint(cct, -25));
        const QPointF to = at(CCTUtils::getxyFromCCTAndTint(cct, 25));
        painter.setPen(QPen(CurveColor, 1.5));
        painter.drawLine(from, to);
        const QString text = tr("@%1 K").arg(cct);
        const QSizeF size = metrics.size(0, text);
        // The curve rises to the right, so up and left of the tick's upper end the label stays
        // clear of it; where that leaves the diagram, down and right of the lower end.
        const QPointF top = at(CCTUtils::getxyFromCCTAndTint(cct, 25));
        QRectF box(top.x() - size.width() - 1, top.y() - size.height(), size.width(), size.height());
        if (!local.adjusted(6, 0, 0, -14).contains(box)) {
            const QPointF bottom = at(CCTUtils::getxyFromCCTAndTint(cct, -25));
            box.moveTo(bottom.x() + 3, bottom.y());
        }
        box.moveLeft(qBound(3.0, box.left(), local.width() - box.width() - 3));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 150));
        painter.drawRoundedRect(box.adjusted(-3, 0, 3, 0), 3, 3);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(CurveColor);
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

void BlackBodyCurveWidget::drawGamut(QPainter& painter, const QRectF& local) const {
    if (!m_gamut.isValid())
        return;
    const QRectF window = WhiteRange::diagramWindow();
    QPolygonF corners;
    for (const QPointF& xy : m_gamut.polygon())
        corners << CCTImageUtils::getPointFromxy(xy.x(), xy.y(), window, local);
    painter.save();
    if (corners.size() >= 3) {
        // What the fixture cannot make is hatched.
        QPainterPath outside;
        outside.addRect(local);
        QPainterPath inside;
        inside.addPolygon(corners);
        inside.closeSubpath();
        painter.fillPath(outside.subtracted(inside), QBrush(QColor(0, 0, 0, 70), Qt::BDiagPattern));
        painter.setPen(QPen(GamutColor, 2, Qt::DashLine));
        painter.drawPolygon(corners);
    } else if (corners.size() == 2) {
        painter.setPen(QPen(GamutColor, 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(corners[0], corners[1]);
    }
    painter.setPen(QPen(GamutColor, 2));
    painter.setBrush(Qt::white);
    for (const QPointF& corner : corners)
        painter.drawEllipse(corner, 3.5, 3.5);

    // Legend under the coordinates, in the top right corner.
    const QString text = tr("%1 gamut").arg(ColorUtils::hueformProfileIDName(m_gamut.profile()));
    painter.setFont(diagramFont(10, true));
    const QFontMetrics metrics(painter.font());
    const double width = metrics.horizontalAdvance(text) + 30;
    const QRectF box(local.right() - width - 6, 6 + metrics.height() + 10, width, metrics.height() + 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 190));
    painter.drawRoundedRect(box, 3, 3);
    painter.setPen(QPen(GamutColor, 2, corners.size() >= 3 ? Qt::DashLine : Qt::SolidLine));
    painter.drawLine(QPointF(box.left() + 4, box.center().y()), QPointF(box.left() + 20, box.center().y()));
    painter.setPen(GamutColor.darker(130));
    painter.drawText(box.adjusted(24, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
    painter.restore();
}

QRectF BlackBodyCurveWidget::paintWarning(QPainter& painter, const QPointF& topLeft, const QString& title,
                                          const QString& detail) const {
    const QPixmap warning = warningPixmap();
    const QSize warningSize = ZelWidgetsLib::ScaledPixmap::pointSize(warning);
    const QFont titleFont = diagramFont(11, true);
    const QFont detailFont = diagramFont(11);
    const QFontMetrics titleMetrics(titleFont);
    const QFontMetrics detailMetrics(detailFont);
    const double textWidth =
        qMax(titleMetrics.horizontalAdvance(title), detail.isEmpty() ? 0 : detailMetrics.horizontalAdvance(detail));
    const double textHeight = titleMetrics.height() + (detail.isEmpty() ? 0 : detailMetrics.height());
    const QRectF box(topLeft,
                     QSizeF(warningSize.width() + textWidth + 14, qMax<double>(warningSize.height(), textHeight) + 6));
    painter.setPen(QPen(WarningColor, 1));
    painter.setBrush(QColor(255, 255, 255, 220));
    painter.drawRoundedRect(box, 3, 3);
    painter.drawPixmap(QPointF(box.left() + 4, box.top() + 3), warning);
    const QRectF text = box.adjusted(warningSize.width() + 8, 3, 0, -3);
    painter.setPen(WarningColor);
    painter.setFont(titleFont);
    painter.drawText(QRectF(text.topLeft(), QSizeF(text.width(), titleMetrics.height())),
                     Qt::AlignVCenter | Qt::AlignLeft, title);
    if (!detail.isEmpty()) {
        painter.setPen(Qt::black);
        painter.setFont(detailFont);
        painter.drawText(QRectF(text.left(), text.top() + titleMetrics.height(), text.width(), detailMetrics.height()),
                         Qt::AlignVCenter | Qt::AlignLeft, detail);
    }
    return box;
}

void BlackBodyCurveWidget::paintEvent(QPaintEvent*) {
    const QRectF area = imageRect();
    if (m_diagram.isNull() || m_diagram.size() != area.toRect().size())
        renderDiagram();
    QPainter painter(this);
    painter.drawImage(area.topLeft(), m_diagram);
    if (hasFocus())
        paintFocusFrame(painter, area.toRect());

    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPointF chosen = pointFromxy(m_point);
    if (m_outside) {
        const QPointF requested = pointFromxy(m_requestedPoint);
        painter.setPen(QPen(WarningColor, 1.5, Qt::DashLine));
        painter.drawLine(requested, chosen);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(requested, 5, 5);
    }
    // What the fixture makes instead, joined to the point.
    const bool outsideGamut = isOutsideFixtureGamut();
    const ZelColor made = outsideGamut ? fixtureColor() : ZelColor();
    if (made.isValid()) {
        const QPointF madePoint = pointFromxy(QPointF(made.getx(), made.gety()));
        painter.setPen(QPen(GamutColor, 1.5, Qt::DashLine));
        painter.drawLine(chosen, madePoint);
        painter.setPen(QPen(GamutColor, 2));
        painter.setBrush(Qt::white);
        const QPointF diamond[] = {madePoint + QPointF(0, -5), madePoint + QPointF(5, 0), madePoint + QPointF(0, 5),
                                   madePoint + QPointF(-5, 0)};
        painter.drawPolygon(diamond, 4);
    }
    paintMarker(painter, chosen.toPoint());

    painter.setFont(diagramFont(11));
    const QFontMetrics metrics(painter.font());
    const QString coordinates = tr("x: %1, y: %2").arg(m_point.x(), 0, 'f', 4).arg(m_point.y(), 0, 'f', 4);
    QRectF textBox(area.right() - metrics.horizontalAdvance(coordinates) - 14, area.top() + 6,
                   metrics.horizontalAdvance(coordinates) + 8, metrics.height() + 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 190));
    painter.drawRoundedRect(textBox, 3, 3);
    painter.setPen(Qt::black);
    painter.drawText(textBox, Qt::AlignCenter, coordinates);

    QPointF warningAt(area.left() + 6, area.top() + 6);
    if (m_outside)
        warningAt.ry() += paintWarning(painter, warningAt, tr("Outside White Range"), QString()).height() + 4;
    if (outsideGamut) {
        const QString detail =
            made.isValid()
                ? tr("The fixture makes x: %1, y: %2").arg(made.getx(), 0, 'f', 4).arg(made.gety(), 0, 'f', 4)
                : QString();
        paintWarning(painter, warningAt, tr("Outside Fixture Gamut"), detail);
    }
}

void BlackBodyCurveWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !imageRect().contains(event->pos()) || !trackingAllowed())
        return;
    setMouseReleased(false);
    choose(xyFromPoint(event->pos()));
}

void BlackBodyCurveWidget::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) && (!isTrackingLimited() || mouseReleased()))
        choose(xyFromPoint(event->pos()));
}

void BlackBodyCurveWidget::mouseReleaseEvent(QMouseEvent*) {
    setMouseReleased(true);
}

void BlackBodyCurveWidget::keyPressEvent(QKeyEvent* event) {
    const double step = event->modifiers() & Qt::ShiftModifier ? 0.01 : 0.001;
    QPointF delta;
    switch (event->key()) {
    case Qt::Key_Left:
        delta = QPointF(-step, 0);
        break;
    case Qt::Key_Right:
        delta = QPointF(step, 0);
        break;
    case Qt::Key_Up:
        delta = QPointF(0, step);
        break;
    case Qt::Key_Down:
        delta = QPointF(0, -step);
        break;
    default:
        ColorSelectorWidget::keyPressEvent(event);
        return;
    }
    choose(WhiteRange::instance().move(m_point, delta));
}

} // namespace ZelColorPickerLib

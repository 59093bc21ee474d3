#include "KeypadArt.h"

#include "Painting.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QVector>
#include <QtMath>

using namespace Painting;

namespace KeypadArt {

namespace {

const QColor accent(41, 156, 255);
const QColor accentDeep(18, 104, 196);
const QRectF plateRect(30, 16, 340, 570);
// How far right of the panel's origin the overlay image starts (the panel puts it at x = -10).
const qreal overlayOffset = 10;

struct Placement {
    int imageNumber;
    QPoint position;
};

// Where the control panel puts each key image.
const Placement placements[] = {
    {1, {47, 36}},  {2, {202, 36}},  {3, {47, 126}}, {4, {202, 126}},  {5, {47, 215}},  {6, {202, 215}},
    {7, {47, 303}}, {8, {202, 303}}, {9, {47, 392}}, {10, {202, 392}}, {11, {46, 480}},
};

// The visible key: a rounded body inset from the image so its shadow and glow have room.
QRectF keyBody(const QSize& size) {
    const qreal height = qMin<qreal>(77, size.height() - 8);
    return QRectF(5, 4, size.width() - 10, height);
}

QPainterPath roundedPath(const QRectF& rect, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void drawSun(QPainter& p, const QPointF& centre, qreal radius, qreal rayLength, bool filled, const QColor& color) {
    p.save();
    QPen pen(color, 2.0, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(filled ? QBrush(color) : QBrush(Qt::NoBrush));
    p.drawEllipse(centre, radius, radius);
    for (int i = 0; i < 8; ++i) {
        const qreal angle = i * M_PI / 4;
        const QPointF direction(qCos(angle), qSin(angle));
        p.drawLine(centre + direction * (radius + 3.5), centre + direction * (radius + 3.5 + rayLength));
    }
    p.restore();
}

void drawPowerGlyph(QPainter& p, const QPointF& centre, qreal radius, const QColor& color) {
    p.save();
    p.setPen(QPen(color, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    // Qt's angles run counter-clockwise from three o'clock in 1/16 degree; leave a gap at twelve.
    p.drawArc(circle, (90 + 38) * 16, (360 - 76) * 16);
    p.drawLine(centre + QPointF(0, -radius - 2.5), centre + QPointF(0, -radius * 0.15));
    p.restore();
}

void drawCaption(QPainter& p, const QRectF& body, qreal baseline, const QString& text, const QColor& color) {
    spacedText(p, QPointF(body.center().x(), baseline), text, font(8.5, QFont::Bold), 2.6, color);
}

QString captionFor(const KeySpec& keySpec) {
    switch (keySpec.face) {
    case KeyFace::Scene:
        return QStringLiteral("SCENE");
    case KeyFace::BrightnessDown:
        return QStringLiteral("DIM");
    case KeyFace::BrightnessUp:
        return QStringLiteral("BRIGHT");
    case KeyFace::Power:
        return QStringLiteral("ON / OFF");
    }
    return QString();
}

} // namespace

const QVector<KeySpec>& keys() {
    static const QVector<KeySpec> list = [] {
        // Row by row, left to right: scene 1 | 5, 2 | 6, 3 | 7, 4 | 8, then down | up, then on/off.
        const int sceneOfImage[] = {1, 5, 2, 6, 3, 7, 4, 8};
        const int heightOfRow[] = {87, 86, 85, 86};
        QVector<KeySpec> result;
        for (int i = 0; i < 8; ++i)
            result.append({i + 1, KeyFace::Scene, sceneOfImage[i], QSize(152, heightOfRow[i / 2])});
        result.append({9, KeyFace::BrightnessDown, 0, QSize(152, 86)});
        result.append({10, KeyFace::BrightnessUp, 0, QSize(152, 86)});
        result.append({11, KeyFace::Power, 0, QSize(309, 88)});
        return result;
    }();
    return list;
}

QImage background(qreal scale) {
    QImage image = canvas(400, 600, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // The wall behind the plate.
    QLinearGradient wall(0, 0, 0, 600);
    wall.setColorAt(0, QColor(0xd9, 0xdc, 0xe0));
    wall.setColorAt(1, QColor(0xc4, 0xc9, 0xcf));
    p.fillRect(logicalRect(image), wall);
    glow(p, QPointF(200, 250), 380, QColor(255, 255, 255, 70));

    const QPainterPath plate = roundedPath(plateRect, 22);
    p.drawImage(0, 0, softShape(image, plate, QColor(20, 28, 38, 120), 14, QPointF(0, 6)));
    p.drawImage(0, 0, softShape(image, plate, QColor(20, 28, 38, 60), 3, QPointF(0, 1)));

    QLinearGradient face(plateRect.topLeft(), plateRect.bottomLeft());
    face.setColorAt(0, QColor(0xf6, 0xf7, 0xf8));
    face.setColorAt(0.55, QColor(0xe8, 0xea, 0xed));
    face.setColorAt(1, QColor(0xd8, 0xdb, 0xdf));
    p.fillPath(plate, face);
    brushedGrain(p, plate, 0x4c756d, 9);

    // A soft sheen across the upper left, as light falls on a satin finish.
    QLinearGradient sheen(plateRect.topLeft(), QPointF(plateRect.center().x(), plateRect.center().y()));
    sheen.setColorAt(0, QColor(255, 255, 255, 110));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillPath(plate, sheen);

    // The shallow bed the keys sit in.
    const QRectF bedRect(43, 30, 314, 545);
    const QPainterPath bed = roundedPath(bedRect, 14);
    p.fillPath(bed, QColor(40, 50, 62, 26));
    p.drawImage(0, 0, innerShadow(image, bed, QColor(20, 28, 38, 70), 4, QPointF(0, 2)));
    QPen bedEdge(QColor(255, 255, 255, 150), 1);
    p.strokePath(roundedPath(bedRect.adjusted(-0.5, -0.5, 0.5, 0.5), 14.5), bedEdge);

    // Bevel: a bright upper edge and a darker lower one.
    QLinearGradient bevel(plateRect.topLeft(), plateRect.bottomLeft());
    bevel.setColorAt(0, QColor(255, 255, 255, 230));
    bevel.setColorAt(0.5, QColor(255, 255, 255, 60));
    bevel.setColorAt(1, QColor(120, 128, 138, 120));
    p.strokePath(roundedPath(plateRect.adjusted(1.5, 1.5, -1.5, -1.5), 20.5), QPen(QBrush(bevel), 2));
    p.strokePath(roundedPath(plateRect.adjusted(0.5, 0.5, -0.5, -0.5), 21.5), QPen(QColor(70, 78, 90, 110), 1));

    // The maker's mark, engraved into the top rail.
    const QPointF mark(plateRect.center().x(), 26.5);
    const QString maker = QStringLiteral("LUMETTO");
    spacedText(p, mark + QPointF(0, 0.8), maker, font(7.5, QFont::Bold), 4.2, QColor(255, 255, 255, 210));
    spacedText(p, mark, maker, font(7.5, QFont::Bold), 4.2, QColor(128, 136, 146));
    return image;
}

QImage disabledOverlay(qreal scale) {
    // For the guide's pictures: the panel paints the same veil itself (PlateVeil). The panel places
    // the overlay 10 pixels left of its own edge, so the plate is shifted to meet it.
    QImage image = canvas(400, 600, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plate = plateRect.translated(overlayOffset, 0).adjusted(-1, -1, 1, 1);
    p.fillPath(roundedPath(plate, 23), QColor(228, 231, 235, 170));
    return image;
}

QImage key(const KeySpec& keySpec, KeyState state, qreal scale) {
    QImage image = canvas(keySpec.size.width(), keySpec.size.height(), scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const bool pressed = state == KeyState::Down;
    const QRectF body = keyBody(keySpec.size).translated(0, pressed ? 1 : 0);
    const qreal radius = 10;
    const QPainterPath shape = roundedPath(body, radius);

    // Under the key: a drop shadow for a raised key, a coloured halo for a lit one.
    switch (state) {
    case KeyState::Off:
        p.drawImage(0, 0, softShape(image, shape, QColor(20, 28, 38, 95), 3, QPointF(0, 1.5)));
        break;
    case KeyState::On:
        p.drawImage(0, 0, softShape(image, shape, accent, 6, QPointF(0, 0.5)));
        p.drawImage(0, 0, softShape(image, shape, withAlpha(accent, 160), 2, QPointF(0, 0)));
        p.drawImage(0, 0, softShape(image, shape, QColor(20, 28, 38, 60), 2, QPointF(0, 1.5)));
        break;
    case KeyState::Down:
        p.drawImage(0, 0, softShape(image, shape, QColor(20, 28, 38, 50), 1, QPointF(0, 0.5)));
        break;
    case KeyState::Disabled:
        p.drawImage(0, 0, softShape(image, shape, QColor(20, 28, 38, 30), 2, QPointF(0, 1)));
        break;
    }

    QLinearGradient face(body.topLeft(), body.bottomLeft());
    switch (state) {
    case KeyState::Off:
        face.setColorAt(0, QColor(0xfe, 0xfe, 0xff));
        face.setColorAt(1, QColor(0xe3, 0xe6, 0xea));
        break;
    case KeyState::On:
        face.setColorAt(0, QColor(0xfb, 0xfd, 0xff));
        face.setColorAt(1, QColor(0xdc, 0xea, 0xf8));
        break;
    case KeyState::Down:
        face.setColorAt(0, QColor(0xcc, 0xd1, 0xd7));
        face.setColorAt(1, QColor(0xdc, 0xe0, 0xe4));
        break;
    case KeyState::Disabled:
        face.setColorAt(0, QColor(0xee, 0xf0, 0xf2));
        face.setColorAt(1, QColor(0xe6, 0xe8, 0xeb));
        break;
    }
    p.fillPath(shape, face);

    if (pressed) {
        p.drawImage(0, 0, innerShadow(image, shape, QColor(20, 28, 38, 120), 4, QPointF(0, 2)));
    } else if (state != KeyState::Disabled) {
        // Upper highlight that gives the key its slight dome.
        QLinearGradient highlight(body.topLeft(), QPointF(body.left(), body.center().y()));
        highlight.setColorAt(0, QColor(255, 255, 255, 235));
        highlight.setColorAt(1, QColor(255, 255, 255, 0));
        p.strokePath(roundedPath(body.adjusted(1, 1, -1, -1), radius - 1), QPen(QBrush(highlight), 1.2));
    }

    QColor edge;
    switch (state) {
    case KeyState::Off:
        edge = QColor(70, 80, 92, 85);
        break;
    case KeyState::On:
        edge = withAlpha(accentDeep, 190);
        break;
    case KeyState::Down:
        edge = QColor(60, 68, 80, 120);
        break;
    case KeyState::Disabled:
        edge = QColor(70, 80, 92, 40);
        break;
    }
    p.strokePath(roundedPath(body.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5),
                 QPen(edge, state == KeyState::On ? 1.4 : 1));

    // The indicator slot: dark at rest, a lit LED when the key is active.
    const QRectF led(body.center().x() - 11, body.top() + 8, 22, 3.2);
    if (state == KeyState::On) {
        p.save();
        p.setClipPath(shape);
        glow(p, led.center(), 18, withAlpha(accent, 120));
        p.restore();
        p.setPen(QPen(withAlpha(accent, 220), 0.8));
        p.setBrush(QColor(150, 215, 255));
        p.drawRoundedRect(led, 1.6, 1.6);
    } else {
        // An unlit slot: a light lip below a dark groove reads as cut into the key.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, state == KeyState::Disabled ? 60 : 170));
        p.drawRoundedRect(led.translated(0, 1), 1.6, 1.6);
        p.setBrush(state == KeyState::Disabled ? QColor(0, 0, 0, 18) : QColor(60, 70, 82, pressed ? 90 : 70));
        p.drawRoundedRect(led, 1.6, 1.6);
    }

    QColor ink;
    switch (state) {
    case KeyState::Off:
        ink = QColor(0x48, 0x50, 0x5a);
        break;
    case KeyState::On:
        ink = accentDeep;
        break;
    case KeyState::Down:
        ink = QColor(0x35, 0x3b, 0x43);
        break;
    case KeyState::Disabled:
        ink = QColor(0xc0, 0xc5, 0xcb);
        break;
    }
    const QColor captionInk = state == KeyState::Disabled ? ink : withAlpha(ink, 170);
    const QPointF centre(body.center().x(), body.top() + 38);
    const qreal captionBaseline = body.top() + 66;

    switch (keySpec.face) {
    case KeyFace::Scene: {
        p.setFont(font(30, QFont::Normal));
        p.setPen(ink);
        const QRectF numeral(body.left(), centre.y() - 20, body.width(), 40);
        p.drawText(numeral, Qt::AlignCenter, QString::number(keySpec.sceneNumber));
        break;
    }
    case KeyFace::BrightnessDown:
        drawSun(p, centre, 5, 3.5, false, ink);
        break;
    case KeyFace::BrightnessUp:
        drawSun(p, centre, 7, 6.5, true, ink);
        break;
    case KeyFace::Power:
        drawPowerGlyph(p, centre, 11, ink);
        break;
    }
    drawCaption(p, body, captionBaseline, captionFor(keySpec), captionInk);
    return image;
}

QImage assembledPanel(int litScene, bool withOverlay) {
    QImage panel = background();
    QPainter p(&panel);
    for (const Placement& place : placements) {
        const KeySpec& keySpec = keys().at(place.imageNumber - 1);
        const bool lit = keySpec.face == KeyFace::Scene && keySpec.sceneNumber == litScene;
        const KeyState state = lit ? KeyState::On : KeyState::Off;
        p.drawImage(place.position, key(keySpec, state));
    }
    if (withOverlay)
        p.drawImage(QPointF(-overlayOffset, 0), disabledOverlay());
    return panel;
}

QImage freestandingPlate(int litScene) {
    const QImage panel = assembledPanel(litScene, false);
    const QPainterPath plate = roundedPath(plateRect, 22);
    QImage image = canvas(panel.width(), panel.height());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawImage(0, 0, softShape(image, plate, QColor(20, 28, 38, 110), 10, QPointF(0, 5)));
    p.setClipPath(plate);
    p.drawImage(0, 0, panel);
    p.end();
    return image.copy(plateRect.toAlignedRect().adjusted(-14, -10, 14, 20));
}

} // namespace KeypadArt

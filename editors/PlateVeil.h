#pragma once

#include <QLabel>

// The grey veil over the keypad's plate while no keypad can be played. Painted rather than taken
// from an image: a plate-sized picture cost as much to decode at start-up as all the keys together,
// and a megabyte of memory for a flat, rounded shape.
class PlateVeil : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY(PlateVeil)

public:
    // The plate, in the panel's coordinates, and the veil's colour.
    static const QRectF Plate;
    static const QColor Color;

    explicit PlateVeil(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

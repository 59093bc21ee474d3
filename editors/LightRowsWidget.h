#pragma once

#include "EffectRenderer.h"

#include <QImage>
#include <QVector>
#include <QWidget>

// One row of round lights per port, in the colours of a frame. Lights that do not fit are thinned
// evenly. The wall around the lights is drawn once for a size, so a frame costs one rectangle
// fill per light and one picture.
class LightRowsWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(LightRowsWidget)

public:
    explicit LightRowsWidget(QWidget* parent = nullptr);

    // The frame is the caller's and must live while it is shown; ports and lights say its shape.
    void setFrame(const EffectRenderer::Frame* frame, int ports, int lightsPerPort);

    // The lights of a port drawn across a width: all of them, or an even choice that keeps the
    // first and the last when they do not fit.
    static QVector<int> shownLights(int lightsPerPort, int width);
    // The lights drawn now, as frame indices, and where.
    struct Cell {
        QRect rect;
        int index = 0;
    };
    const QVector<Cell>& cells() const { return m_cells; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeLights();

    const EffectRenderer::Frame* m_frame = nullptr;
    int m_ports = 1;
    int m_lightsPerPort = 1;
    QVector<Cell> m_cells;
    // The wall with a hole for every light, at the size and pixel ratio it was made for.
    QImage m_wall;
};

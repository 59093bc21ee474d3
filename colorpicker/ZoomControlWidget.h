#pragma once

#include <QWidget>

class QSlider;
class QToolButton;

namespace ZelColorPickerLib {

/** Zoom out and in buttons around a level slider. */
class ZoomControlWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ZoomControlWidget)

public:
    explicit ZoomControlWidget(QWidget* parent = nullptr);

    /** The levels the zoom widget offers. */
    void setRange(int lowest, int highest);
    /** Shows @p level without emitting zoomLevelChanged. */
    void setZoomLevel(int level);
    int zoomLevel() const;

signals:
    void zoomLevelChanged(int level);

public slots:
    void zoomIn();
    void zoomOut();
    void onZoomSliderChanged(int value);

private:
    QToolButton* m_zoomInButton = nullptr;
    QSlider* m_zoomSlider = nullptr;
    QToolButton* m_zoomOutButton = nullptr;
};

} // namespace ZelColorPickerLib

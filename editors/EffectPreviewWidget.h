#pragma once

#include "EffectRenderer.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class LightRowsWidget;
class MSPEffect;
class QComboBox;
class QLabel;
class QToolButton;

// The lights of the keypad's ports playing a scene's effect, as the wall would show it: play and
// pause, back to the scene's start, and time-lapse for washes whose cycles last minutes. While
// hidden, paused or showing lights that do not change, no timer runs.
class EffectPreviewWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(EffectPreviewWidget)

public:
    explicit EffectPreviewWidget(QWidget* parent = nullptr);

    static const QList<int>& timeLapses();

    void setLightLayout(const EffectRenderer::Layout& layout);
    // Another scene starts the scene's clock again; a new effect or new parameters for the same
    // scene show at once, the clock running on, as on the keypad.
    void showScene(int sceneNumber, const MSPEffect* effect);

    bool isPlaying() const { return m_playing; }
    int timeLapse() const { return m_timeLapse; }
    // Seconds since the scene started, as far as the preview has played it.
    double sceneSeconds() const;
    // The frame shown now.
    const EffectRenderer::Frame& frame() const { return m_frame; }
    bool isAnimating() const { return m_timer.isActive(); }
    // How often moving lights are drawn; the screen's refresh rate unless set.
    void setFrameRate(double framesPerSecond);
    // Jumps to a time of the scene, playing on from there unless paused.
    void setSceneSeconds(double seconds);

public slots:
    void setPlaying(bool playing);
    void setTimeLapse(int factor);
    void restart();

signals:
    void timeLapseChanged(int factor);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void renderNow();
    void schedule();
    int frameIntervalMs() const;
    void updatePlayButton();

    EffectRenderer m_renderer;
    EffectRenderer::Frame m_frame;
    LightRowsWidget* m_lights = nullptr;
    QToolButton* m_playButton = nullptr;
    QToolButton* m_restartButton = nullptr;
    QComboBox* m_timeLapseBox = nullptr;
    QLabel* m_sceneLabel = nullptr;
    QLabel* m_timeLabel = nullptr;
    QTimer m_timer;

    int m_sceneNumber = 0;
    bool m_playing = true;
    bool m_iconsShown = false;
    int m_timeLapse = 1;
    double m_frameRate = 0.0;
    // Scene time when the wall clock last started.
    double m_startSeconds = 0.0;
    QElapsedTimer m_wall;
};

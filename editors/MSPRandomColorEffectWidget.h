#pragma once

#include "MSPEffectWidget.h"

class MSPRandomColorEffect;
class QCheckBox;
class QLabel;
class QSlider;

// Speed and fade of a random colour effect.
class MSPRandomColorEffectWidget : public MSPEffectWidget {
    Q_OBJECT
    Q_DISABLE_COPY(MSPRandomColorEffectWidget)

public:
    MSPRandomColorEffectWidget(QWidget* parent, qint32 kind);

    bool setEffect(MSPEffect* effect) override;

signals:
    void speedChanged(int speed);
    void fadeChanged(bool fade);

public slots:
    void setSpeed(int inSpeed);
    void setFade(bool inFade);
    void handleSpeedSliderChanged(int value);
    void handleFadeChanged(int state);

private:
    MSPRandomColorEffect* m_effect = nullptr;
    QSlider* m_speedSlider = nullptr;
    QLabel* m_speedValueLabel = nullptr;
    QCheckBox* m_fadeCheckBox = nullptr;
};

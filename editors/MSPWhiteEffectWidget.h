#pragma once

#include "MSPEffectWidget.h"

class MSPWhiteEffect;
class QLabel;
class QSlider;
class QSpinBox;

// Temperature and intensity of an RGB white effect; the Duo white editor only relabels the scale.
class MSPWhiteEffectWidget : public MSPEffectWidget {
    Q_OBJECT
    Q_DISABLE_COPY(MSPWhiteEffectWidget)

public:
    MSPWhiteEffectWidget(QWidget* parent, qint32 kind);

    bool setEffect(MSPEffect* effect) override;

signals:
    void temperatureChanged(int inTemperature);
    void brightnessChanged(int inBrightness);

public slots:
    void handleTemperatureSliderChanged(int inTemperature);
    void handleBrightnessSliderChanged(int inBrightness);
    void handleBrightnessEditChanged();

protected:
    // Shows the scale of two emitters (warm, neutral, cool) instead of the RGB one.
    void showDuoScale();

private:
    MSPWhiteEffect* m_effect = nullptr;
    QLabel* m_rgbCoolLabel = nullptr;
    QLabel* m_rgbWarmLabel = nullptr;
    QLabel* m_duoWarmLabel = nullptr;
    QLabel* m_duoNeutralLabel = nullptr;
    QLabel* m_duoCoolLabel = nullptr;
    QSlider* m_temperatureSlider = nullptr;
    QSlider* m_brightnessSlider = nullptr;
    QSpinBox* m_brightnessEdit = nullptr;
};

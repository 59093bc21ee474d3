#pragma once

#include "MSPEffect.h"

// White light of a colour temperature (0-255) at a brightness in percent.
class MSPWhiteEffect : public MSPEffect {
    Q_OBJECT
    Q_PROPERTY(int temperature READ temperature WRITE setTemperature NOTIFY temperatureChanged)
    Q_PROPERTY(int brightness READ brightness WRITE setBrightness NOTIFY brightnessChanged)

public:
    explicit MSPWhiteEffect(QObject* parent = nullptr, int type = RgbWhite);

    int temperature() const { return m_temperature; }
    int brightness() const { return m_brightness; }

    void setParams(const QStringList& params, const QList<ZelColor>& colors, int numColors,
                   ColorUtils::HueformProfileID profile, float Y, float x, float y) override;
    void getParams(QStringList* params, QList<ZelColor>* colors, float* Y, float* x, float* y) const override;

public slots:
    void setTemperature(int temperature);
    void setBrightness(int brightness);

signals:
    void temperatureChanged();
    void brightnessChanged();

private:
    int m_temperature = 0;
    int m_brightness = 100;
};

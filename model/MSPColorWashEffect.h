#pragma once

#include "MSPEffect.h"

// Colours running along the lights at a speed, left to right (0) or right to left (1).
class MSPColorWashEffect : public MSPEffect {
    Q_OBJECT
    Q_PROPERTY(int speed READ speed WRITE setSpeed NOTIFY speedChanged)
    Q_PROPERTY(int direction READ direction WRITE setDirection NOTIFY directionChanged)

public:
    static constexpr int minimumSpeed = 1;
    static constexpr int maximumSpeed = 32;

    explicit MSPColorWashEffect(QObject* parent = nullptr, int type = ColorWash);

    int speed() const { return m_speed; }
    int direction() const { return m_direction; }

    void setParams(const QStringList& params, const QList<ZelColor>& colors, int numColors,
                   ColorUtils::HueformProfileID profile, float Y, float x, float y) override;
    void getParams(QStringList* params, QList<ZelColor>* colors, float* Y, float* x, float* y) const override;

public slots:
    void setSpeed(int speed);
    void setDirection(int direction);

signals:
    void speedChanged(int speed);
    void directionChanged(int direction);

protected:
    // Speed and direction from the first two texts, clamped to what the keypad plays.
    void takeSpeedAndDirection(const QStringList& params);

private:
    int m_speed = 1;
    int m_direction = 0;
};

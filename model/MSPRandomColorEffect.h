#pragma once

#include "MSPEffect.h"

// Random colours changing at a speed, with or without a fade between them.
class MSPRandomColorEffect : public MSPEffect {
    Q_OBJECT
    Q_PROPERTY(int speed READ speed WRITE setSpeed NOTIFY speedChanged)
    Q_PROPERTY(bool fade READ fade WRITE setFade NOTIFY fadeChanged)

public:
    explicit MSPRandomColorEffect(QObject* parent = nullptr);

    int speed() const { return m_speed; }
    bool fade() const { return m_fade; }

    void setParams(const QStringList& params, const QList<ZelColor>& colors, int numColors,
                   ColorUtils::HueformProfileID profile, float Y, float x, float y) override;
    void getParams(QStringList* params, QList<ZelColor>* colors, float* Y, float* x, float* y) const override;

public slots:
    void setSpeed(int speed);
    void setFade(bool fade);

signals:
    void speedChanged();
    void fadeChanged();

private:
    int m_speed = 1;
    bool m_fade = false;
};

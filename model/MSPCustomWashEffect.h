#pragma once

#include "MSPColorWashEffect.h"

// A colour wash over a list of up to six colours, each band `width` lights wide.
class MSPCustomWashEffect : public MSPColorWashEffect {
    Q_OBJECT
    Q_PROPERTY(int width READ width WRITE setWidth NOTIFY widthChanged)

public:
    // The keypad keeps six colour slots per scene.
    static constexpr int maximumColors = 6;

    explicit MSPCustomWashEffect(QObject* parent = nullptr);

    int minimumWidth() const { return m_minimumWidth; }
    int maximumWidth() const { return m_maximumWidth; }
    int width() const { return m_width; }
    QStringList colorList() const { return m_colorList; }

    void setParams(const QStringList& params, const QList<ZelColor>& colors, int numColors,
                   ColorUtils::HueformProfileID profile, float Y, float x, float y) override;
    void getParams(QStringList* params, QList<ZelColor>* colors, float* Y, float* x, float* y) const override;

public slots:
    void setWidth(int width);
    // Keeps the first six colours: the keypad has no room for more.
    void setColorList(const QStringList& colorList);

signals:
    void widthChanged();
    void colorListChanged();

protected:
    MSPCustomWashEffect(QObject* parent, int type, int minimumWidth, int maximumWidth, int width);

private:
    int m_minimumWidth = 1;
    int m_maximumWidth = 32;
    int m_width = 1;
    QStringList m_colorList = {QStringLiteral("#ff0000"), QStringLiteral("#00ff00")};
};

#pragma once

#include "MSPEffect.h"

// One colour, sent to the keypad as red, green and blue (plus its chromaticity when it has one).
class MSPFixedColorEffect : public MSPEffect {
    Q_OBJECT
    Q_PROPERTY(QString color READ color WRITE setColor NOTIFY colorChanged)

public:
    explicit MSPFixedColorEffect(QObject* parent = nullptr, int type = FixedColor);

    QString color() const { return m_color; }

    void setParams(const QStringList& params, const QList<ZelColor>& colors, int numColors,
                   ColorUtils::HueformProfileID profile, float Y, float x, float y) override;
    void getParams(QStringList* params, QList<ZelColor>* colors, float* Y, float* x, float* y) const override;

public slots:
    void setColor(const QString& color);

signals:
    void colorChanged(QString color);

protected:
    // The colour of a chromaticity triple; false when the triple is all zero (parameters rule then).
    static bool chromaticityColor(float Y, float x, float y, ZelColor* color);
    // Writes the triple only for a chromaticity colour.
    static void chromaticityOf(const ZelColor& color, float* Y, float* x, float* y);
    void storeColor(const ZelColor& color);

private:
    QString m_color = QStringLiteral("#ff0000");
};

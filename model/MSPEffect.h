#pragma once

#include "ColorUtils.h"
#include "ZelColor.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

// One lighting effect of a scene. Each kind converts itself to and from the form in which the
// keypad stores it: up to three decimal parameter texts, a list of colours and one Y, x, y triple.
class MSPEffect : public QObject {
    Q_OBJECT

public:
    enum Type {
        FixedColor = 0,
        VariableColor = 1,
        ColorWash = 2,
        RainbowWash = 3,
        CustomWash = 4,
        RandomColor = 5,
        RgbWhite = 6,
        DuoWhite = 7,
    };
    static constexpr int typeCount = 8;

    MSPEffect(QObject* parent, int type);

    int type() const { return m_type; }

    // Display name of a type number; "undefined" outside 0-7.
    static QString nameForType(int type);

    // The three channel bytes of a colour under a fixture profile, as the keypad receives them.
    static void deviceBytes(const ZelColor& color, ColorUtils::HueformProfileID profile, int bytes[3]);
    // The profile every conversion uses: the system configuration's, read each time.
    static ColorUtils::HueformProfileID currentProfile();

public slots:
    // Takes the device form into the fields without emitting; data of the wrong shape is ignored.
    virtual void setParams(const QStringList& params, const QList<ZelColor>& colors, int numColors,
                           ColorUtils::HueformProfileID profile, float Y, float x, float y) = 0;
    // Empties the lists, zeroes the triple, then fills them with the device form.
    virtual void getParams(QStringList* params, QList<ZelColor>* colors, float* Y, float* x, float* y) const = 0;

signals:
    void effectParamsChanged();

protected:
    static void clearParams(QStringList* params, QList<ZelColor>* colors, float* Y, float* x, float* y);

private:
    Q_DISABLE_COPY(MSPEffect)

    const int m_type;
};

#pragma once

#include "MSPDocument.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QVector>

class MSPEffect;
class MSPSceneModel;
class SystemConfiguration;

// Effects, scenes and configurations in words and as data: every value named and given its unit
// the way the editors show it ("Color Wash, speed 5 (6 m), right to left"). The command line's
// summaries and the document comparison read through it, so a value reads the same wherever a
// person meets it.
class MSPDescription final {
    Q_DECLARE_TR_FUNCTIONS(MSPDescription)

public:
    // One named value of an effect or a configuration.
    struct Field {
        // Stable identifier, also the key in JSON: "speed", "lightsPerPort", "scene3Button".
        QString key;
        // Names the value for a person: "speed", "lights per port", "scene 3 button".
        QString label;
        // The value as data: a number, a bool or a text. "colors" holds a list of colour texts
        // (ZelColor::aName()), "brightness" the keypad's level 0-255 or "off".
        QJsonValue value;
        // The unit of the value ("%", "lights"); empty when it has none. The brightness has none:
        // its value is the keypad's level, its text a percentage.
        QString unit;
        // The value as a person reads it, unit included: "5 (6 m)", "4 lights", "right to left".
        QString valueText;
        // What the numbers mean, said once after the value: "0 cool, 255 warm"; mostly empty.
        QString scale;
        // Whether a summary names the value ("speed 5 (6 m)") or shows it alone ("right to left").
        bool labelled = true;

        // "speed 5 (6 m)", "right to left", "temperature 200 (0 cool, 255 warm)".
        QString text() const;
        // {"label", "value", "unit", "text"} and "scale" when there is one; text is valueText.
        QJsonObject toJson() const;
    };
    using Fields = QVector<Field>;

    // A scene's effect: its kind and its parameters in the order the editors show them.
    struct Effect {
        // MSPEffect::Type; -1 for a scene without effect.
        int type = -1;
        QString name;
        Fields parameters;

        // "Color Wash, speed 5 (6 m), right to left"; "no effect" for a scene without one.
        QString text() const;
        // {"type", "name", "text", "parameters": {key: Field::toJson()}}; null without an effect.
        QJsonValue toJson() const;
        // Null when the effect has no parameter of that key.
        const Field* parameter(const QString& key) const;
    };

    // A whole document: the scene it makes active, its eight scenes and its configuration.
    struct Document {
        // 0-7; -1 when the document names none.
        int currentScene = -1;
        QVector<Effect> scenes;
        Fields configuration;

        // One line per value: "current scene: 5", "scene 1: Color Wash, ...", "universe: 3", ...
        QStringList lines() const;
        // {"currentScene": 1-8 or null, "scenes": [{"scene": 1-8, "effect": Effect::toJson()}],
        //  "configuration": {key: Field::toJson()}}
        QJsonObject toJson() const;
    };

    // Parameter keys: "color" (fixed and variable colour); "speed", "direction" (washes);
    // "width", "colors" (custom and rainbow wash); "speed", "fade" (random colour); "temperature",
    // "intensity" (RGB and Duo white).
    static Effect effect(const MSPEffect* effect);
    // Keys, in this order: "name", "universe", "vexilMode", "ports", "lightsPerPort",
    // "fixtureProfile", "brightness", "scene1Button" ... "scene8Button", "onOffButton", "upButton",
    // "downButton", "version". The IP address is left out: documents do not carry it.
    static Fields configuration(const SystemConfiguration& configuration);
    static Document document(const MSPSceneModel& model, const SystemConfiguration& configuration, int currentScene);
    // Reads a document into scratch models; the shared ones are not touched. The read's result,
    // when asked for, tells whether the document was taken whole.
    static Document document(const QByteArray& data, MSPDocument::ReadResult* result = nullptr);

    // A colour text (ZelColor::aName()) as a person reads it: "#ff8000"; a chromaticity colour as
    // "x 0.3127 y 0.3290 Y 1.000"; a colour of fixture channels as its profile and levels.
    static QString colorText(const QString& color);
};

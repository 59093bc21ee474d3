#pragma once

#include "MSPDescription.h"
#include "MSPDocument.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QVector>

// What differs between two configuration documents: the current scene, each scene's effect kind,
// parameters and colours, and each configuration field, for a person (one line per difference,
// grouped by scene) and as data. Documents are read into scratch models, so the shared ones stay
// as they are: the editor compares what it holds of the keypad (MSPDocument::fileContents())
// with a file before sending it, the command line two files or keypads.
class MSPDocumentComparison final {
    Q_DECLARE_TR_FUNCTIONS(MSPDocumentComparison)

public:
    enum class Section { CurrentScene, Scene, Configuration };
    enum class Change { Changed, Added, Removed };

    struct Difference {
        Section section = Section::Scene;
        // The scene, 1-8, for Section::Scene; 0 otherwise.
        int scene = 0;
        // "currentScene"; "effect" when a scene's kind changes (or it gains or loses its effect);
        // an effect parameter's key ("speed", "colors", ...); a configuration field's key
        // ("name", "scene3Button", ...). The keys are those of MSPDescription.
        QString key;
        // The colour's position, 1-6, for one colour of a wash ("colors"); 0 otherwise.
        int index = 0;
        // "current scene", "effect", "speed", "colour 2", "name", ...
        QString label;
        // Added and Removed only for a wash's colours; everything else is Changed.
        Change change = Change::Changed;
        // Values as data (MSPDescription::Field::value; for "effect" MSPDescription::Effect::toJson()).
        // Null on the side an added or removed colour is missing from.
        QJsonValue before;
        QJsonValue after;
        // Values as a person reads them: "5 (6 m)", "\"Foyer\"", "Custom Wash, speed 5 (2 m), ...".
        // Empty on the side an added or removed colour is missing from.
        QString beforeText;
        QString afterText;
        // What the numbers mean, said once after both values ("0 cool, 255 warm"); mostly empty.
        QString scale;

        // "Scene 3: speed 5 (6 m) → 12 (1.25 m)", "Scene 4: colour 3 #0000ff added",
        // "Configuration: name "Foyer" → "Foyer West"", "Current scene: 2 → 5".
        QString text() const;
        // {"section": "currentScene" | "scene" | "configuration", "scene" (scenes only), "key",
        //  "index" (colours only), "label", "change": "changed" | "added" | "removed", "before",
        //  "after", "beforeText", "afterText", "scale" (when there is one), "text"}
        QJsonObject toJson() const;
    };

    // Reads both documents. Differences are listed only when both were read whole.
    MSPDocumentComparison(const QByteArray& before, const QByteArray& after);
    // Compares descriptions the caller already has.
    MSPDocumentComparison(const MSPDescription::Document& before, const MSPDescription::Document& after);

    // Both documents were read whole; see beforeRead() and afterRead() for why not.
    bool ok() const { return m_beforeRead.ok && m_afterRead.ok; }
    const MSPDocument::ReadResult& beforeRead() const { return m_beforeRead; }
    const MSPDocument::ReadResult& afterRead() const { return m_afterRead; }
    const MSPDescription::Document& before() const { return m_before; }
    const MSPDescription::Document& after() const { return m_after; }

    // Current scene first, then scenes 1 to 8 (kind, parameters in the editors' order, colours by
    // position), then the configuration fields in MSPDescription's order.
    const QVector<Difference>& differences() const { return m_differences; }
    // Both documents read, and nothing differs.
    bool isIdentical() const { return ok() && m_differences.isEmpty(); }

    // One line per difference, as Difference::text().
    QStringList lines() const;
    // The lines, each ending in a line break; empty when nothing differs.
    QString text() const;
    // {"identical": bool, "differences": [Difference::toJson()]}
    QJsonDocument json() const;

private:
    void compare();
    void compareEffects(int scene, const MSPDescription::Effect& before, const MSPDescription::Effect& after);
    void compareColors(int scene, const MSPDescription::Field& before, const MSPDescription::Field& after);
    void add(Difference difference);

    MSPDocument::ReadResult m_beforeRead;
    MSPDocument::ReadResult m_afterRead;
    MSPDescription::Document m_before;
    MSPDescription::Document m_after;
    QVector<Difference> m_differences;
};

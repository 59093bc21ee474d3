#pragma once

#include "SystemConfigurationCheck.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// The FIELD=VALUE arguments of set: each field a keypad's configuration has, checked as the
// System Configuration form checks it, before any keypad is asked. Fields are named by the keys
// show --json and diff use (universe, lightsPerPort, scene3Button, ...) or a short form (lights,
// scene3), in any case.
class ConfigurationAssignments final {
    Q_DECLARE_TR_FUNCTIONS(ConfigurationAssignments)

public:
    explicit ConfigurationAssignments(const QStringList& arguments);

    // One sentence for each argument that is refused, naming it; empty when all are taken.
    QStringList problems() const { return m_problems; }
    bool isValid() const { return m_problems.isEmpty(); }
    bool isEmpty() const { return m_assignments.isEmpty(); }

    // Whether a field beyond the form's is set: the brightness goes with the settings then.
    bool setsBrightness() const;
    // Whether a button's enabled state is set (only firmware with button switches has them).
    bool setsButtons() const;

    // Writes the values into the configuration, quietly, as the form's Save does.
    void applyTo(SystemConfiguration* configuration) const;
    // The fields (MSPDescription keys) whose value in configuration is not the one assigned, as
    // "universe=4"; empty when the keypad took them all.
    QStringList notTakenBy(const SystemConfiguration& configuration) const;

    // What the form would refuse to save: the name and the scene buttons of the whole configuration,
    // changed and unchanged fields alike.
    static QStringList check(const SystemConfiguration& configuration);

    // The fields and what they take, one line each, for --help.
    static QStringList fieldHelp();

private:
    struct Assignment {
        QString key;  // MSPDescription's key
        QString text; // as given, for messages
        int number = 0;
        bool enabled = false;
        QString name;
    };
    void parse(const QString& argument);
    bool takeNumber(Assignment* assignment, const QString& value, const SystemConfigurationCheck::Range& range,
                    const QString& label);

    QVector<Assignment> m_assignments;
    QStringList m_problems;
};

#include "ConfigurationAssignments.h"

#include "ColorUtils.h"
#include "SystemConfiguration.h"
#include "SystemConfigurationCheck.h"

#include <cmath>

namespace {

using Check = SystemConfigurationCheck;

struct ButtonField {
    const char* key;
    const char* alias;
    bool (SystemConfiguration::*state)() const;
    void (SystemConfiguration::*setState)(bool, bool);
};

const ButtonField ButtonFields[] = {
    {"scene1Button", "scene1", &SystemConfiguration::scene1CheckBoxState, &SystemConfiguration::setScene1CheckBoxState},
    {"scene2Button", "scene2", &SystemConfiguration::scene2CheckBoxState, &SystemConfiguration::setScene2CheckBoxState},
    {"scene3Button", "scene3", &SystemConfiguration::scene3CheckBoxState, &SystemConfiguration::setScene3CheckBoxState},
    {"scene4Button", "scene4", &SystemConfiguration::scene4CheckBoxState, &SystemConfiguration::setScene4CheckBoxState},
    {"scene5Button", "scene5", &SystemConfiguration::scene5CheckBoxState, &SystemConfiguration::setScene5CheckBoxState},
    {"scene6Button", "scene6", &SystemConfiguration::scene6CheckBoxState, &SystemConfiguration::setScene6CheckBoxState},
    {"scene7Button", "scene7", &SystemConfiguration::scene7CheckBoxState, &SystemConfiguration::setScene7CheckBoxState},
    {"scene8Button", "scene8", &SystemConfiguration::scene8CheckBoxState, &SystemConfiguration::setScene8CheckBoxState},
    {"onOffButton", "onoff", &SystemConfiguration::onOffCheckBoxState, &SystemConfiguration::setOnOffCheckBoxState},
    {"upButton", "up", &SystemConfiguration::upCheckBoxState, &SystemConfiguration::setUpCheckBoxState},
    {"downButton", "down", &SystemConfiguration::downCheckBoxState, &SystemConfiguration::setDownCheckBoxState},
};

const ButtonField* buttonField(const QString& key) {
    for (const ButtonField& field : ButtonFields) {
        if (key == QLatin1String(field.key))
            return &field;
    }
    return nullptr;
}

// The field's key for a name as typed: a key of show --json or a short form, in any case.
QString fieldKey(const QString& typed) {
    static const QList<QPair<QString, QStringList>> names = [] {
        QList<QPair<QString, QStringList>> list{
            {"name", {"name"}},
            {"universe", {"universe"}},
            {"vexilMode", {"vexilmode", "vexil"}},
            {"ports", {"ports", "numberofports"}},
            {"lightsPerPort", {"lightsperport", "lights"}},
            {"fixtureProfile", {"fixtureprofile", "profile", "fixture"}},
            {"brightness", {"brightness"}},
            {"ip", {"ip", "address", "ipaddress"}},
            {"version", {"version", "firmware"}},
        };
        for (const ButtonField& field : ButtonFields)
            list.append({QLatin1String(field.key), {QString::fromLatin1(field.key).toLower(), field.alias}});
        return list;
    }();
    const QString lower = typed.toLower();
    for (const auto& entry : names) {
        if (entry.second.contains(lower))
            return entry.first;
    }
    return QString();
}

bool buttonValue(const QString& text, bool* enabled) {
    const QString lower = text.toLower();
    for (const char* on : {"on", "enabled", "enable", "true", "yes", "1"}) {
        if (lower == QLatin1String(on)) {
            *enabled = true;
            return true;
        }
    }
    for (const char* off : {"off", "disabled", "disable", "false", "no", "0"}) {
        if (lower == QLatin1String(off)) {
            *enabled = false;
            return true;
        }
    }
    return false;
}

int profileFor(const QString& text) {
    const QList<ColorUtils::HueformProfileID> ids = ColorUtils::hueformProfileIDList();
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (isNumber)
        return ids.contains(number) ? number : -1;
    const QStringList names = ColorUtils::hueformProfileIDNameList();
    for (int i = 0; i < names.size(); ++i) {
        if (names.at(i).compare(text, Qt::CaseInsensitive) == 0)
            return ids.at(i);
    }
    return -1;
}

// The keypad's level 0-255, from a level, a percentage as the editor shows it, or "off" (-1).
bool brightnessValue(const QString& text, int* level) {
    if (text.compare(QLatin1String("off"), Qt::CaseInsensitive) == 0) {
        *level = -1;
        return true;
    }
    bool ok = false;
    if (text.endsWith(QLatin1Char('%'))) {
        const int percent = text.chopped(1).toInt(&ok, 10);
        *level = int(std::lround(percent * 255.0 / 100.0));
        return ok && percent >= 0 && percent <= 100;
    }
    *level = text.toInt(&ok, 10);
    return ok && SystemConfigurationCheck::brightnessRange.contains(*level);
}

// "0 RGB (sRGB)", "1 RGB LED", ...
QStringList profileEntries() {
    QStringList entries;
    for (ColorUtils::HueformProfileID id : ColorUtils::hueformProfileIDList())
        entries << QStringLiteral("%1 %2").arg(id).arg(ColorUtils::hueformProfileIDName(id));
    return entries;
}

QStringList fieldNames() {
    QStringList names{"name", "universe", "vexilMode", "ports", "lightsPerPort", "fixtureProfile", "brightness"};
    for (const ButtonField& field : ButtonFields)
        names << QLatin1String(field.key);
    return names;
}

} // namespace

ConfigurationAssignments::ConfigurationAssignments(const QStringList& arguments) {
    for (const QString& argument : arguments)
        parse(argument);
}

void ConfigurationAssignments::parse(const QString& argument) {
    const int equals = argument.indexOf(QLatin1Char('='));
    if (equals < 1) {
        m_problems << tr("%1: not FIELD=VALUE").arg(argument);
        return;
    }
    Assignment assignment;
    assignment.text = argument;
    assignment.key = fieldKey(argument.left(equals));
    const QString value = argument.mid(equals + 1);
    const auto refuse = [this, &argument](const QString& why) { m_problems << argument + QStringLiteral(": ") + why; };

    if (assignment.key.isEmpty()) {
        refuse(tr("no such field; the fields are %1").arg(fieldNames().join(QStringLiteral(", "))));
        return;
    }
    for (const Assignment& earlier : qAsConst(m_assignments)) {
        if (earlier.key == assignment.key) {
            refuse(tr("%1 is already set by %2").arg(assignment.key, earlier.text));
            return;
        }
    }
    if (assignment.key == QLatin1String("ip")) {
        refuse(tr("the address is not changed here: change it in the editor's System Configuration (Address, then "
                  "Save), which waits for the keypad and finds it again at its new address"));
        return;
    }
    if (assignment.key == QLatin1String("version")) {
        refuse(tr("the firmware version is the keypad's own and cannot be set"));
        return;
    }

    bool taken = true;
    if (assignment.key == QLatin1String("name")) {
        const QString problem = Check::nameProblem(value);
        if (!problem.isEmpty()) {
            refuse(problem);
            return;
        }
        assignment.name = value;
    } else if (assignment.key == QLatin1String("universe")) {
        taken = takeNumber(&assignment, value, Check::universeRange, tr("the universe"));
    } else if (assignment.key == QLatin1String("vexilMode")) {
        taken = takeNumber(&assignment, value, Check::VexilModeRange, tr("the Vexil mode"));
    } else if (assignment.key == QLatin1String("ports")) {
        taken = takeNumber(&assignment, value, Check::numberOfPortsRange, tr("the number of ports"));
    } else if (assignment.key == QLatin1String("lightsPerPort")) {
        taken = takeNumber(&assignment, value, Check::lightsPerPortRange, tr("the number of lights per port"));
    } else if (assignment.key == QLatin1String("fixtureProfile")) {
        assignment.number = profileFor(value);
        if (assignment.number < 0) {
            refuse(tr("no such fixture profile; the profiles are %1").arg(profileEntries().join(QStringLiteral(", "))));
            return;
        }
    } else if (assignment.key == QLatin1String("brightness")) {
        if (!brightnessValue(value, &assignment.number)) {
            refuse(tr("the brightness is a level from %1 to %2, a percentage from 0% to 100%, or off")
                       .arg(Check::brightnessRange.minimum)
                       .arg(Check::brightnessRange.maximum));
            return;
        }
    } else if (buttonField(assignment.key) && !buttonValue(value, &assignment.enabled)) {
        refuse(tr("a button is on (enabled) or off (disabled)"));
        return;
    }
    if (taken)
        m_assignments.append(assignment);
}

bool ConfigurationAssignments::takeNumber(Assignment* assignment, const QString& value,
                                          const SystemConfigurationCheck::Range& range, const QString& label) {
    bool ok = false;
    const int number = value.toInt(&ok, 10);
    if (!ok || !range.contains(number)) {
        m_problems << tr("%1: %2 is a whole number from %3 to %4")
                          .arg(assignment->text, label)
                          .arg(range.minimum)
                          .arg(range.maximum);
        return false;
    }
    assignment->number = number;
    return true;
}

bool ConfigurationAssignments::setsBrightness() const {
    for (const Assignment& assignment : m_assignments) {
        if (assignment.key == QLatin1String("brightness"))
            return true;
    }
    return false;
}

bool ConfigurationAssignments::setsButtons() const {
    for (const Assignment& assignment : m_assignments) {
        if (buttonField(assignment.key))
            return true;
    }
    return false;
}

void ConfigurationAssignments::applyTo(SystemConfiguration* c) const {
    for (const Assignment& a : m_assignments) {
        if (a.key == QLatin1String("name"))
            c->setName(a.name, false);
        else if (a.key == QLatin1String("universe"))
            c->setUniverse(a.number, false);
        else if (a.key == QLatin1String("vexilMode"))
            c->setVexilMode(a.number, false);
        else if (a.key == QLatin1String("ports"))
            c->setNumberOfPorts(a.number, false);
        else if (a.key == QLatin1String("lightsPerPort"))
            c->setLightsPerPort(a.number, false);
        else if (a.key == QLatin1String("fixtureProfile"))
            c->setFixtureClass(a.number, false);
        else if (a.key == QLatin1String("brightness"))
            c->setBrightness(a.number);
        else if (const ButtonField* field = buttonField(a.key))
            (c->*field->setState)(a.enabled, false);
    }
}

QStringList ConfigurationAssignments::notTakenBy(const SystemConfiguration& c) const {
    QStringList refused;
    for (const Assignment& a : m_assignments) {
        bool taken = true;
        if (a.key == QLatin1String("name"))
            taken = c.name() == a.name;
        else if (a.key == QLatin1String("universe"))
            taken = c.universe() == a.number;
        else if (a.key == QLatin1String("vexilMode"))
            taken = c.VexilMode() == a.number;
        else if (a.key == QLatin1String("ports"))
            taken = c.numberOfPorts() == a.number;
        else if (a.key == QLatin1String("lightsPerPort"))
            taken = c.lightsPerPort() == a.number;
        else if (a.key == QLatin1String("fixtureProfile"))
            taken = c.fixtureClass() == a.number;
        else if (a.key == QLatin1String("brightness"))
            taken = c.brightness() == a.number;
        else if (const ButtonField* field = buttonField(a.key))
            taken = (c.*field->state)() == a.enabled;
        if (!taken)
            refused << a.text;
    }
    return refused;
}

QStringList ConfigurationAssignments::check(const SystemConfiguration& c) {
    QStringList problems;
    const QString nameProblem = Check::nameProblem(c.name());
    if (!nameProblem.isEmpty())
        problems << tr("name \"%1\": %2").arg(c.name(), nameProblem);
    bool sceneStates[SystemConfiguration::sceneCount] = {};
    for (int i = 0; i < SystemConfiguration::sceneCount; ++i)
        sceneStates[i] = c.isSceneEnabled(i);
    if (!Check::anySceneEnabled(sceneStates))
        problems << Check::noSceneButtonMessage();
    return problems;
}

QStringList ConfigurationAssignments::fieldHelp() {
    QStringList profiles;
    QString row;
    for (const QString& profile : profileEntries()) {
        if (!row.isEmpty() && row.size() + profile.size() > 64) {
            profiles << QStringLiteral("                         ") + row + QLatin1Char(',');
            row.clear();
        }
        row += (row.isEmpty() ? QString() : QStringLiteral(", ")) + profile;
    }
    profiles << QStringLiteral("                         ") + row;
    QStringList lines{
        tr("  name=TEXT              1 to %1 characters, none of them &, \",\" or '\"'").arg(Check::nameMaximumLength),
        tr("  universe=N             %1 to %2").arg(Check::universeRange.minimum).arg(Check::universeRange.maximum),
        tr("  vexilMode=N            %1 or %2 (also vexil=)")
            .arg(Check::VexilModeRange.minimum)
            .arg(Check::VexilModeRange.maximum),
        tr("  ports=N                %1 to %2")
            .arg(Check::numberOfPortsRange.minimum)
            .arg(Check::numberOfPortsRange.maximum),
        tr("  lightsPerPort=N        %1 to %2 (also lights=)")
            .arg(Check::lightsPerPortRange.minimum)
            .arg(Check::lightsPerPortRange.maximum),
        tr("  fixtureProfile=N|NAME  by number or name (also profile=):"),
    };
    lines << profiles;
    lines << QStringList{
        tr("  brightness=N|P%|off    the keypad's level 0 to 255, a percentage, or off"),
        tr("  scene1Button=on|off    ... scene8Button, onOffButton, upButton, downButton (also scene1=, onoff=,"),
        tr("                         up=, down=); on and off may also be written enabled and disabled"),
    };
    return lines;
}

#include "KeypadState.h"

#include <QJsonArray>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace {

using Pair = std::pair<QByteArray, QByteArray>;

// "a=1&b=2", as a keypad reads it: no percent-decoding (the editor sends none), empty parts
// between '&' skipped, every other part must have its '='.
std::optional<QList<Pair>> splitBody(const QByteArray& body, QString& error) {
    QList<Pair> pairs;
    for (const QByteArray& part : body.split('&')) {
        if (part.isEmpty())
            continue;
        const int eq = part.indexOf('=');
        if (eq <= 0) {
            error = QStringLiteral("malformed field \"%1\"").arg(QString::fromLatin1(part));
            return std::nullopt;
        }
        pairs.append({part.left(eq), part.mid(eq + 1)});
    }
    return pairs;
}

// Plain decimal: digits only, no sign, no leading zeros.
std::optional<quint32> number(const QByteArray& text, quint32 max) {
    if (text.isEmpty() || text.size() > 10 || (text.size() > 1 && text.at(0) == '0'))
        return std::nullopt;
    quint64 value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<quint64>(c - '0');
    }
    if (value > max)
        return std::nullopt;
    return static_cast<quint32>(value);
}

// "(a,b,c)" with each number at most max.
std::optional<std::array<quint16, 3>> triple(const QByteArray& text, quint32 max) {
    if (text.size() < 7 || text.front() != '(' || text.back() != ')')
        return std::nullopt;
    const QList<QByteArray> parts = text.mid(1, text.size() - 2).split(',');
    if (parts.size() != 3)
        return std::nullopt;
    std::array<quint16, 3> result{};
    for (int i = 0; i < 3; ++i) {
        const auto value = number(parts.at(i), max);
        if (!value)
            return std::nullopt;
        result[static_cast<size_t>(i)] = static_cast<quint16>(*value);
    }
    return result;
}

QString tripleText(const std::array<quint16, 3>& t) {
    return QStringLiteral("(%1,%2,%3)").arg(t[0]).arg(t[1]).arg(t[2]);
}

QByteArray xmlEscaped(const QString& text) {
    return text.toHtmlEscaped().toLatin1();
}

QByteArray num(int value) {
    return QByteArray::number(value);
}

// Parameter count of each effect kind, and the largest value of each parameter.
struct EffectForm {
    std::array<quint32, 3> max;
    int count;
    bool colours;
};

std::optional<EffectForm> effectForm(int effect) {
    switch (effect) {
    case 0: // fixed colour: red, green, blue
    case 1: // variable colour: hue, saturation, value
        return EffectForm{{255, 255, 255}, 3, false};
    case 2: // colour wash: speed, direction
        return EffectForm{{65535, 1, 0}, 2, false};
    case 3: // rainbow wash and custom wash: speed, direction, width
    case 4:
        return EffectForm{{65535, 1, 65535}, 3, true};
    case 5: // random colour: speed, fade
        return EffectForm{{65535, 1, 0}, 2, false};
    case 6: // white and duo white: temperature, brightness
    case 7:
        return EffectForm{{65535, 255, 0}, 2, false};
    default:
        return std::nullopt;
    }
}

constexpr int MaxColours = 16;
constexpr int ColourSlots = 6;

QJsonArray tripleJson(const std::array<quint16, 3>& t) {
    return QJsonArray{t[0], t[1], t[2]};
}

QJsonObject sceneJson(const SceneContent& scene) {
    QJsonArray params;
    for (quint16 p : scene.params)
        params.append(p);
    QJsonArray colours;
    for (const SceneContent::Colour& c : scene.colours)
        colours.append(
            QJsonObject{{QStringLiteral("bytes"), tripleJson(c.bytes)}, {QStringLiteral("xy"), tripleJson(c.xy)}});
    return QJsonObject{{QStringLiteral("effect"), scene.effect},
                       {QStringLiteral("params"), params},
                       {QStringLiteral("xy"), tripleJson(scene.xy)},
                       {QStringLiteral("colours"), colours},
                       {QStringLiteral("query"), KeypadState::queryText(scene)}};
}

bool validIPv4(const QByteArray& text) {
    const QList<QByteArray> parts = text.split('.');
    if (parts.size() != 4)
        return false;
    for (const QByteArray& part : parts)
        if (!number(part, 255))
            return false;
    return true;
}

} // namespace

bool KeypadConfig::operator==(const KeypadConfig& o) const {
    return name == o.name && ip == o.ip && version == o.version && universe == o.universe && vexil == o.vexil &&
           numPorts == o.numPorts && numLights == o.numLights && profile == o.profile && level == o.level &&
           on == o.on && switches == o.switches;
}

KeypadState::KeypadState(const KeypadConfig& factory)
    : m_factory(factory) {
    factoryReset();
}

void KeypadState::factoryReset() {
    const QString ip = m_config.ip.isEmpty() ? m_factory.ip : m_config.ip;
    m_config = m_factory;
    // A reset keeps the keypad reachable where it is.
    m_config.ip = ip;
    const QList<SceneContent> scenes = factoryScenes();
    for (int i = 0; i < SceneCount; ++i)
        m_saved[static_cast<size_t>(i)] = m_live[static_cast<size_t>(i)] = scenes.at(i);
    m_active = 1;
    m_activeSince = std::chrono::steady_clock::now();
}

QList<SceneContent> KeypadState::factoryScenes() {
    auto colour = [](quint16 r, quint16 g, quint16 b) { return SceneContent::Colour{{{r, g, b}}, {}}; };
    QList<SceneContent> scenes;
    scenes.append({0, {255, 0, 0}, {}, {}});
    scenes.append({1, {170, 255, 255}, {}, {}});
    scenes.append({2, {5, 1}, {}, {}});
    scenes.append({3, {10, 0, 8}, {}, {}});
    scenes.append({4, {1, 0, 1}, {}, {colour(255, 0, 0), colour(0, 0, 255)}});
    scenes.append({5, {10, 1}, {}, {}});
    scenes.append({6, {4000, 255}, {}, {}});
    scenes.append({7, {3000, 128}, {}, {}});
    return scenes;
}

QString KeypadState::queryText(const SceneContent& scene) {
    QString text = QStringLiteral("effect=%1").arg(scene.effect);
    for (int i = 0; i < scene.params.size(); ++i)
        text += QStringLiteral("&param%1=%2").arg(i + 1).arg(scene.params.at(i));
    text += QStringLiteral("&param_xy=") + tripleText(scene.xy);
    text += QStringLiteral("&num_colors=%1").arg(scene.colours.size());
    for (int k = 0; k < scene.colours.size(); ++k) {
        text += QStringLiteral("&color%1=").arg(k + 1) + tripleText(scene.colours.at(k).bytes);
        text += QStringLiteral("&custom_xy_%1=").arg(k + 1) + tripleText(scene.colours.at(k).xy);
    }
    return text;
}

bool KeypadState::hasButtonFeature() const {
    const QStringList parts = m_config.version.split(QLatin1Char('.'));
    if (parts.size() != 3)
        return false;
    const int major = parts.at(0).toInt(), minor = parts.at(1).toInt(), patch = parts.at(2).toInt();
    // As the editor assumes: the switches arrived in 1.1.15 and every later firmware keeps them.
    return major > 1 || (major == 1 && minor >= 2) || (major == 1 && minor == 1 && patch > 14);
}

bool KeypadState::selectScene(int scene) {
    if (scene < 1 || scene > SceneCount || scene == m_active)
        return false;
    m_active = scene;
    m_activeSince = std::chrono::steady_clock::now();
    return true;
}

KeypadState::Outcome KeypadState::postScene(int scene, const QByteArray& body) {
    Outcome outcome;
    auto refuse = [&outcome](const QString& error) {
        outcome.ok = false;
        outcome.status = 400;
        outcome.error = error;
        return outcome;
    };
    if (scene < 1 || scene > SceneCount)
        return refuse(QStringLiteral("no scene %1").arg(scene));
    if (body.isEmpty()) {
        outcome.sceneSelected = selectScene(scene);
        return outcome;
    }
    QString error;
    const auto pairs = splitBody(body, error);
    if (!pairs)
        return refuse(error);

    std::optional<QByteArray> apply;
    QHash<QByteArray, QByteArray> fields;
    for (const Pair& pair : *pairs) {
        if (pair.first == "apply") {
            if (apply)
                return refuse(QStringLiteral("apply given twice"));
            apply = pair.second;
        } else if (fields.contains(pair.first)) {
            return refuse(QStringLiteral("%1 given twice").arg(QString::fromLatin1(pair.first)));
        } else {
            fields.insert(pair.first, pair.second);
        }
    }
    if (apply && *apply != "1" && *apply != "0")
        return refuse(QStringLiteral("apply must be 1 or 0"));

    if (!fields.isEmpty()) {
        if (!fields.contains("effect"))
            return refuse(QStringLiteral("effect missing"));
        SceneContent content;
        const auto effect = number(fields.take("effect"), 7);
        const auto form = effect ? effectForm(static_cast<int>(*effect)) : std::nullopt;
        if (!form)
            return refuse(QStringLiteral("effect must be 0 to 7"));
        content.effect = static_cast<int>(*effect);
        for (int i = 0; i < form->count; ++i) {
            const QByteArray key = "param" + QByteArray::number(i + 1);
            if (!fields.contains(key))
                return refuse(QStringLiteral("%1 missing for effect %2").arg(QString::fromLatin1(key)).arg(*effect));
            const auto value = number(fields.take(key), form->max[static_cast<size_t>(i)]);
            if (!value)
                return refuse(QStringLiteral("%1 out of range").arg(QString::fromLatin1(key)));
            content.params.append(static_cast<quint16>(*value));
        }
        const auto xy = fields.contains("param_xy") ? triple(fields.take("param_xy"), 65535) : std::nullopt;
        if (!xy)
            return refuse(QStringLiteral("param_xy missing or not (x,y,Y)"));
        content.xy = *xy;
        const auto count = fields.contains("num_colors") ? number(fields.take("num_colors"), MaxColours) : std::nullopt;
        if (!count)
            return refuse(QStringLiteral("num_colors missing or out of range"));
        if (*count > 0 && !form->colours)
            return refuse(QStringLiteral("effect %1 takes no colours").arg(*effect));
        for (quint32 k = 1; k <= *count; ++k) {
            const QByteArray colourKey = "color" + QByteArray::number(k);
            const QByteArray xyKey = "custom_xy_" + QByteArray::number(k);
            const auto bytes = fields.contains(colourKey) ? triple(fields.take(colourKey), 255) : std::nullopt;
            const auto colourXy = fields.contains(xyKey) ? triple(fields.take(xyKey), 65535) : std::nullopt;
            if (!bytes || !colourXy)
                return refuse(QStringLiteral("colour %1 missing or malformed").arg(k));
            content.colours.append({*bytes, *colourXy});
        }
        if (!fields.isEmpty())
            return refuse(QStringLiteral("unexpected field %1").arg(QString::fromLatin1(fields.keys().first())));
        m_live[static_cast<size_t>(scene - 1)] = content;
    }
    if (apply == "1")
        m_saved[static_cast<size_t>(scene - 1)] = m_live[static_cast<size_t>(scene - 1)];
    else if (apply == "0")
        m_live[static_cast<size_t>(scene - 1)] = m_saved[static_cast<size_t>(scene - 1)];
    return outcome;
}

KeypadState::Outcome KeypadState::postConfig(const QByteArray& body) {
    Outcome outcome;
    auto refuse = [&outcome](const QString& error) {
        outcome.ok = false;
        outcome.status = 400;
        outcome.error = error;
        return outcome;
    };
    QString error;
    const auto pairs = splitBody(body, error);
    if (!pairs)
        return refuse(error);
    if (pairs->isEmpty())
        return refuse(QStringLiteral("empty configuration post"));

    KeypadConfig next = m_config;
    QSet<QByteArray> seen;
    bool reset = false;
    for (const Pair& pair : *pairs) {
        const QByteArray& key = pair.first;
        const QByteArray& value = pair.second;
        const QString keyText = QString::fromLatin1(key);
        if (key != "enable_switch" && key != "disable_switch") {
            if (seen.contains(key))
                return refuse(QStringLiteral("%1 given twice").arg(keyText));
            seen.insert(key);
        }
        auto ranged = [&](int& field, quint32 min, quint32 max) {
            const auto n = number(value, max);
            if (!n || *n < min)
                return false;
            field = static_cast<int>(*n);
            return true;
        };
        bool ok = true;
        if (key == "name") {
            // Control characters could not stand in the XML replies.
            ok = value.size() < 64 &&
                 std::none_of(value.cbegin(), value.cend(), [](char c) { return c >= 0 && (c < 0x20 || c == 0x7F); });
            next.name = QString::fromLatin1(value);
        } else if (key == "universe") {
            ok = ranged(next.universe, 0, 255);
        } else if (key == "vexil") {
            ok = ranged(next.vexil, 1, 2);
        } else if (key == "num_ports") {
            ok = ranged(next.numPorts, 1, 16);
        } else if (key == "num_lights") {
            ok = ranged(next.numLights, 1, 170);
        } else if (key == "global_profile") {
            ok = ranged(next.profile, 0, 9);
        } else if (key == "abs_bright") {
            if (value == "off")
                next.on = false;
            else if ((ok = ranged(next.level, 0, 255)))
                next.on = true;
        } else if (key == "enable_switch" || key == "disable_switch") {
            const auto n = number(value, KeypadConfig::SwitchCount);
            ok = n && *n >= 1;
            // Firmware without the button feature keeps every button enabled.
            if (ok && hasButtonFeature())
                next.switches[*n - 1] = key == "enable_switch";
        } else if (key == "ip") {
            ok = validIPv4(value);
            outcome.newAddress = QString::fromLatin1(value);
        } else if (key == "rel_bright") {
            ok = value == "1" || value == "0";
            if (ok && !next.on)
                next.on = true;
            else if (ok)
                next.level = std::clamp(next.level + (value == "1" ? BrightnessStep : -BrightnessStep), 0, 255);
        } else if (key == "off_press") {
            ok = value == "1";
            next.on = !next.on;
        } else if (key == "factory_reset") {
            ok = value == "1";
            reset = true;
        } else if (key == "apply") {
            ok = value == "1" || value == "0";
        } else {
            return refuse(QStringLiteral("unknown field %1").arg(keyText));
        }
        if (!ok)
            return refuse(QStringLiteral("bad value for %1: \"%2\"").arg(keyText, QString::fromLatin1(value)));
    }
    if (reset) {
        if (pairs->size() != 1)
            return refuse(QStringLiteral("factory_reset comes alone"));
        factoryReset();
        outcome.factoryReset = true;
        outcome.configChanged = true;
        return outcome;
    }
    if (outcome.newAddress == m_config.ip)
        outcome.newAddress.clear();
    outcome.configChanged = next != m_config;
    m_config = next;
    return outcome;
}

bool KeypadState::pressScene(int scene) {
    if (scene < 1 || scene > SceneCount || !m_config.switches[static_cast<size_t>(scene - 1)])
        return false;
    return selectScene(scene);
}

bool KeypadState::pressOnOff() {
    if (!m_config.switches[8])
        return false;
    m_config.on = !m_config.on;
    return true;
}

bool KeypadState::pressUp() {
    return m_config.switches[9] && changeLevel(BrightnessStep);
}

bool KeypadState::pressDown() {
    return m_config.switches[10] && changeLevel(-BrightnessStep);
}

bool KeypadState::changeLevel(int delta) {
    if (!m_config.on) {
        m_config.on = true;
        return true;
    }
    const int level = std::clamp(m_config.level + delta, 0, 255);
    if (level == m_config.level)
        return false;
    m_config.level = level;
    return true;
}

QByteArray KeypadState::showElement(int scene) const {
    const SceneContent& s = liveScene(scene);
    QByteArray xml = "<show><url>/api/v1/shows/" + num(scene) + "</url>\n";
    xml += "<effect>" + num(s.effect) + "</effect>\n<parameters>";
    for (int i = 0; i < 3; ++i)
        xml += "<param>" + num(i < s.params.size() ? s.params.at(i) : 0) + "</param>";
    xml += "<by>" + num(s.xy[2]) + "</by><x>" + num(s.xy[0]) + "</x><y>" + num(s.xy[1]) + "</y></parameters>";
    xml += "<numColors>" + num(s.colours.size()) + "</numColors>\n<customColors>";
    for (int k = 0; k < std::max(ColourSlots, static_cast<int>(s.colours.size())); ++k) {
        const SceneContent::Colour c = k < s.colours.size() ? s.colours.at(k) : SceneContent::Colour{};
        xml += "<color>\n<red>" + num(c.bytes[0]) + "</red>\n<grn>" + num(c.bytes[1]) + "</grn>\n<blu>" +
               num(c.bytes[2]) + "</blu>\n<by>" + num(c.xy[2]) + "</by><x>" + num(c.xy[0]) + "</x><y>" + num(c.xy[1]) +
               "</y></color>";
    }
    xml += "\n</customColors>\n</show>";
    return xml;
}

namespace {
const QByteArray prolog = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";
}

QByteArray KeypadState::showsXml() const {
    QByteArray xml = prolog + "<api>\n<shows>\n<currentShow>" + num(m_active) + "</currentShow>\n";
    for (int scene = 1; scene <= SceneCount; ++scene)
        xml += showElement(scene) + "\n";
    return xml + "</shows>\n</api>\n";
}

QByteArray KeypadState::sceneXml(int scene) const {
    return prolog + "<api>\n<currentShow>" + num(m_active) + "</currentShow>\n<scene>\n" + showElement(scene) +
           "\n</scene>\n</api>\n";
}

QByteArray KeypadState::configXml() const {
    auto property = [](const char* key, const QByteArray& value) {
        return QByteArray("<property>\n<url>/api/v1/config/") + key + "</url>\n<value>" + value +
               "</value>\n</property>\n";
    };
    QStringList switches;
    for (bool on : m_config.switches)
        switches.append(on || !hasButtonFeature() ? QStringLiteral("1") : QStringLiteral("0"));
    QByteArray xml = prolog + "<api>\n<config>\n";
    xml += property("name", xmlEscaped(m_config.name));
    xml += property("ip", xmlEscaped(m_config.ip));
    xml += property("version", xmlEscaped(m_config.version));
    xml += property("universe", num(m_config.universe));
    xml += property("vexil", num(m_config.vexil));
    xml += property("num_ports", num(m_config.numPorts));
    xml += property("num_lights", num(m_config.numLights));
    xml += property("brightness", m_config.on ? num(m_config.level) : QByteArray("off"));
    xml += property("switch_state", switches.join(QLatin1Char(',')).toLatin1());
    xml += property("global_profile", num(m_config.profile));
    return xml + "</config>\n</api>\n";
}

QJsonObject KeypadState::toJson() const {
    QJsonArray switches;
    for (bool on : m_config.switches)
        switches.append(on);
    QJsonArray live, saved;
    for (int scene = 1; scene <= SceneCount; ++scene) {
        live.append(sceneJson(liveScene(scene)));
        saved.append(sceneJson(savedScene(scene)));
    }
    return QJsonObject{{QStringLiteral("name"), m_config.name},
                       {QStringLiteral("ip"), m_config.ip},
                       {QStringLiteral("version"), m_config.version},
                       {QStringLiteral("universe"), m_config.universe},
                       {QStringLiteral("vexil"), m_config.vexil},
                       {QStringLiteral("numPorts"), m_config.numPorts},
                       {QStringLiteral("numLights"), m_config.numLights},
                       {QStringLiteral("profile"), m_config.profile},
                       {QStringLiteral("level"), m_config.level},
                       {QStringLiteral("on"), m_config.on},
                       {QStringLiteral("switches"), switches},
                       {QStringLiteral("active"), m_active},
                       {QStringLiteral("live"), live},
                       {QStringLiteral("saved"), saved}};
}

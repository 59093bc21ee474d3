#include "MSPDescription.h"

#include "MSPColorWashEffect.h"
#include "MSPCustomWashEffect.h"
#include "MSPFixedColorEffect.h"
#include "MSPRandomColorEffect.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "MSPSpeedText.h"
#include "MSPWhiteEffect.h"
#include "SystemConfiguration.h"
#include "ZelColor.h"

#include <QJsonArray>

#include <cmath>

namespace {

MSPDescription::Field field(const QString& key, const QString& label, const QJsonValue& value,
                            const QString& valueText) {
    MSPDescription::Field f;
    f.key = key;
    f.label = label;
    f.value = value;
    f.valueText = valueText;
    return f;
}

QString onOff(bool on) {
    return on ? MSPDescription::tr("on") : MSPDescription::tr("off");
}

QString percent(int value) {
    return MSPDescription::tr("%1 %").arg(value);
}

MSPDescription::Field speedField(int type, int speed) {
    // Colour and rainbow washes run on their own table; the custom wash and random colour share one.
    const QString time = type == MSPEffect::ColorWash || type == MSPEffect::RainbowWash
                             ? MSPSpeedText::washText(speed)
                             : MSPSpeedText::customText(speed);
    const QString number = QString::number(speed);
    return field(QStringLiteral("speed"), MSPDescription::tr("speed"), speed,
                 time == number ? number : QStringLiteral("%1 (%2)").arg(number, time));
}

MSPDescription::Field directionField(int direction) {
    MSPDescription::Field f =
        field(QStringLiteral("direction"), MSPDescription::tr("direction"), direction,
              direction != 0 ? MSPDescription::tr("right to left") : MSPDescription::tr("left to right"));
    f.labelled = false;
    return f;
}

MSPDescription::Field widthField(int width) {
    MSPDescription::Field f =
        field(QStringLiteral("width"), MSPDescription::tr("width"), width,
              width == 1 ? MSPDescription::tr("1 light") : MSPDescription::tr("%1 lights").arg(width));
    f.unit = MSPDescription::tr("lights");
    return f;
}

MSPDescription::Field colorsField(const QStringList& colors) {
    QStringList texts;
    for (const QString& color : colors)
        texts << MSPDescription::colorText(color);
    return field(QStringLiteral("colors"), MSPDescription::tr("colours"), QJsonArray::fromStringList(colors),
                 texts.isEmpty() ? MSPDescription::tr("none") : texts.join(QStringLiteral(", ")));
}

MSPDescription::Field temperatureField(int type, int temperature) {
    MSPDescription::Field f = field(QStringLiteral("temperature"), MSPDescription::tr("temperature"), temperature,
                                    QString::number(temperature));
    // The two white kinds read their scale in opposite directions.
    f.scale =
        type == MSPEffect::DuoWhite ? MSPDescription::tr("0 warm, 255 cool") : MSPDescription::tr("0 cool, 255 warm");
    return f;
}

MSPDescription::Field intensityField(int brightness) {
    MSPDescription::Field f =
        field(QStringLiteral("intensity"), MSPDescription::tr("intensity"), brightness, percent(brightness));
    f.unit = QStringLiteral("%");
    return f;
}

MSPDescription::Field buttonField(const QString& key, const QString& label, bool enabled) {
    return field(key, label, enabled, enabled ? MSPDescription::tr("enabled") : MSPDescription::tr("disabled"));
}

} // namespace

QString MSPDescription::Field::text() const {
    QString text = labelled ? label + QLatin1Char(' ') + valueText : valueText;
    if (!scale.isEmpty())
        text += QStringLiteral(" (%1)").arg(scale);
    return text;
}

QJsonObject MSPDescription::Field::toJson() const {
    QJsonObject object{
        {QStringLiteral("label"), label},
        {QStringLiteral("value"), value},
        {QStringLiteral("unit"), unit},
        {QStringLiteral("text"), valueText},
    };
    if (!scale.isEmpty())
        object.insert(QStringLiteral("scale"), scale);
    return object;
}

QString MSPDescription::Effect::text() const {
    if (type < 0)
        return MSPDescription::tr("no effect");
    QStringList parts{name};
    for (const Field& parameter : parameters)
        parts << parameter.text();
    return parts.join(QStringLiteral(", "));
}

QJsonValue MSPDescription::Effect::toJson() const {
    if (type < 0)
        return QJsonValue::Null;
    QJsonObject values;
    for (const Field& parameter : parameters)
        values.insert(parameter.key, parameter.toJson());
    return QJsonObject{
        {QStringLiteral("type"), type},
        {QStringLiteral("name"), name},
        {QStringLiteral("text"), text()},
        {QStringLiteral("parameters"), values},
    };
}

const MSPDescription::Field* MSPDescription::Effect::parameter(const QString& key) const {
    for (const Field& parameter : parameters) {
        if (parameter.key == key)
            return &parameter;
    }
    return nullptr;
}

QStringList MSPDescription::Document::lines() const {
    QStringList lines;
    lines << MSPDescription::tr("current scene: %1")
                 .arg(currentScene >= 0 ? QString::number(currentScene + 1) : MSPDescription::tr("none"));
    for (int i = 0; i < scenes.size(); ++i)
        lines << MSPDescription::tr("scene %1: %2").arg(i + 1).arg(scenes.at(i).text());
    for (const Field& f : configuration) {
        QString line = f.label + QStringLiteral(": ") + f.valueText;
        if (!f.scale.isEmpty())
            line += QStringLiteral(" (%1)").arg(f.scale);
        lines << line;
    }
    return lines;
}

QJsonObject MSPDescription::Document::toJson() const {
    QJsonArray sceneArray;
    for (int i = 0; i < scenes.size(); ++i)
        sceneArray.append(
            QJsonObject{{QStringLiteral("scene"), i + 1}, {QStringLiteral("effect"), scenes.at(i).toJson()}});
    QJsonObject fields;
    for (const Field& f : configuration)
        fields.insert(f.key, f.toJson());
    return QJsonObject{
        {QStringLiteral("currentScene"),
         currentScene >= 0 ? QJsonValue(currentScene + 1) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("scenes"), sceneArray},
        {QStringLiteral("configuration"), fields},
    };
}

MSPDescription::Effect MSPDescription::effect(const MSPEffect* effect) {
    Effect description;
    if (!effect)
        return description;
    const int type = effect->type();
    description.type = type;
    description.name = MSPEffect::nameForType(type);
    Fields& p = description.parameters;
    if (const auto* fixed = qobject_cast<const MSPFixedColorEffect*>(effect)) {
        Field color =
            field(QStringLiteral("color"), MSPDescription::tr("colour"), fixed->color(), colorText(fixed->color()));
        color.labelled = false;
        p << color;
    } else if (const auto* wash = qobject_cast<const MSPColorWashEffect*>(effect)) {
        p << speedField(type, wash->speed()) << directionField(wash->direction());
        if (const auto* custom = qobject_cast<const MSPCustomWashEffect*>(effect))
            p << widthField(custom->width()) << colorsField(custom->colorList());
    } else if (const auto* random = qobject_cast<const MSPRandomColorEffect*>(effect)) {
        p << speedField(type, random->speed())
          << field(QStringLiteral("fade"), MSPDescription::tr("fade"), random->fade(), onOff(random->fade()));
    } else if (const auto* white = qobject_cast<const MSPWhiteEffect*>(effect)) {
        p << temperatureField(type, white->temperature()) << intensityField(white->brightness());
    }
    return description;
}

MSPDescription::Fields MSPDescription::configuration(const SystemConfiguration& c) {
    Fields fields;
    fields << field(QStringLiteral("name"), MSPDescription::tr("name"), c.name(),
                    QStringLiteral("\"%1\"").arg(c.name()));
    fields << field(QStringLiteral("universe"), MSPDescription::tr("universe"), c.universe(),
                    QString::number(c.universe()));
    fields << field(QStringLiteral("vexilMode"), MSPDescription::tr("Vexil mode"), c.VexilMode(),
                    QString::number(c.VexilMode()));
    fields << field(QStringLiteral("ports"), MSPDescription::tr("ports"), c.numberOfPorts(),
                    QString::number(c.numberOfPorts()));
    fields << field(QStringLiteral("lightsPerPort"), MSPDescription::tr("lights per port"), c.lightsPerPort(),
                    QString::number(c.lightsPerPort()));
    const QString profileName = ColorUtils::hueformProfileIDName(c.fixtureClass());
    fields << field(QStringLiteral("fixtureProfile"), MSPDescription::tr("fixture profile"), c.fixtureClass(),
                    profileName.isEmpty() ? QString::number(c.fixtureClass()) : profileName);

    // The keypad keeps its brightness as a level 0-255; people read it in percent.
    const int level = c.brightness();
    Field brightness = level < 0 ? field(QStringLiteral("brightness"), MSPDescription::tr("brightness"),
                                         QStringLiteral("off"), MSPDescription::tr("off"))
                                 : field(QStringLiteral("brightness"), MSPDescription::tr("brightness"), level,
                                         percent(int(std::lround(level * 100.0 / 255.0))));
    fields << brightness;

    for (int i = 0; i < SystemConfiguration::sceneCount; ++i)
        fields << buttonField(QStringLiteral("scene%1Button").arg(i + 1),
                              MSPDescription::tr("scene %1 button").arg(i + 1), c.isSceneEnabled(i));
    fields << buttonField(QStringLiteral("onOffButton"), MSPDescription::tr("on/off button"), c.onOffCheckBoxState());
    fields << buttonField(QStringLiteral("upButton"), MSPDescription::tr("up button"), c.upCheckBoxState());
    fields << buttonField(QStringLiteral("downButton"), MSPDescription::tr("down button"), c.downCheckBoxState());
    fields << field(QStringLiteral("version"), MSPDescription::tr("version"), c.version(), c.version());
    return fields;
}

MSPDescription::Document MSPDescription::document(const MSPSceneModel& model, const SystemConfiguration& configuration,
                                                  int currentScene) {
    Document document;
    document.currentScene = currentScene >= 0 && currentScene < MSPSceneModel::sceneCount ? currentScene : -1;
    for (int row = 0; row < MSPSceneModel::sceneCount; ++row) {
        const MSPScene* scene = model.scene(row);
        document.scenes << effect(scene ? scene->effect() : nullptr);
    }
    document.configuration = MSPDescription::configuration(configuration);
    return document;
}

MSPDescription::Document MSPDescription::document(const QByteArray& data, MSPDocument::ReadResult* result) {
    Document description;
    const MSPDocument::ReadResult read =
        MSPDocument::inspect(data, [&description](const MSPDocument::ReadResult& result, const MSPSceneModel& model,
                                                  const SystemConfiguration& configuration) {
            description = document(model, configuration, result.currentShowIndex);
        });
    if (result)
        *result = read;
    return description;
}

QString MSPDescription::colorText(const QString& text) {
    const ZelColor color(text);
    switch (color.spec()) {
    case ZelColor::Rgb:
    case ZelColor::Hsb:
        return QStringLiteral("#%1%2%3")
            .arg(color.red8(), 2, 16, QLatin1Char('0'))
            .arg(color.green8(), 2, 16, QLatin1Char('0'))
            .arg(color.blue8(), 2, 16, QLatin1Char('0'));
    case ZelColor::Yxy:
        // The precision a document keeps: x and y in ten-thousandths, Y in thousandths.
        return QStringLiteral("x %1 y %2 Y %3")
            .arg(color.getx(), 0, 'f', 4)
            .arg(color.gety(), 0, 'f', 4)
            .arg(color.getY(), 0, 'f', 3);
    case ZelColor::NChannel: {
        QStringList levels;
        for (int channel = 0; channel < color.nChannelCount(); ++channel)
            levels << QString::number(color.getNChannel8(channel));
        QString profile = ColorUtils::hueformProfileIDName(color.hueformProfileID());
        if (profile.isEmpty())
            profile = MSPDescription::tr("profile %1").arg(color.hueformProfileID());
        return MSPDescription::tr("%1 channels %2").arg(profile, levels.join(QLatin1Char(' ')));
    }
    default:
        return text.isEmpty() ? MSPDescription::tr("none") : text;
    }
}

#include "MSPDocumentComparison.h"

#include <QJsonArray>

namespace {

const QString arrow = QStringLiteral(" \u2192 ");

QString sectionName(MSPDocumentComparison::Section section) {
    switch (section) {
    case MSPDocumentComparison::Section::CurrentScene:
        return QStringLiteral("currentScene");
    case MSPDocumentComparison::Section::Scene:
        return QStringLiteral("scene");
    case MSPDocumentComparison::Section::Configuration:
        break;
    }
    return QStringLiteral("configuration");
}

QString changeName(MSPDocumentComparison::Change change) {
    switch (change) {
    case MSPDocumentComparison::Change::Added:
        return QStringLiteral("added");
    case MSPDocumentComparison::Change::Removed:
        return QStringLiteral("removed");
    case MSPDocumentComparison::Change::Changed:
        break;
    }
    return QStringLiteral("changed");
}

// The exact value behind a text, for two values that read alike (brightness 120 and 121 are both 47 %).
QString exactText(const QJsonValue& value) {
    if (value.isString())
        return value.toString();
    if (value.isBool())
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (value.isDouble())
        return QString::number(value.toDouble());
    return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
}

QJsonValue sceneNumber(int index) {
    return index >= 0 ? QJsonValue(index + 1) : QJsonValue(QJsonValue::Null);
}

} // namespace

QString MSPDocumentComparison::Difference::text() const {
    QString where;
    switch (section) {
    case Section::CurrentScene:
        where = MSPDocumentComparison::tr("Current scene");
        break;
    case Section::Scene:
        where = MSPDocumentComparison::tr("Scene %1").arg(scene);
        break;
    case Section::Configuration:
        where = MSPDocumentComparison::tr("Configuration");
        break;
    }
    QString line = where + QStringLiteral(": ");
    // The current scene's place says what it is; an effect's description starts with its kind.
    if (section != Section::CurrentScene && key != QLatin1String("effect"))
        line += label + QLatin1Char(' ');
    switch (change) {
    case Change::Added:
        line += MSPDocumentComparison::tr("%1 added").arg(afterText);
        break;
    case Change::Removed:
        line += MSPDocumentComparison::tr("%1 removed").arg(beforeText);
        break;
    case Change::Changed:
        line += beforeText + arrow + afterText;
        break;
    }
    if (!scale.isEmpty())
        line += QStringLiteral(" (%1)").arg(scale);
    return line;
}

QJsonObject MSPDocumentComparison::Difference::toJson() const {
    QJsonObject object{
        {QStringLiteral("section"), sectionName(section)},
        {QStringLiteral("key"), key},
        {QStringLiteral("label"), label},
        {QStringLiteral("change"), changeName(change)},
        {QStringLiteral("before"), before},
        {QStringLiteral("after"), after},
        {QStringLiteral("beforeText"), beforeText},
        {QStringLiteral("afterText"), afterText},
        {QStringLiteral("text"), text()},
    };
    if (section == Section::Scene)
        object.insert(QStringLiteral("scene"), scene);
    if (index > 0)
        object.insert(QStringLiteral("index"), index);
    if (!scale.isEmpty())
        object.insert(QStringLiteral("scale"), scale);
    return object;
}

MSPDocumentComparison::MSPDocumentComparison(const QByteArray& before, const QByteArray& after) {
    m_before = MSPDescription::document(before, &m_beforeRead);
    m_after = MSPDescription::document(after, &m_afterRead);
    if (ok())
        compare();
}

MSPDocumentComparison::MSPDocumentComparison(const MSPDescription::Document& before,
                                             const MSPDescription::Document& after)
    : m_before(before)
    , m_after(after) {
    m_beforeRead.ok = true;
    m_afterRead.ok = true;
    compare();
}

void MSPDocumentComparison::compare() {
    if (m_before.currentScene != m_after.currentScene) {
        Difference d;
        d.section = Section::CurrentScene;
        d.key = QStringLiteral("currentScene");
        d.label = tr("current scene");
        d.before = sceneNumber(m_before.currentScene);
        d.after = sceneNumber(m_after.currentScene);
        d.beforeText = m_before.currentScene >= 0 ? QString::number(m_before.currentScene + 1) : tr("none");
        d.afterText = m_after.currentScene >= 0 ? QString::number(m_after.currentScene + 1) : tr("none");
        add(d);
    }

    const int scenes = qMax(m_before.scenes.size(), m_after.scenes.size());
    for (int i = 0; i < scenes; ++i) {
        compareEffects(i + 1, m_before.scenes.value(i), m_after.scenes.value(i));
    }

    for (const MSPDescription::Field& before : qAsConst(m_before.configuration)) {
        for (const MSPDescription::Field& after : qAsConst(m_after.configuration)) {
            if (after.key != before.key || after.value == before.value)
                continue;
            Difference d;
            d.section = Section::Configuration;
            d.key = before.key;
            d.label = before.label;
            d.before = before.value;
            d.after = after.value;
            d.beforeText = before.valueText;
            d.afterText = after.valueText;
            d.scale = before.scale;
            add(d);
        }
    }
}

void MSPDocumentComparison::compareEffects(int scene, const MSPDescription::Effect& before,
                                           const MSPDescription::Effect& after) {
    if (before.type != after.type) {
        // Parameters of different kinds do not compare: both sides are given whole.
        Difference d;
        d.scene = scene;
        d.key = QStringLiteral("effect");
        d.label = tr("effect");
        d.before = before.toJson();
        d.after = after.toJson();
        d.beforeText = before.text();
        d.afterText = after.text();
        add(d);
        return;
    }
    for (const MSPDescription::Field& b : before.parameters) {
        const MSPDescription::Field* a = after.parameter(b.key);
        if (!a || a->value == b.value)
            continue;
        if (b.key == QLatin1String("colors")) {
            compareColors(scene, b, *a);
            continue;
        }
        Difference d;
        d.scene = scene;
        d.key = b.key;
        d.label = b.label;
        d.before = b.value;
        d.after = a->value;
        d.beforeText = b.valueText;
        d.afterText = a->valueText;
        d.scale = b.scale;
        add(d);
    }
}

void MSPDocumentComparison::compareColors(int scene, const MSPDescription::Field& before,
                                          const MSPDescription::Field& after) {
    const QJsonArray b = before.value.toArray();
    const QJsonArray a = after.value.toArray();
    for (int i = 0; i < qMax(b.size(), a.size()); ++i) {
        const bool inBefore = i < b.size();
        const bool inAfter = i < a.size();
        if (inBefore && inAfter && b.at(i) == a.at(i))
            continue;
        Difference d;
        d.scene = scene;
        d.key = before.key;
        d.index = i + 1;
        d.label = tr("colour %1").arg(i + 1);
        d.change = !inBefore ? Change::Added : !inAfter ? Change::Removed : Change::Changed;
        if (inBefore) {
            d.before = b.at(i);
            d.beforeText = MSPDescription::colorText(b.at(i).toString());
        }
        if (inAfter) {
            d.after = a.at(i);
            d.afterText = MSPDescription::colorText(a.at(i).toString());
        }
        add(d);
    }
}

void MSPDocumentComparison::add(Difference difference) {
    // Two values that read alike would make a line that shows no change: say what they are.
    if (difference.change == Change::Changed && difference.beforeText == difference.afterText) {
        difference.beforeText += QStringLiteral(" (%1)").arg(exactText(difference.before));
        difference.afterText += QStringLiteral(" (%1)").arg(exactText(difference.after));
    }
    m_differences.append(difference);
}

QStringList MSPDocumentComparison::lines() const {
    QStringList lines;
    for (const Difference& difference : m_differences)
        lines << difference.text();
    return lines;
}

QString MSPDocumentComparison::text() const {
    QString text;
    for (const Difference& difference : m_differences)
        text += difference.text() + QLatin1Char('\n');
    return text;
}

QJsonDocument MSPDocumentComparison::json() const {
    QJsonArray differences;
    for (const Difference& difference : m_differences)
        differences.append(difference.toJson());
    return QJsonDocument(QJsonObject{
        {QStringLiteral("identical"), isIdentical()},
        {QStringLiteral("differences"), differences},
    });
}

#pragma once

#include "MSPDocument.h"
#include "MSPEffect.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "SystemConfiguration.h"

#include <QCoreApplication>
#include <QEvent>

namespace ModelFixture {

// The shared models as after start-up: scenes without effects, a default configuration.
inline void reset() {
    MSPSceneModel* model = MSPSceneModel::instance();
    for (int row = 0; row < MSPSceneModel::sceneCount; ++row) {
        model->scene(row)->setEffect(nullptr, false);
        model->scene(row)->setURL(QString());
    }
    model->setActiveSceneIndex(0, false);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    SystemConfiguration* c = SystemConfiguration::instance();
    c->setName(QString(), false);
    c->setIpAddress(QString(), false);
    c->setVersion(QStringLiteral("Not Available"), false);
    c->setUniverse(0, false);
    c->setVexilMode(1, false);
    c->setLightsPerPort(1, false);
    c->setNumberOfPorts(1, false);
    c->setBrightness(0);
    c->setFixtureClass(0, false);
    c->handleDiscovering();
}

inline MSPScene* scene(int row) {
    return MSPSceneModel::instance()->scene(row);
}

// A scene as the keypad sees it: "type:parameters/colour colour..."; "none" without an effect.
inline QString summary(int row) {
    const MSPEffect* effect = scene(row)->effect();
    if (!effect)
        return QStringLiteral("none");
    QStringList params;
    QList<ZelColor> colors;
    float Y, x, y;
    effect->getParams(&params, &colors, &Y, &x, &y);
    QStringList names;
    for (const ZelColor& color : colors)
        names << color.aName();
    return QString::number(effect->type()) + QLatin1Char(':') + params.join(QLatin1Char(',')) + QLatin1Char('/') +
           names.join(QLatin1Char(' '));
}

inline QByteArray document(const QString& body) {
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<v1>\n") + body.toLatin1() +
           QByteArrayLiteral("\n</v1>");
}

inline QString show(int number, int effect, const QString& params, const QString& colors = QString(), int numColors = 0,
                    const QString& triple = QStringLiteral("<by>0</by><x>0</x><y>0</y>")) {
    return QStringLiteral("<show><url>/api/v1/shows/%1</url>\n<effect>%2</effect>\n<parameters>%3</parameters>"
                          "<numColors>%4</numColors>\n<customColors>%5\n</customColors>\n</show>")
        .arg(QString::number(number), QString::number(effect), params + triple, QString::number(numColors), colors);
}

inline QString params(int a, int b, int c) {
    return QStringLiteral("<param>%1</param><param>%2</param><param>%3</param>").arg(a).arg(b).arg(c);
}

// A used colour slot, as the writer fills it.
inline QString color(int r, int g, int b, int Y = 0, int x = 0, int y = 0) {
    QString text =
        QStringLiteral("<color>\n<red>%1</red>\n<grn>%2</grn>\n<blu>%3</blu>\n<by>%4</by><x>%5</x><y>%6</y> </color>");
    for (int value : {r, g, b, Y, x, y})
        text = text.arg(value);
    return text;
}

inline QString propertyElement(const QString& key, const QString& value) {
    return QStringLiteral("<property>\n<url>/api/v1/config/%1</url>\n<value>%2</value>\n</property>\n").arg(key, value);
}

} // namespace ModelFixture

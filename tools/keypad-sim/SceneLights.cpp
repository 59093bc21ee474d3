#include "SceneLights.h"

#include "EffectRenderer.h"
#include "MSPEffect.h"
#include "MSPEffectFactory.h"
#include "MSPHandler.h"
#include "ZelColor.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <chrono>
#include <cmath>

namespace {

// The reply pads the colours to the keypad's six slots with black, and the reader takes them so.
constexpr int colourSlots = 6;

// x and y travel as ten-thousandths and Y as thousandths.
ZelColor colourOf(const std::array<quint16, 3>& bytes, const std::array<quint16, 3>& xy) {
    if (xy[0] == 0 && xy[1] == 0 && xy[2] == 0)
        return ZelColor::fromRgb8(bytes[0], bytes[1], bytes[2]);
    ZelColor colour;
    colour.setY(MSPHandler::documentChromaticity(QString::number(xy[2]), 1000));
    colour.setx(MSPHandler::documentChromaticity(QString::number(xy[0]), 10000));
    colour.sety(MSPHandler::documentChromaticity(QString::number(xy[1]), 10000));
    return colour;
}

} // namespace

std::unique_ptr<MSPEffect> SceneLights::effectOf(const SceneContent& scene, int profile) {
    std::unique_ptr<MSPEffect> effect(MSPEffectFactory::instance()->create(scene.effect, nullptr));
    if (!effect)
        return effect;
    QStringList params;
    for (quint16 p : scene.params)
        params << QString::number(p);
    QList<ZelColor> colours;
    for (const SceneContent::Colour& c : scene.colours)
        colours << colourOf(c.bytes, c.xy);
    while (colours.size() < colourSlots)
        colours << ZelColor::fromRgb8(0, 0, 0);
    effect->setParams(params, colours, scene.colours.size(), profile,
                      MSPHandler::documentChromaticity(QString::number(scene.xy[2]), 1000),
                      MSPHandler::documentChromaticity(QString::number(scene.xy[0]), 10000),
                      MSPHandler::documentChromaticity(QString::number(scene.xy[1]), 10000));
    return effect;
}

QJsonObject SceneLights::frame(const KeypadState& state, double seconds) {
    const KeypadConfig& config = state.config();
    const int active = state.activeScene();
    const SceneContent& scene = state.liveScene(active);
    const std::unique_ptr<MSPEffect> effect = effectOf(scene, config.profile);

    EffectRenderer renderer;
    renderer.setLayout({config.numPorts, config.numLights, config.profile});
    renderer.setSceneNumber(active);
    renderer.setEffect(effect.get());
    const EffectRenderer::Frame lights = renderer.frame(seconds);

    QJsonArray screen, channels;
    const int perPort = renderer.layout().lightsPerPort;
    for (int port = 0; port < renderer.layout().ports; ++port) {
        QJsonArray portScreen, portChannels;
        for (int i = 0; i < perPort; ++i) {
            const EffectRenderer::Light& light = lights.at(port * perPort + i);
            portScreen.append(EffectRenderer::screenName(light.screen));
            portChannels.append(QJsonArray{light.channels[0], light.channels[1], light.channels[2]});
        }
        screen.append(portScreen);
        channels.append(portChannels);
    }
    return QJsonObject{
        {QStringLiteral("scene"), active},          {QStringLiteral("seconds"), seconds},
        {QStringLiteral("effect"), scene.effect},   {QStringLiteral("ports"), renderer.layout().ports},
        {QStringLiteral("lightsPerPort"), perPort}, {QStringLiteral("profile"), renderer.layout().profile},
        {QStringLiteral("on"), config.on},          {QStringLiteral("level"), config.level},
        {QStringLiteral("screen"), screen},         {QStringLiteral("channels"), channels}};
}

QByteArray SceneLights::reply(const KeypadState& state, const QByteArray& argument) {
    double seconds = 0.0;
    if (argument.isEmpty()) {
        const std::chrono::duration<double> playing = std::chrono::steady_clock::now() - state.activeSince();
        // Whole milliseconds, so that the time the reply states is exactly the time of its frame.
        seconds = std::round(playing.count() * 1000.0) / 1000.0;
    } else {
        bool ok = false;
        seconds = argument.toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || seconds < 0)
            return "error lights [SECONDS]";
    }
    return "lights " + QJsonDocument(frame(state, seconds)).toJson(QJsonDocument::Compact);
}

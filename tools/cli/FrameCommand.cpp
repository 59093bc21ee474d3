#include "FrameCommand.h"

#include "EffectRenderer.h"
#include "MSPDocument.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "SystemConfiguration.h"

#include <cmath>

bool FrameCommand::parse(const QStringList& arguments, QString* error) {
    error->clear();
    bool sceneGiven = false;
    bool timeGiven = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--"))) {
            if (!m_fileName.isEmpty())
                return false;
            m_fileName = argument;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            *error = QStringLiteral("%1 needs a value").arg(argument);
            return false;
        }
        const QString value = arguments.at(++i);
        bool ok = false;
        if (argument == QLatin1String("--scene")) {
            m_scene = value.toInt(&ok);
            if (!ok || m_scene < 1 || m_scene > MSPSceneModel::sceneCount) {
                *error = QStringLiteral("--scene needs a scene number from 1 to %1").arg(MSPSceneModel::sceneCount);
                return false;
            }
            sceneGiven = true;
        } else if (argument == QLatin1String("--at")) {
            m_seconds = value.toDouble(&ok);
            if (!ok || !std::isfinite(m_seconds) || m_seconds < 0) {
                *error = QStringLiteral("--at needs a time in seconds, 0 or more");
                return false;
            }
            timeGiven = true;
        } else if (argument == QLatin1String("--lights")) {
            m_lights = value.toInt(&ok);
            if (!ok || m_lights < 1 || m_lights > EffectRenderer::maximumLightsPerPort) {
                *error = QStringLiteral("--lights needs a number of lights from 1 to %1")
                             .arg(EffectRenderer::maximumLightsPerPort);
                return false;
            }
        } else {
            *error = QStringLiteral("render has no option %1").arg(argument);
            return false;
        }
    }
    if (m_fileName.isEmpty() || !sceneGiven || !timeGiven) {
        *error = QStringLiteral("render needs a FILE, --scene N and --at SECONDS");
        return false;
    }
    return true;
}

QString FrameCommand::frameText(const QByteArray& document, QString* error) const {
    QString text;
    // Read apart from the shared models: rendering a file changes nothing.
    MSPDocument::inspect(document, [&](const MSPDocument::ReadResult&, const MSPSceneModel& model,
                                       const SystemConfiguration& configuration) {
        const MSPScene* scene = model.scene(m_scene - 1);
        if (!scene || !scene->effect()) {
            *error = QStringLiteral("%1 holds no scene %2").arg(m_fileName).arg(m_scene);
            return;
        }
        EffectRenderer renderer;
        EffectRenderer::Layout layout = EffectRenderer::Layout::of(configuration);
        if (m_lights > 0)
            layout.lightsPerPort = m_lights;
        renderer.setLayout(layout);
        renderer.setSceneNumber(m_scene);
        renderer.setEffect(scene->effect());

        const EffectRenderer::Frame frame = renderer.frame(m_seconds);
        const int perPort = renderer.layout().lightsPerPort;
        text.reserve(frame.size() * 16);
        for (int i = 0; i < frame.size(); ++i) {
            text += QString::number(i / perPort + 1) + QLatin1Char(' ') + QString::number(i % perPort + 1) +
                    QLatin1Char(' ') + EffectRenderer::screenName(frame.at(i).screen) + QLatin1Char('\n');
        }
    });
    return text;
}

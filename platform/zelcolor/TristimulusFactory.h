#pragma once

#include "ColorUtils.h"
#include "Tristimulus.h"

#include <QHash>
#include <QMutex>

/**
 * Hands out the Tristimulus of a fixture profile and channel configuration. One instance for
 * the process; the Tristimulus objects live as long as it does.
 */
class TristimulusFactory final {
public:
    static TristimulusFactory* getInstance();

    /**
     * The channels of @p profile in @p channelConfiguration (every profile has one
     * configuration, ColorUtils::nChannelConfigurationForHueformProfileID(); other numbers give
     * the same channels). Never null: an unknown profile gives a Tristimulus without channels.
     */
    const Tristimulus* getTristimulus(ColorUtils::HueformProfileID profile, int channelConfiguration);

private:
    TristimulusFactory() = default;
    Q_DISABLE_COPY(TristimulusFactory)

    QMutex m_mutex;
    QHash<QPair<int, int>, Tristimulus*> m_cache;
    Tristimulus m_empty;
};

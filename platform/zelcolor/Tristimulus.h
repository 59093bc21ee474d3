#pragma once

#include "ColorUtils.h"

#include <QPointF>
#include <QStringList>
#include <QVector>

class ZelColor;

/**
 * The output channels of one fixture profile in one channel configuration: their names in
 * channel order, and the light each channel's emitter makes. Get one from TristimulusFactory.
 */
class Tristimulus final {
public:
    /** No profile: no channels. */
    Tristimulus() = default;
    Tristimulus(ColorUtils::HueformProfileID profile, int channelConfiguration);

    bool isValid() const { return !m_names.isEmpty(); }
    ColorUtils::HueformProfileID getHueformProfileID() const { return m_profile; }
    int getChannelConfiguration() const { return m_configuration; }
    QStringList getChannelNames() const { return m_names; }
    int getChannelCount() const { return m_names.size(); }

    /**
     * CIE 1931 x, y of channel @p channel's emitter; (0, 0) for a channel that is no emitter
     * (the temperature channel of a tunable white) and for channels out of range.
     */
    QPointF getChannelChromaticity(int channel) const;

    /** The channel levels (0..1) that reproduce @p color on this fixture (see ZelColor kind 4). */
    QVector<double> channelsFromColor(const ZelColor& color) const;
    /** The N-channel colour of these channel levels. */
    ZelColor colorFromChannels(const QVector<double>& levels) const;

private:
    ColorUtils::HueformProfileID m_profile = -1;
    int m_configuration = 0;
    QStringList m_names;
    QVector<QPointF> m_chromaticities;
};

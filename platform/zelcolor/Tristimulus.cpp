#include "Tristimulus.h"

#include "FixtureProfile.h"
#include "ZelColor.h"

Tristimulus::Tristimulus(ColorUtils::HueformProfileID profile, int channelConfiguration)
    : m_profile(profile)
    , m_configuration(channelConfiguration) {
    const FixtureProfile* fixture = FixtureProfile::find(profile);
    if (!fixture)
        return;
    m_names = fixture->channelNames();
    for (const FixtureProfile::Emitter& e : fixture->emitters)
        m_chromaticities.append(QPointF(e.chromaticity.x, e.chromaticity.y));
    if (fixture->drive == FixtureProfile::Drive::TunableWhite)
        m_chromaticities = {QPointF(), QPointF()};
}

QPointF Tristimulus::getChannelChromaticity(int channel) const {
    return channel >= 0 && channel < m_chromaticities.size() ? m_chromaticities[channel] : QPointF();
}

QVector<double> Tristimulus::channelsFromColor(const ZelColor& color) const {
    if (!isValid())
        return {};
    QVector<double> levels;
    const ZelColor converted = color.convertTo(ZelColor::NChannel, m_configuration, m_profile);
    for (int i = 0; i < getChannelCount(); ++i)
        levels.append(converted.getNChannelF(i));
    return levels;
}

ZelColor Tristimulus::colorFromChannels(const QVector<double>& levels) const {
    if (!isValid())
        return ZelColor();
    return ZelColor::fromNChannelF(levels, m_configuration, m_profile);
}

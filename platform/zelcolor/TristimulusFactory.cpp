#include "TristimulusFactory.h"

#include <QMutexLocker>

TristimulusFactory* TristimulusFactory::getInstance() {
    // Never destroyed: callers keep the pointers it hands out until the program ends.
    static TristimulusFactory* instance = new TristimulusFactory;
    return instance;
}

const Tristimulus* TristimulusFactory::getTristimulus(ColorUtils::HueformProfileID profile, int channelConfiguration) {
    if (!ColorUtils::isValidHueformProfileID(profile))
        return &m_empty;
    QMutexLocker lock(&m_mutex);
    const QPair<int, int> key(profile, channelConfiguration);
    Tristimulus*& entry = m_cache[key];
    if (!entry)
        entry = new Tristimulus(profile, channelConfiguration);
    return entry;
}

#include "DeliveryQueue.h"

#include <algorithm>

DeliveryQueue::Kind DeliveryQueue::kindOf(bool post, const QString& body) {
    if (!post)
        return Kind::Read;
    if (body == QLatin1String("apply=1") || body == QLatin1String("apply=0"))
        return Kind::Ordered;
    if (body.startsWith(QLatin1String("effect=")))
        return body.contains(QLatin1String("apply=")) ? Kind::Ordered : Kind::SceneState;
    if (body.isEmpty() || body.startsWith(QLatin1String("rel_bright=")) ||
        body.startsWith(QLatin1String("off_press=")) || body.startsWith(QLatin1String("factory_reset=")))
        return Kind::Press;
    return Kind::ConfigState;
}

void DeliveryQueue::orderAcross(const QString& pathPrefix) {
    m_orderedPrefixes.append(pathPrefix);
}

QString DeliveryQueue::orderedPrefixOf(const QString& path) const {
    for (const QString& prefix : m_orderedPrefixes) {
        if (path.startsWith(prefix))
            return prefix;
    }
    return QString();
}

DeliveryQueue::Turns DeliveryQueue::turns() const {
    Turns turns;
    QStringList inFlight;
    for (auto it = m_lanes.cbegin(); it != m_lanes.cend(); ++it) {
        const QString prefix = orderedPrefixOf(it.key());
        const Lane& lane = it.value();
        if (prefix.isEmpty())
            continue;
        if (lane.busy) {
            inFlight.append(prefix);
        } else if (!lane.waiting.isEmpty()) {
            const Lane*& turn = turns[prefix];
            // A request sent again keeps its id, and with it its place.
            if (!turn || lane.waiting.first().id < turn->waiting.first().id)
                turn = &lane;
        }
    }
    for (const QString& prefix : qAsConst(inFlight))
        turns[prefix] = nullptr;
    return turns;
}

bool DeliveryQueue::hasTurn(const QString& path, const Lane& lane, const Turns& turns) const {
    const QString prefix = orderedPrefixOf(path);
    return prefix.isEmpty() || turns.value(prefix) == &lane;
}

bool DeliveryQueue::isWrite(const Request& request) {
    return request.kind != Kind::Read && request.kind != Kind::Managed;
}

// The fields a configuration text sets; the switch fields all belong to one state.
QString DeliveryQueue::fieldsOf(const QString& body) {
    QStringList fields;
    for (const QString& pair : body.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        QString key = pair.section(QLatin1Char('='), 0, 0);
        if (key == QLatin1String("apply"))
            continue;
        if (key == QLatin1String("enable_switch") || key == QLatin1String("disable_switch"))
            key = QStringLiteral("switch");
        if (!fields.contains(key))
            fields.append(key);
    }
    fields.sort();
    return fields.join(QLatin1Char(','));
}

bool DeliveryQueue::replaces(const Request& newer, const Request& older) {
    if (newer.kind != older.kind || newer.failureTolerant != older.failureTolerant)
        return false;
    switch (newer.kind) {
    case Kind::SceneState:
        return true;
    case Kind::ConfigState:
        return fieldsOf(newer.body) == fieldsOf(older.body);
    case Kind::Read:
        return newer.unparsed == older.unparsed;
    case Kind::Ordered:
    case Kind::Press:
    case Kind::Managed:
        break;
    }
    return false;
}

int DeliveryQueue::retryPause(int failures) {
    return std::min(LongestRetryMs, FirstRetryMs << std::clamp(failures - 1, 0, 8));
}

quint64 DeliveryQueue::add(Request request, qint64 now) {
    Q_UNUSED(now)
    Lane& lane = m_lanes[request.path];
    request.attempts = 0;
    if (!lane.waiting.isEmpty() && replaces(request, lane.waiting.last())) {
        // A read already waiting does the same; a newer state goes in the older one's place.
        if (request.kind == Kind::Read)
            return lane.waiting.last().id;
        request.id = m_nextId++;
        lane.waiting.last() = request;
        return request.id;
    }
    request.id = m_nextId++;
    lane.waiting.append(request);
    return request.id;
}

qint64 DeliveryQueue::dueAt(const Lane& lane) const {
    const Request& head = lane.waiting.first();
    if (head.kind == Kind::Managed)
        return 0;
    qint64 at = 0;
    // A managed request behind a failed write sets the pace: its owner's tries probe the keypad.
    const bool managedWaits = std::any_of(lane.waiting.cbegin(), lane.waiting.cend(),
                                          [](const Request& request) { return request.kind == Kind::Managed; });
    if (lane.troubled && !managedWaits) {
        at = lane.failedSentAt + retryPause(lane.failures);
        // Not into the same silence: only once the keypad has shown it is there, or after a long while.
        if (!m_lifeSeen || m_lastLifeSign < lane.failedSentAt)
            at = std::max(at, lane.failedSentAt + ProbeWithoutLifeMs);
    }
    if (head.kind == Kind::SceneState)
        at = std::max(at, lane.lastEditSentAt + SceneEditSpacingMs);
    return at;
}

QList<DeliveryQueue::Request> DeliveryQueue::takeDue(qint64 now) {
    QList<Request> due;
    const Turns turns = this->turns();
    for (auto it = m_lanes.begin(); it != m_lanes.end(); ++it) {
        Lane& lane = it.value();
        if (lane.busy || lane.waiting.isEmpty() || !hasTurn(it.key(), lane, turns) || dueAt(lane) > now)
            continue;
        Request request = lane.waiting.takeFirst();
        ++request.attempts;
        lane.inFlight = request;
        lane.busy = true;
        lane.abandoned = false;
        lane.sentAt = now;
        if (request.kind == Kind::SceneState)
            lane.lastEditSentAt = now;
        due.append(request);
    }
    // Oldest first, whatever order the paths are kept in.
    std::sort(due.begin(), due.end(), [](const Request& a, const Request& b) { return a.id < b.id; });
    return due;
}

DeliveryQueue::Verdict DeliveryQueue::finish(quint64 id, Outcome outcome, qint64 now) {
    auto it = std::find_if(m_lanes.begin(), m_lanes.end(),
                           [id](const Lane& lane) { return lane.busy && lane.inFlight.id == id; });
    if (it == m_lanes.end())
        return Verdict::Dropped;
    Lane& lane = it.value();
    lane.busy = false;
    const Request request = lane.inFlight;
    const bool abandoned = lane.abandoned;
    lane.abandoned = false;

    if (outcome != Outcome::Failed) {
        lifeSign(now);
        lane.troubled = false;
        lane.failures = 0;
        return outcome == Outcome::Delivered ? Verdict::Done : Verdict::Dropped;
    }
    if (request.kind == Kind::Managed)
        return Verdict::Returned;
    lane.troubled = true;
    ++lane.failures;
    lane.failedSentAt = lane.sentAt;
    if (abandoned)
        return Verdict::Dropped;
    switch (request.kind) {
    case Kind::SceneState:
    case Kind::ConfigState:
    case Kind::Ordered:
        if (!lane.waiting.isEmpty() && replaces(lane.waiting.first(), request))
            return Verdict::Superseded;
        lane.waiting.prepend(request);
        return Verdict::Retry;
    case Kind::Read:
    case Kind::Press:
    case Kind::Managed:
        break;
    }
    return Verdict::Dropped;
}

void DeliveryQueue::lifeSign(qint64 now) {
    m_lifeSeen = true;
    m_lastLifeSign = std::max(m_lastLifeSign, now);
}

qint64 DeliveryQueue::nextChange(qint64 now) const {
    qint64 next = -1;
    const auto consider = [&next, now](qint64 at) {
        next = next < 0 ? std::max(at, now) : std::min(next, std::max(at, now));
    };
    const Turns turns = this->turns();
    for (auto it = m_lanes.cbegin(); it != m_lanes.cend(); ++it) {
        const Lane& lane = it.value();
        if (!lane.busy && !lane.waiting.isEmpty()) {
            if (hasTurn(it.key(), lane, turns))
                consider(dueAt(lane));
        } else if (lane.busy && !lane.troubled && now < lane.sentAt + SlowReplyMs)
            consider(lane.sentAt + SlowReplyMs);
    }
    return next;
}

int DeliveryQueue::waitingWrites(qint64 now) const {
    const auto stuck = [now](const Lane& lane) {
        return lane.troubled || (lane.busy && now - lane.sentAt >= SlowReplyMs);
    };
    // Writes in line behind a request that the keypad does not answer wait for it as well.
    QStringList stuckPrefixes;
    const Turns turns = this->turns();
    for (auto it = turns.cbegin(); it != turns.cend(); ++it) {
        if (it.value() && it.value()->troubled)
            stuckPrefixes.append(it.key());
    }
    for (auto it = m_lanes.cbegin(); it != m_lanes.cend(); ++it) {
        const QString prefix = orderedPrefixOf(it.key());
        if (!prefix.isEmpty() && it.value().busy && stuck(it.value()))
            stuckPrefixes.append(prefix);
    }
    int count = 0;
    for (auto it = m_lanes.cbegin(); it != m_lanes.cend(); ++it) {
        const Lane& lane = it.value();
        const bool writeInFlight = lane.busy && !lane.abandoned && isWrite(lane.inFlight);
        const int writes =
            int(std::count_if(lane.waiting.cbegin(), lane.waiting.cend(), isWrite)) + (writeInFlight ? 1 : 0);
        const QString prefix = orderedPrefixOf(it.key());
        if (writes > 0 && (stuck(lane) || (!prefix.isEmpty() && stuckPrefixes.contains(prefix))))
            count += writes;
    }
    return count;
}

bool DeliveryQueue::hasWrites(const QString& pathPrefix) const {
    for (auto it = m_lanes.cbegin(); it != m_lanes.cend(); ++it) {
        const Lane& lane = it.value();
        if (!it.key().startsWith(pathPrefix))
            continue;
        if ((lane.busy && !lane.abandoned && isWrite(lane.inFlight)) ||
            std::any_of(lane.waiting.cbegin(), lane.waiting.cend(), isWrite))
            return true;
    }
    return false;
}

bool DeliveryQueue::isIdle() const {
    return std::all_of(m_lanes.cbegin(), m_lanes.cend(),
                       [](const Lane& lane) { return !lane.busy && lane.waiting.isEmpty(); });
}

int DeliveryQueue::discard(const QStringList& paths) {
    int count = 0;
    for (auto it = m_lanes.begin(); it != m_lanes.end(); ++it) {
        if (!paths.isEmpty() && !paths.contains(it.key()))
            continue;
        Lane& lane = it.value();
        count += int(std::count_if(lane.waiting.cbegin(), lane.waiting.cend(), isWrite));
        lane.waiting.erase(std::remove_if(lane.waiting.begin(), lane.waiting.end(), isWrite), lane.waiting.end());
        if (lane.busy && !lane.abandoned && isWrite(lane.inFlight)) {
            lane.abandoned = true;
            ++count;
        }
    }
    return count;
}

void DeliveryQueue::reset() {
    m_lanes.clear();
    m_lifeSeen = false;
    m_lastLifeSign = -1;
}

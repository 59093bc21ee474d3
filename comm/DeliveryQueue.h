#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// What the REST client sends to each of the keypad's paths, and when. One request is in flight
// per path, so a save never overtakes its edit; the newest state of a scene, or of a part of the
// configuration, replaces an older one that has not left yet; and a write whose request failed is
// sent again once the keypad shows signs of life, with a growing pause between tries. Nothing else
// is ever dropped. Plain bookkeeping over times the caller passes in (ms on any steady clock):
// MSPComm does the sending.
class DeliveryQueue final {
public:
    enum class Kind {
        Read,        // a GET: not repeated after a failure
        SceneState,  // a whole scene ("effect=..."): a newer one replaces it while it waits
        ConfigState, // a configuration text: a newer one with the same fields replaces it
        Ordered,     // "apply=1", "apply=0": kept in their place, sent again after a failure
        Press,       // relative commands: never replaced, never sent twice (the first may have arrived)
        Managed,     // whoever added it decides about tries (file restore, factory reset, new address)
    };

    struct Request {
        quint64 id = 0;
        QString path;
        bool post = false;
        QString body;
        bool unparsed = false;
        bool failureTolerant = false;
        Kind kind = Kind::Read;
        // How often it has been sent, this time included.
        int attempts = 0;
    };

    // Refused: the keypad answered, with an error status; Failed: it did not answer at all.
    enum class Outcome { Delivered, Refused, Failed };
    // Retry: it waits to be sent again; Superseded: a newer state waiting behind it goes instead;
    // Returned: a managed request that failed, for its owner to decide about.
    enum class Verdict { Done, Retry, Superseded, Dropped, Returned };

    static constexpr int SceneEditSpacingMs = 100;
    // An unanswered write counts as waiting for the keypad after this long.
    static constexpr int SlowReplyMs = 1000;
    static constexpr int FirstRetryMs = 250;
    static constexpr int LongestRetryMs = 4000;
    // With no sign of life at all (no heartbeats reach us), a write is still tried this often.
    static constexpr int ProbeWithoutLifeMs = 15000;

    static Kind kindOf(bool post, const QString& body);

    // Requests to paths under this prefix go out one at a time, in the order they were added,
    // whatever their paths: for a keypad each of them changes the same thing.
    void orderAcross(const QString& pathPrefix);

    // Returns the request's id; a request that an older waiting one absorbs gets that one's id.
    quint64 add(Request request, qint64 now);
    // The requests to send now; they count as in flight from here on.
    QList<Request> takeDue(qint64 now);
    Verdict finish(quint64 id, Outcome outcome, qint64 now);
    // A heartbeat, or any answer of the keypad.
    void lifeSign(qint64 now);

    // When takeDue() or waitingWrites() may give something new; -1 when nothing is pending.
    qint64 nextChange(qint64 now) const;
    // The writes that wait for the keypad: those of a path whose last request failed, or whose
    // request in flight has been unanswered for SlowReplyMs.
    int waitingWrites(qint64 now) const;
    // Whether a write to a path starting with prefix waits or is in flight.
    bool hasWrites(const QString& pathPrefix) const;
    bool isIdle() const;
    // Forgets the writes that wait for the given paths (all paths when empty); a write in flight
    // there is not sent again if it fails. Returns how many writes were given up.
    int discard(const QStringList& paths = QStringList());
    // Starts afresh for another keypad; ids already given stay unique.
    void reset();

private:
    struct Lane {
        QList<Request> waiting;
        Request inFlight;
        bool busy = false;
        bool abandoned = false;
        qint64 sentAt = 0;
        // Set while the last request on this path failed.
        bool troubled = false;
        int failures = 0;
        qint64 failedSentAt = 0;
        qint64 lastEditSentAt = -SceneEditSpacingMs;
    };

    // For each ordered prefix with requests waiting, the lane whose turn it is; none while one of
    // its requests is in flight.
    using Turns = QHash<QString, const Lane*>;
    Turns turns() const;
    QString orderedPrefixOf(const QString& path) const;
    bool hasTurn(const QString& path, const Lane& lane, const Turns& turns) const;
    static bool isWrite(const Request& request);
    static bool replaces(const Request& newer, const Request& older);
    static QString fieldsOf(const QString& body);
    qint64 dueAt(const Lane& lane) const;
    static int retryPause(int failures);

    QHash<QString, Lane> m_lanes;
    QStringList m_orderedPrefixes;
    qint64 m_lastLifeSign = -1;
    bool m_lifeSeen = false;
    quint64 m_nextId = 1;
};

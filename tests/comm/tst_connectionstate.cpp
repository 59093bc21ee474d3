#include "ConnectionState.h"
#include "TestEnvironment.h"

#include <QSignalSpy>

namespace {

// Stands in for the REST client: the state object only needs its heartBeat(bool).
class FakeHeartBeatSource : public QObject {
    Q_OBJECT
signals:
    void heartBeat(bool reachable);
};

using S = ConnectionState::State;

QList<int> states(const QSignalSpy& spy) {
    QList<int> result;
    for (const QList<QVariant>& args : spy)
        result << args.at(0).value<ConnectionState::State>();
    return result;
}

// Checks only when the test calls check().
constexpr int NoTimer = ConnectionState::CheckIntervalMs * 100;

} // namespace

class TestConnectionState : public QObject {
    Q_OBJECT

private slots:
    // -1 as the heartbeat: a check with no heartbeat since the last one.
    void transitions_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("heartBeat");
        QTest::addColumn<int>("to");
        // The offline demo ignores heartbeats, and does not pass them on.
        for (int s = S::StatusUnknown; s <= S::RestoringFactoryDefaults; ++s) {
            QTest::addRow("%d reachable", s) << s << 1 << (s == S::OfflineDemo ? s : int(S::Connected));
            QTest::addRow("%d unreachable", s) << s << 0 << (s == S::Connected ? int(S::ConnectionLost) : s);
            // Lost is not "never connected"; a reset, a failure and the demo wait for a direct change.
            const bool stays = s == S::ConnectionLost || s == S::RestoringFactoryDefaults ||
                               s == S::CommunicationFailure || s == S::OfflineDemo;
            const int silent = s == S::Connected ? int(S::ConnectionLost) : (stays ? s : int(S::NotConnected));
            QTest::addRow("%d silent", s) << s << -1 << silent;
        }
    }

    void transitions() {
        QFETCH(int, from);
        QFETCH(int, heartBeat);
        QFETCH(int, to);
        ConnectionState state(NoTimer);
        FakeHeartBeatSource source;
        state.followHeartBeats(&source);
        state.setState(S(from));
        QSignalSpy changes(&state, &ConnectionState::stateChanged);
        QSignalSpy relayed(&state, &ConnectionState::heartBeat);
        if (heartBeat < 0)
            state.check();
        else
            emit source.heartBeat(heartBeat == 1);
        // One heartbeat keeps the state through one check; a silent period changes it only once.
        state.check();
        QCOMPARE(int(state.state()), to);
        QCOMPARE(states(changes), from == to ? QList<int>() : QList<int>({to}));
        QCOMPARE(relayed.count(), heartBeat < 0 || from == S::OfflineDemo ? 0 : 1);
        QCOMPARE(relayed.value(0).value(0, heartBeat == 1).toBool(), heartBeat == 1);
    }

    void announcesItsStartOnceThereIsSomeoneToTell() {
        // The start is announced once the creator has had the chance to connect; then the real
        // timer's first check without a heartbeat gives "not connected".
        ConnectionState timed(200);
        QSignalSpy timedChanges(&timed, &ConnectionState::stateChanged);
        QCOMPARE(timed.state(), S::Discovering);
        QTRY_COMPARE_WITH_TIMEOUT(states(timedChanges), QList<int>({S::Discovering, S::NotConnected}), 10000);
        // Once the state has moved on the queued announcement is dropped; repeats are no change.
        ConnectionState moved(NoTimer);
        QSignalSpy changes(&moved, &ConnectionState::stateChanged);
        moved.setState(S::NoDevice);
        moved.setState(S::NoDevice);
        QVERIFY(!changes.wait(100));
        QCOMPARE(states(changes), QList<int>({S::NoDevice}));
    }
};

LUMETTO_TEST_MAIN_CORE(TestConnectionState, "tst_connectionstate")

#include "tst_connectionstate.moc"

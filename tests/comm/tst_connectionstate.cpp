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

} // namespace

class TestConnectionState : public QObject {
    Q_OBJECT

    // Checks only when the test calls check().
    static constexpr int NoTimer = ConnectionState::CheckIntervalMs * 100;

private slots:
    void startsDiscoveringAndFallsToNotConnected() {
        ConnectionState state(200);
        QSignalSpy changes(&state, &ConnectionState::stateChanged);
        QCOMPARE(state.state(), S::Discovering);
        // The start is announced once the creator has had the chance to connect; then the real
        // timer's first check without a heartbeat gives "not connected".
        QTRY_COMPARE_WITH_TIMEOUT(states(changes), QList<int>({S::Discovering, S::NotConnected}), 10000);

        // The queued start announcement is not sent once the state has moved on; repeats are no change.
        ConnectionState moved(NoTimer);
        QSignalSpy movedChanges(&moved, &ConnectionState::stateChanged);
        moved.setState(S::CommunicationFailure);
        moved.setState(S::CommunicationFailure);
        moved.setState(S::NoDevice);
        QVERIFY(!movedChanges.wait(100));
        QCOMPARE(states(movedChanges), QList<int>({S::CommunicationFailure, S::NoDevice}));
    }

    // -1 as the heartbeat: a check with no heartbeat since the last one.
    void transitions_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("heartBeat");
        QTest::addColumn<int>("to");
        // The offline demo ignores heartbeats, and does not pass them on.
        for (int s = S::StatusUnknown; s <= S::RestoringFactoryDefaults; ++s) {
            QTest::addRow("%d reachable", s) << s << 1 << (s == S::OfflineDemo ? s : int(S::Connected));
            QTest::addRow("%d unreachable", s) << s << 0 << (s == S::Connected ? int(S::ConnectionLost) : s);
        }
        QTest::newRow("connected is lost") << int(S::Connected) << -1 << int(S::ConnectionLost);
        QTest::newRow("lost stays lost") << int(S::ConnectionLost) << -1 << int(S::ConnectionLost);
        QTest::newRow("reset waits") << int(S::RestoringFactoryDefaults) << -1 << int(S::RestoringFactoryDefaults);
        QTest::newRow("failure stays") << int(S::CommunicationFailure) << -1 << int(S::CommunicationFailure);
        QTest::newRow("demo stays") << int(S::OfflineDemo) << -1 << int(S::OfflineDemo);
        QTest::newRow("unknown") << int(S::StatusUnknown) << -1 << int(S::NotConnected);
        QTest::newRow("discovering") << int(S::Discovering) << -1 << int(S::NotConnected);
        QTest::newRow("not connected") << int(S::NotConnected) << -1 << int(S::NotConnected);
        QTest::newRow("no device") << int(S::NoDevice) << -1 << int(S::NotConnected);
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
        QCOMPARE(int(state.state()), to);
        QCOMPARE(states(changes), from == to ? QList<int>() : QList<int>({to}));
        if (heartBeat >= 0) {
            QCOMPARE(relayed.count(), from == S::OfflineDemo ? 0 : 1);
            QCOMPARE(relayed.value(0).value(0, heartBeat == 1).toBool(), heartBeat == 1);
        } else {
            // A further silent period changes nothing more: lost is not "never connected".
            state.check();
            QCOMPARE(int(state.state()), to);
        }
    }

    void oneHeartBeatKeepsTheStateThroughOneCheck() {
        ConnectionState state(NoTimer);
        FakeHeartBeatSource source;
        state.followHeartBeats(&source);
        // Only a direct change leaves the demo, and a heartbeat then counts again.
        state.setState(S::OfflineDemo);
        state.setState(S::Discovering);
        emit source.heartBeat(true);
        state.check();
        QCOMPARE(state.state(), S::Connected);
        state.check();
        QCOMPARE(state.state(), S::ConnectionLost);
        emit source.heartBeat(true);
        QCOMPARE(state.state(), S::Connected);
    }
};

LUMETTO_TEST_MAIN_CORE(TestConnectionState, "tst_connectionstate")

#include "tst_connectionstate.moc"

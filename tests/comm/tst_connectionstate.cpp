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

private slots:
    void startsDiscoveringAndFallsToNotConnected();
    void heartBeatTransitions_data();
    void heartBeatTransitions();
    void checkTransitions_data();
    void checkTransitions();
    void oneHeartBeatKeepsTheStateThroughOneCheck();
    void offlineDemoIgnoresHeartBeats();
    void setStateEmitsOnlyChanges();
};

void TestConnectionState::startsDiscoveringAndFallsToNotConnected() {
    ConnectionState state(200);
    QSignalSpy changes(&state, &ConnectionState::stateChanged);
    QCOMPARE(state.state(), S::Discovering);
    // The start is announced once the creator has had the chance to connect; then the real
    // timer's first check without a heartbeat gives "not connected".
    QTRY_COMPARE_WITH_TIMEOUT(states(changes), QList<int>({S::Discovering, S::NotConnected}), 10000);
    QCOMPARE(state.state(), S::NotConnected);
}

void TestConnectionState::heartBeatTransitions_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<int>("to");
    for (int s = S::StatusUnknown; s <= S::RestoringFactoryDefaults; ++s) {
        if (s == S::OfflineDemo)
            continue;
        QTest::addRow("%d reachable", s) << s << true << int(S::Connected);
        QTest::addRow("%d unreachable", s) << s << false << (s == S::Connected ? int(S::ConnectionLost) : s);
    }
}

void TestConnectionState::heartBeatTransitions() {
    QFETCH(int, from);
    QFETCH(bool, reachable);
    QFETCH(int, to);
    ConnectionState state(ConnectionState::CheckIntervalMs * 100);
    FakeHeartBeatSource source;
    state.followHeartBeats(&source);
    state.setState(S(from));
    QSignalSpy changes(&state, &ConnectionState::stateChanged);
    QSignalSpy relayed(&state, &ConnectionState::heartBeat);
    emit source.heartBeat(reachable);
    QCOMPARE(int(state.state()), to);
    QCOMPARE(relayed.count(), 1);
    QCOMPARE(relayed.at(0).at(0).toBool(), reachable);
    QCOMPARE(states(changes), from == to ? QList<int>() : QList<int>({to}));
}

void TestConnectionState::checkTransitions_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("connected is lost") << int(S::Connected) << int(S::ConnectionLost);
    QTest::newRow("lost stays lost") << int(S::ConnectionLost) << int(S::ConnectionLost);
    QTest::newRow("reset waits") << int(S::RestoringFactoryDefaults) << int(S::RestoringFactoryDefaults);
    QTest::newRow("failure stays") << int(S::CommunicationFailure) << int(S::CommunicationFailure);
    QTest::newRow("demo stays") << int(S::OfflineDemo) << int(S::OfflineDemo);
    QTest::newRow("unknown") << int(S::StatusUnknown) << int(S::NotConnected);
    QTest::newRow("discovering") << int(S::Discovering) << int(S::NotConnected);
    QTest::newRow("not connected") << int(S::NotConnected) << int(S::NotConnected);
    QTest::newRow("no device") << int(S::NoDevice) << int(S::NotConnected);
}

void TestConnectionState::checkTransitions() {
    QFETCH(int, from);
    QFETCH(int, to);
    ConnectionState state(ConnectionState::CheckIntervalMs * 100);
    state.setState(S(from));
    QSignalSpy changes(&state, &ConnectionState::stateChanged);
    state.check();
    QCOMPARE(int(state.state()), to);
    QCOMPARE(states(changes), from == to ? QList<int>() : QList<int>({to}));
    // A further silent period changes nothing more: lost is not "never connected".
    state.check();
    QCOMPARE(int(state.state()), to);
}

void TestConnectionState::oneHeartBeatKeepsTheStateThroughOneCheck() {
    ConnectionState state(ConnectionState::CheckIntervalMs * 100);
    FakeHeartBeatSource source;
    state.followHeartBeats(&source);
    emit source.heartBeat(true);
    QCOMPARE(state.state(), S::Connected);
    state.check();
    QCOMPARE(state.state(), S::Connected);
    state.check();
    QCOMPARE(state.state(), S::ConnectionLost);
    emit source.heartBeat(true);
    QCOMPARE(state.state(), S::Connected);
}

void TestConnectionState::offlineDemoIgnoresHeartBeats() {
    ConnectionState state(ConnectionState::CheckIntervalMs * 100);
    FakeHeartBeatSource source;
    state.followHeartBeats(&source);
    state.setState(S::OfflineDemo);
    QSignalSpy changes(&state, &ConnectionState::stateChanged);
    QSignalSpy relayed(&state, &ConnectionState::heartBeat);
    emit source.heartBeat(true);
    emit source.heartBeat(false);
    state.check();
    QCOMPARE(state.state(), S::OfflineDemo);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(relayed.count(), 0);
    // Only a direct change leaves the demo, and a heartbeat then counts again.
    state.setState(S::Discovering);
    emit source.heartBeat(true);
    QCOMPARE(state.state(), S::Connected);
}

void TestConnectionState::setStateEmitsOnlyChanges() {
    ConnectionState state(ConnectionState::CheckIntervalMs * 100);
    QSignalSpy changes(&state, &ConnectionState::stateChanged);
    state.setState(S::CommunicationFailure);
    state.setState(S::CommunicationFailure);
    state.setState(S::NoDevice);
    QCOMPARE(states(changes), QList<int>({S::CommunicationFailure, S::NoDevice}));
    // The queued start announcement is not sent once the state has moved on.
    QVERIFY(!changes.wait(100));
    QCOMPARE(changes.count(), 2);
}

LUMETTO_TEST_MAIN_CORE(TestConnectionState, "tst_connectionstate")

#include "tst_connectionstate.moc"

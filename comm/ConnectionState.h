#pragma once

#include <QObject>

class QTimerEvent;

// The one connection status of the program, driven by the keypad's signs of life and a
// periodic check; some states are set directly by the window and the control panel.
class ConnectionState : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(ConnectionState)

public:
    enum State {
        StatusUnknown = 0,
        Discovering = 1,
        Connected = 2,
        NotConnected = 3,
        CommunicationFailure = 4,
        OfflineDemo = 5,
        ConnectionLost = 6,
        NoDevice = 7,
        RestoringFactoryDefaults = 8
    };
    Q_ENUM(State)

    static constexpr int CheckIntervalMs = 2000;

    static ConnectionState* instance();

    // A state object that follows no heartbeat source yet; instance() attaches the REST client.
    explicit ConnectionState(int checkIntervalMs = CheckIntervalMs);
    ~ConnectionState() override;

    // Follows the heartBeat(bool) signal of any source (the REST client, or a test's fake).
    template <typename Source>
    void followHeartBeats(Source* source) {
        connect(source, &Source::heartBeat, this, &ConnectionState::handleHeartBeat);
    }

    State state() const { return m_state; }
    void setState(ConnectionState::State status);

    // The periodic check; the timer calls it, tests may call it directly.
    void check();

signals:
    void stateChanged(ConnectionState::State status);
    void heartBeat(bool reachable);

protected:
    void timerEvent(QTimerEvent* event) override;

private slots:
    void handleHeartBeat(bool reachable);

private:
    int m_timerId = 0;
    bool m_heartBeatSeen = false;
    State m_state = Discovering;
};

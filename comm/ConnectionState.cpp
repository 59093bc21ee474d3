#include "ConnectionState.h"

#include "MSPComm.h"

#include <QTimerEvent>

ConnectionState* ConnectionState::instance() {
    static ConnectionState* state = [] {
        auto* created = new ConnectionState;
        MSPComm* comm = MSPComm::instance();
        created->followHeartBeats(comm);
        connect(created, &ConnectionState::stateChanged, comm,
                [comm](ConnectionState::State state) { comm->setOfflineDemo(state == OfflineDemo); });
        return created;
    }();
    return state;
}

ConnectionState::ConnectionState(int checkIntervalMs) {
    qRegisterMetaType<ConnectionState::State>("ConnectionState::State");
    m_timerId = startTimer(checkIntervalMs, Qt::CoarseTimer);
    // Nobody is connected yet at construction; the announcement is queued so that whoever
    // creates the object can still connect to it.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_state == Discovering)
                emit stateChanged(Discovering);
        },
        Qt::QueuedConnection);
}

ConnectionState::~ConnectionState() {
    if (m_timerId)
        killTimer(m_timerId);
}

void ConnectionState::setState(ConnectionState::State status) {
    if (status == m_state)
        return;
    m_state = status;
    emit stateChanged(status);
}

void ConnectionState::check() {
    const State old = m_state;
    if (!m_heartBeatSeen && m_state != CommunicationFailure && m_state != OfflineDemo) {
        switch (m_state) {
        case Connected:
            m_state = ConnectionLost;
            break;
        case ConnectionLost:
        case RestoringFactoryDefaults:
            break;
        default:
            m_state = NotConnected;
            break;
        }
    }
    if (m_state != old)
        emit stateChanged(m_state);
    m_heartBeatSeen = false;
}

void ConnectionState::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timerId)
        check();
    else
        QObject::timerEvent(event);
}

void ConnectionState::handleHeartBeat(bool reachable) {
    if (m_state == OfflineDemo)
        return;
    emit heartBeat(reachable);
    const State old = m_state;
    m_heartBeatSeen = true;
    if (reachable)
        m_state = Connected;
    else if (old == Connected)
        m_state = ConnectionLost;
    if (m_state != old)
        emit stateChanged(m_state);
}

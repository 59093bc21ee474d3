#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QLocalSocket;

// Starts lumetto-keypad-sim as a host of its own on the test's private network (scripts/nshost)
// and drives it: button presses, misbehaviour, its state and the log of every HTTP request it
// received. Only inside scripts/netns-run (a NETWORK test).
//
//     KeypadSimulator sim;
//     QVERIFY(sim.start({"10.77.0.2", "Lobby"}));
//     QVERIFY(sim.press(3));
//     QTRY_COMPARE(sim.requestCount("POST", "/api/v1/shows/3"), 1);
//
// The log and the reported events are filled from the simulator's output as the event loop
// runs, so they suit QTRY_COMPARE; commands and state() are round trips that return at once.
class KeypadSimulator : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(KeypadSimulator)

public:
    struct Options {
        Options(const QString& address = QStringLiteral("10.77.0.2"), const QString& name = QStringLiteral("Keypad"))
            : address(address)
            , name(name) {}

        QString address;
        QString name;
        QString mac;     // empty: derived from the address
        QString version; // empty: the simulator's default, a firmware with the button feature
        QString serial;
        int heartbeatMs = 500;
        int rebootMs = -1; // -1: the simulator's default
        QString editor;    // where heartbeats and notices go before anyone talks to the keypad
        QString partNumber;
        QStringList extraArguments;
    };

    // One HTTP request as the keypad received it.
    struct Request {
        QString peer;
        QString method;
        QString path;
        QByteArray body;
        QByteArray contentType;
        // When the test heard of it, in ms since this object was made: timing to within a few ms.
        qint64 receivedMs = 0;
    };

    explicit KeypadSimulator(QObject* parent = nullptr);
    ~KeypadSimulator() override;

    /// Starts the simulator and waits until it serves; false (with the reason logged) otherwise.
    bool start(const Options& options);
    bool start();
    /// Stops it cleanly (or, failing that, by signal). Also done by the destructor.
    void stop();
    /// Ends it abruptly, as a keypad that loses power: no reply, no goodbye.
    void kill();
    bool isRunning() const;

    QString address() const { return m_address; }
    QString mac() const { return m_mac; }
    /// The six bytes of the hardware address.
    QByteArray macBytes() const;

    /// Sends one control command and returns the reply line; empty when no reply came.
    QByteArray command(const QByteArray& line);
    bool press(int scene);
    bool pressUp();
    bool pressDown();
    bool pressOnOff();
    bool setHeartbeats(bool on);
    bool setRefusing(bool on);
    bool setHanging(bool on);
    /// Takes requests and answers none for msec (negative: until endStall()), then answers the
    /// held ones in the order they came; heartbeats go on meanwhile.
    bool stall(int msec);
    bool endStall();
    bool setDelay(int msec);
    bool silence(int msec);
    /// Stores an edit body (as the editor would post it) as a scene's saved and live state.
    bool setScene(int scene, const QByteArray& body);
    /// Takes a configuration body as if posted, without notices.
    bool setConfig(const QByteArray& body);

    /// The simulator's state now (see the "state" command); empty when it does not answer.
    QJsonObject state();
    int activeScene();
    /// A scene's live or saved content, in the keypad's own canonical query text.
    QString liveQuery(int scene);
    QString savedQuery(int scene);

    QList<Request> requestLog() const { return m_requests; }
    QList<Request> requests(const QString& method, const QString& path) const;
    int requestCount() const { return m_requests.size(); }
    int requestCount(const QString& method, const QString& path) const;
    void clearRequestLog() { m_requests.clear(); }

    /// What the simulator reported ("scene-notice 3 to 10.77.0.1", "moved 10.77.0.9", ...).
    QStringList events() const { return m_events; }
    bool hasEvent(const QString& prefix) const;
    void clearEvents() { m_events.clear(); }

signals:
    void requestReceived(const KeypadSimulator::Request& request);
    void eventReported(const QString& event);

private:
    void readOutput();
    void readErrors();
    void takeLine(const QByteArray& line);
    bool expectOk(const QByteArray& line);

    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_process;
    QLocalSocket* m_control = nullptr;
    QString m_address;
    QString m_mac;
    bool m_ready = false;
    QElapsedTimer m_clock;
    QList<Request> m_requests;
    QStringList m_events;
};

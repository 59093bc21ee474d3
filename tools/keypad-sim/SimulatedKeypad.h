#pragma once

#include "DiscoveryPacket.h"
#include "KeypadHttpServer.h"
#include "KeypadState.h"

#include <QHostAddress>
#include <QObject>
#include <QTimer>

#include <condition_variable>
#include <deque>
#include <mutex>

class QUdpSocket;

/**
 * A keypad as the editor sees it from the network: HTTP server, discovery answers, heartbeats
 * and notices, and a control interface (command()) through which tests press its buttons and
 * misbehave it.
 *
 * The HTTP server runs on its own threads; the keypad's state is shared with them under
 * m_mutex. Everything else, the UDP sockets above all, lives on the Qt main thread: HTTP
 * handlers hand their consequences over with queued calls.
 */
class SimulatedKeypad : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(SimulatedKeypad)

public:
    // Which configuration changes send a configuration notice.
    enum class ConfigNotices { All, Buttons, None };

    struct Options {
        QString address;
        quint16 httpPort = 80;
        DiscoveryPacket::Mac mac{};
        quint32 serial = 0;
        QString partNumber = QStringLiteral("SFT-009251-00");
        int heartbeatMs = 500;
        int rebootMs = 3000;
        int keepAliveSeconds = 0;
        QHostAddress editor;
        ConfigNotices configNotices = ConfigNotices::All;
        KeypadConfig factory;
    };

    explicit SimulatedKeypad(const Options& options, QObject* parent = nullptr);
    ~SimulatedKeypad() override;

    /// Opens the sockets and the HTTP server; false with @p error when one cannot be opened.
    bool start(QString* error);
    /// Runs one control command and returns its reply line.
    QByteArray command(const QByteArray& line);

    /// Reads "all", "buttons" or "none".
    static bool parseConfigNotices(const QByteArray& text, ConfigNotices& mode);

signals:
    /// A line for whoever watches the keypad: "request ..." or "event ...".
    void report(const QByteArray& line);
    void quitRequested();

private:
    void handleHttp(const httplib::Request& request, httplib::Response& response);
    void readDiscovery();
    void answerDiscover(const DiscoveryPacket& request, const QHostAddress& sender, quint16 port);
    void answerSetAddress(const DiscoveryPacket& request, const QHostAddress& sender, quint16 port);
    /// Takes @p address (and the netmask of @p newPrefix, or the current one when it is -1).
    bool moveTo(const QString& address, int newPrefix, QString* error);
    void sendHeartbeat();
    void sendNotice(const QByteArray& datagram, const QByteArray& what);
    void sendSceneNotice(int scene);
    void sendConfigNotice();
    void talkedToBy(const QHostAddress& editor);
    bool startHttp(QString* error);
    void stopHttp();
    void updateHttp();
    void beSilent(int msec);
    /// Holds every request from now on (for @p msec, or until released when it is negative).
    void stall(int msec);
    void setHolding(bool hold);
    QByteArray press(const QByteArray& button);
    QByteArray stateLine();

    Options m_options;
    QString m_address;
    KeypadHttpServer m_http;
    QUdpSocket* m_discovery = nullptr;
    QUdpSocket* m_out = nullptr;
    QTimer m_heartbeatTimer;
    QTimer m_silenceTimer;
    QTimer m_stallTimer;
    QHostAddress m_editor;
    ConfigNotices m_configNotices = ConfigNotices::All;
    bool m_heartbeats = true;
    bool m_refusing = false;
    bool m_silent = false;
    int m_heartbeatsSent = 0;
    int m_noticesSent = 0;

    // Shared with the HTTP threads.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    KeypadState m_state;
    bool m_hanging = false;
    // Requests held while hanging, in the order they came; released in that order, as a keypad
    // that was busy works off its backlog.
    std::deque<quint64> m_held;
    quint64 m_nextTicket = 0;
    int m_delayMs = 0;
    bool m_stopping = false;
    int m_requests = 0;
};

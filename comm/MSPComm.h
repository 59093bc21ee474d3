#pragma once

#include "DeliveryQueue.h"
#include "MSPDeviceLink.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QNetworkAddressEntry>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class MSPScene;
class NetworkPrefs;
class QIODevice;
class QNetworkAccessManager;
class QNetworkConfigurationManager;
class QNetworkReply;
class QUdpSocket;

// The one object that talks to the connected keypad: its REST interface over HTTP and the
// notices and heartbeats it sends over UDP.
class MSPComm : public QObject, public MSPDeviceLink {
    Q_OBJECT
    Q_DISABLE_COPY(MSPComm)

public:
    static constexpr quint16 KeypadNoticePort = 6041;
    static constexpr quint16 HeartBeatPort = 6038;
    static constexpr int SceneUpdateIntervalMs = 100;
    // A keypad that accepts a connection but never answers must not hold a request forever.
    static constexpr int TransferTimeoutMs = 5000;
    // How long a post waits for the connection opened ahead of it: a keypad on the local network
    // answers within a millisecond or two; one that takes longer gets the post on its slow way.
    static constexpr int PreconnectWaitMs = 20;

    static MSPComm* instance();
    ~MSPComm() override;

    void setDevice(const QString& address, const QByteArray& mac);
    // Follows the interface the user chooses on the Network page.
    void setNetworkPrefs(NetworkPrefs* prefs);
    QString address() const { return m_address; }
    QByteArray mac() const { return m_mac; }

    void setPostsSuppressed(bool suppressed) override;
    bool postsSuppressed() const { return m_postsSuppressed; }
    void setLoadingFile(bool loading) { m_loadingFile = loading; }
    bool loadingFile() const { return m_loadingFile; }
    // In the offline demo nothing is sent, not even to a keypad still known from before the
    // connection was lost; the connection state sets this as it enters and leaves the demo.
    void setOfflineDemo(bool offline) { m_offlineDemo = offline; }

    static bool isOnLocalSubnet(const QString& address);

    // The editor's read of all scenes ends by reverting the active scene ("apply=0"), which throws
    // away an edit the keypad plays but has not saved; a read that must leave the keypad as it is
    // (a backup, a comparison) passes false. Asked for while writes to the scenes wait, the read
    // follows them, and does not revert.
    void getShows(bool revertActiveScene = true);
    void requestScene(int index, bool unparsed);
    void getConfig();
    void postToDevice(const QString& path, const QString& body, bool unparsed, bool failureTolerant, bool apply);

    void applyScene(MSPScene* scene);
    void revertScene(MSPScene* scene);
    void brightnessUp();
    void brightnessDown();
    void pressOnOff();
    void restoreFactoryDefaults();
    void sendConfiguration(const QStringList& bodies, const QString& newIpAddress);

    // Reads a keypad reply into the models; returns whether it parsed.
    bool parseReply(QIODevice* reply);

    QNetworkConfigurationManager* networkConfigurationManager() const { return m_networkConfigurationManager; }
    // Whether a request is still outstanding (tests and the command-line tool wait on it).
    bool hasOutstandingReplies() const { return m_outstanding > 0; }

    // Writes (edits, saves, configuration changes, presses) that have not reached the keypad: those
    // sent again after a failure, those unanswered for a while, and those waiting behind them.
    int waitingWrites() const { return m_waitingWrites; }
    // Gives up every write that has not reached the keypad; returns how many there were.
    int discardWaitingWrites();
    // Gives up the writes that wait for these paths: something newer replaces them.
    int discardWaitingWrites(const QStringList& paths);
    // Nothing is queued, in flight or waiting to be sent again.
    bool deliveryIdle() const { return m_delivery.isIdle(); }
    // One request whose tries its caller manages (a file written step by step): sent in its turn
    // on its path, never repeated or replaced here. Returns its id for requestFinished(), 0 when
    // there is no keypad to send it to.
    quint64 sendStep(const QString& path, bool post, const QString& body, bool readReply);

signals:
    void activeSceneIndexChanged(int index);
    void networkError();
    void heartBeat(bool reachable);
    void configReceived();
    // Every request as it leaves, and every reply once it has been handled (progress reports
    // and tests follow the traffic through these).
    void requestSent(const QString& method, const QString& path, const QString& body);
    void replyHandled(QNetworkReply* reply);
    // A request of the delivery queue has been answered or has failed; failure says what happened,
    // in words that follow "the keypad at ADDRESS".
    void requestFinished(quint64 id, bool delivered, const QString& failure);
    void waitingWritesChanged(int count);

public slots:
    void getScene(int index);
    void handleEffectParamsChanged(MSPScene* scene);
    void handleEffectChanged(MSPScene* scene);

protected slots:
    void replyFinished(QNetworkReply* reply);
    void handleSceneUpdateTimer();

private slots:
    void processPendingKeyPadDatagrams();
    void processPendingHeartBeatDatagrams();
    void toggleSocket();
    void handleHostAddressChanged(QNetworkAddressEntry hostAddressEntry, QString name);

private:
    MSPComm();

    QNetworkReply* get(const QString& path);
    static void limitTransferTime(QNetworkReply* reply);
    bool keypadReachable() const;
    QNetworkReply* post(const QString& path, const QString& body);
    void announce(bool post, const QString& path, const QString& body);

    // Requests to one scene, and writes to the configuration, go out one at a time in the order
    // they were made: the HTTP stack spreads requests over several connections, and the keypad
    // must not save ("apply=1") or report a scene before the edit sent just before has reached
    // it, nor take an older configuration write after a newer one. DeliveryQueue decides what
    // leaves when; this sends it.
    quint64 queueRequest(const QString& path, bool post, const QString& body, bool unparsed, bool failureTolerant,
                         DeliveryQueue::Kind kind);
    void sendDue();
    void finishDelivery(QNetworkReply* reply, quint64 id, bool failed, bool tolerant);
    void runDeferredReads();
    bool mayTalkToKeypad() const;
    void dropOutstandingReplies();
    void waitForActiveSceneButton();
    // True while the models change because a document is being read, not because the user
    // edited: those changes must not travel back to the keypad.
    void noteEdit(MSPScene* scene);
    void noteSceneWrite(const QString& path, const QString& body);
    bool readingDocument() const { return m_parsingReplies > 0 || m_loadingFile; }

    QString m_address;
    QByteArray m_mac;
    QNetworkAccessManager* m_networkAccessManager = nullptr;
    QNetworkConfigurationManager* m_networkConfigurationManager = nullptr;
    QList<QNetworkReply*> m_unparsedReplies;
    QList<QNetworkReply*> m_failureTolerantReplies;
    QList<QNetworkReply*> m_keyPadSceneReplies;
    DeliveryQueue m_delivery;
    QHash<QNetworkReply*, quint64> m_deliveries;
    QTimer m_deliveryTimer;
    QElapsedTimer m_clock;
    int m_waitingWrites = 0;
    // Reads asked for while writes to what they read had not arrived: they follow the writes.
    bool m_showsDeferred = false;
    bool m_configDeferred = false;
    MSPScene* m_pendingScene = nullptr;
    QTimer m_sceneUpdateTimer;
    QNetworkReply* m_configReply = nullptr;
    QNetworkReply* m_showsReply = nullptr;
    QTimer m_socketToggleTimer;
    QUdpSocket* m_keyPadSocket = nullptr;
    QUdpSocket* m_heartBeatSocket = nullptr;
    bool m_postsSuppressed = false;
    bool m_loadingFile = false;
    bool m_offlineDemo = false;
    NetworkPrefs* m_networkPrefs = nullptr;

    bool m_socketEnabled = false;
    bool m_bindErrorShowing = false;
    bool m_firstReply = true;
    int m_parsingReplies = 0;
    int m_outstanding = 0;
};

#pragma once

#include "DiscoveredDevice.h"

#include <QList>
#include <QObject>

class NetworkPrefs;
class QTimerEvent;
class Vexil;

// Finds keypads of this product on the local network through the discovery library.
class Discoverer : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(Discoverer)

public:
    static Discoverer* instance();

    Discoverer();
    ~Discoverer() override;

    // Sends one discovery request; the list of devices starts empty again.
    void discover();
    // discover(), then a repeating time-limit timer whose id the caller kills.
    int startDiscovery(int msec);

    void setNetworkPrefs(NetworkPrefs* prefs);
    int deviceCount() const { return m_devices.size(); }
    QList<DiscoveredDevice> devices() const { return m_devices; }

    // The discovery driver; the REST client uses it for the subnet test and address changes.
    Vexil* vexil() const { return m_vexil; }

signals:
    void reachedDiscoverTimeLimit();
    void discovering();

public slots:
    void handleSignalDiscoverResponse(char* mac, uint ip, uint sn, ushort ver, uint uni, char* verstring,
                                      char* idstring);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    Vexil* m_vexil = nullptr;
    QList<DiscoveredDevice> m_devices;
    NetworkPrefs* m_networkPrefs = nullptr;
};

#include "Discoverer.h"

#include "CommLog.h"
#include "DiscoveryVersionText.h"
#include "KeypadAddressing.h"
#include "NetworkPrefs.h"
#include "Vexil.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QTimerEvent>
#include <QtDebug>
#include <algorithm>

namespace {

constexpr char LimitedBroadcast[] = "255.255.255.255";
constexpr int MacSize = 6;

} // namespace

Discoverer* Discoverer::instance() {
    static Discoverer* discoverer = new Discoverer;
    return discoverer;
}

Discoverer::Discoverer()
    : m_vexil(new Vexil) {
    connect(m_vexil, &Vexil::signalDiscoverResponse, this, &Discoverer::handleSignalDiscoverResponse);
}

Discoverer::~Discoverer() {
    delete m_vexil;
}

void Discoverer::discover() {
    emit discovering();
    qCDebug(lcComm) << "discovering ***************";
    m_devices.clear();

    QString target;
    if (m_networkPrefs) {
        qCDebug(lcComm) << "using hostAddress";
        target = KeypadAddressing::directedBroadcastFor(m_networkPrefs->hostAddress());
        QNetworkAddressEntry entry = m_networkPrefs->currentAddressEntry();
        m_vexil->setInterface(entry);
    } else {
        const QHostInfo host = QHostInfo::fromName(QHostInfo::localHostName());
        target = KeypadAddressing::discoveryTargetFor(host.addresses());
    }

    if (target.isEmpty()) {
        qCDebug(lcComm) << "sending discover to 255.255.255.255";
        m_vexil->sendDiscover(LimitedBroadcast);
    } else {
        qCDebug(lcComm).noquote() << "sending discover to " + target;
        m_vexil->sendDiscover(target.toLatin1().constData());
    }
}

int Discoverer::startDiscovery(int msec) {
    discover();
    return startTimer(msec, Qt::CoarseTimer);
}

void Discoverer::timerEvent(QTimerEvent* event) {
    Q_UNUSED(event)
    emit reachedDiscoverTimeLimit();
}

void Discoverer::handleSignalDiscoverResponse(char* mac, uint ip, uint sn, ushort ver, uint uni, char* verstring,
                                              char* idstring) {
    Q_UNUSED(ver)
    qCDebug(lcComm) << "got discover response";
    const DiscoveryVersionText version(verstring);
    if (!version.isKeypad() || !mac)
        return;

    const QString address = QHostAddress(static_cast<quint32>(ip)).toString();
    qCDebug(lcComm).noquote() << "Discovered MSP at " + address;
    DiscoveredDevice device(QString::fromLatin1(idstring ? idstring : ""), QByteArray(mac, MacSize), address);
    device.setDetails(version.product(), version.hardware(), version.firmware(), sn, uni);
    m_devices.append(device);
    std::stable_sort(m_devices.begin(), m_devices.end(),
                     [](const DiscoveredDevice& a, const DiscoveredDevice& b) { return a.address() < b.address(); });
}

void Discoverer::setNetworkPrefs(NetworkPrefs* prefs) {
    m_networkPrefs = prefs;
}

#include "LowDelaySockets.h"

#include "CommLog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QThread>
#include <QtDebug>
#include <QtEndian>

#ifdef Q_OS_LINUX
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace {

bool enabled = true;

} // namespace

void LowDelaySockets::setEnabled(bool on) {
    enabled = on;
}

bool LowDelaySockets::isEnabled() {
    return enabled;
}

namespace {

#ifdef Q_OS_LINUX
// The kernel's TCP states as /proc/net/tcp writes them.
constexpr int Established = 1;
constexpr int SynSent = 2;

// States of this network namespace's IPv4 TCP sockets to the peer, by socket inode.
QHash<quint64, int> socketStates(const QHostAddress& peer, quint16 port) {
    QHash<quint64, int> states;
    QFile table(QStringLiteral("/proc/self/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return states;
    // A remote address is its four bytes in network order read as one native number, then the
    // port: 10.0.0.2:80 reads 0200000A:0050 here.
    const QByteArray remote =
        QByteArray::number(qToBigEndian(peer.toIPv4Address()), 16).rightJustified(8, '0').toUpper() + ':' +
        QByteArray::number(port, 16).rightJustified(4, '0').toUpper();
    table.readLine();
    for (QByteArray line = table.readLine(); !line.isEmpty(); line = table.readLine()) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 10 || fields.at(2) != remote)
            continue;
        states.insert(fields.at(9).toULongLong(), fields.at(3).toInt(nullptr, 16));
    }
    return states;
}
#endif

} // namespace

bool LowDelaySockets::hasConnection(const QHostAddress& peer, quint16 port) {
#ifdef Q_OS_LINUX
    if (peer.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    for (const int state : socketStates(peer, port)) {
        if (state == Established || state == SynSent)
            return true;
    }
#else
    Q_UNUSED(peer)
    Q_UNUSED(port)
#endif
    return false;
}

bool LowDelaySockets::awaitConnection(const QHostAddress& peer, quint16 port, int timeoutMs) {
#ifdef Q_OS_LINUX
    QElapsedTimer clock;
    clock.start();
    do {
        if (applyTo(peer, port) > 0)
            return true;
        QThread::usleep(100);
    } while (clock.elapsed() < timeoutMs);
#else
    Q_UNUSED(peer)
    Q_UNUSED(port)
    Q_UNUSED(timeoutMs)
#endif
    return false;
}

int LowDelaySockets::applyTo(const QHostAddress& peer, quint16 port) {
    int changed = 0;
#ifdef Q_OS_LINUX
    if (!enabled || peer.protocol() != QAbstractSocket::IPv4Protocol)
        return 0;
    const QStringList descriptors = QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System);
    for (const QString& name : descriptors) {
        bool ok = false;
        const int fd = name.toInt(&ok);
        if (!ok)
            continue;
        int type = 0;
        socklen_t length = sizeof(type);
        if (getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) != 0 || type != SOCK_STREAM)
            continue;
        sockaddr_storage address{};
        length = sizeof(address);
        if (getpeername(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            continue;
        QHostAddress connected;
        quint16 connectedPort = 0;
        if (address.ss_family == AF_INET) {
            const auto* v4 = reinterpret_cast<const sockaddr_in*>(&address);
            connected.setAddress(ntohl(v4->sin_addr.s_addr));
            connectedPort = ntohs(v4->sin_port);
        } else if (address.ss_family == AF_INET6) {
            const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&address);
            connected.setAddress(reinterpret_cast<const quint8*>(&v6->sin6_addr));
            connectedPort = ntohs(v6->sin6_port);
        } else {
            continue;
        }
        if (connectedPort != port || !connected.isEqual(peer, QHostAddress::ConvertV4MappedToIPv4))
            continue;
        const int one = 1;
        if (setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof(one)) == 0)
            ++changed;
        else
            qCDebug(lcComm) << "cannot set TCP_NODELAY on descriptor" << fd;
    }
#else
    Q_UNUSED(peer)
    Q_UNUSED(port)
#endif
    return changed;
}

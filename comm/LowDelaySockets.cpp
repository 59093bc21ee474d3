#include "LowDelaySockets.h"

#include "CommLog.h"

#include <QDir>
#include <QtDebug>

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

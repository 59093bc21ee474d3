#include "TestProxy.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

TestProxy::~TestProxy() {
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished(5000);
}

bool TestProxy::start(const QString& user, const QString& password) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("tinyproxy"), {"/usr/bin", "/usr/sbin"});
    if (program.isEmpty()) {
        m_error = QStringLiteral("tinyproxy is not installed (scripts/install-deps)");
        return false;
    }
    {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0)) {
            m_error = probe.errorString();
            return false;
        }
        m_port = probe.serverPort();
    }
    QString config = QStringLiteral("Port %1\nListen 127.0.0.1\nTimeout 30\nMaxClients 20\nAllow 127.0.0.1\n"
                                    "LogFile \"%2\"\nLogLevel Connect\nViaProxyName \"%3\"\n")
                         .arg(m_port)
                         .arg(m_dir.filePath(QStringLiteral("proxy.log")), viaName());
    if (!user.isEmpty())
        config += QStringLiteral("BasicAuth %1 %2\n").arg(user, password);
    QFile file(m_dir.filePath(QStringLiteral("proxy.conf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(config.toUtf8()) < 0) {
        m_error = file.errorString();
        return false;
    }
    file.close();

    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    m_process.start(program, {QStringLiteral("-d"), QStringLiteral("-c"), file.fileName()});
    if (!m_process.waitForStarted(5000)) {
        m_error = m_process.errorString();
        return false;
    }
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (socket.waitForConnected(200))
            return true;
        if (m_process.state() == QProcess::NotRunning)
            break;
        m_process.waitForFinished(100); // paces the retries, and notices an early exit
    }
    m_error = QStringLiteral("tinyproxy did not start listening on port %1").arg(m_port);
    return false;
}

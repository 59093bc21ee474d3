#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A real HTTP proxy (Debian's tinyproxy) on a loopback port, for the duration of a test.
class TestProxy {
    Q_DISABLE_COPY(TestProxy)

public:
    TestProxy() = default;
    ~TestProxy();

    // Starts the proxy; with a user name it demands basic authentication. False, with a reason in
    // error(), when tinyproxy is missing or does not come up.
    bool start(const QString& user = QString(), const QString& password = QString());
    quint16 port() const { return m_port; }
    QString error() const { return m_error; }
    // The name tinyproxy puts in its Via header.
    static QString viaName() { return QStringLiteral("lumetto-test-proxy"); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_error;
};

#include "AutoUpdateTool.h"
#include "HttpTestServer.h"
#include "TestEnvironment.h"
#include "TestProxy.h"

#include <QElapsedTimer>
#include <QSignalSpy>

#include <memory>

using ZelCommonUtils::AutoUpdateTool;

Q_DECLARE_METATYPE(HttpTestServer::Response)

namespace {

const QByteArray FilePath = "/software/ZelAppVersions.xml";
const QString AppName = QStringLiteral("Lumetto Keypad Effect Manager");

QByteArray versionFile(const QByteArray& version, const QByteArray& released = "2014-03-05") {
    return "<?xml version=\"1.0\"?>\n<ZelAppVersions format=\"1\">\n"
           "  <application name=\"Other\" version=\"9.9.9.9\" download=\"http://other.example/\"/>\n"
           "  <application name=\"Lumetto Keypad Effect Manager\" version=\"" +
           version + "\" released=\"" + released +
           "\" download=\"http://downloads.example/lumetto\"/>\n"
           "</ZelAppVersions>\n";
}

enum class Outcome { Succeeded, Failed, Broken };

// One download, and which of the two outcomes ended it; Broken when not exactly one did.
Outcome download(AutoUpdateTool& tool, int waitMs = 20000) {
    QSignalSpy success(&tool, &AutoUpdateTool::fileDownloadSuccess);
    QSignalSpy failure(&tool, &AutoUpdateTool::unableToRetrieveFile);
    tool.getVersionInfo();
    [&] { QTRY_VERIFY_WITH_TIMEOUT(success.count() + failure.count() > 0, waitMs); }();
    if (success.count() + failure.count() != 1)
        return Outcome::Broken;
    return success.count() == 1 ? Outcome::Succeeded : Outcome::Failed;
}

void expectWarning(const QString& pattern) {
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(pattern));
}

} // namespace

class TestAutoUpdateTool : public QObject {
    Q_OBJECT

    std::unique_ptr<HttpTestServer> m_server;
    std::unique_ptr<AutoUpdateTool> m_tool;

private slots:
    void init() {
        m_server = std::make_unique<HttpTestServer>();
        QVERIFY(m_server->listen(QHostAddress(QStringLiteral("10.77.0.1"))));
        m_tool = std::make_unique<AutoUpdateTool>(nullptr);
        m_tool->setHost(m_server->hostAndPort());
        m_tool->setUpdateFile(QString::fromLatin1(FilePath));
    }

    void cleanup() {
        m_tool.reset();
        m_server.reset();
    }

    void reportsNewerAndSameVersions() {
        m_server->serve(FilePath, versionFile("3.1.3.0", "2013-11-27"));
        QCOMPARE(download(*m_tool), Outcome::Succeeded);
        QVERIFY(m_server->requestCount() == 1 && m_server->requests().first().method == "GET");
        QCOMPARE(m_server->requests().first().target, FilePath);

        QSignalSpy available(m_tool.get(), &AutoUpdateTool::updateAvailable);
        QSignalSpy none(m_tool.get(), &AutoUpdateTool::noUpdateAvailable);
        m_tool->checkForUpdate(AppName, 3, 1, 3, 0, 20131127);
        QCOMPARE(none.count(), 1);
        QCOMPARE(none.first(), (QVariantList{AppName, QStringLiteral("3.1.3.0 (2013-11-27)")}));
        // The same file answers older programs with an update.
        m_tool->checkForUpdate(AppName, 3, 1, 2, 9, 20131127);
        QCOMPARE(available.count(), 1);
        QCOMPARE(available.first(), (QVariantList{AppName, QStringLiteral("3.1.3.0 (2013-11-27)"),
                                                  QStringLiteral("http://downloads.example/lumetto")}));

        // A file that does not list this program offers nothing, and names the running version.
        m_server->serve(FilePath, "<ZelAppVersions><application name=\"Other\" version=\"99\"/></ZelAppVersions>");
        QCOMPARE(download(*m_tool), Outcome::Succeeded);
        expectWarning(QStringLiteral("does not list"));
        m_tool->checkForUpdate(AppName, 3, 1, 3, 1, 20131127);
        QCOMPARE(available.count(), 1);
        QCOMPARE(none.last().at(1).toString(), QStringLiteral("3.1.3.1 (2013-11-27)"));
    }

    void failuresEndWithUnableToRetrieve_data() {
        QTest::addColumn<HttpTestServer::Response>("response");
        QTest::addColumn<QString>("logged");
        auto row = [](const char* name, int status, const QByteArray& body, const char* logged, bool length = true,
                      HttpTestServer::Behaviour behaviour = HttpTestServer::Behaviour::Answer) {
            QTest::newRow(name) << HttpTestServer::Response{status, body, behaviour, length} << QString(logged);
        };
        const QByteArray huge(ZelCommonUtils::VersionFileCodec::MaxFileSize * 16, 'x');
        row("404", 404, versionFile("9.0.0.0"), "(HTTP status 404)");
        row("204 without content", 204, QByteArray(), "empty");
        row("malformed", 200, "<html>Welcome to our portal</html>", "not usable");
        row("huge with length", 200, huge, "larger than");
        row("huge without length", 200, huge, "larger than", false);
        // Refused as it passes the limit, not when the time limit ends a reply that never ends.
        row("over the limit, then silent", 200, QByteArray(ZelCommonUtils::VersionFileCodec::MaxFileSize + 1, 'x'),
            "larger than", false, HttpTestServer::Behaviour::AnswerAndHold);
        row("closed without answer", 200, QByteArray(), "failed", true, HttpTestServer::Behaviour::CloseAtOnce);
    }

    void failuresEndWithUnableToRetrieve() {
        QFETCH(HttpTestServer::Response, response);
        QFETCH(QString, logged);
        // Nothing stale is compared after a failure, even when an earlier download worked.
        m_server->serve(FilePath, versionFile("9.0.0.0"));
        QCOMPARE(download(*m_tool), Outcome::Succeeded);
        m_server->setResponse(FilePath, response);
        expectWarning(QRegularExpression::escape(logged));
        QCOMPARE(download(*m_tool), Outcome::Failed);
        QSignalSpy available(m_tool.get(), &AutoUpdateTool::updateAvailable);
        expectWarning(QStringLiteral("no version file has been downloaded"));
        m_tool->checkForUpdate(AppName, 3, 1, 3, 0, 20131127);
        QCOMPARE(available.count(), 0);
    }

    void unreachableServer() {
        quint16 closedPort = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            closedPort = probe.serverPort();
        }
        m_tool->setHost(QStringLiteral("127.0.0.1:%1").arg(closedPort));
        expectWarning(QStringLiteral("refused"));
        QCOMPARE(download(*m_tool), Outcome::Failed);

        // A host that is no http(s) server: refused without a request, still through the event loop.
        m_tool->setHost(QStringLiteral("file:///etc"));
        QSignalSpy failure(m_tool.get(), &AutoUpdateTool::unableToRetrieveFile);
        expectWarning(QStringLiteral("no valid update server host"));
        m_tool->getVersionInfo();
        QCOMPARE(failure.count(), 0);
        QTRY_COMPARE(failure.count(), 1);
    }

    void silentServerIsBoundedInTime() {
        HttpTestServer::Response silent;
        silent.behaviour = HttpTestServer::Behaviour::NeverAnswer;
        m_server->setResponse(FilePath, silent);
        QElapsedTimer clock;
        clock.start();
        expectWarning(QStringLiteral("no complete answer within 8000 ms"));
        QCOMPARE(download(*m_tool, 60000), Outcome::Failed);
        // Coarse timers may fire up to 5 % early.
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed >= 8000 * 9 / 10 && elapsed < 8000 + 10000, qPrintable(QString::number(elapsed)));

        // A second call while one runs is answered by the running download alone.
        m_tool->setTimeout(500);
        QSignalSpy failure(m_tool.get(), &AutoUpdateTool::unableToRetrieveFile);
        expectWarning(QStringLiteral("no complete answer within 500 ms"));
        m_tool->getVersionInfo();
        QVERIFY(m_tool->isDownloading());
        m_tool->getVersionInfo();
        QVERIFY(failure.wait(20000));
        QVERIFY(!m_tool->isDownloading());
        m_server->serve(FilePath, versionFile("3.0"));
        QCOMPARE(download(*m_tool), Outcome::Succeeded);
        QCOMPARE(failure.count(), 1);
        QCOMPARE(m_server->requestCount(), 3);
    }

    void goesThroughARealProxyAndDirectAgain() {
        auto proxy = std::make_unique<TestProxy>();
        if (!proxy->start(QStringLiteral("alice"), QStringLiteral("s3cret")))
            QFAIL(qPrintable(proxy->error()));
        m_server->serve(FilePath, versionFile("3.2.0.0"));

        m_tool->setProxy(QStringLiteral("127.0.0.1"), proxy->port(), QStringLiteral("alice"), QStringLiteral("wrong"));
        expectWarning(QStringLiteral("failed"));
        QCOMPARE(download(*m_tool), Outcome::Failed);
        QCOMPARE(m_server->requestCount(), 0);
        m_tool->setProxy(QStringLiteral("127.0.0.1"), proxy->port(), QStringLiteral("alice"), QStringLiteral("s3cret"));
        QCOMPARE(download(*m_tool), Outcome::Succeeded);
        QCOMPARE(m_server->requestCount(), 1);
        const QMap<QByteArray, QByteArray> headers = m_server->requests().first().headers;
        QVERIFY2(headers.value("via").contains(TestProxy::viaName().toUtf8()), headers.value("via").constData());
        // The credentials are for the proxy only, and no cache on the way may answer for the server.
        QVERIFY(!headers.contains("proxy-authorization") && headers.value("cache-control") == "no-cache");

        m_tool->clearProxy();
        QCOMPARE(download(*m_tool), Outcome::Succeeded);
        QCOMPARE(m_server->requestCount(), 2);
        QVERIFY(!m_server->requests().last().headers.contains("via"));

        // A proxy that is not there is a failure, not a silent direct download.
        const quint16 gonePort = proxy->port();
        proxy.reset();
        m_tool->setProxy(QStringLiteral("127.0.0.1"), gonePort, QString(), QString());
        expectWarning(QStringLiteral("failed"));
        QCOMPARE(download(*m_tool), Outcome::Failed);
        QCOMPARE(m_server->requestCount(), 2);
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestAutoUpdateTool, "tst_autoupdatetool", QCoreApplication)

#include "tst_autoupdatetool.moc"

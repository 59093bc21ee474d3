#include "AutoUpdateTool.h"
#include "BrowserLauncher.h"
#include "HttpTestServer.h"
#include "MessageBoxes.h"
#include "TestEnvironment.h"
#include "TestProxy.h"
#include "UpdateChecker.h"

#include <QSettings>

namespace {

const QByteArray FilePath = "/software/ZelAppVersions.xml";
const QString LastCheck = QStringLiteral("update_last_check");

QByteArray versionFile(const QByteArray& version, const QByteArray& download = "http://downloads.example/lumetto") {
    return "<ZelAppVersions><application name=\"Lumetto Keypad Effect Manager\" version=\"" + version +
           "\" released=\"2013-11-27\" download=\"" + download + "\"/></ZelAppVersions>";
}

bool checkedJustNow() {
    return qAbs(QSettings().value(LastCheck).toDateTime().secsTo(QDateTime::currentDateTime())) < 120;
}

QStringList boxes() {
    QStringList texts;
    for (const MessageBoxes::Shown& box : MessageBoxes::shown())
        texts << box.title + QLatin1Char('|') + box.text;
    return texts;
}

} // namespace

class TestUpdateChecker : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        BrowserLauncher::setHandler([this](const QUrl& url) {
            m_opened << url;
            return true;
        });
    }

    void init() {
        QSettings().clear();
        MessageBoxes::answerAutomatically(QMessageBox::No);
        MessageBoxes::clearShown();
        m_opened.clear();
        m_server = new HttpTestServer;
        QVERIFY(m_server->listen(QHostAddress(QStringLiteral("10.77.0.1"))));
        m_server->serve(FilePath, versionFile("3.1.3.0"));
    }

    void cleanup() {
        delete m_checker;
        m_checker = nullptr;
        delete m_server;
    }

    void automaticCheckFollowsTheInterval_data() {
        QTest::addColumn<QVariant>("lastCheck");
        QTest::addColumn<int>("interval"); // -1: not stored
        QTest::addColumn<bool>("neverCheck");
        QTest::addColumn<bool>("checks");
        const auto ago = [](int days) { return QVariant(QDateTime::currentDateTime().addDays(-days)); };
        QTest::newRow("first start") << QVariant() << -1 << false << true;
        QTest::newRow("13 of 14 days") << ago(13) << -1 << false << false;
        QTest::newRow("14 of 14 days") << ago(14) << -1 << false << true;
        QTest::newRow("today, interval 0") << ago(0) << 0 << false << true;
        QTest::newRow("today, interval 1") << ago(0) << 1 << false << false;
        QTest::newRow("in the future") << ago(-3) << -1 << false << true;
        QTest::newRow("never check") << ago(400) << -1 << true << false;
        QTest::newRow("unreadable last check") << QVariant(QStringLiteral("garbage")) << -1 << false << true;
    }

    void automaticCheckFollowsTheInterval() {
        QFETCH(QVariant, lastCheck);
        QFETCH(int, interval);
        QFETCH(bool, neverCheck);
        QFETCH(bool, checks);
        QSettings settings;
        if (lastCheck.isValid())
            settings.setValue(LastCheck, lastCheck);
        if (interval >= 0)
            settings.setValue(QStringLiteral("update_check_interval_days"), interval);
        settings.setValue(QStringLiteral("update_never_check"), neverCheck);
        const QVariant before = settings.value(LastCheck);
        startChecker(false);
        m_checker->checkForUpdateIfNecessary();
        QTRY_VERIFY_WITH_TIMEOUT(!m_checker->isChecking(), 20000);
        QCOMPARE(m_server->requestCount(), checks ? 1 : 0);
        QVERIFY(checks ? checkedJustNow() : settings.value(LastCheck) == before);
    }

    void outcomesAndTheirMessages_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("verbose");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("opensPage");
        const QString available =
            QStringLiteral("Update Available|A newer version (3.1.4.0 (2013-11-27)) of this "
                           "application is available.\n\nWould you like to go to the download page?");
        const QString latest = QStringLiteral("No Update Available|You have the latest version: v3.1.3.0 (2013-11-27)");
        const QString failed = QStringLiteral("Update Error|Unable to retrieve update file.");
        const int yes = QMessageBox::Yes;
        const int no = QMessageBox::No;
        // Even a check nobody asked for offers a newer version.
        QTest::newRow("newer, yes") << versionFile("3.1.4") << 200 << false << yes << available << true;
        QTest::newRow("newer, no") << versionFile("3.1.4") << 200 << true << no << available << false;
        QTest::newRow("newer, no page") << versionFile("3.1.4", "") << 200 << true << yes << available << false;
        QTest::newRow("same, verbose") << versionFile("3.1.3.0") << 200 << true << no << latest << false;
        QTest::newRow("same, quiet") << versionFile("3.1.3.0") << 200 << false << no << QString() << false;
        QTest::newRow("404, verbose") << versionFile("9") << 404 << true << no << failed << false;
        QTest::newRow("404, quiet") << versionFile("9") << 404 << false << no << QString() << false;
    }

    void outcomesAndTheirMessages() {
        QFETCH(QByteArray, body);
        QFETCH(int, status);
        QFETCH(bool, verbose);
        QFETCH(int, answer);
        QFETCH(QString, box);
        QFETCH(bool, opensPage);
        m_server->serve(FilePath, body, status);
        MessageBoxes::answerAutomatically(QMessageBox::StandardButton(answer));
        const QDateTime before = QDateTime::currentDateTime().addDays(-30);
        QSettings().setValue(LastCheck, before);

        startChecker(verbose);
        QSignalSpy reset(m_checker, &UpdateChecker::updateLabelShouldReset);
        m_checker->checkNow();
        QTRY_VERIFY_WITH_TIMEOUT(!m_checker->isChecking(), 20000);
        QCOMPARE(boxes(), box.isEmpty() ? QStringList() : QStringList{box});
        QCOMPARE(m_opened, opensPage ? QList<QUrl>{QUrl("http://downloads.example/lumetto")} : QList<QUrl>());
        // A failing server is tried again at the next start.
        QCOMPARE(reset.count(), status == 200 ? 1 : 0);
        QVERIFY(status == 200 ? checkedJustNow() : QSettings().value(LastCheck).toDateTime() == before);
    }

    void noServerConfigured() {
        startChecker(true);
        m_checker->setServer(QString(), QString::fromLatin1(FilePath));
        m_checker->checkForUpdateIfNecessary();
        QVERIFY(!m_checker->isChecking() && MessageBoxes::shown().isEmpty());

        m_checker->checkNow();
        QCOMPARE(boxes(),
                 QStringList{QStringLiteral("Check For Updates|No update server is configured, so this program "
                                            "cannot check for updates.")});
        QCOMPARE(m_server->requestCount(), 0);
        QVERIFY(!QSettings().contains(LastCheck));
    }

    // Each check has connections of its own: one message per check, however many checks ran before.
    void checkNowUsesTheSavedProxyEveryTime() {
        TestProxy proxy;
        QVERIFY2(proxy.start(), qPrintable(proxy.error()));
        QSettings settings;
        settings.setValue(QStringLiteral("proxy_host"), QStringLiteral("127.0.0.1"));
        settings.setValue(QStringLiteral("proxy_port"), proxy.port());
        startChecker(true);
        for (bool useProxy : {true, false, true}) {
            settings.setValue(QStringLiteral("use_proxy"), useProxy);
            m_checker->checkNow();
            m_checker->checkNow(); // ignored while the first runs
            QTRY_VERIFY_WITH_TIMEOUT(!m_checker->isChecking(), 20000);
            QCOMPARE(m_server->requests().last().headers.value("via").contains(TestProxy::viaName().toUtf8()),
                     useProxy);
        }
        QCOMPARE(m_server->requestCount(), 3);
        QCOMPARE(MessageBoxes::shown().size(), 3);
        // The tool's signals no longer reach the checker between checks.
        emit m_checker->tool()->unableToRetrieveFile();
        QCOMPARE(MessageBoxes::shown().size(), 3);
    }

private:
    void startChecker(bool verbose) {
        m_checker = new UpdateChecker;
        m_checker->setServer(m_server->hostAndPort(), QString::fromLatin1(FilePath));
        m_checker->setAppInfo(QStringLiteral("Lumetto Keypad Effect Manager"), 3, 1, 3, 0, 20131127);
        m_checker->setVerbose(verbose);
    }

    HttpTestServer* m_server = nullptr;
    UpdateChecker* m_checker = nullptr;
    QList<QUrl> m_opened;
};

LUMETTO_NETWORK_TEST_MAIN(TestUpdateChecker, "tst_updatechecker", QApplication)

#include "tst_updatechecker.moc"

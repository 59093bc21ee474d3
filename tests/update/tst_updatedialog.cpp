#include "BrowserLauncher.h"
#include "HttpTestServer.h"
#include "MessageBoxes.h"
#include "TestEnvironment.h"
#include "TestProxy.h"
#include "UpdateDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>

namespace {

const QByteArray FilePath = "/software/ZelAppVersions.xml";
const QString LastCheck = QStringLiteral("update_last_check");

template <typename T>
T* child(QWidget* parent, const char* name) {
    T* widget = parent->findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("no %s", name);
    return widget;
}

void replaceText(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void replaceValue(QSpinBox* spin, int value) {
    spin->selectAll();
    QTest::keyClicks(spin, QString::number(value));
    QCOMPARE(spin->value(), value);
}

QString lastShownTitle() {
    return MessageBoxes::shown().isEmpty() ? QString() : MessageBoxes::shown().last().title;
}

} // namespace

class TestUpdateDialog : public QObject {
    Q_OBJECT

    HttpTestServer* m_server = nullptr;
    UpdateDialog* m_dialog = nullptr;

    QLabel* lastChecked() { return child<QLabel>(m_dialog, "m_lastUpdatedLabel"); }
    QCheckBox* useProxy() { return child<QCheckBox>(m_dialog, "proxyCheckBox"); }
    QCheckBox* automatic() { return child<QCheckBox>(m_dialog, "m_autoCheckForUpdatesCheckbox"); }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(m_dialog, name); }
    QSpinBox* port() { return child<QSpinBox>(m_dialog, "proxyPortSpinBox"); }
    QSpinBox* interval() { return child<QSpinBox>(m_dialog, "m_checkForUpdateEveryNDaysSpinBox"); }

    void show() {
        m_dialog->showDialog();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    }

    void clickCheckNowAndWait() {
        const int before = MessageBoxes::shown().size();
        QTest::mouseClick(child<QPushButton>(m_dialog, "m_checkForUpdatesNowButton"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(MessageBoxes::shown().size(), before + 1, 20000);
    }

    void clickBox(QDialogButtonBox::StandardButton button) {
        QTest::mouseClick(child<QDialogButtonBox>(m_dialog, "buttonBox")->button(button), Qt::LeftButton);
    }

private slots:
    void initTestCase() {
        MessageBoxes::answerAutomatically(QMessageBox::No);
        BrowserLauncher::setHandler([](const QUrl&) { return true; });
    }

    void init() {
        QSettings().clear();
        MessageBoxes::clearShown();
        m_server = new HttpTestServer;
        QVERIFY(m_server->listen(QHostAddress(QStringLiteral("10.77.0.1"))));
        m_server->serve(FilePath, "<ZelAppVersions><application name=\"Lumetto Keypad Effect Manager\" "
                                  "version=\"3.1.3.0\" released=\"2013-11-27\"/></ZelAppVersions>");
        QSettings().setValue(QStringLiteral("update_server_host"), m_server->hostAndPort());
        m_dialog = new UpdateDialog;
    }

    void cleanup() {
        delete m_dialog;
        delete m_server;
    }

    void formHasItsFieldsAndTexts() {
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Check For Updates"));
        QCOMPARE(m_dialog->size(), QSize(490, 375));
        QCOMPARE(child<QGroupBox>(m_dialog, "groupBox_3")->title(), QStringLiteral("HTTP Proxy"));
        const char* texts[][2] = {{"proxyCheckBox", "Use a proxy to access the internet"},
                                  {"label_15", "HTTP Proxy:"},
                                  {"label_16", "Username:"},
                                  {"label_17", "Password:"},
                                  {"m_autoCheckForUpdatesCheckbox", "Automatically check for updates"},
                                  {"updateLabel_3", "Check every"},
                                  {"updateLabel_4", "days"},
                                  {"m_checkForUpdatesNowButton", "Check Now"},
                                  {"m_lastUpdatedLabel", "Last checked: never"}};
        for (const auto& t : texts)
            QCOMPARE(child<QWidget>(m_dialog, t[0])->property("text").toString(), QString::fromLatin1(t[1]));
        QCOMPARE(edit("passwordLineEdit")->echoMode(), QLineEdit::Password);
        QVERIFY(port()->value() == 8080 && port()->maximum() == 65535);
        QVERIFY(interval()->value() == 14 && interval()->maximum() == 365);
        QVERIFY(!child<QFrame>(m_dialog, "proxyFrame")->isEnabled());
        show();
        QCOMPARE(port()->value(), 0); // nothing stored
    }

    void loadsAndSavesThroughTheForm() {
        QSettings settings;
        const QVariantMap stored{{"update_never_check", true}, {"update_check_interval_days", 30},
                                 {"use_proxy", true},          {"proxy_host", "proxy.lan"},
                                 {"proxy_port", 3128},         {"proxy_user", "bob"},
                                 {"proxy_password", "pw"}};
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            settings.setValue(it.key(), it.value());
        show();
        auto* frame = child<QFrame>(m_dialog, "proxyFrame");
        QVERIFY(!automatic()->isChecked() && !interval()->isEnabled() && interval()->value() == 30);
        QVERIFY(useProxy()->isChecked() && frame->isEnabled());
        QCOMPARE(edit("proxyLineEdit")->text(), QStringLiteral("proxy.lan"));
        QCOMPARE(port()->value(), 3128);
        QCOMPARE(edit("usernameLineEdit")->text() + '/' + edit("passwordLineEdit")->text(), QStringLiteral("bob/pw"));

        QTest::mouseClick(useProxy(), Qt::LeftButton);
        QVERIFY(!frame->isEnabled());
        QTest::mouseClick(useProxy(), Qt::LeftButton);
        QVERIFY(frame->isEnabled());
        QTest::mouseClick(automatic(), Qt::LeftButton);
        QVERIFY(interval()->isEnabled());
        replaceValue(interval(), 7);
        replaceText(edit("proxyLineEdit"), QStringLiteral("10.77.0.9"));
        replaceValue(port(), 8888);
        replaceText(edit("usernameLineEdit"), QStringLiteral("carol"));
        replaceText(edit("passwordLineEdit"), QStringLiteral("p w&d"));
        QTest::mouseClick(useProxy(), Qt::LeftButton);
        clickBox(QDialogButtonBox::Ok);

        QVERIFY(!m_dialog->isVisible() && m_dialog->result() == QDialog::Accepted);
        const QVariantMap saved{{"update_never_check", false}, {"update_check_interval_days", 7},
                                {"use_proxy", false},          {"proxy_host", "10.77.0.9"},
                                {"proxy_port", 8888},          {"proxy_user", "carol"},
                                {"proxy_password", "p w&d"}};
        for (auto it = saved.cbegin(); it != saved.cend(); ++it)
            QCOMPARE(settings.value(it.key()).toString(), it.value().toString());
        QCOMPARE(m_server->requestCount(), 0);
    }

    void cancelSavesNothing() {
        show();
        QTest::mouseClick(automatic(), Qt::LeftButton);
        QTest::mouseClick(useProxy(), Qt::LeftButton);
        clickBox(QDialogButtonBox::Cancel);
        QVERIFY(!m_dialog->isVisible());
        QVERIFY(!QSettings().contains(QStringLiteral("update_never_check")));
        QVERIFY(!QSettings().contains(QStringLiteral("use_proxy")));
        // Showing it again forgets what was changed and cancelled.
        m_dialog->showDialog();
        QVERIFY(automatic()->isChecked() && !useProxy()->isChecked());
    }

    void lastCheckedTexts_data() {
        QTest::addColumn<QVariant>("stored"); // days ago as int, or a stored value
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << QVariant() << "Last checked: never";
        QTest::newRow("epoch") << QVariant(QDateTime::fromMSecsSinceEpoch(0, Qt::UTC)) << "Last checked: never";
        QTest::newRow("today") << QVariant(0) << "Last checked: today";
        QTest::newRow("1 day") << QVariant(1) << "Last checked: 1 day ago";
        QTest::newRow("2 days") << QVariant(2) << "Last checked: 2 days ago";
        QTest::newRow("365 days") << QVariant(365) << "Last checked: 365 days ago";
        QTest::newRow("366 days") << QVariant(366) << "Last checked: never";
        QTest::newRow("future") << QVariant(-2) << "Last checked: never";
        QTest::newRow("unreadable") << QVariant(QStringLiteral("soon")) << "Last checked: never";
    }

    void lastCheckedTexts() {
        QFETCH(QVariant, stored);
        QFETCH(QString, text);
        if (stored.type() == QVariant::Int)
            QSettings().setValue(LastCheck, QDateTime::currentDateTime().addDays(-stored.toInt()));
        else if (stored.isValid())
            QSettings().setValue(LastCheck, stored);
        m_dialog->updateLastCheckedOnLabel();
        QCOMPARE(lastChecked()->text(), text);
        m_dialog->resetUpdateLabel();
        QCOMPARE(lastChecked()->text(), QStringLiteral("Last checked today"));
    }

    void checkNowUsesTheProxyInTheForm() {
        TestProxy proxy;
        if (!proxy.start(QStringLiteral("dave"), QStringLiteral("secret")))
            QFAIL(qPrintable(proxy.error()));
        show();
        QTest::mouseClick(useProxy(), Qt::LeftButton);
        QTest::keyClicks(edit("proxyLineEdit"), QStringLiteral("127.0.0.1"));
        replaceValue(port(), proxy.port());
        QTest::keyClicks(edit("usernameLineEdit"), QStringLiteral("dave"));
        QTest::keyClicks(edit("passwordLineEdit"), QStringLiteral("secret"));

        clickCheckNowAndWait();
        QCOMPARE(lastShownTitle(), QStringLiteral("No Update Available"));
        QCOMPARE(m_server->requestCount(), 1);
        QVERIFY(m_server->requests().first().headers.value("via").contains(TestProxy::viaName().toUtf8()));
        QCOMPARE(lastChecked()->text(), QStringLiteral("Last checked today"));
        // The form is used as it stands; nothing is saved until OK.
        QVERIFY(!QSettings().contains(QStringLiteral("use_proxy")) && QSettings().contains(LastCheck));

        // Without a proxy host the check goes direct.
        replaceText(edit("proxyLineEdit"), QStringLiteral("  "));
        clickCheckNowAndWait();
        QCOMPARE(lastShownTitle(), QStringLiteral("No Update Available"));
        QVERIFY(m_server->requestCount() == 2 && !m_server->requests().last().headers.contains("via"));
    }

    void failedCheckNowKeepsTheLastCheck() {
        const QDateTime before = QDateTime::currentDateTime().addDays(-3);
        QSettings().setValue(LastCheck, before);
        m_server->serve(FilePath, "gone", 404);
        m_dialog->showDialog();
        QCOMPARE(lastChecked()->text(), QStringLiteral("Last checked: 3 days ago"));

        clickCheckNowAndWait();
        QCOMPARE(lastShownTitle(), QStringLiteral("Update Error"));
        QCOMPARE(QSettings().value(LastCheck).toDateTime(), before);
        QCOMPARE(lastChecked()->text(), QStringLiteral("Last checked: 3 days ago"));
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestUpdateDialog, "tst_updatedialog", QApplication)

#include "tst_updatedialog.moc"

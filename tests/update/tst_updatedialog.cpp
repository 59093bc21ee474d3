#include "BrowserLauncher.h"
#include "HttpTestServer.h"
#include "MessageBoxes.h"
#include "TestEnvironment.h"
#include "TestProxy.h"
#include "UpdateDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
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

    // The form shows what is stored, forgets what was cancelled, and stores what was confirmed.
    void loadsCancelsAndSavesThroughTheForm() {
        QVariantMap values{{"update_never_check", true}, {"update_check_interval_days", 30},
                           {"use_proxy", true},          {"proxy_host", "proxy.lan"},
                           {"proxy_port", 3128},         {"proxy_user", "bob"},
                           {"proxy_password", "pw"}};
        QSettings settings;
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            settings.setValue(it.key(), it.value());
        auto* frame = child<QFrame>(m_dialog, "proxyFrame");
        for (bool cancel : {true, false}) {
            show();
            QVERIFY(!automatic()->isChecked() && !interval()->isEnabled() && interval()->value() == 30);
            QVERIFY(useProxy()->isChecked() && frame->isEnabled() && port()->value() == 3128);
            QCOMPARE(edit("proxyLineEdit")->text() + ' ' + edit("usernameLineEdit")->text() + '/' +
                         edit("passwordLineEdit")->text(),
                     QStringLiteral("proxy.lan bob/pw"));
            QTest::mouseClick(useProxy(), Qt::LeftButton);
            QTest::mouseClick(automatic(), Qt::LeftButton);
            QVERIFY(interval()->isEnabled() && !frame->isEnabled());
            if (cancel)
                clickBox(QDialogButtonBox::Cancel);
        }
        replaceValue(interval(), 7);
        QTest::mouseClick(useProxy(), Qt::LeftButton);
        replaceText(edit("proxyLineEdit"), QStringLiteral("10.77.0.9"));
        replaceValue(port(), 8888);
        replaceText(edit("usernameLineEdit"), QStringLiteral("carol"));
        replaceText(edit("passwordLineEdit"), QStringLiteral("p w&d"));
        QTest::mouseClick(useProxy(), Qt::LeftButton);
        clickBox(QDialogButtonBox::Ok);
        QVERIFY(!m_dialog->isVisible() && m_dialog->result() == QDialog::Accepted);
        values = {{"update_never_check", false}, {"update_check_interval_days", 7},
                  {"use_proxy", false},          {"proxy_host", "10.77.0.9"},
                  {"proxy_port", 8888},          {"proxy_user", "carol"},
                  {"proxy_password", "p w&d"}};
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            QCOMPARE(settings.value(it.key()).toString(), it.value().toString());
        QCOMPARE(m_server->requestCount(), 0);
    }

    void lastCheckedTexts_data() {
        QTest::addColumn<QVariant>("stored"); // days ago as int, or a stored value
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << QVariant() << "Last checked: never";
        QTest::newRow("today") << QVariant(0) << "Last checked: today";
        QTest::newRow("1 day") << QVariant(1) << "Last checked: 1 day ago";
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
};

LUMETTO_NETWORK_TEST_MAIN(TestUpdateDialog, "tst_updatedialog", QApplication)

#include "tst_updatedialog.moc"

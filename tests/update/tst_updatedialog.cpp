#include "BrowserLauncher.h"
#include "HttpTestServer.h"
#include "MessageBoxes.h"
#include "TestEnvironment.h"
#include "TestProxy.h"
#include "UpdateDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
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

} // namespace

class TestUpdateDialog : public QObject {
    Q_OBJECT

    HttpTestServer* m_server = nullptr;
    UpdateDialog* m_dialog = nullptr;

    QLabel* lastChecked() { return child<QLabel>(m_dialog, "m_lastUpdatedLabel"); }
    QCheckBox* automatic() { return child<QCheckBox>(m_dialog, "m_autoCheckForUpdatesCheckbox"); }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(m_dialog, name); }
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
        QSettings settings;
        settings.setValue(QStringLiteral("update_never_check"), true);
        settings.setValue(QStringLiteral("use_proxy"), true);
        settings.setValue(QStringLiteral("proxy_host"), QStringLiteral("proxy.lan"));
        for (bool cancel : {true, false}) {
            show();
            QVERIFY(!automatic()->isChecked() && !interval()->isEnabled());
            QCOMPARE(edit("proxyLineEdit")->text(), QStringLiteral("proxy.lan"));
            QTest::mouseClick(automatic(), Qt::LeftButton);
            QVERIFY(interval()->isEnabled());
            if (cancel)
                clickBox(QDialogButtonBox::Cancel);
        }
        replaceValue(interval(), 7);
        replaceText(edit("proxyLineEdit"), QStringLiteral("10.77.0.9"));
        clickBox(QDialogButtonBox::Ok);
        QCOMPARE(settings.value(QStringLiteral("update_never_check")).toBool(), false);
        QCOMPARE(settings.value(QStringLiteral("update_check_interval_days")).toInt(), 7);
        QCOMPARE(settings.value(QStringLiteral("proxy_host")).toString(), QStringLiteral("10.77.0.9"));
        QCOMPARE(m_server->requestCount(), 0);
    }

    void lastCheckedTexts_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("text");
        const auto ago = [](int days) { return QVariant(QDateTime::currentDateTime().addDays(-days)); };
        QTest::newRow("none") << QVariant() << "Last checked: never";
        QTest::newRow("today") << ago(0) << "Last checked: today";
        QTest::newRow("1 day") << ago(1) << "Last checked: 1 day ago";
        QTest::newRow("365 days") << ago(365) << "Last checked: 365 days ago";
        QTest::newRow("366 days") << ago(366) << "Last checked: never";
        QTest::newRow("future") << ago(-2) << "Last checked: never";
        QTest::newRow("unreadable") << QVariant(QStringLiteral("soon")) << "Last checked: never";
    }

    void lastCheckedTexts() {
        QFETCH(QVariant, stored);
        QFETCH(QString, text);
        if (stored.isValid())
            QSettings().setValue(LastCheck, stored);
        m_dialog->updateLastCheckedOnLabel();
        QCOMPARE(lastChecked()->text(), text);
    }

    void checkNowUsesTheProxyInTheForm() {
        TestProxy proxy;
        QVERIFY2(proxy.start(QStringLiteral("dave"), QStringLiteral("secret")), qPrintable(proxy.error()));
        show();
        QTest::mouseClick(child<QCheckBox>(m_dialog, "proxyCheckBox"), Qt::LeftButton);
        QTest::keyClicks(edit("proxyLineEdit"), QStringLiteral("127.0.0.1"));
        replaceValue(child<QSpinBox>(m_dialog, "proxyPortSpinBox"), proxy.port());
        QTest::keyClicks(edit("usernameLineEdit"), QStringLiteral("dave"));
        QTest::keyClicks(edit("passwordLineEdit"), QStringLiteral("secret"));

        clickCheckNowAndWait();
        QCOMPARE(MessageBoxes::shown().last().title, QStringLiteral("No Update Available"));
        QVERIFY(m_server->requestCount() == 1 &&
                m_server->requests().first().headers.value("via").contains(TestProxy::viaName().toUtf8()));
        QCOMPARE(lastChecked()->text(), QStringLiteral("Last checked today"));
        // The form is used as it stands; nothing is saved until OK.
        QVERIFY(!QSettings().contains(QStringLiteral("use_proxy")) && QSettings().contains(LastCheck));

        // Without a proxy host the check goes direct.
        replaceText(edit("proxyLineEdit"), QStringLiteral("  "));
        clickCheckNowAndWait();
        QVERIFY(m_server->requestCount() == 2 && !m_server->requests().last().headers.contains("via"));
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestUpdateDialog, "tst_updatedialog", QApplication)

#include "tst_updatedialog.moc"

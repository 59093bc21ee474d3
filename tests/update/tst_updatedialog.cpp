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

} // namespace

class TestUpdateDialog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void formHasItsFieldsAndTexts();
    void loadsAndSavesThroughTheForm();
    void cancelSavesNothing();
    void lastCheckedTexts_data();
    void lastCheckedTexts();
    void checkNowUsesTheProxyInTheForm();
    void checkNowWithoutProxyHostGoesDirect();
    void failedCheckNowKeepsTheLastCheck();
    void checkNowWithoutServer();

private:
    void clickCheckNowAndWait();

    HttpTestServer* m_server = nullptr;
    UpdateDialog* m_dialog = nullptr;
};

void TestUpdateDialog::initTestCase() {
    MessageBoxes::answerAutomatically(QMessageBox::No);
    BrowserLauncher::setHandler([](const QUrl&) { return true; });
}

void TestUpdateDialog::init() {
    QSettings().clear();
    MessageBoxes::clearShown();
    m_server = new HttpTestServer;
    QVERIFY(m_server->listen(QHostAddress(QStringLiteral("10.77.0.1"))));
    m_server->serve(FilePath, "<ZelAppVersions><application name=\"Lumetto Keypad Effect Manager\" "
                              "version=\"3.1.3.0\" released=\"2013-11-27\"/></ZelAppVersions>");
    QSettings().setValue(QStringLiteral("update_server_host"), m_server->hostAndPort());
    m_dialog = new UpdateDialog;
}

void TestUpdateDialog::cleanup() {
    delete m_dialog;
    delete m_server;
}

void TestUpdateDialog::clickCheckNowAndWait() {
    const int before = MessageBoxes::shown().size();
    QTest::mouseClick(child<QPushButton>(m_dialog, "m_checkForUpdatesNowButton"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(MessageBoxes::shown().size(), before + 1, 20000);
}

void TestUpdateDialog::formHasItsFieldsAndTexts() {
    QCOMPARE(m_dialog->objectName(), QStringLiteral("UpdateDialogForm"));
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Check For Updates"));
    QCOMPARE(m_dialog->size(), QSize(490, 375));
    QCOMPARE(child<QGroupBox>(m_dialog, "groupBox_3")->title(), QStringLiteral("HTTP Proxy"));
    QCOMPARE(child<QCheckBox>(m_dialog, "proxyCheckBox")->text(), QStringLiteral("Use a proxy to access the internet"));
    QCOMPARE(child<QLabel>(m_dialog, "label_15")->text(), QStringLiteral("HTTP Proxy:"));
    QCOMPARE(child<QLabel>(m_dialog, "label_16")->text(), QStringLiteral("Username:"));
    QCOMPARE(child<QLabel>(m_dialog, "label_17")->text(), QStringLiteral("Password:"));
    QCOMPARE(child<QLineEdit>(m_dialog, "passwordLineEdit")->echoMode(), QLineEdit::Password);
    QCOMPARE(child<QCheckBox>(m_dialog, "m_autoCheckForUpdatesCheckbox")->text(),
             QStringLiteral("Automatically check for updates"));
    QCOMPARE(child<QLabel>(m_dialog, "updateLabel_3")->text(), QStringLiteral("Check every"));
    QCOMPARE(child<QLabel>(m_dialog, "updateLabel_4")->text(), QStringLiteral("days"));
    QCOMPARE(child<QPushButton>(m_dialog, "m_checkForUpdatesNowButton")->text(), QStringLiteral("Check Now"));
    QVERIFY(child<QDialogButtonBox>(m_dialog, "buttonBox"));
    auto* port = child<QSpinBox>(m_dialog, "proxyPortSpinBox");
    QCOMPARE(port->value(), 8080);
    QCOMPARE(port->maximum(), 65535);
    auto* interval = child<QSpinBox>(m_dialog, "m_checkForUpdateEveryNDaysSpinBox");
    QCOMPARE(interval->value(), 14);
    QCOMPARE(interval->maximum(), 365);
    QVERIFY(!child<QFrame>(m_dialog, "proxyFrame")->isEnabled());
    QCOMPARE(child<QLabel>(m_dialog, "m_lastUpdatedLabel")->text(), QStringLiteral("Last checked: never"));

    m_dialog->showDialog();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    QCOMPARE(port->value(), 0); // nothing stored
}

void TestUpdateDialog::loadsAndSavesThroughTheForm() {
    QSettings settings;
    settings.setValue(QStringLiteral("update_never_check"), true);
    settings.setValue(QStringLiteral("update_check_interval_days"), 30);
    settings.setValue(QStringLiteral("use_proxy"), true);
    settings.setValue(QStringLiteral("proxy_host"), QStringLiteral("proxy.lan"));
    settings.setValue(QStringLiteral("proxy_port"), 3128);
    settings.setValue(QStringLiteral("proxy_user"), QStringLiteral("bob"));
    settings.setValue(QStringLiteral("proxy_password"), QStringLiteral("pw"));
    m_dialog->showDialog();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));

    auto* automatic = child<QCheckBox>(m_dialog, "m_autoCheckForUpdatesCheckbox");
    auto* interval = child<QSpinBox>(m_dialog, "m_checkForUpdateEveryNDaysSpinBox");
    auto* useProxy = child<QCheckBox>(m_dialog, "proxyCheckBox");
    auto* frame = child<QFrame>(m_dialog, "proxyFrame");
    QVERIFY(!automatic->isChecked());
    QVERIFY(!interval->isEnabled());
    QCOMPARE(interval->value(), 30);
    QVERIFY(useProxy->isChecked());
    QVERIFY(frame->isEnabled());
    QCOMPARE(child<QLineEdit>(m_dialog, "proxyLineEdit")->text(), QStringLiteral("proxy.lan"));
    QCOMPARE(child<QSpinBox>(m_dialog, "proxyPortSpinBox")->value(), 3128);
    QCOMPARE(child<QLineEdit>(m_dialog, "usernameLineEdit")->text(), QStringLiteral("bob"));
    QCOMPARE(child<QLineEdit>(m_dialog, "passwordLineEdit")->text(), QStringLiteral("pw"));

    QTest::mouseClick(useProxy, Qt::LeftButton);
    QVERIFY(!frame->isEnabled());
    QTest::mouseClick(useProxy, Qt::LeftButton);
    QVERIFY(frame->isEnabled());
    QTest::mouseClick(automatic, Qt::LeftButton);
    QVERIFY(interval->isEnabled());
    replaceValue(interval, 7);
    replaceText(child<QLineEdit>(m_dialog, "proxyLineEdit"), QStringLiteral("10.77.0.9"));
    replaceValue(child<QSpinBox>(m_dialog, "proxyPortSpinBox"), 8888);
    replaceText(child<QLineEdit>(m_dialog, "usernameLineEdit"), QStringLiteral("carol"));
    replaceText(child<QLineEdit>(m_dialog, "passwordLineEdit"), QStringLiteral("p w&d"));
    QTest::mouseClick(useProxy, Qt::LeftButton);
    QTest::mouseClick(child<QDialogButtonBox>(m_dialog, "buttonBox")->button(QDialogButtonBox::Ok), Qt::LeftButton);

    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QCOMPARE(settings.value(QStringLiteral("update_never_check")).toBool(), false);
    QCOMPARE(settings.value(QStringLiteral("update_check_interval_days")).toInt(), 7);
    QCOMPARE(settings.value(QStringLiteral("use_proxy")).toBool(), false);
    QCOMPARE(settings.value(QStringLiteral("proxy_host")).toString(), QStringLiteral("10.77.0.9"));
    QCOMPARE(settings.value(QStringLiteral("proxy_port")).toInt(), 8888);
    QCOMPARE(settings.value(QStringLiteral("proxy_user")).toString(), QStringLiteral("carol"));
    QCOMPARE(settings.value(QStringLiteral("proxy_password")).toString(), QStringLiteral("p w&d"));
    QCOMPARE(m_server->requestCount(), 0);
}

void TestUpdateDialog::cancelSavesNothing() {
    m_dialog->showDialog();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    QTest::mouseClick(child<QCheckBox>(m_dialog, "m_autoCheckForUpdatesCheckbox"), Qt::LeftButton);
    QTest::mouseClick(child<QCheckBox>(m_dialog, "proxyCheckBox"), Qt::LeftButton);
    QTest::mouseClick(child<QDialogButtonBox>(m_dialog, "buttonBox")->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    QVERIFY(!m_dialog->isVisible());
    QVERIFY(!QSettings().contains(QStringLiteral("update_never_check")));
    QVERIFY(!QSettings().contains(QStringLiteral("use_proxy")));

    // Showing it again forgets what was changed and cancelled.
    m_dialog->showDialog();
    QVERIFY(child<QCheckBox>(m_dialog, "m_autoCheckForUpdatesCheckbox")->isChecked());
    QVERIFY(!child<QCheckBox>(m_dialog, "proxyCheckBox")->isChecked());
}

void TestUpdateDialog::lastCheckedTexts_data() {
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

void TestUpdateDialog::lastCheckedTexts() {
    QFETCH(QVariant, stored);
    QFETCH(QString, text);
    if (stored.type() == QVariant::Int)
        QSettings().setValue(LastCheck, QDateTime::currentDateTime().addDays(-stored.toInt()));
    else if (stored.isValid())
        QSettings().setValue(LastCheck, stored);
    m_dialog->updateLastCheckedOnLabel();
    QCOMPARE(child<QLabel>(m_dialog, "m_lastUpdatedLabel")->text(), text);
    m_dialog->resetUpdateLabel();
    QCOMPARE(child<QLabel>(m_dialog, "m_lastUpdatedLabel")->text(), QStringLiteral("Last checked today"));
}

void TestUpdateDialog::checkNowUsesTheProxyInTheForm() {
    TestProxy proxy;
    if (!proxy.start(QStringLiteral("dave"), QStringLiteral("secret")))
        QFAIL(qPrintable(proxy.error()));
    m_dialog->showDialog();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    QTest::mouseClick(child<QCheckBox>(m_dialog, "proxyCheckBox"), Qt::LeftButton);
    QTest::keyClicks(child<QLineEdit>(m_dialog, "proxyLineEdit"), QStringLiteral("127.0.0.1"));
    replaceValue(child<QSpinBox>(m_dialog, "proxyPortSpinBox"), proxy.port());
    QTest::keyClicks(child<QLineEdit>(m_dialog, "usernameLineEdit"), QStringLiteral("dave"));
    QTest::keyClicks(child<QLineEdit>(m_dialog, "passwordLineEdit"), QStringLiteral("secret"));

    clickCheckNowAndWait();
    QCOMPARE(MessageBoxes::shown().last().title, QStringLiteral("No Update Available"));
    QCOMPARE(m_server->requestCount(), 1);
    QVERIFY(m_server->requests().first().headers.value("via").contains(TestProxy::viaName().toUtf8()));
    QVERIFY(proxy.log().contains(QStringLiteral("Established connection to host \"10.77.0.1\"")));
    QCOMPARE(child<QLabel>(m_dialog, "m_lastUpdatedLabel")->text(), QStringLiteral("Last checked today"));
    // The form is used as it stands; nothing is saved until OK.
    QVERIFY(!QSettings().contains(QStringLiteral("use_proxy")));
    QVERIFY(QSettings().contains(LastCheck));
}

void TestUpdateDialog::checkNowWithoutProxyHostGoesDirect() {
    QSettings().setValue(QStringLiteral("use_proxy"), true);
    QSettings().setValue(QStringLiteral("proxy_host"), QStringLiteral("127.0.0.1"));
    QSettings().setValue(QStringLiteral("proxy_port"), 1);
    m_dialog->showDialog();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    QVERIFY(child<QCheckBox>(m_dialog, "proxyCheckBox")->isChecked());
    replaceText(child<QLineEdit>(m_dialog, "proxyLineEdit"), QStringLiteral("  "));

    clickCheckNowAndWait();
    QCOMPARE(MessageBoxes::shown().last().title, QStringLiteral("No Update Available"));
    QCOMPARE(m_server->requestCount(), 1);
    QVERIFY(!m_server->requests().first().headers.contains("via"));
}

void TestUpdateDialog::failedCheckNowKeepsTheLastCheck() {
    const QDateTime before = QDateTime::currentDateTime().addDays(-3);
    QSettings().setValue(LastCheck, before);
    m_server->serve(FilePath, "gone", 404);
    m_dialog->showDialog();
    QCOMPARE(child<QLabel>(m_dialog, "m_lastUpdatedLabel")->text(), QStringLiteral("Last checked: 3 days ago"));

    clickCheckNowAndWait();
    QCOMPARE(MessageBoxes::shown().last().title, QStringLiteral("Update Error"));
    QCOMPARE(MessageBoxes::shown().last().text, QStringLiteral("Unable to retrieve update file."));
    QCOMPARE(QSettings().value(LastCheck).toDateTime(), before);
    QCOMPARE(child<QLabel>(m_dialog, "m_lastUpdatedLabel")->text(), QStringLiteral("Last checked: 3 days ago"));

    // The next click tries again, and a success resets the label.
    m_server->serve(FilePath, "<ZelAppVersions/>");
    clickCheckNowAndWait();
    QCOMPARE(m_server->requestCount(), 2);
    QCOMPARE(child<QLabel>(m_dialog, "m_lastUpdatedLabel")->text(), QStringLiteral("Last checked today"));
}

void TestUpdateDialog::checkNowWithoutServer() {
    QSettings().setValue(QStringLiteral("update_server_host"), QString());
    m_dialog->showDialog();
    clickCheckNowAndWait();
    QCOMPARE(MessageBoxes::shown().last().title, QStringLiteral("Check For Updates"));
    QVERIFY(MessageBoxes::shown().last().text.startsWith(QStringLiteral("No update server is configured")));
    QCOMPARE(m_server->requestCount(), 0);
}

LUMETTO_NETWORK_TEST_MAIN(TestUpdateDialog, "tst_updatedialog", QApplication)

#include "tst_updatedialog.moc"

#include "ColorUtils.h"
#include "ConnectionState.h"
#include "EditorFixture.h"
#include "MSPComm.h"
#include "SystemConfiguration.h"
#include "SystemConfigurationWidget.h"
#include "TestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <memory>

namespace {

const char* const SceneBoxes[] = {"scene1CheckBox", "scene2CheckBox", "scene3CheckBox", "scene4CheckBox",
                                  "scene5CheckBox", "scene6CheckBox", "scene7CheckBox", "scene8CheckBox"};

const QString AddressWarning =
    QStringLiteral("<font color='red'>Changing the device's IP address to this value may prevent its light <br>"
                   "settings from being available through this application.</font>");
const QString NameWarning = QStringLiteral("<br><br><font color='red'>The device's name cannot be empty.</font>");
const QString SceneWarning =
    QStringLiteral("<br><br><font color='red'>At least one scene button must be enabled.</font>");

} // namespace

class TestSystemConfigurationWidget : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void loadFillsTheFormQuietly();
    void buttonGateFollowsTheVersion_data();
    void buttonGateFollowsTheVersion();
    void partialAddressKeepsSaveDisabled();
    void addressOnAnotherSubnetWarnsButSaves();
    void emptyNameIsRefused();
    void forbiddenNameCharactersCannotBeTyped();
    void noSceneButtonIsRefused();
    void everyFieldCountsAsAnEdit();
    void saveWhileNotConnectedOnlyUpdatesTheModel();
    void saveWhileConnectedSendsTheConfiguration();
    void saveWithANewAddress();
    void undoReloads();
    void demoModeIgnoresEdits();
    void addressOnlyMode();
    void fixtureBoxComesAliveWithTheForm();
    void picture();

private:
    template <typename T>
    T* child(const char* name) const {
        return m_form->findChild<T*>(QLatin1String(name));
    }
    QPushButton* save() const { return child<QPushButton>("applyButton"); }
    QPushButton* undo() const { return child<QPushButton>("revertButton"); }
    static QColor textColor(QLineEdit* edit) { return edit->palette().color(QPalette::Text); }
    // Clicks the box itself: a box in a wide column does not take clicks beside its text.
    void toggle(const char* name) const;
    void retype(const char* field, const QString& text);

    EditorFixture m_keypad;
    std::unique_ptr<SystemConfigurationWidget> m_form;
};

void TestSystemConfigurationWidget::initTestCase() {
    QVERIFY(m_keypad.start());
}

void TestSystemConfigurationWidget::init() {
    ConnectionState::instance()->setState(ConnectionState::Connected);
    m_keypad.keepConnected(true);
    m_form = std::make_unique<SystemConfigurationWidget>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));

    SystemConfiguration* config = SystemConfiguration::instance();
    config->setName(QStringLiteral("Hall keypad"), false);
    config->setIpAddress(EditorFixture::KeypadAddress, false);
    config->setUniverse(3, false);
    config->setVexilMode(2, false);
    config->setLightsPerPort(40, false);
    config->setNumberOfPorts(4, false);
    config->setFixtureClass(ColorUtils::hueformProfileIDList().last(), false);
    for (int i = 0; i < 8; ++i)
        QMetaObject::invokeMethod(config, QStringLiteral("setScene%1CheckBoxState").arg(i + 1).toLatin1(),
                                  Q_ARG(bool, i != 1), Q_ARG(bool, false));
    config->setDownCheckBoxState(true, false);
    config->setUpCheckBoxState(false, false);
    config->setOnOffCheckBoxState(true, false);
    // The form loads when the model announces a change, as after a keypad's reply.
    config->setVersion(QString(), false);
    config->setVersion(QStringLiteral("1.1.20"), true);
    m_keypad.clearRequests();
}

void TestSystemConfigurationWidget::cleanup() {
    m_keypad.keepConnected(false);
    QVERIFY(m_keypad.waitIdle());
    m_form.reset();
}

void TestSystemConfigurationWidget::toggle(const char* name) const {
    auto* box = child<QCheckBox>(name);
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

void TestSystemConfigurationWidget::retype(const char* field, const QString& text) {
    auto* edit = child<QLineEdit>(field);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

void TestSystemConfigurationWidget::loadFillsTheFormQuietly() {
    QCOMPARE(child<QLineEdit>("nameEdit")->text(), QStringLiteral("Hall keypad"));
    QCOMPARE(child<QLineEdit>("addressEdit")->text(), EditorFixture::KeypadAddress);
    QCOMPARE(child<QSpinBox>("universeSpinBox")->value(), 3);
    QCOMPARE(child<QSpinBox>("VexilModeSpinBox")->value(), 2);
    QCOMPARE(child<QSpinBox>("lightsPerPortSpinBox")->value(), 40);
    QCOMPARE(child<QSpinBox>("numberOfPortsSpinBox")->value(), 4);
    auto* fixture = child<QComboBox>("fixtureClassComboBox");
    QCOMPARE(fixture->count(), ColorUtils::hueformProfileIDNameList().size());
    QCOMPARE(fixture->currentIndex(), fixture->count() - 1);
    QCOMPARE(child<QLabel>("versionLabel")->text(), QStringLiteral("1.1.20"));
    QVERIFY(!child<QCheckBox>("scene2CheckBox")->isChecked());
    QVERIFY(child<QCheckBox>("scene3CheckBox")->isChecked());
    QVERIFY(!child<QCheckBox>("upCheckBox")->isChecked());
    // The fill is no edit.
    QVERIFY(!undo()->isEnabled());
    QVERIFY(!save()->isEnabled());
    QVERIFY(child<QLabel>("warningLabel")->text().isEmpty());
    QCOMPARE(child<QSpinBox>("universeSpinBox")->maximum(), 255);
    QCOMPARE(child<QSpinBox>("VexilModeSpinBox")->maximum(), 2);
    QCOMPARE(child<QSpinBox>("lightsPerPortSpinBox")->maximum(), 170);
    QCOMPARE(child<QSpinBox>("numberOfPortsSpinBox")->maximum(), 16);
}

void TestSystemConfigurationWidget::buttonGateFollowsTheVersion_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("groupEnabled");
    QTest::addColumn<bool>("modelStates");
    QTest::newRow("1.1.14") << "1.1.14" << false << false;
    QTest::newRow("1.1.15") << "1.1.15" << true << true;
    QTest::newRow("1.0.30") << "1.0.30" << false << false;
    QTest::newRow("1.2.1") << "1.2.1" << true << true;
    QTest::newRow("1.4.0") << "1.4.0" << true << true;
    QTest::newRow("2.0.1") << "2.0.1" << true << true;
}

void TestSystemConfigurationWidget::buttonGateFollowsTheVersion() {
    QFETCH(QString, version);
    QFETCH(bool, groupEnabled);
    QFETCH(bool, modelStates);
    SystemConfiguration::instance()->setVersion(version, true);
    QCOMPARE(child<QGroupBox>("groupBox")->isEnabled(), groupEnabled);
    // A keypad without the switches has every button on.
    QCOMPARE(child<QCheckBox>("scene2CheckBox")->isChecked(), !modelStates);
    QCOMPARE(child<QCheckBox>("upCheckBox")->isChecked(), !modelStates);
    QVERIFY(child<QCheckBox>("scene1CheckBox")->isChecked());

    // Fewer than three parts decide nothing: the group stays as it was.
    SystemConfiguration::instance()->setVersion(QStringLiteral("1.9"), true);
    QCOMPARE(child<QGroupBox>("groupBox")->isEnabled(), groupEnabled);
    QCOMPARE(child<QCheckBox>("scene2CheckBox")->isChecked(), !modelStates);
}

void TestSystemConfigurationWidget::partialAddressKeepsSaveDisabled() {
    auto* address = child<QLineEdit>("addressEdit");
    const QColor before = textColor(address);
    retype("addressEdit", QStringLiteral("10.77.0."));
    QCOMPARE(address->text(), QStringLiteral("10.77.0."));
    QVERIFY(undo()->isEnabled());
    QVERIFY(!save()->isEnabled());
    QCOMPARE(textColor(address), before);
    // 300 is refused as it is typed; 30 is a complete address on the keypad's own network.
    QTest::keyClicks(address, QStringLiteral("300"));
    QCOMPARE(address->text(), QStringLiteral("10.77.0.30"));
    QVERIFY(save()->isEnabled());
    QCOMPARE(textColor(address), QColor(Qt::black));
    QVERIFY(!child<QLabel>("warningLabel")->isVisible());
}

void TestSystemConfigurationWidget::addressOnAnotherSubnetWarnsButSaves() {
    retype("addressEdit", QStringLiteral("192.168.1.5"));
    auto* warning = child<QLabel>("warningLabel");
    QVERIFY(warning->isVisible());
    QCOMPARE(warning->text(), AddressWarning);
    QCOMPARE(textColor(child<QLineEdit>("addressEdit")), QColor(255, 0, 0));
    QVERIFY(child<QLineEdit>("addressEdit")->hasFocus());
    QVERIFY(save()->isEnabled());
}

void TestSystemConfigurationWidget::emptyNameIsRefused() {
    retype("nameEdit", QString());
    QCOMPARE(child<QLineEdit>("nameEdit")->text(), QString());
    QCOMPARE(child<QLabel>("warningLabel")->text(), NameWarning);
    QCOMPARE(textColor(child<QLineEdit>("nameEdit")), QColor(255, 0, 0));
    QVERIFY(!save()->isEnabled());
    QVERIFY(undo()->isEnabled());
    QTest::keyClicks(child<QLineEdit>("nameEdit"), QStringLiteral("Lobby"));
    QCOMPARE(textColor(child<QLineEdit>("nameEdit")), QColor(Qt::black));
    QVERIFY(save()->isEnabled());
    QVERIFY(!child<QLabel>("warningLabel")->isVisible());

    // Both messages at once, in order.
    retype("nameEdit", QString());
    QTest::keyClicks(child<QLineEdit>("addressEdit"), QStringLiteral("0"));
    retype("addressEdit", QStringLiteral("192.168.1.5"));
    QCOMPARE(child<QLabel>("warningLabel")->text(), AddressWarning + NameWarning);
}

void TestSystemConfigurationWidget::forbiddenNameCharactersCannotBeTyped() {
    retype("nameEdit", QStringLiteral("Bar & Grill, \"Main\""));
    QCOMPARE(child<QLineEdit>("nameEdit")->text(), QStringLiteral("Bar  Grill Main"));
    retype("nameEdit", QString(40, QLatin1Char('x')));
    QCOMPARE(child<QLineEdit>("nameEdit")->text().size(), 31);
}

void TestSystemConfigurationWidget::noSceneButtonIsRefused() {
    for (const char* name : SceneBoxes) {
        if (child<QCheckBox>(name)->isChecked())
            toggle(name);
    }
    QVERIFY(child<QCheckBox>("onOffCheckBox")->isChecked());
    QCOMPARE(child<QLabel>("warningLabel")->text(), SceneWarning);
    QVERIFY(!save()->isEnabled());
    toggle("scene8CheckBox");
    QVERIFY(save()->isEnabled());
    QVERIFY(!child<QLabel>("warningLabel")->isVisible());
}

void TestSystemConfigurationWidget::everyFieldCountsAsAnEdit() {
    const char* spinBoxes[] = {"universeSpinBox", "VexilModeSpinBox", "lightsPerPortSpinBox", "numberOfPortsSpinBox"};
    for (const char* name : spinBoxes) {
        m_form->findChild<QPushButton*>(QStringLiteral("revertButton"))->click();
        QVERIFY(!undo()->isEnabled());
        auto* box = child<QSpinBox>(name);
        box->setFocus();
        QTest::keyClick(box, box->value() == box->maximum() ? Qt::Key_Down : Qt::Key_Up);
        QVERIFY2(undo()->isEnabled(), name);
        QVERIFY2(save()->isEnabled(), name);
    }
    undo()->click();
    auto* fixture = child<QComboBox>("fixtureClassComboBox");
    fixture->setFocus();
    QTest::keyClick(fixture, Qt::Key_Up);
    QVERIFY(undo()->isEnabled());
    undo()->click();
    toggle("downCheckBox");
    QVERIFY(undo()->isEnabled());
}

void TestSystemConfigurationWidget::saveWhileNotConnectedOnlyUpdatesTheModel() {
    m_keypad.keepConnected(false);
    ConnectionState::instance()->setState(ConnectionState::NotConnected);
    QSignalSpy addressChanged(m_form.get(), &SystemConfigurationWidget::addressChanged);
    QSignalSpy configurationChanged(SystemConfiguration::instance(), &SystemConfiguration::configurationChanged);
    QSignalSpy upChanged(SystemConfiguration::instance(), &SystemConfiguration::upCheckBoxStateChanged);
    retype("nameEdit", QStringLiteral("Lobby"));
    retype("addressEdit", QStringLiteral("10.77.0.40"));
    toggle("upCheckBox");
    QTest::mouseClick(save(), Qt::LeftButton);
    SystemConfiguration* config = SystemConfiguration::instance();
    QCOMPARE(config->name(), QStringLiteral("Lobby"));
    QCOMPARE(config->ipAddress(), QStringLiteral("10.77.0.40"));
    QVERIFY(config->upCheckBoxState());
    // The control panel follows the button; the form is not reloaded.
    QCOMPARE(upChanged.size(), 1);
    QVERIFY(configurationChanged.isEmpty());
    QVERIFY(addressChanged.isEmpty());
    QVERIFY(!save()->isEnabled());
    QVERIFY(!undo()->isEnabled());
    QTest::qWait(0);
    QCOMPARE(m_keypad.requests(), QStringList());
    ConnectionState::instance()->setState(ConnectionState::Connected);
}

void TestSystemConfigurationWidget::saveWhileConnectedSendsTheConfiguration() {
    QSignalSpy addressChanged(m_form.get(), &SystemConfigurationWidget::addressChanged);
    retype("nameEdit", QStringLiteral("Lobby"));
    auto* universe = child<QSpinBox>("universeSpinBox");
    universe->setFocus();
    QTest::keyClick(universe, Qt::Key_Up);
    QTest::mouseClick(save(), Qt::LeftButton);
    QVERIFY(m_keypad.waitForRequests(2));
    const QStringList expected = SystemConfiguration::instance()->PostData(false, false);
    QCOMPARE(SystemConfiguration::instance()->universe(), 4);
    QCOMPARE(m_keypad.requests(), (QStringList{QStringLiteral("POST /api/v1/config ") + expected.at(0) + "&apply=1",
                                               QStringLiteral("POST /api/v1/config ") + expected.at(1) + "&apply=1"}));
    QVERIFY(expected.at(0).startsWith(QStringLiteral("name=Lobby&universe=4&vexil=2&num_ports=4&num_lights=40")));
    QVERIFY(addressChanged.isEmpty());
}

void TestSystemConfigurationWidget::saveWithANewAddress() {
    QSignalSpy addressChanged(m_form.get(), &SystemConfigurationWidget::addressChanged);
    retype("addressEdit", QStringLiteral("10.77.0.41"));
    QTest::mouseClick(save(), Qt::LeftButton);
    QCOMPARE(addressChanged.size(), 1);
    QCOMPARE(SystemConfiguration::instance()->ipAddress(), QStringLiteral("10.77.0.41"));
    QVERIFY(m_keypad.requests().size() >= 2);
    // The address goes through the discovery library, not in the configuration texts.
    QVERIFY(!m_keypad.requests().join(QLatin1Char('\n')).contains(QStringLiteral("ip=")));
    MSPComm::instance()->setDevice(EditorFixture::KeypadAddress, QByteArray::fromHex("0050C2AABBCC"));
}

void TestSystemConfigurationWidget::undoReloads() {
    retype("nameEdit", QString());
    retype("addressEdit", QStringLiteral("192.168.1.5"));
    QVERIFY(child<QLabel>("warningLabel")->isVisible());
    QTest::mouseClick(undo(), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>("nameEdit")->text(), QStringLiteral("Hall keypad"));
    QCOMPARE(child<QLineEdit>("addressEdit")->text(), EditorFixture::KeypadAddress);
    QCOMPARE(textColor(child<QLineEdit>("nameEdit")), QColor(Qt::black));
    QCOMPARE(textColor(child<QLineEdit>("addressEdit")), QColor(Qt::black));
    QVERIFY(!child<QLabel>("warningLabel")->isVisible());
    QVERIFY(!save()->isEnabled());
    QVERIFY(!undo()->isEnabled());
}

void TestSystemConfigurationWidget::demoModeIgnoresEdits() {
    m_keypad.keepConnected(false);
    ConnectionState::instance()->setState(ConnectionState::OfflineDemo);
    m_form->setEnabled(true);
    QVERIFY(m_form->isEnabled());
    retype("nameEdit", QString());
    QVERIFY(!undo()->isEnabled());
    QVERIFY(!save()->isEnabled());
    QVERIFY(child<QLabel>("warningLabel")->text().isEmpty());
    ConnectionState::instance()->setState(ConnectionState::Connected);
}

void TestSystemConfigurationWidget::addressOnlyMode() {
    retype("addressEdit", QStringLiteral("192.168.1.5"));
    undo()->click();
    child<QLineEdit>("addressEdit")->setText(QStringLiteral("192.168.1.5"));
    m_form->setAddressOnlyMode(true);
    for (const char* name : {"nameEdit"})
        QVERIFY(!child<QLineEdit>(name)->isEnabled());
    for (const char* name : {"universeSpinBox", "VexilModeSpinBox", "lightsPerPortSpinBox", "numberOfPortsSpinBox"})
        QVERIFY2(!child<QSpinBox>(name)->isEnabled(), name);
    QVERIFY(child<QLineEdit>("addressEdit")->isEnabled());
    QCOMPARE(textColor(child<QLineEdit>("addressEdit")), QColor(255, 0, 0));
    // With the name locked, an empty name does not block Save.
    retype("addressEdit", QStringLiteral("10.77.0.9"));
    QVERIFY(save()->isEnabled());
    m_form->setAddressOnlyMode(false);
    QVERIFY(child<QLineEdit>("nameEdit")->isEnabled());
    QVERIFY(child<QSpinBox>("universeSpinBox")->isEnabled());
    QCOMPARE(textColor(child<QLineEdit>("addressEdit")), QColor(Qt::black));
}

// The window shows the form before any keypad is there; the box rebuilt then must not stay off.
void TestSystemConfigurationWidget::fixtureBoxComesAliveWithTheForm() {
    m_form->hide();
    m_form->setEnabled(false);
    m_form->show();
    m_form->setEnabled(true);
    QVERIFY(child<QComboBox>("fixtureClassComboBox")->isEnabled());
}

void TestSystemConfigurationWidget::picture() {
    const QString folder = qEnvironmentVariable("LUMETTO_SCREENSHOT_DIR");
    if (folder.isEmpty())
        QSKIP("set LUMETTO_SCREENSHOT_DIR to keep a picture of the form");
    m_form->resize(560, 600);
    m_form->grab().save(folder + QStringLiteral("/sysconfig.png"));
    retype("nameEdit", QString());
    retype("addressEdit", QStringLiteral("192.168.1.5"));
    // The grown warning is laid out on the next turn of the event loop.
    QCoreApplication::processEvents();
    m_form->grab().save(folder + QStringLiteral("/sysconfig-warnings.png"));
}

LUMETTO_NETWORK_TEST_MAIN(TestSystemConfigurationWidget, "tst_systemconfigurationwidget", QApplication)
#include "tst_systemconfigurationwidget.moc"

#include "ColorUtils.h"
#include "ConnectionState.h"
#include "EditorFixture.h"
#include "MSPComm.h"
#include "SystemConfiguration.h"
#include "SystemConfigurationWidget.h"
#include "TestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <memory>

namespace {

const QString AddressWarning =
    QStringLiteral("<font color='red'>Changing the device's IP address to this value may prevent its light <br>"
                   "settings from being available through this application.</font>");
const QString NameWarning = QStringLiteral("<br><br><font color='red'>The device's name cannot be empty.</font>");
const QString SceneWarning =
    QStringLiteral("<br><br><font color='red'>At least one scene button must be enabled.</font>");
// What the form shows before any edit.
const QString Loaded = QStringLiteral("Hall keypad|10.77.0.1||black black|");

} // namespace

class TestSystemConfigurationWidget : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_keypad.start()); }

    void init() {
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
        // The form loads when the model announces a change, as after a keypad's reply. Firmware 1.2.0
        // has the button switches although its patch number is below 15: the rows that click them
        // rely on that.
        config->setVersion(QString(), false);
        config->setVersion(QStringLiteral("1.2.0"), true);
        m_keypad.clearRequests();
    }

    void cleanup() {
        m_keypad.keepConnected(false);
        QVERIFY(m_keypad.waitIdle());
        m_form.reset();
    }

    // What the user types (a null text leaves the field alone), and how the form then looks (see
    // looks()); Undo then brings back the keypad's values.
    void fieldsAreCheckedAsTheyAreTyped_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("noScene");
        QTest::addColumn<QString>("expected");
        const QString none;
        const QString hall = QStringLiteral("Hall keypad|");
        QTest::newRow("address in part") << none << "10.77.0." << false << hall + "10.77.0.||black black|undo";
        // 300 is refused as it is typed; 30 is a complete address on the keypad's own network.
        QTest::newRow("address over 255")
            << none << "10.77.0.300" << false << hall + "10.77.0.30||black black|save undo";
        QTest::newRow("other network") << none << "192.168.1.5" << false
                                       << hall + "192.168.1.5|" + AddressWarning + "|black red|save undo";
        QTest::newRow("empty name") << "" << none << false << "|10.77.0.1|" + NameWarning + "|red black|undo";
        QTest::newRow("both in order") << QString("") << "192.168.1.5" << false
                                       << "|192.168.1.5|" + AddressWarning + NameWarning + "|red red|undo";
        QTest::newRow("forbidden characters")
            << "Bar & Grill, \"Main\"" << none << false << "Bar  Grill Main|10.77.0.1||black black|save undo";
        QTest::newRow("too long") << QString(40, 'x') << none << false
                                  << QString(31, 'x') + "|10.77.0.1||black black|save undo";
        QTest::newRow("no scene button") << none << none << true
                                         << hall + "10.77.0.1|" + SceneWarning + "|black black|undo";
    }

    void fieldsAreCheckedAsTheyAreTyped() {
        QFETCH(QString, name);
        QFETCH(QString, address);
        QFETCH(bool, noScene);
        QFETCH(QString, expected);
        // The form filled from the keypad is no edit.
        QCOMPARE(looks(), Loaded);
        if (!name.isNull())
            retype("nameEdit", name);
        if (!address.isNull())
            retype("addressEdit", address);
        for (int i = 1; noScene && i <= 8; ++i) {
            if (child<QCheckBox>(qPrintable(QStringLiteral("scene%1CheckBox").arg(i)))->isChecked())
                toggle(qPrintable(QStringLiteral("scene%1CheckBox").arg(i)));
        }
        QCOMPARE(looks(), expected);
        // LUMETTO_SCREENSHOT_DIR keeps pictures of the form for a person to look at; a grown warning
        // is laid out on the next turn of the event loop.
        if (qEnvironmentVariableIsSet("LUMETTO_SCREENSHOT_DIR")) {
            m_form->resize(560, 600);
            QCoreApplication::processEvents();
            const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(' ', '-');
            TestSupport::keepPicture(m_form.get(), "sysconfig-" + tag + ".png");
        }

        QTest::mouseClick(undo(), Qt::LeftButton);
        QCOMPARE(looks(), Loaded);
        QVERIFY(child<QCheckBox>("scene1CheckBox")->isChecked());
    }

    // The address off the keypad's network stays red and warned about, but typing elsewhere keeps
    // going where the user types: one stray key in the address would move the keypad off the network.
    void typingElsewhereKeepsItsFocus() {
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        retype("addressEdit", QStringLiteral("192.168.1.51"));
        QTest::mouseClick(edit("nameEdit"), Qt::LeftButton);
        QTest::keyClick(edit("nameEdit"), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit("nameEdit"), QStringLiteral("Room 12"));
        QTest::mouseClick(child<QSpinBox>("universeSpinBox"), Qt::LeftButton);
        QTest::keyClick(child<QSpinBox>("universeSpinBox"), Qt::Key_Up);
        QTest::keyClicks(child<QSpinBox>("universeSpinBox"), QStringLiteral("7"));
        QCOMPARE(looks(),
                 QStringLiteral("Room 12|192.168.1.51|") + AddressWarning + QStringLiteral("|black red|save undo"));
        QVERIFY(child<QSpinBox>("universeSpinBox")->hasFocus());
    }

    // Stepped or switched, every other field is an edit too.
    void everyFieldCountsAsAnEdit() {
        for (const char* name : {"universeSpinBox", "VexilModeSpinBox", "lightsPerPortSpinBox", "numberOfPortsSpinBox",
                                 "fixtureClassComboBox", "downCheckBox"}) {
            QTest::mouseClick(undo(), Qt::LeftButton);
            auto* field = child<QWidget>(name);
            field->setFocus();
            if (qobject_cast<QCheckBox*>(field))
                toggle(name);
            else
                QTest::keyClick(field, qobject_cast<QComboBox*>(field) ? Qt::Key_Up : Qt::Key_Down);
            QVERIFY2(offered() == QStringLiteral("save undo"), name);
        }
    }

    void saveWhileNotConnectedOnlyUpdatesTheModel() {
        m_keypad.keepConnected(false);
        ConnectionState::instance()->setState(ConnectionState::NotConnected);
        SystemConfiguration* config = SystemConfiguration::instance();
        QSignalSpy addressChanged(m_form.get(), &SystemConfigurationWidget::addressChanged);
        QSignalSpy reloads(config, &SystemConfiguration::configurationChanged);
        QSignalSpy upChanged(config, &SystemConfiguration::upCheckBoxStateChanged);
        retype("nameEdit", QStringLiteral("Lobby"));
        retype("addressEdit", QStringLiteral("10.77.0.40"));
        toggle("upCheckBox");
        QTest::mouseClick(save(), Qt::LeftButton);
        QCOMPARE(config->name() + ' ' + config->ipAddress() + ' ' + QString::number(config->upCheckBoxState()),
                 QStringLiteral("Lobby 10.77.0.40 1"));
        // The control panel follows the button; the form is not reloaded, and the keypad not moved.
        QCOMPARE(upChanged.size(), 1);
        QVERIFY(reloads.isEmpty() && addressChanged.isEmpty());
        QCOMPARE(offered(), QString());
        QCoreApplication::processEvents();
        QCOMPARE(m_keypad.requests(), QStringList());
    }

    void saveWhileConnectedSendsTheConfiguration() {
        QSignalSpy addressChanged(m_form.get(), &SystemConfigurationWidget::addressChanged);
        retype("nameEdit", QStringLiteral("Lobby"));
        child<QSpinBox>("universeSpinBox")->setFocus();
        QTest::keyClick(child<QSpinBox>("universeSpinBox"), Qt::Key_Up);
        QTest::mouseClick(save(), Qt::LeftButton);
        QVERIFY(m_keypad.waitForRequests(2));
        const QStringList expected = SystemConfiguration::instance()->PostData(false, false);
        QVERIFY(expected.at(0).startsWith(QStringLiteral("name=Lobby&universe=4&vexil=2&num_ports=4&num_lights=40")));
        QCOMPARE(m_keypad.requests(),
                 (QStringList{QStringLiteral("POST /api/v1/config ") + expected.at(0) + "&apply=1",
                              QStringLiteral("POST /api/v1/config ") + expected.at(1) + "&apply=1"}));

        // A new address goes to the window, which moves the keypad through the discovery library.
        m_keypad.clearRequests();
        retype("addressEdit", QStringLiteral("10.77.0.41"));
        QTest::mouseClick(save(), Qt::LeftButton);
        QCOMPARE(addressChanged.size(), 1);
        QCOMPARE(SystemConfiguration::instance()->ipAddress(), QStringLiteral("10.77.0.41"));
        QVERIFY(m_keypad.requests().size() >= 2);
        QVERIFY(!m_keypad.requests().join(QLatin1Char('\n')).contains(QStringLiteral("ip=")));
        MSPComm::instance()->setDevice(EditorFixture::KeypadAddress, QByteArray::fromHex("0050C2AABBCC"));
    }

    void demoModeIgnoresEdits() {
        m_keypad.keepConnected(false);
        ConnectionState::instance()->setState(ConnectionState::OfflineDemo);
        m_form->setEnabled(true);
        retype("nameEdit", QString());
        QCOMPARE(looks(), QStringLiteral("|10.77.0.1||black black|"));
    }

    // The window shows the form before any keypad is there; the box rebuilt then must not stay off.
    void fixtureBoxComesAliveWithTheForm() {
        m_form->hide();
        m_form->setEnabled(false);
        m_form->show();
        m_form->setEnabled(true);
        QVERIFY(child<QComboBox>("fixtureClassComboBox")->isEnabled());
    }

private:
    template <typename T>
    T* child(const char* name) const {
        return m_form->findChild<T*>(QLatin1String(name));
    }
    QLineEdit* edit(const char* name) const { return child<QLineEdit>(name); }
    QLabel* warning() const { return child<QLabel>("warningLabel"); }
    QPushButton* save() const { return child<QPushButton>("applyButton"); }
    QPushButton* undo() const { return child<QPushButton>("revertButton"); }
    QString offered() const { return TestSupport::offered(m_form.get()); }
    // The two fields, the messages shown, the colour of each field's text, and Save and Undo.
    QString looks() const {
        const auto colour = [this](const char* name) {
            const QColor text = edit(name)->palette().color(QPalette::Text);
            return QString(text == QColor(255, 0, 0) ? "red" : text == QColor(Qt::black) ? "black" : "other");
        };
        return edit("nameEdit")->text() + '|' + edit("addressEdit")->text() + '|' +
               (warning()->isVisible() ? warning()->text() : QString()) + '|' + colour("nameEdit") + ' ' +
               colour("addressEdit") + '|' + offered();
    }
    // Clicks the box itself: a box in a wide column does not take clicks beside its text.
    void toggle(const char* name) const {
        auto* box = child<QCheckBox>(name);
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator.center());
    }
    void retype(const char* name, const QString& text) {
        edit(name)->setFocus();
        edit(name)->selectAll();
        QTest::keyClick(edit(name), Qt::Key_Backspace);
        QTest::keyClicks(edit(name), text);
    }

    EditorFixture m_keypad;
    std::unique_ptr<SystemConfigurationWidget> m_form;
};

LUMETTO_NETWORK_TEST_MAIN(TestSystemConfigurationWidget, "tst_systemconfigurationwidget", QApplication)
#include "tst_systemconfigurationwidget.moc"

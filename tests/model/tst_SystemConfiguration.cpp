#include "TestEnvironment.h"

#include "ModelFixture.h"
#include "SystemConfigurationCheck.h"

#include <QSignalSpy>

class TestSystemConfiguration : public QObject {
    Q_OBJECT

    SystemConfiguration* c = SystemConfiguration::instance();

private slots:
    void init() { ModelFixture::reset(); }

    void rangesScenesAndVersions() {
        QSignalSpy changed(c, &SystemConfiguration::configurationChanged);
        // Values the keypad refuses, and values it already has, are neither stored nor announced.
        for (int wrong : {-1, 256})
            c->setUniverse(wrong);
        c->setVexilMode(3);
        c->setLightsPerPort(171);
        c->setNumberOfPorts(0);
        c->setFixtureClass(0);
        c->setUniverse(255);
        c->setUniverse(255);
        c->setLightsPerPort(170);
        c->setNumberOfPorts(16);
        QCOMPARE(c->PostData(false, false).at(0),
                 QStringLiteral("name=&universe=255&vexil=1&num_ports=16&num_lights=170&global_profile=0"));
        // An unknown profile reads as the first; brightness is not part of the editor's configuration.
        c->setFixtureClass(5);
        c->setFixtureClass(12);
        c->setBrightness(7);
        QVERIFY(c->fixtureClass() == 0 && changed.count() == 5);

        for (auto setter : {&SystemConfiguration::setScene1CheckBoxState, &SystemConfiguration::setScene2CheckBoxState,
                            &SystemConfiguration::setScene3CheckBoxState, &SystemConfiguration::setScene4CheckBoxState,
                            &SystemConfiguration::setScene5CheckBoxState, &SystemConfiguration::setScene7CheckBoxState,
                            &SystemConfiguration::setScene8CheckBoxState})
            (c->*setter)(false, false);
        QVERIFY(c->firstEnabledScene() == 5 && !c->isSceneEnabled(0) && c->isSceneEnabled(8));
        c->setScene6CheckBoxState(false, false);
        QCOMPARE(c->firstEnabledScene(), 0);

        // Keypad firmware versions compare by number, major to patch.
        for (const auto& [mine, newer] :
             {std::pair{"1.1.20", true}, {"1.1.19", false}, {"1.2", false}, {"1.10.0", true}, {"0.9.99", false}}) {
            c->setVersion(QString::fromLatin1(mine));
            QVERIFY2(c->isNewerThan(QStringLiteral("1.1.19")) == newer, mine);
        }
    }

    void queryTextsAndConfigElement() {
        c->setName(QStringLiteral("Lobby"));
        c->setIpAddress(QStringLiteral("192.168.1.20"));
        QCOMPARE(c->PostData(false, false),
                 QStringList({"name=Lobby&universe=0&vexil=1&num_ports=1&num_lights=1&global_profile=0",
                              "&enable_switch=1&enable_switch=2&enable_switch=3&enable_switch=4&enable_switch=5"
                              "&enable_switch=6&enable_switch=7&enable_switch=8&enable_switch=11&enable_switch=10"
                              "&enable_switch=9"}));
        const QString ip =
            QStringLiteral("<property>\n<url>/api/v1/config/ip</url>\n<value>192.168.1.20</value>\n</property>\n");
        QString element = QStringLiteral(
            "<config>\n<property>\n<url>/api/v1/config/name</url>\n<value>Lobby</value>\n</property>\n"
            "<property>\n<url>/api/v1/config/global_profile</url>\n<value>0</value>\n</property>"
            "<property>\n<url>/api/v1/config/universe</url>\n<value>0</value>\n</property>\n"
            "<property>\n<url>/api/v1/config/vexil</url>\n<value>1</value>\n</property>\n"
            "<property>\n<url>/api/v1/config/num_ports</url>\n<value>1</value>\n</property>\n"
            "<property>\n<url>/api/v1/config/num_lights</url>\n<value>1</value>\n</property>\n"
            "<property>\n<url>/api/v1/config/brightness</url>\n<value>0</value>\n</property>\n"
            "<property>\n<url>/api/v1/config/switch_state</url>\n<value>1,1,1,1,1,1,1,1,1,1,1</value>\n</property>\n"
            "</config>\n");
        QCOMPARE(c->XMLData(false), element);
        QCOMPARE(c->XMLData(true), QString(element).insert(element.indexOf(QLatin1String("<property>"), 10), ip));

        // Names go out as they are in queries and escaped in documents; documents list the
        // buttons 1-8, on/off, up, down. (The reader's tests check the query for such a configuration.)
        c->setName(QStringLiteral("R&D <Lab> \u20ac\r"));
        c->setBrightness(-1);
        c->setScene3CheckBoxState(false);
        c->setDownCheckBoxState(false);
        c->setOnOffCheckBoxState(false);
        QVERIFY(c->PostData(true, true).at(0).startsWith(QStringLiteral("name=R&D <Lab> \u20ac\r&universe=0&")));
        element = c->XMLData(false);
        QVERIFY(element.contains(QLatin1String("<value>R&amp;D &lt;Lab&gt; &#8364;&#13;</value>")));
        QVERIFY(element.contains(QLatin1String("brightness</url>\n<value>off</value>")));
        QVERIFY(element.contains(QLatin1String("<value>1,1,0,1,1,1,1,1,0,1,0</value>")));
    }

    // What the System Configuration form takes, shared with the command line.
    void formChecks() {
        using Check = SystemConfigurationCheck;
        for (const char* taken : {"Lobby", "x", "Caf\u00e9 \u00fcber 2 (West)", "1234567890123456789012345678901"})
            QVERIFY2(Check::isValidName(QString::fromUtf8(taken)) &&
                         Check::nameProblem(QString::fromUtf8(taken)).isEmpty(),
                     taken);
        QCOMPARE(Check::nameProblem(QString()), QStringLiteral("The device's name cannot be empty."));
        QCOMPARE(Check::nameProblem(QString(32, QLatin1Char('x'))),
                 QStringLiteral("The device's name cannot be longer than 31 characters."));
        for (const char* refused : {"A&B", "a,b", "say \"hi\""}) {
            QVERIFY(!Check::isValidName(QLatin1String(refused)));
            QCOMPARE(Check::nameProblem(QLatin1String(refused)),
                     QStringLiteral("The device's name cannot contain \"&\", \",\" or '\"'."));
        }

        bool scenes[SystemConfiguration::sceneCount] = {};
        QVERIFY(!Check::anySceneEnabled(scenes));
        scenes[7] = true;
        QVERIFY(Check::anySceneEnabled(scenes));

        // Button switches arrived in 1.1.15 and stayed.
        const QList<QPair<const char*, Check::ButtonGate>> gates{
            {"1.1.14", Check::ButtonGate::Closed},        {"1.0.30", Check::ButtonGate::Closed},
            {"0.9.99", Check::ButtonGate::Closed},        {"1.1.15", Check::ButtonGate::Open},
            {"1.1.20", Check::ButtonGate::Open},          {"1.2.0", Check::ButtonGate::Open},
            {"2.0.0", Check::ButtonGate::Open},           {"1.3", Check::ButtonGate::Unknown},
            {"Not Available", Check::ButtonGate::Unknown}};
        for (const auto& gate : gates)
            QVERIFY2(Check::buttonGate(QLatin1String(gate.first)) == gate.second, gate.first);
    }
};

LUMETTO_TEST_MAIN_CORE(TestSystemConfiguration, "tst_SystemConfiguration")
#include "tst_SystemConfiguration.moc"

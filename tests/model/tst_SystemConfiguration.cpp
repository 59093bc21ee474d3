#include "TestEnvironment.h"

#include "ModelFixture.h"

#include <QSignalSpy>

class TestSystemConfiguration : public QObject {
    Q_OBJECT

    SystemConfiguration* c = SystemConfiguration::instance();

private slots:
    void init() { ModelFixture::reset(); }

    void rangesAreEnforced() {
        QSignalSpy changed(c, &SystemConfiguration::configurationChanged);
        c->setUniverse(256);
        c->setUniverse(-1);
        c->setVexilMode(3);
        c->setLightsPerPort(0);
        c->setLightsPerPort(171);
        c->setNumberOfPorts(17);
        c->setFixtureClass(0);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(c->PostData(false, false).at(0),
                 QStringLiteral("name=&universe=0&vexil=1&num_ports=1&num_lights=1&global_profile=0"));

        QSignalSpy universe(c, &SystemConfiguration::universeChanged);
        c->setUniverse(255);
        c->setVexilMode(2);
        c->setLightsPerPort(170);
        c->setNumberOfPorts(16);
        c->setUniverse(255);
        c->setUniverse(3, false);
        QVERIFY(changed.count() == 4 && universe.count() == 1 && c->universe() == 3);
        // An unknown profile reads as the first.
        c->setFixtureClass(5);
        c->setFixtureClass(12);
        QCOMPARE(c->fixtureClass(), 0);
        c->setFixtureClass(12);
        QCOMPARE(changed.count(), 6);

        // Brightness reports every time, but is not part of the editor's configuration.
        QSignalSpy bright(c, &SystemConfiguration::brightnessChanged);
        c->setBrightness(0);
        QVERIFY(bright.count() == 1 && changed.count() == 6);
    }

    void buttonStates() {
        QStringList order;
        auto a = connect(c, &SystemConfiguration::scene2CheckBoxStateChanged, this,
                         [&](bool v) { order << QStringLiteral("scene2 %1").arg(v); });
        auto b = connect(c, &SystemConfiguration::configurationChanged, this, [&] { order << QStringLiteral("cfg"); });
        c->setScene2CheckBoxState(false, false);
        c->setScene2CheckBoxState(false, true);
        c->setScene2CheckBoxState(true, true);
        c->setScene2CheckBoxState(false, false);
        c->handleDiscovering();
        disconnect(a);
        disconnect(b);
        QCOMPARE(order, QStringList({"scene2 0", "cfg", "cfg", "scene2 1", "scene2 0", "scene2 1"}));
    }

    void enabledScenes() {
        for (auto setter : {&SystemConfiguration::setScene1CheckBoxState, &SystemConfiguration::setScene2CheckBoxState,
                            &SystemConfiguration::setScene3CheckBoxState, &SystemConfiguration::setScene4CheckBoxState,
                            &SystemConfiguration::setScene5CheckBoxState, &SystemConfiguration::setScene7CheckBoxState,
                            &SystemConfiguration::setScene8CheckBoxState})
            (c->*setter)(false, false);
        QCOMPARE(c->firstEnabledScene(), 5);
        QVERIFY(!c->isSceneEnabled(0) && c->isSceneEnabled(5) && c->isSceneEnabled(8));
        c->setScene6CheckBoxState(false, false);
        QCOMPARE(c->firstEnabledScene(), 0);
    }

    void versions() {
        const struct {
            const char* mine;
            const char* other;
            bool newer;
        } cases[] = {{"1.1.20", "1.1.19", true}, {"1.1.19", "1.1.19", false}, {"1.2", "0.0.1", false},
                     {"9.9.9", "1.2", false},    {"1.10.0", "1.9.9", true},   {"0.9.9", "1.0.0", false}};
        for (const auto& t : cases) {
            c->setVersion(QString::fromLatin1(t.mine));
            QVERIFY2(c->isNewerThan(QString::fromLatin1(t.other)) == t.newer, t.mine);
        }
    }

    void queryTexts() {
        c->setName(QStringLiteral("Lobby"));
        QCOMPARE(c->PostData(false, false),
                 QStringList({"name=Lobby&universe=0&vexil=1&num_ports=1&num_lights=1&global_profile=0",
                              "&enable_switch=1&enable_switch=2&enable_switch=3&enable_switch=4&enable_switch=5"
                              "&enable_switch=6&enable_switch=7&enable_switch=8&enable_switch=11&enable_switch=10"
                              "&enable_switch=9"}));

        c->setName(QStringLiteral("A&B=C"));
        c->setIpAddress(QStringLiteral("10.77.0.9"));
        c->setUniverse(3);
        c->setVexilMode(2);
        c->setNumberOfPorts(4);
        c->setLightsPerPort(170);
        c->setFixtureClass(9);
        c->setBrightness(-1);
        c->setScene3CheckBoxState(false);
        c->setDownCheckBoxState(false);
        c->setOnOffCheckBoxState(false);
        QCOMPARE(
            c->PostData(true, true),
            QStringList({"name=A&B=C&universe=3&vexil=2&num_ports=4&num_lights=170&abs_bright=off&global_profile=9",
                         "&enable_switch=1&enable_switch=2&disable_switch=3&enable_switch=4&enable_switch=5"
                         "&enable_switch=6&enable_switch=7&enable_switch=8&disable_switch=11&enable_switch=10"
                         "&disable_switch=9&ip=10.77.0.9"}));
    }

    void configElement() {
        c->setName(QStringLiteral("Lobby"));
        c->setIpAddress(QStringLiteral("192.168.1.20"));
        const QString expected = QStringLiteral(
            "<config>\n<property>\n<url>/api/v1/config/name</url>\n<value>Lobby</value>\n</property>\n"
            "<property>\n<url>/api/v1/config/global_profile</url>\n<value>0</value>\n</property>"
            "<property>\n<url>/api/v1/config/universe</url>\n<value>0</value>\n</property>\n"
            "<property>\n<url>/api/v1/config/vexil</url>\n<value>1</value>\n</property>\n"
            "<property>\n<url>/api/v1/config/num_ports</url>\n<value>1</value>\n</property>\n"
            "<property>\n<url>/api/v1/config/num_lights</url>\n<value>1</value>\n</property>\n"
            "<property>\n<url>/api/v1/config/brightness</url>\n<value>0</value>\n</property>\n"
            "<property>\n<url>/api/v1/config/switch_state</url>\n<value>1,1,1,1,1,1,1,1,1,1,1</value>\n</property>\n"
            "</config>\n");
        QCOMPARE(c->XMLData(false), expected);
        QCOMPARE(c->XMLData(true),
                 QString(expected).insert(expected.indexOf(QLatin1String("<property>\n<url>/api/v1/config/global")),
                                          "<property>\n<url>/api/v1/config/ip</url>\n<value>192.168.1.20</value>\n"
                                          "</property>\n"));

        // Order of the states: scenes 1-8, on/off, up, down. Markup in names is escaped.
        c->setName(QStringLiteral("R&D <Lab> \u20ac\r"));
        c->setBrightness(-1);
        c->setScene1CheckBoxState(false);
        c->setOnOffCheckBoxState(false);
        c->setDownCheckBoxState(false);
        const QString changed = c->XMLData(false);
        QVERIFY(changed.contains(QLatin1String("<value>R&amp;D &lt;Lab&gt; &#8364;&#13;</value>")));
        QVERIFY(changed.contains(QLatin1String("brightness</url>\n<value>off</value>")));
        QVERIFY(changed.contains(QLatin1String("<value>0,1,1,1,1,1,1,1,0,1,0</value>")));
    }
};

LUMETTO_TEST_MAIN_CORE(TestSystemConfiguration, "tst_SystemConfiguration")
#include "tst_SystemConfiguration.moc"

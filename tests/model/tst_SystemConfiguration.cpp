#include "TestEnvironment.h"

#include "SystemConfiguration.h"

#include <QSignalSpy>

class TestSystemConfiguration : public QObject {
    Q_OBJECT

private:
    SystemConfiguration* c = SystemConfiguration::instance();

    void reset() {
        c->setName(QString(), false);
        c->setIpAddress(QString(), false);
        c->setUniverse(0, false);
        c->setVexilMode(1, false);
        c->setLightsPerPort(1, false);
        c->setNumberOfPorts(1, false);
        c->setBrightness(0);
        c->setFixtureClass(0, false);
        c->handleDiscovering();
    }

private slots:
    void init() { reset(); }

    void defaults() {
        QCOMPARE(c->version(), QStringLiteral("Not Available"));
        QCOMPARE(c->VexilMode(), 1);
        QCOMPARE(c->lightsPerPort(), 1);
        QCOMPARE(c->numberOfPorts(), 1);
        QCOMPARE(c->fixtureClass(), 0);
        QVERIFY(c->onOffCheckBoxState() && c->upCheckBoxState() && c->downCheckBoxState());
        QCOMPARE(SystemConfiguration::instance(), c);
    }

    void rangesAreEnforced_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("rejected");
        QTest::addColumn<int>("accepted");
        QTest::newRow("universe high") << "universe" << 256 << 255;
        QTest::newRow("universe negative") << "universe" << -1 << 255;
        QTest::newRow("vexil") << "VexilMode" << 3 << 2;
        QTest::newRow("vexil zero") << "VexilMode" << 0 << 2;
        QTest::newRow("lights zero") << "lightsPerPort" << 0 << 170;
        QTest::newRow("lights high") << "lightsPerPort" << 171 << 170;
        QTest::newRow("ports") << "numberOfPorts" << 17 << 16;
    }

    void rangesAreEnforced() {
        QFETCH(QString, field);
        QFETCH(int, rejected);
        QFETCH(int, accepted);
        auto set = [&](int v) {
            if (field == QLatin1String("universe"))
                c->setUniverse(v);
            else if (field == QLatin1String("VexilMode"))
                c->setVexilMode(v);
            else if (field == QLatin1String("lightsPerPort"))
                c->setLightsPerPort(v);
            else
                c->setNumberOfPorts(v);
        };
        auto get = [&] {
            if (field == QLatin1String("universe"))
                return c->universe();
            if (field == QLatin1String("VexilMode"))
                return c->VexilMode();
            if (field == QLatin1String("lightsPerPort"))
                return c->lightsPerPort();
            return c->numberOfPorts();
        };
        const int before = get();
        QSignalSpy changed(c, &SystemConfiguration::configurationChanged);
        set(rejected);
        QCOMPARE(get(), before);
        QCOMPARE(changed.count(), 0);
        set(accepted);
        QCOMPARE(get(), accepted);
        QCOMPARE(changed.count(), 1);
        set(accepted);
        QCOMPARE(changed.count(), 1);
    }

    void fieldSignalPrecedesConfigurationChanged() {
        QStringList order;
        auto a = connect(c, &SystemConfiguration::universeChanged, this,
                         [&](int v) { order << QStringLiteral("universe %1").arg(v); });
        auto b = connect(c, &SystemConfiguration::configurationChanged, this, [&] { order << QStringLiteral("cfg"); });
        c->setUniverse(7);
        c->setUniverse(9, false);
        disconnect(a);
        disconnect(b);
        QCOMPARE(order, QStringList({QStringLiteral("universe 7"), QStringLiteral("cfg")}));
        QCOMPARE(c->universe(), 9);
    }

    void fixtureClassOutsideProfilesBecomesZero() {
        c->setFixtureClass(5);
        QSignalSpy changed(c, &SystemConfiguration::configurationChanged);
        c->setFixtureClass(12);
        QCOMPARE(c->fixtureClass(), 0);
        QCOMPARE(changed.count(), 1);
        c->setFixtureClass(12);
        c->setFixtureClass(-3);
        QCOMPARE(changed.count(), 1);
    }

    void brightnessAlwaysReports() {
        c->setBrightness(40);
        QSignalSpy bright(c, &SystemConfiguration::brightnessChanged);
        QSignalSpy changed(c, &SystemConfiguration::configurationChanged);
        c->setBrightness(40);
        QCOMPARE(bright.count(), 1);
        QCOMPARE(bright.at(0).at(0).toInt(), 40);
        QCOMPARE(changed.count(), 0);
    }

    void buttonStates() {
        QStringList order;
        auto scene2 = connect(c, &SystemConfiguration::scene2CheckBoxStateChanged, this,
                              [&](bool v) { order << QStringLiteral("scene2 %1").arg(v); });
        auto cfg =
            connect(c, &SystemConfiguration::configurationChanged, this, [&] { order << QStringLiteral("cfg"); });

        c->setScene2CheckBoxState(false, false);
        QCOMPARE(order, QStringList{QStringLiteral("scene2 0")});
        order.clear();
        c->setScene2CheckBoxState(false, true);
        QCOMPARE(order, QStringList{QStringLiteral("cfg")});
        order.clear();
        c->setScene2CheckBoxState(true, true);
        QCOMPARE(order, QStringList({QStringLiteral("cfg"), QStringLiteral("scene2 1")}));
        order.clear();

        c->setScene2CheckBoxState(false, false);
        c->setOnOffCheckBoxState(false, false);
        QSignalSpy onOff(c, &SystemConfiguration::onOffCheckBoxStateChanged);
        QSignalSpy up(c, &SystemConfiguration::upCheckBoxStateChanged);
        order.clear();
        c->handleDiscovering();
        disconnect(cfg);
        disconnect(scene2);
        QCOMPARE(order, QStringList{QStringLiteral("scene2 1")});
        QCOMPARE(onOff.count(), 1);
        QCOMPARE(up.count(), 0);
        QVERIFY(c->scene2CheckBoxState() && c->onOffCheckBoxState());
    }

    void enabledScenes() {
        const auto setters = {
            &SystemConfiguration::setScene1CheckBoxState, &SystemConfiguration::setScene2CheckBoxState,
            &SystemConfiguration::setScene3CheckBoxState, &SystemConfiguration::setScene4CheckBoxState,
            &SystemConfiguration::setScene5CheckBoxState, &SystemConfiguration::setScene6CheckBoxState,
            &SystemConfiguration::setScene7CheckBoxState, &SystemConfiguration::setScene8CheckBoxState};
        int i = 0;
        for (auto setter : setters)
            (c->*setter)(i++ == 5, false);
        QCOMPARE(c->firstEnabledScene(), 5);
        QVERIFY(!c->isSceneEnabled(0));
        QVERIFY(c->isSceneEnabled(5));
        c->setScene6CheckBoxState(false, false);
        QCOMPARE(c->firstEnabledScene(), 0);
        QVERIFY(c->isSceneEnabled(8));
        QVERIFY(c->isSceneEnabled(-1));
    }

    void versions_data() {
        QTest::addColumn<QString>("mine");
        QTest::addColumn<QString>("other");
        QTest::addColumn<bool>("newer");
        QTest::newRow("patch") << "1.1.20"
                               << "1.1.19" << true;
        QTest::newRow("equal") << "1.1.19"
                               << "1.1.19" << false;
        QTest::newRow("short mine") << "1.2"
                                    << "0.0.1" << false;
        QTest::newRow("short other") << "9.9.9"
                                     << "1.2" << false;
        QTest::newRow("minor beats patch") << "1.2.0"
                                           << "1.1.99" << true;
        QTest::newRow("numeric not text") << "1.10.0"
                                          << "1.9.0" << true;
        QTest::newRow("older major") << "0.9.9"
                                     << "1.0.0" << false;
        QTest::newRow("not available") << "Not Available"
                                       << "1.0.0" << false;
    }

    void versions() {
        QFETCH(QString, mine);
        QFETCH(QString, other);
        QFETCH(bool, newer);
        c->setVersion(mine);
        QCOMPARE(c->isNewerThan(other), newer);
    }

    void queryTexts() {
        c->setName(QStringLiteral("Lobby"));
        const QStringList texts = c->PostData(false, false);
        QCOMPARE(texts.size(), 2);
        QCOMPARE(texts.at(0),
                 QStringLiteral("name=Lobby&universe=0&vexil=1&num_ports=1&num_lights=1&global_profile=0"));
        QCOMPARE(texts.at(1), QStringLiteral("&enable_switch=1&enable_switch=2&enable_switch=3&enable_switch=4"
                                             "&enable_switch=5&enable_switch=6&enable_switch=7&enable_switch=8"
                                             "&enable_switch=11&enable_switch=10&enable_switch=9"));

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
        const QStringList full = c->PostData(true, true);
        // The keypad takes names unencoded.
        QCOMPARE(full.at(0), QStringLiteral("name=A&B=C&universe=3&vexil=2&num_ports=4&num_lights=170"
                                            "&abs_bright=off&global_profile=9"));
        QCOMPARE(full.at(1), QStringLiteral("&enable_switch=1&enable_switch=2&disable_switch=3&enable_switch=4"
                                            "&enable_switch=5&enable_switch=6&enable_switch=7&enable_switch=8"
                                            "&disable_switch=11&enable_switch=10&disable_switch=9&ip=10.77.0.9"));
        c->setBrightness(255);
        QVERIFY(c->PostData(false, true).at(0).contains(QLatin1String("&abs_bright=255&global_profile=9")));
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

        const QString withIp = c->XMLData(true);
        QVERIFY(withIp.startsWith(
            QStringLiteral("<config>\n<property>\n<url>/api/v1/config/name</url>\n<value>Lobby</value>\n</property>\n"
                           "<property>\n<url>/api/v1/config/ip</url>\n<value>192.168.1.20</value>\n</property>\n"
                           "<property>\n<url>/api/v1/config/global_profile</url>")));

        // Order of the states: scenes 1-8, on/off, up, down.
        c->setBrightness(-1);
        c->setScene1CheckBoxState(false);
        c->setOnOffCheckBoxState(false);
        c->setDownCheckBoxState(false);
        const QString changed = c->XMLData(false);
        QVERIFY(changed.contains(QLatin1String("<value>off</value>")));
        QVERIFY(changed.contains(QLatin1String("<value>0,1,1,1,1,1,1,1,0,1,0</value>")));
    }

    void markupInNamesIsEscaped() {
        c->setName(QStringLiteral("R&D <Lab> \u20ac\r"));
        QVERIFY(c->XMLData(false).contains(QLatin1String("<value>R&amp;D &lt;Lab&gt; &#8364;&#13;</value>")));
        QVERIFY(c->PostData(false, false).at(0).startsWith(QStringLiteral("name=R&D <Lab> \u20ac\r&")));
    }
};

LUMETTO_TEST_MAIN_CORE(TestSystemConfiguration, "tst_SystemConfiguration")
#include "tst_SystemConfiguration.moc"

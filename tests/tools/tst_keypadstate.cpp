#include "KeypadState.h"
#include "TestEnvironment.h"

// The simulated keypad's memory and its reading of the editor's bodies, without sockets.
class TestKeypadState : public QObject {
    Q_OBJECT

    static KeypadConfig factory(const QString& version = QStringLiteral("1.3.2")) {
        KeypadConfig config;
        config.name = QStringLiteral("Lobby");
        config.ip = QStringLiteral("10.77.0.2");
        config.version = version;
        return config;
    }

private slots:
    void readsTheEditorsSceneTextsBackExactly_data() {
        QTest::addColumn<int>("scene");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("colour wash") << 4 << QByteArray("effect=2&param1=5&param2=1&param_xy=(0,0,0)&num_colors=0");
        QTest::newRow("fixed from xy")
            << 1 << QByteArray("effect=0&param1=255&param2=0&param3=0&param_xy=(2500,5000,1000)&num_colors=0");
        QTest::newRow("custom wash") << 8
                                     << QByteArray(
                                            "effect=4&param1=1&param2=0&param3=1&param_xy=(0,0,0)&num_colors=2"
                                            "&color1=(1,2,3)&custom_xy_1=(0,0,0)&color2=(4,5,6)&custom_xy_2=(7,8,9)");
        QTest::newRow("duo white") << 2 << QByteArray("effect=7&param1=6500&param2=255&param_xy=(0,0,0)&num_colors=0");
    }

    // Scene 3 as a file load sends it: posted and saved in one request. Live and saved scenes over HTTP are the
    // simulator test's business.
    void readsTheEditorsSceneTextsBackExactly() {
        QFETCH(int, scene);
        QFETCH(QByteArray, body);
        KeypadState state(factory());
        const KeypadState::Outcome outcome = state.postScene(scene, body);
        QVERIFY2(outcome.ok, qPrintable(outcome.error));
        QCOMPARE(KeypadState::queryText(state.liveScene(scene)), QString::fromLatin1(body));
        QVERIFY(state.postScene(3, body + "&apply=1").ok);
        QCOMPARE(KeypadState::queryText(state.savedScene(3)), QString::fromLatin1(body));
    }

    void refusesMalformedEditsWhole_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("param missing") << QByteArray("effect=2&param1=5&param_xy=(0,0,0)&num_colors=0");
        QTest::newRow("no xy") << QByteArray("effect=2&param1=5&param2=1&num_colors=0");
        QTest::newRow("byte range") << QByteArray(
            "effect=0&param1=256&param2=0&param3=0&param_xy=(0,0,0)&num_colors=0");
        QTest::newRow("colour count") << QByteArray("effect=4&param1=1&param2=0&param3=1&param_xy=(0,0,0)&num_colors=2"
                                                    "&color1=(1,2,3)&custom_xy_1=(0,0,0)");
        QTest::newRow("duplicate") << QByteArray("effect=2&param1=5&param1=5&param2=1&param_xy=(0,0,0)&num_colors=0");
        QTest::newRow("percent-encoded") << QByteArray("effect=2&param1=5&param2=1&param_xy=%280,0,0%29&num_colors=0");
        QTest::newRow("apply only bad") << QByteArray("apply=yes");
        QTest::newRow("no effect") << QByteArray("param1=5&apply=1");
        QTest::newRow("no equals") << QByteArray("effect");
    }

    void refusesMalformedEditsWhole() {
        QFETCH(QByteArray, body);
        KeypadState state(factory());
        const SceneContent before = state.liveScene(4);
        const KeypadState::Outcome outcome = state.postScene(4, body);
        QVERIFY(!outcome.ok);
        QCOMPARE(outcome.status, 400);
        QCOMPARE(state.liveScene(4), before);
        QCOMPARE(state.savedScene(4), before);
    }

    void takesConfigurationTexts() {
        KeypadState state(factory());
        KeypadState::Outcome o = state.postConfig(
            "name=Hall&universe=3&vexil=2&num_ports=4&num_lights=10&abs_bright=128&global_profile=5&apply=1");
        QVERIFY2(o.ok, qPrintable(o.error));
        QVERIFY(o.configChanged);
        QCOMPARE(state.config().name, QStringLiteral("Hall"));
        QCOMPARE(state.config().level, 128);
        // The same again changes nothing.
        QVERIFY(!state.postConfig("name=Hall&universe=3&apply=1").configChanged);

        o = state.postConfig("&enable_switch=1&disable_switch=2&enable_switch=3&enable_switch=4&enable_switch=5"
                             "&enable_switch=6&enable_switch=7&disable_switch=8&enable_switch=11&disable_switch=10"
                             "&enable_switch=9&ip=10.77.0.9&apply=1");
        QVERIFY2(o.ok, qPrintable(o.error));
        QCOMPARE(o.newAddress, QStringLiteral("10.77.0.9"));
        QVERIFY(state.configXml().contains("<value>1,0,1,1,1,1,1,0,1,0,1</value>"));
        QVERIFY(!state.pressScene(2));
        QVERIFY(!state.pressUp());
        QVERIFY(state.pressScene(3));

        for (const QByteArray& bad : {QByteArray("universe=1&vexil=0"), QByteArray("factory_reset=1&universe=1"),
                                      QByteArray(), QByteArray("ip=10.77.1"), "name=" + QByteArray(64, 'n'),
                                      QByteArray("name=two\nlines"), QByteArray("name=R<&>D")})
            QVERIFY2(!state.postConfig(bad).ok, bad.constData());
        QCOMPARE(state.config().universe, 3);
        QVERIFY(state.postConfig("name=Caf\xe9 \"<Nord>\"").ok);
        QVERIFY(state.configXml().contains("<value>Caf\xe9 &quot;&lt;Nord&gt;&quot;</value>"));

        QVERIFY(state.postConfig("factory_reset=1").factoryReset);
        QCOMPARE(state.config().name, QStringLiteral("Lobby"));
    }

    void brightnessAndOnOff() {
        KeypadState state(factory());
        // Already at full, one step down, then off.
        QVERIFY(!state.pressUp() && state.pressDown() && state.pressOnOff());
        QVERIFY(state.configXml().contains("<url>/api/v1/config/brightness</url>\n<value>off</value>"));
        // A step while off only turns the light back on, at the level it had.
        QVERIFY(state.postConfig("rel_bright=0").ok && state.config().on);
        QCOMPARE(state.config().level, 255 - KeypadState::BrightnessStep);
        QVERIFY(state.postConfig("off_press=1").ok && !state.config().on);
    }

    // The switches arrived in 1.1.15 and every later firmware keeps them.
    void olderFirmwareKeepsEveryButton() {
        KeypadState state(factory(QStringLiteral("1.1.14")));
        QVERIFY(state.postConfig("&disable_switch=1&disable_switch=9&apply=1").ok);
        QVERIFY(state.configXml().contains("<value>1,1,1,1,1,1,1,1,1,1,1</value>"));
        QVERIFY(state.pressScene(1) || state.activeScene() == 1);
        for (const char* version : {"1.1.15", "1.2.9", "2.0.0"})
            QVERIFY2(KeypadState(factory(QString::fromLatin1(version))).hasButtonFeature(), version);
    }
};

LUMETTO_TEST_MAIN_CORE(TestKeypadState, "tst_keypadstate")
#include "tst_keypadstate.moc"

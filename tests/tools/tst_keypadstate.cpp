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
    void sceneTexts_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("good");
        const auto row = [](const char* name, bool good, const char* body) {
            QTest::newRow(name) << QByteArray(body) << good;
        };
        row("colour wash", true, "effect=2&param1=5&param2=1&param_xy=(0,0,0)&num_colors=0");
        row("fixed from xy", true, "effect=0&param1=255&param2=0&param3=0&param_xy=(2500,5000,1000)&num_colors=0");
        row("custom wash", true,
            "effect=4&param1=1&param2=0&param3=1&param_xy=(0,0,0)&num_colors=2"
            "&color1=(1,2,3)&custom_xy_1=(0,0,0)&color2=(4,5,6)&custom_xy_2=(7,8,9)");
        row("duo white", true, "effect=7&param1=6500&param2=255&param_xy=(0,0,0)&num_colors=0");
        row("param missing", false, "effect=2&param1=5&param_xy=(0,0,0)&num_colors=0");
        row("no xy", false, "effect=2&param1=5&param2=1&num_colors=0");
        row("byte range", false, "effect=0&param1=256&param2=0&param3=0&param_xy=(0,0,0)&num_colors=0");
        row("colour count", false,
            "effect=4&param1=1&param2=0&param3=1&param_xy=(0,0,0)&num_colors=2&color1=(1,2,3)&custom_xy_1=(0,0,0)");
        row("duplicate", false, "effect=2&param1=5&param1=5&param2=1&param_xy=(0,0,0)&num_colors=0");
        row("percent-encoded", false, "effect=2&param1=5&param2=1&param_xy=%280,0,0%29&num_colors=0");
        row("apply only bad", false, "apply=yes");
        row("no effect", false, "param1=5&apply=1");
        row("no equals", false, "effect");
    }

    // A good text is read back exactly, live and then saved as a file load sends it, in one request; a bad one
    // is refused whole. Live and saved scenes over HTTP are the simulator test's business.
    void sceneTexts() {
        QFETCH(QByteArray, body);
        QFETCH(bool, good);
        KeypadState state(factory());
        const QString before = KeypadState::queryText(state.savedScene(4));
        const QString expected = good ? QString::fromLatin1(body) : before;
        const KeypadState::Outcome outcome = state.postScene(4, body);
        QVERIFY2(outcome.ok == good, qPrintable(outcome.error));
        QCOMPARE(outcome.status, good ? 200 : 400);
        QCOMPARE(KeypadState::queryText(state.liveScene(4)), expected);
        QCOMPARE(state.postScene(4, body + "&apply=1").ok, good);
        QCOMPARE(KeypadState::queryText(state.savedScene(4)), expected);
    }

    // Addresses and factory resets over HTTP are the simulator test's and the session test's business.
    void takesConfigurationTexts() {
        KeypadState state(factory());
        const KeypadState::Outcome o = state.postConfig(
            "name=Hall&universe=3&vexil=2&num_ports=4&num_lights=10&abs_bright=128&global_profile=5&apply=1");
        QVERIFY2(o.ok && o.configChanged, qPrintable(o.error));
        QCOMPARE(state.config().level, 128);
        // The same again changes nothing, so no notice goes out for it.
        QVERIFY(!state.postConfig("name=Hall&universe=3&apply=1").configChanged);

        // Switches go by button number; 10 is the up key.
        QVERIFY(state.postConfig("&disable_switch=2&disable_switch=10&enable_switch=3&apply=1").ok);
        QVERIFY(state.configXml().contains("<value>1,0,1,1,1,1,1,1,1,0,1</value>"));
        QVERIFY(!state.pressScene(2) && !state.pressUp() && state.pressScene(3));

        for (const QByteArray& bad : {QByteArray("universe=1&vexil=0"), QByteArray("factory_reset=1&universe=1"),
                                      QByteArray(), QByteArray("ip=10.77.1"), "name=" + QByteArray(64, 'n'),
                                      QByteArray("name=two\nlines"), QByteArray("name=R<&>D")})
            QVERIFY2(!state.postConfig(bad).ok, bad.constData());
        QCOMPARE(state.config().universe, 3);
        QVERIFY(state.postConfig("name=Caf\xe9 \"<Nord>\"").ok);
        QVERIFY(state.configXml().contains("<value>Caf\xe9 &quot;&lt;Nord&gt;&quot;</value>"));
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

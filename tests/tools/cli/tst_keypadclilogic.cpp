#include "BackupPlan.h"
#include "CommandLine.h"
#include "ConfigurationAssignments.h"
#include "FleetReport.h"
#include "SystemConfiguration.h"
#include "TestEnvironment.h"

namespace {

DiscoveredDevice device(const QString& name, const char* macHex, const QString& address) {
    return DiscoveredDevice(name, QByteArray::fromHex(macHex), address);
}

// The shared configuration as a keypad with every button enabled reports it.
void resetConfiguration() {
    SystemConfiguration* c = SystemConfiguration::instance();
    c->setName(QStringLiteral("Lobby"), false);
    c->setUniverse(0, false);
    c->setVexilMode(1, false);
    c->setNumberOfPorts(1, false);
    c->setLightsPerPort(1, false);
    c->setFixtureClass(0, false);
    c->setBrightness(255);
    c->handleDiscovering();
}

} // namespace

// What the fleet commands decide without a keypad: file names, FIELD=VALUE, the result lines.
class TestKeypadCliLogic : public QObject {
    Q_OBJECT

private slots:
    void commandLines() {
        const QStringList flags{"--json", "--all"};
        const QStringList valued{"--timeout"};
        CommandLine line({"DIR", "--timeout", "2000", "--all", "x"}, flags, valued);
        QCOMPARE(line.words(), QStringList({"DIR", "x"}));
        QVERIFY(line.has("--all") && !line.has("--json") && line.error().isEmpty());
        QCOMPARE(line.timeout(500), 2000);
        QCOMPARE(CommandLine({"--timeout=750"}, flags, valued).timeout(500), 750);
        QCOMPARE(CommandLine({"a"}, flags, valued).timeout(500), 500);
        for (const char* bad : {"--timeout=soon", "--timeout=0", "--timeout=-5"})
            QCOMPARE(CommandLine({bad}, flags, valued).timeout(500), -1);
        QCOMPARE(CommandLine({"a", "--timeout"}, flags, valued).error(), QStringLiteral("--timeout needs a value"));
        QCOMPARE(CommandLine({"--force", "a"}, flags, valued).error(), QStringLiteral("unknown option --force"));
    }

    void fileNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("mac");
        QTest::addColumn<QString>("expected");
        const QByteArray mac = QByteArray::fromHex("024c4d000014");
        QTest::newRow("plain") << "Lobby" << mac << "Lobby_024c4d000014.xml";
        QTest::newRow("blanks") << "Lobby West  2" << mac << "Lobby-West-2_024c4d000014.xml";
        QTest::newRow("path and reserved characters") << "../a\\b:c*?\"<>|d" << mac << "a_b_c_d_024c4d000014.xml";
        QTest::newRow("beyond ASCII") << QString::fromUtf8("Caf\u00e9 \u00fcber") << mac
                                      << "Caf_-_ber_024c4d000014.xml";
        QTest::newRow("hidden and option-like") << "-.-x." << mac << "x_024c4d000014.xml";
        QTest::newRow("nothing left") << "..." << mac << "keypad_024c4d000014.xml";
        QTest::newRow("no hardware address") << "Desk" << QByteArray() << "Desk_10-77-0-31.xml";
    }

    void fileNames() {
        QFETCH(QString, name);
        QFETCH(QByteArray, mac);
        QFETCH(QString, expected);
        QCOMPARE(BackupPlan::fileName(name, mac, QStringLiteral("10.77.0.31")), expected);
    }

    // Same names, keypads that answered twice, names equal but for case: every keypad once, no file twice.
    void planForABuilding() {
        const QList<DiscoveredDevice> found{
            device("Desk", "024c4d000001", "10.77.0.31"), device("Desk", "024c4d000002", "10.77.0.32"),
            device("Desk", "024c4d000001", "10.77.0.31"), device("DESK", "024c4d000001", "10.77.0.33"),
            device("desk", "024c4d000001", "10.77.0.34")};
        const QVector<BackupPlan::Item> plan = BackupPlan::forDevices(found);
        QStringList files;
        QStringList addresses;
        for (const BackupPlan::Item& item : plan) {
            files << item.fileName;
            addresses << item.device.address();
        }
        QCOMPARE(addresses, QStringList({"10.77.0.31", "10.77.0.32", "10.77.0.33", "10.77.0.34"}));
        QCOMPARE(files, QStringList({"Desk_024c4d000001.xml", "Desk_024c4d000002.xml", "DESK_024c4d000001-2.xml",
                                     "desk_024c4d000001-3.xml"}));
    }

    void assignments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("problem"); // empty when all are taken
        QTest::addColumn<QString>("field");   // then: the configuration's field that changed, as text
        QTest::addColumn<QString>("value");
        const auto row = [](const char* name, const QString& arguments, const QString& problem,
                            const QString& field = QString(), const QString& value = QString()) {
            QTest::newRow(name) << arguments.split(QLatin1Char(' ')) << problem << field << value;
        };
        row("universe", "universe=255", "", "universe", "255");
        row("short forms and case", "LIGHTS=170 Vexil=2", "", "lightsPerPort", "170");
        row("ports", "ports=16", "", "ports", "16");
        row("profile by name", "profile=rgbw~led", "", "fixtureProfile", "2");
        row("profile by number", "fixtureProfile=9", "", "fixtureProfile", "9");
        row("brightness in percent", "brightness=50%", "", "brightness", "128");
        row("brightness off", "brightness=off", "", "brightness", "-1");
        row("button", "scene3=disabled", "", "scene3Button", "false");
        row("name with blanks and =", "name=Lobby~=~West", "", "name", "Lobby = West");
        row("universe too large", "universe=256", "universe=256: the universe is a whole number from 0 to 255");
        row("no number", "ports=four", "ports=four: the number of ports is a whole number from 1 to 16");
        row("Vexil mode", "vexil=3", "vexil=3: the Vexil mode is a whole number from 1 to 2");
        row("lights", "lights=0", "lights=0: the number of lights per port is a whole number from 1 to 170");
        row("empty name", "name=", "name=: The device's name cannot be empty.");
        row("name too long", "name=" + QString(32, QLatin1Char('x')), "cannot be longer than 31 characters");
        row("comma in the name", "name=a,b", "name=a,b: The device's name cannot contain");
        row("brightness over", "brightness=101%", "brightness=101%: the brightness is a level from 0 to 255");
        row("unknown profile", "profile=laser",
            "profile=laser: no such fixture profile; the profiles are 0 RGB (sRGB)");
        row("button word", "up=maybe", "up=maybe: a button is on (enabled) or off (disabled)");
        row("address", "ip=10.77.0.9", "ip=10.77.0.9: the address is not changed here: change it in the editor's");
        row("version", "version=9.9.9", "version=9.9.9: the firmware version is the keypad's own");
        row("unknown field", "colour=red", "colour=red: no such field; the fields are name, universe");
        row("twice", "universe=1 universe=2", "universe=2: universe is already set by universe=1");
        row("not an assignment", "universe", "universe: not FIELD=VALUE");
    }

    void assignments() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, problem);
        QFETCH(QString, field);
        QFETCH(QString, value);
        for (QString& argument : arguments)
            argument.replace(QLatin1Char('~'), QLatin1Char(' '));
        resetConfiguration();
        SystemConfiguration* c = SystemConfiguration::instance();
        const ConfigurationAssignments assignments(arguments);
        if (!problem.isEmpty()) {
            QCOMPARE(assignments.problems().size(), 1);
            QVERIFY2(
                assignments.problems().first().startsWith(problem) ||
                    (problem.startsWith(QLatin1Char(' ')) == false && assignments.problems().first().contains(problem)),
                qPrintable(assignments.problems().first()));
            return;
        }
        QVERIFY2(assignments.isValid(), qPrintable(assignments.problems().join('\n')));
        QVERIFY(!assignments.notTakenBy(*c).isEmpty());
        assignments.applyTo(c);
        QCOMPARE(assignments.notTakenBy(*c), QStringList());
        const QVariantMap fields{{"universe", c->universe()},
                                 {"lightsPerPort", c->lightsPerPort()},
                                 {"ports", c->numberOfPorts()},
                                 {"fixtureProfile", c->fixtureClass()},
                                 {"brightness", c->brightness()},
                                 {"scene3Button", c->scene3CheckBoxState()},
                                 {"name", c->name()}};
        QCOMPARE(fields.value(field).toString(), value);
        QCOMPARE(assignments.setsBrightness(), field == QLatin1String("brightness"));
        QCOMPARE(assignments.setsButtons(), field == QLatin1String("scene3Button"));
    }

    // The form's checks on the whole configuration, whatever the assignments touched.
    void formChecks() {
        resetConfiguration();
        SystemConfiguration* c = SystemConfiguration::instance();
        ConfigurationAssignments(QStringLiteral("scene1=off scene2=off scene3=off scene4=off scene5=off scene6=off "
                                                "scene7=off up=off down=off onoff=off")
                                     .split(' '))
            .applyTo(c);
        QCOMPARE(ConfigurationAssignments::check(*c), QStringList());
        ConfigurationAssignments({"scene8=off"}).applyTo(c);
        c->setName(QStringLiteral("A&B"), false);
        QCOMPARE(ConfigurationAssignments::check(*c),
                 QStringList({"name \"A&B\": The device's name cannot contain \"&\", \",\" or '\"'.",
                              "At least one scene button must be enabled."}));
    }

    void report_data() {
        QTest::addColumn<QList<int>>("outcomes");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("summary");
        using O = FleetReport::Outcome;
        QTest::newRow("all done") << QList<int>{int(O::Done), int(O::Done)} << 0 << "2 keypads: 2 saved";
        QTest::newRow("one failed") << QList<int>{int(O::Done), int(O::Failed), int(O::Done)} << 3
                                    << "3 keypads: 2 saved, 1 failed (Keypad 2 at 10.77.0.2)";
        QTest::newRow("a dry run that differs")
            << QList<int>{int(O::Same), int(O::Differs)} << 5 << "2 keypads: 1 same, 1 differs";
        QTest::newRow("a failure outweighs a difference") << QList<int>{int(O::Differs), int(O::Failed)} << 3
                                                          << "2 keypads: 1 differs, 1 failed (Keypad 2 at 10.77.0.2)";
        QTest::newRow("one keypad") << QList<int>{int(O::Same)} << 0 << "1 keypad: 1 same";
    }

    void report() {
        QFETCH(QList<int>, outcomes);
        QFETCH(int, exitCode);
        QFETCH(QString, summary);
        FleetReport report(QStringLiteral("saved"));
        for (int i = 0; i < outcomes.size(); ++i) {
            report.add({QStringLiteral("10.77.0.%1").arg(i + 1), QStringLiteral("Keypad %1").arg(i + 1),
                        FleetReport::Outcome(outcomes.at(i)), QStringLiteral("detail")});
        }
        QCOMPARE(report.exitCode(), exitCode);
        QCOMPARE(report.summary(), summary);
    }

    // One line, four tab-separated fields, whatever a name or a reason holds.
    void reportLines() {
        FleetReport report(QStringLiteral("restored"));
        const FleetReport::Entry entry{"10.77.0.5", "Tab\there", FleetReport::Outcome::Failed, "two\nlines"};
        QCOMPARE(report.line(entry), QStringLiteral("failed\t10.77.0.5\tTab here\ttwo lines"));
        QCOMPARE(report.line({"10.77.0.6", "Desk", FleetReport::Outcome::Done, "37 requests"}),
                 QStringLiteral("restored\t10.77.0.6\tDesk\t37 requests"));
    }
};

LUMETTO_TEST_MAIN_CORE(TestKeypadCliLogic, "tst_keypadclilogic")

#include "tst_keypadclilogic.moc"

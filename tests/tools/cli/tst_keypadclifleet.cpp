#include "CliRunner.h"
#include "KeypadSimulator.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <memory>

namespace {

using CliRunner::Run;

using TestSupport::readFile;

// A keypad's log as "METHOD PATH BODY" lines.
QStringList requestLines(const KeypadSimulator& sim) {
    QStringList lines;
    for (const KeypadSimulator::Request& request : sim.requestLog())
        lines << request.method + QLatin1Char(' ') + request.path + QLatin1Char(' ') +
                     QString::fromLatin1(request.body);
    return lines;
}

bool onlyReads(const KeypadSimulator& sim) {
    for (const KeypadSimulator::Request& request : sim.requestLog()) {
        if (request.method != QLatin1String("GET"))
            return false;
    }
    return true;
}

} // namespace

// A building of three keypads, two of them of the same name and one on firmware without button
// switches, run from the command line: back up all, compare, roll out, set, press.
class TestKeypadCliFleet : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        const QList<KeypadSimulator::Options> keypads{
            {"10.77.0.30", "Lobby"}, {"10.77.0.31", "Desk"}, {"10.77.0.32", "Desk"}};
        for (KeypadSimulator::Options options : keypads) {
            if (m_sims.size() == 2)
                options.version = QStringLiteral("1.1.14");
            // The tool's own requests only: a configuration notice would have it read again.
            options.extraArguments = QStringList{"--config-notices", "none"};
            m_sims.push_back(std::make_unique<KeypadSimulator>());
            QVERIFY(m_sims.back()->start(options));
        }
    }

    void init() {
        for (const auto& sim : m_sims)
            sim->clearRequestLog();
    }

    // Everything discovery tells, for a script to read.
    void discoverAsJson() {
        const Run run = cli({"discover", "--json", "--timeout", "2000"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QJsonArray keypads = QJsonDocument::fromJson(run.out.toUtf8()).array();
        QCOMPARE(keypads.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const QJsonObject keypad = keypads.at(i).toObject();
            QCOMPARE(keypad.value("address").toString(), sim(i).address());
            QCOMPARE(keypad.value("name").toString(), QString(i == 0 ? "Lobby" : "Desk"));
            QCOMPARE(keypad.value("mac").toString(), sim(i).mac().toLower());
            QCOMPARE(keypad.value("firmware").toString(), QString(i == 2 ? "1.1.14" : "1.3.2"));
        }
    }

    // One file per keypad, the same-named ones apart, each what a single backup writes; a keypad
    // that fails leaves the others saved. Nothing but reads reaches a keypad, and nothing of one
    // keypad steers the next: here the first plays scene 5, which the second has disabled.
    void backupAllSavesEveryKeypad() {
        QVERIFY(sim(0).press(5));
        QVERIFY(sim(1).setConfig("disable_switch=5"));
        sim(2).setRefusing(true);
        Run run = cli({"backup", "--all", path("partial"), "--timeout", "2000"});
        sim(2).setRefusing(false);
        QCOMPARE(run.exitCode, 3);
        QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines.at(2).startsWith("failed\t10.77.0.32\tDesk\tkeypad at 10.77.0.32 failed while reading"),
                 qPrintable(lines.at(2)));
        QVERIFY2(run.err.contains("lumetto-keypad-cli: keypad at 10.77.0.32 failed"), qPrintable(run.err));
        QCOMPARE(QDir(path("partial")).entryList(QDir::Files).size(), 2);

        run = cli({"backup", "--all", path("all"), "--timeout", "2000"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QStringList files;
        for (const auto& keypad : m_sims)
            files << QStringLiteral("%1_%2.xml")
                         .arg(keypad->state().value("name").toString(), QString(keypad->mac()).remove(':').toLower());
        QCOMPARE(QDir(path("all")).entryList(QDir::Files, QDir::Name), QStringList({files[1], files[2], files[0]}));
        lines = run.out.split('\n', Qt::SkipEmptyParts);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(lines.at(i), QStringLiteral("saved\t%1\t%2\t%3")
                                      .arg(sim(i).address(), i == 0 ? "Lobby" : "Desk", path("all/" + files.at(i))));
            QCOMPARE(cli({"backup", sim(i).address(), path("single.xml")}).exitCode, 0);
            QCOMPARE(readFile(path("all/" + files.at(i))), readFile(path("single.xml")));
            const QStringList lines = requestLines(sim(i));
            QCOMPARE(QSet<QString>(lines.begin(), lines.end()),
                     QSet<QString>({"GET /api/v1/config ", "GET /api/v1/shows "}));
        }
        QCOMPARE(sim(1).activeScene(), 1);
        QVERIFY(sim(1).setConfig("enable_switch=5"));
    }

    // Nothing for a file against itself; exactly the one change between two backups, also
    // against the keypad itself.
    void diffNamesExactlyTheChange() {
        QVERIFY(sim(0).setConfig("universe=7"));
        QCOMPARE(cli({"backup", sim(0).address(), path("before.xml")}).exitCode, 0);
        Run run = cli({"diff", path("before.xml"), path("before.xml")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QString());

        QVERIFY(sim(0).setConfig("universe=9"));
        QCOMPARE(cli({"backup", sim(0).address(), path("after.xml")}).exitCode, 0);
        for (const QString& after : {path("after.xml"), sim(0).address()}) {
            run = cli({"diff", path("before.xml"), after});
            QCOMPARE(run.exitCode, 5);
            QCOMPARE(run.out, QString::fromUtf8("Configuration: universe 7 \u2192 9\n"));
        }
        run = cli({"diff", sim(0).address(), path("before.xml"), "--json"});
        QCOMPARE(run.exitCode, 5);
        const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8()).object();
        QCOMPARE(json.value("identical").toBool(true), false);
        const QJsonArray differences = json.value("differences").toArray();
        QCOMPARE(differences.size(), 1);
        QCOMPARE(differences.at(0).toObject().value("key").toString(), QString("universe"));
        QCOMPARE(differences.at(0).toObject().value("before").toInt(), 9);
        QVERIFY(onlyReads(sim(0)));
    }

    // A tested configuration rolled out to all three: each gets its scenes and keeps its name,
    // by exactly the requests a restore of that one keypad alone sends.
    void restoreKeepsEachKeypadsName() {
        QVERIFY(sim(0).setScene(2, "effect=2&param1=9&param2=1&param_xy=(0,0,0)&num_colors=0"));
        QVERIFY(sim(0).setScene(5, "effect=3&param1=4&param2=0&param3=20&param_xy=(0,0,0)&num_colors=0"));
        QVERIFY(sim(0).setConfig("universe=12&num_lights=150"));
        QCOMPARE(cli({"backup", sim(0).address(), path("tested.xml")}).exitCode, 0);

        sim(0).clearRequestLog();
        Run run = cli({"restore", "--keep-name", path("tested.xml"), sim(0).address()});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QStringList alone = requestLines(sim(0));
        QVERIFY(alone.size() > 15 && alone.filter("name=Lobby&").size() == 1);

        init();
        run = cli({"restore", path("tested.xml"), sim(0).address(), sim(1).address(), sim(2).address(), "--keep-name"},
                  120000);
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const QString name = i == 0 ? "Lobby" : "Desk";
            QCOMPARE(lines.at(i),
                     QStringLiteral("restored\t%1\t%2\t%3 requests").arg(sim(i).address(), name).arg(alone.size() - 1));
            QStringList expected = alone;
            expected.replaceInStrings("name=Lobby&", "name=" + name + "&");
            QCOMPARE(requestLines(sim(i)), expected);
            const QJsonObject state = sim(i).state();
            QCOMPARE(state.value("name").toString(), name);
            QCOMPARE(state.value("universe").toInt(), 12);
            for (int scene = 1; scene <= 8; ++scene)
                QCOMPARE(sim(i).savedQuery(scene), sim(0).savedQuery(scene));
        }
        QVERIFY(sim(1).savedQuery(2).startsWith("effect=2&param1=9"));
    }

    // A dry run reads, says what would change, and sends nothing that changes a keypad; after the
    // restore it said it would make, it finds nothing left.
    void dryRunOnlyReads() {
        QVERIFY(sim(1).setScene(3, "effect=2&param1=30&param2=0&param_xy=(0,0,0)&num_colors=0"));
        QVERIFY(sim(1).setConfig("universe=3"));
        const QStringList arguments{"restore",          "--dry-run",      "--keep-name",
                                    path("tested.xml"), sim(1).address(), sim(2).address()};
        Run run = cli(arguments);
        QCOMPARE(run.exitCode, 5);
        QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
        QVERIFY2(lines.first().startsWith("differs\t10.77.0.31\tDesk\t"), qPrintable(run.out));
        QVERIFY2(lines.contains(QString::fromUtf8("  Configuration: universe 3 \u2192 12")), qPrintable(run.out));
        QVERIFY2(!lines.filter(QRegularExpression("^  Scene 3: ")).isEmpty(), qPrintable(run.out));
        QVERIFY2(lines.last().startsWith("same\t10.77.0.32\tDesk\t"), qPrintable(run.out));
        QVERIFY(onlyReads(sim(1)) && onlyReads(sim(2)));
        QCOMPARE(sim(1).state().value("universe").toInt(), 3);

        QCOMPARE(cli({"restore", "--keep-name", path("tested.xml"), sim(1).address()}).exitCode, 0);
        run = cli(arguments);
        QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
        QVERIFY2(run.out.startsWith("same\t10.77.0.31\tDesk\t"), qPrintable(run.out));
    }

    // The form's checks and messages, then its Save.
    void setChecksAndSavesLikeTheForm() {
        Run run = cli({"set", sim(1).address(), "universe=300"});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, QString("lumetto-keypad-cli: set 10.77.0.31: universe=300: the universe is a whole number "
                                  "from 0 to 255\n"));
        QCOMPARE(sim(1).requestCount(), 0);

        QStringList scenesOff{"set", sim(1).address()};
        for (int scene = 1; scene <= 8; ++scene)
            scenesOff << QStringLiteral("scene%1=off").arg(scene);
        run = cli(scenesOff);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(
            run.err.contains("keypad \"Desk\" at 10.77.0.31: At least one scene button must be enabled. Nothing sent."),
            qPrintable(run.err));
        run = cli({"set", sim(2).address(), "up=off"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("has firmware 1.1.14, which keeps every button enabled"), qPrintable(run.err));
        QVERIFY(onlyReads(sim(1)) && onlyReads(sim(2)));

        sim(1).clearRequestLog();
        const QStringList change{"set",        sim(1).address(), "universe=5", "lights=100", "profile=rgbw led",
                                 "scene2=off", "brightness=50%"};
        run = cli(change);
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(run.out, QString::fromUtf8("set\t10.77.0.31\tDesk\tuniverse 12 \u2192 5; lights per port 150 \u2192 "
                                            "100; fixture profile RGB (sRGB) \u2192 RGBW LED; brightness 100 % "
                                            "\u2192 50 %; scene 2 button enabled \u2192 disabled\n"));
        QCOMPARE(requestLines(sim(1)),
                 QStringList({"GET /api/v1/config ",
                              "POST /api/v1/config name=Desk&universe=5&vexil=1&num_ports=1&num_lights=100&"
                              "abs_bright=128&global_profile=2&apply=1",
                              "POST /api/v1/config &enable_switch=1&disable_switch=2&enable_switch=3&enable_switch=4&"
                              "enable_switch=5&enable_switch=6&enable_switch=7&enable_switch=8&enable_switch=11&"
                              "enable_switch=10&enable_switch=9&apply=1"}));
        const QJsonObject state = sim(1).state();
        QCOMPARE(state.value("switches").toArray().at(1).toBool(true), false);
        QCOMPARE(state.value("level").toInt(), 128);

        // Values the keypad has already: nothing to send.
        sim(1).clearRequestLog();
        run = cli(change);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QString("same\t10.77.0.31\tDesk\thas these values already\n"));
        QVERIFY(onlyReads(sim(1)));
    }

    void pressDoesWhatTheKeyDoes() {
        Run run = cli({"press", sim(0).address(), "scene", "6"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(run.out, QString("pressed\t10.77.0.30\tLobby\tscene 6 active\n"));
        QCOMPARE(sim(0).activeScene(), 6);

        // Scene 2 is disabled on the second keypad since the set above.
        run = cli({"press", sim(1).address(), "scene", "2"});
        QCOMPARE(run.exitCode, 3);
        QVERIFY2(run.err.contains("keypad at 10.77.0.31 has its scene 2 button disabled"), qPrintable(run.err));
        QCOMPARE(sim(1).requestCount("GET", "/api/v1/shows/2"), 0);

        // At full brightness in a colour wash, up changes nothing and is not sent.
        QVERIFY(sim(0).setScene(6, "effect=2&param1=9&param2=1&param_xy=(0,0,0)&num_colors=0"));
        sim(0).clearRequestLog();
        run = cli({"press", sim(0).address(), "up"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QString("same\t10.77.0.30\tLobby\tbrightness 100 %: up changes nothing, nothing sent\n"));
        QVERIFY(onlyReads(sim(0)));
        run = cli({"press", sim(0).address(), "down"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(sim(0).requestCount("POST", "/api/v1/config"), 1);
        QVERIFY2(run.out.startsWith("pressed\t10.77.0.30\tLobby\tbrightness 9"), qPrintable(run.out));
        run = cli({"press", sim(0).address(), "onoff"});
        QCOMPARE(run.out, QString("pressed\t10.77.0.30\tLobby\tbrightness off\n"));
    }

private:
    KeypadSimulator& sim(int i) { return *m_sims.at(size_t(i)); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    Run cli(const QStringList& arguments, int limitMs = 60000) {
        return CliRunner::run(arguments, m_dir.path(), limitMs);
    }

    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<KeypadSimulator>> m_sims;
};

LUMETTO_NETWORK_TEST_MAIN(TestKeypadCliFleet, "tst_keypadclifleet", QCoreApplication)

#include "tst_keypadclifleet.moc"

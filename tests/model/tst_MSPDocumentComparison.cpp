#include "TestEnvironment.h"

#include "MSPDescription.h"
#include "MSPDocumentComparison.h"
#include "MSPEffectFactory.h"
#include "ModelFixture.h"

#include <QFile>
#include <QJsonArray>
#include <QSignalSpy>

using namespace ModelFixture;

namespace {

const QString zeroColor =
    QStringLiteral("<color><red>0</red>\n<grn>0</grn>\n<blu>0</blu><by>0</by><x>0</x><y>0</y>\n</color>");

// A wash's six colour slots holding the given colours ("r,g,b" each), then empty ones.
QString washColors(const QStringList& colors) {
    QString text;
    for (const QString& rgb : colors) {
        const QStringList c = rgb.split(QLatin1Char(','));
        text += color(c.at(0).toInt(), c.at(1).toInt(), c.at(2).toInt());
    }
    for (int i = colors.size(); i < 6; ++i)
        text += zeroColor;
    return text;
}

QString wash(int number, int effect, int speed, int direction, int width, const QStringList& colors) {
    return show(number, effect, params(speed, direction, width), washColors(colors), colors.size());
}

const QStringList propertyKeys = {"name",           "universe",   "vexil",        "num_ports", "num_lights",
                                  "global_profile", "brightness", "switch_state", "version"};

// A document with one scene of every kind; a change replaces parts of it by key ("currentShow",
// "show1" ... "show8", a property key), an empty text leaving the part out.
QByteArray document(const QVariantMap& change = QVariantMap()) {
    QVariantMap parts{
        {"currentShow", "5"},
        {"show1", show(1, 0, params(255, 0, 0))},
        {"show2", show(2, 1, params(0, 255, 255))},
        {"show3", show(3, 2, params(5, 1, 0))},
        {"show4", wash(4, 3, 2, 0, 4, {"255,0,0", "0,255,0"})},
        {"show5", wash(5, 4, 2, 0, 1, {"255,0,0", "0,255,0"})},
        {"show6", show(6, 5, params(12, 1, 0))},
        {"show7", show(7, 6, params(40, 255, 0))},
        {"show8", show(8, 7, params(10, 128, 0))},
        {"name", "Foyer"},
        {"universe", "0"},
        {"vexil", "1"},
        {"num_ports", "1"},
        {"num_lights", "1"},
        {"global_profile", "0"},
        {"brightness", "255"},
        {"switch_state", "1,1,1,1,1,1,1,1,1,1,1"},
        {"version", "1.1.19"},
    };
    for (auto it = change.cbegin(); it != change.cend(); ++it)
        parts.insert(it.key(), it.value());

    QString body = "<all_shows>\n<currentShow>" + parts.value("currentShow").toString() + "</currentShow>\n";
    for (int n = 1; n <= 8; ++n)
        body += parts.value("show" + QString::number(n)).toString() + '\n';
    body += "</all_shows><config>\n";
    for (const QString& key : propertyKeys) {
        if (!parts.value(key).toString().isEmpty())
            body += propertyElement(key, parts.value(key).toString());
    }
    return ModelFixture::document(body + "</config>");
}

QByteArray sourceFile(const QString& path) {
    return TestSupport::readFile(TestSupport::sourceDir() + '/' + path);
}

} // namespace

class TestMSPDocumentComparison : public QObject {
    Q_OBJECT

private slots:
    void init() { reset(); }

    // Every kind as a person reads it: its speed table, its direction, its units, its scale.
    void describesEveryKind() {
        MSPDocument::ReadResult read;
        const QStringList lines = MSPDescription::document(document(), &read).lines();
        QVERIFY(read.ok);
        QCOMPARE(lines.mid(0, 9),
                 QStringList({
                     "current scene: 5",
                     "scene 1: Fixed Color, #ff0000",
                     "scene 2: Variable Color, #ff0000",
                     "scene 3: Color Wash, speed 5 (6 m), right to left",
                     "scene 4: Rainbow Wash, speed 2 (9 m), left to right, width 4 lights, colours #ff0000, #00ff00",
                     "scene 5: Custom Wash, speed 2 (5 m), left to right, width 1 light, colours #ff0000, #00ff00",
                     "scene 6: Random Color, speed 12 (30 s), fade on",
                     "scene 7: RGB White, temperature 40 (0 cool, 255 warm), intensity 100 %",
                     "scene 8: Duo White, temperature 10 (0 warm, 255 cool), intensity 50 %",
                 }));
        QCOMPARE(lines.at(14), QString("fixture profile: RGB (sRGB)"));
    }

    void listsEachDifference_data() {
        QTest::addColumn<QVariantMap>("change");
        QTest::addColumn<QStringList>("lines");
        const auto row = [](const char* name, const QVariantMap& change, const QStringList& lines) {
            QTest::newRow(name) << change << lines;
        };
        row("current scene", {{"currentShow", "2"}}, {"Current scene: 5 → 2"});
        // Kinds
        row("kind", {{"show3", show(3, 5, params(12, 1, 0))}},
            {"Scene 3: Color Wash, speed 5 (6 m), right to left → Random Color, speed 12 (30 s), fade on"});
        row("white kinds", {{"show7", show(7, 7, params(40, 255, 0))}},
            {"Scene 7: RGB White, temperature 40 (0 cool, 255 warm), intensity 100 % → "
             "Duo White, temperature 40 (0 warm, 255 cool), intensity 100 %"});
        row("effect gone", {{"show2", ""}}, {"Scene 2: Variable Color, #ff0000 → no effect"});
        // Colours of the colour kinds
        row("fixed colour", {{"show1", show(1, 0, params(0, 0, 255))}}, {"Scene 1: colour #ff0000 → #0000ff"});
        row("chromaticity",
            {{"show1", show(1, 0, params(0, 0, 0), QString(), 0, "<by>1000</by><x>3127</x><y>3290</y>")}},
            {"Scene 1: colour #ff0000 → x 0.3127 y 0.3290 Y 1.000"});
        row("variable colour", {{"show2", show(2, 1, params(0, 0, 128))}}, {"Scene 2: colour #ff0000 → #808080"});
        // Washes: each reads its speed on its own table
        row("wash speed", {{"show3", show(3, 2, params(12, 1, 0))}}, {"Scene 3: speed 5 (6 m) → 12 (1.25 m)"});
        row("wash direction", {{"show3", show(3, 2, params(5, 0, 0))}},
            {"Scene 3: direction right to left → left to right"});
        row("rainbow speed", {{"show4", wash(4, 3, 9, 0, 4, {"255,0,0", "0,255,0"})}},
            {"Scene 4: speed 2 (9 m) → 9 (2 m)"});
        row("rainbow width", {{"show4", wash(4, 3, 2, 0, 10, {"255,0,0", "0,255,0"})}},
            {"Scene 4: width 4 lights → 10 lights"});
        row("custom speed", {{"show5", wash(5, 4, 32, 0, 1, {"255,0,0", "0,255,0"})}},
            {"Scene 5: speed 2 (5 m) → 32 (1 s)"});
        row("custom width", {{"show5", wash(5, 4, 2, 0, 3, {"255,0,0", "0,255,0"})}},
            {"Scene 5: width 1 light → 3 lights"});
        row("colour changed", {{"show5", wash(5, 4, 2, 0, 1, {"255,0,0", "0,0,255"})}},
            {"Scene 5: colour 2 #00ff00 → #0000ff"});
        row("colour added", {{"show5", wash(5, 4, 2, 0, 1, {"255,0,0", "0,255,0", "0,0,255"})}},
            {"Scene 5: colour 3 #0000ff added"});
        row("colour removed", {{"show5", wash(5, 4, 2, 0, 1, {"255,0,0"})}}, {"Scene 5: colour 2 #00ff00 removed"});
        row("colours swapped", {{"show5", wash(5, 4, 2, 0, 1, {"0,255,0", "255,0,0"})}},
            {"Scene 5: colour 1 #ff0000 → #00ff00", "Scene 5: colour 2 #00ff00 → #ff0000"});
        // Random colour: a speed past the table reads as its number
        row("random speed", {{"show6", show(6, 5, params(99, 1, 0))}}, {"Scene 6: speed 12 (30 s) → 99"});
        row("random fade", {{"show6", show(6, 5, params(12, 0, 0))}}, {"Scene 6: fade on → off"});
        // Whites: the scale is said once, and runs the other way on Duo White
        row("rgb temperature", {{"show7", show(7, 6, params(200, 255, 0))}},
            {"Scene 7: temperature 40 → 200 (0 cool, 255 warm)"});
        row("rgb intensity", {{"show7", show(7, 6, params(40, 128, 0))}}, {"Scene 7: intensity 100 % → 50 %"});
        row("duo temperature", {{"show8", show(8, 7, params(250, 128, 0))}},
            {"Scene 8: temperature 10 → 250 (0 warm, 255 cool)"});
        // Configuration fields
        row("name", {{"name", "Foyer West"}}, {"Configuration: name \"Foyer\" → \"Foyer West\""});
        row("universe", {{"universe", "12"}}, {"Configuration: universe 0 → 12"});
        row("vexil mode", {{"vexil", "2"}}, {"Configuration: Vexil mode 1 → 2"});
        row("ports", {{"num_ports", "4"}}, {"Configuration: ports 1 → 4"});
        row("lights per port", {{"num_lights", "170"}}, {"Configuration: lights per port 1 → 170"});
        row("fixture profile", {{"global_profile", "6"}}, {"Configuration: fixture profile RGB (sRGB) → Dual White"});
        row("brightness off", {{"brightness", "off"}}, {"Configuration: brightness 100 % → off"});
        // Two levels that read as the same percentage still show which they are.
        row("brightness level", {{"brightness", "254"}}, {"Configuration: brightness 100 % (255) → 100 % (254)"});
        row("scene button", {{"switch_state", "1,1,0,1,1,1,1,1,1,1,1"}},
            {"Configuration: scene 3 button enabled → disabled"});
        row("other buttons", {{"switch_state", "1,1,1,1,1,1,1,1,0,0,0"}},
            {"Configuration: on/off button enabled → disabled", "Configuration: up button enabled → disabled",
             "Configuration: down button enabled → disabled"});
        row("version", {{"version", "1.1.20"}}, {"Configuration: version 1.1.19 → 1.1.20"});
    }

    void listsEachDifference() {
        QFETCH(QVariantMap, change);
        QFETCH(QStringList, lines);
        const MSPDocumentComparison comparison(document(), document(change));
        QVERIFY(comparison.ok());
        QCOMPARE(comparison.lines(), lines);
    }

    void aDocumentEqualsItself_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("every kind") << document();
        QTest::newRow("factory defaults") << sourceFile("app/resources/defaultConfiguration.xml");
        QTest::newRow("nothing in it") << QByteArray("<v1></v1>");
    }

    void aDocumentEqualsItself() {
        QFETCH(QByteArray, contents);
        QVERIFY(!contents.isEmpty());
        const MSPDocumentComparison comparison(contents, contents);
        QVERIFY(comparison.isIdentical());
        QCOMPARE(comparison.text(), QString());
        QCOMPARE(comparison.json().object().value("differences").toArray().size(), 0);
    }

    // The editor compares while it holds the keypad's content: that content must not move.
    void leavesTheSharedModelsAlone() {
        MSPSceneModel* model = MSPSceneModel::instance();
        for (int row = 0; row < MSPSceneModel::sceneCount; ++row) {
            scene(row)->setEffect(MSPEffectFactory::instance()->create(row, nullptr), false);
            scene(row)->setURL(QStringLiteral("/api/v1/shows/%1").arg(row + 1));
        }
        model->setActiveSceneIndex(6, false);
        SystemConfiguration::instance()->setName("Held", false);
        const QByteArray held = MSPDocument::fileContents();
        QSignalSpy effects(model, &MSPSceneModel::effectChanged);
        QSignalSpy configuration(SystemConfiguration::instance(), &SystemConfiguration::configurationChanged);

        const MSPDocumentComparison comparison(held, document());
        QVERIFY(comparison.lines().contains("Configuration: name \"Held\" → \"Foyer\""));
        QCOMPARE(MSPDocument::fileContents(), held);
        QCOMPARE(effects.count(), 0);
        QCOMPARE(configuration.count(), 0);
    }

    void aBrokenDocumentIsNotCompared() {
        const QByteArray broken = ModelFixture::document(propertyElement("switch_state", "1,1,2"));
        const MSPDocumentComparison comparison(document(), broken);
        QVERIFY(!comparison.ok());
        QVERIFY(comparison.beforeRead().ok);
        QVERIFY(!comparison.afterRead().error.isEmpty());
        QVERIFY(!comparison.isIdentical());
        QVERIFY(comparison.differences().isEmpty());
    }

    // Several differences: grouped as a person scans them, and the same as data.
    void rendersTextAndJson() {
        const MSPDocumentComparison comparison(
            document(), document({{"name", "Foyer West"},
                                  {"show5", wash(5, 4, 2, 0, 1, {"255,0,0", "0,255,0", "0,0,255"})},
                                  {"currentShow", "2"},
                                  {"show3", show(3, 2, params(12, 1, 0))}}));
        QCOMPARE(comparison.text(), QString("Current scene: 5 → 2\n"
                                            "Scene 3: speed 5 (6 m) → 12 (1.25 m)\n"
                                            "Scene 5: colour 3 #0000ff added\n"
                                            "Configuration: name \"Foyer\" → \"Foyer West\"\n"));

        const QJsonObject json = comparison.json().object();
        QCOMPARE(json.value("identical").toBool(true), false);
        const QJsonArray differences = json.value("differences").toArray();
        QCOMPARE(differences.size(), 4);
        QCOMPARE(differences.at(0).toObject().value("section").toString(), QString("currentScene"));
        QCOMPARE(differences.at(0).toObject().value("after").toInt(), 2);
        QCOMPARE(differences.at(1).toObject().value("before").toInt(), 5);
        QCOMPARE(differences.at(1).toObject().value("afterText").toString(), QString("12 (1.25 m)"));
        QCOMPARE(differences.at(2).toObject(), QJsonObject({{"section", "scene"},
                                                            {"scene", 5},
                                                            {"key", "colors"},
                                                            {"index", 3},
                                                            {"label", "colour 3"},
                                                            {"change", "added"},
                                                            {"before", QJsonValue::Null},
                                                            {"after", "#0000ff"},
                                                            {"beforeText", ""},
                                                            {"afterText", "#0000ff"},
                                                            {"text", "Scene 5: colour 3 #0000ff added"}}));
        const QJsonObject name = differences.at(3).toObject();
        QCOMPARE(name.value("section").toString(), QString("configuration"));
        QCOMPARE(name.value("key").toString(), QString("name"));
        QCOMPARE(name.value("after").toString(), QString("Foyer West"));
        QVERIFY(!name.contains("scene"));
    }
};

LUMETTO_TEST_MAIN_CORE(TestMSPDocumentComparison, "tst_MSPDocumentComparison")
#include "tst_MSPDocumentComparison.moc"

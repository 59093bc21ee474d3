#include "TestEnvironment.h"

#include "MSPCustomWashEffect.h"
#include "MSPEffectFactory.h"
#include "MSPHandler.h"
#include "ModelFixture.h"

#include <QBuffer>
#include <QElapsedTimer>

using namespace ModelFixture;

namespace {

// A chromaticity colour that a document holds exactly (as the reader rebuilds it).
ZelColor documentYxy(int Y, int x, int y) {
    ZelColor color;
    color.setY(MSPHandler::documentChromaticity(QString::number(Y), 1000));
    color.setx(MSPHandler::documentChromaticity(QString::number(x), 10000));
    color.sety(MSPHandler::documentChromaticity(QString::number(y), 10000));
    return color;
}

ZelColor hsb(int h, int s, int v) {
    ZelColor color;
    color.setHsv8(h, s, v);
    return color;
}

// An effect of the kind for the row, its properties set ("colors": a wash's colour list).
void give(int row, int type, const QVariantMap& properties) {
    MSPEffect* effect = MSPEffectFactory::instance()->create(type, nullptr);
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        if (it.key() == QLatin1String("colors"))
            static_cast<MSPCustomWashEffect*>(effect)->setColorList(it.value().toStringList());
        else if (!effect->setProperty(qPrintable(it.key()), it.value()))
            qFatal("no property %s", qPrintable(it.key()));
    }
    scene(row)->setEffect(effect, false);
    scene(row)->setURL(QStringLiteral("/api/v1/shows/%1").arg(row + 1));
}

// Every kind, with values off their defaults, and colours of every sort the editors pick.
void fill(int profile, bool chromaticity) {
    SystemConfiguration* c = SystemConfiguration::instance();
    c->setFixtureClass(profile);
    c->setName(QStringLiteral("Hall & <Foyer> \u00e9\u20ac"));
    c->setUniverse(chromaticity ? 255 : 7);
    c->setVexilMode(2);
    c->setNumberOfPorts(chromaticity ? 16 : 3);
    c->setLightsPerPort(chromaticity ? 170 : 150);
    c->setBrightness(chromaticity ? -1 : 200);
    c->setScene2CheckBoxState(false);
    c->setScene8CheckBoxState(!chromaticity);
    c->setUpCheckBoxState(false);
    c->setOnOffCheckBoxState(chromaticity);

    const QString rgb = ZelColor::fromRgb8(10, 20, 30).aName(), white = ZelColor::fromRgb8(255, 255, 255).aName();
    give(0, 0, {{"color", chromaticity ? documentYxy(800, 3127, 3290).aName() : rgb}});
    give(1, 1, {{"color", chromaticity ? documentYxy(1000, 1500, 600).aName() : hsb(200, 150, 100).aName()}});
    give(2, 2, {{"speed", 17}, {"direction", 1}});
    give(3, 3, {{"speed", 3}, {"width", 20}, {"colors", chromaticity ? QStringList() : QStringList{"#102030"}}});
    give(4, 4,
         {{"speed", 32},
          {"direction", 1},
          {"width", 32},
          {"colors", QStringList{documentYxy(500, 6400, 3300).aName(), ZelColor::fromRgb8(0, 0, 0).aName(),
                                 hsb(10, 255, 128).aName(), documentYxy(1, 3127, 3290).aName(), white,
                                 documentYxy(32767, 1, 9999).aName()}}});
    give(5, 5, {{"speed", 99}, {"fade", true}});
    give(6, 6, {{"temperature", 200}, {"brightness", 37}});
    give(7, 7, {{"temperature", 10}, {"brightness", 0}});
    MSPSceneModel::instance()->setActiveSceneIndex(4, false);
}

} // namespace

class TestMSPDocument : public QObject {
    Q_OBJECT

private slots:
    void init() { reset(); }

    void frame() {
        fill(0, false);
        MSPSceneModel::instance()->setActiveSceneIndex(2, false);
        QString expected = QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<v1>\n<all_shows>\n"
                                          "<currentShow>3</currentShow>\n");
        for (int row = 0; row < 8; ++row)
            expected += scene(row)->XMLData() + QLatin1Char('\n');
        expected += QStringLiteral("</all_shows>") + SystemConfiguration::instance()->XMLData(false) +
                    QStringLiteral("\n</v1>");
        const QString text = MSPDocument::text();
        QCOMPARE(text, expected);
        // Only ISO-8859-1 characters, so the Latin-1 file holds the text unchanged.
        QCOMPARE(QString::fromLatin1(MSPDocument::fileContents()), text);
    }

    void roundTrip_data() {
        QTest::addColumn<int>("profile");
        QTest::addColumn<bool>("chromaticity");
        for (int profile = 0; profile < ColorUtils::ProfileCount; ++profile) {
            QTest::addRow("profile %d, picked colours", profile) << profile << false;
            QTest::addRow("profile %d, chromaticity", profile) << profile << true;
        }
    }

    void roundTrip() {
        QFETCH(int, profile);
        QFETCH(bool, chromaticity);
        fill(profile, chromaticity);
        const QByteArray saved = MSPDocument::fileContents();

        reset();
        const MSPDocument::ReadResult result = MSPDocument::read(saved, false);
        QVERIFY2(result.ok, qPrintable(result.error));
        QVERIFY(result.currentShowIndex == 4 && MSPSceneModel::instance()->activeSceneIndex() == 0);

        // Written again, the document is the same to the byte: kinds, parameters, colours and
        // configuration all came back from the defaults. Read into the effects now there, too.
        MSPSceneModel::instance()->setActiveSceneIndex(4, false);
        QCOMPARE(MSPDocument::fileContents(), saved);
        QVERIFY(MSPDocument::read(saved, false).ok);
        QCOMPARE(MSPDocument::fileContents(), saved);
    }

    void chromaticityIsTruncatedOnceOnly() {
        ZelColor picked;
        picked.setY(0.123456);
        picked.setx(0.3127159);
        picked.sety(0.329);
        give(0, 0, {{"color", picked.aName()}});
        QByteArray saved = MSPDocument::fileContents();
        for (int round = 0; round < 3; ++round) {
            QVERIFY(saved.contains("<by>123</by><x>3127</x><y>3289</y>") && MSPDocument::read(saved, false).ok);
            // The bytes follow the truncated chromaticity once; from then on nothing moves.
            const QByteArray again = MSPDocument::fileContents();
            QVERIFY(round == 0 || again == saved);
            saved = again;
        }
    }

    // A restore that keeps the keypad's name: only the name changes, to the byte.
    void withName_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray head = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<v1><config>";
        const QByteArray universe = "<property><url>/api/v1/config/universe</url><value>3</value></property>";
        const auto name = [](const QByteArray& value) {
            return "<property>\n<url>/api/v1/config/name</url>\n<value>" + value + "</value>\n</property>";
        };
        QTest::newRow("plain") << head + name("Foyer") + universe + "</config></v1>"
                               << "Desk" << head + name("Desk") + universe + "</config></v1>";
        QTest::newRow("markup and beyond ASCII")
            << head + universe + name("Foyer &amp; Bar") + "</config></v1>"
            << QString::fromUtf8("Caf\u00e9 & <Bar> \u20ac")
            << head + universe + name("Caf&#233; &amp; &lt;Bar&gt; &#8364;") + "</config></v1>";
        QTest::newRow("every name a document sets")
            << head + name("A") + universe + "<property><url>/api/v1/config/name</url><value>B</value></property>" +
                   "</config></v1>"
            << "C"
            << head + name("C") + universe + "<property><url>/api/v1/config/name</url><value>C</value></property>" +
                   "</config></v1>";
        QTest::newRow("empty value") << head + name("") + "</config></v1>"
                                     << "Desk" << head + name("Desk") + "</config></v1>";
        QTest::newRow("empty element")
            << head + "<property><url>/api/v1/config/name</url><value/></property></config></v1>"
            << "Desk" << head + "<property><url>/api/v1/config/name</url><value>Desk</value></property></config></v1>";
        QTest::newRow("UTF-8 elsewhere") << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><v1><config>" +
                                                name("K\xc3\xbc"
                                                     "che") +
                                                "</config></v1>"
                                         << QString::fromUtf8("L\u00f6bby")
                                         << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><v1><config>" +
                                                name("L&#246;bby") + "</config></v1>";
        const QByteArray nameless = head + universe + "</config></v1>";
        QTest::newRow("no name") << nameless << "Desk" << nameless;
        const QByteArray broken = head + name("Foyer") + "</v1>";
        QTest::newRow("not well-formed") << broken << "Desk" << broken;
    }

    void withName() {
        QFETCH(QByteArray, data);
        QFETCH(QString, name);
        QFETCH(QByteArray, expected);
        const QByteArray result = MSPDocument::withName(data, name);
        QCOMPARE(result, expected);
        if (result != data) {
            QVERIFY(MSPDocument::read(result, false).ok);
            QCOMPARE(SystemConfiguration::instance()->name(), name);
        }

        // A whole saved document: the name is all that moves. (Save writes Latin-1 letters as they
        // are, the renaming as references, so only an ASCII name gives the very same bytes.)
        fill(0, false);
        const QByteArray saved = MSPDocument::fileContents();
        SystemConfiguration::instance()->setName(name);
        const QByteArray renamed = MSPDocument::withName(saved, name);
        if (QString::fromLatin1(name.toLatin1()) == name && name.toLatin1() == name.toUtf8())
            QCOMPARE(renamed, MSPDocument::fileContents());
        reset();
        QVERIFY(MSPDocument::read(renamed, false).ok);
        QCOMPARE(SystemConfiguration::instance()->name(), name);
    }

    void hostileDocuments() {
        QElapsedTimer timer;
        timer.start();
        // A 50 MB text node never reaches the parser.
        QByteArray huge = document(propertyElement(QStringLiteral("name"), QString()));
        huge.insert(huge.indexOf("</value>"), QByteArray(50 * 1024 * 1024, 'x'));
        QVERIFY(MSPDocument::read(huge, false).error.contains(QLatin1String("larger")));
        QBuffer buffer(&huge), closed;
        QVERIFY(buffer.open(QIODevice::ReadOnly) && !MSPDocument::read(&buffer, false).ok);
        QVERIFY(!MSPDocument::read(&closed, false).ok &&
                !MSPDocument::read(static_cast<QIODevice*>(nullptr), false).ok);
        // Under the size limit, a text far longer than any of ours is refused by the reader.
        QVERIFY(!MSPDocument::read(document(propertyElement("name", QString(200000, QLatin1Char('y')))), false).ok);

        // The reader itself overflows its stack somewhere past 20000 levels; the handler stops it
        // long before. 100000 levels still fit under the size limit.
        QVERIFY(MSPDocument::read(QByteArray("<a>").repeated(100000) + QByteArray("</a>").repeated(100000), false)
                    .error.contains(QLatin1String("nested")));

        // Entities that expand a billionfold.
        QByteArray laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE v1 [\n<!ENTITY l0 \"lollollollol\">\n";
        for (int i = 1; i <= 9; ++i) {
            laughs += "<!ENTITY l" + QByteArray::number(i) + " \"";
            laughs += ("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "\">\n";
        }
        laughs += "]>\n<v1><config>" + propertyElement("name", "&l9;").toLatin1() + "</config></v1>";
        QVERIFY(!MSPDocument::read(laughs, false).ok);
        QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(SystemConfiguration::instance()->name().isEmpty());

        // At the limit is still a document. Small internal entities are ordinary XML; external
        // ones are never fetched.
        QByteArray edge = "<?xml version=\"1.0\"?>\n<!DOCTYPE v1 [\n<!ENTITY hall \"Main Hall\">\n"
                          "<!ENTITY secret SYSTEM \"file:///etc/passwd\">\n]>\n<v1><config>" +
                          propertyElement("name", "&hall;").toLatin1() +
                          propertyElement("version", "&secret;").toLatin1() + "</config></v1>";
        edge.insert(edge.indexOf("<v1>"), QByteArray(MSPDocument::maximumSize - edge.size(), ' '));
        QVERIFY(MSPDocument::read(edge, false).ok && SystemConfiguration::instance()->name() == "Main Hall");
        QVERIFY(!SystemConfiguration::instance()->version().contains(QLatin1String("root")));
    }
};

LUMETTO_TEST_MAIN_CORE(TestMSPDocument, "tst_MSPDocument")
#include "tst_MSPDocument.moc"

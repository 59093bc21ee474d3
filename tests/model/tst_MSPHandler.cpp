#include "TestEnvironment.h"

#include "MSPCustomWashEffect.h"
#include "MSPFixedColorEffect.h"
#include "MSPHandler.h"
#include "ModelFixture.h"

#include <QPointer>
#include <QSignalSpy>

#include <cmath>

using namespace ModelFixture;

namespace {

MSPDocument::ReadResult read(const QString& body) {
    return MSPDocument::read(document(body), false);
}

const QString zeros = color(0, 0, 0).repeated(6);

QString config() {
    return SystemConfiguration::instance()->PostData(true, true).join(QString());
}

} // namespace

class TestMSPHandler : public QObject {
    Q_OBJECT

private slots:
    void init() { reset(); }

    void documents_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("scene");
        QTest::addColumn<QString>("configuration");
        const QString defaults = config();
        auto prop = [](const char* key, const char* value) {
            return propertyElement(QLatin1String(key), QLatin1String(value));
        };
        auto cfg = [](const QString& properties) { return "<config>\n" + properties + "</config>\n"; };

        QTest::newRow("wash") << show(2, 2, params(5, 1, 0), zeros) << true << 1 << "2:5,1/" << defaults;
        QTest::newRow("keypad reply") << "<api><shows><scene>" + show(6, 5, params(99, 2, 0), zeros) +
                                             "</scene></shows></api>"
                                      << true << 5 << "5:99,1/" << defaults;
        QTest::newRow("two of six colours")
            << show(4, 4, params(3, 1, 6), color(255, 0, 0) + color(0, 0, 255) + color(0, 0, 0).repeated(4), 2) << true
            << 3 << "4:3,1,6/#ff0000 #0000ff" << defaults;
        QTest::newRow("seven colours") << show(4, 4, params(9, 1, 9), color(1, 2, 3).repeated(7), 7) << true << 3
                                       << "4:1,0,1/#ff0000 #00ff00" << defaults;
        QTest::newRow("out of range") << show(1, 4, params(999, -5, 99999),
                                              color(999, -1, 256) + color(0, 0, 0).repeated(5), 1)
                                      << true << 0 << "4:32,0,32/#ff00ff" << defaults;
        QTest::newRow("not numbers") << show(1, 5, "<param>fast</param><param>yes</param><param/>", zeros) << true << 0
                                     << "5:0,0/" << defaults;
        QTest::newRow("no such kind") << show(1, 9, params(1, 1, 1), zeros) << true << 0 << "none" << defaults;
        QTest::newRow("unknown elements")
            << "<extra a=\"1\">text<more/></extra>" + show(1, 5, params(3, 1, 0) + "<bonus>7</bonus>", zeros) +
                   "<SHOW><url>/api/v1/shows/2</url></SHOW>"
            << true << 0 << "5:3,1/" << defaults;
        for (const char* url : {"", "/api/v1/shows/9", "/api/v1/shows/0", "/api/v1/shows/x"})
            QTest::addRow("url \"%s\"", url)
                << show(1, 2, params(5, 1, 0)).replace("/api/v1/shows/1", url) << true << 0 << "none" << defaults;
        QTest::newRow("malformed") << "<all_shows>" + show(1, 5, params(4, 0, 0)) + "<show></all_shows>" << false << 0
                                   << "5:4,0/" << defaults;

        const QString full =
            cfg(prop("name", "Lobby") + prop("ip", "10.77.0.5") + prop("global_profile", "6") + prop("universe", "12") +
                prop("vexil", "2") + prop("num_ports", "4") + prop("num_lights", "170") + prop("brightness", "off") +
                prop("mauve", "1") + prop("switch_state", "1,1,1,1,1,1,1,1,0,1,1"));
        QTest::newRow("configuration") << full << true << 0 << "none"
                                       << "name=Lobby&universe=12&vexil=2&num_ports=4&num_lights=170&abs_bright=off"
                                          "&global_profile=6&enable_switch=1&enable_switch=2&enable_switch=3"
                                          "&enable_switch=4&enable_switch=5&enable_switch=6&enable_switch=7"
                                          "&enable_switch=8&enable_switch=11&enable_switch=10&disable_switch=9"
                                          "&ip=10.77.0.5";
        QTest::newRow("rejected values") << prop("universe", "300") + prop("vexil", "two") + prop("num_lights", "-4") +
                                                prop("global_profile", "42")
                                         << true << 0 << "none" << defaults;
        QTest::newRow("brightness") << prop("brightness", "128") << true << 0 << "none"
                                    << QString(defaults).replace("abs_bright=0", "abs_bright=128");
        QTest::newRow("top-level brightness") << "<brightness>off</brightness>" << true << 0 << "none"
                                              << QString(defaults).replace("abs_bright=0", "abs_bright=off");
        for (const char* state : {"1,1,1", "1,1,1,1,1,1,1,1,1,1,2", "1,1,1,1,1,1,1,1,1,1,1,1", "1,1,1,1,1,1,1,1,1,1,",
                                  "1,1,1,1,1,1,1,1,1,1, 1", ""}) {
            // Ends the parse: what came before stays, nothing after is read.
            QTest::addRow("switch state \"%s\"", state)
                << cfg(prop("name", "Hall") + prop("switch_state", state) + prop("universe", "9")) << false << 0
                << "none" << QString(defaults).replace("name=&", "name=Hall&");
        }
    }

    void documents() {
        QFETCH(QString, body);
        QFETCH(bool, ok);
        QFETCH(int, row);
        QFETCH(QString, scene);
        QFETCH(QString, configuration);
        const MSPDocument::ReadResult result = read(body);
        QVERIFY2(result.ok == ok && result.error.isEmpty() == ok, qPrintable(result.error));
        QCOMPARE(summary(row), scene);
        QCOMPARE(config(), configuration);
        for (int other = 0; other < 8; ++other) {
            if (other != row)
                QCOMPARE(summary(other), QStringLiteral("none"));
        }
    }

    void readingIntoTheLiveModel() {
        // An effect of the same kind is updated in place, so its editor stays with it.
        QVERIFY(read(show(1, 2, params(5, 1, 0))).ok);
        QPointer<MSPEffect> first = scene(0)->effect();
        QSignalSpy changed(scene(0), &MSPScene::effectChanged);
        QVERIFY(read(show(1, 2, params(7, 0, 0))).ok);
        QVERIFY(scene(0)->effect() == first.data() && changed.isEmpty() && summary(0) == QStringLiteral("2:7,0/"));
        QVERIFY(read(show(1, 5, params(7, 0, 0))).ok);
        QVERIFY(changed.count() == 1 && scene(0)->url() == QStringLiteral("/api/v1/shows/1"));

        // The buttons report each change, the configuration once for the whole read.
        SystemConfiguration* c = SystemConfiguration::instance();
        QSignalSpy scene3(c, &SystemConfiguration::scene3CheckBoxStateChanged);
        QSignalSpy down(c, &SystemConfiguration::downCheckBoxStateChanged);
        QSignalSpy configuration(c, &SystemConfiguration::configurationChanged);
        QVERIFY(read(propertyElement(QStringLiteral("switch_state"), QStringLiteral("1,1,0,1,1,1,1,1,1,0,0"))).ok);
        QVERIFY(!c->scene3CheckBoxState() && !c->upCheckBoxState() && !c->downCheckBoxState());
        QCOMPARE(scene3.count() + down.count() + configuration.count(), 3);

        const QList<QPair<QString, int>> shows = {{"1", 0}, {"8", 7}, {"0", -1}, {"9", -1}, {"three", -1}};
        for (const auto& [text, index] : shows)
            QCOMPARE(read("<currentShow>" + text + "</currentShow>").currentShowIndex, index);
        QCOMPARE(MSPSceneModel::instance()->activeSceneIndex(), 0);
    }

    void colorsFromBytesOrTriple() {
        QVERIFY(read(show(1, 4, params(1, 0, 1),
                          color(10, 20, 30) + color(10, 20, 30, 500, 2500, 3750) + QStringLiteral("<color/>") +
                              color(0, 0, 0).repeated(3),
                          3))
                    .ok);
        const QStringList colors = qobject_cast<MSPCustomWashEffect*>(scene(0)->effect())->colorList();
        QCOMPARE(ZelColor(colors.at(0)), ZelColor::fromRgb8(10, 20, 30));
        const ZelColor triple(colors.at(1));
        QVERIFY(triple.spec() == ZelColor::Yxy && std::trunc(triple.getY() * 1000) == 500.0);
        QCOMPARE(std::trunc(triple.getx() * 10000) + std::trunc(triple.gety() * 10000), 6250.0);
        // An empty colour element reads as black rather than as a colour without a text.
        QCOMPARE(colors.at(2), ZelColor::fromRgb8(0, 0, 0).aName());
        // The triple inside <parameters> makes a fixed colour a chromaticity colour.
        QVERIFY(read(show(2, 0, params(1, 2, 3), zeros, 0, QStringLiteral("<by>0</by><x>0</x><y>1000</y>"))).ok);
        const ZelColor fixed(qobject_cast<MSPFixedColorEffect*>(scene(1)->effect())->color());
        QVERIFY(fixed.spec() == ZelColor::Yxy && std::trunc(fixed.gety() * 10000) == 1000.0);

        // Every number a document can hold reads as a value the writers truncate back to it.
        for (int scale : {1000, 10000}) {
            for (int n = 0; n <= 65535; ++n) {
                if (int(std::trunc(double(MSPHandler::documentChromaticity(QString::number(n), scale)) * scale)) != n)
                    QFAIL(qPrintable(QStringLiteral("%1 / %2 comes back as another number").arg(n).arg(scale)));
            }
        }
        for (const char* text : {"-1", "70000", "x"})
            QCOMPARE(MSPHandler::documentChromaticity(QLatin1String(text), 1000), 0.0f);
    }

    void textsSurviveSaveAndReopen() {
        const QStringList names = {"R&D <Lab> \"A\" 'B' ]]>",
                                   "Caf\u00e9 \u00dcber \u20ac \u4e2d \U0001F600",
                                   "  two  words\n\ton lines\r\n",
                                   "",
                                   "&amp; &#38;",
                                   "\u0080\u0085\u009f\u00a0\u00ff\u007f",
                                   "   "};
        SystemConfiguration* c = SystemConfiguration::instance();
        for (const QString& name : names) {
            c->setName(name);
            const QByteArray file = MSPDocument::fileContents();
            c->setName(QStringLiteral("something else"));
            QVERIFY2(MSPDocument::read(file, false).ok, qPrintable(name));
            QCOMPARE(c->name(), name);
        }
        // Text in pieces: references, CDATA.
        QVERIFY(read(propertyElement("name", "A&amp;B&lt;C&#233;<![CDATA[<D>]]>")).ok);
        QCOMPARE(c->name(), QStringLiteral("A&B<C\u00e9<D>"));
    }

    void truncatedFile() {
        const QByteArray full = document(show(1, 2, params(6, 1, 0), zeros) + show(2, 5, params(3, 1, 0), zeros));
        const MSPDocument::ReadResult result =
            MSPDocument::read(full.left(full.indexOf("<show><url>/api/v1/shows/2") + 40), false);
        QVERIFY(!result.ok && summary(0) == QStringLiteral("2:6,1/") && summary(1) == QStringLiteral("none"));
        QVERIFY(!MSPDocument::read(QByteArray(), false).ok);
    }
};

LUMETTO_TEST_MAIN_CORE(TestMSPHandler, "tst_MSPHandler")
#include "tst_MSPHandler.moc"

#include "TestEnvironment.h"

#include "MSPColorWashEffect.h"
#include "MSPCustomWashEffect.h"
#include "MSPEffectFactory.h"
#include "MSPFixedColorEffect.h"
#include "MSPHandler.h"
#include "MSPRandomColorEffect.h"
#include "ModelFixture.h"

#include <QPointer>
#include <QSignalSpy>

#include <cmath>

using namespace ModelFixture;

namespace {

MSPDocument::ReadResult read(const QString& body) {
    return MSPDocument::read(document(body), false);
}

QString zeroColors(int count) {
    return color(0, 0, 0).repeated(count);
}

} // namespace

class TestMSPHandler : public QObject {
    Q_OBJECT

private slots:
    void init() { reset(); }

    void showsFillScenes() {
        QSignalSpy changed(MSPSceneModel::instance(), &MSPSceneModel::effectChanged);
        const auto result = read(QStringLiteral("<all_shows>\n<currentShow>3</currentShow>\n") +
                                 show(2, 2, params(5, 1, 0), zeroColors(6)) +
                                 show(6, 5, params(99, 2, 0), zeroColors(6)) + QStringLiteral("</all_shows>"));
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.currentShowIndex, 2);
        // A file's current show reaches only a connected keypad, never the model.
        QCOMPARE(MSPSceneModel::instance()->activeSceneIndex(), 0);
        QCOMPARE(changed.count(), 2);

        auto* wash = qobject_cast<MSPColorWashEffect*>(scene(1)->effect());
        QVERIFY(wash);
        QCOMPARE(wash->type(), 2);
        QCOMPARE(wash->speed(), 5);
        QCOMPARE(wash->direction(), 1);
        QCOMPARE(scene(1)->url(), QStringLiteral("/api/v1/shows/2"));
        auto* random = qobject_cast<MSPRandomColorEffect*>(scene(5)->effect());
        QVERIFY(random);
        QCOMPARE(random->speed(), 99);
        QVERIFY(random->fade());
        QVERIFY(!scene(0)->effect());
    }

    void sameKindIsUpdatedInPlace() {
        QVERIFY(read(show(1, 2, params(5, 1, 0), zeroColors(6))).ok);
        QPointer<MSPEffect> first = scene(0)->effect();
        QSignalSpy changed(scene(0), &MSPScene::effectChanged);
        QVERIFY(read(show(1, 2, params(7, 0, 0), zeroColors(6))).ok);
        QCOMPARE(scene(0)->effect(), first.data());
        QCOMPARE(changed.count(), 0);
        QCOMPARE(qobject_cast<MSPColorWashEffect*>(first)->speed(), 7);

        QVERIFY(read(show(1, 5, params(7, 0, 0), zeroColors(6))).ok);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(scene(0)->effect()->type(), 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first);

        // No such kind: the scene is left without an effect.
        QVERIFY(read(show(1, 9, params(7, 0, 0), zeroColors(6))).ok);
        QVERIFY(!scene(0)->effect());
        QCOMPARE(changed.count(), 1);
    }

    void washWithTwoColors() {
        const auto result = read(show(4, 4, params(3, 1, 6), color(255, 0, 0) + color(0, 0, 255) + zeroColors(4), 2));
        QVERIFY(result.ok);
        auto* wash = qobject_cast<MSPCustomWashEffect*>(scene(3)->effect());
        QVERIFY(wash);
        QCOMPARE(wash->colorList(), QStringList({QStringLiteral("#ff0000"), QStringLiteral("#0000ff")}));
        QCOMPARE(wash->width(), 6);
    }

    void colorFromBytesOrTriple() {
        QVERIFY(
            read(show(1, 4, params(1, 0, 1), color(10, 20, 30) + color(10, 20, 30, 500, 2500, 3750) + zeroColors(4), 2))
                .ok);
        auto* wash = qobject_cast<MSPCustomWashEffect*>(scene(0)->effect());
        QVERIFY(wash);
        const ZelColor bytes(wash->colorList().at(0));
        QCOMPARE(bytes, ZelColor::fromRgb8(10, 20, 30));
        const ZelColor triple(wash->colorList().at(1));
        QCOMPARE(triple.spec(), int(ZelColor::Yxy));
        QCOMPARE(std::trunc(triple.getx() * 10000), 2500.0);
        QCOMPARE(std::trunc(triple.gety() * 10000), 3750.0);
        QCOMPARE(std::trunc(triple.getY() * 1000), 500.0);

        // The triple inside <parameters> makes a fixed colour a chromaticity colour.
        QVERIFY(
            read(show(2, 0, params(1, 2, 3), zeroColors(6), 0, QStringLiteral("<by>0</by><x>0</x><y>1000</y>"))).ok);
        const ZelColor fixed(qobject_cast<MSPFixedColorEffect*>(scene(1)->effect())->color());
        QCOMPARE(fixed.spec(), int(ZelColor::Yxy));
        QCOMPARE(float(fixed.gety()), MSPHandler::documentChromaticity(QStringLiteral("1000"), 10000));
    }

    void chromaticityNumbersComeBackUnchanged() {
        // Every number a document can hold reads as a value the writers truncate back to it.
        for (int scale : {1000, 10000}) {
            for (int n = 0; n <= 65535; ++n) {
                const float value = MSPHandler::documentChromaticity(QString::number(n), scale);
                if (int(std::trunc(double(value) * scale)) != n)
                    QFAIL(qPrintable(QStringLiteral("%1 / %2 comes back as another number").arg(n).arg(scale)));
            }
        }
        QCOMPARE(MSPHandler::documentChromaticity(QStringLiteral("-1"), 1000), 0.0f);
        QCOMPARE(MSPHandler::documentChromaticity(QStringLiteral("70000"), 1000), 0.0f);
        QCOMPARE(MSPHandler::documentChromaticity(QStringLiteral("x"), 1000), 0.0f);
    }

    void configuration() {
        SystemConfiguration* c = SystemConfiguration::instance();
        QSignalSpy changed(c, &SystemConfiguration::configurationChanged);
        const auto result =
            read(QStringLiteral("<config>\n") + propertyElement(QStringLiteral("name"), QStringLiteral("Lobby")) +
                 propertyElement(QStringLiteral("ip"), QStringLiteral("10.77.0.5")) +
                 propertyElement(QStringLiteral("global_profile"), QStringLiteral("6")) +
                 propertyElement(QStringLiteral("universe"), QStringLiteral("12")) +
                 propertyElement(QStringLiteral("vexil"), QStringLiteral("2")) +
                 propertyElement(QStringLiteral("num_ports"), QStringLiteral("4")) +
                 propertyElement(QStringLiteral("num_lights"), QStringLiteral("170")) +
                 propertyElement(QStringLiteral("brightness"), QStringLiteral("off")) +
                 propertyElement(QStringLiteral("version"), QStringLiteral("1.1.24")) +
                 propertyElement(QStringLiteral("colour_of_the_day"), QStringLiteral("mauve")) +
                 propertyElement(QStringLiteral("switch_state"), QStringLiteral("1,1,1,1,1,1,1,1,0,1,1")) +
                 QStringLiteral("</config>\n"));
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(c->name(), QStringLiteral("Lobby"));
        QCOMPARE(c->ipAddress(), QStringLiteral("10.77.0.5"));
        QCOMPARE(c->fixtureClass(), 6);
        QCOMPARE(c->universe(), 12);
        QCOMPARE(c->VexilMode(), 2);
        QCOMPARE(c->numberOfPorts(), 4);
        QCOMPARE(c->lightsPerPort(), 170);
        QCOMPARE(c->brightness(), -1);
        QCOMPARE(c->version(), QStringLiteral("1.1.24"));
        QVERIFY(!c->onOffCheckBoxState());
        QVERIFY(c->upCheckBoxState() && c->downCheckBoxState());
        for (int i = 0; i < 8; ++i)
            QVERIFY(c->isSceneEnabled(i));
        // The switch state adds a single configurationChanged (after name, ip, profile, universe,
        // vexil, ports, lights, version).
        QCOMPARE(changed.count(), 9);

        QVERIFY(read(propertyElement(QStringLiteral("brightness"), QStringLiteral("128"))).ok);
        QCOMPARE(c->brightness(), 128);
        QVERIFY(read(QStringLiteral("<brightness>off</brightness>")).ok);
        QCOMPARE(c->brightness(), -1);
        QVERIFY(read(QStringLiteral("<brightness>77</brightness>")).ok);
        QCOMPARE(c->brightness(), 77);
    }

    void switchStates() {
        SystemConfiguration* c = SystemConfiguration::instance();
        QSignalSpy scene3(c, &SystemConfiguration::scene3CheckBoxStateChanged);
        QSignalSpy down(c, &SystemConfiguration::downCheckBoxStateChanged);
        QSignalSpy changed(c, &SystemConfiguration::configurationChanged);
        QVERIFY(read(propertyElement(QStringLiteral("switch_state"), QStringLiteral("1,1,0,1,1,1,1,1,1,0,0"))).ok);
        QVERIFY(!c->scene3CheckBoxState());
        QVERIFY(!c->upCheckBoxState());
        QVERIFY(!c->downCheckBoxState());
        QCOMPARE(scene3.count(), 1);
        QCOMPARE(down.count(), 1);
        QCOMPARE(changed.count(), 1);
    }

    void rejectedSwitchStateEndsTheParse_data() {
        QTest::addColumn<QString>("state");
        QTest::newRow("three") << "1,1,1";
        QTest::newRow("a two") << "1,1,1,1,1,1,1,1,1,1,2";
        QTest::newRow("twelve") << "1,1,1,1,1,1,1,1,1,1,1,1";
        QTest::newRow("empty part") << "1,1,1,1,1,1,1,1,1,1,";
        QTest::newRow("blank") << "1,1,1,1,1,1,1,1,1,1, 1";
        QTest::newRow("empty") << "";
    }

    void rejectedSwitchStateEndsTheParse() {
        QFETCH(QString, state);
        const auto result =
            read(QStringLiteral("<config>\n") + propertyElement(QStringLiteral("name"), QStringLiteral("Hall")) +
                 propertyElement(QStringLiteral("switch_state"), state) +
                 propertyElement(QStringLiteral("universe"), QStringLiteral("9")) + QStringLiteral("</config>"));
        QVERIFY(!result.ok);
        QVERIFY(result.error.contains(QLatin1String("switch state")));
        // What came before stays applied, nothing after is read.
        QCOMPARE(SystemConfiguration::instance()->name(), QStringLiteral("Hall"));
        QCOMPARE(SystemConfiguration::instance()->universe(), 0);
        QVERIFY(SystemConfiguration::instance()->onOffCheckBoxState());
    }

    void valuesOutOfRange() {
        SystemConfiguration* c = SystemConfiguration::instance();
        QVERIFY(read(propertyElement(QStringLiteral("universe"), QStringLiteral("300")) +
                     propertyElement(QStringLiteral("vexil"), QStringLiteral("two")) +
                     propertyElement(QStringLiteral("num_lights"), QStringLiteral("-4")) +
                     propertyElement(QStringLiteral("global_profile"), QStringLiteral("42")))
                    .ok);
        QCOMPARE(c->universe(), 0);
        QCOMPARE(c->VexilMode(), 1);
        QCOMPARE(c->lightsPerPort(), 1);
        QCOMPARE(c->fixtureClass(), 0);

        QVERIFY(read(show(1, 4, params(999, -5, 99999), color(999, -1, 256) + zeroColors(5), 1)).ok);
        auto* wash = qobject_cast<MSPCustomWashEffect*>(scene(0)->effect());
        QVERIFY(wash);
        QCOMPARE(wash->speed(), 32);
        QCOMPARE(wash->direction(), 0);
        QCOMPARE(wash->width(), 32);
        QCOMPARE(ZelColor(wash->colorList().at(0)), ZelColor::fromRgb8(255, 0, 255));
    }

    void notNumbersReadAsZero() {
        QVERIFY(read(show(2, 5, QStringLiteral("<param>fast</param><param>yes</param><param/>"), zeroColors(6))).ok);
        auto* random = qobject_cast<MSPRandomColorEffect*>(scene(1)->effect());
        QVERIFY(random);
        QCOMPARE(random->speed(), 0);
        QVERIFY(!random->fade());
        // An effect number that is no number is the fixed colour.
        QVERIFY(read(show(3, 0, params(1, 2, 3))
                         .replace(QLatin1String("<effect>0</effect>"), QLatin1String("<effect>wash</effect>")))
                    .ok);
        QCOMPARE(scene(2)->effect()->type(), 0);
    }

    void showsWithoutSceneNumberAreSkipped_data() {
        QTest::addColumn<QString>("url");
        QTest::newRow("empty") << "";
        QTest::newRow("nine") << "/api/v1/shows/9";
        QTest::newRow("zero") << "/api/v1/shows/0";
        QTest::newRow("letter") << "/api/v1/shows/x";
    }

    void showsWithoutSceneNumberAreSkipped() {
        QFETCH(QString, url);
        QString bad = show(1, 2, params(5, 1, 0), zeroColors(6));
        bad.replace(QLatin1String("/api/v1/shows/1"), url);
        QVERIFY(read(bad + show(5, 5, params(3, 0, 0), zeroColors(6))).ok);
        for (int row = 0; row < 8; ++row)
            QCOMPARE(bool(scene(row)->effect()), row == 4);
    }

    void moreThanSixColors() {
        QVERIFY(read(show(1, 4, params(4, 0, 2), zeroColors(6), 0)).ok);
        auto* wash = qobject_cast<MSPCustomWashEffect*>(scene(0)->effect());
        QVERIFY(wash);
        QVERIFY(read(show(1, 4, params(9, 1, 9), color(1, 2, 3).repeated(7), 7)).ok);
        // The wash refuses the show and keeps what it had.
        QCOMPARE(scene(0)->effect(), wash);
        QCOMPARE(wash->speed(), 4);
        QVERIFY(wash->colorList().isEmpty());
    }

    void currentShow_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::newRow("first") << "1" << 0;
        QTest::newRow("last") << "8" << 7;
        QTest::newRow("zero") << "0" << -1;
        QTest::newRow("nine") << "9" << -1;
        QTest::newRow("word") << "three" << -1;
    }

    void currentShow() {
        QFETCH(QString, text);
        QFETCH(int, index);
        QCOMPARE(read(QStringLiteral("<currentShow>%1</currentShow>").arg(text)).currentShowIndex, index);
    }

    void keypadRepliesFillTheModel() {
        const QByteArray shows =
            "<api><shows><scene>" + show(1, 2, params(8, 1, 0), zeroColors(6)).toLatin1() + "</scene><scene>" +
            show(2, 3, params(2, 0, 30), color(9, 9, 9) + zeroColors(5), 1).toLatin1() + "</scene></shows></api>";
        QVERIFY(MSPDocument::read(shows, false).ok);
        QCOMPARE(qobject_cast<MSPColorWashEffect*>(scene(0)->effect())->speed(), 8);
        auto* rainbow = qobject_cast<MSPCustomWashEffect*>(scene(1)->effect());
        QCOMPARE(rainbow->type(), 3);
        QCOMPARE(rainbow->width(), 30);
        QCOMPARE(rainbow->colorList().size(), 1);

        const QByteArray config =
            "<api><config>" + propertyElement(QStringLiteral("name"), QStringLiteral("Foyer")).toLatin1() +
            propertyElement(QStringLiteral("version"), QStringLiteral("1.1.20")).toLatin1() + "</config></api>";
        QVERIFY(MSPDocument::read(config, false).ok);
        QCOMPARE(SystemConfiguration::instance()->name(), QStringLiteral("Foyer"));
        QVERIFY(SystemConfiguration::instance()->isNewerThan(QStringLiteral("1.1.19")));
    }

    void textsSurviveEscaping_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("markup") << "R&D <Lab> \"A\" 'B' ]]>";
        QTest::newRow("latin1") << "Caf\u00e9 \u00dcber";
        QTest::newRow("beyond latin1") << "\u20ac \u4e2d \U0001F600";
        QTest::newRow("blanks") << "  two  words\n\ton lines\r\n";
        QTest::newRow("empty") << "";
        QTest::newRow("entity text") << "&amp; &#38;";
    }

    void textsSurviveEscaping() {
        QFETCH(QString, name);
        SystemConfiguration* c = SystemConfiguration::instance();
        c->setName(name);
        scene(0)->setEffect(MSPEffectFactory::instance()->create(2, nullptr), false);
        scene(0)->setURL(QStringLiteral("/api/v1/shows/1"));
        const QByteArray file = MSPDocument::fileContents();
        c->setName(QStringLiteral("something else"));
        const auto result = MSPDocument::read(file, false);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(c->name(), name);
    }

    void textArrivingInPieces() {
        QVERIFY(read(propertyElement(QStringLiteral("name"), QStringLiteral("A&amp;B&lt;C&#233;<![CDATA[<D>]]>"))).ok);
        QCOMPARE(SystemConfiguration::instance()->name(), QStringLiteral("A&B<C\u00e9<D>"));
    }

    void malformedAndTruncatedDocuments() {
        QVERIFY(!read(QStringLiteral("<all_shows><show></all_shows>")).ok);
        QVERIFY(!MSPDocument::read(QByteArrayLiteral(""), false).ok);
        QVERIFY(!MSPDocument::read(QByteArrayLiteral("not a document"), false).ok);

        // A file cut short: the shows before the cut stay applied.
        const QByteArray full = document(show(1, 2, params(6, 1, 0), zeroColors(6)) + QStringLiteral("\n") +
                                         show(2, 5, params(3, 1, 0), zeroColors(6)));
        const auto result = MSPDocument::read(full.left(full.indexOf("<show><url>/api/v1/shows/2") + 40), false);
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(qobject_cast<MSPColorWashEffect*>(scene(0)->effect())->speed(), 6);
        QVERIFY(!scene(1)->effect());
    }

    void unknownElementsAreIgnored() {
        QVERIFY(read(QStringLiteral("<all_shows><extra a=\"1\">text<more/></extra>") +
                     show(1, 5, params(3, 1, 0) + QStringLiteral("<bonus>7</bonus>"), zeroColors(6)) +
                     QStringLiteral("</all_shows><SHOW><url>/api/v1/shows/2</url></SHOW>"))
                    .ok);
        QCOMPARE(scene(0)->effect()->type(), 5);
        QVERIFY(!scene(1)->effect());
    }

    void errorReportsAreAccepted() {
        MSPHandler handler(false);
        QVERIFY(handler.errorString().isEmpty());
        QVERIFY(handler.failure().isEmpty());
        QCOMPARE(handler.currentShowIndex(), -1);
    }
};

LUMETTO_TEST_MAIN_CORE(TestMSPHandler, "tst_MSPHandler")
#include "tst_MSPHandler.moc"

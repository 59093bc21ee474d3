#include "TestEnvironment.h"

#include "MSPCustomWashEffect.h"
#include "MSPEffectFactory.h"
#include "MSPFixedColorEffect.h"
#include "ModelFixture.h"

#include <QSignalSpy>
#include <QUrlQuery>

using namespace ModelFixture;

namespace {

// An unused colour slot, as the writer fills it.
const QString zeroColor =
    QStringLiteral("<color><red>0</red>\n<grn>0</grn>\n<blu>0</blu><by>0</by><x>0</x><y>0</y>\n</color>");

ZelColor yxy(double Y, double x, double y) {
    ZelColor color;
    color.setY(Y);
    color.setx(x);
    color.sety(y);
    return color;
}

QString bytes(const ZelColor& color, int profile) {
    int b[3];
    MSPEffect::deviceBytes(color, profile, b);
    return QStringLiteral("%1,%2,%3").arg(b[0]).arg(b[1]).arg(b[2]);
}

} // namespace

class TestMSPScene : public QObject {
    Q_OBJECT

private slots:
    void init() { reset(); }

    void eightScenesAndOneActive() {
        // Asking for any other scene is no crash, and there is no scene 9 to activate.
        MSPSceneModel* model = MSPSceneModel::instance();
        MSPScene stranger;
        QVERIFY(!model->scene(8) && !model->scene(-1) && model->indexOf(&stranger) == -1);
        QSignalSpy active(model, &MSPSceneModel::activeSceneIndexChanged);
        model->setActiveSceneIndex(3, true);
        model->setActiveSceneIndex(3, true);
        model->setActiveSceneIndex(8, true);
        model->setActiveSceneIndex(5, false);
        QVERIFY(active.count() == 1 && model->activeSceneIndex() == 5);
        // A scene without an effect has nothing to send.
        QVERIFY(model->scene(4)->PostData().isEmpty() && model->scene(4)->XMLData().isEmpty());
    }

    void queryAndShowTexts_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("query");
        const QString two =
            QStringLiteral("&num_colors=2&color1=(255,0,0)&custom_xy_1=(0,0,0)&color2=(0,255,0)&custom_xy_2=(0,0,0)");
        QTest::newRow("fixed") << 0 << "effect=0&param1=255&param2=0&param3=0&param_xy=(0,0,0)&num_colors=0";
        QTest::newRow("variable") << 1 << "effect=1&param1=0&param2=255&param3=255&param_xy=(0,0,0)&num_colors=0";
        QTest::newRow("color wash") << 2 << "effect=2&param1=1&param2=0&param_xy=(0,0,0)&num_colors=0";
        QTest::newRow("rainbow") << 3 << "effect=3&param1=1&param2=0&param3=4&param_xy=(0,0,0)" + two;
        QTest::newRow("custom") << 4 << "effect=4&param1=1&param2=0&param3=1&param_xy=(0,0,0)" + two;
        QTest::newRow("random") << 5 << "effect=5&param1=1&param2=0&param_xy=(0,0,0)&num_colors=0";
        QTest::newRow("rgb white") << 6 << "effect=6&param1=0&param2=255&param_xy=(0,0,0)&num_colors=0";
        QTest::newRow("duo white") << 7 << "effect=7&param1=0&param2=255&param_xy=(0,0,0)&num_colors=0";
    }

    void queryAndShowTexts() {
        QFETCH(int, type);
        QFETCH(QString, query);
        MSPScene scene;
        scene.setURL(QStringLiteral("/api/v1/shows/1"));
        scene.setEffect(MSPEffectFactory::instance()->create(type, nullptr), false);
        QCOMPARE(scene.PostData(), query);
        // A show element holds the same parameters, three of them, and six colours, used or not.
        const QUrlQuery q(query);
        auto param = [&q](const char* key) { return q.queryItemValue(QLatin1String(key)).toInt(); };
        const bool washOfColors = type == 3 || type == 4;
        const QString colors =
            washOfColors ? color(255, 0, 0) + color(0, 255, 0) + zeroColor.repeated(4) : zeroColor.repeated(6);
        QCOMPARE(scene.XMLData(), show(1, type, params(param("param1"), param("param2"), param("param3")), colors,
                                       washOfColors ? 2 : 0));
    }

    void chromaticityTexts() {
        MSPScene scene;
        auto* fixed = new MSPFixedColorEffect;
        scene.setEffect(fixed, false);
        fixed->setColor(yxy(1, 0.25, 0.5).aName());
        QVERIFY(scene.PostData().endsWith(QLatin1String("&param_xy=(2500,5000,1000)&num_colors=0")));
        // Single precision: 0.329 is held as 0.32899999... and truncates to 3289.
        fixed->setColor(yxy(1, 0.25, 0.329).aName());
        QVERIFY(scene.PostData().endsWith(QLatin1String("&param_xy=(2500,3289,1000)&num_colors=0")));

        // Colour bytes follow the configuration's profile, read each time. A luminance beyond
        // 32.767 does not fit the document's signed field; the query's is unsigned.
        scene.setURL(QStringLiteral("/api/v1/shows/8?a<b&c"));
        auto* custom = new MSPCustomWashEffect;
        const ZelColor bright = yxy(40, 0.25, 0.375);
        custom->setColorList({QStringLiteral("#0a141e"), bright.aName()});
        custom->setWidth(7);
        scene.setEffect(custom, false);
        for (int profile : {6, 8, 0}) {
            SystemConfiguration::instance()->setFixtureClass(profile, false);
            QCOMPARE(scene.PostData(), "effect=4&param1=1&param2=0&param3=7&param_xy=(0,0,0)&num_colors=2"
                                       "&color1=(10,20,30)&custom_xy_1=(0,0,0)&color2=(" +
                                           bytes(bright, profile) + ")&custom_xy_2=(2500,3750,40000)");
        }
        QVERIFY(bytes(bright, 0) != bytes(bright, 6));
        const QStringList b = bytes(bright, 0).split(QLatin1Char(','));
        QCOMPARE(scene.XMLData(),
                 show(8, 4, params(1, 0, 7),
                      color(10, 20, 30) + color(b[0].toInt(), b[1].toInt(), b[2].toInt(), -25536, 2500, 3750) +
                          zeroColor.repeated(4),
                      2)
                     .replace(QLatin1String("/8<"), QLatin1String("/8?a&lt;b&amp;c<")));
    }
};

LUMETTO_TEST_MAIN_CORE(TestMSPScene, "tst_MSPScene")
#include "tst_MSPScene.moc"

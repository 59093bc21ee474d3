#include "TestEnvironment.h"

#include "MSPColorWashEffect.h"
#include "MSPCustomWashEffect.h"
#include "MSPEffectFactory.h"
#include "MSPFixedColorEffect.h"
#include "ModelFixture.h"

#include <QPointer>
#include <QSignalSpy>

namespace {

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
    void init() { ModelFixture::reset(); }

    void effectsAndTheirSignals() {
        MSPSceneModel* model = MSPSceneModel::instance();
        MSPScene* scene = model->scene(4);
        QVERIFY(scene->PostData().isEmpty() && scene->XMLData().isEmpty());
        QSignalSpy sceneChanged(scene, &MSPScene::effectChanged);
        QSignalSpy modelChanged(model, &MSPSceneModel::effectChanged);
        QSignalSpy modelParams(model, &MSPSceneModel::effectParamsChanged);

        auto* first = new MSPColorWashEffect;
        scene->setEffect(first, false);
        first->setSpeed(9);
        QCOMPARE(sceneChanged.count(), 0);
        QCOMPARE(modelParams.count(), 1);
        QCOMPARE(modelParams.at(0).at(0).value<MSPScene*>(), scene);

        QPointer<MSPColorWashEffect> old = first;
        auto* second = new MSPColorWashEffect;
        scene->setEffect(second, true);
        QCOMPARE(modelChanged.count(), 1);
        QCOMPARE(modelChanged.at(0).at(0).value<MSPScene*>(), scene);
        // The replaced effect lives until the event loop runs, cut off from the scene.
        old->setSpeed(3);
        QCOMPARE(modelParams.count(), 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!old);

        // Giving a scene the effect it has keeps it alive; a null effect announces nothing.
        scene->setEffect(second, true);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        second->setDirection(1);
        QCOMPARE(modelParams.count(), 2);
        scene->setEffect(nullptr, true);
        QCOMPARE(sceneChanged.count(), 2);
    }

    void model() {
        MSPSceneModel* model = MSPSceneModel::instance();
        QVERIFY(!model->scene(8) && !model->scene(-1));
        MSPScene stranger;
        QCOMPARE(model->indexOf(&stranger), -1);
        QVERIFY(!model->setData(model->index(2, 0), QVariant::fromValue(&stranger), Qt::DisplayRole));
        // Rows beyond the eight scenes hold none, and go again.
        QVERIFY(model->insertRows(8, 2) && !model->scene(9));
        QVERIFY(model->removeRows(8, 5) && !model->insertRows(20, 1));
        QCOMPARE(model->rowCount(), 8);

        QSignalSpy active(model, &MSPSceneModel::activeSceneIndexChanged);
        model->setActiveSceneIndex(3, true);
        model->setActiveSceneIndex(3, true);
        model->setActiveSceneIndex(8, true); // there is no scene 9
        model->setActiveSceneIndex(5, false);
        QCOMPARE(active.count(), 1);
        QCOMPARE(model->activeSceneIndex(), 5);
    }

    void queryTexts_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("expected");
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

    void queryTexts() {
        QFETCH(int, type);
        QFETCH(QString, expected);
        MSPScene scene;
        scene.setURL(QStringLiteral("/api/v1/shows/1"));
        scene.setEffect(MSPEffectFactory::instance()->create(type, nullptr), false);
        QCOMPARE(scene.PostData(), expected);
        // Every show element holds three parameters and six colours, used or not.
        QVERIFY(scene.XMLData().count(QLatin1String("<param>")) == 3 &&
                scene.XMLData().count(QLatin1String("<color>")) == 6);
    }

    void chromaticityInQueryTexts() {
        MSPScene scene;
        auto* fixed = new MSPFixedColorEffect;
        scene.setEffect(fixed, false);
        fixed->setColor(yxy(1, 0.25, 0.5).aName());
        QVERIFY(scene.PostData().endsWith(QLatin1String("&param_xy=(2500,5000,1000)&num_colors=0")));
        // Single precision: 0.329 is held as 0.32899999... and truncates to 3289.
        fixed->setColor(yxy(1, 0.25, 0.329).aName());
        QVERIFY(scene.PostData().endsWith(QLatin1String("&param_xy=(2500,3289,1000)&num_colors=0")));

        // Colour bytes follow the configuration's profile, read each time.
        auto* custom = new MSPCustomWashEffect;
        const ZelColor chromatic = yxy(0.5, 0.25, 0.375);
        custom->setColorList({QStringLiteral("#0a141e"), chromatic.aName()});
        scene.setEffect(custom, false);
        for (int profile : {0, 6, 8}) {
            SystemConfiguration::instance()->setFixtureClass(profile, false);
            QCOMPARE(scene.PostData(), "effect=4&param1=1&param2=0&param3=1&param_xy=(0,0,0)&num_colors=2"
                                       "&color1=(10,20,30)&custom_xy_1=(0,0,0)&color2=(" +
                                           bytes(chromatic, profile) + ")&custom_xy_2=(2500,3750,500)");
        }
        QVERIFY(bytes(chromatic, 0) != bytes(chromatic, 6));
    }

    void showElements() {
        MSPScene scene;
        scene.setURL(QStringLiteral("/api/v1/shows/3"));
        auto* wash = new MSPColorWashEffect;
        wash->setSpeed(5);
        wash->setDirection(1);
        scene.setEffect(wash, false);
        QCOMPARE(scene.XMLData(), "<show><url>/api/v1/shows/3</url>\n<effect>2</effect>\n<parameters><param>5</param>"
                                  "<param>1</param><param>0</param><by>0</by><x>0</x><y>0</y></parameters>"
                                  "<numColors>0</numColors>\n<customColors>" +
                                      zeroColor.repeated(6) + "\n</customColors>\n</show>");

        // A luminance beyond 32.767 does not fit the document's signed field; the query's is unsigned.
        scene.setURL(QStringLiteral("/api/v1/shows/8?a<b&c"));
        auto* custom = new MSPCustomWashEffect;
        const ZelColor bright = yxy(40, 0.25, 0.375);
        custom->setColorList({QStringLiteral("#0a141e"), bright.aName()});
        custom->setWidth(7);
        scene.setEffect(custom, false);
        const QString b = bytes(bright, 0);
        QCOMPARE(scene.XMLData(),
                 "<show><url>/api/v1/shows/8?a&lt;b&amp;c</url>\n<effect>4</effect>\n<parameters><param>1</param>"
                 "<param>0</param><param>7</param><by>0</by><x>0</x><y>0</y></parameters><numColors>2</numColors>\n"
                 "<customColors><color>\n<red>10</red>\n<grn>20</grn>\n<blu>30</blu>\n<by>0</by><x>0</x><y>0</y> "
                 "</color><color>\n<red>" +
                     b.section(',', 0, 0) + "</red>\n<grn>" + b.section(',', 1, 1) + "</grn>\n<blu>" +
                     b.section(',', 2, 2) + "</blu>\n<by>-25536</by><x>2500</x><y>3750</y> </color>" +
                     zeroColor.repeated(4) + "\n</customColors>\n</show>");
        QVERIFY(scene.PostData().endsWith(QLatin1String("&custom_xy_2=(2500,3750,40000)")));
    }
};

LUMETTO_TEST_MAIN_CORE(TestMSPScene, "tst_MSPScene")
#include "tst_MSPScene.moc"

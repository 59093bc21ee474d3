#include "TestEnvironment.h"

#include "MSPColorWashEffect.h"
#include "MSPCustomWashEffect.h"
#include "MSPEffectFactory.h"
#include "MSPFixedColorEffect.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "SystemConfiguration.h"

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

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestMSPScene : public QObject {
    Q_OBJECT

private slots:
    void init() { SystemConfiguration::instance()->setFixtureClass(0, false); }

    void sceneWithoutEffect() {
        MSPScene scene;
        QVERIFY(!scene.effect());
        QVERIFY(scene.url().isEmpty());
        QVERIFY(scene.PostData().isEmpty());
        QVERIFY(scene.XMLData().isEmpty());
        QSignalSpy changed(&scene, &MSPScene::effectChanged);
        scene.setEffect(nullptr, true);
        QCOMPARE(changed.count(), 0);
    }

    void effectSignalsTravelUp() {
        MSPSceneModel* model = MSPSceneModel::instance();
        MSPScene* scene = model->scene(4);
        QSignalSpy sceneChanged(scene, &MSPScene::effectChanged);
        QSignalSpy sceneParams(scene, &MSPScene::effectParamsChanged);
        QSignalSpy modelParams(model, &MSPSceneModel::effectParamsChanged);
        QSignalSpy modelChanged(model, &MSPSceneModel::effectChanged);

        auto* first = new MSPColorWashEffect;
        scene->setEffect(first, false);
        QCOMPARE(sceneChanged.count(), 0);
        QCOMPARE(first->parent(), scene);
        first->setSpeed(9);
        QCOMPARE(sceneParams.count(), 1);
        QCOMPARE(sceneParams.at(0).at(0).value<MSPScene*>(), scene);
        QCOMPARE(modelParams.count(), 1);
        QCOMPARE(modelParams.at(0).at(0).value<MSPScene*>(), scene);

        QPointer<MSPColorWashEffect> old = first;
        auto* second = new MSPColorWashEffect;
        scene->setEffect(second, true);
        QCOMPARE(sceneChanged.count(), 1);
        QCOMPARE(modelChanged.count(), 1);
        QCOMPARE(modelChanged.at(0).at(0).value<MSPScene*>(), scene);
        // The replaced effect lives until the event loop runs, but no longer reaches the scene.
        QVERIFY(old);
        old->setSpeed(3);
        QCOMPARE(sceneParams.count(), 1);
        flushDeletes();
        QVERIFY(!old);

        // Giving the scene the effect it already has keeps it alive.
        scene->setEffect(second, true);
        flushDeletes();
        QCOMPARE(scene->effect(), second);
        second->setDirection(1);
        QCOMPARE(sceneParams.count(), 2);
        scene->setEffect(nullptr, false);
        flushDeletes();
        QVERIFY(!scene->effect());
    }

    void modelRows() {
        MSPSceneModel* model = MSPSceneModel::instance();
        QCOMPARE(model->rowCount(), 8);
        for (int row = 0; row < 8; ++row) {
            QVERIFY(model->scene(row));
            QCOMPARE(model->scene(row)->parent(), model);
            QCOMPARE(model->indexOf(model->scene(row)), row);
        }
        QVERIFY(!model->scene(8));
        QVERIFY(!model->scene(-1));
        QCOMPARE(model->indexOf(nullptr), -1);
        MSPScene stranger;
        QCOMPARE(model->indexOf(&stranger), -1);
        QVERIFY(!model->headerData(0, Qt::Horizontal).isValid());
        QVERIFY(!model->data(QModelIndex()).isValid());
        QCOMPARE(model->data(model->index(2, 0), Qt::ToolTipRole).value<MSPScene*>(), model->scene(2));
        QVERIFY(QMetaType::type("MSPScene*") != QMetaType::UnknownType);

        MSPScene* third = model->scene(2);
        QVERIFY(!model->setData(model->index(2, 0), QVariant::fromValue(&stranger), Qt::DisplayRole));
        QCOMPARE(model->scene(2), third);
        QSignalSpy dataChanged(model, &QAbstractItemModel::dataChanged);
        QVERIFY(model->setData(model->index(2, 0), QVariant::fromValue(&stranger), Qt::EditRole));
        QCOMPARE(model->scene(2), &stranger);
        QCOMPARE(dataChanged.count(), 1);
        QVERIFY(model->setData(model->index(2, 0), QVariant::fromValue(third), Qt::EditRole));

        QVERIFY(model->insertRows(8, 2));
        QCOMPARE(model->rowCount(), 10);
        QVERIFY(!model->scene(9));
        QVERIFY(model->removeRows(8, 5));
        QCOMPARE(model->rowCount(), 8);
        QVERIFY(!model->insertRows(20, 1));
        QVERIFY(!model->removeRows(8, 1));
        QCOMPARE(model->rowCount(), 8);
    }

    void activeScene() {
        MSPSceneModel* model = MSPSceneModel::instance();
        QSignalSpy spy(model, &MSPSceneModel::activeSceneIndexChanged);
        model->setActiveSceneIndex(3, true);
        model->setActiveSceneIndex(3, true);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 3);
        model->setActiveSceneIndex(5, false);
        QCOMPARE(model->activeSceneIndex(), 5);
        QCOMPARE(spy.count(), 1);
        // There is no scene 9 to make active.
        model->setActiveSceneIndex(8, true);
        model->setActiveSceneIndex(-1, true);
        QCOMPARE(model->activeSceneIndex(), 5);
        QCOMPARE(spy.count(), 1);
        model->setActiveSceneIndex(0, false);
    }

    void queryTextOfEveryKind_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("expected");
        const QString twoColors =
            QStringLiteral("&num_colors=2&color1=(255,0,0)&custom_xy_1=(0,0,0)&color2=(0,255,0)&custom_xy_2=(0,0,0)");
        QTest::newRow("fixed") << 0 << "effect=0&param1=255&param2=0&param3=0&param_xy=(0,0,0)&num_colors=0";
        QTest::newRow("variable") << 1 << "effect=1&param1=0&param2=255&param3=255&param_xy=(0,0,0)&num_colors=0";
        QTest::newRow("color wash") << 2 << "effect=2&param1=1&param2=0&param_xy=(0,0,0)&num_colors=0";
        QTest::newRow("rainbow") << 3 << "effect=3&param1=1&param2=0&param3=4&param_xy=(0,0,0)" + twoColors;
        QTest::newRow("custom") << 4 << "effect=4&param1=1&param2=0&param3=1&param_xy=(0,0,0)" + twoColors;
        QTest::newRow("random") << 5 << "effect=5&param1=1&param2=0&param_xy=(0,0,0)&num_colors=0";
        QTest::newRow("rgb white") << 6 << "effect=6&param1=0&param2=255&param_xy=(0,0,0)&num_colors=0";
        QTest::newRow("duo white") << 7 << "effect=7&param1=0&param2=255&param_xy=(0,0,0)&num_colors=0";
    }

    void queryTextOfEveryKind() {
        QFETCH(int, type);
        QFETCH(QString, expected);
        MSPScene scene;
        scene.setEffect(MSPEffectFactory::instance()->create(type, nullptr), false);
        QCOMPARE(scene.PostData(), expected);
    }

    void queryTextExamples() {
        MSPScene scene;
        auto* wash = new MSPColorWashEffect;
        wash->setSpeed(5);
        wash->setDirection(1);
        scene.setEffect(wash, false);
        QCOMPARE(scene.PostData(), QStringLiteral("effect=2&param1=5&param2=1&param_xy=(0,0,0)&num_colors=0"));

        auto* fixed = new MSPFixedColorEffect;
        fixed->setColor(yxy(1, 0.25, 0.5).aName());
        scene.setEffect(fixed, false);
        QVERIFY2(scene.PostData().contains(QLatin1String("&param_xy=(2500,5000,1000)&num_colors=0")),
                 qPrintable(scene.PostData()));
        // Single precision: 0.329 is held as 0.32899999... and truncates to 3289.
        fixed->setColor(yxy(1, 0.25, 0.329).aName());
        QVERIFY2(scene.PostData().contains(QLatin1String("&param_xy=(2500,3289,1000)")), qPrintable(scene.PostData()));
    }

    void colorGroupsCarryChromaticity() {
        SystemConfiguration* config = SystemConfiguration::instance();
        MSPScene scene;
        auto* wash = new MSPCustomWashEffect;
        const ZelColor chromatic = yxy(0.5, 0.25, 0.375);
        wash->setColorList({QStringLiteral("#0a141e"), chromatic.aName()});
        scene.setEffect(wash, false);

        for (int profile : {0, 6, 8}) {
            config->setFixtureClass(profile, false);
            int bytes[3];
            MSPEffect::deviceBytes(chromatic, profile, bytes);
            const QString expected = QStringLiteral("effect=4&param1=1&param2=0&param3=1&param_xy=(0,0,0)&num_colors=2"
                                                    "&color1=(10,20,30)&custom_xy_1=(0,0,0)"
                                                    "&color2=(%1,%2,%3)&custom_xy_2=(2500,3750,500)")
                                         .arg(bytes[0])
                                         .arg(bytes[1])
                                         .arg(bytes[2]);
            QCOMPARE(scene.PostData(), expected);
        }
        int dual[3];
        int plain[3];
        MSPEffect::deviceBytes(chromatic, 6, dual);
        MSPEffect::deviceBytes(chromatic, 0, plain);
        QVERIFY(dual[0] != plain[0] || dual[1] != plain[1] || dual[2] != plain[2]);
    }

    void showElementExample() {
        MSPScene scene;
        scene.setURL(QStringLiteral("/api/v1/shows/3"));
        auto* wash = new MSPColorWashEffect;
        wash->setSpeed(5);
        wash->setDirection(1);
        scene.setEffect(wash, false);
        QCOMPARE(scene.XMLData(), QStringLiteral("<show><url>/api/v1/shows/3</url>\n<effect>2</effect>\n"
                                                 "<parameters><param>5</param><param>1</param><param>0</param>"
                                                 "<by>0</by><x>0</x><y>0</y></parameters><numColors>0</numColors>\n"
                                                 "<customColors>") +
                                      zeroColor.repeated(6) + QStringLiteral("\n</customColors>\n</show>"));
    }

    void showElementWithColors() {
        MSPScene scene;
        scene.setURL(QStringLiteral("/api/v1/shows/8"));
        auto* wash = new MSPCustomWashEffect;
        // A luminance beyond 32.767 does not fit the document's signed field; the query's is unsigned.
        wash->setColorList({QStringLiteral("#0a141e"), yxy(40, 0.25, 0.375).aName()});
        wash->setWidth(7);
        scene.setEffect(wash, false);
        int bytes[3];
        MSPEffect::deviceBytes(ZelColor(wash->colorList().at(1)), 0, bytes);
        const QString expected =
            QStringLiteral("<show><url>/api/v1/shows/8</url>\n<effect>4</effect>\n"
                           "<parameters><param>1</param><param>0</param><param>7</param>"
                           "<by>0</by><x>0</x><y>0</y></parameters><numColors>2</numColors>\n<customColors>"
                           "<color>\n<red>10</red>\n<grn>20</grn>\n<blu>30</blu>\n<by>0</by><x>0</x><y>0</y> </color>"
                           "<color>\n<red>%1</red>\n<grn>%2</grn>\n<blu>%3</blu>\n"
                           "<by>-25536</by><x>2500</x><y>3750</y> </color>")
                .arg(bytes[0])
                .arg(bytes[1])
                .arg(bytes[2]) +
            zeroColor.repeated(4) + QStringLiteral("\n</customColors>\n</show>");
        QCOMPARE(scene.XMLData(), expected);
        QVERIFY(scene.PostData().endsWith(QLatin1String("&custom_xy_2=(2500,3750,40000)")));
    }

    void everyShowHasThreeParamsAndSixColors() {
        for (int type = 0; type < MSPEffect::typeCount; ++type) {
            MSPScene scene;
            scene.setURL(QStringLiteral("/api/v1/shows/1"));
            scene.setEffect(MSPEffectFactory::instance()->create(type, nullptr), false);
            const QString text = scene.XMLData();
            QCOMPARE(text.count(QLatin1String("<param>")), 3);
            QCOMPARE(text.count(QLatin1String("<color>")), 6);
            QCOMPARE(text.count(QLatin1String("</color>")), 6);
        }
    }

    void markupInUrlIsEscaped() {
        MSPScene scene;
        scene.setURL(QStringLiteral("/api/v1/shows/1?a<b&c"));
        scene.setEffect(MSPEffectFactory::instance()->create(5, nullptr), false);
        QVERIFY(scene.XMLData().startsWith(QLatin1String("<show><url>/api/v1/shows/1?a&lt;b&amp;c</url>\n")));
    }
};

LUMETTO_TEST_MAIN_CORE(TestMSPScene, "tst_MSPScene")
#include "tst_MSPScene.moc"

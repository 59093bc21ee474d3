#include "TestEnvironment.h"

#include "EffectPreviewWidget.h"
#include "LightRowsWidget.h"
#include "MSPCustomWashEffect.h"
#include "MSPEffectFactory.h"
#include "MSPFixedColorEffect.h"
#include "MSPRandomColorEffect.h"
#include "MSPWhiteEffect.h"

#include <QComboBox>
#include <QLabel>
#include <QToolButton>

#include <memory>

namespace {

// Each kind as a lighting person might set it up.
std::unique_ptr<MSPEffect> example(int type) {
    std::unique_ptr<MSPEffect> effect(MSPEffectFactory::instance()->create(type, nullptr));
    if (auto* fixed = qobject_cast<MSPFixedColorEffect*>(effect.get()))
        fixed->setColor(type == MSPEffect::FixedColor ? QStringLiteral("#ff6a00") : QStringLiteral("#3cb4ff"));
    if (auto* wash = qobject_cast<MSPColorWashEffect*>(effect.get()))
        wash->setSpeed(20);
    if (auto* custom = qobject_cast<MSPCustomWashEffect*>(effect.get())) {
        custom->setWidth(type == MSPEffect::CustomWash ? 4 : 5);
        custom->setColorList({QStringLiteral("#ff0000"), QStringLiteral("#ffd400"), QStringLiteral("#0050ff")});
    }
    if (auto* random = qobject_cast<MSPRandomColorEffect*>(effect.get())) {
        random->setSpeed(31);
        random->setFade(true);
    }
    if (auto* white = qobject_cast<MSPWhiteEffect*>(effect.get())) {
        white->setTemperature(type == MSPEffect::RgbWhite ? 170 : 128);
        white->setBrightness(80);
    }
    return effect;
}

} // namespace

class TestEffectPreview : public QObject {
    Q_OBJECT

private slots:
    // Every kind, paused at a moment that shows what it does: the picture shows the frame's
    // colours light for light. LUMETTO_SCREENSHOT_DIR keeps the pictures for a person to look at.
    void picturesOfEveryKind() {
        for (int type = 0; type < MSPEffect::typeCount; ++type) {
            auto effect = example(type);
            EffectPreviewWidget preview;
            preview.resize(720, preview.sizeHint().height());
            // Duo white on the fixture it is made for.
            preview.setLightLayout({4, 60, type == MSPEffect::DuoWhite ? 6 : 0});
            preview.showScene(type + 1, effect.get());
            preview.setPlaying(false);
            // Half way through a random colour's fade, a wash a little way along.
            preview.setSceneSeconds(type == MSPEffect::RandomColor ? 1.0 : 2.25);
            preview.show();
            QVERIFY(QTest::qWaitForWindowExposed(&preview));
            QCOMPARE(preview.findChild<QLabel*>("sceneLabel")->text(),
                     QStringLiteral("Scene %1: %2").arg(type + 1).arg(MSPEffect::nameForType(type)));
            auto* lights = preview.findChild<LightRowsWidget*>("previewLights");
            const QImage picture = lights->grab().toImage();
            QCOMPARE(lights->cells().size(), 4 * 60);
            for (const LightRowsWidget::Cell& cell : lights->cells())
                QCOMPARE(picture.pixelColor(cell.rect.center()), QColor(preview.frame().at(cell.index).screen));
            TestSupport::keepPicture(&preview,
                                     "preview-" + MSPEffect::nameForType(type).toLower().replace(' ', '-') + ".png");
        }
    }

    // Lights that do not fit are thinned evenly, first and last kept; those that fit are all there.
    void thinning() {
        QCOMPARE(LightRowsWidget::shownLights(20, 300).size(), 20);
        const QVector<int> thinned = LightRowsWidget::shownLights(170, 300);
        QCOMPARE(thinned.size(), 100);
        QCOMPARE(thinned.last(), 169);
        for (int j = 1; j < thinned.size(); ++j)
            QVERIFY(thinned.at(j) - thinned.at(j - 1) == 1 || thinned.at(j) - thinned.at(j - 1) == 2);
    }

    // Moving lights run a timer only while they are shown and playing; lights that do not change
    // wake the preview at most once a second, for its clock.
    void timersOnlyWhilePlayingAndShown() {
        auto effect = example(MSPEffect::ColorWash);
        EffectPreviewWidget preview;
        preview.setLightLayout({2, 30, 0});
        preview.showScene(3, effect.get());
        QVERIFY(!preview.isAnimating());
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QVERIFY(preview.isAnimating());

        auto* play = preview.findChild<QToolButton*>("playButton");
        QTest::mouseClick(play, Qt::LeftButton);
        QVERIFY(!preview.isAnimating());
        const double paused = preview.sceneSeconds();
        QCoreApplication::processEvents();
        QCOMPARE(preview.sceneSeconds(), paused);
        QTest::mouseClick(play, Qt::LeftButton);
        QVERIFY(preview.isAnimating());

        preview.hide();
        QVERIFY(!preview.isAnimating());
        preview.show();
        QVERIFY(preview.isAnimating());

        auto still = example(MSPEffect::FixedColor);
        preview.showScene(1, still.get());
        const auto* timer = preview.findChild<QTimer*>("previewTimer");
        QVERIFY(timer->remainingTime() <= 1000);
        QVERIFY(timer->remainingTime() >= 1000 * (std::ceil(preview.sceneSeconds()) - preview.sceneSeconds()) - 50);
    }

    // Time-lapse plays scene time faster than the wall; restart goes back to the scene's start;
    // new parameters, or a new effect, for the same scene show at once without restarting it.
    void clock() {
        auto effect = example(MSPEffect::CustomWash);
        EffectPreviewWidget preview;
        preview.setLightLayout({1, 24, 0});
        preview.showScene(5, effect.get());
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));

        auto* box = preview.findChild<QComboBox*>("timeLapseBox");
        QSignalSpy chosen(&preview, &EffectPreviewWidget::timeLapseChanged);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_End);
        QCOMPARE(chosen.value(0).value(0).toInt(), 60);
        QElapsedTimer wall;
        wall.start();
        // Six seconds of a scene take a tenth of a second at 60x.
        QTRY_VERIFY(preview.sceneSeconds() >= 6.0);
        QVERIFY2(wall.elapsed() < 3000, qPrintable(QString::number(wall.elapsed())));

        QTest::mouseClick(preview.findChild<QToolButton*>("restartButton"), Qt::LeftButton);
        QVERIFY(preview.sceneSeconds() < 1.0);

        preview.setPlaying(false);
        preview.setSceneSeconds(2.0);
        const EffectRenderer::Frame before = preview.frame();
        qobject_cast<MSPCustomWashEffect*>(effect.get())->setWidth(1);
        preview.showScene(5, effect.get());
        QCOMPARE(preview.sceneSeconds(), 2.0);
        QVERIFY(preview.frame() != before);
        auto rainbow = example(MSPEffect::RainbowWash);
        preview.showScene(5, rainbow.get());
        QCOMPARE(preview.sceneSeconds(), 2.0);
        // Another scene starts from its beginning.
        preview.showScene(4, rainbow.get());
        QCOMPARE(preview.sceneSeconds(), 0.0);
    }
};

LUMETTO_TEST_MAIN(TestEffectPreview, "LumettoTestEffectPreview")
#include "tst_effectpreview.moc"

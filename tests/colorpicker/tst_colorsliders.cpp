#include "CCTPickerWidget.h"
#include "ColorTempSliderWidget.h"
#include "ColorTintSliderWidget.h"
#include "DmxSliderWidget.h"
#include "DmxSlidersWidget.h"
#include "HsbSlidersWidget.h"
#include "IntensitySliderWidget.h"
#include "OpacitySliderWidget.h"
#include "RgbSlidersWidget.h"
#include "TestEnvironment.h"
#include "TintPickerWidget.h"
#include "ZoomControlWidget.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>

using namespace ZelColorPickerLib;

namespace {

template <typename T>
T* child(QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qWarning("missing child %s", name);
    return found;
}

// Return is pressed only for spin boxes without keyboard tracking: Qt emits the value again on it.
void typeInto(QSpinBox* spinBox, const QString& text) {
    spinBox->setFocus();
    spinBox->selectAll();
    QTest::keyClicks(spinBox, text);
    if (!spinBox->keyboardTracking())
        QTest::keyClick(spinBox, Qt::Key_Return);
}

} // namespace

class TestColorSliders : public QObject {
    Q_OBJECT

private slots:
    void rgbSlidersRoundAndLabel();
    void rgbSlidersUserChangesEmitOnce();
    void hsbSlidersShowAndEmitHsb();
    void opacityAndIntensityFollowTheirControls();
    void colorTempRoundsDownToTheStep();
    void cctBarMapsMouseKeysAndWheel();
    void tintBarMapsMouseAndKeys();
    void dmxGroupBuildsOneSliderPerChannel();
    void zoomControlStepsWithinItsRange();
};

void TestColorSliders::rgbSlidersRoundAndLabel() {
    RgbSlidersWidget sliders;
    QSignalSpy spy(&sliders, &ColorSlidersWidget::colorChanged);
    sliders.setColor(ZelColor::fromRgbF(0.5, 1.0, 0.0));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(child<QSpinBox>(&sliders, "redSpinBox")->value(), 128);
    QCOMPARE(child<QSlider>(&sliders, "redSlider")->value(), 128);
    QCOMPARE(child<QLabel>(&sliders, "redPercentLabel")->text(), QStringLiteral("50.2%"));
    QCOMPARE(child<QLabel>(&sliders, "greenPercentLabel")->text(), QStringLiteral("100.0%"));
    QCOMPARE(child<QLabel>(&sliders, "bluePercentLabel")->text(), QStringLiteral("0.0%"));
    QCOMPARE(child<QLabel>(&sliders, "redLabel")->text(), QStringLiteral("R:"));
    QCOMPARE(child<QSlider>(&sliders, "blueSlider")->maximum(), 255);
    QCOMPARE(child<QSlider>(&sliders, "blueSlider")->tickPosition(), QSlider::NoTicks);
    // Just below a half rounds down.
    sliders.setColor(ZelColor::fromRgb16(32767, 0, 0));
    QCOMPARE(sliders.red(), 127);
    QCOMPARE(ColorSlidersWidget::percentText(1), QStringLiteral("0.4%"));
}

void TestColorSliders::rgbSlidersUserChangesEmitOnce() {
    RgbSlidersWidget sliders;
    sliders.setColor(ZelColor::fromRgb8(10, 20, 30));
    sliders.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sliders));
    QSignalSpy spy(&sliders, &ColorSlidersWidget::colorChanged);
    auto* green = child<QSlider>(&sliders, "greenSlider");
    green->setFocus();
    QTest::keyClick(green, Qt::Key_Right);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.last().at(0).value<ZelColor>(), ZelColor::fromRgb8(10, 21, 30));
    QCOMPARE(child<QSpinBox>(&sliders, "greenSpinBox")->value(), 21);
    QCOMPARE(child<QLabel>(&sliders, "greenPercentLabel")->text(), QStringLiteral("8.2%"));

    typeInto(child<QSpinBox>(&sliders, "blueSpinBox"), QStringLiteral("255"));
    QCOMPARE(spy.last().at(0).value<ZelColor>(), ZelColor::fromRgb8(10, 21, 255));
    QCOMPARE(child<QSlider>(&sliders, "blueSlider")->value(), 255);
    // Typing "255" goes through 2 and 25 on the way: one signal each, none echoed.
    QCOMPARE(spy.count(), 4);
}

void TestColorSliders::hsbSlidersShowAndEmitHsb() {
    HsbSlidersWidget sliders;
    sliders.setColor(ZelColor::fromRgb8(0, 0, 255));
    QCOMPARE(child<QSpinBox>(&sliders, "hueSpinBox")->value(), 240);
    QCOMPARE(child<QSpinBox>(&sliders, "hueSpinBox")->maximum(), 359);
    QCOMPARE(child<QSpinBox>(&sliders, "saturationSpinBox")->value(), 255);
    QCOMPARE(child<QLabel>(&sliders, "brightnessPercentLabel")->text(), QStringLiteral("100.0%"));
    QCOMPARE(child<QLabel>(&sliders, "brightnessLabel")->text(), QStringLiteral("V:"));
    QVERIFY(!sliders.findChild<QLabel*>(QStringLiteral("huePercentLabel")));

    sliders.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sliders));
    QSignalSpy spy(&sliders, &ColorSlidersWidget::colorChanged);
    auto* brightness = child<QSlider>(&sliders, "brightnessSlider");
    brightness->setFocus();
    QTest::keyClick(brightness, Qt::Key_Home);
    QCOMPARE(spy.count(), 1);
    const ZelColor black = spy.last().at(0).value<ZelColor>();
    QCOMPARE(black.spec(), int(ZelColor::Hsb));
    // Black keeps the hue it was picked with.
    QCOMPARE(black.hue8(), 240);
    QCOMPARE(black.value8(), 0);
}

void TestColorSliders::opacityAndIntensityFollowTheirControls() {
    OpacitySliderWidget opacity;
    QSignalSpy spy(&opacity, &OpacitySliderWidget::opacityChanged);
    opacity.setOpacity(128);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(child<QLabel>(&opacity, "opacityPercentLabel")->text(), QStringLiteral("50.2%"));
    QCOMPARE(child<QLabel>(&opacity, "opacityLabel")->text(), QStringLiteral("Opacity:"));
    opacity.show();
    QVERIFY(QTest::qWaitForWindowExposed(&opacity));
    typeInto(child<QSpinBox>(&opacity, "opacitySpinBox"), QStringLiteral("64"));
    QCOMPARE(spy.last().at(0).toInt(), 64);
    QCOMPARE(child<QSlider>(&opacity, "opacitySlider")->value(), 64);
    QCOMPARE(opacity.opacity(), 64);

    IntensitySliderWidget intensity;
    QSignalSpy intensitySpy(&intensity, &IntensitySliderWidget::intensityChanged);
    intensity.setIntensity(300);
    QCOMPARE(intensity.intensity(), 255);
    QCOMPARE(intensitySpy.count(), 0);
    intensity.show();
    QVERIFY(QTest::qWaitForWindowExposed(&intensity));
    auto* slider = child<QSlider>(&intensity, "intensitySlider");
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_PageDown);
    QCOMPARE(intensitySpy.count(), 1);
    QCOMPARE(child<QSpinBox>(&intensity, "intensitySpinBox")->value(), slider->value());
}

void TestColorSliders::colorTempRoundsDownToTheStep() {
    ColorTempSliderWidget temp;
    auto* spinBox = child<QSpinBox>(&temp, "colorTempSpinBox");
    QCOMPARE(spinBox->value(), 4000);
    QCOMPARE(spinBox->suffix(), QStringLiteral(" K"));
    QCOMPARE(spinBox->minimum(), 2000);
    QCOMPARE(spinBox->maximum(), 10000);
    QCOMPARE(child<QLabel>(&temp, "cctLabel")->text(), QStringLiteral("CCT"));
    temp.show();
    QVERIFY(QTest::qWaitForWindowExposed(&temp));
    QSignalSpy spy(&temp, &ColorTempSliderWidget::colorTempChanged);
    // Typed digit by digit, emitted once when the value is entered.
    typeInto(spinBox, QStringLiteral("4049"));
    QCOMPARE(spy.count(), 1);
    const int expected = 4049 / temp.step() * temp.step();
    QCOMPARE(spy.last().at(0).toInt(), expected);
    QCOMPARE(spinBox->value(), expected);
    QCOMPARE(child<CCTPickerWidget>(&temp, "cctPickerWidget")->value(), expected);

    temp.setColorTemp(6500);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spinBox->value(), 6500);
}

void TestColorSliders::cctBarMapsMouseKeysAndWheel() {
    CCTPickerWidget bar;
    bar.setRange(2000, 10000);
    bar.setStep(50);
    bar.resize(222, 22);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy spy(&bar, &CCTPickerWidget::cctChanged);
    QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(5, 10));
    QCOMPARE(bar.value(), 10000);
    QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(221, 10));
    QCOMPARE(bar.value(), 2000);
    // Half way: t = 100 / 200.
    QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(111, 10));
    QCOMPARE(bar.value(), 6000);
    QCOMPARE(spy.count(), 3);

    QTest::keyClick(&bar, Qt::Key_Left);
    QCOMPARE(bar.value(), 6050);
    QTest::keyClick(&bar, Qt::Key_Down);
    QCOMPARE(bar.value(), 6100);
    QTest::keyClick(&bar, Qt::Key_Right);
    QTest::keyClick(&bar, Qt::Key_Up);
    QCOMPARE(bar.value(), 6000);

    QWheelEvent up(QPointF(50, 10), QPointF(bar.mapToGlobal(QPoint(50, 10))), QPoint(), QPoint(0, 240), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&bar, &up);
    QCOMPARE(bar.value(), 6100);
    bar.setValue(9990);
    QTest::keyClick(&bar, Qt::Key_Left);
    QCOMPARE(bar.value(), 10000);
    // Nothing changes at the limit, so nothing is emitted.
    const int before = spy.count();
    QTest::keyClick(&bar, Qt::Key_Left);
    QCOMPARE(spy.count(), before);
}

void TestColorSliders::tintBarMapsMouseAndKeys() {
    ColorTintSliderWidget slider;
    auto* bar = child<TintPickerWidget>(&slider, "tintPickerWidget");
    auto* spinBox = child<QSpinBox>(&slider, "colorTintSpinBox");
    QCOMPARE(child<QLabel>(&slider, "tintLabel")->text(), QStringLiteral("Tint"));
    QCOMPARE(spinBox->minimum(), bar->minimum());
    QCOMPARE(spinBox->maximum(), bar->maximum());
    slider.resize(60, 260);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    QSignalSpy spy(&slider, &ColorTintSliderWidget::colorTintChanged);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(8, 2));
    QCOMPARE(spy.last().at(0).toInt(), bar->maximum());
    QCOMPARE(spinBox->value(), bar->maximum());
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(8, bar->height() - 1));
    QCOMPARE(spy.last().at(0).toInt(), bar->minimum());
    bar->setValue(0);
    QTest::keyClick(bar, Qt::Key_Up);
    QTest::keyClick(bar, Qt::Key_Right);
    QCOMPARE(bar->value(), 2);
    QTest::keyClick(bar, Qt::Key_Down);
    QCOMPARE(bar->value(), 1);
    QCOMPARE(spinBox->value(), 1);
    QCOMPARE(spy.count(), 5);
    slider.setColorTint(-50);
    QCOMPARE(spy.count(), 5);
    QCOMPARE(bar->value(), -50);
}

void TestColorSliders::dmxGroupBuildsOneSliderPerChannel() {
    DmxSlidersWidget group;
    group.buildSliders({QStringLiteral("Red"), QStringLiteral("Green"), QStringLiteral("Blue")});
    QCOMPARE(group.sliderCount(), 3);
    QCOMPARE(group.findChildren<DmxSliderWidget*>().size(), 3);
    group.setValues({10, 20, 30});
    QSignalSpy spy(&group, &DmxSlidersWidget::dmxChanged);
    QCOMPARE(spy.count(), 0);
    group.show();
    QVERIFY(QTest::qWaitForWindowExposed(&group));
    const auto sliders = group.findChildren<QSpinBox*>(QStringLiteral("dmxSpinBox"));
    QCOMPARE(sliders.size(), 3);
    typeInto(sliders.at(1), QStringLiteral("7"));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.last().at(0).value<QVector<int>>(), (QVector<int>{10, 7, 30}));
    auto* third = group.findChildren<QSlider*>(QStringLiteral("dmxSlider")).at(2);
    third->setFocus();
    QTest::keyClick(third, Qt::Key_End);
    QCOMPARE(spy.last().at(0).value<QVector<int>>(), (QVector<int>{10, 7, 255}));
    QCOMPARE(group.findChildren<QLabel*>(QStringLiteral("dmxSliderLabel")).at(0)->text(), QStringLiteral("Red"));

    group.buildSliders({QStringLiteral("Warm"), QStringLiteral("Cool")});
    QCOMPARE(group.findChildren<DmxSliderWidget*>().size(), 2);
    QCOMPARE(group.values(), (QVector<int>{0, 0}));
}

void TestColorSliders::zoomControlStepsWithinItsRange() {
    ZoomControlWidget zoom;
    zoom.setRange(1, 9);
    zoom.setZoomLevel(8);
    QSignalSpy spy(&zoom, &ZoomControlWidget::zoomLevelChanged);
    auto* in = child<QToolButton>(&zoom, "zoomInButton");
    auto* out = child<QToolButton>(&zoom, "zoomOutButton");
    QCOMPARE(in->size(), QSize(24, 24));
    QCOMPARE(in->iconSize(), QSize(14, 14));
    QVERIFY(!in->icon().isNull());
    zoom.show();
    QVERIFY(QTest::qWaitForWindowExposed(&zoom));
    QTest::mouseClick(in, Qt::LeftButton);
    QTest::mouseClick(in, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(zoom.zoomLevel(), 9);
    QTest::mouseClick(out, Qt::LeftButton);
    QCOMPARE(spy.last().at(0).toInt(), 8);
}

LUMETTO_TEST_MAIN(TestColorSliders, "tst_colorsliders")
#include "tst_colorsliders.moc"

#include "CCTPickerWidget.h"
#include "ColorTempSliderWidget.h"
#include "ColorTintSliderWidget.h"
#include "DmxSliderWidget.h"
#include "HsbSlidersWidget.h"
#include "IntensitySliderWidget.h"
#include "OpacitySliderWidget.h"
#include "RgbSlidersWidget.h"
#include "TestEnvironment.h"
#include "TintPickerWidget.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace ZelColorPickerLib;

namespace {

using TestSupport::child;

void press(QWidget* widget, Qt::Key key) {
    widget->setFocus();
    QTest::keyClick(widget, key);
}

ZelColor colorArg(const QSignalSpy& spy) {
    return spy.last().at(0).value<ZelColor>();
}

} // namespace

class TestColorSliders : public QObject {
    Q_OBJECT

private slots:
    void percentLabelsRound_data();
    void percentLabelsRound();
    void userChangesEmitOnceAndSetValuesNever();
    void temperatureAndTintBars();
    void typedNumbersGoOutFinished_data();
    void typedNumbersGoOutFinished();
};

void TestColorSliders::percentLabelsRound_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "0.0%";
    QTest::newRow("1") << 1 << "0.4%";
    QTest::newRow("128") << 128 << "50.2%";
    QTest::newRow("255") << 255 << "100.0%";
}

void TestColorSliders::percentLabelsRound() {
    QFETCH(int, value);
    QFETCH(QString, text);
    RgbSlidersWidget sliders;
    sliders.setColor(ZelColor::fromRgb16(value * 257, 32767, 0)); // just below a half rounds down
    QCOMPARE(child<QLabel>(&sliders, "redPercentLabel")->text(), text);
    QCOMPARE(child<QSlider>(&sliders, "redSlider")->value(), value);
    QCOMPARE(sliders.green(), 127);
    OpacitySliderWidget opacity;
    opacity.setOpacity(value);
    QCOMPARE(child<QLabel>(&opacity, "opacityPercentLabel")->text(), text);
}

void TestColorSliders::userChangesEmitOnceAndSetValuesNever() {
    QWidget window;
    auto* rgb = new RgbSlidersWidget(&window);
    auto* hsb = new HsbSlidersWidget(&window);
    auto* intensity = new IntensitySliderWidget(&window);
    QSignalSpy rgbSpy(rgb, &ColorSlidersWidget::colorChanged);
    QSignalSpy hsbSpy(hsb, &ColorSlidersWidget::colorChanged);
    QSignalSpy intensitySpy(intensity, &IntensitySliderWidget::intensityChanged);
    rgb->setColor(ZelColor::fromRgb8(10, 20, 30));
    hsb->setColor(ZelColor::fromRgb8(0, 0, 255));
    intensity->setIntensity(300);
    QCOMPARE(rgbSpy.count() + hsbSpy.count() + intensitySpy.count(), 0);
    QCOMPARE(intensity->intensity(), 255);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    press(child<QSlider>(rgb, "greenSlider"), Qt::Key_Right);
    QCOMPARE(rgbSpy.count(), 1);
    QCOMPARE(colorArg(rgbSpy), ZelColor::fromRgb8(10, 21, 30));

    // Black keeps the hue it was picked with.
    press(child<QSlider>(hsb, "brightnessSlider"), Qt::Key_Home);
    QCOMPARE(hsbSpy.count(), 1);
    QCOMPARE(colorArg(hsbSpy).spec(), int(ZelColor::Hsb));
    QCOMPARE(colorArg(hsbSpy).hue8(), 240);
    QCOMPARE(colorArg(hsbSpy).value8(), 0);

    auto* slider = child<QSlider>(intensity, "intensitySlider");
    press(slider, Qt::Key_PageDown);
    QCOMPARE(intensitySpy.count(), 1);
    QCOMPARE(child<QSpinBox>(intensity, "intensitySpinBox")->value(), slider->value());
}

void TestColorSliders::temperatureAndTintBars() {
    // A typed temperature goes out once, rounded down to the step, and moves the bar.
    ColorTempSliderWidget temp;
    temp.show();
    QVERIFY(QTest::qWaitForWindowExposed(&temp));
    QSignalSpy tempSpy(&temp, &ColorTempSliderWidget::colorTempChanged);
    TestSupport::typeInto(child<QSpinBox>(&temp, "colorTempSpinBox"), QStringLiteral("4049"));
    const int expected = 4049 / temp.step() * temp.step();
    QCOMPARE(tempSpy.count(), 1);
    QCOMPARE(tempSpy.last().at(0).toInt(), expected);
    QCOMPARE(child<CCTPickerWidget>(&temp, "cctPickerWidget")->value(), expected);
    temp.setColorTemp(6500);
    QCOMPARE(tempSpy.count(), 1);

    // The bar runs from warm on the right to cold on the left; keys and wheel step it.
    CCTPickerWidget bar;
    bar.setRange(2000, 10000);
    bar.setStep(50);
    bar.resize(222, 22);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy spy(&bar, &CCTPickerWidget::cctChanged);
    const QList<QPair<int, int>> clicks = {{5, 10000}, {221, 2000}, {111, 6000}};
    for (const auto& [x, cct] : clicks) {
        QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(x, 10));
        QCOMPARE(bar.value(), cct);
    }
    QTest::keyClick(&bar, Qt::Key_Left);
    QTest::keyClick(&bar, Qt::Key_Down);
    QCOMPARE(bar.value(), 6100);
    QTest::keyClick(&bar, Qt::Key_Right);
    QCOMPARE(bar.value(), 6050);
    TestSupport::wheel(&bar, 240, QPoint(50, 10));
    QCOMPARE(bar.value(), 6150);
    bar.setValue(9990);
    QTest::keyClick(&bar, Qt::Key_Left);
    QCOMPARE(bar.value(), 10000);
    // Nothing changes at the limit, so nothing is emitted.
    const int before = spy.count();
    QTest::keyClick(&bar, Qt::Key_Left);
    QCOMPARE(spy.count(), before);

    ColorTintSliderWidget tint;
    auto* tintBar = child<TintPickerWidget>(&tint, "tintPickerWidget");
    tint.resize(60, 260);
    tint.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tint));
    QSignalSpy tintSpy(&tint, &ColorTintSliderWidget::colorTintChanged);
    QTest::mouseClick(tintBar, Qt::LeftButton, Qt::NoModifier, QPoint(8, 2));
    QCOMPARE(child<QSpinBox>(&tint, "colorTintSpinBox")->value(), tintBar->maximum());
    QTest::mouseClick(tintBar, Qt::LeftButton, Qt::NoModifier, QPoint(8, tintBar->height() - 1));
    QCOMPARE(tintSpy.last().at(0).toInt(), tintBar->minimum());
    tintBar->setValue(0);
    QTest::keyClick(tintBar, Qt::Key_Up);
    QTest::keyClick(tintBar, Qt::Key_Right);
    QTest::keyClick(tintBar, Qt::Key_Down);
    QCOMPARE(child<QSpinBox>(&tint, "colorTintSpinBox")->value(), 1);
    QCOMPARE(tintSpy.count(), 5);
    tint.setColorTint(-50);
    QCOMPARE(tintSpy.count(), 5);
}

void TestColorSliders::typedNumbersGoOutFinished_data() {
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("spinBox");
    QTest::addColumn<QByteArray>("signal");
    const QByteArray color = SIGNAL(colorChanged(ZelColor));
    for (const char* name : {"red", "green", "blue"})
        QTest::newRow(name) << "rgb" << QString::fromLatin1(name) + "SpinBox" << color;
    for (const char* name : {"hue", "saturation", "brightness"})
        QTest::newRow(name) << "hsb" << QString::fromLatin1(name) + "SpinBox" << color;
    QTest::newRow("opacity") << "opacity"
                             << "opacitySpinBox" << QByteArray(SIGNAL(opacityChanged(int)));
    QTest::newRow("intensity") << "intensity"
                               << "intensitySpinBox" << QByteArray(SIGNAL(intensityChanged(int)));
    QTest::newRow("channel") << "dmx"
                             << "dmxSpinBox" << QByteArray(SIGNAL(valueChanged(int)));
}

// Typing "128" must not light the fixture at 1 and 12 on the way: the number goes out on Enter or
// on leaving the box; the arrows and the wheel still send each step.
void TestColorSliders::typedNumbersGoOutFinished() {
    QFETCH(QString, widget);
    QFETCH(QString, spinBox);
    QFETCH(QByteArray, signal);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    QWidget* sliders = nullptr;
    if (widget == QLatin1String("rgb"))
        sliders = new RgbSlidersWidget(&window);
    else if (widget == QLatin1String("hsb"))
        sliders = new HsbSlidersWidget(&window);
    else if (widget == QLatin1String("opacity"))
        sliders = new OpacitySliderWidget(&window);
    else if (widget == QLatin1String("intensity"))
        sliders = new IntensitySliderWidget(&window);
    else
        sliders = new DmxSliderWidget(&window);
    auto* other = new QLineEdit(&window);
    layout->addWidget(sliders);
    layout->addWidget(other);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* box = sliders->findChild<QSpinBox*>(spinBox);
    QVERIFY(box);
    QSignalSpy spy(sliders, signal.constData());

    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("128"));
    QCOMPARE(spy.count(), 0);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(box->value(), 128);

    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("64"));
    QCOMPARE(spy.count(), 1);
    QTest::mouseClick(other, Qt::LeftButton);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(box->value(), 64);

    box->setFocus();
    QTest::keyClick(box, Qt::Key_Up);
    QCOMPARE(spy.count(), 3);
    TestSupport::wheel(box, 120, QPoint(5, 5));
    QCOMPARE(spy.count(), 4);
    QCOMPARE(box->value(), 66);
}

LUMETTO_TEST_MAIN(TestColorSliders, "tst_colorsliders")
#include "tst_colorsliders.moc"

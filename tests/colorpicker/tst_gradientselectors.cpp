#include "HsbSpectrumWidget.h"
#include "HsbSpectrumZoomWidget.h"
#include "HsbTintsAndShadesWidget.h"
#include "TestEnvironment.h"

#include <QSignalSpy>

using namespace ZelColorPickerLib;

namespace {

ZelColor hsb8(int hue, int saturation, int value) {
    ZelColor color;
    color.setHsv8(hue, saturation, value);
    return color;
}

// A move with the left button held, as a drag sends it.
void dragTo(QWidget* widget, const QPoint& pos) {
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

ZelColor lastColor(const QSignalSpy& spy) {
    return spy.last().at(0).value<ZelColor>();
}

} // namespace

class TestGradientSelectors : public QObject {
    Q_OBJECT

private slots:
    void spectrumMapsClicksToHueAndSaturation();
    void spectrumKeysStepAndClamp();
    void spectrumDragClampsOutsideTheRectangle();
    void tintsSquareMapsBrightnessAndKeepsItsHue();
    void tintsSquareGivesGreyHueZero();
    void limitedTrackingPicksOnlyAfterARelease();
    void zoomGridCountsCellsAndComputesTheArea();
    void zoomGridOutOfRangeCellsAreGreyAndInert();
    void zoomGridKeysMoveTheSelectionThenTheCentre();
    void zoomLevelsFollowTheTable();
};

void TestGradientSelectors::spectrumMapsClicksToHueAndSaturation() {
    HsbSpectrumWidget spectrum;
    spectrum.resize(248, 158);
    spectrum.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spectrum));
    const QRect r = spectrum.drawingRect();
    QCOMPARE(r.topLeft(), QPoint(4, 4));
    QSignalSpy spy(&spectrum, &GradientColorSelectorWidget::colorChanged);

    // The right edge gives the largest hue below a full turn, never 1.0 (which is red again).
    QTest::mouseClick(&spectrum, Qt::LeftButton, Qt::NoModifier, QPoint(r.left() + r.width(), r.top()));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spectrum.hue(), 0.9999);
    QCOMPARE(spectrum.saturation(), 1.0);

    QTest::mouseClick(&spectrum, Qt::LeftButton, Qt::NoModifier, QPoint(r.left(), r.top() + r.height()));
    QCOMPARE(spectrum.hue(), 0.0);
    QCOMPARE(spectrum.saturation(), 0.0);

    const QPoint middle(r.left() + r.width() / 2, r.top() + r.height() / 4);
    QTest::mouseClick(&spectrum, Qt::LeftButton, Qt::NoModifier, middle);
    QCOMPARE(spectrum.hue(), double(r.width() / 2) / r.width());
    QCOMPARE(spectrum.saturation(), 1.0 - double(r.height() / 4) / r.height());
    const ZelColor picked = lastColor(spy);
    QCOMPARE(picked.spec(), int(ZelColor::Hsb));
    QVERIFY(qAbs(picked.hueF() - spectrum.hue()) < 1e-4);
    QCOMPARE(picked.valueF(), 1.0);

    // A click in the margin outside the plane picks nothing.
    QTest::mouseClick(&spectrum, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    QCOMPARE(spy.count(), 3);
}

void TestGradientSelectors::spectrumKeysStepAndClamp() {
    HsbSpectrumWidget spectrum;
    spectrum.resize(200, 120);
    spectrum.setColor(hsb8(0, 250, 200));
    QSignalSpy spy(&spectrum, &GradientColorSelectorWidget::colorChanged);
    const double saturation = spectrum.saturation();
    QTest::keyClick(&spectrum, Qt::Key_Up);
    QCOMPARE(spectrum.saturation(), saturation + 0.01);
    QTest::keyClick(&spectrum, Qt::Key_Up);
    QTest::keyClick(&spectrum, Qt::Key_Up);
    QCOMPARE(spectrum.saturation(), 1.0);
    QTest::keyClick(&spectrum, Qt::Key_Left);
    QCOMPARE(spectrum.hue(), 0.0);
    QTest::keyClick(&spectrum, Qt::Key_Right);
    QTest::keyClick(&spectrum, Qt::Key_Right);
    QVERIFY(qAbs(spectrum.hue() - 0.02) < 1e-12);
    QTest::keyClick(&spectrum, Qt::Key_Down);
    QVERIFY(qAbs(spectrum.saturation() - 0.99) < 1e-12);
    QCOMPARE(spy.count(), 7);
    // The brightness is the slider's business, not the spectrum's.
    QCOMPARE(spectrum.brightness(), 200 / 255.0);
    QTest::keyClick(&spectrum, Qt::Key_A);
    QCOMPARE(spy.count(), 7);
}

void TestGradientSelectors::spectrumDragClampsOutsideTheRectangle() {
    HsbSpectrumWidget spectrum;
    spectrum.resize(248, 158);
    spectrum.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spectrum));
    const QRect r = spectrum.drawingRect();
    QSignalSpy spy(&spectrum, &GradientColorSelectorWidget::colorChanged);
    QTest::mousePress(&spectrum, Qt::LeftButton, Qt::NoModifier, r.center());
    dragTo(&spectrum, QPoint(r.right() + 50, r.top() - 30));
    QCOMPARE(spectrum.hue(), 0.9999);
    QCOMPARE(spectrum.saturation(), 1.0);
    dragTo(&spectrum, QPoint(-20, r.bottom() + 40));
    QCOMPARE(spectrum.hue(), 0.0);
    QCOMPARE(spectrum.saturation(), 0.0);
    QTest::mouseRelease(&spectrum, Qt::LeftButton, Qt::NoModifier, QPoint(-20, r.bottom() + 40));
    QCOMPARE(spy.count(), 3);
    // Without a button held a move picks nothing.
    QTest::mouseMove(&spectrum, r.center());
    QCOMPARE(spy.count(), 3);
}

void TestGradientSelectors::tintsSquareMapsBrightnessAndKeepsItsHue() {
    HsbTintsAndShadesWidget tints;
    tints.resize(158, 158);
    tints.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tints));
    tints.setColor(hsb8(120, 255, 255));
    QCOMPARE(tints.hue(), 120 / 360.0);
    QSignalSpy spy(&tints, &GradientColorSelectorWidget::colorChanged);
    const QRect r = tints.drawingRect();
    QTest::mouseClick(&tints, Qt::LeftButton, Qt::NoModifier, QPoint(r.left() + r.width(), r.top() + r.height() / 2));
    QCOMPARE(tints.brightness(), 0.9999);
    QCOMPARE(tints.saturation(), 1.0 - double(r.height() / 2) / r.height());
    QCOMPARE(tints.hue(), 120 / 360.0);
    QCOMPARE(lastColor(spy).hue8(), 120);

    QTest::keyClick(&tints, Qt::Key_Left);
    QVERIFY(qAbs(tints.brightness() - 0.9899) < 1e-9);
    QTest::keyClick(&tints, Qt::Key_Right);
    QTest::keyClick(&tints, Qt::Key_Right);
    QCOMPARE(tints.brightness(), 0.9999);
    QCOMPARE(spy.count(), 4);

    // What is painted is what a click there picks.
    tints.setColor(hsb8(240, 255, 255));
    const QImage image = tints.grab().toImage();
    const QColor painted = image.pixelColor(r.left() + r.width() / 2, r.top() + r.height() / 4);
    QTest::mouseClick(&tints, Qt::LeftButton, Qt::NoModifier,
                      QPoint(r.left() + r.width() / 2, r.top() + r.height() / 4));
    const QColor picked = lastColor(spy).toQColor();
    QVERIFY2(qAbs(painted.red() - picked.red()) <= 2 && qAbs(painted.green() - picked.green()) <= 2 &&
                 qAbs(painted.blue() - picked.blue()) <= 2,
             qPrintable(painted.name() + QLatin1String(" vs ") + picked.name()));
}

void TestGradientSelectors::tintsSquareGivesGreyHueZero() {
    HsbTintsAndShadesWidget tints;
    tints.resize(120, 120);
    tints.setColor(hsb8(200, 255, 255));
    QVERIFY(tints.hue() > 0.5);
    tints.setColor(ZelColor::fromRgb8(128, 128, 128));
    QCOMPARE(tints.hue(), 0.0);
    QCOMPARE(tints.saturation(), 0.0);
    // An HSB grey still remembers a hue, but it shows none.
    tints.setColor(hsb8(200, 0, 128));
    QCOMPARE(tints.hue(), 0.0);
}

void TestGradientSelectors::limitedTrackingPicksOnlyAfterARelease() {
    HsbSpectrumWidget spectrum;
    spectrum.resize(200, 120);
    spectrum.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spectrum));
    spectrum.setTrackingLimited(true);
    QSignalSpy spy(&spectrum, &GradientColorSelectorWidget::colorChanged);
    const QRect r = spectrum.drawingRect();
    QTest::mousePress(&spectrum, Qt::LeftButton, Qt::NoModifier, r.center());
    QCOMPARE(spy.count(), 1);
    dragTo(&spectrum, r.center() + QPoint(20, 0));
    QCOMPARE(spy.count(), 1);
    // Released outside the plane: the next press must still pick.
    QTest::mouseRelease(&spectrum, Qt::LeftButton, Qt::NoModifier, QPoint(-5, -5));
    QTest::mousePress(&spectrum, Qt::LeftButton, Qt::NoModifier, r.topLeft());
    QCOMPARE(spy.count(), 2);
}

void TestGradientSelectors::zoomGridCountsCellsAndComputesTheArea() {
    HsbSpectrumZoomWidget zoom;
    zoom.resize(11 + 14 * 9, 24);
    QCOMPARE(zoom.columns(), 9);
    QCOMPARE(zoom.rows(), 1);
    zoom.resize(11 + 14 * 10, 11 + 14 * 4);
    // Even counts lose one so that the centre cell sits in the middle.
    QCOMPARE(zoom.columns(), 9);
    QCOMPARE(zoom.rows(), 3);
    zoom.resize(5, 5);
    QCOMPARE(zoom.columns(), 1);
    QCOMPARE(zoom.rows(), 1);

    zoom.resize(11 + 14 * 9, 11 + 14 * 3);
    zoom.setZoomLevel(5);
    QSignalSpy areaSpy(&zoom, &ColorZoomWidget::zoomAreaChanged);
    zoom.setColor(hsb8(180, 128, 255));
    QCOMPARE(areaSpy.count(), 1);
    const QRectF area = areaSpy.last().at(0).toRectF();
    QCOMPARE(area.x(), (180 - 4 * 7) / 359.0);
    QCOMPARE(area.y(), (255 - 1 * 5 - 128) / 255.0);
    QVERIFY(qAbs(area.width() - 8 * 7 / 359.0) < 1e-12);
    QVERIFY(qAbs(area.height() - 2 * 5 / 255.0) < 1e-12);
    // The centre cell sits at the widget's centre.
    QVERIFY(zoom.cellRect(0, 0).contains(zoom.rect().center()));
}

void TestGradientSelectors::zoomGridOutOfRangeCellsAreGreyAndInert() {
    HsbSpectrumZoomWidget zoom;
    zoom.resize(11 + 14 * 9, 11 + 14 * 3);
    zoom.show();
    QVERIFY(QTest::qWaitForWindowExposed(&zoom));
    zoom.setZoomLevel(1);
    zoom.setColor(hsb8(10, 250, 255));
    QCOMPARE(zoom.hueStep(), 13);
    QCOMPARE(zoom.saturationStep(), 9);

    const QImage image = zoom.grab().toImage();
    for (int column = -4; column <= -1; ++column)
        QCOMPARE(image.pixelColor(zoom.cellRect(column, 0).center()), QColor(Qt::darkGray));
    QCOMPARE(image.pixelColor(zoom.cellRect(-1, 1).center()), QColor(Qt::darkGray));
    // The row above the centre would need saturation 259: grey as well.
    QCOMPARE(image.pixelColor(zoom.cellRect(0, -1).center()), QColor(Qt::darkGray));
    QCOMPARE(image.pixel(zoom.cellRect(2, 1).center()), hsb8(36, 241, 255).toQColor().rgb());

    QSignalSpy spy(&zoom, &HsbSpectrumZoomWidget::colorChanged);
    QTest::mouseClick(&zoom, Qt::LeftButton, Qt::NoModifier, zoom.cellRect(-3, 0).center());
    QTest::mouseClick(&zoom, Qt::LeftButton, Qt::NoModifier, zoom.cellRect(1, -1).center());
    QCOMPARE(spy.count(), 0);
    QTest::mouseClick(&zoom, Qt::LeftButton, Qt::NoModifier, zoom.cellRect(1, 1).center());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(lastColor(spy), hsb8(23, 241, 255));
    QCOMPARE(zoom.selectedCell(), QPoint(1, 1));
}

void TestGradientSelectors::zoomGridKeysMoveTheSelectionThenTheCentre() {
    HsbSpectrumZoomWidget zoom;
    zoom.resize(11 + 14 * 3, 24);
    zoom.setZoomLevel(9);
    zoom.setColor(hsb8(100, 100, 200));
    QSignalSpy spy(&zoom, &HsbSpectrumZoomWidget::colorChanged);
    QSignalSpy centerSpy(&zoom, &HsbSpectrumZoomWidget::centerColorChanged);
    QTest::keyClick(&zoom, Qt::Key_Right);
    QCOMPARE(zoom.selectedCell(), QPoint(1, 0));
    QCOMPARE(lastColor(spy).hue8(), 102);
    QCOMPARE(centerSpy.count(), 0);
    // At the edge the grid scrolls: the centre moves by one step.
    QTest::keyClick(&zoom, Qt::Key_Right);
    QCOMPARE(zoom.selectedCell(), QPoint(1, 0));
    QCOMPARE(centerSpy.count(), 1);
    QCOMPARE(centerSpy.last().at(0).toInt(), 102);
    QCOMPARE(lastColor(spy).hue8(), 104);
    // One row: Up raises the saturation of the centre.
    QTest::keyClick(&zoom, Qt::Key_Up);
    QCOMPARE(centerSpy.last().at(1).toInt(), 101);
    QCOMPARE(spy.count(), 3);

    zoom.setColor(hsb8(359, 255, 200));
    QTest::keyClick(&zoom, Qt::Key_Up);
    QTest::keyClick(&zoom, Qt::Key_Right);
    QTest::keyClick(&zoom, Qt::Key_Right);
    QCOMPARE(centerSpy.last().at(0).toInt(), 359);
    QCOMPARE(centerSpy.last().at(1).toInt(), 255);
}

void TestGradientSelectors::zoomLevelsFollowTheTable() {
    HsbSpectrumZoomWidget zoom;
    const int hueSteps[] = {13, 11, 9, 8, 7, 6, 5, 3, 2};
    const int saturationSteps[] = {9, 8, 7, 6, 5, 4, 3, 2, 1};
    for (int level = 1; level <= 9; ++level) {
        zoom.setZoomLevel(level);
        QCOMPARE(zoom.hueStep(), hueSteps[level - 1]);
        QCOMPARE(zoom.saturationStep(), saturationSteps[level - 1]);
    }
    zoom.setZoomLevel(0);
    QCOMPARE(zoom.zoomLevel(), 1);
    zoom.setZoomLevel(12);
    QCOMPARE(zoom.zoomLevel(), 9);
    QCOMPARE(zoom.hueStep(), 2);
}

LUMETTO_TEST_MAIN(TestGradientSelectors, "tst_gradientselectors")
#include "tst_gradientselectors.moc"

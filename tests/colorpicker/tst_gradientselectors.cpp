#include "HsbSpectrumWidget.h"
#include "HsbSpectrumZoomWidget.h"
#include "HsbTintsAndShadesWidget.h"
#include "TestEnvironment.h"

#include <QSignalSpy>
#include <memory>

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

void click(QWidget* widget, const QPoint& pos) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, pos);
}

} // namespace

class TestGradientSelectors : public QObject {
    Q_OBJECT

private slots:
    void mouseMapsOntoThePlane_data();
    void mouseMapsOntoThePlane();
    void keysStopAtTheEnds();
    void tintsSquareShowsWhatItPicks();
    void zoomGridSizeAreaAndOutOfRangeCells();
    void zoomGridKeysMoveTheSelectionThenTheCentre();
};

void TestGradientSelectors::mouseMapsOntoThePlane_data() {
    QTest::addColumn<bool>("tints");
    QTest::addColumn<QPointF>("at"); // as fractions of the drawing rectangle
    QTest::addColumn<bool>("drag");
    QTest::addColumn<double>("across"); // hue on the spectrum, brightness on the tints square
    QTest::addColumn<double>("saturation");
    // The right edge gives the largest value below a full turn, never 1.0 (which is red again).
    QTest::newRow("spectrum right edge") << false << QPointF(1, 0) << false << 0.9999 << 1.0;
    QTest::newRow("spectrum bottom left") << false << QPointF(0, 1) << false << 0.0 << 0.0;
    QTest::newRow("spectrum middle") << false << QPointF(0.5, 0.2) << false << 0.5 << 0.8;
    QTest::newRow("spectrum drag beyond top right") << false << QPointF(1.3, -0.3) << true << 0.9999 << 1.0;
    QTest::newRow("spectrum drag beyond bottom left") << false << QPointF(-0.2, 1.4) << true << 0.0 << 0.0;
    QTest::newRow("tints right edge") << true << QPointF(1, 0.5) << false << 0.9999 << 0.5;
    QTest::newRow("tints drag beyond left") << true << QPointF(-0.5, 0) << true << 0.0 << 1.0;
}

void TestGradientSelectors::mouseMapsOntoThePlane() {
    QFETCH(bool, tints);
    QFETCH(QPointF, at);
    QFETCH(bool, drag);
    QFETCH(double, across);
    QFETCH(double, saturation);
    std::unique_ptr<GradientColorSelectorWidget> plane;
    if (tints)
        plane = std::make_unique<HsbTintsAndShadesWidget>();
    else
        plane = std::make_unique<HsbSpectrumWidget>();
    plane->resize(tints ? 158 : 248, 158);
    plane->setColor(hsb8(120, 128, 128));
    plane->show();
    QVERIFY(QTest::qWaitForWindowExposed(plane.get()));
    QSignalSpy spy(plane.get(), &GradientColorSelectorWidget::colorChanged);
    const QRect r = plane->drawingRect();
    const QPoint pos(r.left() + qRound(at.x() * r.width()), r.top() + qRound(at.y() * r.height()));
    if (drag) {
        QTest::mousePress(plane.get(), Qt::LeftButton, Qt::NoModifier, r.center());
        dragTo(plane.get(), pos);
        QTest::mouseRelease(plane.get(), Qt::LeftButton, Qt::NoModifier, pos);
    } else {
        click(plane.get(), pos);
    }
    QCOMPARE(spy.count(), drag ? 2 : 1);
    // Within a pixel, and never a full turn.
    const double value = tints ? plane->brightness() : plane->hue();
    QVERIFY2(qAbs(value - across) <= 1.0 / r.width() && value < 1.0, qPrintable(QString::number(value)));
    QVERIFY(qAbs(plane->saturation() - saturation) <= 1.0 / r.height());
    QCOMPARE(lastColor(spy).spec(), int(ZelColor::Hsb));
    if (tints)
        QCOMPARE(lastColor(spy).hue8(), 120); // the square keeps its hue
    // Neither a click in the margin nor a move without a button picks anything.
    click(plane.get(), QPoint(1, 1));
    QTest::mouseMove(plane.get(), r.center());
    QCOMPARE(spy.count(), drag ? 2 : 1);
}

void TestGradientSelectors::keysStopAtTheEnds() {
    HsbSpectrumWidget spectrum;
    spectrum.resize(200, 120);
    spectrum.setColor(hsb8(0, 250, 200));
    QSignalSpy spy(&spectrum, &GradientColorSelectorWidget::colorChanged);
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Left, Qt::Key_Right, Qt::Key_Down})
        QTest::keyClick(&spectrum, key);
    // Saturation and hue stop at their ends; the brightness is the slider's business.
    QVERIFY(qAbs(spectrum.saturation() - 0.99) < 1e-12);
    QVERIFY(qAbs(spectrum.hue() - 0.01) < 1e-12);
    QCOMPARE(spectrum.brightness(), 200 / 255.0);
    QTest::keyClick(&spectrum, Qt::Key_A);
    QCOMPARE(spy.count(), 6);
}

void TestGradientSelectors::tintsSquareShowsWhatItPicks() {
    HsbTintsAndShadesWidget tints;
    tints.resize(158, 158);
    tints.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tints));
    tints.setColor(hsb8(240, 255, 255));
    QSignalSpy spy(&tints, &GradientColorSelectorWidget::colorChanged);
    const QRect r = tints.drawingRect();
    const QPoint at(r.left() + r.width() / 2, r.top() + r.height() / 4);
    const QColor painted = tints.grab().toImage().pixelColor(at);
    click(&tints, at);
    const QColor picked = lastColor(spy).toQColor();
    QVERIFY2(qAbs(painted.red() - picked.red()) <= 2 && qAbs(painted.green() - picked.green()) <= 2 &&
                 qAbs(painted.blue() - picked.blue()) <= 2,
             qPrintable(painted.name() + QLatin1String(" vs ") + picked.name()));

    // Greys show no hue, even an HSB grey that remembers one.
    tints.setColor(ZelColor::fromRgb8(128, 128, 128));
    QCOMPARE(tints.hue(), 0.0);
    tints.setColor(hsb8(200, 0, 128));
    QCOMPARE(tints.hue(), 0.0);
}

void TestGradientSelectors::zoomGridSizeAreaAndOutOfRangeCells() {
    HsbSpectrumZoomWidget zoom;
    // Even counts lose one so that the centre cell sits in the middle.
    const QList<QPair<QSize, QSize>> grids = {
        {{11 + 14 * 9, 24}, {9, 1}}, {{11 + 14 * 10, 11 + 14 * 4}, {9, 3}}, {{5, 5}, {1, 1}}};
    for (const auto& [size, cells] : grids) {
        zoom.resize(size);
        QCOMPARE(QSize(zoom.columns(), zoom.rows()), cells);
    }
    zoom.resize(11 + 14 * 9, 11 + 14 * 3);
    QVERIFY(zoom.cellRect(0, 0).contains(zoom.rect().center()));
    // The spectrum outlines the grid's area around the colour: eight hue steps by two saturation steps.
    zoom.setZoomLevel(5);
    QSignalSpy areaSpy(&zoom, &ColorZoomWidget::zoomAreaChanged);
    zoom.setColor(hsb8(180, 128, 255));
    const QRectF area = areaSpy.last().at(0).toRectF();
    QVERIFY(area.contains(180 / 359.0, (255 - 128) / 255.0));
    QVERIFY(qAbs(area.width() - 8 * zoom.hueStep() / 359.0) < 1e-12);
    // Levels beyond the table hold at its ends.
    zoom.setZoomLevel(0);
    QCOMPARE(zoom.zoomLevel(), 1);
    zoom.setZoomLevel(12);
    QCOMPARE(zoom.zoomLevel(), 9);

    zoom.show();
    QVERIFY(QTest::qWaitForWindowExposed(&zoom));
    zoom.setZoomLevel(1); // hue steps of 13, saturation steps of 9
    zoom.setColor(hsb8(10, 250, 255));
    const QImage image = zoom.grab().toImage();
    // Left of the centre hues fall below 0; the row above would need saturation 259.
    for (const QPoint& cell : {QPoint(-4, 0), QPoint(-1, 0), QPoint(-1, 1), QPoint(0, -1)})
        QCOMPARE(image.pixelColor(zoom.cellRect(cell.x(), cell.y()).center()), QColor(Qt::darkGray));
    QCOMPARE(image.pixel(zoom.cellRect(2, 1).center()), hsb8(36, 241, 255).toQColor().rgb());

    QSignalSpy spy(&zoom, &HsbSpectrumZoomWidget::colorChanged);
    click(&zoom, zoom.cellRect(-3, 0).center());
    click(&zoom, zoom.cellRect(1, -1).center());
    QCOMPARE(spy.count(), 0);
    click(&zoom, zoom.cellRect(1, 1).center());
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
    QCOMPARE(centerSpy.last().at(0).toInt(), 102);
    QCOMPARE(lastColor(spy).hue8(), 104);
    // One row: Up raises the saturation of the centre, up to its end.
    QTest::keyClick(&zoom, Qt::Key_Up);
    QCOMPARE(centerSpy.last().at(1).toInt(), 101);
    zoom.setColor(hsb8(359, 255, 200));
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Right, Qt::Key_Right})
        QTest::keyClick(&zoom, key);
    QCOMPARE(centerSpy.last().at(0).toInt(), 359);
    QCOMPARE(centerSpy.last().at(1).toInt(), 255);
}

LUMETTO_TEST_MAIN(TestGradientSelectors, "tst_gradientselectors")
#include "tst_gradientselectors.moc"

#include "HsbSpectrumWidget.h"
#include "HsbSpectrumZoomWidget.h"
#include "HsbTintsAndShadesWidget.h"
#include "RgbPickerWidget.h"
#include "TestEnvironment.h"

#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>

using namespace ZelColorPickerLib;

namespace {

// Answers whether the widget took the event. Sent events are not propagated to parents (only
// spontaneous ones are), so a selector that leaves the wheel alone answers false.
bool wheel(QWidget* widget, int delta) {
    const QPoint pos = widget->rect().center();
    QWheelEvent event(QPointF(pos), QPointF(widget->mapToGlobal(pos)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
    return event.isAccepted();
}

template <typename T = QSpinBox>
T* child(QObject* parent, const char* name) {
    return parent->findChild<T*>(QString::fromLatin1(name));
}

} // namespace

class TestRgbPickerWidget : public QObject {
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }
    void selectorsShareOneColorAndTheZoom();
};

void TestRgbPickerWidget::selectorsShareOneColorAndTheZoom() {
    RgbPickerWidget page;
    page.resize(380, 420);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    auto* spectrum = child<HsbSpectrumWidget>(&page, "hsbSpectrumWidget");
    auto* tints = child<HsbTintsAndShadesWidget>(&page, "hsbTintsAndShadesWidget");
    auto* zoom = child<HsbSpectrumZoomWidget>(&page, "hsbSpectrumZoomWidget");
    QSignalSpy spy(&page, &RgbPickerWidget::colorChanged);

    // From outside: opaque, in RGB form, everywhere, silently.
    page.setColor(ZelColor::fromRgb8(0, 0, 255, 40));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(page.color(), ZelColor::fromRgb8(0, 0, 255));
    QCOMPARE(child(&page, "hueSpinBox")->value(), 240);
    QCOMPARE(zoom->centerColor().hue8(), 240);

    // The tints square moves brightness; the others follow, the square keeps its hue at black.
    const QRect r = tints->drawingRect();
    QTest::mouseClick(tints, Qt::LeftButton, Qt::NoModifier, r.topLeft());
    QCOMPARE(spy.count(), 1);
    const ZelColor black = spy.last().at(0).value<ZelColor>();
    QCOMPARE(black.spec(), int(ZelColor::Rgb));
    QCOMPARE(black.value8(), 0);
    QCOMPARE(spectrum->brightness(), 0.0);
    QCOMPARE(tints->hue(), 240 / 360.0);

    // A cell of the zoom grid.
    QTest::mouseClick(tints, Qt::LeftButton, Qt::NoModifier, QPoint(r.right(), r.top()));
    QTest::mouseClick(zoom, Qt::LeftButton, Qt::NoModifier, zoom->cellRect(1, 0).center());
    QCOMPARE(spy.count(), 3);
    QCOMPARE(child(&page, "hueSpinBox")->value(), 240 + zoom->hueStep());
    QVERIFY(qAbs(spectrum->hue() - (240 + zoom->hueStep()) / 360.0) < 0.002);

    // The sliders move the selectors, and the grid recentres.
    auto* red = child(&page, "redSpinBox");
    red->setFocus();
    red->selectAll();
    QTest::keyClicks(red, QStringLiteral("9"));
    QCOMPARE(spy.count(), 4);
    QCOMPARE(spy.last().at(0).value<ZelColor>().red8(), 9);
    QCOMPARE(zoom->selectedCell(), QPoint(0, 0));

    // The drawn selectors leave the wheel to the page: two levels for 30 degrees.
    QCOMPARE(page.zoomLevel(), 5);
    for (QWidget* selector : std::initializer_list<QWidget*>{spectrum, tints, zoom})
        QVERIFY(!wheel(selector, 240));
    QVERIFY(wheel(&page, 240));
    QCOMPARE(page.zoomLevel(), 7);
    QCOMPARE(child<QSlider>(&page, "zoomSlider")->value(), 7);
    wheel(&page, -120);
    QCOMPARE(page.zoomLevel(), 6);
    // Half a notch does nothing until the other half comes.
    wheel(&page, 60);
    QCOMPARE(page.zoomLevel(), 6);
    wheel(&page, 60);
    QCOMPARE(page.zoomLevel(), 7);

    page.activateWindow();
    zoom->setFocus();
    QTest::keyClick(zoom, Qt::Key_Equal, Qt::ControlModifier);
    QTRY_COMPARE(page.zoomLevel(), 8);
    QTest::keyClick(zoom, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(zoom, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(page.zoomLevel(), 9);
    QTest::keyClick(zoom, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(page.zoomLevel(), 8);
    QCOMPARE(zoom->hueStep(), 3);
}

LUMETTO_TEST_MAIN(TestRgbPickerWidget, "tst_rgbpickerwidget")
#include "tst_rgbpickerwidget.moc"

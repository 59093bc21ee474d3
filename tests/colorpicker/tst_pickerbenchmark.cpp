#include "ColorViewWidget.h"
#include "HsbSpectrumWidget.h"
#include "HsbSpectrumZoomWidget.h"
#include "HsbTintsAndShadesWidget.h"
#include "TestEnvironment.h"
#include "ZelColorPicker.h"
#include "ZelColorPickerButtonsWidget.h"
#include "ZelColorPickerWidget.h"

#include <QDir>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QPainter>
#include <QSignalSpy>

using namespace ZelColorPickerLib;

// Paint and drag costs of the drawn selectors. Nothing here is timed-asserted: the figures are
// for reading (`tst_pickerbenchmark -tickcounter` or the default wall time). With
// LUMETTO_SCREENSHOT_DIR set the picker's pages are also saved as pictures there.
class TestPickerBenchmark : public QObject {
    Q_OBJECT

private slots:
    void paintSpectrum();
    void paintSpectrumAfterBrightnessChange();
    void paintSpectrumAfterResize();
    void paintTintsAndShades();
    void paintTintsAndShadesAfterHueChange();
    void paintZoomGrid();
    void dragAcrossSpectrum();
    void screenshots();

private:
    template <typename Widget>
    void paintLoop(Widget& widget, const std::function<void(int)>& change);
};

namespace {

void render(QWidget& widget, QImage& target) {
    QPainter painter(&target);
    widget.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
}

} // namespace

template <typename Widget>
void TestPickerBenchmark::paintLoop(Widget& widget, const std::function<void(int)>& change) {
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QImage target(widget.size(), QImage::Format_ARGB32_Premultiplied);
    render(widget, target); // builds the caches
    int i = 0;
    QBENCHMARK {
        if (change)
            change(i++);
        render(widget, target);
    }
}

void TestPickerBenchmark::paintSpectrum() {
    HsbSpectrumWidget spectrum;
    spectrum.resize(248, 158);
    paintLoop(spectrum, nullptr);
}

void TestPickerBenchmark::paintSpectrumAfterBrightnessChange() {
    HsbSpectrumWidget spectrum;
    spectrum.resize(248, 158);
    paintLoop(spectrum, [&](int i) { spectrum.setColor(ZelColor::fromHsvF(0.3, 0.5, (i % 100) / 100.0)); });
}

void TestPickerBenchmark::paintSpectrumAfterResize() {
    // The worst case: the cached plane is drawn anew every frame.
    HsbSpectrumWidget spectrum;
    spectrum.resize(248, 158);
    paintLoop(spectrum, [&](int i) { spectrum.resize(248 + (i % 2), 158); });
}

void TestPickerBenchmark::paintTintsAndShades() {
    HsbTintsAndShadesWidget tints;
    tints.resize(158, 158);
    paintLoop(tints, [&](int i) { tints.setColor(ZelColor::fromHsvF(0.3, (i % 100) / 100.0, 0.5)); });
}

void TestPickerBenchmark::paintTintsAndShadesAfterHueChange() {
    // The worst case: every frame a new hue, so the square is rebuilt each time.
    HsbTintsAndShadesWidget tints;
    tints.resize(158, 158);
    paintLoop(tints, [&](int i) { tints.setColor(ZelColor::fromHsvF((i % 360) / 360.0, 1.0, 1.0)); });
}

void TestPickerBenchmark::paintZoomGrid() {
    HsbSpectrumZoomWidget zoom;
    zoom.resize(11 + 14 * 25, 11 + 14 * 3);
    paintLoop(zoom, [&](int i) { zoom.setColor(ZelColor::fromHsvF((i % 360) / 360.0, 0.7, 0.9)); });
}

void TestPickerBenchmark::dragAcrossSpectrum() {
    ZelColorPicker picker;
    picker.resize(380, 560);
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    auto* spectrum = picker.findChild<HsbSpectrumWidget*>(QStringLiteral("hsbSpectrumWidget"));
    QVERIFY(spectrum);
    QSignalSpy spy(&picker, &ZelColorPicker::mainColorChanged);
    const QRect r = spectrum->drawingRect();
    QTest::mousePress(spectrum, Qt::LeftButton, Qt::NoModifier, r.topLeft());
    QElapsedTimer timer;
    timer.start();
    int events = 0;
    for (int x = r.left(); x <= r.left() + r.width(); ++x) {
        const QPoint pos(x, r.top() + (x - r.left()) * r.height() / qMax(1, r.width()));
        QMouseEvent move(QEvent::MouseMove, pos, spectrum->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(spectrum, &move);
        // Each move repaints the whole page as it would on screen.
        picker.repaint();
        ++events;
    }
    const qint64 elapsed = timer.nsecsElapsed();
    QTest::mouseRelease(spectrum, Qt::LeftButton, Qt::NoModifier, r.bottomRight());
    QCOMPARE(spy.count(), events + 1); // the press picks too
    qInfo("Drag across the spectrum: %d moves, %.3f ms per move including the repaint of the picker", events,
          elapsed / 1e6 / events);
}

void TestPickerBenchmark::screenshots() {
    const QString dir = qEnvironmentVariable("LUMETTO_SCREENSHOT_DIR");
    if (dir.isEmpty())
        QSKIP("LUMETTO_SCREENSHOT_DIR not set");
    QDir().mkpath(dir);
    QWidget window;
    window.setObjectName(QStringLiteral("screenshotWindow"));
    auto* layout = new QVBoxLayout(&window);
    auto* buttons = new ZelColorPickerButtonsWidget(&window);
    auto* picker = new ZelColorPicker(&window);
    buttons->setColorPicker(picker);
    buttons->setNChannelButtonVisible(false);
    layout->addWidget(buttons);
    layout->addWidget(picker);
    window.resize(380, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    picker->setColorAndSelectMainPreview(ZelColor::fromRgb8(230, 120, 40), QString());
    QVERIFY(window.grab().save(dir + QStringLiteral("/rgb-page.png")));

    picker->setComparison(true);
    picker->body()->swatch(1)->setColor(ZelColor::fromRgb8(40, 120, 230));
    picker->body()->swatch(2)->setColor(ZelColor::fromRgb8(120, 200, 60, 140));
    picker->body()->swatch(3)->setColor(ZelColor::fromRgb8(250, 240, 220));
    QVERIFY(window.grab().save(dir + QStringLiteral("/comparison.png")));

    picker->setColorAndSelectMainPreview(ColorViewWidget::defaultColor(ColorViewWidget::WhiteDisplay), QString());
    QVERIFY(window.grab().save(dir + QStringLiteral("/white-page.png")));

    picker->setColorAndSelectMainPreview(ColorViewWidget::defaultColor(ColorViewWidget::WhiteDisplay), QString());
    QVERIFY(window.grab().save(dir + QStringLiteral("/white-page.png")));
}

LUMETTO_TEST_MAIN(TestPickerBenchmark, "tst_pickerbenchmark")
#include "tst_pickerbenchmark.moc"

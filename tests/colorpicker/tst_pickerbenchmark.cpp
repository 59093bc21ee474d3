#include "BlackBodyCurveWidget.h"
#include "CCTPickerWidget.h"
#include "CCTUtils.h"
#include "HsbSpectrumWidget.h"
#include "HsbSpectrumZoomWidget.h"
#include "HsbTintsAndShadesWidget.h"
#include "TestEnvironment.h"
#include "WhitePickerWidget.h"
#include "WhiteRange.h"
#include "ZelColorPicker.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QSignalSpy>

using namespace ZelColorPickerLib;

// Paint and drag costs of the drawn selectors. Nothing here is timed-asserted: the figures are
// for reading (`tst_pickerbenchmark -tickcounter` or the default wall time).
class TestPickerBenchmark : public QObject {
    Q_OBJECT

private slots:
    // First, while the process is fresh: what the first picker pays for the colour science tables.
    void colourScienceStartUp();
    void paintSpectrum() { paintLoop<HsbSpectrumWidget>({248, 158}, nullptr); }
    void paintSpectrumAfterBrightnessChange() {
        paintLoop<HsbSpectrumWidget>({248, 158}, [](int i) { return ZelColor::fromHsvF(0.3, 0.5, (i % 100) / 100.0); });
    }
    // The worst case: the cached plane is drawn anew every frame.
    void paintSpectrumAfterResize() { paintLoop<HsbSpectrumWidget>({248, 158}, nullptr, true); }
    void paintTintsAndShades() {
        paintLoop<HsbTintsAndShadesWidget>({158, 158},
                                           [](int i) { return ZelColor::fromHsvF(0.3, (i % 100) / 100.0, 0.5); });
    }
    // The worst case: every frame a new hue, so the square is rebuilt each time.
    void paintTintsAndShadesAfterHueChange() {
        paintLoop<HsbTintsAndShadesWidget>({158, 158},
                                           [](int i) { return ZelColor::fromHsvF((i % 360) / 360.0, 1, 1); });
    }
    void paintZoomGrid() {
        paintLoop<HsbSpectrumZoomWidget>({11 + 14 * 25, 11 + 14 * 3},
                                         [](int i) { return ZelColor::fromHsvF((i % 360) / 360.0, 0.7, 0.9); });
    }
    // The diagram's colours are drawn once per size; a new point only moves the marker.
    void paintChromaticityDiagram() {
        paintLoop<BlackBodyCurveWidget>({400, 330}, [](int i) {
            ZelColor white;
            white.setYxyF(0.8, 0.36 + (i % 40) / 1000.0, 0.37);
            return white;
        });
    }
    void dragAcrossSpectrum();
    void dragAcrossTemperatures();

private:
    template <typename Widget>
    void paintLoop(const QSize& size, ZelColor (*colorAt)(int), bool resize = false);
};

namespace {

void render(QWidget& widget, QImage& target) {
    QPainter painter(&target);
    widget.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
}

// A left-button drag along @p path of @p target, repainting @p window after every move as the
// screen would; reports the time per move and answers how many colours the moves picked.
int timeDrag(const char* what, QWidget* target, QWidget* window, const QLine& path, const QSignalSpy& spy) {
    QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, path.p1());
    const int before = spy.count();
    const int moves = qMax(qAbs(path.dx()), qAbs(path.dy()));
    QElapsedTimer timer;
    timer.start();
    for (int i = 1; i <= moves; ++i) {
        const QPoint pos = path.p1() + (path.p2() - path.p1()) * i / moves;
        QMouseEvent move(QEvent::MouseMove, pos, target->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        window->repaint();
    }
    const qint64 elapsed = timer.nsecsElapsed();
    QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, path.p2());
    qInfo("%s: %d moves, %.3f ms per move including the repaint", what, moves, elapsed / 1e6 / moves);
    return spy.count() - before;
}

} // namespace

template <typename Widget>
void TestPickerBenchmark::paintLoop(const QSize& size, ZelColor (*colorAt)(int), bool resize) {
    Widget widget;
    widget.resize(size);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QImage target(size, QImage::Format_ARGB32_Premultiplied);
    render(widget, target); // builds the caches
    int i = 0;
    QBENCHMARK {
        ++i;
        if (colorAt)
            widget.setColor(colorAt(i));
        if (resize)
            widget.resize(size + QSize(i % 2, 0));
        render(widget, target);
    }
}

void TestPickerBenchmark::colourScienceStartUp() {
    QElapsedTimer timer;
    timer.start();
    CCTUtils::getCCTFromxy(0.3127, 0.3290);
    const qint64 locus = timer.nsecsElapsed();
    WhiteRange::instance();
    const qint64 range = timer.nsecsElapsed() - locus;
    ZelColorPicker picker;
    const qint64 firstPicker = timer.nsecsElapsed() - locus - range;
    qInfo("First temperature lookup %.2f ms, white range %.2f ms, then the first picker %.2f ms", locus / 1e6,
          range / 1e6, firstPicker / 1e6);
}

void TestPickerBenchmark::dragAcrossSpectrum() {
    ZelColorPicker picker;
    picker.resize(380, 560);
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    auto* spectrum = picker.findChild<HsbSpectrumWidget*>(QStringLiteral("hsbSpectrumWidget"));
    QSignalSpy spy(&picker, &ZelColorPicker::mainColorChanged);
    const QRect r = spectrum->drawingRect();
    const QLine diagonal(r.topLeft(), r.topLeft() + QPoint(r.width(), r.height()));
    QCOMPARE(timeDrag("Drag across the spectrum", spectrum, &picker, diagonal, spy), r.width());
}

void TestPickerBenchmark::dragAcrossTemperatures() {
    // Each step converts the temperature, emits the white and redraws the diagram's marker.
    WhitePickerWidget page;
    page.resize(520, 420);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    auto* bar = page.findChild<CCTPickerWidget*>(QStringLiteral("cctPickerWidget"));
    QSignalSpy spy(&page, &WhitePickerWidget::colorChanged);
    const QLine across(1, bar->height() / 2, bar->width() - 2, bar->height() / 2);
    QVERIFY(timeDrag("Drag across the temperatures", bar, &page, across, spy) > 0);
}

LUMETTO_TEST_MAIN(TestPickerBenchmark, "tst_pickerbenchmark")
#include "tst_pickerbenchmark.moc"

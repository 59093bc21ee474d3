#include "ColorTextField.h"
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

// Sent events are not propagated to parents (only spontaneous ones are), so a selector that leaves
// the wheel alone answers false.
using TestSupport::wheel;

using TestSupport::child;

} // namespace

class TestRgbPickerWidget : public QObject {
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }
    void selectorsShareOneColorAndTheZoom();
    void typedColorsAndRefusals();
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
    QCOMPARE(child<QSpinBox>(&page, "hueSpinBox")->value(), 240);
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
    QCOMPARE(child<QSpinBox>(&page, "hueSpinBox")->value(), 240 + zoom->hueStep());
    QVERIFY(qAbs(spectrum->hue() - (240 + zoom->hueStep()) / 360.0) < 0.002);

    // The sliders move the selectors, and the grid recentres.
    TestSupport::typeInto(child<QSpinBox>(&page, "redSpinBox"), 9);
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

void TestRgbPickerWidget::typedColorsAndRefusals() {
    RgbPickerWidget page;
    page.resize(380, 420);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    auto* field = child<ColorTextField>(&page, "colorTextField");
    QSignalSpy spy(&page, &RgbPickerWidget::colorChanged);
    const auto type = [field](const QString& text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    };
    page.setColor(ZelColor::fromRgb8(0, 0, 255));
    QCOMPARE(field->text(), QStringLiteral("#0000FF"));

    // Each colour typed goes out once, the sliders follow, and the field keeps the form typed.
    const struct {
        const char* typed;
        int red, green, blue;
        const char* shown;
    } entries[] = {{"#ff8000", 255, 128, 0, "#FF8000"},
                   {"10,20, 30", 10, 20, 30, "10, 20, 30"},
                   {" 00ff00 ", 0, 255, 0, "#00FF00"}};
    for (const auto& entry : entries) {
        const int before = spy.count();
        type(QString::fromLatin1(entry.typed));
        QCOMPARE(spy.count(), before + 1);
        const ZelColor sent = spy.last().at(0).value<ZelColor>();
        QCOMPARE(QList<int>({sent.red8(), sent.green8(), sent.blue8()}),
                 QList<int>({entry.red, entry.green, entry.blue}));
        QCOMPARE(child<QSpinBox>(&page, "redSpinBox")->value(), entry.red);
        QCOMPARE(field->text(), QString::fromLatin1(entry.shown));
        QVERIFY(field->refusal().isEmpty() && field->styleSheet().isEmpty());
    }
    // The colour already shown, in another form, is no new colour.
    type(QStringLiteral("0, 255, 0"));
    QCOMPARE(spy.count(), 3);

    // Text that is no colour is refused where it stands: marked, explained, nothing sent, not
    // even when the field is left.
    for (const char* wrong : {"300, 0, 0", "#12345", "green"}) {
        type(QString::fromLatin1(wrong));
        field->clearFocus();
        QCOMPARE(spy.count(), 3);
        QCOMPARE(page.color(), ZelColor::fromRgb8(0, 255, 0));
        QCOMPARE(field->text(), QString::fromLatin1(wrong));
        QVERIFY(!field->styleSheet().isEmpty() && field->toolTip() == field->refusal());
        QVERIFY2(field->refusal().contains(QString::fromLatin1(wrong).section(QLatin1Char(','), 0, 0)),
                 qPrintable(field->refusal()));
    }
    // Escape puts the colour back; so does a colour picked elsewhere.
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Escape);
    QCOMPARE(field->text(), QStringLiteral("0, 255, 0"));
    QVERIFY(field->refusal().isEmpty() && field->styleSheet().isEmpty());
    type(QStringLiteral("zz"));
    QVERIFY(!field->refusal().isEmpty());
    page.setColor(ZelColor::fromRgb8(1, 2, 3));
    QCOMPARE(field->text(), QStringLiteral("1, 2, 3"));
    QVERIFY(field->refusal().isEmpty());
    QCOMPARE(spy.count(), 3);
}

LUMETTO_TEST_MAIN(TestRgbPickerWidget, "tst_rgbpickerwidget")
#include "tst_rgbpickerwidget.moc"

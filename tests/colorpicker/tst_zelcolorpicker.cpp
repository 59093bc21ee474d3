#include "BlackBodyCurveWidget.h"
#include "CCTUtils.h"
#include "ColorMimeData.h"
#include "ColorTextField.h"
#include "ColorViewWidget.h"
#include "DragCatcher.h"
#include "HsbSpectrumWidget.h"
#include "IntensitySliderWidget.h"
#include "NChannelPickerWidget.h"
#include "OpacitySliderWidget.h"
#include "RecentColors.h"
#include "RecentColorsWidget.h"
#include "RgbPickerWidget.h"
#include "TestEnvironment.h"
#include "WhitePickerWidget.h"
#include "ZelColorLibrary.h"
#include "ZelColorPicker.h"
#include "ZelColorPickerButtonsWidget.h"
#include "ZelColorPickerWidget.h"

#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>

using namespace ZelColorPickerLib;

namespace {

ZelColor white4000() {
    const QPointF xy = CCTUtils::getxyFromCCT(4000);
    ZelColor white;
    white.setYxyF(1.0, xy.x(), xy.y());
    return white;
}

// Offers a payload to a swatch the way a drag over it does; answers whether it was taken.
bool drop(ColorViewWidget* swatch, QMimeData* data) {
    return TestSupport::drop(swatch, data, swatch->rect().center()) == QEvent::None;
}

bool drop(ColorViewWidget* swatch, const ZelColor& color, const QString& uid = QString()) {
    QScopedPointer<QMimeData> data(ColorMimeData::encode({{uid, color, QString(), QString()}}));
    return drop(swatch, data.data());
}

ZelColor colorArg(const QSignalSpy& spy) {
    return spy.last().at(0).value<ZelColor>();
}

using TestSupport::child;

// A picker on screen, the way the editors show it.
struct ShownPicker : ZelColorPicker {
    explicit ShownPicker(int height = 560) {
        resize(380, height);
        show();
        QVERIFY(QTest::qWaitForWindowExposed(this));
    }
};

} // namespace

class TestZelColorPicker : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pagesFollowTheColorKind();
    void programmaticColorsDoNotEcho();
    void comparisonSwatches();
    void dropsAreTakenPerDisplayMode();
    void swatchStoreIsSharedByPickers();
    void buttonBarAndTheSavedPage();
    void recentColorsAreClickedAndDragged();
};

void TestZelColorPicker::initTestCase() {
    // Each run starts like a first start: no user lists from an earlier run.
    QFile::remove(ZelColorLibrary::userFilePath());
    QSettings().clear();
    // The first picker seeds the library, presets included; a second one adds nothing.
    ZelColorPicker first;
    ZelColorPicker second;
    ZelColorLibrary* library = ZelColorLibrary::Instance();
    QCOMPARE(library->rowCount(library->getIndexOfList(ZelColorLibrary::DefaultSwatches)), 12 + 8 + 12);
}

// Each kind of colour opens its page, and what the user does there becomes the main colour. The
// white page is made when first shown, with the fixture gamut given before.
void TestZelColorPicker::pagesFollowTheColorKind() {
    ShownPicker picker(720);
    ZelColorPickerWidget* body = picker.body();
    QVERIFY(!picker.findChild<WhitePickerWidget*>());
    body->setFixtureProfile(6);
    QCOMPARE(body->fixtureProfile(), 6);
    auto* intensity = child<IntensitySliderWidget>(&picker, "intensitySliderWidget");
    QSignalSpy pageSpy(&picker, &ZelColorPicker::pickerSetOnSetColor);
    QSignalSpy spy(&picker, &ZelColorPicker::mainColorChanged);
    picker.setColorAndSelectMainPreview(ZelColor::fromHsvF(0.55, 0.4, 1), QString());
    QCOMPARE(pageSpy.last(), QVariantList({0, false}));
    QVERIFY(!intensity->isVisible());
    TestSupport::keepPicture(&picker, QStringLiteral("rgb-page.png"));

    ZelColor dim = white4000();
    dim.setY(0.5);
    picker.setColorAndSelectMainPreview(dim, QString());
    QCOMPARE(body->currentPage(), 1);
    QVERIFY(intensity->isVisible());
    QCOMPARE(intensity->intensity(), 128);
    QCOMPARE(body->swatch(2)->displayMode(), 3);
    const auto cctOf = [](const ZelColor& color) { return CCTUtils::getCCTFromxy(color.getx(), color.gety()); };
    QVERIFY(std::fabs(cctOf(child<WhitePickerWidget>(&picker, "whitePickerWidget")->color()) - 4000) < 1);
    QCOMPARE(child<WhitePickerWidget>(&picker, "whitePickerWidget")->fixtureProfile(), 6);
    body->setFixtureProfile(-1);
    TestSupport::keepPicture(&picker, QStringLiteral("picker-white-page.png"));

    // The frame's intensity slider dims the white and keeps its point.
    TestSupport::typeInto(intensity->findChild<QSpinBox*>(), QStringLiteral("51"));
    QCOMPARE(colorArg(spy).spec(), int(ZelColor::Yxy));
    QCOMPARE(colorArg(spy).getY(), 0.2);
    QCOMPARE(colorArg(spy).getx(), white4000().getx());
    // A click on the diagram picks a white there, at that intensity.
    auto* diagram = child<BlackBodyCurveWidget>(&picker, "blackBodyCurveWidget");
    QTest::mouseClick(diagram, Qt::LeftButton, {}, diagram->pointFromxy(CCTUtils::getxyFromCCT(3000)).toPoint());
    QVERIFY2(std::fabs(cctOf(colorArg(spy)) - 3000) < 40, qPrintable(QString::number(cctOf(colorArg(spy)))));
    QCOMPARE(colorArg(spy).getY(), 0.2);

    ZelColor channels = ZelColor::fromNChannelF({0.2, 0.4}, 1, 6);
    channels.setNChannelRenderType(1);
    picker.setColorAndSelectMainPreview(channels, QString());
    QCOMPARE(pageSpy.last(), QVariantList({1, true}));
    QVERIFY(body->nChannelPickersShown());

    // Shown as RGB, an N-channel colour opens the channel controls of the RGB page, one slider per
    // channel; the spin box that makes a colour must survive it coming back.
    channels = ZelColor::fromNChannelF({0.1, 0.2, 0.3, 0.4}, 1, 2);
    channels.setNChannelRenderType(0);
    picker.setColorAndSelectMainPreview(channels, QString());
    QCOMPARE(body->currentPage(), 0);
    QCOMPARE(body->swatch(0)->displayMode(), 1);
    auto* rgbChannels = child<NChannelPickerWidget>(&picker, "rgbNChannelPickerWidget");
    QVERIFY(rgbChannels->isVisible());
    QList<QSpinBox*> boxes = rgbChannels->findChildren<QSpinBox*>();
    QCOMPARE(boxes.size(), 4);
    QCOMPARE(boxes.last()->value(), 102);
    boxes.last()->setFocus();
    QTest::keyClick(boxes.last(), Qt::Key_Up);
    QTest::keyClick(boxes.last(), Qt::Key_Up);
    QCOMPARE(colorArg(spy).spec(), int(ZelColor::NChannel));
    QCOMPARE(colorArg(spy).getNChannel8(3), 104);
    QCOMPARE(body->swatch(0)->color(), colorArg(spy));
}

void TestZelColorPicker::programmaticColorsDoNotEcho() {
    ShownPicker picker;
    QSignalSpy pageSpy(child<RgbPickerWidget>(&picker, "rgbPickerWidget"), &RgbPickerWidget::colorChanged);
    QSignalSpy mainSpy(&picker, &ZelColorPicker::mainColorChanged);
    QSignalSpy clearSpy(&picker, &ZelColorPicker::clearPreviousSelection);
    const ZelColor red = ZelColor::fromRgb8(200, 10, 10);
    picker.setColorAndSelectMainPreview(red, QStringLiteral("uid1"));
    QCOMPARE(pageSpy.count(), 0);
    QCOMPARE(mainSpy.count(), 1);
    QCOMPARE(colorArg(mainSpy), red);
    QCOMPARE(clearSpy.count(), 1);
    QCOMPARE(child<QSpinBox>(&picker, "redSpinBox")->value(), 200);

    // A user change goes out once and clears the tree's selection.
    auto* green = child<QSpinBox>(&picker, "greenSpinBox");
    green->setFocus();
    QTest::keyClick(green, Qt::Key_Up);
    QCOMPARE(mainSpy.count(), 2);
    QCOMPARE(colorArg(mainSpy).green8(), 11);
    QCOMPARE(mainSpy.last().at(1).toString(), QString());
    QCOMPARE(clearSpy.count(), 2);

    // The opacity slider's value stays with colours picked on the page...
    auto* opacity = child<OpacitySliderWidget>(&picker, "opacitySliderWidget");
    TestSupport::typeInto(child<QSpinBox>(opacity, "opacitySpinBox"), QStringLiteral("100"));
    QCOMPARE(colorArg(mainSpy).alpha8(), 100);
    auto* spectrum = child<HsbSpectrumWidget>(&picker, "hsbSpectrumWidget");
    QTest::mouseClick(spectrum, Qt::LeftButton, Qt::NoModifier, spectrum->drawingRect().center());
    QCOMPARE(colorArg(mainSpy).alpha8(), 100);
    QCOMPARE(colorArg(mainSpy).spec(), int(ZelColor::Rgb));
    // ...while a colour set from outside brings its own.
    picker.setColor(ZelColor::fromRgb8(1, 2, 3, 50), QStringLiteral("someuid"));
    QCOMPARE(opacity->opacity(), 50);
    QCOMPARE(mainSpy.last().at(1).toString(), QStringLiteral("someuid"));
}

void TestZelColorPicker::comparisonSwatches() {
    ShownPicker picker;
    ZelColorPickerWidget* body = picker.body();
    picker.setColorAndSelectMainPreview(ZelColor::fromRgb8(255, 0, 0), QString());
    picker.setComparison(true);
    QVERIFY(child<QWidget>(&picker, "colorComparisonFrame")->isVisible());
    const ZelColor blue = ZelColor::fromRgb8(0, 0, 255, 180);
    QVERIFY(drop(body->swatch(2), blue, QStringLiteral("blueuid")));
    QCOMPARE(body->swatch(0)->color(), ZelColor::fromRgb8(255, 0, 0));
    TestSupport::keepPicture(&picker, QStringLiteral("comparison.png"));

    // A click makes the swatch's colour the main colour, uid and opacity included.
    QSignalSpy mainSpy(&picker, &ZelColorPicker::mainColorChanged);
    QTest::mouseClick(body->swatch(2), Qt::LeftButton);
    QCOMPARE(mainSpy.count(), 1);
    QCOMPARE(colorArg(mainSpy), blue);
    QCOMPARE(mainSpy.last().at(1).toString(), QStringLiteral("blueuid"));
    QVERIFY(body->swatch(0)->isSelected() && !body->swatch(2)->isSelected());
    QCOMPARE(child<OpacitySliderWidget>(&picker, "opacitySliderWidget")->opacity(), 180);

    // The keyboard does the same.
    QVERIFY(drop(body->swatch(3), ZelColor::fromRgb8(0, 255, 0)));
    picker.activateWindow();
    body->swatch(0)->setFocus();
    QTest::keyClick(&picker, Qt::Key_3, Qt::ControlModifier);
    QTRY_COMPARE(body->swatch(0)->color(), ZelColor::fromRgb8(0, 255, 0));

    // A comparison swatch's menu files its colour into the favourites, or resets it.
    ZelColorPickerButtonsWidget::setFavoriteList(QString());
    QScopedPointer<QMenu> menu(body->swatch(1)->createContextMenu());
    QSignalSpy favoriteSpy(&picker, &ZelColorPicker::colorAddedToFavorites);
    QVERIFY(drop(body->swatch(1), ZelColor::fromRgb8(50, 60, 70)));
    menu->findChild<QAction*>(QStringLiteral("addToFavoritesAction"))->trigger();
    QCOMPARE(colorArg(favoriteSpy), ZelColor::fromRgb8(50, 60, 70));
    QCOMPARE(favoriteSpy.last().at(2).toString(), QStringLiteral("Favorites"));
    menu->findChild<QAction*>(QStringLiteral("resetAction"))->trigger();
    QCOMPARE(body->swatch(1)->color(), ZelColor::fromRgb8(255, 255, 255));

    // Hidden swatches are not picked by their shortcuts.
    picker.setComparison(false);
    QTest::keyClick(&picker, Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(body->swatch(0)->color(), ZelColor::fromRgb8(0, 255, 0));
}

void TestZelColorPicker::dropsAreTakenPerDisplayMode() {
    ShownPicker picker;
    ZelColorPickerWidget* body = picker.body();
    picker.setComparison(true);
    ColorViewWidget* comparison = body->swatch(1);

    // An HSB colour shows on the RGB page, but an RGB swatch refuses it.
    picker.setColorAndSelectMainPreview(ZelColor::fromHsvF(0.1, 0.8, 0.8), QString());
    QCOMPARE(body->currentPage(), 0);
    QVERIFY(!drop(comparison, ZelColor::fromHsvF(0.1, 0.8, 0.8)));
    QVERIFY(!drop(comparison, white4000()));
    ZelColor channels = ZelColor::fromNChannelF({0.1, 0.2, 0.3}, 1, 1);
    QVERIFY(drop(comparison, channels));
    channels.setNChannelRenderType(1);
    QVERIFY(!drop(comparison, channels));
    QVERIFY(drop(comparison, ZelColor::fromRgb8(9, 9, 9)));
    // A payload none of whose colours decodes is refused, not shown as the fallback colour.
    QMimeData garbage;
    garbage.setData(ColorMimeData::ColorType, "not a colour");
    QVERIFY(!drop(comparison, &garbage));

    QSignalSpy mainSpy(&picker, &ZelColorPicker::mainColorChanged);
    QVERIFY(drop(body->swatch(0), ZelColor::fromRgb8(1, 2, 3)));
    QCOMPARE(colorArg(mainSpy), ZelColor::fromRgb8(1, 2, 3));

    picker.showWhitePicker();
    QCOMPARE(comparison->displayMode(), 3);
    QVERIFY(drop(comparison, white4000()));
    QVERIFY(drop(comparison, channels));
    QVERIFY(!drop(comparison, ZelColor::fromRgb8(9, 9, 9)));
    // The white swatches reset to their own default, and on the RGB page the RGB swatches return.
    QScopedPointer<QMenu>(body->swatch(2)->createContextMenu())
        ->findChild<QAction*>(QStringLiteral("resetAction"))
        ->trigger();
    QCOMPARE(body->swatch(2)->color(), white4000());
    picker.showRgbPicker();
    QCOMPARE(comparison->color(), ZelColor::fromRgb8(9, 9, 9));
}

void TestZelColorPicker::swatchStoreIsSharedByPickers() {
    const ZelColor teal = ZelColor::fromRgb8(0, 128, 128);
    {
        ShownPicker first;
        first.setComparison(true);
        QVERIFY(drop(first.body()->swatch(3), teal, QStringLiteral("tealuid")));
        first.hide();
    }
    ShownPicker second;
    QCOMPARE(second.body()->swatch(3)->color(), teal);
    QCOMPARE(second.body()->swatch(3)->uid(), QStringLiteral("tealuid"));

    // A picker that was given a colour keeps it in its main swatch when it shows the store.
    ZelColorPicker third;
    third.setColorAndSelectMainPreview(ZelColor::fromRgb8(7, 7, 7), QString());
    third.show();
    QVERIFY(QTest::qWaitForWindowExposed(&third));
    QCOMPARE(third.body()->swatch(0)->color(), ZelColor::fromRgb8(7, 7, 7));
    QCOMPARE(third.body()->swatch(3)->color(), teal);
}

void TestZelColorPicker::buttonBarAndTheSavedPage() {
    QSettings().setValue(QStringLiteral("colorPickerRGBPickerDisplayed"), false);
    QSettings().setValue(QStringLiteral("colorPickerWhitePickerDisplayed"), true);
    {
        // Tied before it shows, as the editors do it: the saved page wins on show.
        ZelColorPickerButtonsWidget buttons;
        ZelColorPicker picker;
        buttons.setColorPicker(&picker);
        buttons.show();
        QVERIFY(QTest::qWaitForWindowExposed(&buttons));
        QCOMPARE(picker.body()->currentPage(), 1);
    }
    ZelColorPickerButtonsWidget buttons;
    ZelColorPicker picker;
    buttons.setColorPicker(&picker);
    picker.setColorAndSelectMainPreview(ZelColor::fromRgb8(10, 200, 10), QString());
    buttons.show();
    QVERIFY(QTest::qWaitForWindowExposed(&buttons));
    // An RGB colour on show keeps the RGB page, and the buttons say so.
    auto* rgb = child<QToolButton>(&buttons, "showRgbPickerButton");
    auto* white = child<QToolButton>(&buttons, "showWhitePickerButton");
    QCOMPARE(picker.body()->currentPage(), 0);
    QVERIFY(rgb->isChecked());

    // Clicks switch the pages and are remembered; setting a white moves the buttons along.
    QTest::mouseClick(white, Qt::LeftButton);
    QCOMPARE(picker.body()->currentPage(), 1);
    QCOMPARE(QSettings().value(QStringLiteral("colorPickerRGBPickerDisplayed")).toBool(), false);
    QTest::mouseClick(rgb, Qt::LeftButton);
    QCOMPARE(QSettings().value(QStringLiteral("colorPickerRGBPickerDisplayed")).toBool(), true);
    picker.setColorAndSelectMainPreview(white4000(), QString());
    QVERIFY(white->isChecked() && !rgb->isChecked());
}

void TestZelColorPicker::recentColorsAreClickedAndDragged() {
    RecentColors* recent = RecentColors::instance();
    recent->clear();
    ZelColor white = white4000();
    white.setY(0.6);
    const ZelColor orange = ZelColor::fromRgb8(255, 128, 0);
    recent->add(white, 0);
    recent->add(orange, RecentColors::MergeWindowMs);
    ShownPicker picker(720);
    picker.setColorAndSelectMainPreview(ZelColor::fromRgb8(40, 90, 200), QString());
    auto* row = child<RecentColorsWidget>(&picker, "recentColorsWidget");
    QCOMPARE(row->colors(), (QList<ZelColor>{orange, white}));
    TestSupport::keepPicture(&picker, QStringLiteral("rgb-page-text-and-recent.png"));

    // A click picks the colour, on its own page, as a click on a library colour does.
    QSignalSpy spy(&picker, &ZelColorPicker::mainColorChanged);
    QSignalSpy cleared(&picker, &ZelColorPicker::clearPreviousSelection);
    QTest::mouseClick(row, Qt::LeftButton, {}, row->cellRect(1).center());
    QCOMPARE(colorArg(spy), white);
    QCOMPARE(picker.body()->currentPage(), int(ZelColorPickerWidget::WhitePage));
    QCOMPARE(cleared.count(), 1);
    QTest::mouseClick(row, Qt::LeftButton, {}, row->cellRect(0).center());
    QCOMPARE(colorArg(spy), orange);
    QCOMPARE(picker.body()->currentPage(), int(ZelColorPickerWidget::RgbPage));
    QCOMPARE(child<ColorTextField>(&picker, "colorTextField")->text(), QStringLiteral("#FF8000"));
    // An empty place holds nothing to pick.
    QTest::mouseClick(row, Qt::LeftButton, {}, row->cellRect(5).center());
    QCOMPARE(spy.count(), 2);

    // From the keyboard: the arrows go from colour to colour (not past the last), Enter picks; a screen
    // reader hears which colour is under the cursor.
    row->setFocus();
    QTest::keyClick(row, Qt::Key_Right);
    QTest::keyClick(row, Qt::Key_Right);
    QVERIFY2(row->accessibleDescription().startsWith(QStringLiteral("2 of 2: ")),
             qPrintable(row->accessibleDescription()));
    QTest::keyClick(row, Qt::Key_Return);
    QCOMPARE(colorArg(spy), white);
    QTest::keyClick(row, Qt::Key_Left);
    QTest::keyClick(row, Qt::Key_Space);
    QCOMPARE(colorArg(spy), orange);
    QCOMPARE(spy.count(), 4);

    // A drag carries the colour in the shared format. Through the window, so the moves carry the
    // pressed button.
    DragCatcher catcher(row);
    QWindow* window = picker.windowHandle();
    const QPoint start = row->mapTo(&picker, row->cellRect(1).center());
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, start);
    for (int step = 1; step <= 3; ++step)
        QTest::mouseMove(window, start + QPoint(step * QApplication::startDragDistance(), 0));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, start);
    QTRY_VERIFY(catcher.caught());
    QCOMPARE(catcher.data(ColorMimeData::ColorType), white.aName().toLatin1());
    QCOMPARE(spy.count(), 4);

    // The row follows the list.
    recent->add(ZelColor::fromRgb8(1, 2, 3), 10 * RecentColors::MergeWindowMs);
    QCOMPARE(row->colors().first(), ZelColor::fromRgb8(1, 2, 3));
}

LUMETTO_TEST_MAIN(TestZelColorPicker, "tst_zelcolorpicker")
#include "tst_zelcolorpicker.moc"

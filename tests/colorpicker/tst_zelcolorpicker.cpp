#include "BlackBodyCurveWidget.h"
#include "CCTUtils.h"
#include "ColorMimeData.h"
#include "ColorViewWidget.h"
#include "HsbSpectrumWidget.h"
#include "IntensitySliderWidget.h"
#include "NChannelPickerWidget.h"
#include "OpacitySliderWidget.h"
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

ZelColor hsb(int hue, int saturation, int value) {
    ZelColor color;
    color.setHsv8(hue, saturation, value);
    return color;
}

// Offers a payload to a swatch the way a drag over it does; answers whether it was taken.
bool drop(ColorViewWidget* swatch, QMimeData* data) {
    const QPoint pos = swatch->rect().center();
    QDragEnterEvent enter(pos, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(swatch, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropEvent(pos, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(swatch, &dropEvent);
    return dropEvent.isAccepted();
}

bool drop(ColorViewWidget* swatch, const ZelColor& color, const QString& uid = QString()) {
    QScopedPointer<QMimeData> data(ColorMimeData::encode({{uid, color, QString(), QString()}}));
    return drop(swatch, data.data());
}

ZelColor colorArg(const QSignalSpy& spy) {
    return spy.last().at(0).value<ZelColor>();
}

template <typename T = QSpinBox>
T* child(QObject* parent, const char* name) {
    return parent->findChild<T*>(QString::fromLatin1(name));
}

void typeInto(QSpinBox* spinBox, const QString& text) {
    spinBox->setFocus();
    spinBox->selectAll();
    QTest::keyClicks(spinBox, text);
}

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
    void firstPickerSeedsTheLibraryAndMigratesFavorites();
    void pagesFollowTheColorKind();
    void whiteAndChannelPagesEditTheColor();
    void programmaticColorsDoNotEcho();
    void comparisonSwatches();
    void dropsAreTakenPerDisplayMode();
    void swatchStoreIsSharedByPickers();
    void buttonBarAndTheSavedPage();
    void favoritesMenuListsUserGroups();
};

void TestZelColorPicker::initTestCase() {
    // Each run starts like a first start: no user lists from an earlier run.
    QFile::remove(ZelColorLibrary::userFilePath());
    QSettings().clear();
    // Favourites as an older version left them, read once by the first picker.
    QSettings old(QStringLiteral("Orvane"), QStringLiteral("ZelColorPicker"));
    const char* values[] = {"#ff8000", "not a colour", "#102030"};
    for (int i = 0; i < 3; ++i) {
        old.beginGroup(QStringLiteral("Effect Manager/Favorite Colors/Color_%1").arg(i));
        old.setValue(QStringLiteral("ColorName"), QStringLiteral("Old %1").arg(i));
        old.setValue(QStringLiteral("ColorValue"), QString::fromLatin1(values[i]));
        old.setValue(QStringLiteral("ColorUid"), QStringLiteral("olduid%1").arg(i));
        old.endGroup();
    }
    old.sync();
    QVERIFY(!ZelColorLibrary::Instance()->containsDefaults());
}

void TestZelColorPicker::firstPickerSeedsTheLibraryAndMigratesFavorites() {
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("old favourite colour that cannot be read")));
    ZelColorPicker picker;
    ZelColorLibrary* library = ZelColorLibrary::Instance();
    const QModelIndex swatches = library->getIndexOfList(QStringLiteral("Varnel Swatches"));
    QCOMPARE(library->rowCount(swatches), 12 + 8 + 12);
    const auto at = [&](const QModelIndex& list, int row) { return library->index(row, 0, list); };
    QCOMPARE(at(swatches, 12).data().toString(), QStringLiteral("2700 K / center of ANSI bin"));
    const ZelColor candle = library->get(at(swatches, 20).data(ZelColorLibrary::UidRole).toString());
    QCOMPARE(candle.spec(), int(ZelColor::Yxy));
    QCOMPARE(candle.getx(), 0.50563);

    // The unreadable favourite is left behind, and the old settings are gone.
    const QModelIndex migrated = library->getIndexOfList(QStringLiteral("Migrated Favorites"));
    QVERIFY(library->getModifiableLists().contains(QStringLiteral("Migrated Favorites")));
    QCOMPARE(library->rowCount(migrated), 2);
    QCOMPARE(at(migrated, 1).data().toString(), QStringLiteral("Old 2"));
    QCOMPARE(library->get(at(migrated, 0).data(ZelColorLibrary::UidRole).toString()),
             ZelColor(QStringLiteral("#ff8000")));
    QSettings old(QStringLiteral("Orvane"), QStringLiteral("ZelColorPicker"));
    QVERIFY(!old.contains(QStringLiteral("Effect Manager/Favorite Colors/Color_0/ColorName")));

    // A second picker seeds nothing more.
    ZelColorPicker second;
    QCOMPARE(library->rowCount(swatches), 32);
    QCOMPARE(library->rowCount(migrated), 2);
}

void TestZelColorPicker::pagesFollowTheColorKind() {
    ShownPicker picker;
    ZelColorPickerWidget* body = picker.body();
    auto* intensity = child<IntensitySliderWidget>(&picker, "intensitySliderWidget");
    QSignalSpy pageSpy(&picker, &ZelColorPicker::pickerSetOnSetColor);
    picker.setColorAndSelectMainPreview(hsb(200, 100, 255), QString());
    QCOMPARE(pageSpy.last(), QVariantList({0, false}));
    QVERIFY(!intensity->isVisible());

    ZelColor dim = white4000();
    dim.setY(0.5);
    picker.setColorAndSelectMainPreview(dim, QString());
    QCOMPARE(body->currentPage(), 1);
    QVERIFY(intensity->isVisible());
    QCOMPARE(intensity->intensity(), 128);
    QCOMPARE(body->swatch(2)->displayMode(), 3);
    QCOMPARE(body->swatch(0)->color(), dim);

    ZelColor channels = ZelColor::fromNChannelF({0.2, 0.4}, 1, 6);
    channels.setNChannelRenderType(1);
    picker.setColorAndSelectMainPreview(channels, QString());
    QCOMPARE(pageSpy.last(), QVariantList({1, true}));
    QVERIFY(body->nChannelPickersShown());
    channels.setNChannelRenderType(0);
    picker.setColorAndSelectMainPreview(channels, QString());
    QCOMPARE(body->currentPage(), 0);
    QCOMPARE(body->swatch(0)->displayMode(), 1);
}

// The frame's white and channel pages are live: what the user does there becomes the main colour.
void TestZelColorPicker::whiteAndChannelPagesEditTheColor() {
    ShownPicker picker(720);
    QSignalSpy spy(&picker, &ZelColorPicker::mainColorChanged);
    picker.setColorAndSelectMainPreview(white4000(), QString());
    const auto cctOf = [](const ZelColor& color) {
        double cct = 0;
        double tint = 0;
        CCTUtils::getCCTAndTintFromxy(color.getx(), color.gety(), &cct, &tint);
        return cct;
    };
    QVERIFY(std::fabs(cctOf(child<WhitePickerWidget>(&picker, "whitePickerWidget")->color()) - 4000) < 1);

    // The frame's intensity slider dims the white and keeps its point.
    typeInto(child<IntensitySliderWidget>(&picker, "intensitySliderWidget")->findChild<QSpinBox*>(),
             QStringLiteral("51"));
    QCOMPARE(colorArg(spy).spec(), int(ZelColor::Yxy));
    QVERIFY(std::fabs(colorArg(spy).getY() - 0.2) < 1e-9);
    QVERIFY(std::fabs(colorArg(spy).getx() - white4000().getx()) < 1e-9);

    // A click on the diagram picks a white there, at that intensity.
    auto* diagram = child<BlackBodyCurveWidget>(&picker, "blackBodyCurveWidget");
    const int before = spy.size();
    QTest::mouseClick(diagram, Qt::LeftButton, {}, diagram->pointFromxy(CCTUtils::getxyFromCCT(3000)).toPoint());
    QVERIFY(spy.size() > before);
    QVERIFY2(std::fabs(cctOf(colorArg(spy)) - 3000) < 40, qPrintable(QString::number(cctOf(colorArg(spy)))));
    QVERIFY(std::fabs(colorArg(spy).getY() - 0.2) < 1e-9);

    // An N-channel colour opens the channel controls of its page, one slider per channel; the
    // spin box that makes a colour must survive it coming back.
    ZelColor channels = ZelColor::fromNChannelF({0.1, 0.2, 0.3, 0.4}, 1, 2);
    channels.setNChannelRenderType(0);
    picker.setColorAndSelectMainPreview(channels, QString());
    auto* rgbChannels = child<NChannelPickerWidget>(&picker, "rgbNChannelPickerWidget");
    QVERIFY(rgbChannels->isVisible());
    QCOMPARE(rgbChannels->profile(), 2);
    QList<QSpinBox*> boxes = rgbChannels->findChildren<QSpinBox*>();
    QCOMPARE(boxes.size(), 4);
    QCOMPARE(boxes.last()->value(), 102);
    boxes.last()->setFocus();
    QTest::keyClick(boxes.last(), Qt::Key_Up);
    QTest::keyClick(boxes.last(), Qt::Key_Up);
    QCOMPARE(colorArg(spy).spec(), int(ZelColor::NChannel));
    QCOMPARE(colorArg(spy).getNChannel8(3), 104);
    QCOMPARE(picker.body()->swatch(0)->color(), colorArg(spy));
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
    QCOMPARE(child(&picker, "redSpinBox")->value(), 200);
    QCOMPARE(child<HsbSpectrumWidget>(&picker, "hsbSpectrumWidget")->saturation(), red.saturationF());

    // A user change goes out once and clears the tree's selection.
    auto* green = child(&picker, "greenSpinBox");
    green->setFocus();
    QTest::keyClick(green, Qt::Key_Up);
    QCOMPARE(pageSpy.count(), 1);
    QCOMPARE(mainSpy.count(), 2);
    QCOMPARE(colorArg(mainSpy).green8(), 11);
    QCOMPARE(mainSpy.last().at(1).toString(), QString());
    QCOMPARE(clearSpy.count(), 2);

    // The opacity slider's value stays with colours picked on the page...
    auto* opacity = child<OpacitySliderWidget>(&picker, "opacitySliderWidget");
    typeInto(child(opacity, "opacitySpinBox"), QStringLiteral("100"));
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
    auto* frame = child<QWidget>(&picker, "colorComparisonFrame");
    QVERIFY(!frame->isVisible());
    picker.setColorAndSelectMainPreview(ZelColor::fromRgb8(255, 0, 0), QString());
    picker.setComparison(true);
    QVERIFY(frame->isVisible());
    const ZelColor blue = ZelColor::fromRgb8(0, 0, 255, 180);
    QVERIFY(drop(body->swatch(2), blue, QStringLiteral("blueuid")));
    QCOMPARE(body->swatch(0)->color(), ZelColor::fromRgb8(255, 0, 0));

    // A click makes the swatch's colour the main colour, uid and opacity included.
    QSignalSpy mainSpy(&picker, &ZelColorPicker::mainColorChanged);
    QSignalSpy comparisonSpy(&picker, &ZelColorPicker::comparisonColorChanged);
    QTest::mouseClick(body->swatch(2), Qt::LeftButton);
    QCOMPARE(mainSpy.count(), 1);
    QCOMPARE(colorArg(mainSpy), blue);
    QCOMPARE(mainSpy.last().at(1).toString(), QStringLiteral("blueuid"));
    QCOMPARE(comparisonSpy.count(), 0);
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
    QVERIFY(!frame->isVisible());
    QTest::keyClick(&picker, Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(body->swatch(0)->color(), ZelColor::fromRgb8(0, 255, 0));
}

void TestZelColorPicker::dropsAreTakenPerDisplayMode() {
    ShownPicker picker;
    ZelColorPickerWidget* body = picker.body();
    picker.setComparison(true);
    ColorViewWidget* comparison = body->swatch(1);

    // An HSB colour shows on the RGB page, but an RGB swatch refuses it.
    picker.setColorAndSelectMainPreview(hsb(30, 200, 200), QString());
    QCOMPARE(body->currentPage(), 0);
    QVERIFY(!drop(comparison, hsb(30, 200, 200)));
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
    QCOMPARE(child(&picker, "blueSpinBox")->value(), 3);

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
    QTest::mouseClick(child<QToolButton>(&buttons, "showNChannelPickerButton"), Qt::LeftButton);
    QVERIFY(picker.body()->nChannelPickersShown());
    QCOMPARE(QSettings().value(QStringLiteral("colorPickerNChannelPickerDisplayed")).toBool(), true);
    QTest::mouseClick(rgb, Qt::LeftButton);
    QCOMPARE(QSettings().value(QStringLiteral("colorPickerRGBPickerDisplayed")).toBool(), true);
    picker.setColorAndSelectMainPreview(white4000(), QString());
    QVERIFY(white->isChecked() && !rgb->isChecked());
}

void TestZelColorPicker::favoritesMenuListsUserGroups() {
    ZelColorLibrary* library = ZelColorLibrary::Instance();
    const QString group = library->createColorList(QStringLiteral("Stage Picks"), true);
    ZelColorPickerButtonsWidget buttons;
    ZelColorPicker picker;
    buttons.setColorPicker(&picker);
    auto* favorites = child<QToolButton>(&buttons, "addToFavoritesButton");
    QMenu* menu = favorites->menu();
    const auto action = [menu](const QString& text) {
        for (QAction* action : menu->actions()) {
            if (action->text() == text)
                return action;
        }
        return static_cast<QAction*>(nullptr);
    };
    QVERIFY(action(group));
    emit menu->triggered(action(group));
    QCOMPARE(ZelColorPickerButtonsWidget::favoriteList(), group);

    // The target follows a rename of its group.
    QVERIFY(library->renameColorList(group, QStringLiteral("Stage Favourites")));
    QCOMPARE(ZelColorPickerButtonsWidget::favoriteList(), QStringLiteral("Stage Favourites"));
    QTRY_VERIFY(action(QStringLiteral("Stage Favourites")) && !action(group));

    picker.setColorAndSelectMainPreview(ZelColor::fromRgb8(3, 4, 5), QStringLiteral("uid5"));
    QSignalSpy spy(&picker, &ZelColorPicker::colorAddedToFavorites);
    buttons.show();
    QVERIFY(QTest::qWaitForWindowExposed(&buttons));
    QTest::mouseClick(favorites, Qt::LeftButton, Qt::NoModifier, QPoint(4, favorites->height() / 2));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(colorArg(spy), ZelColor::fromRgb8(3, 4, 5));
    QCOMPARE(spy.last().mid(1), QVariantList({"uid5", "Stage Favourites"}));

    // "New Color Group" makes a group and aims at it.
    emit menu->triggered(menu->findChild<QAction*>(QStringLiteral("newColorGroupAction")));
    QVERIFY(library->getModifiableLists().contains(ZelColorPickerButtonsWidget::favoriteList()));
    QVERIFY(ZelColorPickerButtonsWidget::favoriteList().startsWith(QStringLiteral("New Color Group")));
}

LUMETTO_TEST_MAIN(TestZelColorPicker, "tst_zelcolorpicker")
#include "tst_zelcolorpicker.moc"

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
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

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

// Offers a colour payload to a swatch the way a drag over it does; answers whether it was taken.
bool drop(ColorViewWidget* swatch, const ZelColor& color, const QString& uid = QString()) {
    ColorMimeData::Entry entry;
    entry.color = color;
    entry.uid = uid;
    QScopedPointer<QMimeData> data(ColorMimeData::encode({entry}));
    const QPoint pos = swatch->rect().center();
    QDragEnterEvent enter(pos, Qt::CopyAction, data.data(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(swatch, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropEvent(pos, Qt::CopyAction, data.data(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(swatch, &dropEvent);
    return dropEvent.isAccepted();
}

ZelColor colorArg(const QSignalSpy& spy) {
    return spy.last().at(0).value<ZelColor>();
}

} // namespace

class TestZelColorPicker : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void firstPickerSeedsTheLibraryAndMigratesFavorites();
    void pagesFollowTheColorKind();
    void whiteAndChannelPagesEditTheColor();
    void opacityFollowsLibraryColorsOnly();
    void programmaticColorsDoNotEcho();
    void comparisonClickMakesTheSwatchCurrent();
    void dropsAreTakenPerDisplayMode();
    void swatchStoreIsSharedByPickers();
    void swatchMenuOffersAddAndReset();
    void buttonBarDrivesThePicker();
    void favoritesMenuListsUserGroups();
    void savedPageAppliesUntilAColorIsShown();
};

void TestZelColorPicker::initTestCase() {
    // Each run starts like a first start: no user lists from an earlier run.
    QFile::remove(ZelColorLibrary::userFilePath());
    QSettings().clear();
    // Favourites as an older version left them, read once by the first picker.
    QSettings old(QStringLiteral("Orvane"), QStringLiteral("ZelColorPicker"));
    old.beginGroup(QStringLiteral("Effect Manager"));
    old.beginGroup(QStringLiteral("Favorite Colors"));
    const char* values[] = {"#ff8000", "not a colour", "#102030"};
    for (int i = 0; i < 3; ++i) {
        old.beginGroup(QStringLiteral("Color_%1").arg(i));
        old.setValue(QStringLiteral("ColorName"), QStringLiteral("Old %1").arg(i));
        old.setValue(QStringLiteral("ColorValue"), QString::fromLatin1(values[i]));
        old.setValue(QStringLiteral("ColorUid"), QStringLiteral("olduid%1").arg(i));
        old.endGroup();
    }
    old.endGroup();
    old.endGroup();
    old.sync();
    QVERIFY(!ZelColorLibrary::Instance()->containsDefaults());
}

void TestZelColorPicker::firstPickerSeedsTheLibraryAndMigratesFavorites() {
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("old favourite colour that cannot be read")));
    ZelColorPicker picker;
    ZelColorLibrary* library = ZelColorLibrary::Instance();
    QVERIFY(library->containsDefaults());
    const QModelIndex swatches = library->getIndexOfList(QStringLiteral("Varnel Swatches"));
    QVERIFY(swatches.isValid());
    QCOMPARE(library->rowCount(swatches), 12 + 8 + 12);
    QStringList names;
    for (int row = 0; row < library->rowCount(swatches); ++row)
        names << library->index(row, 0, swatches).data(ZelColorLibrary::NameRole).toString();
    QCOMPARE(names.first(), QStringLiteral("Red"));
    QCOMPARE(names.at(11), QStringLiteral("Black"));
    QCOMPARE(names.at(12), QStringLiteral("2700 K / center of ANSI bin"));
    QCOMPARE(names.last(), QStringLiteral("Violet White"));
    const QString orange = library->index(1, 0, swatches).data(ZelColorLibrary::UidRole).toString();
    QCOMPARE(library->get(orange).red8(), 255);
    QCOMPARE(library->get(orange).green8(), 127);
    const QString candle = library->index(20, 0, swatches).data(ZelColorLibrary::UidRole).toString();
    QCOMPARE(library->get(candle).spec(), int(ZelColor::Yxy));
    QCOMPARE(library->get(candle).getx(), 0.50563);

    const QModelIndex migrated = library->getIndexOfList(QStringLiteral("Migrated Favorites"));
    QVERIFY(migrated.isValid());
    QVERIFY(library->getModifiableLists().contains(QStringLiteral("Migrated Favorites")));
    QCOMPARE(library->rowCount(migrated), 2);
    QCOMPARE(library->index(1, 0, migrated).data(ZelColorLibrary::NameRole).toString(), QStringLiteral("Old 2"));
    QCOMPARE(library->get(library->index(0, 0, migrated).data(ZelColorLibrary::UidRole).toString()),
             ZelColor(QStringLiteral("#ff8000")));
    QSettings old(QStringLiteral("Orvane"), QStringLiteral("ZelColorPicker"));
    old.beginGroup(QStringLiteral("Effect Manager"));
    QVERIFY(!old.childGroups().contains(QStringLiteral("Favorite Colors")));

    // A second picker seeds nothing more.
    ZelColorPicker second;
    QCOMPARE(library->rowCount(library->getIndexOfList(QStringLiteral("Varnel Swatches"))), 32);
    QCOMPARE(library->rowCount(library->getIndexOfList(QStringLiteral("Migrated Favorites"))), 2);
}

void TestZelColorPicker::pagesFollowTheColorKind() {
    ZelColorPicker picker;
    ZelColorPickerWidget* body = picker.body();
    auto* stacked = picker.findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
    QVERIFY(picker.findChild<QWidget*>(QStringLiteral("whitePickerWidget")));
    QVERIFY(picker.findChild<QWidget*>(QStringLiteral("rgbNChannelPickerWidget")));
    QVERIFY(picker.findChild<QWidget*>(QStringLiteral("whiteNChannelPickerWidget")));
    auto* intensity = picker.findChild<IntensitySliderWidget*>(QStringLiteral("intensitySliderWidget"));
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    QSignalSpy pageSpy(&picker, &ZelColorPicker::pickerSetOnSetColor);

    picker.setColorAndSelectMainPreview(hsb(200, 100, 255), QString());
    QCOMPARE(stacked->currentIndex(), 0);
    QCOMPARE(pageSpy.last().at(0).toInt(), 0);
    QCOMPARE(pageSpy.last().at(1).toBool(), false);
    QVERIFY(!intensity->isVisible());

    ZelColor dim = white4000();
    dim.setY(0.5);
    picker.setColorAndSelectMainPreview(dim, QString());
    QCOMPARE(stacked->currentIndex(), 1);
    QCOMPARE(pageSpy.last().at(0).toInt(), 1);
    QVERIFY(intensity->isVisible());
    QCOMPARE(intensity->intensity(), 128);
    QCOMPARE(body->swatch(0)->displayMode(), 3);
    QCOMPARE(body->swatch(2)->displayMode(), 3);
    QCOMPARE(body->swatch(0)->color(), dim);

    ZelColor channels = ZelColor::fromNChannelF({0.2, 0.4}, 1, 6);
    channels.setNChannelRenderType(1);
    picker.setColorAndSelectMainPreview(channels, QString());
    QCOMPARE(stacked->currentIndex(), 1);
    QCOMPARE(pageSpy.last().at(1).toBool(), true);
    QVERIFY(body->nChannelPickersShown());
    channels.setNChannelRenderType(0);
    picker.setColorAndSelectMainPreview(channels, QString());
    QCOMPARE(stacked->currentIndex(), 0);
    QCOMPARE(body->swatch(0)->displayMode(), 1);
}

// The frame's white and channel pages are live: what the user does there becomes the main colour.
void TestZelColorPicker::whiteAndChannelPagesEditTheColor() {
    ZelColorPicker picker;
    picker.resize(380, 720);
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    QSignalSpy spy(&picker, &ZelColorPicker::mainColorChanged);
    auto* white = picker.findChild<WhitePickerWidget*>(QStringLiteral("whitePickerWidget"));
    picker.setColorAndSelectMainPreview(white4000(), QString());
    double cct = 0;
    double tint = 0;
    CCTUtils::getCCTAndTintFromxy(white->color().getx(), white->color().gety(), &cct, &tint);
    QVERIFY2(std::fabs(cct - 4000) < 1, qPrintable(QString::number(cct)));

    // The frame's intensity slider dims the white and keeps its point.
    auto* intensity = picker.findChild<IntensitySliderWidget*>(QStringLiteral("intensitySliderWidget"));
    QSpinBox* intensityBox = intensity->findChild<QSpinBox*>();
    intensityBox->setFocus();
    intensityBox->selectAll();
    QTest::keyClicks(intensityBox, QStringLiteral("51"));
    ZelColor dimmed = colorArg(spy);
    QCOMPARE(dimmed.spec(), int(ZelColor::Yxy));
    QVERIFY(std::fabs(dimmed.getY() - 0.2) < 1e-9);
    QVERIFY(std::fabs(dimmed.getx() - white4000().getx()) < 1e-9);

    // A click on the diagram picks a white there, at that intensity.
    auto* diagram = picker.findChild<BlackBodyCurveWidget*>(QStringLiteral("blackBodyCurveWidget"));
    const int before = spy.size();
    QTest::mouseClick(diagram, Qt::LeftButton, {}, diagram->pointFromxy(CCTUtils::getxyFromCCT(3000)).toPoint());
    QVERIFY(spy.size() > before);
    CCTUtils::getCCTAndTintFromxy(colorArg(spy).getx(), colorArg(spy).gety(), &cct, &tint);
    QVERIFY2(std::fabs(cct - 3000) < 40, qPrintable(QString::number(cct)));
    QVERIFY(std::fabs(colorArg(spy).getY() - 0.2) < 1e-9);

    // An N-channel colour opens the channel controls of its page, one slider per channel.
    ZelColor channels = ZelColor::fromNChannelF({0.1, 0.2, 0.3, 0.4}, 1, 2);
    channels.setNChannelRenderType(0);
    picker.setColorAndSelectMainPreview(channels, QString());
    auto* rgbChannels = picker.findChild<NChannelPickerWidget*>(QStringLiteral("rgbNChannelPickerWidget"));
    QVERIFY(rgbChannels->isVisible());
    QCOMPARE(rgbChannels->profile(), 2);
    QList<QSpinBox*> boxes = rgbChannels->findChildren<QSpinBox*>();
    QCOMPARE(boxes.size(), 4);
    QCOMPARE(boxes.last()->value(), 102);
    boxes.last()->setFocus();
    QTest::keyClick(boxes.last(), Qt::Key_Up);
    const ZelColor edited = colorArg(spy);
    QCOMPARE(edited.spec(), int(ZelColor::NChannel));
    QCOMPARE(edited.getNChannel8(3), 103);
    QCOMPARE(picker.body()->swatch(0)->color(), edited);
}

void TestZelColorPicker::opacityFollowsLibraryColorsOnly() {
    ZelColorPicker picker;
    picker.resize(380, 560);
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    auto* opacity = picker.findChild<OpacitySliderWidget*>(QStringLiteral("opacitySliderWidget"));
    auto* spinBox = opacity->findChild<QSpinBox*>(QStringLiteral("opacitySpinBox"));
    QSignalSpy spy(&picker, &ZelColorPicker::mainColorChanged);

    spinBox->setFocus();
    spinBox->selectAll();
    QTest::keyClicks(spinBox, QStringLiteral("100"));
    QCOMPARE(colorArg(spy).alpha8(), 100);
    QCOMPARE(picker.body()->swatch(0)->opacity(), 100);

    // A colour picked on the page keeps the slider's opacity.
    auto* spectrum = picker.findChild<HsbSpectrumWidget*>(QStringLiteral("hsbSpectrumWidget"));
    QTest::mouseClick(spectrum, Qt::LeftButton, Qt::NoModifier, spectrum->drawingRect().center());
    QCOMPARE(colorArg(spy).alpha8(), 100);
    QCOMPARE(colorArg(spy).spec(), int(ZelColor::Rgb));
    QCOMPARE(opacity->opacity(), 100);

    // A library colour brings its own opacity.
    picker.setColor(ZelColor::fromRgb8(1, 2, 3, 50), QStringLiteral("someuid"));
    QCOMPARE(opacity->opacity(), 50);
    QCOMPARE(spy.last().at(1).toString(), QStringLiteral("someuid"));
    // So does any colour set from outside.
    picker.setColor(ZelColor::fromRgb8(1, 2, 3, 200), QString());
    QCOMPARE(opacity->opacity(), 200);
}

void TestZelColorPicker::programmaticColorsDoNotEcho() {
    ZelColorPicker picker;
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    auto* page = picker.findChild<RgbPickerWidget*>(QStringLiteral("rgbPickerWidget"));
    QSignalSpy pageSpy(page, &RgbPickerWidget::colorChanged);
    QSignalSpy mainSpy(&picker, &ZelColorPicker::mainColorChanged);
    QSignalSpy clearSpy(&picker, &ZelColorPicker::clearPreviousSelection);
    const ZelColor red = ZelColor::fromRgb8(200, 10, 10);
    picker.setColorAndSelectMainPreview(red, QStringLiteral("uid1"));
    QCOMPARE(pageSpy.count(), 0);
    QCOMPARE(mainSpy.count(), 1);
    QCOMPARE(colorArg(mainSpy), red);
    QCOMPARE(clearSpy.count(), 1);
    QCOMPARE(picker.findChild<QSpinBox*>(QStringLiteral("redSpinBox"))->value(), 200);
    QCOMPARE(picker.findChild<QSpinBox*>(QStringLiteral("hueSpinBox"))->value(), red.hue8());
    QCOMPARE(picker.findChild<HsbSpectrumWidget*>(QStringLiteral("hsbSpectrumWidget"))->saturation(),
             red.saturationF());

    // A user change goes out once and clears the tree's selection.
    auto* green = picker.findChild<QSpinBox*>(QStringLiteral("greenSpinBox"));
    green->setFocus();
    QTest::keyClick(green, Qt::Key_Up);
    QCOMPARE(pageSpy.count(), 1);
    QCOMPARE(mainSpy.count(), 2);
    QCOMPARE(colorArg(mainSpy).green8(), 11);
    QCOMPARE(mainSpy.last().at(1).toString(), QString());
    QCOMPARE(clearSpy.count(), 2);
}

void TestZelColorPicker::comparisonClickMakesTheSwatchCurrent() {
    ZelColorPicker picker;
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    ZelColorPickerWidget* body = picker.body();
    auto* frame = picker.findChild<QWidget*>(QStringLiteral("colorComparisonFrame"));
    QVERIFY(!frame->isVisible());
    picker.setColorAndSelectMainPreview(ZelColor::fromRgb8(255, 0, 0), QString());

    picker.setComparison(true);
    QVERIFY(frame->isVisible());
    for (int i = 0; i < 4; ++i)
        QVERIFY(body->swatch(i)->isSelectable());
    const ZelColor blue = ZelColor::fromRgb8(0, 0, 255, 180);
    QVERIFY(drop(body->swatch(2), blue, QStringLiteral("blueuid")));
    QCOMPARE(body->swatch(2)->color(), blue);
    QCOMPARE(body->swatch(0)->color(), ZelColor::fromRgb8(255, 0, 0));

    QSignalSpy mainSpy(&picker, &ZelColorPicker::mainColorChanged);
    QSignalSpy comparisonSpy(&picker, &ZelColorPicker::comparisonColorChanged);
    QTest::mouseClick(body->swatch(2), Qt::LeftButton);
    QCOMPARE(mainSpy.count(), 1);
    QCOMPARE(colorArg(mainSpy), blue);
    QCOMPARE(mainSpy.last().at(1).toString(), QStringLiteral("blueuid"));
    QCOMPARE(comparisonSpy.count(), 0);
    QCOMPARE(body->swatch(0)->color(), blue);
    QVERIFY(body->swatch(0)->isSelected());
    QVERIFY(!body->swatch(2)->isSelected());
    QCOMPARE(body->swatch(2)->color(), blue);
    QCOMPARE(picker.findChild<OpacitySliderWidget*>(QStringLiteral("opacitySliderWidget"))->opacity(), 180);
    QCOMPARE(picker.findChild<QSpinBox*>(QStringLiteral("blueSpinBox"))->value(), 255);

    // The keyboard does the same.
    QVERIFY(drop(body->swatch(3), ZelColor::fromRgb8(0, 255, 0)));
    picker.activateWindow();
    body->swatch(0)->setFocus();
    QTest::keyClick(&picker, Qt::Key_3, Qt::ControlModifier);
    QTRY_COMPARE(body->swatch(0)->color(), ZelColor::fromRgb8(0, 255, 0));

    picker.setComparison(false);
    QVERIFY(!frame->isVisible());
    QVERIFY(!body->swatch(0)->isSelectable());
    // Hidden swatches are not picked by their shortcuts.
    QTest::keyClick(&picker, Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(body->swatch(0)->color(), ZelColor::fromRgb8(0, 255, 0));
}

void TestZelColorPicker::dropsAreTakenPerDisplayMode() {
    ZelColorPicker picker;
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
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
    QDragEnterEvent enter(comparison->rect().center(), Qt::CopyAction, &garbage, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(comparison, &enter);
    QVERIFY(!enter.isAccepted());

    QSignalSpy mainSpy(&picker, &ZelColorPicker::mainColorChanged);
    QVERIFY(drop(body->swatch(0), ZelColor::fromRgb8(1, 2, 3)));
    QCOMPARE(colorArg(mainSpy), ZelColor::fromRgb8(1, 2, 3));
    QCOMPARE(picker.findChild<QSpinBox*>(QStringLiteral("blueSpinBox"))->value(), 3);

    picker.showWhitePicker();
    QCOMPARE(comparison->displayMode(), 3);
    QVERIFY(drop(comparison, white4000()));
    QVERIFY(drop(comparison, channels));
    QVERIFY(!drop(comparison, ZelColor::fromRgb8(9, 9, 9)));
    // Back on the RGB page the RGB swatches return.
    picker.showRgbPicker();
    QCOMPARE(comparison->color(), ZelColor::fromRgb8(9, 9, 9));
}

void TestZelColorPicker::swatchStoreIsSharedByPickers() {
    const ZelColor teal = ZelColor::fromRgb8(0, 128, 128);
    {
        ZelColorPicker first;
        first.show();
        QVERIFY(QTest::qWaitForWindowExposed(&first));
        first.setComparison(true);
        QVERIFY(drop(first.body()->swatch(3), teal, QStringLiteral("tealuid")));
        first.hide();
    }
    ZelColorPicker second;
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
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

void TestZelColorPicker::swatchMenuOffersAddAndReset() {
    ZelColorPicker picker;
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    ZelColorPickerWidget* body = picker.body();
    picker.setComparison(true);
    ZelColorPickerButtonsWidget::setFavoriteList(QString());

    QScopedPointer<QMenu> mainMenu(body->swatch(0)->createContextMenu());
    QCOMPARE(mainMenu->actions().size(), 1);
    QCOMPARE(mainMenu->actions().first()->text(), QStringLiteral("Add to Favorites"));

    QVERIFY(drop(body->swatch(1), ZelColor::fromRgb8(50, 60, 70)));
    QScopedPointer<QMenu> menu(body->swatch(1)->createContextMenu());
    QCOMPARE(menu->actions().size(), 2);
    QSignalSpy favoriteSpy(&picker, &ZelColorPicker::colorAddedToFavorites);
    menu->actions().at(0)->trigger();
    QCOMPARE(favoriteSpy.count(), 1);
    QCOMPARE(colorArg(favoriteSpy), ZelColor::fromRgb8(50, 60, 70));
    QCOMPARE(favoriteSpy.last().at(2).toString(), QStringLiteral("Favorites"));
    menu->actions().at(1)->trigger();
    QCOMPARE(body->swatch(1)->color(), ZelColor::fromRgb8(255, 255, 255));

    picker.showWhitePicker();
    QScopedPointer<QMenu> whiteMenu(body->swatch(2)->createContextMenu());
    whiteMenu->findChild<QAction*>(QStringLiteral("resetAction"))->trigger();
    QCOMPARE(body->swatch(2)->color(), white4000());
}

void TestZelColorPicker::buttonBarDrivesThePicker() {
    QSettings().setValue(QStringLiteral("colorPickerRGBPickerDisplayed"), false);
    QSettings().setValue(QStringLiteral("colorPickerWhitePickerDisplayed"), true);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* buttons = new ZelColorPickerButtonsWidget(&window);
    auto* picker = new ZelColorPicker(&window);
    layout->addWidget(buttons);
    layout->addWidget(picker);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    buttons->setColorPicker(picker);
    QCOMPARE(picker->body()->currentPage(), 1);

    auto* rgb = buttons->findChild<QToolButton*>(QStringLiteral("showRgbPickerButton"));
    auto* white = buttons->findChild<QToolButton*>(QStringLiteral("showWhitePickerButton"));
    auto* channels = buttons->findChild<QToolButton*>(QStringLiteral("showNChannelPickerButton"));
    auto* divider = buttons->findChild<QWidget*>(QStringLiteral("buttonDivider"));
    QCOMPARE(rgb->toolTip(), QStringLiteral("Display RGB Range"));
    QTest::mouseClick(rgb, Qt::LeftButton);
    QCOMPARE(picker->body()->currentPage(), 0);
    QCOMPARE(QSettings().value(QStringLiteral("colorPickerRGBPickerDisplayed")).toBool(), true);
    QTest::mouseClick(channels, Qt::LeftButton);
    QVERIFY(picker->body()->nChannelPickersShown());
    QCOMPARE(QSettings().value(QStringLiteral("colorPickerNChannelPickerDisplayed")).toBool(), true);

    // Setting a white moves the buttons along without a click.
    picker->setColorAndSelectMainPreview(white4000(), QString());
    QVERIFY(white->isChecked());
    QVERIFY(!rgb->isChecked());

    QVERIFY(divider->isVisible());
    buttons->setVisibleButtons(ZelColorPickerButtonsWidget::RgbButton);
    QVERIFY(!divider->isVisible());
    QVERIFY(!white->isVisible());
    buttons->setVisibleButtons(ZelColorPickerButtonsWidget::RgbButton | ZelColorPickerButtonsWidget::WhiteButton);
    QVERIFY(divider->isVisible());
    buttons->setFavoritesButtonVisible(false);
    QVERIFY(!divider->isVisible());
}

void TestZelColorPicker::favoritesMenuListsUserGroups() {
    ZelColorLibrary* library = ZelColorLibrary::Instance();
    const QString group = library->createColorList(QStringLiteral("Stage Picks"), true);
    ZelColorPickerButtonsWidget buttons;
    ZelColorPicker picker;
    buttons.setColorPicker(&picker);
    auto* favorites = buttons.findChild<QToolButton*>(QStringLiteral("addToFavoritesButton"));
    QCOMPARE(favorites->text(), QStringLiteral("\u2665"));
    QMenu* menu = favorites->menu();
    auto texts = [menu] {
        QStringList result;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                result << action->text();
        }
        return result;
    };
    QVERIFY(texts().contains(group));
    QCOMPARE(texts().last(), QStringLiteral("New Color Group"));

    for (QAction* action : menu->actions()) {
        if (action->text() == group)
            emit menu->triggered(action);
    }
    QCOMPARE(ZelColorPickerButtonsWidget::favoriteList(), group);

    QVERIFY(library->renameColorList(group, QStringLiteral("Stage Favourites")));
    QCOMPARE(ZelColorPickerButtonsWidget::favoriteList(), QStringLiteral("Stage Favourites"));
    QTRY_VERIFY(texts().contains(QStringLiteral("Stage Favourites")));
    QVERIFY(!texts().contains(group));

    picker.setColorAndSelectMainPreview(ZelColor::fromRgb8(3, 4, 5), QStringLiteral("uid5"));
    QSignalSpy spy(&picker, &ZelColorPicker::colorAddedToFavorites);
    buttons.show();
    QVERIFY(QTest::qWaitForWindowExposed(&buttons));
    QTest::mouseClick(favorites, Qt::LeftButton, Qt::NoModifier, QPoint(4, favorites->height() / 2));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(colorArg(spy), ZelColor::fromRgb8(3, 4, 5));
    QCOMPARE(spy.last().at(1).toString(), QStringLiteral("uid5"));
    QCOMPARE(spy.last().at(2).toString(), QStringLiteral("Stage Favourites"));

    // "New Color Group" makes a group and aims at it.
    QAction* newGroup = menu->findChild<QAction*>(QStringLiteral("newColorGroupAction"));
    QVERIFY(newGroup);
    emit menu->triggered(newGroup);
    QVERIFY(library->getModifiableLists().contains(ZelColorPickerButtonsWidget::favoriteList()));
    QVERIFY(ZelColorPickerButtonsWidget::favoriteList().startsWith(QStringLiteral("New Color Group")));
}

void TestZelColorPicker::savedPageAppliesUntilAColorIsShown() {
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
    QCOMPARE(picker.body()->currentPage(), 0);
    QVERIFY(buttons.findChild<QToolButton*>(QStringLiteral("showRgbPickerButton"))->isChecked());
}

LUMETTO_TEST_MAIN(TestZelColorPicker, "tst_zelcolorpicker")
#include "tst_zelcolorpicker.moc"

#include "ZelColorPickerWidget.h"

#include "ColorViewWidget.h"
#include "IntensitySliderWidget.h"
#include "NChannelPickerWidget.h"
#include "OpacitySliderWidget.h"
#include "RecentColorsWidget.h"
#include "RgbPickerWidget.h"
#include "WhitePickerWidget.h"
#include "ZelColorPickerButtonsWidget.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QtMath>

namespace ZelColorPickerLib {

namespace {

struct Store {
    ZelColor colors[2][ZelColorPickerWidget::SwatchCount];
    QString uids[2][ZelColorPickerWidget::SwatchCount];
    bool filled = false;
};

// Outlives the pickers: an editor closed and another opened shows the same swatches.
Store& swatchStore() {
    static Store store;
    return store;
}

int displayModeOfPage(int page) {
    return page == ZelColorPickerWidget::WhitePage ? ColorViewWidget::WhiteDisplay : ColorViewWidget::RgbDisplay;
}

QWidget* namedPage(const QString& name, QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(name);
    return page;
}

} // namespace

ZelColorPickerWidget::ZelColorPickerWidget(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("ZelColorPickerWidget"));
    m_mainLayout = new QVBoxLayout(this);
    m_mainLayout->setObjectName(QStringLiteral("mainLayout"));
    m_mainLayout->setContentsMargins(4, 4, 4, 4);
    m_mainLayout->setSpacing(6);

    m_stackedWidget = new QStackedWidget(this);
    m_stackedWidget->setObjectName(QStringLiteral("stackedWidget"));
    QWidget* rgbPage = namedPage(QStringLiteral("rgbPickerPage"), m_stackedWidget);
    auto* rgbLayout = new QVBoxLayout(rgbPage);
    rgbLayout->setContentsMargins(0, 0, 0, 0);
    m_rgbPickerWidget = new RgbPickerWidget(rgbPage);
    rgbLayout->addWidget(m_rgbPickerWidget);
    // The white page is filled when first shown (whitePicker()): most pickers never show it, and
    // its diagram and the white range behind it are a large part of a picker.
    QWidget* whitePage = namedPage(QStringLiteral("whitePickerPage"), m_stackedWidget);
    auto* whiteLayout = new QVBoxLayout(whitePage);
    whiteLayout->setContentsMargins(0, 0, 0, 0);
    m_stackedWidget->addWidget(rgbPage);
    m_stackedWidget->addWidget(whitePage);
    m_mainLayout->addWidget(m_stackedWidget, 1);

    m_commonSlidersFrame = new QFrame(this);
    m_commonSlidersFrame->setObjectName(QStringLiteral("commonSlidersFrame"));
    auto* commonLayout = new QVBoxLayout(m_commonSlidersFrame);
    commonLayout->setContentsMargins(0, 0, 0, 0);
    commonLayout->setSpacing(2);
    m_opacitySliderWidget = new OpacitySliderWidget(m_commonSlidersFrame);
    m_intensitySliderWidget = new IntensitySliderWidget(m_commonSlidersFrame);
    m_intensitySliderWidget->hide();
    commonLayout->addWidget(m_opacitySliderWidget);
    commonLayout->addWidget(m_intensitySliderWidget);
    m_mainLayout->addWidget(m_commonSlidersFrame);

    m_nChannelPickerStackedWidget = new QStackedWidget(this);
    m_nChannelPickerStackedWidget->setObjectName(QStringLiteral("nChannelPickerStackedWidget"));
    m_nChannelPickerStackedWidget->setStyleSheet(
        QStringLiteral("QWidget#nChannelWidget{background-color: rgb(215, 215, 215);}"));
    QWidget* rgbChannels = namedPage(QStringLiteral("rgbNChannelPickerPage"), m_nChannelPickerStackedWidget);
    m_rgbNChannelPickerWidget = new NChannelPickerWidget(rgbChannels);
    m_rgbNChannelPickerWidget->setObjectName(QStringLiteral("rgbNChannelPickerWidget"));
    m_rgbNChannelPickerWidget->setRenderType(0);
    auto* rgbChannelsLayout = new QVBoxLayout(rgbChannels);
    rgbChannelsLayout->setContentsMargins(0, 0, 0, 0);
    rgbChannelsLayout->addWidget(m_rgbNChannelPickerWidget);
    QWidget* whiteChannels = namedPage(QStringLiteral("whiteNChannelPickerPage"), m_nChannelPickerStackedWidget);
    m_whiteNChannelPickerWidget = new NChannelPickerWidget(whiteChannels);
    m_whiteNChannelPickerWidget->setObjectName(QStringLiteral("whiteNChannelPickerWidget"));
    m_whiteNChannelPickerWidget->setRenderType(1);
    auto* whiteChannelsLayout = new QVBoxLayout(whiteChannels);
    whiteChannelsLayout->setContentsMargins(0, 0, 0, 0);
    whiteChannelsLayout->addWidget(m_whiteNChannelPickerWidget);
    m_nChannelPickerStackedWidget->addWidget(rgbChannels);
    m_nChannelPickerStackedWidget->addWidget(whiteChannels);
    m_nChannelPickerStackedWidget->hide();
    m_mainLayout->addWidget(m_nChannelPickerStackedWidget);

    auto* swatchRow = new QHBoxLayout;
    swatchRow->setSpacing(6);
    m_swatches[0] = new ColorViewWidget(this);
    m_swatches[0]->setObjectName(QStringLiteral("mainColorView"));
    m_swatches[0]->setMainSwatch(true);
    m_swatches[0]->setFixedSize(52, 52);
    m_swatches[0]->setToolTip(tr("Current Color"));
    m_swatches[0]->setAccessibleName(tr("Current Color"));
    swatchRow->addWidget(m_swatches[0]);
    m_colorComparisonFrame = new QFrame(this);
    m_colorComparisonFrame->setObjectName(QStringLiteral("colorComparisonFrame"));
    auto* comparisonLayout = new QHBoxLayout(m_colorComparisonFrame);
    comparisonLayout->setContentsMargins(0, 0, 0, 0);
    comparisonLayout->setSpacing(4);
    for (int i = 1; i < SwatchCount; ++i) {
        m_swatches[i] = new ColorViewWidget(m_colorComparisonFrame);
        m_swatches[i]->setObjectName(QStringLiteral("colorComparison%1").arg(i));
        m_swatches[i]->setFixedSize(44, 44);
        m_swatches[i]->setToolTip(tr("Comparison Color %1 (Ctrl+%1)").arg(i));
        m_swatches[i]->setAccessibleName(tr("Comparison Color %1").arg(i));
        comparisonLayout->addWidget(m_swatches[i]);
    }
    m_colorComparisonFrame->hide();
    swatchRow->addWidget(m_colorComparisonFrame);
    swatchRow->addStretch(1);
    m_recentColorsWidget = new RecentColorsWidget(this);
    swatchRow->addWidget(m_recentColorsWidget, 0, Qt::AlignBottom);
    m_mainLayout->addLayout(swatchRow);

    connect(m_rgbPickerWidget, &RgbPickerWidget::colorChanged, this, &ZelColorPickerWidget::onRgbPickerColorChanged);
    for (NChannelPickerWidget* channels : {m_rgbNChannelPickerWidget, m_whiteNChannelPickerWidget})
        connect(channels, &NChannelPickerWidget::colorChanged, this,
                &ZelColorPickerWidget::onNChannelPickerColorChanged);
    connect(m_opacitySliderWidget, &OpacitySliderWidget::opacityChanged, this, &ZelColorPickerWidget::onOpacityChanged);
    connect(m_intensitySliderWidget, &IntensitySliderWidget::intensityChanged, this,
            &ZelColorPickerWidget::onIntensityChanged);
    connect(m_swatches[0], &ColorViewWidget::selected, this, &ZelColorPickerWidget::onMainSwatchSelected);
    connect(m_swatches[1], &ColorViewWidget::selected, this, &ZelColorPickerWidget::onComparisonSwatch1Selected);
    connect(m_swatches[2], &ColorViewWidget::selected, this, &ZelColorPickerWidget::onComparisonSwatch2Selected);
    connect(m_swatches[3], &ColorViewWidget::selected, this, &ZelColorPickerWidget::onComparisonSwatch3Selected);
    connect(m_swatches[1], &ColorViewWidget::colorChanged, this, &ZelColorPickerWidget::onComparisonSwatch1Changed);
    connect(m_swatches[2], &ColorViewWidget::colorChanged, this, &ZelColorPickerWidget::onComparisonSwatch2Changed);
    connect(m_swatches[3], &ColorViewWidget::colorChanged, this, &ZelColorPickerWidget::onComparisonSwatch3Changed);
    for (ColorViewWidget* swatch : m_swatches) {
        connect(swatch, &ColorViewWidget::copyToMainColor, this, &ZelColorPickerWidget::onCopyColorToMainSwatch);
        connect(swatch, &ColorViewWidget::addToFavorites, this,
                [this](ZelColor color, const QString& uid) { onAddColorToFavorites(color, uid); });
    }
    // A recent colour is picked as a colour of the library is.
    connect(m_recentColorsWidget, &RecentColorsWidget::colorClicked, this,
            [this](const ZelColor& color, const QString& uid) {
                setColor(color, uid, false);
                emit clearPreviousSelection();
            });
    const char* keys[] = {"Ctrl+1", "CTRL+2", "Ctrl+3"};
    for (int i = 0; i < 3; ++i) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(keys[i])), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, i] { comparisonSwatchSelected(i + 1); });
    }

    for (int page = 0; page < 2; ++page)
        m_sets[page] = defaultSet(page, ColorViewWidget::defaultColor(displayModeOfPage(page)));
    m_color = m_rgbPickerWidget->color();
    m_sets[RgbPage].colors[0] = m_color;
    applySwatches(RgbPage);
    selectMainSwatch();
    setComparison(false);
    m_colorGiven = false;
}

ZelColorPickerWidget::SwatchSet ZelColorPickerWidget::defaultSet(int page, const ZelColor& current) {
    SwatchSet set;
    set.colors[0] = current;
    for (int i = 1; i < SwatchCount; ++i)
        set.colors[i] = ColorViewWidget::defaultColor(displayModeOfPage(page));
    return set;
}

WhitePickerWidget* ZelColorPickerWidget::whitePicker() {
    if (m_whitePickerWidget)
        return m_whitePickerWidget;
    QWidget* page = m_stackedWidget->widget(WhitePage);
    // Made apart and then placed, so that accessibility meets it whole (see MSPSceneSettingsWidget).
    m_whitePickerWidget = new WhitePickerWidget(nullptr);
    m_whitePickerWidget->setObjectName(QStringLiteral("whitePickerWidget"));
    m_whitePickerWidget->setFixtureProfile(m_fixtureProfile);
    page->layout()->addWidget(m_whitePickerWidget);
    connect(m_whitePickerWidget, &WhitePickerWidget::colorChanged, this,
            &ZelColorPickerWidget::onWhitePickerColorChanged);
    connect(m_whitePickerWidget, &WhitePickerWidget::intensityChanged, this, &ZelColorPickerWidget::setIntensity);
    return m_whitePickerWidget;
}

int ZelColorPickerWidget::currentPage() const {
    return m_stackedWidget->currentIndex();
}

int ZelColorPickerWidget::pageForColor(const ZelColor& color) {
    if (color.spec() == ZelColor::Yxy || (color.spec() == ZelColor::NChannel && color.nChannelRenderType() == 1))
        return WhitePage;
    return RgbPage;
}

ColorViewWidget* ZelColorPickerWidget::selectedSwatch() const {
    for (ColorViewWidget* swatch : m_swatches) {
        if (swatch->isSelected())
            return swatch;
    }
    return m_swatches[0];
}

bool ZelColorPickerWidget::nChannelPickersShown() const {
    return m_nChannelPickerStackedWidget->isVisibleTo(this);
}

void ZelColorPickerWidget::selectMainSwatch() {
    for (ColorViewWidget* swatch : m_swatches)
        swatch->setSelected(swatch == m_swatches[0]);
}

void ZelColorPickerWidget::setColor(ZelColor color, const QString& uid, bool isLocalColorChange) {
    m_color = color;
    m_uid = uid;
    m_colorGiven = true;

    const int page = color.isValid() ? pageForColor(color) : currentPage();
    if (page != currentPage())
        switchToPage(page);
    if (!isLocalColorChange && color.isValid()) {
        if (page == RgbPage)
            m_rgbPickerWidget->setColor(color);
        else
            whitePicker()->setColor(color);
    }
    const bool isNChannel = nChannelPickersShown() || color.spec() == ZelColor::NChannel;
    emit pickerSetOnSetColor(page, isNChannel);

    if (isLocalColorChange && uid.isEmpty()) {
        if (m_color.isValid())
            m_color.setAlpha8(m_opacitySliderWidget->opacity());
    } else if (m_color.isValid()) {
        m_opacitySliderWidget->setOpacity(m_color.alpha8());
    }

    selectedSwatch()->setColor(m_color, m_uid);
    emitSelectedSwatch();

    if (m_color.isValid())
        nChannelPickerOfPage(page)->setColor(m_color, m_uid, isNChannel);
    if (color.spec() == ZelColor::NChannel)
        showNChannelPickers(true);
}

NChannelPickerWidget* ZelColorPickerWidget::nChannelPickerOfPage(int page) const {
    return page == WhitePage ? m_whiteNChannelPickerWidget : m_rgbNChannelPickerWidget;
}

void ZelColorPickerWidget::emitSelectedSwatch() {
    ColorViewWidget* swatch = selectedSwatch();
    if (swatch == m_swatches[0])
        emit mainColorChanged(swatch->color(), swatch->uid());
    else
        emit comparisonColorChanged(swatch->color(), swatch->uid());
}

void ZelColorPickerWidget::switchToPage(int page) {
    const int old = currentPage();
    if (page == old)
        return;
    captureSwatches(old);
    if (page == WhitePage)
        whitePicker();
    m_stackedWidget->setCurrentIndex(page);
    m_nChannelPickerStackedWidget->setCurrentIndex(page);
    for (ColorViewWidget* swatch : m_swatches)
        swatch->setDisplayMode(displayModeOfPage(page));
    applySwatches(page);
    m_intensitySliderWidget->setVisible(page == WhitePage);
}

void ZelColorPickerWidget::captureSwatches(int page) {
    for (int i = 0; i < SwatchCount; ++i) {
        m_sets[page].colors[i] = m_swatches[i]->color();
        m_sets[page].uids[i] = m_swatches[i]->uid();
    }
}

void ZelColorPickerWidget::applySwatches(int page) {
    for (int i = 0; i < SwatchCount; ++i)
        m_swatches[i]->setColor(m_sets[page].colors[i], m_sets[page].uids[i]);
    if (m_sets[page].colors[0].isValid())
        m_opacitySliderWidget->setOpacity(m_sets[page].colors[0].alpha8());
}

void ZelColorPickerWidget::showRgbPicker() {
    switchToPage(RgbPage);
}

void ZelColorPickerWidget::showWhitePicker() {
    switchToPage(WhitePage);
    const ZelColor main = m_swatches[0]->color();
    if (main.isValid())
        whitePicker()->setColor(main);
}

void ZelColorPickerWidget::showNChannelPickers(bool show) {
    m_nChannelPickerStackedWidget->setCurrentIndex(currentPage());
    m_nChannelPickerStackedWidget->setVisible(show);
}

void ZelColorPickerWidget::setComparison(bool on) {
    m_comparison = on;
    selectMainSwatch();
    m_colorComparisonFrame->setVisible(on);
    for (ColorViewWidget* swatch : m_swatches)
        swatch->setSelectable(on);
    if (!on && m_swatches[0]->color().isValid())
        setColor(m_swatches[0]->color(), m_swatches[0]->uid(), false);
}

void ZelColorPickerWidget::onOpacityChanged(int opacity) {
    ColorViewWidget* swatch = selectedSwatch();
    swatch->setOpacity(opacity);
    if (swatch == m_swatches[0] && m_color.isValid())
        m_color.setAlpha8(opacity);
    emitSelectedSwatch();
}

void ZelColorPickerWidget::onIntensityChanged(int intensity) {
    if (currentPage() != WhitePage)
        return;
    whitePicker()->onIntensityChanged(intensity / 255.0);
}

void ZelColorPickerWidget::setIntensity(qreal intensity) {
    m_intensitySliderWidget->setIntensity(qFloor(intensity * 255 + 0.5));
}

void ZelColorPickerWidget::onMainSwatchSelected() {
    setColor(m_swatches[0]->color(), m_swatches[0]->uid(), false);
}

void ZelColorPickerWidget::comparisonSwatchSelected(int index) {
    // Hidden swatches are not picked by their shortcuts.
    if (!m_comparison)
        return;
    setColor(m_swatches[index]->color(), m_swatches[index]->uid(), false);
}

void ZelColorPickerWidget::onComparisonSwatch1Selected() {
    comparisonSwatchSelected(1);
}

void ZelColorPickerWidget::onComparisonSwatch2Selected() {
    comparisonSwatchSelected(2);
}

void ZelColorPickerWidget::onComparisonSwatch3Selected() {
    comparisonSwatchSelected(3);
}

void ZelColorPickerWidget::onCopyColorToMainSwatch(ZelColor color, const QString& uid) {
    if (m_swatches[0]->isSelected()) {
        setColor(color, uid, false); // emits mainColorChanged itself
        return;
    }
    m_swatches[0]->setColor(color, uid);
    emit mainColorChanged(color, uid);
}

void ZelColorPickerWidget::comparisonSwatchChanged(int index, const ZelColor& color, const QString& uid) {
    if (m_swatches[index]->isSelected())
        setColor(color, uid, false);
}

void ZelColorPickerWidget::onComparisonSwatch1Changed(ZelColor color, const QString& uid) {
    comparisonSwatchChanged(1, color, uid);
}

void ZelColorPickerWidget::onComparisonSwatch2Changed(ZelColor color, const QString& uid) {
    comparisonSwatchChanged(2, color, uid);
}

void ZelColorPickerWidget::onComparisonSwatch3Changed(ZelColor color, const QString& uid) {
    comparisonSwatchChanged(3, color, uid);
}

void ZelColorPickerWidget::onAddColorToFavorites(ZelColor color, const QString& uid, const QString& list) {
    emit colorAddedToFavorites(color, uid, list.isEmpty() ? ZelColorPickerButtonsWidget::favoriteList() : list);
}

void ZelColorPickerWidget::onRgbPickerColorChanged(ZelColor color, const QString& uid) {
    setColor(color, uid, true);
    emit clearPreviousSelection();
}

void ZelColorPickerWidget::onWhitePickerColorChanged(ZelColor color, const QString& uid) {
    setColor(color, uid, true);
    emit clearPreviousSelection();
}

void ZelColorPickerWidget::onNChannelPickerColorChanged(ZelColor& color, QString& uid) {
    setColor(color, uid, false);
    emit clearPreviousSelection();
}

void ZelColorPickerWidget::saveSwatchesToStore() {
    captureSwatches(currentPage());
    Store& store = swatchStore();
    for (int page = 0; page < 2; ++page) {
        for (int i = 0; i < SwatchCount; ++i) {
            store.colors[page][i] = m_sets[page].colors[i];
            store.uids[page][i] = m_sets[page].uids[i];
        }
    }
    store.filled = true;
}

void ZelColorPickerWidget::restoreSwatchesFromStore() {
    const Store& store = swatchStore();
    if (!store.filled)
        return;
    // A picker that was given a colour keeps showing it in its main swatch.
    const ZelColor main = m_swatches[0]->color();
    const QString mainUid = m_swatches[0]->uid();
    for (int page = 0; page < 2; ++page) {
        for (int i = 0; i < SwatchCount; ++i) {
            m_sets[page].colors[i] = store.colors[page][i];
            m_sets[page].uids[i] = store.uids[page][i];
        }
    }
    if (m_colorGiven) {
        m_sets[currentPage()].colors[0] = main;
        m_sets[currentPage()].uids[0] = mainUid;
    }
    applySwatches(currentPage());
}

void ZelColorPickerWidget::setFixtureProfile(ColorUtils::HueformProfileID profile) {
    m_fixtureProfile = profile;
    if (m_whitePickerWidget)
        m_whitePickerWidget->setFixtureProfile(profile);
    m_rgbNChannelPickerWidget->setProfile(profile);
    m_whiteNChannelPickerWidget->setProfile(profile);
}

ColorUtils::HueformProfileID ZelColorPickerWidget::fixtureProfile() const {
    return m_whitePickerWidget ? m_whitePickerWidget->fixtureProfile() : m_fixtureProfile;
}

void ZelColorPickerWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Store& store = swatchStore();
    if (!store.filled) {
        m_sets[RgbPage] = defaultSet(RgbPage, m_rgbPickerWidget->color());
        m_sets[WhitePage] = defaultSet(WhitePage, ColorViewWidget::defaultColor(ColorViewWidget::WhiteDisplay));
        m_sets[currentPage()].colors[0] = m_swatches[0]->color();
        m_sets[currentPage()].uids[0] = m_swatches[0]->uid();
        applySwatches(currentPage());
        saveSwatchesToStore();
    }
    restoreSwatchesFromStore();
}

void ZelColorPickerWidget::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    saveSwatchesToStore();
}

} // namespace ZelColorPickerLib

#pragma once

#include "ZelColor.h"

#include <QWidget>

class QFrame;
class QStackedWidget;
class QVBoxLayout;

namespace ZelColorPickerLib {

class ColorViewWidget;
class IntensitySliderWidget;
class NChannelPickerWidget;
class OpacitySliderWidget;
class RecentColorsWidget;
class RgbPickerWidget;
class WhitePickerWidget;

/**
 * The body of the colour picker: the page that suits the current colour (RGB range or white
 * range), the opacity and intensity sliders, the channel controls, the main swatch, three
 * comparison swatches and the colours recently sent to the keypad.
 *
 * Each page keeps its own four swatches; one process-wide store keeps them across pickers, so
 * every effect editor shows the same swatches.
 */
class ZelColorPickerWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ZelColorPickerWidget)

public:
    enum Page { RgbPage = 0, WhitePage = 1 };
    static constexpr int SwatchCount = 4;

    explicit ZelColorPickerWidget(QWidget* parent = nullptr);

    ZelColor color() const { return m_color; }
    /** False until a colour was set (from outside or by the user). */
    bool hasColor() const { return m_colorGiven; }
    QString uid() const { return m_uid; }
    int currentPage() const;
    /** The page a colour belongs to: RGB, HSB and N-channel render type 0 on the RGB page. */
    static int pageForColor(const ZelColor& color);

    void showRgbPicker();
    void showWhitePicker();
    void showNChannelPickers(bool show);
    bool nChannelPickersShown() const;
    void setComparison(bool on);
    bool isComparison() const { return m_comparison; }
    /** Makes the main swatch the selected one. */
    void selectMainSwatch();
    /** Swatch 0 is the main swatch, 1 to 3 the comparison swatches. */
    ColorViewWidget* swatch(int index) const { return m_swatches[index]; }
    ColorViewWidget* selectedSwatch() const;

    void saveSwatchesToStore();
    void restoreSwatchesFromStore();

    /** The fixture profile whose gamut the white page shows; -1 (the default) shows none. */
    void setFixtureProfile(ColorUtils::HueformProfileID profile);
    ColorUtils::HueformProfileID fixtureProfile() const;

signals:
    void mainColorChanged(ZelColor color, const QString& uid);
    void comparisonColorChanged(ZelColor color, const QString& uid);
    void colorAddedToFavorites(ZelColor color, const QString& uid, const QString& list);
    void pickerSetOnSetColor(int index, bool isNChannel);
    void clearPreviousSelection();

public slots:
    void setColor(ZelColor color, const QString& uid, bool isLocalColorChange = false);
    void onOpacityChanged(int opacity);
    void onIntensityChanged(int intensity);
    void onMainSwatchSelected();
    void onComparisonSwatch1Selected();
    void onComparisonSwatch2Selected();
    void onComparisonSwatch3Selected();
    void onCopyColorToMainSwatch(ZelColor color, const QString& uid);
    void onComparisonSwatch1Changed(ZelColor color, const QString& uid);
    void onComparisonSwatch2Changed(ZelColor color, const QString& uid);
    void onComparisonSwatch3Changed(ZelColor color, const QString& uid);
    /** An empty @p list means the favourites button's current target list. */
    void onAddColorToFavorites(ZelColor color, const QString& uid, const QString& list = QString());
    void onRgbPickerColorChanged(ZelColor color, const QString& uid);
    void onWhitePickerColorChanged(ZelColor color, const QString& uid);
    void setIntensity(qreal intensity);
    void onNChannelPickerColorChanged(ZelColor& color, QString& uid);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct SwatchSet {
        ZelColor colors[SwatchCount];
        QString uids[SwatchCount];
    };

    void switchToPage(int page);
    void captureSwatches(int page);
    void applySwatches(int page);
    void comparisonSwatchSelected(int index);
    void comparisonSwatchChanged(int index, const ZelColor& color, const QString& uid);
    void emitSelectedSwatch();
    NChannelPickerWidget* nChannelPickerOfPage(int page) const;
    WhitePickerWidget* whitePicker();
    static SwatchSet defaultSet(int page, const ZelColor& current);

    ZelColor m_color;
    QString m_uid;
    bool m_comparison = false;
    bool m_colorGiven = false;
    SwatchSet m_sets[2];

    QVBoxLayout* m_mainLayout = nullptr;
    QStackedWidget* m_stackedWidget = nullptr;
    RgbPickerWidget* m_rgbPickerWidget = nullptr;
    WhitePickerWidget* m_whitePickerWidget = nullptr; // made when the white page is first shown
    ColorUtils::HueformProfileID m_fixtureProfile = -1;
    QFrame* m_commonSlidersFrame = nullptr;
    OpacitySliderWidget* m_opacitySliderWidget = nullptr;
    IntensitySliderWidget* m_intensitySliderWidget = nullptr;
    QStackedWidget* m_nChannelPickerStackedWidget = nullptr;
    NChannelPickerWidget* m_rgbNChannelPickerWidget = nullptr;
    NChannelPickerWidget* m_whiteNChannelPickerWidget = nullptr;
    ColorViewWidget* m_swatches[SwatchCount] = {};
    QFrame* m_colorComparisonFrame = nullptr;
    RecentColorsWidget* m_recentColorsWidget = nullptr;
};

} // namespace ZelColorPickerLib

#pragma once

#include "ZelColor.h"

#include <QWidget>

namespace ZelColorPickerLib {

class ZelColorPickerWidget;

/**
 * The colour picker the effect editors embed. The first picker of a process seeds the colour
 * library with the default swatches and whites and brings over the favourites of older versions.
 */
class ZelColorPicker : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ZelColorPicker)

public:
    explicit ZelColorPicker(QWidget* parent = nullptr);

    ZelColorPickerWidget* body() const { return m_body; }
    ZelColor color() const;
    QString uid() const;

    void showRgbPicker();
    void showWhitePicker();
    void showNChannelPickers(bool show);
    void setComparison(bool on);
    bool isComparison() const;
    void saveSwatchesToStore();
    void restoreSwatchesFromStore();
    /**
     * The profile of the fixtures the colours are for: the white page shows its gamut and flags
     * whites outside it. -1, the default, shows none.
     */
    void setFixtureProfile(ColorUtils::HueformProfileID profile);
    ColorUtils::HueformProfileID fixtureProfile() const;
    /** Files the current colour into @p list (empty: the favourites button's target). */
    void addCurrentColorToFavorites(const QString& list);

    /** Reads the favourites an older version kept in its own settings into "Migrated Favorites". */
    static void migrateOldFavorites();

signals:
    void mainColorChanged(ZelColor color, const QString& uid);
    void comparisonColorChanged(ZelColor color, const QString& uid);
    void colorAddedToFavorites(ZelColor color, const QString& uid, const QString& list);
    void pickerSetOnSetColor(int index, bool isNChannel);
    void clearPreviousSelection();

public slots:
    void setColorAndSelectMainPreview(ZelColor color, const QString& uid);
    void setColor(ZelColor color, const QString& uid);

private:
    static void seedLibrary();

    ZelColorPickerWidget* m_body = nullptr;
};

} // namespace ZelColorPickerLib

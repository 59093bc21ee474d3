#pragma once

#include "ZelColorPicker.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QAction;
class QFrame;
class QMenu;
class QToolButton;

namespace ZelColorPickerLib {

/**
 * The picker's button bar: which page shows (RGB or white range), whether the channel
 * controls show, and the favourites button that files the current colour into a user list.
 */
class ZelColorPickerButtonsWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(ZelColorPickerButtonsWidget)

public:
    enum Button { RgbButton = 1, WhiteButton = 2, NChannelButton = 4 };

    explicit ZelColorPickerButtonsWidget(QWidget* parent = nullptr);

    /** Drives @p picker from now on and shows its display at once. */
    void setColorPicker(ZelColorPicker* picker);
    ZelColorPicker* colorPicker() const { return m_picker; }
    /** Which picker buttons show, a combination of Button (0..7). */
    void setVisibleButtons(int buttons);
    int visibleButtons() const;
    void setRgbButtonVisible(bool visible);
    void setWhiteButtonVisible(bool visible);
    void setNChannelButtonVisible(bool visible);
    void setFavoritesButtonVisible(bool visible);

    /** The user list the favourites button files colours into (process-wide). */
    static QString favoriteList();
    static void setFavoriteList(const QString& list);
    /** The list used while no other was chosen. */
    static QString defaultFavoriteListName();

signals:
    void clearPreviousSelection();

public slots:
    void updateColorPickerDisplay();
    void updateNChannelWidgetDisplay();
    void addToFavoritesButtonClicked(QString list);
    void updatePickerButtons(int selectedPickerIndex, bool enableSliders);
    void updateColorLists(QStringList lists);
    void handleListRenamed(const QString& oldName, const QString& newName);
    void triggeredFavoriteList(QAction* action);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateVisibility();
    void rebuildFavoritesMenu();
    void fillFavoritesMenu();
    void storeToggleStates();

    QPointer<ZelColorPicker> m_picker;
    bool m_rgbVisible = true;
    bool m_whiteVisible = true;
    bool m_nChannelVisible = true;
    bool m_favoritesVisible = true;
    bool m_menuRebuildPending = false;
    QStringList m_lists;
    QFrame* m_buttonsFrame = nullptr;
    QToolButton* m_showRgbPickerButton = nullptr;
    QToolButton* m_showWhitePickerButton = nullptr;
    QFrame* m_buttonDivider = nullptr;
    QToolButton* m_showNChannelPickerButton = nullptr;
    QToolButton* m_addToFavoritesButton = nullptr;
    QMenu* m_favoritesMenu = nullptr;
};

} // namespace ZelColorPickerLib

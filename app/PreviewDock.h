#pragma once

#include <QDockWidget>

class EffectPreviewWidget;
class MSPControlPanelWidget;
class QMainWindow;
class QMenu;

// The "Preview" dock under the window: the active scene's effect on the keypad's lights, following
// every edit, scene change and configuration change as it happens. It grows the window by its own
// height while it is shown there, so nothing above it changes size. Shown or not is remembered.
class PreviewDock : public QDockWidget {
    Q_OBJECT
    Q_DISABLE_COPY(PreviewDock)

public:
    // Adds itself, hidden, to the window's bottom area and its toggle to the view menu.
    PreviewDock(QMainWindow* window, QMenu* viewMenu, MSPControlPanelWidget* controlPanel);

    EffectPreviewWidget* preview() const { return m_preview; }
    // Shows the preview when it was shown as the editor last closed; once the window has its height.
    void restoreVisibility();
    // What the window's height grows by while the preview is docked under it.
    int addedHeight() const;

signals:
    // Shown, hidden, docked elsewhere or floated: the window fits itself anew.
    void addedHeightChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void follow();
    void noteHeight();
    static void rememberShown(bool shown);

    QMainWindow* m_window = nullptr;
    EffectPreviewWidget* m_preview = nullptr;
    int m_addedHeight = 0;
};

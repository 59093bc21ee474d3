#pragma once

#include "ConnectionState.h"
#include "MSPKeyPress.h"

#include <QWidget>

class KeypadKeyMarks;
class QAbstractButton;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

// The keypad's front plate on screen: eight scene buttons, down, up and on/off, and the cover
// that shows while no keypad can be reached.
class MSPControlPanelWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(MSPControlPanelWidget)

public:
    static constexpr int sceneCount = 8;

    explicit MSPControlPanelWidget(QWidget* parent = nullptr);

    // The eleven keys in keyboard order: scenes 1 to 8, down, up, on/off.
    QList<QAbstractButton*> keys() const;
    // What the panel draws over its keys (the focus frame, and marks a key carries).
    KeypadKeyMarks* keyMarks() const { return m_keyMarks; }
    // Whether the key of scene index shows that its edits are not saved on the keypad.
    bool isMarkedUnsaved(int index) const;

signals:
    void sceneIndexSelected(int index);
    void retryDiscoverySelected();

public slots:
    void selectScene(int index);
    void setPanelEnabled(bool enabled);
    void handleScene1StateChanged(bool enabled);
    void handleScene2StateChanged(bool enabled);
    void handleScene3StateChanged(bool enabled);
    void handleScene4StateChanged(bool enabled);
    void handleScene5StateChanged(bool enabled);
    void handleScene6StateChanged(bool enabled);
    void handleScene7StateChanged(bool enabled);
    void handleScene8StateChanged(bool enabled);
    void handleDownStateChanged(bool enabled);
    void handleUpStateChanged(bool enabled);
    void handleOnOffStateChanged(bool enabled);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

protected slots:
    void handleSceneButtonClicked();
    void handleUpClicked();
    void handleDownClicked();
    void handleToggle();
    void handleStatusChanged(ConnectionState::State state);
    void handleDemoModeSelected();
    void showUnsaved(int index, bool unsaved);

private:
    void buildForm();
    void setUpKeyboard();
    // Names and descriptions for screen readers: which scene plays, and what each scene holds.
    void updateKeyDescriptions();
    // Keys under the cover take neither keyboard focus nor shortcuts, as they take no clicks.
    void updateKeyAccess();
    // Moves the keyboard focus to the nearest key in the arrow's direction.
    void moveFocus(QAbstractButton* from, int arrow);
    // Whether the brightness can still move that way: a variable colour scene always can.
    bool isSent(MSPKeyPress::Key key) const;

    QRadioButton* m_sceneButtons[sceneCount] = {};
    QPushButton* m_downButton = nullptr;
    QPushButton* m_upButton = nullptr;
    QPushButton* m_onOffButton = nullptr;
    QLabel* m_overlay = nullptr;
    QFrame* m_connectionFailedFrame = nullptr;
    KeypadKeyMarks* m_keyMarks = nullptr;
};

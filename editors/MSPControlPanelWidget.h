#pragma once

#include "ConnectionState.h"
#include "MSPKeyPress.h"

#include <QWidget>

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

protected slots:
    void handleSceneButtonClicked();
    void handleUpClicked();
    void handleDownClicked();
    void handleToggle();
    void handleStatusChanged(ConnectionState::State state);
    void handleDemoModeSelected();

private:
    void buildForm();
    // Whether the brightness can still move that way: a variable colour scene always can.
    bool isSent(MSPKeyPress::Key key) const;

    QRadioButton* m_sceneButtons[sceneCount] = {};
    QPushButton* m_downButton = nullptr;
    QPushButton* m_upButton = nullptr;
    QPushButton* m_onOffButton = nullptr;
    QLabel* m_overlay = nullptr;
    QFrame* m_connectionFailedFrame = nullptr;
};

#pragma once

#include "ConnectionState.h"

#include <QWidget>

class QLabel;

// The status bar's connection state (icon and text) and the keypad's brightness.
class StatusWidget : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY(StatusWidget)

public:
    explicit StatusWidget(QWidget* parent);

    // The brightness text: "Off" for -1, else the truncated percentage of 255.
    static QString brightnessText(int brightness);

public slots:
    // While the user's changes have not reached the keypad the status says so instead of the
    // connection state: "Connected" beside work that did not arrive would mislead.
    void setWaitingChanges(int count);

protected slots:
    void handleHeartBeat(bool reachable);
    void handleBrightness(int brightness);
    void handleStatusChanged(ConnectionState::State status);

protected:
    void changeEvent(QEvent* event) override;

private:
    void show(ConnectionState::State status);
    // The form's sizes hold at the default font; a larger one widens and heightens the labels in
    // proportion, and the brightness always has room for "100%".
    void fitToFont();

    ConnectionState::State m_shown = ConnectionState::StatusUnknown;
    int m_waitingChanges = 0;
    int m_widestText = 0;
    QWidget* m_layoutWidget = nullptr;
    QLabel* m_iconLabel = nullptr;
    QLabel* m_textLabel = nullptr;
    QLabel* m_brightnessIconLabel = nullptr;
    QLabel* m_brightnessValueLabel = nullptr;
};

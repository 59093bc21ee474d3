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

protected slots:
    void handleHeartBeat(bool reachable);
    void handleBrightness(int brightness);
    void handleStatusChanged(ConnectionState::State status);

private:
    QLabel* m_iconLabel = nullptr;
    QLabel* m_textLabel = nullptr;
    QLabel* m_brightnessIconLabel = nullptr;
    QLabel* m_brightnessValueLabel = nullptr;
};

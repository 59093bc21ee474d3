#pragma once

#include <QSplashScreen>

// Shown for a second while the program starts.
class SplashScreen : public QSplashScreen {
    Q_OBJECT
    Q_DISABLE_COPY(SplashScreen)

public:
    SplashScreen();

    static QString versionText();

protected:
    void drawContents(QPainter* painter) override;
};

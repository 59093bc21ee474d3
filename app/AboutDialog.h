#pragma once

#include <QDialog>

// The about box: the splash picture with the version and Qt's library paths; a click closes it.
class AboutDialog : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY(AboutDialog)

public:
    explicit AboutDialog(QWidget* parent);

    bool eventFilter(QObject* watched, QEvent* event) override;

    // Creates the one about box on first use, then shows and activates it.
    static void showAbout(QWidget* parent);
    // The box showAbout() made, null before the first call.
    static AboutDialog* existing();
};

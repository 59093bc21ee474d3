#pragma once

#include <QMessageBox>
#include <QString>

// The main window's message boxes. Tests queue the answer of the next box instead of a modal
// box blocking them, and can read what the last box said.
class MessageBox final {
public:
    static QMessageBox::StandardButton information(QWidget* parent, const QString& title, const QString& text);
    static QMessageBox::StandardButton warning(QWidget* parent, const QString& title, const QString& text);
    static QMessageBox::StandardButton critical(QWidget* parent, const QString& title, const QString& text);
    static QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons);

    // The next box not yet answered is not shown and returns answer; answers queue up in order.
    // NoButton drops the queued answers.
    static void setNextAnswer(QMessageBox::StandardButton answer);
    static QString lastTitle();
    static QString lastText();
    static void clearLast();

private:
    static QMessageBox::StandardButton show(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                            const QString& text, QMessageBox::StandardButtons buttons);
};

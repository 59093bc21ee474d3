#pragma once

#include <QMap>
#include <QMessageBox>
#include <QString>
#include <QStringList>

// The main window's message boxes. Tests queue the answer of the next box instead of a modal
// box blocking them, and can read what the last box said.
class MessageBox final {
public:
    static QMessageBox::StandardButton information(QWidget* parent, const QString& title, const QString& text);
    static QMessageBox::StandardButton warning(QWidget* parent, const QString& title, const QString& text);
    static QMessageBox::StandardButton critical(QWidget* parent, const QString& title, const QString& text);
    static QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

    // A question with more to say than one text: details, buttons named for what they do, and a
    // check box whose state ask() writes back.
    struct Question {
        QString title;
        QString text;
        QString informativeText;
        QString detailedText;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QMap<QMessageBox::StandardButton, QString> buttonTexts;
        // No check box when empty.
        QString checkBoxText;
        bool checked = false;
    };
    static QMessageBox::StandardButton ask(QWidget* parent, Question& question);

    // The next box not yet answered is not shown and returns answer; answers queue up in order.
    // NoButton drops the queued answers.
    static void setNextAnswer(QMessageBox::StandardButton answer);
    static QString lastTitle();
    static QString lastText();
    static QString lastInformativeText();
    // The titles and texts of the boxes since clearLast(), in order.
    static QStringList titles();
    static QStringList texts();
    static void clearLast();

private:
    static QMessageBox::StandardButton show(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                            const QString& text, QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
};

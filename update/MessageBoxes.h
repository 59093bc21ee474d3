#pragma once

#include <QMessageBox>
#include <QString>
#include <QVector>

class QWidget;

// The update feature's message boxes, with a seam so tests can answer them without a modal loop.
class MessageBoxes final {
public:
    struct Shown {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title;
        QString text;
    };

    static void information(QWidget* parent, const QString& title, const QString& text);
    // Yes and No; returns the button chosen.
    static QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text);

    // For tests: from now on nothing is shown; each box is recorded and questions get @p answer.
    static void answerAutomatically(QMessageBox::StandardButton answer);
    static QVector<Shown> shown();
    static void clearShown();
};

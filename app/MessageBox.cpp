#include "MessageBox.h"

#include <QDebug>

namespace {
QMessageBox::StandardButton nextAnswer = QMessageBox::NoButton;
QString lastShownTitle;
QString lastShownText;
} // namespace

QMessageBox::StandardButton MessageBox::show(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                             const QString& text, QMessageBox::StandardButtons buttons) {
    lastShownTitle = title;
    lastShownText = text;
    qDebug().noquote() << title << ":" << text;
    if (nextAnswer != QMessageBox::NoButton) {
        const QMessageBox::StandardButton answer = nextAnswer;
        nextAnswer = QMessageBox::NoButton;
        return answer;
    }
    QMessageBox box(icon, title, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton MessageBox::warning(QWidget* parent, const QString& title, const QString& text) {
    return show(QMessageBox::Warning, parent, title, text, QMessageBox::Ok);
}

QMessageBox::StandardButton MessageBox::critical(QWidget* parent, const QString& title, const QString& text) {
    return show(QMessageBox::Critical, parent, title, text, QMessageBox::Ok);
}

QMessageBox::StandardButton MessageBox::question(QWidget* parent, const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons) {
    return show(QMessageBox::Question, parent, title, text, buttons);
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer) {
    nextAnswer = answer;
}

QString MessageBox::lastTitle() {
    return lastShownTitle;
}

QString MessageBox::lastText() {
    return lastShownText;
}

void MessageBox::clearLast() {
    lastShownTitle.clear();
    lastShownText.clear();
}

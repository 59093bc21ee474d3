#include "MessageBox.h"

#include "UiLog.h"

#include <QDebug>
#include <QQueue>

namespace {
QQueue<QMessageBox::StandardButton> nextAnswers;
QString lastShownTitle;
QString lastShownText;
} // namespace

QMessageBox::StandardButton MessageBox::show(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                             const QString& text, QMessageBox::StandardButtons buttons) {
    lastShownTitle = title;
    lastShownText = text;
    qCDebug(lcUi).noquote() << title << ":" << text;
    if (!nextAnswers.isEmpty())
        return nextAnswers.dequeue();
    QMessageBox box(icon, title, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton MessageBox::information(QWidget* parent, const QString& title, const QString& text) {
    return show(QMessageBox::Information, parent, title, text, QMessageBox::Ok);
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
    if (answer == QMessageBox::NoButton)
        nextAnswers.clear();
    else
        nextAnswers.enqueue(answer);
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

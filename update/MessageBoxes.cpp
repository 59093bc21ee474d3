#include "MessageBoxes.h"

namespace {

bool automatic = false;
QMessageBox::StandardButton automaticAnswer = QMessageBox::No;
QVector<MessageBoxes::Shown> recorded;

} // namespace

void MessageBoxes::information(QWidget* parent, const QString& title, const QString& text) {
    if (automatic) {
        recorded.append({QMessageBox::Information, title, text});
        return;
    }
    QMessageBox::information(parent, title, text);
}

QMessageBox::StandardButton MessageBoxes::question(QWidget* parent, const QString& title, const QString& text) {
    if (automatic) {
        recorded.append({QMessageBox::Question, title, text});
        return automaticAnswer;
    }
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
}

void MessageBoxes::answerAutomatically(QMessageBox::StandardButton answer) {
    automatic = true;
    automaticAnswer = answer;
}

QVector<MessageBoxes::Shown> MessageBoxes::shown() {
    return recorded;
}

void MessageBoxes::clearShown() {
    recorded.clear();
}

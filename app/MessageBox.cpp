#include "MessageBox.h"

#include "UiLog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDebug>
#include <QQueue>

namespace {
QQueue<QMessageBox::StandardButton> nextAnswers;
QString lastShownTitle;
QString lastShownText;
QString lastShownInformativeText;
QStringList shownTitles;
QStringList shownTexts;
} // namespace

QMessageBox::StandardButton MessageBox::show(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                             const QString& text, QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton) {
    lastShownTitle = title;
    shownTitles << title;
    shownTexts << text;
    lastShownText = text;
    lastShownInformativeText.clear();
    qCDebug(lcUi).noquote() << title << ":" << text;
    if (!nextAnswers.isEmpty())
        return nextAnswers.dequeue();
    QMessageBox box(icon, title, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton MessageBox::ask(QWidget* parent, Question& question) {
    lastShownTitle = question.title;
    shownTitles << question.title;
    shownTexts << question.text;
    lastShownText = question.text;
    lastShownInformativeText = question.informativeText;
    qCDebug(lcUi).noquote() << question.title << ":" << question.text << question.informativeText;
    if (!nextAnswers.isEmpty())
        return nextAnswers.dequeue();
    QMessageBox box(QMessageBox::Question, question.title, question.text, question.buttons, parent);
    box.setInformativeText(question.informativeText);
    if (!question.detailedText.isEmpty())
        box.setDetailedText(question.detailedText);
    for (auto it = question.buttonTexts.cbegin(); it != question.buttonTexts.cend(); ++it) {
        if (QAbstractButton* button = box.button(it.key()))
            button->setText(it.value());
    }
    if (question.defaultButton != QMessageBox::NoButton) {
        box.setDefaultButton(question.defaultButton);
        box.setEscapeButton(QMessageBox::Cancel);
    }
    QCheckBox* checkBox = nullptr;
    if (!question.checkBoxText.isEmpty()) {
        checkBox = new QCheckBox(question.checkBoxText, &box);
        checkBox->setObjectName(QStringLiteral("questionCheckBox"));
        checkBox->setChecked(question.checked);
        box.setCheckBox(checkBox);
    }
    const auto answer = static_cast<QMessageBox::StandardButton>(box.exec());
    if (checkBox)
        question.checked = checkBox->isChecked();
    return answer;
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
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton) {
    return show(QMessageBox::Question, parent, title, text, buttons, defaultButton);
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

QString MessageBox::lastInformativeText() {
    return lastShownInformativeText;
}

void MessageBox::clearLast() {
    lastShownTitle.clear();
    lastShownText.clear();
    lastShownInformativeText.clear();
    shownTitles.clear();
    shownTexts.clear();
}

QStringList MessageBox::titles() {
    return shownTitles;
}

QStringList MessageBox::texts() {
    return shownTexts;
}

#include "ColorPickerDialogs.h"

#include "PickerLog.h"

#include <QDebug>
#include <QFileDialog>
#include <QMessageBox>
#include <utility>

namespace ZelColorPickerLib {

namespace {

ColorPickerDialogs::FileAnswer& nextOpen() {
    static ColorPickerDialogs::FileAnswer answer;
    return answer;
}

ColorPickerDialogs::FileAnswer& nextSave() {
    static ColorPickerDialogs::FileAnswer answer;
    return answer;
}

ColorPickerDialogs::MessageAnswerer& answerer() {
    static ColorPickerDialogs::MessageAnswerer answer;
    return answer;
}

} // namespace

bool ColorPickerDialogs::question(QWidget* parent, const QString& title, const QString& text) {
    if (answerer())
        return answerer()(title, text);
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void ColorPickerDialogs::warning(QWidget* parent, const QString& title, const QString& text) {
    qCWarning(lcPicker).noquote() << title << ":" << text;
    if (answerer())
        answerer()(title, text);
    else
        QMessageBox::warning(parent, title, text);
}

void ColorPickerDialogs::setMessageAnswerer(MessageAnswerer answer) {
    answerer() = std::move(answer);
}

QString ColorPickerDialogs::getOpenFileName(QWidget* parent, const QString& title, const QString& directory,
                                            const QString& filter) {
    if (nextOpen())
        return std::exchange(nextOpen(), nullptr)(title, directory, filter);
    return QFileDialog::getOpenFileName(parent, title, directory, filter);
}

QString ColorPickerDialogs::getSaveFileName(QWidget* parent, const QString& title, const QString& directory,
                                            const QString& filter) {
    if (nextSave())
        return std::exchange(nextSave(), nullptr)(title, directory, filter);
    return QFileDialog::getSaveFileName(parent, title, directory, filter);
}

void ColorPickerDialogs::setNextOpenFileAnswer(FileAnswer answer) {
    nextOpen() = std::move(answer);
}

void ColorPickerDialogs::setNextSaveFileAnswer(FileAnswer answer) {
    nextSave() = std::move(answer);
}

} // namespace ZelColorPickerLib

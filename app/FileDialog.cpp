#include "FileDialog.h"

#include <QFileDialog>
#include <optional>

namespace {
std::optional<QString> nextFileName;
QString lastShownDirectory;

std::optional<QString> takeNextFileName(const QString& dir) {
    lastShownDirectory = dir;
    std::optional<QString> name = nextFileName;
    nextFileName.reset();
    return name;
}
} // namespace

QString FileDialog::getOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter) {
    if (const std::optional<QString> name = takeNextFileName(dir))
        return *name;
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString FileDialog::getSaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter) {
    if (const std::optional<QString> name = takeNextFileName(dir))
        return *name;
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

void FileDialog::setNextFileName(const QString& fileName) {
    nextFileName = fileName;
}

void FileDialog::clearNextFileName() {
    nextFileName.reset();
}

QString FileDialog::lastDirectory() {
    return lastShownDirectory;
}

#pragma once

#include <QString>

class QWidget;

// The main window's file dialogs. Tests give the name the next dialog returns (an empty name is
// a cancelled dialog) instead of a native dialog blocking them.
class FileDialog final {
public:
    static QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter);
    static QString getSaveFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter);

    static void setNextFileName(const QString& fileName);
    static void clearNextFileName();
    // The start directory the last dialog was given.
    static QString lastDirectory();
};

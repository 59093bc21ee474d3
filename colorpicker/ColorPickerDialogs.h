#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace ZelColorPickerLib {

/**
 * The file dialogs the colour library widgets open. Tests answer them through the seams
 * instead of a modal dialog: a set answer is used once (by the next call), then cleared.
 */
class ColorPickerDialogs final {
public:
    using FileAnswer = std::function<QString(const QString& title, const QString& directory, const QString& filter)>;

    static QString getOpenFileName(QWidget* parent, const QString& title, const QString& directory,
                                   const QString& filter);
    static QString getSaveFileName(QWidget* parent, const QString& title, const QString& directory,
                                   const QString& filter);

    /** A yes/no question; true for yes. */
    static bool question(QWidget* parent, const QString& title, const QString& text);
    /** A warning the user acknowledges. */
    static void warning(QWidget* parent, const QString& title, const QString& text);

    /**
     * From now on every question() and warning() goes to @p answerer instead of a message box
     * (its answer is the question's); an empty function brings the message boxes back.
     */
    using MessageAnswerer = std::function<bool(const QString& title, const QString& text)>;
    static void setMessageAnswerer(MessageAnswerer answerer);

    /** The next open-file dialog answers @p answer (an empty text cancels). */
    static void setNextOpenFileAnswer(FileAnswer answer);
    static void setNextSaveFileAnswer(FileAnswer answer);
};

} // namespace ZelColorPickerLib

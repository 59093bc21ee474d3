#pragma once

#include <QCoreApplication>
#include <QString>

namespace ZelColorPickerLib {

/**
 * Colours typed as text: "#rrggbb" or "rrggbb" (hexadecimal, either case) or "r, g, b" (three
 * whole numbers 0-255, separated by commas or spaces). Surrounding spaces are ignored.
 */
class RgbText final {
    Q_DECLARE_TR_FUNCTIONS(RgbText)

public:
    enum class Form { Hex, Decimal };

    struct Result {
        bool ok = false;
        int red = 0;
        int green = 0;
        int blue = 0;
        Form form = Form::Hex;
        /** Why the text is not a colour, in words for the user; empty when ok. */
        QString error;
    };

    static Result parse(const QString& text);
    /** "#FF8000" or "255, 128, 0". */
    static QString format(int red, int green, int blue, Form form);
};

} // namespace ZelColorPickerLib

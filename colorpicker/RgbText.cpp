#include "RgbText.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>

namespace ZelColorPickerLib {

namespace {

RgbText::Result refused(const QString& error) {
    RgbText::Result result;
    result.error = error;
    return result;
}

} // namespace

RgbText::Result RgbText::parse(const QString& text) {
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return refused(tr("Type a color as #rrggbb, rrggbb or r, g, b."));

    // Anything with a comma or a space in it is meant as three numbers.
    static const QRegularExpression separators(QStringLiteral("\\s*,\\s*|\\s+"));
    static const QRegularExpression separator(QStringLiteral("[,\\s]"));
    Result result;
    if (typed.contains(separator)) {
        const QStringList parts = typed.split(separators);
        if (parts.size() != 3 || parts.contains(QString()))
            return refused(tr("\"%1\" is not a color: give red, green and blue, as in 255, 128, 0.").arg(typed));
        static const QRegularExpression wholeNumber(QStringLiteral("^-?[0-9]+$"));
        int values[3];
        for (int i = 0; i < 3; ++i) {
            if (!wholeNumber.match(parts[i]).hasMatch())
                return refused(tr("\"%1\" is not a whole number: red, green and blue go from 0 to 255.").arg(parts[i]));
            bool ok = false;
            values[i] = parts[i].toInt(&ok, 10);
            if (!ok || values[i] < 0 || values[i] > 255)
                return refused(tr("%1 is out of range: red, green and blue go from 0 to 255.").arg(parts[i]));
        }
        result.red = values[0];
        result.green = values[1];
        result.blue = values[2];
        result.form = Form::Decimal;
    } else {
        const QString digits = typed.startsWith(QLatin1Char('#')) ? typed.mid(1) : typed;
        static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{6}$"));
        if (!hex.match(digits).hasMatch())
            return refused(tr("\"%1\" is not a color: use six hex digits as in #FF8000, or r, g, b.").arg(typed));
        const uint value = digits.toUInt(nullptr, 16);
        result.red = int(value >> 16) & 0xff;
        result.green = int(value >> 8) & 0xff;
        result.blue = int(value) & 0xff;
        result.form = Form::Hex;
    }
    result.ok = true;
    return result;
}

QString RgbText::format(int red, int green, int blue, Form form) {
    if (form == Form::Decimal)
        return QStringLiteral("%1, %2, %3").arg(red).arg(green).arg(blue);
    return QStringLiteral("#%1%2%3")
        .arg(red, 2, 16, QLatin1Char('0'))
        .arg(green, 2, 16, QLatin1Char('0'))
        .arg(blue, 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace ZelColorPickerLib

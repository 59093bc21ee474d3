#include "IP4Validator.h"

#include <QStringList>

IP4Validator::IP4Validator(QObject* parent)
    : QValidator(parent) {}

QValidator::State IP4Validator::validate(QString& input, int& pos) const {
    Q_UNUSED(pos)
    if (input.isEmpty())
        return Intermediate;
    const QStringList parts = input.split(QLatin1Char('.'), Qt::KeepEmptyParts);
    if (parts.size() > 4)
        return Invalid;
    bool emptyPart = false;
    QStringList numbers;
    for (const QString& part : parts) {
        if (part.isEmpty()) {
            emptyPart = true;
            continue;
        }
        // The number reader skips blanks, but a blank must never reach the keypad's address.
        if (part.trimmed() != part)
            return Invalid;
        bool ok = false;
        const int value = part.toInt(&ok, 10);
        if (!ok || value < 0 || value > 255)
            return Invalid;
        numbers << QString::number(value);
    }
    if (parts.size() == 4 && !emptyPart) {
        // Written plainly ("+10" and "010" become "10"): the keypad reads nothing else.
        input = numbers.join(QLatin1Char('.'));
        return Acceptable;
    }
    return Intermediate;
}

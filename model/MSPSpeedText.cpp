#include "MSPSpeedText.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

QStringList translated(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts)
        list << QCoreApplication::translate("MSPSpeedText", text);
    return list;
}

} // namespace

QString MSPSpeedText::washText(int speed) {
    static const QStringList table =
        translated({QT_TRANSLATE_NOOP("MSPSpeedText", "10 m"),  QT_TRANSLATE_NOOP("MSPSpeedText", "9 m"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "8 m"),   QT_TRANSLATE_NOOP("MSPSpeedText", "7 m"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "6 m"),   QT_TRANSLATE_NOOP("MSPSpeedText", "5 m"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "4 m"),   QT_TRANSLATE_NOOP("MSPSpeedText", "3 m"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "2 m"),   QT_TRANSLATE_NOOP("MSPSpeedText", "1.75 m"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "1.5 m"), QT_TRANSLATE_NOOP("MSPSpeedText", "1.25 m"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "1 m"),   QT_TRANSLATE_NOOP("MSPSpeedText", "50 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "40 s"),  QT_TRANSLATE_NOOP("MSPSpeedText", "30 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "20 s"),  QT_TRANSLATE_NOOP("MSPSpeedText", "19 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "18 s"),  QT_TRANSLATE_NOOP("MSPSpeedText", "17 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "16 s"),  QT_TRANSLATE_NOOP("MSPSpeedText", "15 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "14 s"),  QT_TRANSLATE_NOOP("MSPSpeedText", "13 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "12 s"),  QT_TRANSLATE_NOOP("MSPSpeedText", "11 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "10 s"),  QT_TRANSLATE_NOOP("MSPSpeedText", "9 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "8 s"),   QT_TRANSLATE_NOOP("MSPSpeedText", "7 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "6 s"),   QT_TRANSLATE_NOOP("MSPSpeedText", "5 s")});
    return table.at(qBound(1, speed, 32) - 1);
}

QString MSPSpeedText::customText(int speed) {
    static const QStringList table =
        translated({QT_TRANSLATE_NOOP("MSPSpeedText", "10 m"),  QT_TRANSLATE_NOOP("MSPSpeedText", "5 m"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "4 m"),   QT_TRANSLATE_NOOP("MSPSpeedText", "3 m"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "2 m"),   QT_TRANSLATE_NOOP("MSPSpeedText", "1.75 m"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "1.5 m"), QT_TRANSLATE_NOOP("MSPSpeedText", "1.25 m"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "1 m"),   QT_TRANSLATE_NOOP("MSPSpeedText", "50 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "40 s"),  QT_TRANSLATE_NOOP("MSPSpeedText", "30 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "20 s"),  QT_TRANSLATE_NOOP("MSPSpeedText", "19 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "18 s"),  QT_TRANSLATE_NOOP("MSPSpeedText", "17 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "16 s"),  QT_TRANSLATE_NOOP("MSPSpeedText", "15 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "14 s"),  QT_TRANSLATE_NOOP("MSPSpeedText", "13 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "12 s"),  QT_TRANSLATE_NOOP("MSPSpeedText", "11 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "10 s"),  QT_TRANSLATE_NOOP("MSPSpeedText", "9 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "8 s"),   QT_TRANSLATE_NOOP("MSPSpeedText", "7 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "6 s"),   QT_TRANSLATE_NOOP("MSPSpeedText", "5 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "4 s"),   QT_TRANSLATE_NOOP("MSPSpeedText", "3 s"),
                    QT_TRANSLATE_NOOP("MSPSpeedText", "2 s"),   QT_TRANSLATE_NOOP("MSPSpeedText", "1 s")});
    // A file or a keypad may carry a speed the table has no entry for; show it rather than guess.
    if (speed < 1 || speed > table.size())
        return QString::number(speed);
    return table.at(speed - 1);
}

#include "MSPSpeedText.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

// Each speed's text once: translated where it is shown, read as a time where the effect plays.
constexpr int speedCount = 32;
using SpeedTable = const char* const[speedCount];

SpeedTable washTexts = {QT_TRANSLATE_NOOP("MSPSpeedText", "10 m"),  QT_TRANSLATE_NOOP("MSPSpeedText", "9 m"),
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
                        QT_TRANSLATE_NOOP("MSPSpeedText", "6 s"),   QT_TRANSLATE_NOOP("MSPSpeedText", "5 s")};

SpeedTable customTexts = {QT_TRANSLATE_NOOP("MSPSpeedText", "10 m"),  QT_TRANSLATE_NOOP("MSPSpeedText", "5 m"),
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
                          QT_TRANSLATE_NOOP("MSPSpeedText", "2 s"),   QT_TRANSLATE_NOOP("MSPSpeedText", "1 s")};

QStringList translated(const SpeedTable& texts) {
    QStringList list;
    for (const char* text : texts)
        list << QCoreApplication::translate("MSPSpeedText", text);
    return list;
}

// "1.75 m" is 105 seconds, "50 s" is 50.
double secondsOf(const char* text) {
    const QString source = QString::fromLatin1(text);
    const int space = source.indexOf(QLatin1Char(' '));
    const double value = source.left(space).toDouble();
    return source.mid(space + 1) == QLatin1String("m") ? value * 60.0 : value;
}

double secondsAt(const SpeedTable& texts, int speed) {
    return secondsOf(texts[qBound(1, speed, speedCount) - 1]);
}

} // namespace

QString MSPSpeedText::washText(int speed) {
    static const QStringList table = translated(washTexts);
    return table.at(qBound(1, speed, 32) - 1);
}

QString MSPSpeedText::customText(int speed) {
    static const QStringList table = translated(customTexts);
    // A file or a keypad may carry a speed the table has no entry for; show it rather than guess.
    if (speed < 1 || speed > table.size())
        return QString::number(speed);
    return table.at(speed - 1);
}

double MSPSpeedText::washSeconds(int speed) {
    return secondsAt(washTexts, speed);
}

double MSPSpeedText::customSeconds(int speed) {
    return secondsAt(customTexts, speed);
}

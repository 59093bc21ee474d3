#include "FleetReport.h"

namespace {

constexpr int KeypadFailed = 3;
constexpr int Differs = 5;

QString word(FleetReport::Outcome outcome, const QString& doneWord) {
    switch (outcome) {
    case FleetReport::Outcome::Done:
        return doneWord;
    case FleetReport::Outcome::Same:
        return QStringLiteral("same");
    case FleetReport::Outcome::Differs:
        return QStringLiteral("differs");
    case FleetReport::Outcome::Failed:
        return QStringLiteral("failed");
    }
    return QString();
}

// A tab or line break inside a field would split the line for a script.
QString field(QString text) {
    return text.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

FleetReport::FleetReport(const QString& doneWord)
    : m_doneWord(doneWord) {}

void FleetReport::add(const Entry& entry) {
    m_entries.append(entry);
}

QString FleetReport::line(const Entry& entry) const {
    return QStringList{word(entry.outcome, m_doneWord), field(entry.address), field(entry.name), field(entry.detail)}
        .join(QLatin1Char('\t'));
}

int FleetReport::exitCode() const {
    int code = 0;
    for (const Entry& entry : m_entries) {
        if (entry.outcome == Outcome::Failed)
            return KeypadFailed;
        if (entry.outcome == Outcome::Differs)
            code = Differs;
    }
    return code;
}

QString FleetReport::summary() const {
    QVector<int> counts(4);
    QStringList failed;
    for (const Entry& entry : m_entries) {
        ++counts[int(entry.outcome)];
        if (entry.outcome == Outcome::Failed)
            failed << (entry.name.isEmpty() ? entry.address
                                            : QStringLiteral("%1 at %2").arg(entry.name, entry.address));
    }
    QStringList parts;
    for (Outcome outcome : {Outcome::Done, Outcome::Same, Outcome::Differs, Outcome::Failed}) {
        if (counts.at(int(outcome)) > 0)
            parts << QStringLiteral("%1 %2").arg(counts.at(int(outcome))).arg(word(outcome, m_doneWord));
    }
    QString text = QStringLiteral("%1 %2: %3")
                       .arg(m_entries.size())
                       .arg(m_entries.size() == 1 ? QStringLiteral("keypad") : QStringLiteral("keypads"),
                            parts.join(QStringLiteral(", ")));
    if (!failed.isEmpty())
        text += QStringLiteral(" (%1)").arg(failed.join(QStringLiteral(", ")));
    return text;
}

#include "CommandLine.h"

CommandLine::CommandLine(const QStringList& arguments, const QStringList& flags, const QStringList& valued) {
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (flags.contains(argument)) {
            m_flags << argument;
        } else if (argument.startsWith(QLatin1String("--"))) {
            const QString option = argument.section(QLatin1Char('='), 0, 0);
            if (!valued.contains(option)) {
                m_error = QStringLiteral("unknown option %1").arg(option);
            } else if (argument.contains(QLatin1Char('='))) {
                m_values.insert(option, argument.section(QLatin1Char('='), 1));
            } else if (i + 1 < arguments.size()) {
                m_values.insert(option, arguments.at(++i));
            } else {
                m_error = QStringLiteral("%1 needs a value").arg(option);
            }
        } else {
            m_words << argument;
        }
    }
}

int CommandLine::timeout(int fallback) const {
    const QString option = QStringLiteral("--timeout");
    if (!m_values.contains(option))
        return fallback;
    bool ok = false;
    const int milliseconds = m_values.value(option).toInt(&ok);
    return ok && milliseconds > 0 ? milliseconds : -1;
}

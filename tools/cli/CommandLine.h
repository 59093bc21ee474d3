#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// One command's arguments: its words in order, the flags it was given, its options with their
// values ("--timeout 500" or "--timeout=500"), and what was not understood. (--help is answered
// before a command reads its arguments.)
class CommandLine final {
public:
    CommandLine(const QStringList& arguments, const QStringList& flags, const QStringList& valued = QStringList());

    QStringList words() const { return m_words; }
    bool has(const QString& flag) const { return m_flags.contains(flag); }
    bool hasValue(const QString& option) const { return m_values.contains(option); }
    QString value(const QString& option) const { return m_values.value(option); }
    // An unknown option or one without its value; empty when all was understood.
    QString error() const { return m_error; }

    // The discovery time limit of --timeout in milliseconds, fallback without one, -1 when the
    // value is no positive number.
    int timeout(int fallback) const;

private:
    QStringList m_words;
    QStringList m_flags;
    QHash<QString, QString> m_values;
    QString m_error;
};

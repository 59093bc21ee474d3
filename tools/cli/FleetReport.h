#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The outcome of one command over several keypads: one line per keypad for a script to read
// (tab-separated: what happened, address, name, detail) and the exit status of the whole.
class FleetReport final {
public:
    enum class Outcome {
        Done,    // backed up, restored, set
        Same,    // nothing to change
        Differs, // a dry run found what would change
        Failed,
    };

    struct Entry {
        QString address;
        QString name;
        Outcome outcome = Outcome::Done;
        QString detail;
    };

    // doneWord says what Done means for this command: "saved", "restored", "set".
    explicit FleetReport(const QString& doneWord);

    void add(const Entry& entry);
    const QVector<Entry>& entries() const { return m_entries; }

    // "saved\t10.77.0.20\tLobby\tbackups/Lobby_024c4d000014.xml", "failed\t10.77.0.21\tDesk\t..."
    QString line(const Entry& entry) const;
    // 0 when every keypad got through; 3 when any failed (the others were still done); otherwise 5
    // when a dry run found a keypad that would change.
    int exitCode() const;
    // "3 keypads: 2 saved, 1 failed (Desk at 10.77.0.21)"
    QString summary() const;

private:
    QString m_doneWord;
    QVector<Entry> m_entries;
};

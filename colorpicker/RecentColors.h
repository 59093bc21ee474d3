#pragma once

#include "ZelColor.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace ZelColorPickerLib {

/**
 * The colours last sent to the keypad, most recent first, each once, at most MaximumCount; kept
 * in the user settings under "colorPickerRecentColors" (their text forms), so they outlive the
 * run.
 *
 * A colour that follows the previous one within MergeWindowMs takes its place instead of pushing
 * the list on: a drag across the spectrum sends a colour at every step, and leaves the one it
 * ended on, not ten of its steps. The settings are written once such a run has settled, and
 * when the list is destroyed or the application quits.
 */
class RecentColors : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(RecentColors)

public:
    static constexpr int MaximumCount = 10;
    static constexpr qint64 MergeWindowMs = 600;
    static const QString SettingsKey;

    /** The list every picker shows. */
    static RecentColors* instance();

    /** A list read from the settings; entries that are no colour, repeats and extras are dropped. */
    explicit RecentColors(QObject* parent = nullptr);
    ~RecentColors() override;

    QList<ZelColor> colors() const;
    /** Notes @p color as sent now. An empty colour is ignored. */
    void add(const ZelColor& color);
    /** The same at @p msecs on a steady clock of the caller's (for tests). */
    void add(const ZelColor& color, qint64 msecs);
    void clear();
    /** Writes a change not yet written to the settings. */
    void flush();

signals:
    void changed();

private:
    void store();

    QStringList m_colors;
    // The list as it stood before the current run of quick colours.
    QStringList m_beforeRun;
    qint64 m_lastAdded = 0;
    bool m_added = false;
    QTimer m_storeTimer;
};

} // namespace ZelColorPickerLib

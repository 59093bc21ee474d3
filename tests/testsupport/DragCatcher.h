#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>

// Reads the drag a widget starts: caught as it is made, read just before it is deleted
// (offscreen, a drag ends at once).
class DragCatcher final : public QObject {
public:
    explicit DragCatcher(QObject* source) { source->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override;

    bool caught() const { return !m_data.isEmpty(); }
    QByteArray data(const QString& format) const { return m_data.value(format); }

private:
    QHash<QString, QByteArray> m_data;
};

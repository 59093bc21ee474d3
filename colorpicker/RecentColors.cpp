#include "RecentColors.h"

#include "PickerLog.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QSettings>

namespace ZelColorPickerLib {

const QString RecentColors::SettingsKey = QStringLiteral("colorPickerRecentColors");

RecentColors* RecentColors::instance() {
    static RecentColors* recent = [] {
        auto* list = new RecentColors; // lives as long as the process
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, list, &RecentColors::flush);
        return list;
    }();
    return recent;
}

RecentColors::RecentColors(QObject* parent)
    : QObject(parent) {
    m_storeTimer.setSingleShot(true);
    m_storeTimer.setInterval(int(MergeWindowMs));
    connect(&m_storeTimer, &QTimer::timeout, this, &RecentColors::store);
    const QVariant stored = QSettings().value(SettingsKey);
    if (stored.isValid() && !stored.canConvert<QStringList>()) {
        qCWarning(lcPicker) << "Ignoring unreadable recent colours in the settings:" << stored;
        return;
    }
    for (const QString& text : stored.toStringList()) {
        if (m_colors.size() == MaximumCount)
            break;
        const ZelColor color(text);
        if (!color.isValid()) {
            qCWarning(lcPicker) << "Ignoring a recent colour that is no colour:" << text;
            continue;
        }
        const QString name = color.aName();
        if (!m_colors.contains(name))
            m_colors << name;
    }
}

RecentColors::~RecentColors() {
    flush();
}

void RecentColors::flush() {
    if (m_storeTimer.isActive())
        store();
}

QList<ZelColor> RecentColors::colors() const {
    QList<ZelColor> colors;
    for (const QString& text : m_colors)
        colors << ZelColor(text);
    return colors;
}

void RecentColors::add(const ZelColor& color) {
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    add(color, clock.elapsed());
}

void RecentColors::add(const ZelColor& color, qint64 msecs) {
    if (!color.isValid())
        return;
    const QString name = color.aName();
    if (!m_added || msecs - m_lastAdded >= MergeWindowMs)
        m_beforeRun = m_colors;
    m_added = true;
    m_lastAdded = msecs;
    const QStringList before = m_colors;
    m_colors = m_beforeRun;
    m_colors.removeAll(name);
    m_colors.prepend(name);
    while (m_colors.size() > MaximumCount)
        m_colors.removeLast();
    if (m_colors == before)
        return;
    m_storeTimer.start();
    emit changed();
}

void RecentColors::clear() {
    m_added = false;
    if (m_colors.isEmpty())
        return;
    m_colors.clear();
    store();
    emit changed();
}

void RecentColors::store() {
    m_storeTimer.stop();
    QSettings settings;
    settings.setValue(SettingsKey, m_colors);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qCWarning(lcPicker) << "Could not keep the recent colours in" << settings.fileName();
}

} // namespace ZelColorPickerLib

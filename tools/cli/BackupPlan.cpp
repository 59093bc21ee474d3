#include "BackupPlan.h"

#include <QSet>

namespace {

// Longer names are cut; a keypad's own name has at most 31 characters anyway.
constexpr int MaximumNameLength = 40;

QString safeName(const QString& name) {
    QString safe;
    for (const QChar c : name) {
        const bool plain =
            c.unicode() < 0x80 && (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('.'));
        const QChar replacement = c.isSpace() ? QLatin1Char('-') : QLatin1Char('_');
        const QChar next = plain ? c : replacement;
        // One stand-in for a run of characters that cannot stay.
        if (!plain && safe.endsWith(next))
            continue;
        safe += next;
    }
    // A leading dot hides the file, a leading dash makes it look like an option; some file systems
    // drop trailing dots. Stand-ins at either end say nothing.
    const auto trimmed = [](QChar c) {
        return c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('_');
    };
    while (!safe.isEmpty() && trimmed(safe.front()))
        safe.remove(0, 1);
    safe.truncate(MaximumNameLength);
    while (!safe.isEmpty() && trimmed(safe.back()))
        safe.chop(1);
    return safe.isEmpty() ? QStringLiteral("keypad") : safe;
}

} // namespace

QString BackupPlan::fileName(const QString& name, const QByteArray& mac, const QString& address) {
    const QString where =
        mac.isEmpty() ? QString(address).replace(QLatin1Char('.'), QLatin1Char('-')) : QString::fromLatin1(mac.toHex());
    return safeName(name) + QLatin1Char('_') + where + QStringLiteral(".xml");
}

QVector<BackupPlan::Item> BackupPlan::forDevices(const QList<DiscoveredDevice>& devices) {
    QVector<Item> plan;
    QSet<QString> seen;
    QSet<QString> taken;
    for (const DiscoveredDevice& device : devices) {
        const QString identity = QString::fromLatin1(device.mac().toHex()) + QLatin1Char('@') + device.address();
        if (seen.contains(identity))
            continue;
        seen.insert(identity);
        // Two keypads report the same hardware address only on a misconfigured network; each
        // still gets its own file.
        const QString base = fileName(device.name(), device.mac(), device.address());
        QString candidate = base;
        for (int n = 2; taken.contains(candidate.toLower()); ++n)
            candidate = base.chopped(4) + QStringLiteral("-%1.xml").arg(n);
        taken.insert(candidate.toLower());
        plan.append({device, candidate});
    }
    return plan;
}

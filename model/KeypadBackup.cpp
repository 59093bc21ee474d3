#include "KeypadBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

QString KeypadBackup::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups");
}

QString KeypadBackup::fileName(const QString& keypadName, const QDateTime& when) {
    QString name;
    for (const QChar c : keypadName) {
        // Separators, wildcards and control characters are refused somewhere; the name stays readable.
        if (c.isPrint() && !QStringLiteral("/\\:*?\"<>|").contains(c))
            name += c;
    }
    // A leading dot hides the file.
    name = name.simplified();
    while (name.startsWith(QLatin1Char('.')) || name.startsWith(QLatin1Char(' ')))
        name.remove(0, 1);
    if (name.isEmpty())
        name = QStringLiteral("keypad");
    return name + QLatin1Char(' ') + when.toString(QStringLiteral("yyyy-MM-dd hh.mm.ss")) + QStringLiteral(".xml");
}

KeypadBackup::Result KeypadBackup::write(const QString& folder, const QString& keypadName, const QByteArray& document,
                                         const QDateTime& when) {
    Result result;
    if (!QDir().mkpath(folder)) {
        result.error = tr("Cannot make the folder %1.").arg(QDir::toNativeSeparators(folder));
        return result;
    }
    const QString name = fileName(keypadName, when);
    QString path = QDir(folder).filePath(name);
    for (int copy = 2; QFileInfo::exists(path); ++copy)
        path = QDir(folder).filePath(name.chopped(4) + QStringLiteral(" (%1).xml").arg(copy));
    QSaveFile file(path);
    if (!file.open(QFile::WriteOnly) || file.write(document) != document.size() || !file.flush() || !file.commit()) {
        result.error = tr("Cannot write %1: %2.").arg(QDir::toNativeSeparators(path), file.errorString());
        return result;
    }
    result.path = path;
    return result;
}

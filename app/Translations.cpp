#include "Translations.h"

#include "UiLog.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// Loads name_<language>.qm for locale from folder (de_DE falls back to de) into app.
QString installOne(QCoreApplication& app, const QLocale& locale, const QString& name, const QString& folder) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(locale, name, QStringLiteral("_"), folder)) {
        delete translator;
        qCDebug(lcUi).noquote() << "no" << name << "translation for" << locale.name() << "in" << folder;
        return QString();
    }
    QCoreApplication::installTranslator(translator);
    return translator->filePath();
}

} // namespace

QString Translations::folder() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
}

QStringList Translations::install(QCoreApplication& app, const QLocale& locale, const QString& folder) {
    QStringList loaded;
    for (const QString& file :
         {installOne(app, locale, QStringLiteral("qtbase"), QLibraryInfo::location(QLibraryInfo::TranslationsPath)),
          installOne(app, locale, QStringLiteral("lumetto-keypad"), folder)}) {
        if (!file.isEmpty())
            loaded << file;
    }
    return loaded;
}

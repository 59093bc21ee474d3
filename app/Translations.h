#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

class QCoreApplication;

// The program's own texts and Qt's (standard buttons, file dialogs) in the user's language.
class Translations {
public:
    // Where the program's .qm files are: "translations" next to the program, both in the build
    // tree and installed.
    static QString folder();

    // Installs into app the program's translation from folder and Qt's from its own translations
    // folder for locale, as far as they exist. Returns the files it loaded; none for English, or
    // for a language nobody has translated yet.
    static QStringList install(QCoreApplication& app, const QLocale& locale, const QString& folder);
};

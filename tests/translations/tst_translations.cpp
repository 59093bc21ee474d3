#include "TestEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>

namespace {

struct Message {
    QString context;
    QString source;
    QString comment;
    bool numerus = false;
    bool unfinished = false;
    QStringList translations; // one per plural form, or the one translation

    QString key() const { return context + QLatin1Char('\x1f') + source + QLatin1Char('\x1f') + comment; }
    QString where() const { return QStringLiteral("%1: \"%2\"").arg(context, source); }
};

QVector<Message> readTs(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QFile::ReadOnly)) {
        *error = path + QStringLiteral(": ") + file.errorString();
        return {};
    }
    QVector<Message> messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const QStringRef name = xml.name();
        if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            message = Message();
            message.context = context;
            message.numerus = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        } else if (name == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (name == QLatin1String("comment")) {
            message.comment = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            const QStringRef type = xml.attributes().value(QLatin1String("type"));
            message.unfinished = !type.isEmpty(); // unfinished, vanished or obsolete
            if (message.numerus) {
                while (xml.readNextStartElement())
                    message.translations << xml.readElementText();
            } else {
                message.translations << xml.readElementText();
            }
            messages << message;
        }
    }
    if (xml.hasError())
        *error = QStringLiteral("%1:%2: %3").arg(path).arg(xml.lineNumber()).arg(xml.errorString());
    return messages;
}

QStringList tsFiles() {
    const QDir folder(TestSupport::sourceDir() + QStringLiteral("/translations"));
    QStringList files;
    for (const QString& name : folder.entryList({QStringLiteral("*.ts")}, QDir::Files))
        files << folder.filePath(name);
    return files;
}

QSet<QString> placeholders(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%(\\d+|n)"));
    QSet<QString> found;
    for (auto it = placeholder.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    return found;
}

// "&File" has one, "R&&D" and "a & b" have none.
bool hasAccelerator(const QString& text) {
    static const QRegularExpression accelerator(QStringLiteral("(^|[^&])&[^&\\s]"));
    return accelerator.match(text).hasMatch();
}

QString report(const QStringList& problems) {
    return QString::number(problems.size()) + QStringLiteral(" problem(s):\n  ") +
           problems.mid(0, 40).join(QStringLiteral("\n  "));
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY2(!tsFiles().isEmpty(), "no .ts files in translations/"); }

    // A text without a translation shows up in English in the middle of a German window; a
    // translation that lost its %1 shows a message without the file name it is about.
    void everyTextIsTranslated() {
        for (const QString& path : tsFiles()) {
            QString error;
            const QVector<Message> messages = readTs(path, &error);
            QVERIFY2(error.isEmpty(), qPrintable(error));
            QStringList problems;
            for (const Message& m : messages) {
                const bool empty =
                    m.translations.isEmpty() || std::any_of(m.translations.cbegin(), m.translations.cend(),
                                                            [](const QString& t) { return t.trimmed().isEmpty(); });
                if (m.unfinished || empty) {
                    problems << m.where() + QStringLiteral(" has no finished translation");
                    continue;
                }
                for (const QString& t : m.translations) {
                    // A singular form may say "eine" for %n.
                    QSet<QString> wanted = placeholders(m.source);
                    QSet<QString> got = placeholders(t);
                    if (m.numerus) {
                        wanted.remove(QStringLiteral("%n"));
                        got.remove(QStringLiteral("%n"));
                    }
                    if (wanted != got)
                        problems << m.where() + QStringLiteral(" -> \"%1\": placeholders differ").arg(t);
                    if (hasAccelerator(m.source) != hasAccelerator(t))
                        problems << m.where() + QStringLiteral(" -> \"%1\": keyboard accelerator lost or added").arg(t);
                }
            }
            QVERIFY2(problems.isEmpty(),
                     qPrintable(QFileInfo(path).fileName() + QStringLiteral(": ") + report(problems)));
        }
    }

    // Texts added to the code since the files were last refreshed: lupdate, run here as
    // `make translations` runs it, must find nothing the files do not already hold.
    void filesHoldEveryTextOfTheCode() {
        QTemporaryDir temporary;
        const QString fresh = temporary.filePath(QStringLiteral("fresh_de.ts"));
        QStringList arguments{QStringLiteral("-no-obsolete"), QStringLiteral("-locations"), QStringLiteral("none")};
        for (const QString& folder : QStringLiteral(LUMETTO_TRANSLATED_FOLDERS).split(QLatin1Char(',')))
            arguments << TestSupport::sourceDir() + QLatin1Char('/') + folder;
        arguments << QStringLiteral("-ts") << fresh;
        QProcess lupdate;
        lupdate.start(QStringLiteral(LUMETTO_LUPDATE), arguments);
        QVERIFY2(lupdate.waitForFinished(120000), qPrintable(lupdate.errorString()));
        QCOMPARE(lupdate.exitCode(), 0);

        QString error;
        const QVector<Message> extracted = readTs(fresh, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(extracted.size() > 100, qPrintable(QString::number(extracted.size())));
        for (const QString& path : tsFiles()) {
            QSet<QString> held;
            for (const Message& m : readTs(path, &error))
                held << m.key();
            QStringList missing;
            for (const Message& m : extracted) {
                if (!held.contains(m.key()))
                    missing << m.where();
            }
            QVERIFY2(missing.isEmpty(), qPrintable(QFileInfo(path).fileName() +
                                                   QStringLiteral(" lacks texts of the code; run `make translations` "
                                                                  "and translate them. ") +
                                                   report(missing)));
        }
    }

    // The program loads the .qm files of the build, not the .ts files: they must say the same.
    void builtFilesMatchTheSources() {
        for (const QString& path : tsFiles()) {
            const QString qm = TestSupport::binDir() + QStringLiteral("/translations/") +
                               QFileInfo(path).completeBaseName() + QStringLiteral(".qm");
            QTranslator translator;
            QVERIFY2(translator.load(qm), qPrintable(qm));
            QString error;
            QStringList stale;
            for (const Message& m : readTs(path, &error)) {
                if (m.numerus || m.unfinished)
                    continue;
                const QByteArray context = m.context.toUtf8();
                const QByteArray source = m.source.toUtf8();
                const QByteArray comment = m.comment.toUtf8();
                const QString got = translator.translate(context.constData(), source.constData(),
                                                         comment.isEmpty() ? nullptr : comment.constData());
                if (got != m.translations.value(0))
                    stale << m.where() + QStringLiteral(" -> \"%1\"").arg(got);
            }
            QVERIFY2(stale.isEmpty(), qPrintable(qm + QStringLiteral(": ") + report(stale)));
        }
    }
};

LUMETTO_TEST_MAIN_CORE(TestTranslations, "tst_translations")
#include "tst_translations.moc"

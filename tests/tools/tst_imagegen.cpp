#include "TestEnvironment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

int run(const QString& output, const QString& workingDirectory = QString()) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(IMAGEGEN_PATH),
                  output.isEmpty() ? QStringList() : QStringList({QStringLiteral("--output"), output}));
    if (!process.waitForFinished(120000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QMap<QString, QByteArray> digests(const QString& folder) {
    QMap<QString, QByteArray> result;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            result.insert(QDir(folder).relativeFilePath(file.fileName()),
                          QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1));
    }
    return result;
}

} // namespace

// The image generator runs in every build: its resource list must match what it wrote, and it must
// write the same bytes every time, or every build would recompile the resources for nothing.
class tst_ImageGen : public QObject {
    Q_OBJECT

private slots:
    void resourceListMatchesTheFilesAndIsReproducible() {
        QTemporaryDir out;
        QCOMPARE(run(out.path()), 0);
        QFile qrc(out.filePath(QStringLiteral("app_resources.qrc")));
        QVERIFY(qrc.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&qrc);
        QSet<QString> aliases;
        QSet<QString> listed;
        QString prefix;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("qresource"))
                prefix = xml.attributes().value(QLatin1String("prefix")).toString();
            if (xml.isStartElement() && xml.name() == QLatin1String("file")) {
                const QString alias = xml.attributes().value(QLatin1String("alias")).toString();
                const QString file = xml.readElementText();
                QVERIFY2(!aliases.contains(alias), qPrintable(alias));
                aliases.insert(alias);
                listed.insert(file);
                QVERIFY2(QFileInfo::exists(out.filePath(file)), qPrintable(file));
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        // Where the program looks; which pictures it finds there is the resource test's business.
        QCOMPARE(prefix, QStringLiteral("/images"));
        // Nothing drawn for the program is left out of the list.
        const QStringList drawn = QDir(out.filePath(QStringLiteral("art"))).entryList({QStringLiteral("*.png")});
        QCOMPARE(drawn.size(), listed.size());
        for (const QString& name : drawn)
            QVERIFY2(listed.contains(QStringLiteral("art/") + name), qPrintable(name));

        QTemporaryDir again;
        QCOMPARE(run(again.path()), 0);
        const auto first = digests(out.path());
        QVERIFY(first.size() > 60);
        QCOMPARE(digests(again.path()), first);

        // Without a folder it refuses, and writes nothing where it was started.
        QTemporaryDir cwd;
        QCOMPARE(run(QString(), cwd.path()), 2);
        QVERIFY(QDir(cwd.path()).isEmpty());
    }
};

LUMETTO_TEST_MAIN_CORE(tst_ImageGen, "tst_imagegen")
#include "tst_imagegen.moc"

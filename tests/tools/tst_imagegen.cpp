#include "TestEnvironment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

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
        QSet<QString> listed;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("file"))
                listed.insert(xml.readElementText());
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        // Everything drawn for the program is listed, and nothing else: the program finds each picture under
        // its own name, which the resource test checks.
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

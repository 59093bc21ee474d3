#include "TestEnvironment.h"

#include "ProgramVersion.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct Result {
    int exitCode = -1;
    QString output;
    QString errors;
};

Result run(const QString& program, const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Result result;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.output = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

QString buildDir() {
    return QFileInfo(TestSupport::binDir()).absolutePath();
}

// The newest package the build made, or nothing when none is as new as the programs in it.
QString freshPackage() {
    const QFileInfoList packages =
        QDir(buildDir()).entryInfoList({QStringLiteral("lumetto-keypad_*.deb")}, QDir::Files, QDir::Time);
    if (packages.isEmpty())
        return QString();
    for (const char* program : {"lumetto-keypad", "lumetto-keypad-cli"}) {
        const QFileInfo built(TestSupport::binDir() + QLatin1Char('/') + QLatin1String(program));
        if (packages.first().lastModified() < built.lastModified())
            return QString();
    }
    return packages.first().absoluteFilePath();
}

// What must be in the package, and nothing else.
QStringList expectedFiles() {
    const QString app = QStringLiteral(PACKAGE_APPDIR);
    const QString share = QStringLiteral(PACKAGE_DATADIR);
    QStringList files = {
        QStringLiteral(PACKAGE_BINDIR "/lumetto-keypad -> ") +
            QDir(QStringLiteral(PACKAGE_BINDIR)).relativeFilePath(app + QStringLiteral("/lumetto-keypad")),
        QStringLiteral(PACKAGE_BINDIR "/lumetto-keypad-cli"),
        app + QStringLiteral("/lumetto-keypad"),
        app + QStringLiteral("/defaultConfiguration.xml"),
        app + QStringLiteral("/help/LumettoKeypad_ProductGuide.pdf"),
        share + QStringLiteral("/applications/lumetto-keypad.desktop"),
        share + QStringLiteral("/metainfo/com.orvane.lumetto_keypad.metainfo.xml"),
        share + QStringLiteral("/mime/packages/lumetto-keypad.xml"),
        share + QStringLiteral("/icons/hicolor/scalable/apps/lumetto-keypad.svg"),
        share + QStringLiteral("/man/man1/lumetto-keypad.1.gz"),
        share + QStringLiteral("/man/man1/lumetto-keypad-cli.1.gz"),
        share + QStringLiteral("/bash-completion/completions/lumetto-keypad-cli"),
        app + QStringLiteral("/translations/lumetto-keypad_de.qm"),
    };
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        files << share + QStringLiteral("/icons/hicolor/%1x%1/apps/lumetto-keypad.png").arg(size);
    // Every translation the build made goes beside the program.
    const QDir translations(TestSupport::binDir() + QStringLiteral("/translations"));
    for (const QString& name : translations.entryList({QStringLiteral("*.qm")}, QDir::Files)) {
        if (!files.contains(app + QStringLiteral("/translations/") + name))
            files << app + QStringLiteral("/translations/") + name;
    }
    files.sort();
    return files;
}

QString listDifference(const QStringList& a, const QStringList& b) {
    QStringList missing;
    for (const QString& entry : a) {
        if (!b.contains(entry))
            missing << entry;
    }
    return missing.join(QLatin1Char('\n'));
}

} // namespace

// The Debian package that `make package` builds: what it holds, what it depends on, and that
// the programs in it start.
class TestPackage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        m_package = freshPackage();
        QVERIFY(!m_package.isEmpty());
        QVERIFY(m_tree.isValid());
        QCOMPARE(run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), m_package, m_tree.path()}).exitCode, 0);
    }

    void holdsWhatMustBeThere() {
        const Result listing = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), m_package});
        QCOMPARE(listing.exitCode, 0);
        QStringList files;
        for (const QString& line : listing.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            // "-rwxr-xr-x root/root 423216 2026-12-08 15:03 ./usr/bin/lumetto-keypad-cli", "... -> target"
            const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            QVERIFY2(fields.size() >= 6 && fields.at(1) == QLatin1String("root/root"), qPrintable(line));
            if (fields.at(0).startsWith(QLatin1Char('d')))
                continue;
            files << fields.mid(5).join(QLatin1Char(' ')).mid(1); // without the leading "."
        }
        files.sort();
        const QStringList expected = expectedFiles();
        QVERIFY2(files == expected,
                 qPrintable(QStringLiteral("missing:\n%1\nunexpected:\n%2")
                                .arg(listDifference(expected, files), listDifference(files, expected))));
    }

    void dependsOnTheLibrariesItLinks() {
        const Result fields =
            run(QStringLiteral("dpkg-deb"),
                {QStringLiteral("--field"), m_package, QStringLiteral("Package"), QStringLiteral("Version"),
                 QStringLiteral("Architecture"), QStringLiteral("Depends")});
        QCOMPARE(fields.exitCode, 0);
        QVERIFY2(fields.output.contains(QStringLiteral("Package: lumetto-keypad\n")), qPrintable(fields.output));
        QVERIFY(fields.output.contains(QStringLiteral("Version: %1\n").arg(QLatin1String(ProgramVersion::text))));
        const Result architecture = run(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")});
        QVERIFY(fields.output.contains(QStringLiteral("Architecture: ") + architecture.output));
        for (const char* library :
             {"libqt5core5a", "libqt5gui5", "libqt5widgets5", "libqt5network5", "libqt5xml5", "libc6"})
            QVERIFY2(fields.output.contains(QLatin1String(library)), library);
    }

    // Unpacked, the programs answer with their version (through the link in bin/ for the
    // editor), the man pages are pages, and the desktop files agree with each other.
    void unpackedProgramsStart() {
        const QString root = m_tree.path();
        const QString version = QLatin1String(ProgramVersion::text);
        for (const char* program : {"lumetto-keypad", "lumetto-keypad-cli"}) {
            const Result answer =
                run(root + QStringLiteral(PACKAGE_BINDIR "/") + QLatin1String(program), {QStringLiteral("--version")});
            QCOMPARE(answer.exitCode, 0);
            QCOMPARE(answer.output, QLatin1String(program) + QLatin1Char(' ') + version + QLatin1Char('\n'));
            const Result page = run(QStringLiteral("gzip"),
                                    {QStringLiteral("-dc"), root + QStringLiteral(PACKAGE_DATADIR "/man/man1/") +
                                                                QLatin1String(program) + QStringLiteral(".1.gz")});
            QCOMPARE(page.exitCode, 0);
            QVERIFY2(page.output.contains(QStringLiteral(".TH ") + QString::fromLatin1(program).toUpper()),
                     qPrintable(page.output.left(200)));
            QVERIFY(page.output.contains(QStringLiteral(".SH EXAMPLES")));
        }
        if (QStandardPaths::findExecutable(QStringLiteral("appstreamcli")).isEmpty())
            QSKIP("appstreamcli is not installed");
        const Result tree =
            run(QStringLiteral("appstreamcli"),
                {QStringLiteral("validate-tree"), QStringLiteral("--no-net"), QStringLiteral("--pedantic"), root});
        QVERIFY2(tree.exitCode == 0 && !tree.output.contains(QStringLiteral(": ")), qPrintable(tree.output));
    }

private:
    QString m_package;
    QTemporaryDir m_tree;
};

// Without a package as new as the build there is nothing to look at: reported as skipped.
int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    TestSupport::isolate(QStringLiteral("tst_package"));
    if (freshPackage().isEmpty()) {
        fprintf(stderr, "SKIPPED: no package as new as the build in %s: make package builds it\n",
                qPrintable(buildDir()));
        return 77;
    }
    TestPackage tc;
    return QTest::qExec(&tc, argc, argv);
}
#include "tst_package.moc"

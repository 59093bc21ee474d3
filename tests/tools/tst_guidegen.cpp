#include "TestEnvironment.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The guide typesetter: pages for cover, contents and text, and no half-written guide on failure.
class tst_GuideGen : public QObject {
    Q_OBJECT

private slots:
    void typesetsChaptersOnPagesOfTheirOwn();
    void failsCleanlyOnMissingSource();
    void failsWhenTheGuideCannotBeWritten();

private:
    static int run(const QStringList& arguments);
    static int pageCount(const QString& pdfPath);
    static void write(const QString& path, const QByteArray& text);
};

int tst_GuideGen::run(const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(GUIDEGEN_PATH), arguments);
    if (!process.waitForFinished(120000)) {
        qWarning() << "guidegen did not finish" << process.errorString();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

int tst_GuideGen::pageCount(const QString& pdfPath) {
    QFile file(pdfPath);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    return pdf.count("/Type /Page") - pdf.count("/Type /Pages");
}

void tst_GuideGen::write(const QString& path, const QByteArray& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(text), qint64(text.size()));
}

void tst_GuideGen::typesetsChaptersOnPagesOfTheirOwn() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString source = dir.filePath(QStringLiteral("guide.md"));
    write(source, "# One\n\nSome text.\n\n## A section\n\n| a | b |\n|---|---|\n| 1 | 2 |\n\n"
                  "# Two\n\nMore text.\n\n# Three\n\nThe end.\n");
    const QString pdf = dir.filePath(QStringLiteral("out/help/guide.pdf"));
    QCOMPARE(run({QStringLiteral("--input"), source, QStringLiteral("--images"), dir.path(), QStringLiteral("--output"),
                  pdf}),
             0);
    // Cover, contents, and one page for each of the three chapters.
    QCOMPARE(pageCount(pdf), 5);
    QVERIFY(!QFileInfo::exists(pdf + QStringLiteral(".part")));
}

void tst_GuideGen::failsCleanlyOnMissingSource() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("guide.pdf"));
    QVERIFY(run({QStringLiteral("--input"), dir.filePath(QStringLiteral("missing.md")), QStringLiteral("--output"),
                 pdf}) != 0);
    QVERIFY(QDir(dir.path()).isEmpty());
}

void tst_GuideGen::failsWhenTheGuideCannotBeWritten() {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("guide.md"));
    write(source, "# One\n\nText.\n");
    // A plain file where the folder of the guide should be.
    write(dir.filePath(QStringLiteral("help")), "not a folder");
    QVERIFY(run({QStringLiteral("--input"), source, QStringLiteral("--output"),
                 dir.filePath(QStringLiteral("help/guide.pdf"))}) != 0);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

LUMETTO_TEST_MAIN_CORE(tst_GuideGen, "tst_guidegen")
#include "tst_guidegen.moc"

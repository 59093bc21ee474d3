#include "TestEnvironment.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace {

int run(const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(GUIDEGEN_PATH), arguments);
    if (!process.waitForFinished(120000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

// The guide typesetter: pages for cover, contents and text, and no half-written guide on failure.
class tst_GuideGen : public QObject {
    Q_OBJECT

private slots:
    void typesetsTheWholeGuideOrNothing() {
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("guide.md"));
        QVERIFY(run({"--input", source, "--output", dir.filePath(QStringLiteral("guide.pdf"))}) != 0);
        QVERIFY(QDir(dir.path()).isEmpty());
        QVERIFY(TestSupport::writeFile(source,
                                       "# One\n\nSome text.\n\n## A section\n\n| a | b |\n|---|---|\n| 1 | 2 |\n\n"
                                       "# Two\n\nMore text.\n\n# Three\n\nThe end.\n"));
        // A plain file where the folder of the guide should be.
        QVERIFY(TestSupport::writeFile(dir.filePath(QStringLiteral("help")), "not a folder"));
        QVERIFY(run({"--input", source, "--output", dir.filePath(QStringLiteral("help/guide.pdf"))}) != 0);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);

        const QString pdf = dir.filePath(QStringLiteral("out/help/guide.pdf"));
        QCOMPARE(run({"--input", source, "--images", dir.path(), "--output", pdf}), 0);
        const QByteArray bytes = TestSupport::readFile(pdf);
        // Cover, contents, and one page for each of the three chapters.
        QCOMPARE(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), 5);
        QVERIFY(!QFileInfo::exists(pdf + QStringLiteral(".part")));
    }
};

LUMETTO_TEST_MAIN_CORE(tst_GuideGen, "tst_guidegen")
#include "tst_guidegen.moc"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

const QString BashCompletion = QStringLiteral("/usr/share/bash-completion/bash_completion");

// The completion's answers for a command line whose last word is being typed, in a folder
// holding a.xml, notes.txt and the folder sub.
QStringList complete(const QString& folder, const QStringList& words) {
    const QString script = QStringLiteral(
        "source %1 && source %2 || exit 2\n"
        "function=$(complete -p lumetto-keypad-cli | sed -E 's/.* -F ([^ ]+) .*/\\1/')\n"
        "COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); COMP_LINE=\"$*\"; COMP_POINT=${#COMP_LINE}\n"
        "\"$function\" lumetto-keypad-cli \"${COMP_WORDS[COMP_CWORD]}\" \"${COMP_WORDS[COMP_CWORD - 1]}\"\n"
        "printf '%s\\n' \"${COMPREPLY[@]}\"\n");
    QProcess bash;
    bash.setWorkingDirectory(folder);
    bash.start(QStringLiteral("bash"),
               QStringList{QStringLiteral("-c"), script.arg(BashCompletion, QStringLiteral(COMPLETION_PATH)),
                           QStringLiteral("bash"), QStringLiteral("lumetto-keypad-cli")} +
                   words);
    if (!bash.waitForFinished(20000) || bash.exitCode() != 0) {
        qWarning() << "bash failed:" << bash.readAllStandardError();
        return {QStringLiteral("(failed)")};
    }
    QStringList replies = QString::fromUtf8(bash.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    replies.sort();
    return replies;
}

// The tool's own list of its commands and options, from its --help.
QMap<QString, QStringList> commandsInHelp() {
    QProcess cli;
    cli.start(TestSupport::binDir() + QStringLiteral("/lumetto-keypad-cli"), {QStringLiteral("--help")});
    cli.waitForFinished(20000);
    QMap<QString, QStringList> commands;
    const QRegularExpression usage(QStringLiteral("lumetto-keypad-cli ([a-z][a-z-]*)(.*)$"));
    const QRegularExpression option(QStringLiteral("--[a-z][a-z-]*"));
    for (const QString& line : QString::fromUtf8(cli.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = usage.match(line);
        if (!match.hasMatch())
            continue;
        QStringList& options = commands[match.captured(1)];
        for (auto it = option.globalMatch(match.captured(2)); it.hasNext();)
            options << it.next().captured();
    }
    return commands;
}

} // namespace

// The shell completion of lumetto-keypad-cli, as bash runs it.
class TestCompletion : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (!QFile::exists(BashCompletion))
            QSKIP("bash-completion is not installed");
        QVERIFY(m_folder.isValid());
        QVERIFY(QDir(m_folder.path()).mkdir(QStringLiteral("sub")));
        for (const char* name : {"a.xml", "notes.txt"})
            QVERIFY(TestSupport::writeFile(m_folder.filePath(QLatin1String(name)), QByteArray()));
    }

    void completesArgumentsByKind_data() {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QStringList>("expected");
        const QStringList files{"a.xml", "sub"};
        QTest::newRow("command by its start") << QStringList{"sh"} << QStringList{"show"};
        QTest::newRow("file to show") << QStringList{"show", ""} << files;
        QTest::newRow("nothing after the file") << QStringList{"show", "a.xml", ""} << QStringList();
        QTest::newRow("address is typed") << QStringList{"backup", ""} << QStringList();
        QTest::newRow("file after the address") << QStringList{"backup", "10.0.0.2", ""} << files;
        QTest::newRow("restore: file first") << QStringList{"restore", "a"} << QStringList{"a.xml"};
        QTest::newRow("restore: then the address") << QStringList{"restore", "a.xml", ""} << QStringList();
        QTest::newRow("options") << QStringList{"discover", "-"} << QStringList{"--json", "--timeout"};
        QTest::newRow("restore: any number of addresses")
            << QStringList{"restore", "a.xml", "10.0.0.2", "10.0.0.3", ""} << QStringList();
        QTest::newRow("restore: its options")
            << QStringList{"restore", "a.xml", "--"} << QStringList{"--dry-run", "--keep-name"};
        QTest::newRow("diff: files") << QStringList{"diff", "a.xml", ""} << files;
        QTest::newRow("option before the file") << QStringList{"show", "--json", ""} << files;
        QTest::newRow("option's value is typed") << QStringList{"discover", "--timeout", ""} << QStringList();
        QTest::newRow("unknown command") << QStringList{"frobnicate", ""} << QStringList();
    }

    void completesArgumentsByKind() {
        QFETCH(QStringList, words);
        QFETCH(QStringList, expected);
        QCOMPARE(complete(m_folder.path(), words), expected);
    }

    // A command or an option added to the tool and not to its completion fails here.
    void knowsEveryCommandAndOptionOfTheTool() {
        const QMap<QString, QStringList> commands = commandsInHelp();
        QVERIFY(commands.contains(QStringLiteral("show")));
        QStringList expected = commands.keys() + QStringList{"--help", "--version"};
        expected.sort();
        QCOMPARE(complete(m_folder.path(), {QString()}), expected);
        for (auto it = commands.cbegin(); it != commands.cend(); ++it) {
            const QStringList offered = complete(m_folder.path(), {it.key(), QStringLiteral("--")});
            for (const QString& option : it.value())
                QVERIFY2(offered.contains(option), qPrintable(it.key() + QLatin1Char(' ') + option));
        }
    }

private:
    QTemporaryDir m_folder;
};

LUMETTO_TEST_MAIN_CORE(TestCompletion, "tst_completion")
#include "tst_completion.moc"

#include "TestEnvironment.h"

#include "ProgramVersion.h"

#include <QProcess>

// Help and version of every program: printed with no display to draw on and outside any private
// network, so a program that opened a window (or started its work, and with it its sockets)
// before answering would fail here.
class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void helpAndVersionNeedNoDisplay_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("expected"); // the first is the start of the output

        const QString version = QString::fromLatin1(ProgramVersion::text);
        for (const char* name : {"lumetto-keypad", "lumetto-keypad-sim", "lumetto-keypad-cli"}) {
            const QString program = QString::fromLatin1(name);
            const QStringList answer{program + QLatin1Char(' ') + version + QLatin1Char('\n')};
            QTest::newRow(qPrintable(program + " --version")) << program << QStringList{"--version"} << answer;
            QTest::newRow(qPrintable(program + " -v")) << program << QStringList{"-v"} << answer;
        }
        QTest::newRow("lumetto-keypad --help")
            << "lumetto-keypad" << QStringList{"--help"} << QStringList{"Usage: ", "--verbose", "[file]"};
        // Qt's own options are listed too, which takes the window's application object.
        QTest::newRow("lumetto-keypad --help-all")
            << "lumetto-keypad" << QStringList{"--help-all"} << QStringList{"Usage: ", "--verbose", "--platform"};
        QTest::newRow("lumetto-keypad-sim --help") << "lumetto-keypad-sim" << QStringList{"--help"}
                                                   << QStringList{"Usage: ", "--firmware <X.Y.Z>", "--version"};
        QTest::newRow("lumetto-keypad-cli --help")
            << "lumetto-keypad-cli" << QStringList{"--help"}
            << QStringList{"Usage: lumetto-keypad-cli discover", "  or:  lumetto-keypad-cli show FILE", "--version"};
    }

    void helpAndVersionNeedNoDisplay() {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, expected);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(TestSupport::binDir() + QLatin1Char('/') + program, arguments);
        QVERIFY2(process.waitForFinished(20000), qPrintable(process.errorString()));
        const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY2(process.exitCode() == 0, qPrintable(errors));
        const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
        QVERIFY2(output.startsWith(expected.first()), qPrintable(output));
        for (const QString& text : expected)
            QVERIFY2(output.contains(text), qPrintable(text + QStringLiteral(" not in:\n") + output));
    }
};

LUMETTO_TEST_MAIN_CORE(TestCommandLine, "tst_commandline")
#include "tst_commandline.moc"

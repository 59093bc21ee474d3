#include "TestEnvironment.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

// The editor broadcasts discovery requests, so it is only ever started in a private namespace.
// The program must start, paint its window and stay up until it is asked to quit.
class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void startsPaintsAndQuits() {
        QProcess editor;
        editor.setProgram(TestSupport::binDir() + QStringLiteral("/lumetto-keypad"));
        // The editor saves its network choice and window layout: give it settings of its own.
        QTemporaryDir home;
        QVERIFY(home.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LUMETTO_STARTUP_REPORT"), QStringLiteral("1"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        editor.setProcessEnvironment(environment);
        QByteArray errors;
        connect(&editor, &QProcess::readyReadStandardError, this, [&] { errors += editor.readAllStandardError(); });
        editor.start();
        QVERIFY2(editor.waitForStarted(10000), qPrintable(editor.errorString()));

        const QRegularExpression report(QStringLiteral("first window painted after (\\d+) ms"));
        QTRY_VERIFY_WITH_TIMEOUT(report.match(QString::fromLatin1(errors)).hasMatch(), 20000);
        const int ms = report.match(QString::fromLatin1(errors)).captured(1).toInt();
        qInfo("start to first window: %d ms", ms);
        // Generous: a loaded two-core machine; a start that takes seconds is a fault all the same.
        QVERIFY2(ms < 5000, qPrintable(QString::number(ms)));

        QVERIFY(!editor.waitForFinished(1000));
        editor.terminate();
        QVERIFY(editor.waitForFinished(10000));
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestStartup, "tst_startup", QCoreApplication)
#include "tst_startup.moc"

#include "TestEnvironment.h"

#include <QProcess>

// The editor broadcasts discovery requests, so it is only ever started in a private namespace.
// The program must start, show its window and stay up until it is asked to quit.
class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void startsAndQuits() {
        QProcess editor;
        editor.setProgram(TestSupport::binDir() + QStringLiteral("/lumetto-keypad"));
        editor.start();
        QVERIFY2(editor.waitForStarted(10000), qPrintable(editor.errorString()));
        QVERIFY(!editor.waitForFinished(1500));
        editor.terminate();
        QVERIFY(editor.waitForFinished(10000));
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestStartup, "tst_startup", QCoreApplication)
#include "tst_startup.moc"

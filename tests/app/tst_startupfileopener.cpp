#include "TestEnvironment.h"

#include "ConnectionState.h"
#include "MessageBox.h"
#include "StartupFileOpener.h"

namespace {

const QString File = QStringLiteral("/home/user/lobby.xml");

// One step of a start-up: the state the connection reaches, whether the keypad is still being
// read at that moment, and what must have happened by then.
struct Step {
    ConnectionState::State state;
    bool busy;
    bool opened;
    bool told; // the user hears now why the file waits
};

} // namespace

Q_DECLARE_METATYPE(Step)

class TestStartupFileOpener : public QObject {
    Q_OBJECT

private slots:
    void init() {
        MessageBox::setNextAnswer(QMessageBox::NoButton);
        MessageBox::clearLast();
    }

    void opensOnceFileOpenCouldBeUsed_data() {
        QTest::addColumn<QVector<Step>>("steps");
        using S = ConnectionState;
        QTest::newRow("keypad connected") << QVector<Step>{{S::Discovering, false, false, false},
                                                           // The keypad's scenes are still on their way.
                                                           {S::Connected, true, false, false},
                                                           {S::Connected, false, true, false},
                                                           {S::ConnectionLost, false, true, false},
                                                           {S::Connected, false, true, false}};
        // Said once, not at every search that finds nothing.
        QTest::newRow("no keypad, then the demo")
            << QVector<Step>{{S::Discovering, false, false, false},  {S::NoDevice, false, false, true},
                             {S::NotConnected, false, false, false}, {S::Discovering, false, false, false},
                             {S::NoDevice, false, false, false},     {S::OfflineDemo, true, false, false},
                             {S::OfflineDemo, false, true, false}};
        // An address that cannot be reached may be mended on the System Configuration page.
        QTest::newRow("unreachable, then mended") << QVector<Step>{{S::CommunicationFailure, false, false, false},
                                                                   {S::Discovering, false, false, false},
                                                                   {S::Connected, false, true, false}};
        QTest::newRow("restoring factory defaults")
            << QVector<Step>{{S::RestoringFactoryDefaults, false, false, false}};
    }

    void opensOnceFileOpenCouldBeUsed() {
        QFETCH(QVector<Step>, steps);
        ConnectionState state(1000000);
        bool busy = false;
        QStringList opened;
        StartupFileOpener opener(
            File, &state, [&busy] { return busy; }, [&opened](const QString& name) { opened << name; });
        int stepNumber = 0;
        for (const Step& step : steps) {
            const QByteArray where = QByteArray::number(++stepNumber);
            MessageBox::setNextAnswer(QMessageBox::Ok);
            busy = step.busy;
            if (state.state() == step.state)
                opener.check(); // as when a keypad reply has been handled
            else
                state.setState(step.state);
            QCoreApplication::processEvents();
            QVERIFY2(opened == (step.opened ? QStringList{File} : QStringList()), where);
            QVERIFY2(opener.isOpened() == step.opened, where);
            QVERIFY2(MessageBox::lastText().contains(File) == step.told, where);
            if (step.told)
                QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Open Configuration"));
            MessageBox::clearLast();
            MessageBox::setNextAnswer(QMessageBox::NoButton);
        }
    }

    // The demo chosen at once, before the notice came round: the file is open, nothing to explain.
    void noNoticeOnceOpened() {
        ConnectionState state(1000000);
        StartupFileOpener opener(
            File, &state, [] { return false; }, [](const QString&) {});
        state.setState(ConnectionState::NoDevice);
        state.setState(ConnectionState::OfflineDemo);
        QCoreApplication::processEvents();
        QVERIFY(opener.isOpened());
        QVERIFY(MessageBox::lastTitle().isEmpty());
    }
};

LUMETTO_TEST_MAIN(TestStartupFileOpener, "tst_startupfileopener")
#include "tst_startupfileopener.moc"

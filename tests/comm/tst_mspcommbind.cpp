#include "CommMessageBox.h"
#include "MSPComm.h"
#include "TestEnvironment.h"

#include <QUdpSocket>

// With the keypad notice port taken by another program, the REST client says so once and
// carries on without notices and heartbeats.
class TestMSPCommBind : public QObject {
    Q_OBJECT

private slots:
    void noticePortTaken() {
        QUdpSocket squatter;
        QVERIFY(squatter.bind(QHostAddress::AnyIPv4, MSPComm::KeypadNoticePort, QAbstractSocket::DontShareAddress));
        QStringList messages;
        CommMessageBox::setHandler([&](const QString& title, const QString& text) { messages << title + ": " + text; });
        MSPComm* comm = MSPComm::instance();
        QCOMPARE(messages, QStringList(QStringLiteral("Error: Failed to bind to port 6041.  Close any application that "
                                                      "may be using this port and restart this program.")));
        // The HTTP side still works; nothing else opens a box.
        comm->setDevice(QStringLiteral("10.77.0.1"), QByteArray());
        comm->getConfig();
        QTRY_VERIFY_WITH_TIMEOUT(!comm->hasOutstandingReplies(), 15000);
        QVERIFY(!QSignalSpy(comm, &MSPComm::heartBeat).wait(1500));
        QCOMPARE(messages.size(), 1);
        CommMessageBox::setHandler({});
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestMSPCommBind, "tst_mspcommbind", QCoreApplication)

#include "tst_mspcommbind.moc"

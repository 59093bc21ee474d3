#include "TestEnvironment.h"

#include "LowDelaySockets.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace {

int noDelay(const QTcpSocket& socket) {
    int value = -1;
    socklen_t length = sizeof(value);
    getsockopt(int(socket.socketDescriptor()), IPPROTO_TCP, TCP_NODELAY, &value, &length);
    return value;
}

} // namespace

// The HTTP stack's sockets are found through the kernel's tables: a connection to the keypad is
// recognised while it is being made and once it stands, and only connections to the keypad's
// address and port are changed.
class TestLowDelaySockets : public QObject {
    Q_OBJECT

private slots:
    void findsTheKeypadsConnectionsOnly() {
        const QHostAddress editor(QString::fromLatin1(qgetenv("LUMETTO_EDITOR_ADDRESS")));
        QVERIFY(!editor.isNull());
        QTcpServer keypad;
        QTcpServer other;
        QVERIFY(keypad.listen(editor) && other.listen(editor));
        QVERIFY(!LowDelaySockets::hasConnection(editor, keypad.serverPort()));
        QVERIFY(!LowDelaySockets::awaitConnection(editor, keypad.serverPort(), 5));

        QTcpSocket elsewhere;
        elsewhere.connectToHost(editor, other.serverPort());
        QVERIFY(elsewhere.waitForConnected(5000));
        QVERIFY(!LowDelaySockets::hasConnection(editor, keypad.serverPort()));

        QTcpSocket connection;
        connection.connectToHost(editor, keypad.serverPort());
        QVERIFY(LowDelaySockets::hasConnection(editor, keypad.serverPort()));
        // Waited for without the event loop, as the HTTP stack's own thread makes the connection.
        QVERIFY(LowDelaySockets::awaitConnection(editor, keypad.serverPort(), 5000));
        QVERIFY(connection.waitForConnected(5000)); // only then does the socket tell its descriptor
        QCOMPARE(noDelay(connection), 1);
        QCOMPARE(noDelay(elsewhere), 0);

        LowDelaySockets::setEnabled(false);
        QTcpSocket plain;
        plain.connectToHost(editor, keypad.serverPort());
        QVERIFY(plain.waitForConnected(5000));
        QCOMPARE(LowDelaySockets::applyTo(editor, keypad.serverPort()), 0);
        QCOMPARE(noDelay(plain), 0);
        LowDelaySockets::setEnabled(true);
    }
};

LUMETTO_NETWORK_TEST_MAIN(TestLowDelaySockets, "tst_lowdelaysockets", QCoreApplication)
#include "tst_lowdelaysockets.moc"

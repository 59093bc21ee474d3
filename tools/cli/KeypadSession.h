#pragma once

#include "MSPDocument.h"
#include "MSPKeyPress.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QNetworkReply;

// The tool's talk with one keypad at a time, on the editor's own REST client and models. Each
// open() starts as the tool would start fresh, so one keypad of many gets exactly the requests
// it would get alone. A step that fails returns false and leaves a one-line error() that names
// the keypad and what failed.
class KeypadSession : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(KeypadSession)

public:
    KeypadSession();

    // Why address cannot be a keypad's here; empty when it can.
    static QString addressProblem(const QString& address);

    // Turns to the keypad at address and reads its configuration.
    bool open(const QString& address, const QByteArray& mac = QByteArray());
    // Reads the eight scenes and which one is active, leaving the keypad as it is.
    bool readScenes();
    // Reads the configuration again.
    bool readConfiguration();
    // What the keypad holds (after open() and readScenes()), as the editor's Save writes it.
    QByteArray document() const;

    // Writes a configuration document onto the keypad as the editor's Open does while connected.
    // requests counts what was sent; read tells whether the document was read whole.
    bool restore(const QByteArray& contents, int* requests, MSPDocument::ReadResult* read);
    // What restore(contents) would change on the keypad, read and worked out without sending
    // anything that changes it: one line per difference, none when it holds the document already.
    bool previewRestore(const QByteArray& contents, QStringList* differences);
    // Sends the configuration model as the System Configuration form's Save does; with
    // withBrightness the brightness goes along.
    bool sendConfiguration(bool withBrightness);
    // Makes scene index (0-7) the active one, as the control panel's scene key does.
    bool selectScene(int index);
    // Presses up, down or on/off as the control panel does; sent tells whether the press went out
    // (at a brightness limit it does not).
    bool press(MSPKeyPress::Key key, bool* sent);

    QString address() const { return m_address; }
    // The keypad's name as open() read it.
    QString name() const { return m_name; }
    QString error() const { return m_error; }

signals:
    void requestSent(const QString& method, const QString& path);

private:
    bool settle(const QString& what);
    bool fail(const QString& message);
    void handleReply(QNetworkReply* reply);

    QString m_address;
    QString m_name;
    QString m_error;
    QString m_replyError;
    bool m_replyFailed = false;
};

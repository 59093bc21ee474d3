#include "KeypadSimulator.h"

#include "TestEnvironment.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalSocket>

#include <algorithm>

namespace {

constexpr int StartTimeoutMs = 20000;
constexpr int ReplyTimeoutMs = 10000;

// Reads one of the simulator's quoted texts from @p text at @p pos, undoing its escapes, and
// moves @p pos past it and the blank after it.
QByteArray takeQuoted(const QByteArray& text, int& pos) {
    QByteArray out;
    if (pos >= text.size() || text.at(pos) != '"')
        return out;
    for (++pos; pos < text.size(); ++pos) {
        const char c = text.at(pos);
        if (c == '"') {
            pos += 2;
            break;
        }
        if (c != '\\' || pos + 1 >= text.size()) {
            out += c;
            continue;
        }
        const char e = text.at(++pos);
        if (e == 'n') {
            out += '\n';
        } else if (e == 'r') {
            out += '\r';
        } else if (e == 't') {
            out += '\t';
        } else if (e == 'x' && pos + 2 < text.size()) {
            out += static_cast<char>(text.mid(pos + 1, 2).toInt(nullptr, 16));
            pos += 2;
        } else {
            out += e;
        }
    }
    return out;
}

} // namespace

KeypadSimulator::KeypadSimulator(QObject* parent)
    : QObject(parent) {
    m_clock.start();
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &KeypadSimulator::readOutput);
    connect(&m_process, &QProcess::readyReadStandardError, this, &KeypadSimulator::readErrors);
}

KeypadSimulator::~KeypadSimulator() {
    stop();
}

bool KeypadSimulator::start(const Options& options) {
    stop();
    if (!TestSupport::insideNetworkNamespace()) {
        qWarning() << "the keypad simulator runs only inside scripts/netns-run";
        return false;
    }
    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid()) {
        qWarning() << "no temporary directory for the simulator's control socket";
        return false;
    }
    const QString socketPath = m_dir->filePath(QStringLiteral("control"));
    QStringList arguments{options.address,
                          TestSupport::binDir() + QStringLiteral("/lumetto-keypad-sim"),
                          QStringLiteral("--address"),
                          options.address,
                          QStringLiteral("--name"),
                          options.name,
                          QStringLiteral("--heartbeat-ms"),
                          QString::number(options.heartbeatMs),
                          QStringLiteral("--control"),
                          socketPath,
                          QStringLiteral("--exit-with-control")};
    auto optional = [&arguments](const char* option, const QString& value) {
        if (!value.isEmpty())
            arguments << QString::fromLatin1(option) << value;
    };
    optional("--mac", options.mac);
    optional("--firmware", options.version);
    optional("--serial", options.serial);
    optional("--editor", options.editor);
    optional("--part-number", options.partNumber);
    if (options.rebootMs >= 0)
        optional("--reboot-ms", QString::number(options.rebootMs));
    arguments << options.extraArguments;

    m_ready = false;
    m_requests.clear();
    m_events.clear();
    m_process.start(TestSupport::sourceDir() + QStringLiteral("/scripts/nshost"), arguments);
    if (!m_process.waitForStarted(StartTimeoutMs)) {
        qWarning() << "cannot start scripts/nshost:" << m_process.errorString();
        return false;
    }
    const QDeadlineTimer deadline(StartTimeoutMs);
    while (!m_ready && m_process.state() == QProcess::Running && !deadline.hasExpired())
        m_process.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    readOutput();
    if (!m_ready) {
        readErrors();
        qWarning() << "keypad simulator at" << options.address << "did not become ready";
        stop();
        return false;
    }
    m_control = new QLocalSocket(this);
    m_control->connectToServer(socketPath);
    if (!m_control->waitForConnected(ReplyTimeoutMs)) {
        qWarning() << "cannot reach the simulator's control socket:" << m_control->errorString();
        stop();
        return false;
    }
    return true;
}

bool KeypadSimulator::start() {
    return start(Options());
}

void KeypadSimulator::stop() {
    if (m_process.state() != QProcess::NotRunning) {
        if (m_control && m_control->state() == QLocalSocket::ConnectedState)
            command("quit");
        if (!m_process.waitForFinished(10000)) {
            qWarning() << "keypad simulator did not quit; terminating it";
            m_process.terminate();
            if (!m_process.waitForFinished(5000))
                m_process.kill();
            m_process.waitForFinished(5000);
        }
        readOutput();
        readErrors();
    }
    delete m_control;
    m_control = nullptr;
    m_ready = false;
    m_dir.reset();
}

void KeypadSimulator::kill() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    // nshost passes SIGTERM on to the simulator, which ends at once.
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    stop();
}

bool KeypadSimulator::isRunning() const {
    return m_ready && m_process.state() == QProcess::Running;
}

QByteArray KeypadSimulator::macBytes() const {
    QString hex = m_mac;
    hex.remove(QLatin1Char(':'));
    return QByteArray::fromHex(hex.toLatin1());
}

void KeypadSimulator::readOutput() {
    while (m_process.canReadLine())
        takeLine(m_process.readLine().trimmed());
}

void KeypadSimulator::readErrors() {
    const QByteArray text = m_process.readAllStandardError();
    for (const QByteArray& line : text.split('\n'))
        if (!line.trimmed().isEmpty())
            qDebug().noquote() << "[sim" << m_address << "]" << QString::fromLocal8Bit(line);
}

void KeypadSimulator::takeLine(const QByteArray& line) {
    if (line.startsWith("request ")) {
        // request PEER METHOD PATH "BODY" "CONTENT-TYPE"
        const QList<QByteArray> head = line.split(' ');
        if (head.size() < 6)
            return;
        int pos = head.at(0).size() + head.at(1).size() + head.at(2).size() + head.at(3).size() + 4;
        Request request{QString::fromLatin1(head.at(1)),
                        QString::fromLatin1(head.at(2)),
                        QString::fromLatin1(head.at(3)),
                        takeQuoted(line, pos),
                        {},
                        m_clock.elapsed()};
        request.contentType = takeQuoted(line, pos);
        m_requests.append(request);
        emit requestReceived(request);
    } else if (line.startsWith("event ")) {
        const QString event = QString::fromUtf8(line.mid(6));
        m_events.append(event);
        if (event.startsWith(QLatin1String("moved ")))
            m_address = event.mid(6);
        emit eventReported(event);
    } else if (line.startsWith("ready ")) {
        const QList<QByteArray> parts = line.split(' ');
        m_address = QString::fromLatin1(parts.value(1));
        m_mac = QString::fromLatin1(parts.value(2));
        m_ready = true;
    } else if (!line.isEmpty()) {
        qDebug().noquote() << "[sim" << m_address << "]" << QString::fromLocal8Bit(line);
    }
}

QByteArray KeypadSimulator::command(const QByteArray& line) {
    if (!m_control || m_control->state() != QLocalSocket::ConnectedState) {
        qWarning() << "keypad simulator is not running; command" << line << "not sent";
        return {};
    }
    m_control->write(line + '\n');
    m_control->flush();
    const QDeadlineTimer deadline(ReplyTimeoutMs);
    while (!m_control->canReadLine() && !deadline.hasExpired())
        if (!m_control->waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime()))))
            break;
    if (!m_control->canReadLine()) {
        qWarning() << "keypad simulator did not answer" << line;
        return {};
    }
    return m_control->readLine().trimmed();
}

bool KeypadSimulator::expectOk(const QByteArray& line) {
    const QByteArray reply = command(line);
    if (reply == "ok" || reply.startsWith("ok "))
        return true;
    qWarning() << "keypad simulator refused" << line << ":" << reply;
    return false;
}

bool KeypadSimulator::press(int scene) {
    return expectOk("press " + QByteArray::number(scene));
}

bool KeypadSimulator::pressUp() {
    return expectOk("press up");
}

bool KeypadSimulator::pressDown() {
    return expectOk("press down");
}

bool KeypadSimulator::pressOnOff() {
    return expectOk("press onoff");
}

bool KeypadSimulator::setHeartbeats(bool on) {
    return expectOk(on ? "heartbeats on" : "heartbeats off");
}

bool KeypadSimulator::setRefusing(bool on) {
    return expectOk(on ? "refuse on" : "refuse off");
}

bool KeypadSimulator::setHanging(bool on) {
    return expectOk(on ? "hang on" : "hang off");
}

bool KeypadSimulator::stall(int msec) {
    return expectOk(msec < 0 ? QByteArray("stall on") : "stall " + QByteArray::number(msec));
}

bool KeypadSimulator::endStall() {
    return expectOk("stall off");
}

bool KeypadSimulator::setDelay(int msec) {
    return expectOk("delay " + QByteArray::number(msec));
}

bool KeypadSimulator::silence(int msec) {
    return expectOk("silence " + QByteArray::number(msec));
}

bool KeypadSimulator::setScene(int scene, const QByteArray& body) {
    return expectOk("scene " + QByteArray::number(scene) + ' ' + body);
}

bool KeypadSimulator::setConfig(const QByteArray& body) {
    return expectOk("config " + body);
}

QJsonObject KeypadSimulator::state() {
    const QByteArray reply = command("state");
    if (!reply.startsWith("state "))
        return {};
    return QJsonDocument::fromJson(reply.mid(6)).object();
}

int KeypadSimulator::activeScene() {
    return state().value(QStringLiteral("active")).toInt();
}

QString KeypadSimulator::liveQuery(int scene) {
    return state()
        .value(QStringLiteral("live"))
        .toArray()
        .at(scene - 1)
        .toObject()
        .value(QStringLiteral("query"))
        .toString();
}

QString KeypadSimulator::savedQuery(int scene) {
    return state()
        .value(QStringLiteral("saved"))
        .toArray()
        .at(scene - 1)
        .toObject()
        .value(QStringLiteral("query"))
        .toString();
}

QList<KeypadSimulator::Request> KeypadSimulator::requests(const QString& method, const QString& path) const {
    QList<Request> matching;
    for (const Request& request : m_requests)
        if (request.method == method && request.path == path)
            matching.append(request);
    return matching;
}

int KeypadSimulator::requestCount(const QString& method, const QString& path) const {
    return requests(method, path).size();
}

bool KeypadSimulator::hasEvent(const QString& prefix) const {
    for (const QString& event : m_events)
        if (event.startsWith(prefix))
            return true;
    return false;
}

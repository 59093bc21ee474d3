#include "SimulatedKeypad.h"

#include "SceneLights.h"

#include <httplib.h>

#include <QCoreApplication>
#include <QDebug>
#include <QJsonDocument>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QProcess>
#include <QUdpSocket>

#include <algorithm>
#include <chrono>

namespace {

constexpr quint16 HeartbeatPort = 6038;
constexpr quint16 NoticePort = 6041;

// The keypad's datagram header; byte 6 is the kind: 1 scene, 2 heartbeat, 3 configuration.
QByteArray datagramHeader(quint8 kind) {
    return QByteArray::fromHex("0401dc4a0100") + char(kind) + char(0x03);
}

// Bodies are logged exactly, escaped so that one request stays one line.
QByteArray quoted(const QByteArray& bytes) {
    QByteArray out = "\"";
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (u < 0x20 || u >= 0x7F) {
            out += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0');
        } else {
            out += c;
        }
    }
    return out + '"';
}

// "/api/v1/shows/N" with N exactly 1 to 8; 0 otherwise.
int sceneOfPath(const std::string& path) {
    const std::string prefix = "/api/v1/shows/";
    if (path.size() != prefix.size() + 1 || path.compare(0, prefix.size(), prefix) != 0)
        return 0;
    const char digit = path.back();
    return digit >= '1' && digit <= '8' ? digit - '0' : 0;
}

bool validHostAddress(quint32 ipv4) {
    const QHostAddress address(ipv4);
    return ipv4 != 0 && address != QHostAddress(QHostAddress::Broadcast) && !address.isLoopback() &&
           !address.isMulticast();
}

int run(const QString& program, const QStringList& arguments, QString* output) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(10000)) {
        *output = QStringLiteral("%1 did not finish").arg(program);
        return -1;
    }
    *output = QString::fromLocal8Bit(process.readAll()).trimmed();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

SimulatedKeypad::SimulatedKeypad(const Options& options, QObject* parent)
    : QObject(parent)
    , m_options(options)
    , m_address(options.address)
    , m_http([this](const httplib::Request& request, httplib::Response& response) { handleHttp(request, response); })
    , m_editor(options.editor)
    , m_configNotices(options.configNotices)
    , m_state(options.factory) {
    m_heartbeatTimer.setInterval(std::max(10, options.heartbeatMs));
    connect(&m_heartbeatTimer, &QTimer::timeout, this, &SimulatedKeypad::sendHeartbeat);
    m_stallTimer.setSingleShot(true);
    connect(&m_stallTimer, &QTimer::timeout, this, [this] { setHolding(false); });
    m_silenceTimer.setSingleShot(true);
    connect(&m_silenceTimer, &QTimer::timeout, this, [this] {
        m_silent = false;
        updateHttp();
        emit report("event awake");
    });
}

SimulatedKeypad::~SimulatedKeypad() {
    stopHttp();
}

bool SimulatedKeypad::start(QString* error) {
    m_discovery = new QUdpSocket(this);
    if (!m_discovery->bind(QHostAddress::AnyIPv4, DiscoveryPacket::KeypadPort, QUdpSocket::ShareAddress)) {
        *error = QStringLiteral("cannot bind the discovery port %1: %2")
                     .arg(DiscoveryPacket::KeypadPort)
                     .arg(m_discovery->errorString());
        return false;
    }
    connect(m_discovery, &QUdpSocket::readyRead, this, &SimulatedKeypad::readDiscovery);
    m_out = new QUdpSocket(this);
    if (!startHttp(error))
        return false;
    m_heartbeatTimer.start();
    return true;
}

bool SimulatedKeypad::startHttp(QString* error) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = false;
    }
    return m_http.start(m_address, m_options.httpPort, m_options.keepAliveSeconds, error);
}

void SimulatedKeypad::stopHttp() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    // Held and delayed requests must return before the server threads can end.
    m_wake.notify_all();
    m_http.stop();
}

void SimulatedKeypad::updateHttp() {
    const bool wanted = !m_refusing && !m_silent;
    if (wanted == m_http.isRunning())
        return;
    if (!wanted) {
        stopHttp();
        return;
    }
    QString error;
    if (!startHttp(&error))
        emit report("event error " + error.toUtf8());
}

void SimulatedKeypad::handleHttp(const httplib::Request& request, httplib::Response& response) {
    const QHostAddress peer(QString::fromStdString(request.remote_addr));
    const QByteArray body = QByteArray::fromStdString(request.body);
    const QByteArray line = "request " + peer.toString().toLatin1() + ' ' + QByteArray::fromStdString(request.method) +
                            ' ' + QByteArray::fromStdString(request.path) + ' ' + quoted(body) + ' ' +
                            quoted(QByteArray::fromStdString(request.get_header_value("Content-Type")));
    QMetaObject::invokeMethod(
        this,
        [this, line, peer] {
            emit report(line);
            talkedToBy(peer);
        },
        Qt::QueuedConnection);

    KeypadState::Outcome outcome;
    QByteArray reply;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        ++m_requests;
        // While held, and until the held ones have been answered, requests wait their turn.
        const bool queued = m_hanging || !m_held.empty();
        const quint64 ticket = m_nextTicket++;
        if (queued) {
            m_held.push_back(ticket);
            m_wake.wait(lock, [this, ticket] { return m_stopping || (!m_hanging && m_held.front() == ticket); });
        }
        if (m_delayMs > 0)
            m_wake.wait_for(lock, std::chrono::milliseconds(m_delayMs), [this] { return m_stopping; });
        if (m_stopping) {
            if (queued) {
                m_held.erase(std::find(m_held.begin(), m_held.end(), ticket));
                m_wake.notify_all();
            }
            response.status = 503;
            return;
        }
        const int scene = sceneOfPath(request.path);
        const bool get = request.method == "GET", post = request.method == "POST";
        if (request.path == "/api/v1/shows" && get) {
            reply = m_state.showsXml();
        } else if (scene && get) {
            m_state.selectScene(scene);
            reply = m_state.sceneXml(scene);
        } else if (scene && post) {
            outcome = m_state.postScene(scene, body);
            if (outcome.ok)
                reply = m_state.sceneXml(scene);
        } else if (request.path == "/api/v1/config" && get) {
            reply = m_state.configXml();
        } else if (request.path == "/api/v1/config" && post) {
            outcome = m_state.postConfig(body);
            if (outcome.ok)
                reply = m_state.configXml();
        } else if (request.path == "/api/v1/shows" || scene || request.path == "/api/v1/config") {
            outcome.ok = false;
            outcome.status = 405;
            outcome.error = QStringLiteral("method not allowed");
        } else {
            outcome.ok = false;
            outcome.status = 404;
            outcome.error = QStringLiteral("no such resource");
        }
        if (queued) {
            m_held.pop_front();
            m_wake.notify_all();
        }
    }
    if (!outcome.ok) {
        response.status = outcome.status;
        response.set_content(outcome.error.toStdString() + "\n", "text/plain");
        QMetaObject::invokeMethod(
            this,
            [this, outcome] {
                emit report("event refused " + QByteArray::number(outcome.status) + ' ' + outcome.error.toUtf8());
            },
            Qt::QueuedConnection);
        return;
    }
    response.status = 200;
    response.set_content(reply.toStdString(), "text/xml");
    QMetaObject::invokeMethod(
        this,
        [this, outcome] {
            if (outcome.factoryReset) {
                emit report("event factory-reset");
                // Give the reply a moment to leave before the keypad "reboots".
                QTimer::singleShot(50, this, [this] { beSilent(m_options.rebootMs); });
                return;
            }
            if (outcome.configChanged && m_configNotices == ConfigNotices::All)
                sendConfigNotice();
            if (!outcome.newAddress.isEmpty()) {
                QString error;
                if (!moveTo(outcome.newAddress, -1, &error))
                    emit report("event error " + error.toUtf8());
            }
        },
        Qt::QueuedConnection);
}

void SimulatedKeypad::talkedToBy(const QHostAddress& editor) {
    if (editor.isNull() || editor == m_editor)
        return;
    m_editor = editor;
    emit report("event editor " + editor.toString().toLatin1());
}

void SimulatedKeypad::readDiscovery() {
    while (m_discovery->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_discovery->receiveDatagram();
        if (m_silent)
            continue;
        DiscoveryPacket packet;
        QString error;
        if (!DiscoveryPacket::decode(datagram.data(), packet, &error)) {
            emit report("event discovery-dropped " + error.toUtf8());
            continue;
        }
        const QHostAddress sender(datagram.senderAddress().toIPv4Address());
        const quint16 port = static_cast<quint16>(datagram.senderPort());
        if (packet.type == DiscoveryPacket::Type::DiscoverRequest)
            answerDiscover(packet, sender, port);
        else if (packet.type == DiscoveryPacket::Type::SetAddressRequest)
            answerSetAddress(packet, sender, port);
    }
}

void SimulatedKeypad::answerDiscover(const DiscoveryPacket& request, const QHostAddress& sender, quint16 port) {
    DiscoveryPacket reply;
    reply.type = DiscoveryPacket::Type::DiscoverReply;
    reply.sequence = request.sequence;
    reply.mac = m_options.mac;
    reply.ipv4 = QHostAddress(m_address).toIPv4Address();
    reply.serial = m_options.serial;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const KeypadConfig& config = m_state.config();
        reply.firmware = DiscoveryPacket::packFirmware(config.version);
        reply.universe = static_cast<quint32>(config.universe);
        reply.versionText =
            "Product:Lumetto Keypad\nHardware:HW-004113-02\nSoftware:" + m_options.partNumber.toLatin1() +
            "\nFirmware:" + config.version.toLatin1();
        reply.name = config.name.toLatin1();
    }
    const QByteArray datagram = reply.encode();
    if (datagram.isEmpty()) {
        emit report("event error discovery reply does not fit");
        return;
    }
    m_discovery->writeDatagram(datagram, sender, port);
    emit report("event discover " + sender.toString().toLatin1());
    talkedToBy(sender);
}

void SimulatedKeypad::answerSetAddress(const DiscoveryPacket& request, const QHostAddress& sender, quint16 port) {
    if (request.mac != m_options.mac)
        return;
    DiscoveryPacket reply;
    reply.type = DiscoveryPacket::Type::SetAddressReply;
    reply.sequence = request.sequence;
    reply.mac = m_options.mac;
    reply.ipv4 = QHostAddress(m_address).toIPv4Address();
    const QString target = QHostAddress(request.ipv4).toString();
    // A netmask of 0 keeps the current one; any other must be contiguous.
    int prefix = -1;
    if (request.netmask != 0) {
        prefix = 0;
        while (prefix < 32 && (request.netmask & (0x80000000u >> prefix)))
            ++prefix;
    }
    const bool contiguous = prefix < 0 || (prefix > 0 && request.netmask == ~0u << (32 - prefix));
    reply.status = validHostAddress(request.ipv4) && contiguous ? DiscoveryPacket::Status::Accepted
                                                                : DiscoveryPacket::Status::InvalidAddress;
    if (reply.status == DiscoveryPacket::Status::Accepted)
        reply.ipv4 = request.ipv4;
    m_discovery->writeDatagram(reply.encode(), sender, port);
    emit report("event set-address " + target.toLatin1() + " from " + sender.toString().toLatin1() +
                (reply.status == DiscoveryPacket::Status::Accepted ? "" : " refused"));
    talkedToBy(sender);
    if (reply.status != DiscoveryPacket::Status::Accepted)
        return;
    QString error;
    if (!moveTo(target, prefix, &error)) {
        emit report("event error " + error.toUtf8());
        return;
    }
}

bool SimulatedKeypad::moveTo(const QString& address, int newPrefix, QString* error) {
    if (address == m_address && newPrefix < 0)
        return true;
    const QHostAddress old(m_address);
    QString device;
    int prefix = -1;
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        for (const QNetworkAddressEntry& entry : iface.addressEntries()) {
            if (entry.ip() == old) {
                device = iface.name();
                prefix = entry.prefixLength();
            }
        }
    }
    if (device.isEmpty()) {
        *error = QStringLiteral("no interface holds %1").arg(m_address);
        return false;
    }
    const QString oldCidr = QStringLiteral("%1/%2").arg(m_address).arg(prefix);
    const QString newCidr = QStringLiteral("%1/%2").arg(address).arg(newPrefix < 0 ? prefix : newPrefix);
    stopHttp();
    // The old address goes first: removing a primary address takes its secondaries with it.
    QString output;
    if (run(QStringLiteral("ip"),
            {QStringLiteral("addr"), QStringLiteral("del"), oldCidr, QStringLiteral("dev"), device}, &output) != 0)
        qWarning() << "cannot remove" << oldCidr << output;
    if (run(QStringLiteral("ip"),
            {QStringLiteral("addr"), QStringLiteral("add"), newCidr, QStringLiteral("broadcast"), QStringLiteral("+"),
             QStringLiteral("dev"), device},
            &output) != 0) {
        *error = QStringLiteral("cannot add %1: %2").arg(newCidr, output);
        return false;
    }
    // Removing the last address flushed the routes of the interface.
    if (run(QStringLiteral("ip"),
            {QStringLiteral("route"), QStringLiteral("replace"), QStringLiteral("default"), QStringLiteral("dev"),
             device},
            &output) != 0)
        qWarning() << "cannot restore the default route:" << output;
    m_address = address;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_state.setAddress(address);
    }
    if (!m_refusing && !m_silent && !startHttp(error))
        return false;
    emit report("event moved " + address.toLatin1());
    return true;
}

void SimulatedKeypad::sendHeartbeat() {
    if (!m_heartbeats || m_silent || m_editor.isNull())
        return;
    QByteArray datagram = datagramHeader(2) + QByteArray(8, '\0');
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        datagram[13] = static_cast<char>(m_state.activeScene());
    }
    if (m_out->writeDatagram(datagram, m_editor, HeartbeatPort) == datagram.size())
        ++m_heartbeatsSent;
}

void SimulatedKeypad::sendNotice(const QByteArray& datagram, const QByteArray& what) {
    if (m_editor.isNull()) {
        emit report("event " + what + " unsent");
        return;
    }
    if (m_out->writeDatagram(datagram, m_editor, NoticePort) == datagram.size())
        ++m_noticesSent;
    emit report("event " + what + " to " + m_editor.toString().toLatin1());
}

void SimulatedKeypad::sendSceneNotice(int scene) {
    QByteArray datagram = datagramHeader(1) + QByteArray(8, '\0');
    datagram[13] = static_cast<char>(scene);
    sendNotice(datagram, "scene-notice " + QByteArray::number(scene));
}

void SimulatedKeypad::sendConfigNotice() {
    sendNotice(datagramHeader(3) + QByteArray(9, '\0'), "config-notice");
}

void SimulatedKeypad::setHolding(bool hold) {
    bool changed = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        changed = hold != m_hanging;
        m_hanging = hold;
    }
    if (!hold)
        m_stallTimer.stop();
    m_wake.notify_all();
    if (changed)
        emit report(hold ? "event stalled" : "event released");
}

void SimulatedKeypad::stall(int msec) {
    setHolding(true);
    if (msec >= 0)
        m_stallTimer.start(msec);
    else
        m_stallTimer.stop();
}

void SimulatedKeypad::beSilent(int msec) {
    m_silent = true;
    updateHttp();
    emit report("event silent " + QByteArray::number(msec));
    m_silenceTimer.start(std::max(0, msec));
}

QByteArray SimulatedKeypad::press(const QByteArray& button) {
    bool changed = false;
    int scene = 0;
    bool sceneButton = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const KeypadConfig& config = m_state.config();
        bool isNumber = false;
        scene = button.toInt(&isNumber);
        if (isNumber) {
            if (scene < 1 || scene > KeypadState::SceneCount)
                return "error scene must be 1 to 8";
            sceneButton = true;
            if (!config.switches[static_cast<size_t>(scene - 1)])
                return "ok disabled";
            changed = m_state.pressScene(scene);
        } else if (button == "up" || button == "down" || button == "onoff") {
            const size_t index = button == "onoff" ? 8 : button == "up" ? 9 : 10;
            if (!config.switches[index])
                return "ok disabled";
            changed = button == "onoff" ? m_state.pressOnOff()
                      : button == "up"  ? m_state.pressUp()
                                        : m_state.pressDown();
        } else {
            return "error press takes 1-8, up, down or onoff";
        }
    }
    if (!changed)
        return "ok unchanged";
    if (m_silent)
        return "ok changed";
    if (sceneButton)
        sendSceneNotice(scene);
    else if (m_configNotices != ConfigNotices::None)
        sendConfigNotice();
    return "ok changed";
}

bool SimulatedKeypad::parseConfigNotices(const QByteArray& text, ConfigNotices& mode) {
    if (text == "all")
        mode = ConfigNotices::All;
    else if (text == "buttons")
        mode = ConfigNotices::Buttons;
    else if (text == "none")
        mode = ConfigNotices::None;
    else
        return false;
    return true;
}

QByteArray SimulatedKeypad::stateLine() {
    QJsonObject state;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        state = m_state.toJson();
        state.insert(QStringLiteral("hanging"), m_hanging);
        state.insert(QStringLiteral("held"), static_cast<int>(m_held.size()));
        state.insert(QStringLiteral("delayMs"), m_delayMs);
        state.insert(QStringLiteral("requests"), m_requests);
    }
    state.insert(QStringLiteral("address"), m_address);
    state.insert(QStringLiteral("mac"), DiscoveryPacket::macText(m_options.mac));
    state.insert(QStringLiteral("serial"), static_cast<qint64>(m_options.serial));
    state.insert(QStringLiteral("editor"), m_editor.isNull() ? QString() : m_editor.toString());
    state.insert(QStringLiteral("heartbeats"), m_heartbeats);
    state.insert(QStringLiteral("heartbeatsSent"), m_heartbeatsSent);
    state.insert(QStringLiteral("noticesSent"), m_noticesSent);
    state.insert(QStringLiteral("refusing"), m_refusing);
    state.insert(QStringLiteral("silent"), m_silent);
    return "state " + QJsonDocument(state).toJson(QJsonDocument::Compact);
}

QByteArray SimulatedKeypad::command(const QByteArray& line) {
    const QByteArray trimmed = line.trimmed();
    const int space = trimmed.indexOf(' ');
    const QByteArray verb = space < 0 ? trimmed : trimmed.left(space);
    const QByteArray argument = space < 0 ? QByteArray() : trimmed.mid(space + 1).trimmed();
    auto onOff = [&argument](bool& flag) {
        if (argument != "on" && argument != "off")
            return false;
        flag = argument == "on";
        return true;
    };

    if (verb == "press")
        return press(argument);
    if (verb == "state")
        return stateLine();
    if (verb == "lights") {
        std::lock_guard<std::mutex> lock(m_mutex);
        return SceneLights::reply(m_state, argument);
    }
    if (verb == "heartbeats") {
        return onOff(m_heartbeats) ? QByteArray("ok") : QByteArray("error heartbeats on|off");
    }
    if (verb == "refuse") {
        if (!onOff(m_refusing))
            return "error refuse on|off";
        updateHttp();
        return "ok";
    }
    if (verb == "hang") {
        bool hang = false;
        if (!onOff(hang))
            return "error hang on|off";
        hang ? stall(-1) : setHolding(false);
        return "ok";
    }
    if (verb == "stall") {
        // A busy keypad: connections are taken and nothing is answered until it recovers, after MS
        // milliseconds or at "stall off"; heartbeats go on.
        if (argument == "off" || argument == "on") {
            argument == "on" ? stall(-1) : setHolding(false);
            return "ok";
        }
        bool ok = false;
        const int msec = argument.toInt(&ok);
        if (!ok || msec < 0)
            return "error stall MILLISECONDS|on|off";
        stall(msec);
        return "ok";
    }
    if (verb == "delay") {
        bool ok = false;
        const int msec = argument.toInt(&ok);
        if (!ok || msec < 0)
            return "error delay MILLISECONDS";
        std::lock_guard<std::mutex> lock(m_mutex);
        m_delayMs = msec;
        return "ok";
    }
    if (verb == "silence") {
        bool ok = false;
        const int msec = argument.toInt(&ok);
        if (!ok || msec < 0)
            return "error silence MILLISECONDS";
        beSilent(msec);
        return "ok";
    }
    if (verb == "config-notices")
        return parseConfigNotices(argument, m_configNotices) ? QByteArray("ok")
                                                             : QByteArray("error config-notices all|buttons|none");
    if (verb == "editor") {
        const QHostAddress editor(QString::fromLatin1(argument));
        if (editor.protocol() != QAbstractSocket::IPv4Protocol)
            return "error editor IPV4-ADDRESS";
        talkedToBy(editor);
        return "ok";
    }
    if (verb == "scene") {
        // Test set-up: "scene N BODY" stores an edit body as saved and live state.
        const int bodyStart = argument.indexOf(' ');
        bool ok = false;
        const int scene = argument.left(bodyStart).toInt(&ok);
        if (!ok || bodyStart < 0)
            return "error scene N BODY";
        std::lock_guard<std::mutex> lock(m_mutex);
        const KeypadState::Outcome outcome = m_state.postScene(scene, argument.mid(bodyStart + 1) + "&apply=1");
        return outcome.ok ? QByteArray("ok") : "error " + outcome.error.toUtf8();
    }
    if (verb == "config") {
        // Test set-up: a configuration body taken as if posted, without notices.
        if (argument.contains("ip=") || argument.contains("factory_reset="))
            return "error config takes no ip or factory_reset";
        std::lock_guard<std::mutex> lock(m_mutex);
        const KeypadState::Outcome outcome = m_state.postConfig(argument);
        return outcome.ok ? QByteArray("ok") : "error " + outcome.error.toUtf8();
    }
    if (verb == "quit") {
        QMetaObject::invokeMethod(this, &SimulatedKeypad::quitRequested, Qt::QueuedConnection);
        return "ok";
    }
    if (verb == "help")
        return "ok press 1-8|up|down|onoff; heartbeats on|off; refuse on|off; hang on|off; stall MS|on|off; delay MS; "
               "silence MS; "
               "config-notices all|buttons|none; editor ADDRESS; scene N BODY; config BODY; state; lights [SECONDS]; "
               "quit";
    return "error unknown command " + verb;
}

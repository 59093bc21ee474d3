// lumetto-keypad-sim: a stand-in for the wall keypad, for tests and demonstrations. Run it only
// inside a private network namespace (scripts/netns-run, scripts/nshost).
#include "ControlChannel.h"
#include "ProgramVersion.h"
#include "SimulatedKeypad.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>
#include <QRegularExpression>

#include <cstdio>

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "lumetto-keypad-sim: %s\n", qPrintable(message));
    return 2;
}

// "--version X.Y.Z" once set the firmware version; it is "--firmware" now, and "--version" alone
// answers with the program's version. Scripts written for the old spelling keep working.
QStringList withFirmwareSpelling(QStringList arguments) {
    const QRegularExpression firmware(QStringLiteral("^\\d+\\.\\d+\\.\\d+$"));
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--"))
            break;
        if (arguments.at(i).startsWith(QLatin1String("--version=")))
            arguments[i].replace(0, int(qstrlen("--version")), QStringLiteral("--firmware"));
        else if (arguments.at(i) == QLatin1String("--version") && i + 1 < arguments.size() &&
                 firmware.match(arguments.at(i + 1)).hasMatch())
            arguments[i] = QStringLiteral("--firmware");
    }
    return arguments;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumetto-keypad-sim"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(ProgramVersion::text));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated keypad: HTTP on port 80 of ADDRESS, discovery, heartbeats and notices. Control commands on stdin, "
        "one per line (\"help\" lists them)."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption address(QStringLiteral("address"), QStringLiteral("IPv4 address to serve on."),
                                     QStringLiteral("ADDRESS"));
    const QCommandLineOption name(QStringLiteral("name"), QStringLiteral("Keypad name."), QStringLiteral("NAME"),
                                  QStringLiteral("Keypad"));
    const QCommandLineOption mac(QStringLiteral("mac"), QStringLiteral("Hardware address (default from ADDRESS)."),
                                 QStringLiteral("MAC"));
    const QCommandLineOption version(QStringLiteral("firmware"), QStringLiteral("Firmware version."),
                                     QStringLiteral("X.Y.Z"), QStringLiteral("1.3.2"));
    const QCommandLineOption serial(QStringLiteral("serial"), QStringLiteral("Serial number (default from ADDRESS)."),
                                    QStringLiteral("N"));
    const QCommandLineOption heartbeat(QStringLiteral("heartbeat-ms"), QStringLiteral("Heartbeat period."),
                                       QStringLiteral("MS"), QStringLiteral("500"));
    const QCommandLineOption reboot(QStringLiteral("reboot-ms"),
                                    QStringLiteral("How long a factory reset keeps the keypad silent."),
                                    QStringLiteral("MS"), QStringLiteral("3000"));
    const QCommandLineOption editor(QStringLiteral("editor"),
                                    QStringLiteral("Send heartbeats and notices here before any editor talks to us."),
                                    QStringLiteral("ADDRESS"));
    const QCommandLineOption port(QStringLiteral("http-port"), QStringLiteral("HTTP port."), QStringLiteral("PORT"),
                                  QStringLiteral("80"));
    const QCommandLineOption partNumber(QStringLiteral("part-number"),
                                        QStringLiteral("Software part number reported by discovery."),
                                        QStringLiteral("TEXT"), QStringLiteral("SFT-009251-00"));
    const QCommandLineOption control(QStringLiteral("control"),
                                     QStringLiteral("Also take control commands on this Unix socket."),
                                     QStringLiteral("PATH"));
    const QCommandLineOption configNotices(
        QStringLiteral("config-notices"),
        QStringLiteral("Which configuration changes send a notice: all, buttons (presses only) or none."),
        QStringLiteral("WHICH"), QStringLiteral("all"));
    const QCommandLineOption keepAlive(
        QStringLiteral("keep-alive-s"),
        QStringLiteral("Keep HTTP connections open this many seconds (0: one request per connection)."),
        QStringLiteral("S"), QStringLiteral("0"));
    const QCommandLineOption exitWithControl(
        QStringLiteral("exit-with-control"),
        QStringLiteral("Quit when the last control socket client disconnects (so a crashed test leaves nothing)."));
    parser.addOptions({address, name, mac, version, serial, heartbeat, reboot, editor, port, partNumber, control,
                       configNotices, keepAlive, exitWithControl});
    parser.process(withFirmwareSpelling(app.arguments()));

    SimulatedKeypad::Options options;
    const QHostAddress host(parser.value(address));
    if (host.protocol() != QAbstractSocket::IPv4Protocol)
        return fail(QStringLiteral("--address needs an IPv4 address"));
    options.address = host.toString();
    const quint32 ipv4 = host.toIPv4Address();
    if (parser.isSet(mac)) {
        if (!DiscoveryPacket::parseMac(parser.value(mac), options.mac))
            return fail(QStringLiteral("--mac needs six hex pairs"));
    } else {
        // Locally administered, unique per address.
        options.mac = {{0x02, 0x4C, 0x4D, 0x00, static_cast<quint8>(ipv4 >> 8), static_cast<quint8>(ipv4)}};
    }
    bool ok = true;
    options.serial = parser.isSet(serial) ? parser.value(serial).toUInt(&ok) : 100000 + (ipv4 & 0xFFFF);
    if (!ok)
        return fail(QStringLiteral("--serial needs a number"));
    options.heartbeatMs = parser.value(heartbeat).toInt(&ok);
    if (!ok || options.heartbeatMs <= 0)
        return fail(QStringLiteral("--heartbeat-ms needs a positive number"));
    options.rebootMs = parser.value(reboot).toInt(&ok);
    if (!ok || options.rebootMs < 0)
        return fail(QStringLiteral("--reboot-ms needs a number"));
    options.keepAliveSeconds = parser.value(keepAlive).toInt(&ok);
    if (!ok || options.keepAliveSeconds < 0)
        return fail(QStringLiteral("--keep-alive-s needs a number"));
    const uint httpPort = parser.value(port).toUInt(&ok);
    if (!ok || httpPort == 0 || httpPort > 65535)
        return fail(QStringLiteral("--http-port needs a port number"));
    options.httpPort = static_cast<quint16>(httpPort);
    if (parser.isSet(editor)) {
        options.editor = QHostAddress(parser.value(editor));
        if (options.editor.protocol() != QAbstractSocket::IPv4Protocol)
            return fail(QStringLiteral("--editor needs an IPv4 address"));
    }
    options.partNumber = parser.value(partNumber);
    if (!SimulatedKeypad::parseConfigNotices(parser.value(configNotices).toLatin1(), options.configNotices))
        return fail(QStringLiteral("--config-notices takes all, buttons or none"));
    if (DiscoveryPacket::packFirmware(parser.value(version)) == 0)
        return fail(QStringLiteral("--firmware needs MAJOR.MINOR.PATCH"));
    options.factory.name = parser.value(name);
    options.factory.ip = options.address;
    options.factory.version = parser.value(version);

    SimulatedKeypad keypad(options);
    ControlChannel channel([&keypad](const QByteArray& line) { return keypad.command(line); });
    QObject::connect(&keypad, &SimulatedKeypad::report, &channel, &ControlChannel::broadcast);
    QObject::connect(&keypad, &SimulatedKeypad::quitRequested, &app, &QCoreApplication::quit);
    QObject::connect(&channel, &ControlChannel::stdinClosed, &app, &QCoreApplication::quit);
    if (parser.isSet(exitWithControl))
        QObject::connect(&channel, &ControlChannel::lastClientGone, &app, &QCoreApplication::quit);

    QString error;
    if (!keypad.start(&error))
        return fail(error);
    if (parser.isSet(control) && !channel.listen(parser.value(control), &error))
        return fail(error);
    channel.readStdin();
    ControlChannel::writeStdout("ready " + options.address.toLatin1() + ' ' +
                                DiscoveryPacket::macText(options.mac).toLatin1());
    return app.exec();
}

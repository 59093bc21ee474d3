#include "KeypadCli.h"

#include "BackupPlan.h"
#include "CliHelp.h"
#include "CommMessageBox.h"
#include "CommandLine.h"
#include "ConfigurationAssignments.h"
#include "Discoverer.h"
#include "FleetReport.h"
#include "FrameCommand.h"
#include "KeypadSession.h"
#include "MSPDescription.h"
#include "MSPDocument.h"
#include "MSPDocumentComparison.h"
#include "MSPDocumentFile.h"
#include "MSPSceneModel.h"
#include "ProgramVersion.h"
#include "SystemConfiguration.h"
#include "SystemConfigurationCheck.h"

#include <QDir>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <cstdio>

namespace {

const QString ProgramName = QStringLiteral("lumetto-keypad-cli");
constexpr int DefaultDiscoveryMs = 500;
const QString Arrow = QStringLiteral(" \u2192 ");

// The shared code's log stays out of a script's way unless asked for: every failure the tool
// knows of ends in its own one-line message.
void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    static const bool verbose = qEnvironmentVariableIsSet("LUMETTO_CLI_VERBOSE");
    if ((type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg) && !verbose)
        return;
    if (verbose && context.file)
        fprintf(stderr, "%s:%d: %s\n", context.file, context.line, qPrintable(message));
    else
        fprintf(stderr, "%s\n", qPrintable(message));
}

QString macText(const QByteArray& mac) {
    return QString::fromLatin1(mac.toHex(':'));
}

// A keypad is named by its dotted address; a file named like one is written ./10.0.0.5.
bool isAddress(const QString& operand) {
    static const QRegularExpression dotted(QStringLiteral("^\\d{1,3}(\\.\\d{1,3}){3}$"));
    return dotted.match(operand).hasMatch();
}

QString keypadText(const QString& address, const QString& name) {
    return name.isEmpty() ? QStringLiteral("keypad at %1").arg(address)
                          : QStringLiteral("keypad \"%1\" at %2").arg(name, address);
}

// "universe 3 → 4; scene 3 button enabled → disabled"
QString changeText(const MSPDocumentComparison& comparison) {
    QStringList changes;
    for (const MSPDocumentComparison::Difference& d : comparison.differences())
        changes << d.label + QLatin1Char(' ') + d.beforeText + Arrow + d.afterText;
    return changes.join(QStringLiteral("; "));
}

QString fieldText(const MSPDescription::Fields& fields, const QString& key) {
    for (const MSPDescription::Field& field : fields) {
        if (field.key == key)
            return field.text();
    }
    return QString();
}

} // namespace

KeypadCli::KeypadCli()
    : m_out(stdout)
    , m_err(stderr) {
    // Names and the comparison's arrows read the same whatever the locale says.
    m_out.setCodec("UTF-8");
    m_err.setCodec("UTF-8");
    qInstallMessageHandler(messageHandler);
    CommMessageBox::setHandler([this](const QString& title, const QString& text) {
        m_err << ProgramName << ": " << title << ": " << text << Qt::endl;
    });
}

KeypadCli::~KeypadCli() = default;

int KeypadCli::run(const QStringList& arguments) {
    if (arguments.isEmpty())
        return usage();
    const QString command = arguments.first();
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        m_out << CliHelp::usage();
        return Success;
    }
    if ((command == QLatin1String("--version") || command == QLatin1String("-v")) && rest.isEmpty()) {
        m_out << ProgramName << ' ' << ProgramVersion::text << Qt::endl;
        return Success;
    }
    if (rest.contains(QStringLiteral("--help")) || rest.contains(QStringLiteral("-h"))) {
        const QString help = CliHelp::command(command);
        if (help.isEmpty())
            return usage();
        m_out << help;
        return Success;
    }
    if (command == QLatin1String("discover"))
        return discover(rest);
    if (command == QLatin1String("backup"))
        return backup(rest);
    if (command == QLatin1String("restore"))
        return restore(rest);
    if (command == QLatin1String("diff"))
        return diff(rest);
    if (command == QLatin1String("set"))
        return set(rest);
    if (command == QLatin1String("press"))
        return press(rest);
    if (command == QLatin1String("render"))
        return render(rest);
    if (command == QLatin1String("show"))
        return show(rest);
    return usage();
}

int KeypadCli::usage() {
    m_err << CliHelp::usage();
    m_err.flush();
    return UsageError;
}

int KeypadCli::fail(ExitCode code, const QString& message) {
    m_err << ProgramName << ": " << message << Qt::endl;
    return code;
}

void KeypadCli::progress(const QString& message) {
    m_err << message << Qt::endl;
}

KeypadSession* KeypadCli::session() {
    if (!m_session)
        m_session = std::make_unique<KeypadSession>();
    return m_session.get();
}

QList<DiscoveredDevice> KeypadCli::discoverDevices(int timeout) {
    Discoverer* discoverer = Discoverer::instance();
    QEventLoop loop;
    connect(discoverer, &Discoverer::reachedDiscoverTimeLimit, &loop, &QEventLoop::quit);
    const int timerId = discoverer->startDiscovery(timeout);
    loop.exec();
    discoverer->killTimer(timerId);
    return discoverer->devices();
}

int KeypadCli::discover(const QStringList& arguments) {
    const CommandLine line(arguments, {QStringLiteral("--json")}, {QStringLiteral("--timeout")});
    if (!line.error().isEmpty())
        return fail(UsageError, line.error());
    if (!line.words().isEmpty())
        return usage();
    const int timeout = line.timeout(DefaultDiscoveryMs);
    if (timeout < 0)
        return fail(UsageError, QStringLiteral("--timeout needs a positive number of milliseconds"));
    const bool json = line.has(QStringLiteral("--json"));

    const QList<DiscoveredDevice> devices = discoverDevices(timeout);
    if (json) {
        QJsonArray list;
        for (const DiscoveredDevice& device : devices) {
            list.append(QJsonObject{{"name", device.name()},
                                    {"address", device.address()},
                                    {"mac", macText(device.mac())},
                                    {"firmware", device.firmware()},
                                    {"hardware", device.hardware()},
                                    {"product", device.product()},
                                    {"serialNumber", qint64(device.serialNumber())},
                                    {"universe", qint64(device.universe())}});
        }
        m_out << QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Indented));
    } else {
        for (const DiscoveredDevice& device : devices)
            m_out << device.name() << '\t' << device.address() << '\t' << macText(device.mac()) << '\n';
    }
    m_out.flush();
    if (devices.isEmpty())
        return fail(KeypadError, QStringLiteral("no keypad answered within %1 ms").arg(timeout));
    return Success;
}

QString KeypadCli::writeFile(const QString& fileName, const QByteArray& contents) {
    // The old file stays untouched unless the new one is complete.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() || !file.flush() || !file.commit())
        return QStringLiteral("cannot write %1: %2").arg(fileName, file.errorString());
    return QString();
}

int KeypadCli::readKeypad(const QString& address, const QByteArray& mac, QByteArray* document) {
    KeypadSession* keypad = session();
    if (!keypad->open(address, mac) || !keypad->readScenes())
        return KeypadError;
    *document = keypad->document();
    return Success;
}

int KeypadCli::backup(const QStringList& arguments) {
    const CommandLine line(arguments, {QStringLiteral("--all")}, {QStringLiteral("--timeout")});
    if (!line.error().isEmpty())
        return fail(UsageError, line.error());
    const QStringList words = line.words();
    if (line.has(QStringLiteral("--all"))) {
        if (words.size() != 1)
            return usage();
        const int timeout = line.timeout(DefaultDiscoveryMs);
        if (timeout < 0)
            return fail(UsageError, QStringLiteral("--timeout needs a positive number of milliseconds"));
        return backupAll(words.first(), timeout);
    }
    if (words.size() != 2 || line.hasValue(QStringLiteral("--timeout")))
        return usage();

    const QString& address = words.at(0);
    const QString& fileName = words.at(1);
    const QString problem = KeypadSession::addressProblem(address);
    if (!problem.isEmpty())
        return fail(AddressError, problem);
    QByteArray document;
    if (readKeypad(address, QByteArray(), &document) != Success)
        return fail(KeypadError, session()->error());
    const QString error = writeFile(fileName, document);
    if (!error.isEmpty())
        return fail(FileError, error);
    progress(QStringLiteral("backed up keypad %1 to %2").arg(address, fileName));
    return Success;
}

int KeypadCli::backupAll(const QString& directory, int timeout) {
    QDir dir(directory);
    if (!dir.mkpath(QStringLiteral(".")))
        return fail(FileError, QStringLiteral("cannot make the folder %1").arg(directory));
    const QList<DiscoveredDevice> devices = discoverDevices(timeout);
    if (devices.isEmpty())
        return fail(KeypadError, QStringLiteral("no keypad answered within %1 ms").arg(timeout));

    FleetReport report(QStringLiteral("saved"));
    for (const BackupPlan::Item& item : BackupPlan::forDevices(devices)) {
        FleetReport::Entry entry{item.device.address(), item.device.name(), FleetReport::Outcome::Done, QString()};
        const QString fileName = dir.filePath(item.fileName);
        QByteArray document;
        QString error;
        if (readKeypad(item.device.address(), item.device.mac(), &document) != Success)
            error = session()->error();
        else
            error = writeFile(fileName, document);
        if (error.isEmpty()) {
            entry.detail = fileName;
        } else {
            entry.outcome = FleetReport::Outcome::Failed;
            entry.detail = error;
            fail(KeypadError, error);
        }
        report.add(entry);
        m_out << report.line(entry) << Qt::endl;
    }
    progress(report.summary());
    return report.exitCode();
}

bool KeypadCli::loadCheckedFile(const QString& fileName, QByteArray* contents, QString* error) {
    const MSPDocumentFile::Result file = MSPDocumentFile::load(fileName);
    const QString where = file.line > 0 ? QStringLiteral("%1:%2").arg(fileName).arg(file.line) : fileName;
    if (file.status == MSPDocumentFile::Status::NotOpened)
        *error = QStringLiteral("cannot read %1: %2").arg(fileName, file.problem);
    else if (!file.ok())
        *error = QStringLiteral("%1: %2").arg(where, file.problem);
    *contents = file.contents;
    return file.ok();
}

int KeypadCli::restore(const QStringList& arguments) {
    const QString dryRunFlag = QStringLiteral("--dry-run");
    const QString keepNameFlag = QStringLiteral("--keep-name");
    const CommandLine line(arguments, {dryRunFlag, keepNameFlag});
    if (!line.error().isEmpty())
        return fail(UsageError, line.error());
    const QStringList words = line.words();
    if (words.size() < 2)
        return usage();
    const bool dryRun = line.has(dryRunFlag);
    const bool keepName = line.has(keepNameFlag);
    const QString& fileName = words.first();
    const QStringList addresses = words.mid(1);

    QByteArray contents;
    QString error;
    if (!loadCheckedFile(fileName, &contents, &error))
        return fail(FileError, error);
    // Every address is checked before the first keypad is written.
    for (int i = 0; i < addresses.size(); ++i) {
        const QString problem = KeypadSession::addressProblem(addresses.at(i));
        if (!problem.isEmpty())
            return fail(AddressError, problem);
        if (addresses.indexOf(addresses.at(i)) != i)
            return fail(UsageError, QStringLiteral("%1 is named twice").arg(addresses.at(i)));
    }

    KeypadSession* keypad = session();
    FleetReport report(QStringLiteral("restored"));
    for (const QString& address : addresses) {
        FleetReport::Entry entry{address, QString(), FleetReport::Outcome::Done, QString()};
        QStringList differences;
        bool ok = keypad->open(address);
        entry.name = keypad->name();
        const QByteArray document = keepName ? MSPDocument::withName(contents, keypad->name()) : contents;
        if (ok && dryRun) {
            ok = keypad->previewRestore(document, &differences);
            entry.outcome = differences.isEmpty() ? FleetReport::Outcome::Same : FleetReport::Outcome::Differs;
            entry.detail = differences.isEmpty() ? QStringLiteral("holds %1 already").arg(fileName)
                                                 : QStringLiteral("%1 differences").arg(differences.size());
        } else if (ok) {
            const QMetaObject::Connection requestProgress =
                connect(keypad, &KeypadSession::requestSent, this,
                        [this, &address](const QString& method, const QString& path) {
                            progress(QStringLiteral("restore %1: %2 %3").arg(address, method, path));
                        });
            int requests = 0;
            MSPDocument::ReadResult read;
            ok = keypad->restore(document, &requests, &read);
            disconnect(requestProgress);
            if (ok && !read.ok)
                return fail(FileError, QStringLiteral("%1: %2").arg(fileName, read.error));
            entry.detail = QStringLiteral("%1 requests").arg(requests);
        }
        if (!ok) {
            entry.outcome = FleetReport::Outcome::Failed;
            entry.detail = keypad->error();
            fail(KeypadError, keypad->error());
        }
        report.add(entry);
        m_out << report.line(entry) << '\n';
        for (const QString& difference : differences)
            m_out << "  " << difference << '\n';
        m_out.flush();
    }
    progress(report.summary());
    return report.exitCode();
}

int KeypadCli::readOperand(const QString& operand, QByteArray* document) {
    if (!isAddress(operand)) {
        QString error;
        if (!loadCheckedFile(operand, document, &error))
            return fail(FileError, error);
        return Success;
    }
    const QString problem = KeypadSession::addressProblem(operand);
    if (!problem.isEmpty())
        return fail(AddressError, problem);
    if (readKeypad(operand, QByteArray(), document) != Success)
        return fail(KeypadError, session()->error());
    return Success;
}

int KeypadCli::diff(const QStringList& arguments) {
    const CommandLine line(arguments, {QStringLiteral("--json")});
    if (!line.error().isEmpty())
        return fail(UsageError, line.error());
    const QStringList words = line.words();
    if (words.size() != 2)
        return usage();
    // Files first: a file that cannot be compared is found before any keypad is asked.
    QByteArray documents[2];
    for (bool keypads : {false, true}) {
        for (int i = 0; i < 2; ++i) {
            if (isAddress(words.at(i)) != keypads)
                continue;
            if (const int status = readOperand(words.at(i), &documents[i]))
                return status;
        }
    }

    const MSPDocumentComparison comparison(documents[0], documents[1]);
    if (!comparison.ok()) {
        const bool first = !comparison.beforeRead().ok;
        const MSPDocument::ReadResult& read = first ? comparison.beforeRead() : comparison.afterRead();
        return fail(FileError, QStringLiteral("%1: %2").arg(words.at(first ? 0 : 1), read.error));
    }
    if (line.has(QStringLiteral("--json")))
        m_out << QString::fromUtf8(comparison.json().toJson(QJsonDocument::Indented));
    else
        m_out << comparison.text();
    m_out.flush();
    return comparison.isIdentical() ? Success : Different;
}

int KeypadCli::set(const QStringList& arguments) {
    if (arguments.size() < 2)
        return usage();
    const QString& address = arguments.first();
    const ConfigurationAssignments assignments(arguments.mid(1));
    if (!assignments.isValid()) {
        for (const QString& problem : assignments.problems())
            fail(UsageError, QStringLiteral("set %1: %2").arg(address, problem));
        return UsageError;
    }
    const QString problem = KeypadSession::addressProblem(address);
    if (!problem.isEmpty())
        return fail(AddressError, problem);

    KeypadSession* keypad = session();
    if (!keypad->open(address))
        return fail(KeypadError, keypad->error());
    const QString who = keypadText(address, keypad->name());
    SystemConfiguration* configuration = SystemConfiguration::instance();
    if (assignments.setsButtons() && SystemConfigurationCheck::buttonGate(configuration->version()) ==
                                         SystemConfigurationCheck::ButtonGate::Closed) {
        return fail(UsageError, QStringLiteral("%1 has firmware %2, which keeps every button enabled; nothing sent")
                                    .arg(who, configuration->version()));
    }

    const MSPDescription::Document before = MSPDescription::document(*MSPSceneModel::instance(), *configuration, -1);
    assignments.applyTo(configuration);
    const QStringList refusals = ConfigurationAssignments::check(*configuration);
    if (!refusals.isEmpty()) {
        for (const QString& refusal : refusals)
            fail(UsageError, QStringLiteral("%1: %2 Nothing sent.").arg(who, refusal));
        return UsageError;
    }
    const MSPDocumentComparison comparison(before,
                                           MSPDescription::document(*MSPSceneModel::instance(), *configuration, -1));
    FleetReport report(QStringLiteral("set"));
    FleetReport::Entry entry{address, keypad->name(), FleetReport::Outcome::Same,
                             QStringLiteral("has these values already")};
    if (!comparison.isIdentical()) {
        if (!keypad->sendConfiguration(assignments.setsBrightness()))
            return fail(KeypadError, keypad->error());
        const QStringList notTaken = assignments.notTakenBy(*configuration);
        if (!notTaken.isEmpty())
            return fail(KeypadError,
                        QStringLiteral("%1 did not take %2").arg(who, notTaken.join(QStringLiteral(", "))));
        entry.outcome = FleetReport::Outcome::Done;
        entry.detail = changeText(comparison);
    }
    report.add(entry);
    m_out << report.line(entry) << Qt::endl;
    return Success;
}

int KeypadCli::press(const QStringList& arguments) {
    if (arguments.size() < 2)
        return usage();
    const QString& address = arguments.at(0);
    const QString& key = arguments.at(1);
    int scene = 0;
    MSPKeyPress::Key pressed = MSPKeyPress::Key::OnOff;
    if (key == QLatin1String("scene") && arguments.size() == 3) {
        bool ok = false;
        scene = arguments.at(2).toInt(&ok);
        if (!ok || scene < 1 || scene > MSPSceneModel::sceneCount)
            return fail(UsageError,
                        QStringLiteral("press %1: scene %2: a scene is 1 to 8").arg(address, arguments.at(2)));
    } else if (arguments.size() != 2) {
        return usage();
    } else if (key == QLatin1String("up")) {
        pressed = MSPKeyPress::Key::Up;
    } else if (key == QLatin1String("down")) {
        pressed = MSPKeyPress::Key::Down;
    } else if (key != QLatin1String("onoff")) {
        return usage();
    }
    const QString problem = KeypadSession::addressProblem(address);
    if (!problem.isEmpty())
        return fail(AddressError, problem);

    KeypadSession* keypad = session();
    if (!keypad->open(address))
        return fail(KeypadError, keypad->error());
    FleetReport report(QStringLiteral("pressed"));
    FleetReport::Entry entry{address, keypad->name(), FleetReport::Outcome::Done, QString()};
    if (scene > 0) {
        if (!keypad->selectScene(scene - 1))
            return fail(KeypadError, keypad->error());
        entry.detail = QStringLiteral("scene %1 active").arg(scene);
    } else {
        // Up and down act by the active scene's effect, so the scenes are read first.
        bool sent = false;
        if ((pressed != MSPKeyPress::Key::OnOff && !keypad->readScenes()) || !keypad->press(pressed, &sent) ||
            (sent && !keypad->readConfiguration()))
            return fail(KeypadError, keypad->error());
        const MSPDescription::Fields fields = MSPDescription::configuration(*SystemConfiguration::instance());
        entry.detail = fieldText(fields, QStringLiteral("brightness"));
        if (!sent) {
            entry.outcome = FleetReport::Outcome::Same;
            entry.detail += QStringLiteral(": %1 changes nothing, nothing sent").arg(key);
        }
    }
    report.add(entry);
    m_out << report.line(entry) << Qt::endl;
    return Success;
}

int KeypadCli::show(const QStringList& arguments) {
    const CommandLine line(arguments, {QStringLiteral("--json")});
    if (!line.error().isEmpty())
        return fail(UsageError, line.error());
    if (line.words().size() != 1)
        return usage();
    const QString fileName = line.words().first();
    QByteArray contents;
    QString error;
    if (!loadCheckedFile(fileName, &contents, &error))
        return fail(FileError, error);

    // Read apart from the shared models: showing a file changes nothing.
    MSPDocument::ReadResult result;
    const MSPDescription::Document document = MSPDescription::document(contents, &result);
    if (!result.ok)
        return fail(FileError, QStringLiteral("%1: %2").arg(fileName, result.error));
    if (line.has(QStringLiteral("--json"))) {
        m_out << QString::fromUtf8(QJsonDocument(document.toJson()).toJson(QJsonDocument::Indented));
    } else {
        for (const QString& text : document.lines())
            m_out << text << '\n';
    }
    m_out.flush();
    if (m_out.status() != QTextStream::Ok)
        return fail(FileError, QStringLiteral("cannot write the summary of %1 to standard output").arg(fileName));
    return Success;
}

int KeypadCli::render(const QStringList& arguments) {
    FrameCommand command;
    QString error;
    if (!command.parse(arguments, &error))
        return error.isEmpty() ? usage() : fail(UsageError, error);
    QByteArray contents;
    if (!loadCheckedFile(command.fileName(), &contents, &error))
        return fail(FileError, error);
    const QString frame = command.frameText(contents, &error);
    if (frame.isEmpty())
        return fail(FileError, error);
    m_out << frame;
    m_out.flush();
    return Success;
}

#include "KeypadCli.h"

#include "CommMessageBox.h"
#include "ConfigurationFileReader.h"
#include "Discoverer.h"
#include "FrameCommand.h"
#include "MSPComm.h"
#include "MSPDescription.h"
#include "MSPDocument.h"
#include "MSPEffect.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "ProgramVersion.h"
#include "SystemConfiguration.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QJsonDocument>
#include <QNetworkReply>
#include <QSaveFile>
#include <QTimer>
#include <QXmlStreamReader>
#include <cstdio>

namespace {

const QString ProgramName = QStringLiteral("lumetto-keypad-cli");
// Far longer than any request may take (each has its own transfer limit); it only guards
// against a run that would never end.
constexpr int SettleLimitMs = 120000;
constexpr int DefaultDiscoveryMs = 500;

// In the usual form ("Usage:", then "or:" lines), which man pages are made from.
const char UsageText[] = "Usage: lumetto-keypad-cli discover [--timeout MS]\n"
                         "  or:  lumetto-keypad-cli backup ADDRESS FILE\n"
                         "  or:  lumetto-keypad-cli restore FILE ADDRESS\n"
                         "  or:  lumetto-keypad-cli show FILE [--json]\n"
                         "  or:  lumetto-keypad-cli render FILE --scene N --at SECONDS [--lights K]\n"
                         "  or:  lumetto-keypad-cli --help | --version\n"
                         "\n"
                         "Exit status: 0 success, 1 usage, 2 address, 3 keypad, 4 file.\n"
                         "LUMETTO_CLI_VERBOSE=1 shows the communication log on stderr.\n";

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

} // namespace

KeypadCli::KeypadCli()
    : m_out(stdout)
    , m_err(stderr) {
    qInstallMessageHandler(messageHandler);
    CommMessageBox::setHandler([this](const QString& title, const QString& text) {
        m_err << ProgramName << ": " << title << ": " << text << Qt::endl;
    });
}

int KeypadCli::run(const QStringList& arguments) {
    if (arguments.isEmpty())
        return usage();
    const QString command = arguments.first();
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("discover"))
        return discover(rest);
    if (command == QLatin1String("backup") && rest.size() == 2)
        return backup(rest.at(0), rest.at(1));
    if (command == QLatin1String("restore") && rest.size() == 2)
        return restore(rest.at(0), rest.at(1));
    if (command == QLatin1String("show"))
        return show(rest);
    if (command == QLatin1String("render"))
        return render(rest);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        m_out << UsageText;
        return Success;
    }
    if ((command == QLatin1String("--version") || command == QLatin1String("-v")) && rest.isEmpty()) {
        m_out << ProgramName << ' ' << ProgramVersion::text << Qt::endl;
        return Success;
    }
    return usage();
}

int KeypadCli::usage() {
    m_err << UsageText;
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

int KeypadCli::discover(const QStringList& arguments) {
    int timeout = DefaultDiscoveryMs;
    if (arguments.size() == 2 && arguments.at(0) == QLatin1String("--timeout")) {
        bool ok = false;
        timeout = arguments.at(1).toInt(&ok);
        if (!ok || timeout <= 0)
            return fail(UsageError, QStringLiteral("--timeout needs a positive number of milliseconds"));
    } else if (!arguments.isEmpty()) {
        return usage();
    }

    Discoverer* discoverer = Discoverer::instance();
    QEventLoop loop;
    connect(discoverer, &Discoverer::reachedDiscoverTimeLimit, &loop, &QEventLoop::quit);
    const int timerId = discoverer->startDiscovery(timeout);
    loop.exec();
    discoverer->killTimer(timerId);

    const QList<DiscoveredDevice> devices = discoverer->devices();
    if (devices.isEmpty())
        return fail(KeypadError, QStringLiteral("no keypad answered within %1 ms").arg(timeout));
    for (const DiscoveredDevice& device : devices)
        m_out << device.name() << '\t' << device.address() << '\t' << macText(device.mac()) << '\n';
    m_out.flush();
    return Success;
}

int KeypadCli::connectTo(const QString& address) {
    const QHostAddress host(address);
    if (host.isNull() || host.protocol() != QAbstractSocket::IPv4Protocol)
        return fail(AddressError, QStringLiteral("%1 is not an IPv4 address").arg(address));
    if (!MSPComm::isOnLocalSubnet(address))
        return fail(AddressError, QStringLiteral("%1 is not on any local subnet").arg(address));

    m_address = address;
    MSPComm* comm = MSPComm::instance();
    MSPSceneModel* model = MSPSceneModel::instance();
    connect(model, &MSPSceneModel::effectParamsChanged, comm, &MSPComm::handleEffectParamsChanged);
    connect(model, &MSPSceneModel::effectChanged, comm, &MSPComm::handleEffectChanged);
    connect(comm, &MSPComm::replyHandled, this, &KeypadCli::handleReply);
    // As the editor's window does: the keypad's word on its active scene is the model's.
    connect(comm, &MSPComm::activeSceneIndexChanged, model,
            [model](int index) { model->setActiveSceneIndex(index, false); });
    comm->setDevice(address, QByteArray());

    comm->getConfig();
    if (!settle(QStringLiteral("reading the configuration")))
        return KeypadError;
    return Success;
}

void KeypadCli::handleReply(QNetworkReply* reply) {
    if (reply->error() == QNetworkReply::NoError || reply->url().host() != m_address)
        return;
    m_failed = true;
    m_lastError = reply->errorString();
}

bool KeypadCli::settle(const QString& what) {
    MSPComm* comm = MSPComm::instance();
    QDeadlineTimer deadline(SettleLimitMs);
    while (comm->hasOutstandingReplies() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    if (comm->hasOutstandingReplies()) {
        fail(KeypadError, QStringLiteral("keypad at %1 did not finish %2").arg(m_address, what));
        return false;
    }
    if (m_failed) {
        fail(KeypadError, QStringLiteral("keypad at %1 failed while %2: %3").arg(m_address, what, m_lastError));
        return false;
    }
    return true;
}

int KeypadCli::backup(const QString& address, const QString& fileName) {
    if (const int status = connectTo(address))
        return status;
    MSPComm::instance()->getShows();
    if (!settle(QStringLiteral("reading the scenes")))
        return KeypadError;

    MSPSceneModel* model = MSPSceneModel::instance();
    for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
        if (!model->scene(i) || !model->scene(i)->effect())
            return fail(KeypadError, QStringLiteral("keypad at %1 sent no scene %2").arg(address).arg(i + 1));
    }

    // The old file stays untouched unless the new one is complete.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return fail(FileError, QStringLiteral("cannot write %1: %2").arg(fileName, file.errorString()));
    const QByteArray contents = MSPDocument::fileContents();
    if (file.write(contents) != contents.size() || !file.flush() || !file.commit())
        return fail(FileError, QStringLiteral("cannot write %1: %2").arg(fileName, file.errorString()));
    progress(QStringLiteral("backed up keypad %1 to %2").arg(address, fileName));
    return Success;
}

bool KeypadCli::loadCheckedFile(const QString& fileName, QByteArray* contents, QString* error) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString());
        return false;
    }
    if (file.size() > MSPDocument::maximumSize) {
        *error = QStringLiteral("%1 is too large for a configuration file").arg(fileName);
        return false;
    }
    *contents = file.readAll();

    QXmlStreamReader xml(*contents);
    bool seenRoot = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && !seenRoot) {
            seenRoot = true;
            if (xml.name() != QLatin1String("v1")) {
                *error = QStringLiteral("%1:%2: not a configuration document (root element <%3>, expected <v1>)")
                             .arg(fileName)
                             .arg(xml.lineNumber())
                             .arg(xml.name());
                return false;
            }
        }
    }
    if (xml.hasError() || !seenRoot) {
        *error = QStringLiteral("%1:%2: not a well-formed configuration document: %3")
                     .arg(fileName)
                     .arg(xml.lineNumber())
                     .arg(seenRoot ? xml.errorString() : QStringLiteral("no root element"));
        return false;
    }

    const MSPDocument::ReadResult check = MSPDocument::check(*contents);
    if (!check.ok) {
        const QString where = check.line > 0 ? QStringLiteral("%1:%2").arg(fileName).arg(check.line) : fileName;
        *error = QStringLiteral("%1: not a valid configuration document: %2").arg(where, check.error);
        return false;
    }
    return true;
}

int KeypadCli::restore(const QString& fileName, const QString& address) {
    QByteArray contents;
    QString error;
    if (!loadCheckedFile(fileName, &contents, &error))
        return fail(FileError, error);
    if (const int status = connectTo(address))
        return status;

    MSPComm* comm = MSPComm::instance();
    int requests = 0;
    const QMetaObject::Connection progressConnection =
        connect(comm, &MSPComm::requestSent, this, [this, &requests](const QString& method, const QString& path) {
            ++requests;
            progress(QStringLiteral("restore: %1 %2").arg(method, path));
        });
    QBuffer buffer(&contents);
    buffer.open(QIODevice::ReadOnly);
    const MSPDocument::ReadResult result = ConfigurationFileReader::read(&buffer, true);
    const bool settled = settle(QStringLiteral("restoring %1").arg(fileName));
    disconnect(progressConnection);
    if (!settled)
        return KeypadError;
    if (!result.ok)
        return fail(FileError, QStringLiteral("%1: %2").arg(fileName, result.error));
    progress(QStringLiteral("restored %1 to keypad %2 (%3 requests)").arg(fileName, address).arg(requests));
    return Success;
}

int KeypadCli::show(const QStringList& arguments) {
    QStringList files = arguments;
    const bool json = files.removeAll(QStringLiteral("--json")) > 0;
    if (files.size() != 1)
        return usage();
    const QString& fileName = files.first();
    QByteArray contents;
    QString error;
    if (!loadCheckedFile(fileName, &contents, &error))
        return fail(FileError, error);

    // Read apart from the shared models: showing a file changes nothing.
    MSPDocument::ReadResult result;
    const MSPDescription::Document document = MSPDescription::document(contents, &result);
    if (!result.ok)
        return fail(FileError, QStringLiteral("%1: %2").arg(fileName, result.error));
    if (json) {
        // JSON is UTF-8 whatever the locale says.
        m_out.setCodec("UTF-8");
        m_out << QString::fromUtf8(QJsonDocument(document.toJson()).toJson(QJsonDocument::Indented));
    } else {
        for (const QString& line : document.lines())
            m_out << line << '\n';
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

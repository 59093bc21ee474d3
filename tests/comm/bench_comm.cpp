// Latency and throughput figures for device communication; not a test, it prints numbers:
//     scripts/netns-run build/tests/bench_comm
// The keypad side is a plain keep-alive HTTP server on threads of its own, so arrival times share
// the editor's clock; the kernel delays its ACKs as Linux does by default.

#include "CommMessageBox.h"
#include "LowDelaySockets.h"
#include "MSPColorWashEffect.h"
#include "MSPComm.h"
#include "MSPCustomWashEffect.h"
#include "MSPDocument.h"
#include "MSPEffectFactory.h"
#include "MSPScene.h"
#include "MSPSceneModel.h"
#include "SystemConfiguration.h"
#include "ZelColor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUdpSocket>
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <climits>
#include <cstdio>
#include <functional>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const char EditorAddress[] = "10.77.0.1";
constexpr int Rounds = 40;
std::atomic<qint64> lastArrivalUs{0};
std::atomic<int> arrivals{0};
QElapsedTimer benchClock; // started before the server; reading it is safe from any thread

qint64 nowUs() {
    return benchClock.nsecsElapsed() / 1000;
}

// Answers each request on a keep-alive connection as soon as its body is complete, noting when that was.
void serveConnection(int client) {
    const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: 9\r\n\r\n<v1></v1>";
    std::string buffer;
    char chunk[4096];
    for (ssize_t n; (n = recv(client, chunk, sizeof chunk, 0)) > 0;) {
        buffer.append(chunk, static_cast<size_t>(n));
        for (size_t end; (end = buffer.find("\r\n\r\n")) != std::string::npos;) {
            const size_t field = buffer.find("Content-Length: ");
            const size_t length = field < end ? std::stoul(buffer.substr(field + 16)) : 0;
            if (buffer.size() < end + 4 + length)
                break;
            lastArrivalUs = nowUs();
            ++arrivals;
            buffer.erase(0, end + 4 + length);
            send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
        }
    }
    close(client);
}

bool startServer() {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(80);
    inet_pton(AF_INET, EditorAddress, &address.sin_addr);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 16) != 0)
        return false;
    std::thread([listener] {
        for (int client; (client = accept(listener, nullptr, nullptr)) >= 0;)
            std::thread(serveConnection, client).detach();
    }).detach();
    return true;
}

// Runs the event loop for msec, or until the server has seen more than `before` requests; returns
// the last arrival time then, -1 otherwise.
qint64 runEvents(int msec, int before = INT_MAX) {
    QElapsedTimer timer;
    timer.start();
    while (arrivals.load() <= before && timer.elapsed() < msec)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    return arrivals.load() > before ? lastArrivalUs.load() : -1;
}

void print(const char* what, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    if (values.empty())
        values.push_back(0);
    printf("  %-44s median %7.2f ms   p90 %7.2f ms   max %7.2f ms\n", what, values[values.size() / 2],
           values[values.size() * 9 / 10], values.back());
}

// Milliseconds from each round's start (run by `trigger`) to the request's arrival at the keypad,
// and, given sentUs, from the moment the REST client sent it.
void measure(const char* what, const std::function<void(int round)>& trigger, const qint64* sentUs = nullptr) {
    std::vector<double> sinceStart, sinceSent;
    for (int round = 0; round < Rounds; ++round) {
        const int before = arrivals.load();
        const qint64 startUs = nowUs();
        trigger(round);
        const qint64 arrivalUs = runEvents(5000, before);
        if (arrivalUs > 0)
            sinceStart.push_back((arrivalUs - startUs) / 1000.0);
        if (arrivalUs > 0 && sentUs)
            sinceSent.push_back((arrivalUs - *sentUs) / 1000.0);
        runEvents(30);
    }
    print(what, sinceStart);
    if (sentUs)
        print("  of which after the 100 ms coalescing", sinceSent);
}

void measureLatency(MSPComm* comm, bool lowDelay) {
    LowDelaySockets::setEnabled(lowDelay);
    printf("%s\n", lowDelay ? "with TCP_NODELAY on keypad connections:" : "HTTP stack as it is (Nagle on):");
    auto* wash = qobject_cast<MSPColorWashEffect*>(MSPSceneModel::instance()->scene(0)->effect());
    qint64 sentUs = 0;
    const QMetaObject::Connection sent = QObject::connect(comm, &MSPComm::requestSent, [&sentUs] { sentUs = nowUs(); });
    measure(
        "edit -> POST body at the keypad", [wash](int round) { wash->setSpeed(round % 2 ? 3 : 4); }, &sentUs);
    QObject::disconnect(sent);
    QUdpSocket keypad;
    keypad.bind(QHostAddress(QString::fromLatin1(EditorAddress)), 0);
    measure("scene notice -> scene POST at the keypad", [&keypad](int round) {
        QByteArray notice = QByteArray::fromHex("0401DC4A01000103000000000002AAAA");
        notice[13] = static_cast<char>(2 + round % 2);
        keypad.writeDatagram(notice, QHostAddress(QString::fromLatin1(EditorAddress)), MSPComm::KeypadNoticePort);
    });
}

void measureDocuments() {
    MSPSceneModel* model = MSPSceneModel::instance();
    // The largest scenes there are: custom washes with six colours.
    QList<ZelColor> colors;
    for (int c = 0; c < 6; ++c)
        colors << ZelColor(QColor::fromHsv(c * 60, 255, 255));
    for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
        auto* wash = qobject_cast<MSPCustomWashEffect*>(MSPEffectFactory::instance()->create(4, model->scene(i)));
        wash->setParams(QStringLiteral("3,1,2").split(QLatin1Char(',')), colors, colors.size(), 0, 0, 0, 0);
        model->scene(i)->setEffect(wash, false);
    }
    const QByteArray document = MSPDocument::fileContents();
    const auto perDocumentUs = [](const std::function<void()>& work) {
        constexpr int Documents = 200;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < Documents; ++i)
            work();
        return timer.nsecsElapsed() / 1000.0 / Documents;
    };
    printf("documents (%d bytes, 8 custom washes with 6 colours each):\n", document.size());
    printf("  parse an all-scenes reply                    %8.1f us per document\n",
           perDocumentUs([&document] { MSPDocument::read(document, false); }));
    printf("  write a whole configuration file             %8.1f us per document\n",
           perDocumentUs([] { MSPDocument::fileContents(); }));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    benchClock.start();
    if (qgetenv("LUMETTO_NETNS") != "1") {
        fprintf(stderr, "run inside scripts/netns-run: it opens sockets\n");
        return 77;
    }
    // The reader and writers log every element; the figures would measure the terminal otherwise.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type != QtDebugMsg)
            fprintf(stderr, "%s\n", qPrintable(message));
    });
    if (!startServer()) {
        fprintf(stderr, "cannot listen on %s:80\n", EditorAddress);
        return 1;
    }
    CommMessageBox::setHandler([](const QString&, const QString& text) { fprintf(stderr, "%s\n", qPrintable(text)); });
    MSPComm* comm = MSPComm::instance();
    MSPSceneModel* model = MSPSceneModel::instance();
    QObject::connect(model, &MSPSceneModel::effectParamsChanged, comm, &MSPComm::handleEffectParamsChanged);
    for (int i = 0; i < MSPSceneModel::sceneCount; ++i) {
        model->scene(i)->setURL(QStringLiteral("/api/v1/shows/") + QString::number(i + 1));
        model->scene(i)->setEffect(MSPEffectFactory::instance()->create(2, model->scene(i)), false);
    }
    model->setActiveSceneIndex(0, false);
    SystemConfiguration::instance()->setBrightness(100);
    comm->setDevice(QString::fromLatin1(EditorAddress), QByteArray());
    // Open the connection once so that every measured request reuses it, as a session does.
    comm->brightnessUp();
    runEvents(5000, 0);
    runEvents(200);

    measureLatency(comm, false);
    measureLatency(comm, true);
    measureDocuments();
    return 0;
}

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
#include <QTimer>
#include <QUdpSocket>
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
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

// The keypad's faults: stalled, it takes requests and answers them only once it recovers, in the
// order they came; down, it hangs up on every request, as a web server that restarts.
std::atomic<bool> stalled{false};
std::atomic<bool> down{false};
// A keypad that closes each connection after its reply and acknowledges late, as small embedded
// stacks do (Linux acknowledges the first segments of a connection at once, which would hide it).
std::atomic<bool> closing{false};
std::mutex takenMutex;
std::vector<std::pair<qint64, std::string>> taken; // when the keypad acted on each body
std::atomic<long> ticketsIssued{0};
std::atomic<long> ticketsServed{0};

// Answers each request on a keep-alive connection as soon as its body is complete, noting when that was.
void serveConnection(int client) {
    const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: 9\r\n\r\n<v1></v1>";
    const std::string lastReply =
        "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\nContent-Length: 9\r\n\r\n<v1></v1>";
    const int zero = 0;
    if (closing)
        setsockopt(client, IPPROTO_TCP, TCP_QUICKACK, &zero, sizeof zero);
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
            const std::string body = buffer.substr(end + 4, length);
            buffer.erase(0, end + 4 + length);
            if (down) {
                close(client);
                return;
            }
            const long ticket = ticketsIssued++;
            while (stalled || ticketsServed.load() != ticket)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            {
                std::lock_guard<std::mutex> lock(takenMutex);
                taken.emplace_back(nowUs(), body);
            }
            ++ticketsServed;
            if (closing) {
                send(client, lastReply.data(), lastReply.size(), MSG_NOSIGNAL);
                close(client);
                return;
            }
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

void measureLatency(MSPComm* comm, bool lowDelay, bool newConnections = false) {
    LowDelaySockets::setEnabled(lowDelay);
    closing = newConnections;
    printf("%s%s\n", lowDelay ? "with TCP_NODELAY on keypad connections" : "HTTP stack as it is (Nagle on)",
           newConnections ? ", a new connection for each request, late acknowledgements:" : ":");
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

// When the keypad first acted on body at or after sinceUs; -1 if it has not.
qint64 takenAt(const std::string& body, qint64 sinceUs) {
    std::lock_guard<std::mutex> lock(takenMutex);
    for (const auto& [at, taken] : taken) {
        if (at >= sinceUs && taken == body)
            return at;
    }
    return -1;
}

// A burst of edits while the keypad stalls (its heartbeats going on) or is down (silent): the time
// from its recovery to the keypad taking the user's last state. The stalls are shorter and longer
// than a request may take, so that the recovery falls at every point of the retries.
void measureRecovery(const char* what, bool stall) {
    auto* wash = qobject_cast<MSPColorWashEffect*>(MSPSceneModel::instance()->scene(1)->effect());
    QUdpSocket keypad;
    keypad.bind(QHostAddress(QString::fromLatin1(EditorAddress)), 0);
    QTimer heartbeats;
    bool beating = true;
    QObject::connect(&heartbeats, &QTimer::timeout, [&] {
        if (beating)
            keypad.writeDatagram(QByteArray::fromHex("0401dc4a010002030000000000010000"),
                                 QHostAddress(QString::fromLatin1(EditorAddress)), MSPComm::HeartBeatPort);
    });
    heartbeats.start(500);
    std::vector<double> delays;
    int lost = 0;
    const int faultMs[] = {2000, 4500, 5500, 6500, 8000, 10500};
    for (size_t round = 0; round < sizeof faultMs / sizeof *faultMs; ++round) {
        (stall ? stalled : down) = true;
        beating = stall;
        // Five changes over a second: the last one is what the keypad must end up with.
        int speed = 0;
        for (int edit = 0; edit < 5; ++edit) {
            speed = 1 + (int(round) * 5 + edit) % 9;
            wash->setSpeed(speed);
            runEvents(200);
        }
        runEvents(faultMs[round] - 1000);
        const qint64 recoveredUs = nowUs();
        (stall ? stalled : down) = false;
        beating = true;
        const std::string body = MSPSceneModel::instance()->scene(1)->PostData().toStdString();
        qint64 at = -1;
        QElapsedTimer limit;
        limit.start();
        while ((at = takenAt(body, recoveredUs)) < 0 && limit.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (at < 0)
            ++lost;
        else
            delays.push_back((at - recoveredUs) / 1000.0);
        runEvents(1500);
    }
    print(what, delays);
    if (lost > 0)
        printf("  %-44s %d of %d rounds: the last change never arrived\n", "", lost,
               int(sizeof faultMs / sizeof *faultMs));
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
    measureLatency(comm, false, true);
    measureLatency(comm, true, true);
    closing = false;
    printf("keypad faults, recovery -> the last of five changes taken by the keypad:\n");
    measureRecovery("stall (heartbeats go on) 2 to 10.5 s", true);
    measureRecovery("down (silent, hangs up) 2 to 10.5 s", false);
    measureDocuments();
    return 0;
}

#include "KeypadHttpServer.h"

#include <httplib.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace {
constexpr size_t HandlerThreads = 32;
} // namespace

KeypadHttpServer::KeypadHttpServer(Handler handler)
    : m_handler(std::move(handler)) {}

KeypadHttpServer::~KeypadHttpServer() {
    stop();
}

bool KeypadHttpServer::start(const QString& address, quint16 port, int keepAliveSeconds, QString* error) {
    stop();
    auto server = std::make_unique<httplib::Server>();
    const char* anyPath = R"(/.*)";
    auto handler = [this](const httplib::Request& request, httplib::Response& response) {
        m_handler(request, response);
    };
    server->Get(anyPath, handler);
    server->Post(anyPath, handler);
    server->Put(anyPath, handler);
    server->Delete(anyPath, handler);
    server->Patch(anyPath, handler);
    // A small embedded stack answers at once; replies are small.
    server->set_tcp_nodelay(true);
    // Requests held by a stall keep their threads; the rest must still be taken and logged.
    server->new_task_queue = [] { return new httplib::ThreadPool(HandlerThreads); };
    // By default one request per connection, as a small embedded server does; it also lets stop()
    // return at once instead of waiting for idle connections to time out.
    if (keepAliveSeconds > 0) {
        server->set_keep_alive_max_count(100);
        server->set_keep_alive_timeout(keepAliveSeconds);
    } else {
        server->set_keep_alive_max_count(1);
    }
    if (!server->bind_to_port(address.toStdString(), port)) {
        if (error)
            *error = QStringLiteral("cannot listen on %1:%2: %3")
                         .arg(address)
                         .arg(port)
                         .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    httplib::Server* raw = server.get();
    m_server = std::move(server);
    m_thread = std::thread([raw] { raw->listen_after_bind(); });
    // stop() does nothing to a server that is not running yet, so a stop right after this start
    // would leave the thread listening for ever.
    for (int i = 0; i < 5000 && !raw->is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void KeypadHttpServer::stop() {
    if (!m_server)
        return;
    m_server->stop();
    if (m_thread.joinable())
        m_thread.join();
    m_server.reset();
}

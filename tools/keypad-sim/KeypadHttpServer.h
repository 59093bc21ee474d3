#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <thread>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

// The keypad's HTTP server: one cpp-httplib server on its own threads, every request of every
// method and path handed to one handler. Stopped and started again when the keypad reboots,
// refuses connections or moves to another address.
class KeypadHttpServer {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    explicit KeypadHttpServer(Handler handler);
    ~KeypadHttpServer();
    KeypadHttpServer(const KeypadHttpServer&) = delete;
    KeypadHttpServer& operator=(const KeypadHttpServer&) = delete;

    /// @p keepAliveSeconds 0 serves one request per connection; more keeps connections open that
    /// long (and makes stop() wait for them up to that long).
    bool start(const QString& address, quint16 port, int keepAliveSeconds, QString* error);
    /// Closes the listening socket and waits for the request threads; handlers must return.
    void stop();
    bool isRunning() const { return m_server != nullptr; }

private:
    Handler m_handler;
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
};

// A raw TCP server on 127.0.0.1 (any free port) whose every connection is handed to a script:
// the script reads the request and may answer, answer in pieces, trickle bytes, go silent or
// reset the connection. For tests of what the program does when a site misbehaves.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace lq::test {

class HostileServer {
public:
    // One accepted connection. After the script returns the connection is closed normally,
    // unless the script reset it.
    class Connection {
    public:
        Connection(HostileServer& server, int fd) : server_(server), fd_(fd) {}
        ~Connection();
        Connection(const Connection&) = delete;
        Connection& operator=(const Connection&) = delete;

        // False once the peer has gone or the server is stopping.
        bool Send(std::string_view bytes);
        // One byte per interval; false as soon as a byte cannot be sent or the server stops.
        bool Trickle(std::string_view bytes, std::chrono::milliseconds interval);
        // Waits (for the client to give up, say) until the peer closes or the server stops.
        void WaitForPeerToClose();
        // Ends the connection with a TCP reset instead of an orderly close.
        void Reset();

    private:
        HostileServer& server_;
        int fd_;
    };

    using Script = std::function<void(Connection& connection, const std::string& request)>;

    explicit HostileServer(Script script);
    ~HostileServer();  // wakes every script that waits or trickles, then joins them
    HostileServer(const HostileServer&) = delete;
    HostileServer& operator=(const HostileServer&) = delete;

    // "http://127.0.0.1:<port>" followed by path.
    std::string Address(std::string_view path) const;
    int Port() const { return port_; }
    // Request lines ("GET /x HTTP/1.1") in arrival order.
    std::vector<std::string> RequestLines() const;
    int Connections() const { return connections_; }

    // A complete response with a Content-Length for body.
    static std::string Response(std::string_view statusLine, std::string_view headerLines,
                                std::string_view body);

private:
    void AcceptLoop();
    void Serve(int fd);
    // Sleeps for duration unless the server stops first; false when it stops.
    bool Pause(std::chrono::milliseconds duration);

    Script script_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    std::vector<std::string> requestLines_;
    std::vector<std::thread> serving_;
    std::thread acceptor_;
};

}  // namespace lq::test

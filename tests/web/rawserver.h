// A raw TCP listener on 127.0.0.1 for WebAccess tests: it records every request's bytes exactly
// as they arrived, counts accepted connections, and answers with canned bytes, or misbehaves on
// purpose (silence, an endless body, a slow trickle).
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace lq::test {

class RawServer {
public:
    enum class Behaviour {
        Reply,        // send the bytes, keep the connection for the next request
        ReplyClose,   // send the bytes, then close
        Silent,       // send the bytes (often none), then say nothing more
        EndlessBody,  // send the bytes, then body bytes as fast as the client reads
        Trickle,      // send the bytes, then a few body bytes every 20 ms
    };
    struct Answer {
        std::string bytes;
        Behaviour behaviour = Behaviour::Reply;
    };
    using Handler = std::function<Answer(const std::string& request)>;

    explicit RawServer(Handler handler);
    ~RawServer();
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by path.
    std::string Address(std::string_view path) const;
    std::vector<std::string> Requests() const;
    std::string LastRequest() const;
    int Accepts() const { return accepts_; }

    // A complete response with a Content-Length for body.
    static std::string Response(std::string_view statusLine, std::string_view headerLines,
                                std::string_view body);

private:
    void AcceptLoop();
    void Serve(int fd);
    bool SendAll(int fd, std::string_view bytes);
    void Linger(int fd, Behaviour behaviour);

    Handler handler_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> accepts_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::vector<std::thread> connections_;
    std::thread acceptor_;
};

}  // namespace lq::test

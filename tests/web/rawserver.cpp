// The raw test listener: one thread accepts, one thread per connection reads requests (header
// end plus any Content-Length body) and answers them.
#include "rawserver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace lq::test {

namespace {

constexpr int kPollMs = 20;

// Closes a socket when it goes out of scope.
struct SocketCloser {
    int fd;
    ~SocketCloser() { ::close(fd); }
};

bool WaitReadable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, kPollMs) > 0;
}

std::size_t ContentLength(const std::string& head) {
    std::string lowered;
    for (const char c : head) lowered += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    const std::size_t at = lowered.find("\r\ncontent-length:");
    if (at == std::string::npos) return 0;
    return std::strtoul(head.c_str() + at + 17, nullptr, 10);
}

}  // namespace

RawServer::RawServer(Handler handler) : handler_(std::move(handler)) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 16) != 0) {
        throw std::runtime_error("test listener: cannot listen on 127.0.0.1");
    }
    socklen_t length = sizeof address;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

RawServer::~RawServer() {
    stopping_ = true;
    acceptor_.join();
    ::close(listenFd_);
    std::vector<std::thread> connections;
    {
        std::lock_guard lock(mutex_);
        connections.swap(connections_);
    }
    for (std::thread& connection : connections) connection.join();
}

std::string RawServer::Address(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> RawServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::string RawServer::LastRequest() const {
    std::lock_guard lock(mutex_);
    return requests_.empty() ? std::string() : requests_.back();
}

std::string RawServer::Response(std::string_view statusLine, std::string_view headerLines,
                                std::string_view body) {
    return std::string(statusLine) + "\r\n" + std::string(headerLines) +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

void RawServer::AcceptLoop() {
    while (!stopping_) {
        if (!WaitReadable(listenFd_)) continue;
        const int fd = ::accept(listenFd_, nullptr, nullptr);
        if (fd < 0) continue;
        ++accepts_;
        timeval sendTimeout{0, 100'000};  // lets a blocked send notice the stop flag
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &sendTimeout, sizeof sendTimeout);
        std::lock_guard lock(mutex_);
        connections_.emplace_back([this, fd] { Serve(fd); });
    }
}

void RawServer::Serve(int fd) {
    SocketCloser closer{fd};
    std::string pending;
    char chunk[4096];
    while (!stopping_) {
        const std::size_t headEnd = pending.find("\r\n\r\n");
        if (headEnd != std::string::npos) {
            const std::size_t total = headEnd + 4 + ContentLength(pending.substr(0, headEnd + 2));
            if (pending.size() >= total) {
                const std::string request = pending.substr(0, total);
                pending.erase(0, total);
                {
                    std::lock_guard lock(mutex_);
                    requests_.push_back(request);
                }
                const Answer answer = handler_(request);
                if (!SendAll(fd, answer.bytes)) return;
                if (answer.behaviour == Behaviour::Reply) continue;
                if (answer.behaviour != Behaviour::ReplyClose) Linger(fd, answer.behaviour);
                return;
            }
        }
        if (!WaitReadable(fd)) continue;
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got <= 0) return;
        pending.append(chunk, static_cast<std::size_t>(got));
    }
}

bool RawServer::SendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        if (stopping_) return false;
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

void RawServer::Linger(int fd, Behaviour behaviour) {
    const std::string block(std::size_t{16} * 1024, 'x');
    while (!stopping_) {
        if (behaviour == Behaviour::EndlessBody) {
            if (!SendAll(fd, block)) return;
        } else if (behaviour == Behaviour::Trickle) {
            if (!SendAll(fd, "xxxx")) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } else if (WaitReadable(fd)) {
            char byte;
            if (::recv(fd, &byte, 1, 0) <= 0) return;  // the client gave up
        }
    }
}

}  // namespace lq::test

// The scripted raw server: one thread accepts, one thread per connection reads the request
// (headers plus any Content-Length body) and runs the script on it.
#include "hostileserver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace lq::test {

namespace {

constexpr int kPollMs = 20;

bool WaitFor(int fd, short events) {
    pollfd entry{fd, events, 0};
    return ::poll(&entry, 1, kPollMs) > 0;
}

std::size_t ContentLength(std::string_view head) {
    std::string lowered(head);
    for (char& c : lowered) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    const std::size_t at = lowered.find("\r\ncontent-length:");
    if (at == std::string::npos) return 0;
    return std::strtoul(lowered.c_str() + at + 17, nullptr, 10);
}

}  // namespace

HostileServer::Connection::~Connection() {
    if (fd_ >= 0) ::close(fd_);
}

bool HostileServer::Connection::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        if (fd_ < 0 || server_.stopping_) return false;
        if (!WaitFor(fd_, POLLOUT)) continue;
        const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return fd_ >= 0;
}

bool HostileServer::Connection::Trickle(std::string_view bytes,
                                        std::chrono::milliseconds interval) {
    for (const char byte : bytes) {
        if (!Send(std::string_view(&byte, 1))) return false;
        if (!server_.Pause(interval)) return false;
    }
    return true;
}

void HostileServer::Connection::WaitForPeerToClose() {
    char chunk[4096];
    while (fd_ >= 0 && !server_.stopping_) {
        if (!WaitFor(fd_, POLLIN)) continue;
        if (::recv(fd_, chunk, sizeof chunk, 0) <= 0) return;
    }
}

void HostileServer::Connection::Reset() {
    if (fd_ < 0) return;
    // A zero linger time makes close send a reset and drop whatever is unsent.
    linger hard{1, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    ::close(fd_);
    fd_ = -1;
}

HostileServer::HostileServer(Script script) : script_(std::move(script)) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listenFd_, 64);
    socklen_t length = sizeof address;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

HostileServer::~HostileServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    acceptor_.join();
    ::close(listenFd_);
    std::vector<std::thread> serving;
    {
        std::lock_guard lock(mutex_);
        serving.swap(serving_);
    }
    for (std::thread& thread : serving) thread.join();
}

std::string HostileServer::Address(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> HostileServer::RequestLines() const {
    std::lock_guard lock(mutex_);
    return requestLines_;
}

std::string HostileServer::Response(std::string_view statusLine, std::string_view headerLines,
                                    std::string_view body) {
    return std::string(statusLine) + "\r\n" + std::string(headerLines) +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

bool HostileServer::Pause(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    return !stopped_.wait_for(lock, duration, [this] { return stopping_.load(); });
}

void HostileServer::AcceptLoop() {
    while (!stopping_) {
        if (!WaitFor(listenFd_, POLLIN)) continue;
        const int fd = ::accept(listenFd_, nullptr, nullptr);
        if (fd < 0) continue;
        ++connections_;
        std::lock_guard lock(mutex_);
        serving_.emplace_back([this, fd] { Serve(fd); });
    }
}

void HostileServer::Serve(int fd) {
    Connection connection(*this, fd);
    std::string request;
    char chunk[4096];
    for (;;) {
        const std::size_t headEnd = request.find("\r\n\r\n");
        if (headEnd != std::string::npos &&
            request.size() >= headEnd + 4 + ContentLength(request.substr(0, headEnd + 2))) {
            break;
        }
        if (stopping_) return;
        if (!WaitFor(fd, POLLIN)) continue;
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got <= 0) return;
        request.append(chunk, static_cast<std::size_t>(got));
    }
    {
        std::lock_guard lock(mutex_);
        requestLines_.push_back(request.substr(0, request.find("\r\n")));
    }
    script_(connection, request);
}

}  // namespace lq::test

// Fuzzes WebAccess's handling of what a server sends back, over a real socket: a listener on
// 127.0.0.1 answers every request with the fuzzer's bytes and closes. Every request goes through
// that listener as a proxy, so a redirect to any host comes back here without a name lookup.
// Properties: the call ends, the body stays within its cap, the response headers are either a
// whole block under 5000 bytes with clean CR LF lines or the 5000 spaces of an undelivered
// block, and the received cookies are those of the delivered block's Set-Cookie lines.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "fuzz/fuzzsupport.h"
#include "text/gbktext.h"
#include "web/cookies.h"
#include "web/requestheaders.h"
#include "web/webaccess.h"

namespace {

using lq::fuzz::Require;

constexpr std::size_t kBodyCap = 64 * 1024;

// The listener: one thread, one connection at a time, each answered with the current reply.
class ReplyServer {
public:
    ReplyServer() {
        listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int on = 1;
        ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listenFd_, 64);
        socklen_t length = sizeof address;
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        // The process ends with the fuzzer; the thread is never joined.
        std::thread([this] { Serve(); }).detach();
    }

    int Port() const { return port_; }
    void SetReply(std::string reply) {
        std::lock_guard lock(mutex_);
        reply_ = std::move(reply);
    }

private:
    void Serve() {
        for (;;) {
            const int fd = ::accept(listenFd_, nullptr, nullptr);
            if (fd < 0) continue;
            timeval timeout{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
            ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
            std::string request;
            char chunk[4096];
            // The request whole, its body included: closing with unread bytes would reset the
            // connection and could drop the reply.
            while (!RequestComplete(request)) {
                const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
                if (got <= 0) break;
                request.append(chunk, static_cast<std::size_t>(got));
            }
            std::string reply;
            {
                std::lock_guard lock(mutex_);
                reply = reply_;
            }
            std::size_t sent = 0;
            while (sent < reply.size()) {
                const ssize_t put =
                    ::send(fd, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
                if (put <= 0) break;
                sent += static_cast<std::size_t>(put);
            }
            ::close(fd);
        }
    }

    static bool RequestComplete(const std::string& request) {
        const std::size_t headEnd = request.find("\r\n\r\n");
        if (headEnd == std::string::npos) return false;
        const std::string head = lq::AsciiLower(request.substr(0, headEnd + 2));
        const std::size_t at = head.find("\r\ncontent-length:");
        const std::size_t length =
            at == std::string::npos ? 0 : std::strtoul(head.c_str() + at + 17, nullptr, 10);
        return request.size() >= headEnd + 4 + length;
    }

    int listenFd_ = -1;
    int port_ = 0;
    std::mutex mutex_;
    std::string reply_;
};

ReplyServer& Server() {
    [[clang::no_destroy]] static ReplyServer server;
    return server;
}

bool CleanLines(std::string_view block) {
    for (std::size_t i = 0; i < block.size(); ++i) {
        if (block[i] == '\0') return false;
        if (block[i] == '\r' && (i + 1 == block.size() || block[i + 1] != '\n')) return false;
        if (block[i] == '\n' && (i == 0 || block[i - 1] != '\r')) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lq::WebLimits limits;
    limits.connectTimeoutMs = 2000;
    limits.stallTimeoutMs = 3000;
    limits.maxBodyBytes = kBodyCap;
    limits.maxRedirects = 3;
    lq::SetWebLimits(limits);
    Server();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 128 * 1024) return 0;
    const unsigned flags = data[0];
    ReplyServer& server = Server();
    server.SetReply(std::string(lq::fuzz::AsText(data + 1, size - 1)));

    const std::string address = "http://fuzz.invalid/page?x=1";
    const std::string proxy = "127.0.0.1:" + std::to_string(server.Port());
    std::optional<std::string> jar;
    if (flags & 1) jar = "a=1; old=2; c=3";
    const int method = (flags & 2) ? 2 : ((flags & 4) ? 1 : 0);
    const bool noRedirect = (flags & 8) != 0;
    std::string received;
    std::string headerText;
    std::string responseHeaders;
    lq::Bytes postBytes;

    const auto began = std::chrono::steady_clock::now();
    const lq::Bytes body = lq::WebAccess(address, method, "k=v", &jar, &received, &headerText,
                                         &responseHeaders, noRedirect, &postBytes, proxy);
    const auto took = std::chrono::steady_clock::now() - began;

    Require(took < std::chrono::seconds(20), "the call ends");
    Require(body.size() <= kBodyCap, "the body stays within its cap");
    const bool undelivered = responseHeaders == std::string(5000, ' ');
    if (!undelivered) {
        Require(responseHeaders.size() < 5000, "a delivered header block is under 5000 bytes");
        // libcurl takes the status line's "HTTP/" in any case, and so the block hands it on.
        Require(lq::AsciiLower(responseHeaders).starts_with("http/"),
                "a delivered block starts with the status line");
        Require(responseHeaders.ends_with("\r\n\r\n"),
                "a delivered block ends with its blank line");
        Require(CleanLines(responseHeaders), "header lines hold no stray CR, LF or zero byte");
    }
    Require(lq::ReplaceAll(responseHeaders, "Set-Cookie", "Set-Cookie", true) == responseHeaders,
            "Set-Cookie is spelled one way in the response headers");
    std::string expected = lq::CollectReceivedCookies(responseHeaders);
    if (jar) {
        std::string expectedJar = "a=1; old=2; c=3";
        lq::MergeCookies(expectedJar, expected);
        Require(*jar == expectedJar, "the caller's jar holds the merged cookies");
    }
    Require(received == expected, "the received cookies are those of the header block");
    Require(
        undelivered || received.empty() || responseHeaders.find("Set-Cookie") != std::string::npos,
        "cookies come only from Set-Cookie lines");
    return 0;
}

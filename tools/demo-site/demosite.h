// DemoSite: the demo share-search site served over HTTP on 127.0.0.1, with a request and
// connection counter. Tests start it in-process on port 0; the demo program wraps it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace lq::demosite {

struct DemoSiteOptions {
    int port = 0;                        // 0: any free port
    std::chrono::milliseconds delay{0};  // added to every response
    bool logRequests = false;            // one line per request on stderr
    int keepAliveSeconds = 2;            // an idle kept-alive connection is closed after this
};

struct DemoSiteStats {
    std::uint64_t requests = 0;     // every request except those for /stats
    std::uint64_t connections = 0;  // every accepted TCP connection
};
std::string StatsText(const DemoSiteStats& stats);  // "requests N\nconnections M\n"

class DemoSite {
public:
    explicit DemoSite(DemoSiteOptions options = {});
    ~DemoSite();  // Stop
    DemoSite(const DemoSite&) = delete;
    DemoSite& operator=(const DemoSite&) = delete;

    // Binds 127.0.0.1 and starts serving on a thread of its own; false when the port cannot be
    // bound. Connections made after Start returns are accepted.
    bool Start();
    // Stops accepting, waits for the requests in hand (a kept-alive idle connection may hold
    // this up to keepAliveSeconds) and joins the serving thread.
    void Stop();

    int Port() const { return port_; }
    std::string BaseAddress() const;  // "http://127.0.0.1:PORT"
    DemoSiteStats Stats() const;

private:
    void AddRoutes();
    void Delay();

    DemoSiteOptions options_;
    std::unique_ptr<httplib::Server> server_;
    std::thread serving_;
    int port_ = 0;
    std::atomic<std::uint64_t> requests_{0};
    std::atomic<std::uint64_t> connections_{0};
    std::mutex stopMutex_;
    std::condition_variable stopped_;  // wakes responses that are waiting out the delay
    bool stopping_ = false;
};

}  // namespace lq::demosite

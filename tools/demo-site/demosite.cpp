#include "tools/demo-site/demosite.h"

#include <httplib.h>
#include <sys/socket.h>

#include <cstdio>

#include "tools/demo-site/demopages.h"

namespace lq::demosite {
namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";
constexpr const char* kPlain = "text/plain; charset=utf-8";
// Each kept-alive client (a search run, the window thread) holds a thread while its connection
// idles; enough for superseded runs and benchmarks without queueing behind idle ones.
constexpr int kServingThreads = 32;

// The server hands every accepted connection to its task queue: counting what is queued counts
// TCP connections exactly, whatever the client does with keep-alive.
class CountingTaskQueue : public httplib::TaskQueue {
public:
    CountingTaskQueue(std::atomic<std::uint64_t>& connections, std::size_t threads)
        : connections_(connections), pool_(threads) {}
    void enqueue(std::function<void()> fn) override {
        ++connections_;
        pool_.enqueue(std::move(fn));
    }
    void shutdown() override { pool_.shutdown(); }

private:
    std::atomic<std::uint64_t>& connections_;
    httplib::ThreadPool pool_;
};

int PageNumber(const httplib::Request& request) {
    if (!request.has_param("page")) return 1;
    const std::string text = request.get_param_value("page");
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return 1;
    }
    return std::stoi(text);
}

}  // namespace

std::string StatsText(const DemoSiteStats& stats) {
    return "requests " + std::to_string(stats.requests) + "\nconnections " +
           std::to_string(stats.connections) + "\n";
}

DemoSite::DemoSite(DemoSiteOptions options)
    : options_(options), server_(std::make_unique<httplib::Server>()) {
    // httplib takes ownership of the queue it is handed (it keeps it in a unique_ptr).
    server_->new_task_queue = [this] {
        return std::make_unique<CountingTaskQueue>(connections_, kServingThreads).release();
    };
    // The library's default also sets SO_REUSEPORT, which would let a second site share a busy
    // port unnoticed; address reuse alone lets a restarted site take its port back at once.
    server_->set_socket_options([](socket_t socket) {
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    server_->set_keep_alive_timeout(options_.keepAliveSeconds);
    // The library closes a connection after 5 requests by default; real sites keep one open for
    // hundreds, and a whole search should be able to travel on one connection here too.
    server_->set_keep_alive_max_count(1000);
    // Headers and body leave in separate writes: without this, Nagle and delayed ACKs hold each
    // response of a kept-alive connection back by tens of milliseconds.
    server_->set_tcp_nodelay(true);
    server_->set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
        if (request.path != "/stats") ++requests_;
        Delay();
        return httplib::Server::HandlerResponse::Unhandled;
    });
    if (options_.logRequests) {
        server_->set_logger([](const httplib::Request& request, const httplib::Response& response) {
            std::fprintf(stderr, "%s %s:%d %s %s %d\n", "demo-site", request.remote_addr.c_str(),
                         request.remote_port, request.method.c_str(), request.target.c_str(),
                         response.status);
        });
    }
    AddRoutes();
}

DemoSite::~DemoSite() { Stop(); }

void DemoSite::AddRoutes() {
    httplib::Server& server = *server_;
    server.Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(HomePage(), kHtml);
    });
    server.Get("/s/", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(ResultPage(request.get_param_value("kw"), PageNumber(request)), kHtml);
    });
    server.Get(R"(/t/([0-9A-Za-z]{1,32}))",
               [](const httplib::Request& request, httplib::Response& response) {
                   response.set_content(DetailPage(request.matches[1].str()), kHtml);
               });
    server.Get(R"(/go/([0-9A-Za-z]{1,32}))", [this](const httplib::Request& request,
                                                    httplib::Response& response) {
        const std::string shareAddress = BaseAddress() + "/share/" + request.matches[1].str();
        response.set_content(GoPage(shareAddress), kHtml);
    });
    server.Get(R"(/share/([0-9A-Za-z]{1,32}))",
               [](const httplib::Request& request, httplib::Response& response) {
                   response.set_content(SharePage(request.matches[1].str()), kHtml);
               });
    server.Get("/top/", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(TopPage(), kHtml);
    });
    server.Get("/vrx.txt", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(NoticeText(), kPlain);
    });
    server.Get("/stats", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content(StatsText(Stats()), kPlain);
    });
    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.status == 404) response.set_content(NotFoundPage(), kHtml);
    });
}

void DemoSite::Delay() {
    if (options_.delay.count() <= 0) return;
    std::unique_lock lock(stopMutex_);
    stopped_.wait_for(lock, options_.delay, [this] { return stopping_; });
}

bool DemoSite::Start() {
    if (serving_.joinable()) return true;
    port_ = options_.port == 0
                ? server_->bind_to_any_port("127.0.0.1")
                : (server_->bind_to_port("127.0.0.1", options_.port) ? options_.port : -1);
    if (port_ <= 0) {
        port_ = 0;
        return false;
    }
    serving_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only acts on a running server: wait until the loop runs so Stop cannot miss it.
    for (int i = 0; i < 5000 && !server_->is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void DemoSite::Stop() {
    if (!serving_.joinable()) return;
    {
        std::lock_guard lock(stopMutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    server_->stop();
    serving_.join();
}

std::string DemoSite::BaseAddress() const { return "http://127.0.0.1:" + std::to_string(port_); }

DemoSiteStats DemoSite::Stats() const { return {requests_.load(), connections_.load()}; }

}  // namespace lq::demosite

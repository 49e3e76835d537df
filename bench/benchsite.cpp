// lumaquest-bench-site: the demo site's result, go and share pages served with no limit on the
// requests one kept-alive connection may carry, so bench/run-search can count the client's own
// connections whatever limit the demo site's server keeps.
//   lumaquest-bench-site [--delay-ms N]   prints "listening on http://127.0.0.1:PORT"
// GET /stats gives "requests N\nconnections M\n" like the demo site.
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "tools/demo-site/demopages.h"

namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";

class CountingTaskQueue : public httplib::TaskQueue {
public:
    explicit CountingTaskQueue(std::atomic<unsigned long>& connections)
        : connections_(connections), pool_(8) {}
    void enqueue(std::function<void()> fn) override {
        ++connections_;
        pool_.enqueue(std::move(fn));
    }
    void shutdown() override { pool_.shutdown(); }

private:
    std::atomic<unsigned long>& connections_;
    httplib::ThreadPool pool_;
};

int PageNumber(const httplib::Request& request) {
    const std::string text = request.has_param("page") ? request.get_param_value("page") : "1";
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return 1;
    }
    return std::atoi(text.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    int delayMs = 0;
    if (argc == 3 && std::strcmp(argv[1], "--delay-ms") == 0) {
        delayMs = std::atoi(argv[2]);
    } else if (argc != 1) {
        std::fputs("usage: lumaquest-bench-site [--delay-ms N]\n", stderr);
        return 2;
    }
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::atomic<unsigned long> requests{0};
    std::atomic<unsigned long> connections{0};
    httplib::Server server;
    server.new_task_queue = [&connections] {
        return std::make_unique<CountingTaskQueue>(connections).release();
    };
    server.set_keep_alive_max_count(1000000);
    server.set_keep_alive_timeout(5);
    server.set_tcp_nodelay(true);
    server.set_pre_routing_handler([&](const httplib::Request& request, httplib::Response&) {
        if (request.path != "/stats") {
            ++requests;
            if (delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    int port = 0;
    server.Get("/s/", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(
            lq::demosite::ResultPage(request.get_param_value("kw"), PageNumber(request)), kHtml);
    });
    server.Get(R"(/go/([0-9A-Za-z]{1,32}))", [&port](const httplib::Request& request,
                                                     httplib::Response& response) {
        response.set_content(lq::demosite::GoPage("http://127.0.0.1:" + std::to_string(port) +
                                                  "/share/" + request.matches[1].str()),
                             kHtml);
    });
    server.Get(R"(/share/([0-9A-Za-z]{1,32}))",
               [](const httplib::Request& request, httplib::Response& response) {
                   response.set_content(lq::demosite::SharePage(request.matches[1].str()), kHtml);
               });
    server.Get("/stats", [&](const httplib::Request&, httplib::Response& response) {
        response.set_content("requests " + std::to_string(requests.load()) + "\nconnections " +
                                 std::to_string(connections.load()) + "\n",
                             "text/plain");
    });
    port = server.bind_to_any_port("127.0.0.1");
    if (port <= 0) return 1;
    std::thread serving([&server] { server.listen_after_bind(); });
    std::printf("listening on http://127.0.0.1:%d\n", port);
    std::fflush(stdout);
    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    serving.join();
    return 0;
}

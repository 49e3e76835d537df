// A local stand-in for the share-search site: serves fixed bodies by request target on
// 127.0.0.1, keeps a log of the targets asked for, and can hold a response back for a while.
#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace lq::test {

class FixtureSite {
public:
    FixtureSite();   // listening on a free port when this returns
    ~FixtureSite();  // releases held responses, stops and joins the server
    FixtureSite(const FixtureSite&) = delete;
    FixtureSite& operator=(const FixtureSite&) = delete;

    std::string Base() const;  // "http://127.0.0.1:PORT"

    // The body served for a request target (path and query exactly as sent). Targets without a
    // body are answered 404 with an empty body.
    void Serve(const std::string& target, std::string body);
    // Holds the response to target back this long (released early when the site closes).
    void Delay(const std::string& target, std::chrono::milliseconds delay);

    std::vector<std::string> Requests() const;  // targets in arrival order
    // Waits until target has been asked for; false after the timeout.
    bool WaitForRequest(const std::string& target, std::chrono::milliseconds timeout);

private:
    struct Handler;

    std::unique_ptr<httplib::Server> server_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool closing_ = false;
    std::map<std::string, std::string> bodies_;
    std::map<std::string, std::chrono::milliseconds> delays_;
    std::vector<std::string> requests_;
    std::thread listener_;
};

// The site's result markup, built from UTF-8 parts.
struct FixtureHit {
    std::string id;
    std::string name;  // the title attribute
    std::string size;  // "" for an information line without a size segment
    std::string downloads;
};
std::string HitMarkup(const FixtureHit& hit);
// A result page with these hits and a pager whose numbers run 1..lastPage (0: no pager).
std::string ResultPageHtml(const std::vector<FixtureHit>& hits, int lastPage);
std::string GoPageHtml(const std::string& target);

}  // namespace lq::test

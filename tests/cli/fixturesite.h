// A tiny stand-in site for the command line's odd cases (names with control characters, hostile
// go targets, a notice that must stay hidden): fixed bodies by exact request target.
#pragma once

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
    FixtureSite();   // listening on 127.0.0.1 on a free port when this returns
    ~FixtureSite();  // stops and joins
    FixtureSite(const FixtureSite&) = delete;
    FixtureSite& operator=(const FixtureSite&) = delete;

    std::string Base() const;  // "http://127.0.0.1:PORT"
    // The UTF-8 body for a target (path and query as sent); other targets get 404.
    void Serve(const std::string& target, std::string body);
    std::vector<std::string> Requests() const;

private:
    std::unique_ptr<httplib::Server> server_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::map<std::string, std::string> bodies_;
    std::vector<std::string> requests_;
    std::thread listener_;
};

// One hit in the site's markup, from UTF-8 parts; size "" writes the line without a size.
std::string FixtureHitMarkup(const std::string& id, const std::string& name,
                             const std::string& size, const std::string& downloads);
// A result page around the hits, with a pager showing 1 only.
std::string FixtureResultPage(const std::string& hitsMarkup);
std::string FixtureGoPage(const std::string& target);

}  // namespace lq::test

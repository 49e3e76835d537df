// A small share-search site for the window's tests, on 127.0.0.1 and any free port: the top
// list and the notice are whatever the test sets, result and go pages come from the demo
// site's page makers, and searches can be held back to keep a run busy.
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
    FixtureSite();
    ~FixtureSite();
    FixtureSite(const FixtureSite&) = delete;
    FixtureSite& operator=(const FixtureSite&) = delete;

    std::string Base() const;  // "http://127.0.0.1:PORT"

    // All texts UTF-8. Titles go into the top list's links as they are.
    void SetTopTitles(const std::vector<std::string>& titles);
    void SetNotice(const std::string& notice);
    // The go page of shareId sends the browser to target instead of the usual share address.
    void SetGoTarget(const std::string& shareId, const std::string& target);
    static std::string ShareAddress(const std::string& shareId);  // the usual go target
    // Result pages are answered only after this long (or when the site stops).
    void SetSearchDelay(std::chrono::milliseconds delay);

    std::vector<std::string> SearchedKeywords() const;  // kw of every result page asked for
    int GoRequests() const;
    void ClearCounts();

private:
    void HoldSearch();

    std::unique_ptr<httplib::Server> server_;
    std::thread serving_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable stopping_;
    bool stopped_ = false;
    std::string topPage_;
    std::string notice_;
    std::map<std::string, std::string> goTargets_;
    std::chrono::milliseconds searchDelay_{0};
    std::vector<std::string> keywords_;
    int goRequests_ = 0;
};

// The site every test in this program talks to (the settings point at it once, at start).
FixtureSite& SharedSite();

}  // namespace lq::test

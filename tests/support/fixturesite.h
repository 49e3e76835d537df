// A local stand-in for the share-search site, shared by the search, command-line and window
// tests: listens on 127.0.0.1 on a free port, serves fixed bodies by request target, logs what
// was asked for and can hold responses back. Asked to, it answers every other target the way the
// demo site does, with a top list and notice the test sets.
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
struct Request;
struct Response;
}  // namespace httplib

namespace lq::test {

class FixtureSite {
public:
    // What a target without a fixed body gets.
    enum class Unserved {
        NotFound,   // 404 with an empty body
        DemoPages,  // /s/ and /go/ pages from the demo site's page makers; /top/ and /vrx.txt
                    // from SetTopTitles and SetNotice; 404 for anything else
    };

    explicit FixtureSite(Unserved unserved = Unserved::NotFound);  // listening when this returns
    ~FixtureSite();  // releases held responses, stops and joins the server
    FixtureSite(const FixtureSite&) = delete;
    FixtureSite& operator=(const FixtureSite&) = delete;

    std::string Base() const;  // "http://127.0.0.1:PORT"

    // The UTF-8 body served for a request target (path and query exactly as sent).
    void Serve(const std::string& target, std::string body,
               std::string contentType = "text/html; charset=utf-8");
    // Holds the response to target back this long (released early when the site closes).
    void Delay(const std::string& target, std::chrono::milliseconds delay);

    std::vector<std::string> Requests() const;  // targets in arrival order
    // Waits until target has been asked for; false after the timeout.
    bool WaitForRequest(const std::string& target, std::chrono::milliseconds timeout);

    // For Unserved::DemoPages. All texts UTF-8; titles go into the top list's links as they are.
    void SetTopTitles(const std::vector<std::string>& titles);
    void SetNotice(const std::string& notice);
    // The go page of shareId sends the browser to target instead of the usual share address.
    void SetGoTarget(const std::string& shareId, const std::string& target);
    static std::string ShareAddress(const std::string& shareId);  // the usual go target
    // Result pages are answered only after this long (or when the site closes).
    void SetSearchDelay(std::chrono::milliseconds delay);
    std::vector<std::string> SearchedKeywords() const;  // kw of every result page asked for
    int GoRequests() const;

    void ClearCounts();  // forgets the requests, keywords and go requests seen so far

private:
    void Answer(const httplib::Request& request, httplib::Response& response);
    // Unserved::DemoPages; lock holds mutex_. False when the path is none of the site's pages.
    bool AnswerLikeDemoSite(const httplib::Request& request, httplib::Response& response,
                            std::unique_lock<std::mutex>& lock);

    struct Body {
        std::string text;
        std::string contentType;
    };

    const Unserved unserved_;
    std::unique_ptr<httplib::Server> server_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable changed_;  // a request arrived, or the site is closing
    bool closing_ = false;
    std::map<std::string, Body> bodies_;
    std::map<std::string, std::chrono::milliseconds> delays_;
    std::vector<std::string> requests_;
    std::string topPage_;
    std::string notice_;
    std::map<std::string, std::string> goTargets_;
    std::chrono::milliseconds searchDelay_{0};
    std::vector<std::string> keywords_;
    int goRequests_ = 0;
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

// The shared fixture site: one catch-all handler that logs, holds, then answers by exact target,
// falling back to demo-site pages when the test asked for them.
#include "tests/support/fixturesite.h"

#include <httplib.h>

#include <stdexcept>

#include "tools/demo-site/demopages.h"

namespace lq::test {
namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";

int PageNumber(const httplib::Request& request) {
    try {
        return std::stoi(request.get_param_value("page"));
    } catch (...) {
        return 1;
    }
}

// "/go/" followed by 1 to 32 letters and digits: the id, or "" when path is no go page.
std::string GoPageId(const std::string& path) {
    constexpr std::string_view kPrefix = "/go/";
    if (path.rfind(kPrefix, 0) != 0) return {};
    std::string id = path.substr(kPrefix.size());
    if (id.empty() || id.size() > 32) return {};
    for (const char c : id) {
        const bool alnum =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!alnum) return {};
    }
    return id;
}

}  // namespace

FixtureSite::FixtureSite(Unserved unserved)
    : unserved_(unserved), server_(std::make_unique<httplib::Server>()) {
    // One request per connection, and a short keep-alive time: an idle keep-alive connection
    // would otherwise hold the server's shutdown for its whole keep-alive time.
    server_->set_keep_alive_max_count(1);
    server_->set_keep_alive_timeout(1);
    server_->set_tcp_nodelay(true);
    server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        Answer(request, response);
    });
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("fixture site: no port");
    listener_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only takes effect once the server loop runs.
    for (int i = 0; i < 5000 && !server_->is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

FixtureSite::~FixtureSite() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    server_->stop();
    listener_.join();
}

std::string FixtureSite::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

void FixtureSite::Answer(const httplib::Request& request, httplib::Response& response) {
    std::unique_lock lock(mutex_);
    requests_.push_back(request.target);
    changed_.notify_all();
    if (const auto delay = delays_.find(request.target); delay != delays_.end()) {
        changed_.wait_for(lock, delay->second, [this] { return closing_; });
    }
    if (const auto body = bodies_.find(request.target); body != bodies_.end()) {
        response.set_content(body->second.text, body->second.contentType);
        return;
    }
    if (unserved_ == Unserved::DemoPages && AnswerLikeDemoSite(request, response, lock)) return;
    response.status = 404;
}

bool FixtureSite::AnswerLikeDemoSite(const httplib::Request& request, httplib::Response& response,
                                     std::unique_lock<std::mutex>& lock) {
    if (request.path == "/top/") {
        response.set_content(topPage_, kHtml);
        return true;
    }
    if (request.path == "/vrx.txt") {
        response.set_content(notice_, "text/plain; charset=utf-8");
        return true;
    }
    if (request.path == "/s/") {
        const std::string keyword = request.get_param_value("kw");
        keywords_.push_back(keyword);
        changed_.wait_for(lock, searchDelay_, [this] { return closing_; });
        lock.unlock();
        response.set_content(demosite::ResultPage(keyword, PageNumber(request)), kHtml);
        return true;
    }
    if (const std::string id = GoPageId(request.path); !id.empty()) {
        ++goRequests_;
        const auto it = goTargets_.find(id);
        const std::string target = it == goTargets_.end() ? ShareAddress(id) : it->second;
        response.set_content(demosite::GoPage(target), kHtml);
        return true;
    }
    return false;
}

void FixtureSite::Serve(const std::string& target, std::string body, std::string contentType) {
    std::lock_guard lock(mutex_);
    bodies_[target] = {std::move(body), std::move(contentType)};
}

void FixtureSite::Delay(const std::string& target, std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    delays_[target] = delay;
}

std::vector<std::string> FixtureSite::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool FixtureSite::WaitForRequest(const std::string& target, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
        for (const auto& asked : requests_) {
            if (asked == target) return true;
        }
        return false;
    });
}

void FixtureSite::SetTopTitles(const std::vector<std::string>& titles) {
    std::string page = "<html><body><div class=\"top\">\n";
    for (const std::string& title : titles) {
        page += "<a href=\"/s/?kw=x\" target=\"_blank\" title=\"";
        page += title;
        page += "\">";
        page += title;
        page += "</a>\n";
    }
    page += "</div></body></html>\n";
    std::lock_guard lock(mutex_);
    topPage_ = std::move(page);
}

void FixtureSite::SetNotice(const std::string& notice) {
    std::lock_guard lock(mutex_);
    notice_ = notice;
}

void FixtureSite::SetGoTarget(const std::string& shareId, const std::string& target) {
    std::lock_guard lock(mutex_);
    goTargets_[shareId] = target;
}

std::string FixtureSite::ShareAddress(const std::string& shareId) {
    return "https://pan.example.com/s/" + shareId;
}

void FixtureSite::SetSearchDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    searchDelay_ = delay;
}

std::vector<std::string> FixtureSite::SearchedKeywords() const {
    std::lock_guard lock(mutex_);
    return keywords_;
}

int FixtureSite::GoRequests() const {
    std::lock_guard lock(mutex_);
    return goRequests_;
}

void FixtureSite::ClearCounts() {
    std::lock_guard lock(mutex_);
    requests_.clear();
    keywords_.clear();
    goRequests_ = 0;
}

std::string HitMarkup(const FixtureHit& hit) {
    std::string markup = "<div class=\"catlist-li\"><a href=\"/t/" + hit.id +
                         "\" target=\"_blank\" title=\"" + hit.name + "\"><span>" + hit.name +
                         "</span></a></div><div class=\"catlist-li-info\">";
    if (!hit.size.empty()) markup += "文件大小：" + hit.size + "<i></i>";
    markup += " 下载次数：" + hit.downloads + " <i></i>浏览次数：" + hit.downloads + "0</div>\n";
    return markup;
}

std::string ResultPageHtml(const std::vector<FixtureHit>& hits, int lastPage) {
    std::string html = "<html><head><meta charset=\"utf-8\"><title>搜索结果</title></head><body>\n";
    for (const auto& hit : hits) html += HitMarkup(hit);
    if (lastPage > 0) {
        html += "<div class=\"pager\">";
        for (int page = 1; page <= lastPage; ++page) {
            html += "<a href=\"?page=" + std::to_string(page) + "\">&nbsp;" + std::to_string(page) +
                    "&nbsp;</a>";
        }
        html += "</div>\n";
    }
    return html + "</body></html>\n";
}

std::string GoPageHtml(const std::string& target) {
    return "<html><body><script>location.href='" + target + "';</script></body></html>";
}

}  // namespace lq::test

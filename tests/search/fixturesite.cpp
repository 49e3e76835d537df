#include "tests/search/fixturesite.h"

#include <httplib.h>

#include <stdexcept>

namespace lq::test {

FixtureSite::FixtureSite() : server_(std::make_unique<httplib::Server>()) {
    // One request per connection: an idle keep-alive connection would hold the server's
    // shutdown for its whole keep-alive time.
    server_->set_keep_alive_max_count(1);
    server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        std::unique_lock lock(mutex_);
        requests_.push_back(request.target);
        changed_.notify_all();
        if (auto delay = delays_.find(request.target); delay != delays_.end()) {
            changed_.wait_for(lock, delay->second, [this] { return closing_; });
        }
        const auto body = bodies_.find(request.target);
        if (body == bodies_.end()) {
            response.status = 404;
            return;
        }
        response.set_content(body->second, "text/html; charset=utf-8");
    });
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("fixture site: no port");
    listener_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() only takes effect once the server loop runs.
    while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
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

void FixtureSite::Serve(const std::string& target, std::string body) {
    std::lock_guard lock(mutex_);
    bodies_[target] = std::move(body);
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

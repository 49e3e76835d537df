#include "tests/cli/fixturesite.h"

#include <httplib.h>

#include <chrono>

namespace lq::test {

FixtureSite::FixtureSite() : server_(std::make_unique<httplib::Server>()) {
    server_->set_keep_alive_timeout(1);
    server_->set_tcp_nodelay(true);
    server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        std::lock_guard lock(mutex_);
        requests_.push_back(request.target);
        const auto found = bodies_.find(request.target);
        if (found == bodies_.end()) {
            response.status = 404;
            return;
        }
        response.set_content(found->second, "text/html; charset=utf-8");
    });
    port_ = server_->bind_to_any_port("127.0.0.1");
    listener_ = std::thread([this] { server_->listen_after_bind(); });
    while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

FixtureSite::~FixtureSite() {
    server_->stop();
    listener_.join();
}

std::string FixtureSite::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

void FixtureSite::Serve(const std::string& target, std::string body) {
    std::lock_guard lock(mutex_);
    bodies_[target] = std::move(body);
}

std::vector<std::string> FixtureSite::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::string FixtureHitMarkup(const std::string& id, const std::string& name,
                             const std::string& size, const std::string& downloads) {
    std::string markup = "<div class=\"catlist-li\"><div class=\"catlist-li-title\"><a href=\"/t/" +
                         id + "\" target=\"_blank\" title=\"" + name + "\">" + name +
                         "</a></div><div class=\"catlist-li-info\">";
    if (!size.empty()) markup += "文件大小：" + size + "<i></i>";
    markup += " 下载次数：" + downloads + " <i></i>浏览次数：7</div></div>\n";
    return markup;
}

std::string FixtureResultPage(const std::string& hitsMarkup) {
    return "<html><head><meta charset=\"utf-8\"></head><body>\n" + hitsMarkup +
           "<div class=\"pager\"><span>&nbsp;1&nbsp;</span></div></body></html>\n";
}

std::string FixtureGoPage(const std::string& target) {
    return "<html><body><script>location.href='" + target + "';</script></body></html>\n";
}

}  // namespace lq::test

#include "tests/app/fixturesite.h"

#include <httplib.h>

#include "tools/demo-site/demopages.h"

namespace lq::test {
namespace {

int PageNumber(const httplib::Request& request) {
    try {
        return std::stoi(request.get_param_value("page"));
    } catch (...) {
        return 1;
    }
}

}  // namespace

FixtureSite::FixtureSite() : server_(std::make_unique<httplib::Server>()) {
    server_->set_keep_alive_timeout(1);
    server_->Get("/top/", [this](const httplib::Request&, httplib::Response& response) {
        std::lock_guard lock(mutex_);
        response.set_content(topPage_, "text/html; charset=utf-8");
    });
    server_->Get("/vrx.txt", [this](const httplib::Request&, httplib::Response& response) {
        std::lock_guard lock(mutex_);
        response.set_content(notice_, "text/plain; charset=utf-8");
    });
    server_->Get("/s/", [this](const httplib::Request& request, httplib::Response& response) {
        const std::string keyword = request.get_param_value("kw");
        {
            std::lock_guard lock(mutex_);
            keywords_.push_back(keyword);
        }
        HoldSearch();
        response.set_content(demosite::ResultPage(keyword, PageNumber(request)),
                             "text/html; charset=utf-8");
    });
    server_->Get(R"(/go/([0-9A-Za-z]{1,32}))", [this](const httplib::Request& request,
                                                      httplib::Response& response) {
        const std::string id = request.matches[1].str();
        std::lock_guard lock(mutex_);
        ++goRequests_;
        const auto it = goTargets_.find(id);
        const std::string target = it == goTargets_.end() ? ShareAddress(id) : it->second;
        response.set_content(demosite::GoPage(target), "text/html; charset=utf-8");
    });
    port_ = server_->bind_to_any_port("127.0.0.1");
    serving_ = std::thread([this] { server_->listen_after_bind(); });
    for (int i = 0; i < 5000 && !server_->is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

FixtureSite::~FixtureSite() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
    }
    stopping_.notify_all();
    server_->stop();
    serving_.join();
}

std::string FixtureSite::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::string FixtureSite::ShareAddress(const std::string& shareId) {
    return "https://pan.example.com/s/" + shareId;
}

void FixtureSite::SetTopTitles(const std::vector<std::string>& titles) {
    std::string page = "<html><body><div class=\"top\">\n";
    for (const std::string& title : titles) {
        page +=
            "<a href=\"/s/?kw=x\" target=\"_blank\" title=\"" + title + "\">" + title + "</a>\n";
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

void FixtureSite::SetSearchDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    searchDelay_ = delay;
}

void FixtureSite::HoldSearch() {
    std::unique_lock lock(mutex_);
    stopping_.wait_for(lock, searchDelay_, [this] { return stopped_; });
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
    keywords_.clear();
    goRequests_ = 0;
}

}  // namespace lq::test

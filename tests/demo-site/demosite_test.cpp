// The demo site over HTTP: routes, the go target naming the site's own port, the counters and
// the per-response delay.
#include <gtest/gtest.h>

#include <httplib.h>

#include <chrono>
#include <string>

#include "tools/demo-site/demopages.h"
#include "tools/demo-site/demosite.h"

namespace lq::demosite {
namespace {

class DemoSiteTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(site_.Start()); }

    // One request on a fresh connection (the client closes it afterwards).
    httplib::Result Get(const std::string& target) {
        httplib::Client client("127.0.0.1", site_.Port());
        client.set_connection_timeout(5);
        client.set_read_timeout(5);
        return client.Get(target.c_str());
    }

    DemoSite site_;
};

TEST_F(DemoSiteTest, ServesEveryKindOfPage) {
    struct Case {
        std::string target;
        int status;
        std::string body;  // expected whole body, or "" to check the status only
        std::string contentType;
    };
    const Case cases[] = {
        {"/s/?kw=%E7%94%B5%E5%BD%B1&page=2", 200, ResultPage("电影", 2),
         "text/html; charset=utf-8"},
        {"/s/?kw=%E7%94%B5%E5%BD%B1%23p3&page=1", 200, ResultPage("电影#p3", 1), ""},
        {"/s/?kw=&page=1", 200, ResultPage("", 1), ""},
        {"/s/?kw=abc", 200, ResultPage("abc", 1), ""},
        {"/s/?kw=abc&page=x", 200, ResultPage("abc", 1), ""},
        {"/top/?b=3", 200, TopPage(), "text/html; charset=utf-8"},
        {"/vrx.txt", 200, NoticeText(), "text/plain; charset=utf-8"},
        {"/share/1AbC9xYz", 200, SharePage("1AbC9xYz"), ""},
        {"/t/1AbC9xYz", 200, DetailPage("1AbC9xYz"), ""},
        {"/go/bad-id", 404, "", ""},
        {"/nothing/here", 404, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        const auto result = Get(c.target);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, c.status);
        if (!c.body.empty()) {
            EXPECT_EQ(result->body, c.body);
        }
        if (!c.contentType.empty()) {
            EXPECT_EQ(result->get_header_value("Content-Type"), c.contentType);
        }
    }
}

TEST_F(DemoSiteTest, GoPageSendsTheBrowserToAShareOnTheSiteItself) {
    const auto result = Get("/go/1AbC9xYz");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->body, GoPage(site_.BaseAddress() + "/share/1AbC9xYz"));
    EXPECT_EQ(site_.BaseAddress(), "http://127.0.0.1:" + std::to_string(site_.Port()));
}

TEST_F(DemoSiteTest, CountsRequestsAndConnectionsButNotItsOwnStats) {
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(Get("/vrx.txt"));
    // Two requests on one kept-alive connection.
    httplib::Client client("127.0.0.1", site_.Port());
    client.set_keep_alive(true);
    ASSERT_TRUE(client.Get("/top/?b=3"));
    ASSERT_TRUE(client.Get("/go/1AbC9xYz"));
    client.stop();

    const DemoSiteStats stats = site_.Stats();
    EXPECT_EQ(stats.requests, 5u);
    EXPECT_EQ(stats.connections, 4u);

    const auto text = Get("/stats");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->body, "requests 5\nconnections 5\n");
    EXPECT_EQ(site_.Stats().requests, 5u);
}

TEST(DemoSiteOptionsTest, DelayHoldsEveryResponseBack) {
    DemoSite site({.port = 0, .delay = std::chrono::milliseconds(150)});
    ASSERT_TRUE(site.Start());
    httplib::Client client("127.0.0.1", site.Port());
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(client.Get("/vrx.txt"));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
}

TEST(DemoSiteOptionsTest, ABusyPortIsRefusedAndStopIsSafeTwice) {
    DemoSite first;
    ASSERT_TRUE(first.Start());
    DemoSite second({.port = first.Port()});
    EXPECT_FALSE(second.Start());
    second.Stop();
    first.Stop();
    first.Stop();
}

}  // namespace
}  // namespace lq::demosite

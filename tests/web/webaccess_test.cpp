// WebAccess against a raw local listener: the exact request bytes on the wire, the out-parameters,
// redirects, cookies, proxies, and servers that misbehave.
#include "web/webaccess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

#include "rawserver.h"

namespace lq {
namespace {

using test::RawServer;
using namespace std::chrono_literals;

const std::string kTail =
    "Accept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded\r\n";

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

RawServer::Answer Ok(std::string_view body) {
    return {RawServer::Response("HTTP/1.1 200 OK", "", body)};
}

int CountOf(const std::string& text, std::string_view what) {
    int count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

class WebAccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        WebLimits shortLimits;
        shortLimits.connectTimeoutMs = 2000;
        shortLimits.stallTimeoutMs = 2000;
        SetWebLimits(shortLimits);
    }
    void TearDown() override { SetWebLimits(WebLimits{}); }

    // "Host: 127.0.0.1:<port>\r\n" for server.
    static std::string HostLine(const RawServer& server) {
        return "Host: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n";
    }
    static std::string AgentLine() { return "User-Agent: " + std::string(kDefaultAgent) + "\r\n"; }
};

TEST_F(WebAccessTest, PlainGetSendsTheDefaultBlockAndReturnsTheBodyUnchanged) {
    const std::string body("bin\0\xFF\x80 body", 10);
    RawServer server([&](const std::string&) { return Ok(body); });
    const std::string address = server.Address("/s/?kw=abc&page=1");
    std::string headerText;
    std::string responseHeaders = "old";
    std::string received = "old";

    const Bytes result =
        WebAccess(address, 0, {}, nullptr, &received, &headerText, &responseHeaders);

    EXPECT_EQ(Text(result), body);
    EXPECT_EQ(server.LastRequest(), "GET /s/?kw=abc&page=1 HTTP/1.1\r\n" + HostLine(server) +
                                        AgentLine() + "Accept: */*\r\nReferer: " + address +
                                        "\r\n" + kTail + "\r\n");
    EXPECT_EQ(headerText, "Accept: */*\r\nReferer: " + address +
                              "\r\nAccept-Language: zh-cn\r\n"
                              "Content-Type: application/x-www-form-urlencoded");
    EXPECT_EQ(responseHeaders, "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n");
    EXPECT_EQ(received, "");
}

TEST_F(WebAccessTest, MethodsOutsideTheRangeAreGetAndHeadWithoutBodyIsPlain) {
    RawServer server([](const std::string&) { return Ok("x"); });
    const struct {
        int method;
        const char* requestLine;
    } cases[] = {
        {7, "GET /m HTTP/1.1\r\n"}, {-1, "GET /m HTTP/1.1\r\n"}, {2, "HEAD /m HTTP/1.1\r\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method);
        WebAccess(server.Address("/m"), c.method);
        EXPECT_TRUE(server.LastRequest().starts_with(c.requestLine)) << server.LastRequest();
        EXPECT_EQ(CountOf(server.LastRequest(), "Content-Length"), 0);
    }
}

TEST_F(WebAccessTest, PostSendsThePostTextAsBytesAndHandsThemBack) {
    RawServer server([](const std::string&) { return Ok("posted"); });
    Bytes postBytes;
    const Bytes result = WebAccess(server.Address("/form"), 1, "a=1&b=2", nullptr, nullptr, nullptr,
                                   nullptr, false, &postBytes);
    EXPECT_EQ(Text(result), "posted");
    EXPECT_EQ(Text(postBytes), "a=1&b=2");
    const std::string request = server.LastRequest();
    EXPECT_TRUE(request.starts_with("POST /form HTTP/1.1\r\n")) << request;
    EXPECT_TRUE(request.ends_with(kTail + "Content-Length: 7\r\n\r\na=1&b=2")) << request;
    EXPECT_EQ(CountOf(request, "Content-Type"), 1);
    EXPECT_EQ(CountOf(request, "Expect"), 0);
}

TEST_F(WebAccessTest, PostBytesWinOverThePostText) {
    RawServer server([](const std::string&) { return Ok(""); });
    Bytes postBytes = ToBytes("x=9");
    WebAccess(server.Address("/form"), 1, "a=1", nullptr, nullptr, nullptr, nullptr, false,
              &postBytes);
    EXPECT_TRUE(server.LastRequest().ends_with("Content-Length: 3\r\n\r\nx=9"));
    EXPECT_EQ(Text(postBytes), "x=9");
}

TEST_F(WebAccessTest, HeadWithABodyEndsWhenTheHeadersEnd) {
    // The response announces a body that a HEAD response never carries.
    RawServer server([](const std::string&) {
        return RawServer::Answer{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n",
                                 RawServer::Behaviour::Silent};
    });
    std::string responseHeaders;
    const auto started = std::chrono::steady_clock::now();
    const Bytes result =
        WebAccess(server.Address("/h"), 2, "q=1", nullptr, nullptr, nullptr, &responseHeaders);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1500ms);
    EXPECT_TRUE(result.empty());
    EXPECT_EQ(responseHeaders, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n");
    EXPECT_TRUE(server.LastRequest().starts_with("HEAD /h HTTP/1.1\r\n"));
    EXPECT_TRUE(server.LastRequest().ends_with("\r\n\r\nq=1"));
}

TEST_F(WebAccessTest, CallerHeaderBlocksAreCompletedAndSentInOrder) {
    RawServer server([](const std::string&) { return Ok(""); });
    const std::string address = server.Address("/p");
    const struct {
        std::string callerBlock;
        std::string completed;
        bool ownAgentLine;  // the default agent is sent on a line of its own
    } cases[] = {
        {"Referer: x",
         "Referer: x\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
         "Content-Type: application/x-www-form-urlencoded",
         true},
        // The Accept test is case-sensitive: both lines go out, libcurl adds no third.
        {"accept: text/html",
         "accept: text/html\r\nAccept: */*\r\nReferer: " + address +
             "\r\nAccept-Language: zh-cn\r\n"
             "Content-Type: application/x-www-form-urlencoded",
         true},
        // The caller's agent line is the one User-Agent line sent.
        {"User-Agent: TestAgent/1.0",
         "User-Agent: TestAgent/1.0\r\nAccept: */*\r\nReferer: " + address +
             "\r\nAccept-Language: zh-cn\r\n"
             "Content-Type: "
             "application/x-www-form-urlencoded",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.callerBlock);
        std::string headerText = c.callerBlock;
        WebAccess(address, 0, {}, nullptr, nullptr, &headerText);
        EXPECT_EQ(headerText, c.completed);
        EXPECT_EQ(server.LastRequest(), "GET /p HTTP/1.1\r\n" + HostLine(server) +
                                            (c.ownAgentLine ? AgentLine() : "") + c.completed +
                                            "\r\n\r\n");
    }
}

TEST_F(WebAccessTest, SuppliedCookieTextIsSentAloneAndMerged) {
    RawServer server([](const std::string&) {
        return RawServer::Answer{
            RawServer::Response("HTTP/1.1 200 OK", "Set-Cookie: b=2; path=/\r\n", "")};
    });
    std::optional<std::string> cookies = "a=1";
    std::string received;
    WebAccess(server.Address("/c"), 0, {}, &cookies, &received);
    EXPECT_TRUE(server.LastRequest().ends_with(kTail + "Cookie: a=1\r\n\r\n"));
    EXPECT_EQ(CountOf(server.LastRequest(), "Cookie:"), 1);
    EXPECT_EQ(cookies, "b=2; a=1");
    EXPECT_EQ(received, "b=2");

    // Supplied but empty: no Cookie line at all, and the merge still happens.
    std::optional<std::string> empty = "";
    WebAccess(server.Address("/c"), 0, {}, &empty);
    EXPECT_EQ(CountOf(server.LastRequest(), "Cookie:"), 0);
    EXPECT_EQ(empty, "b=2");
}

TEST_F(WebAccessTest, SetCookieLinesAreCaseFoldedAndCollected) {
    RawServer server([](const std::string&) {
        return RawServer::Answer{RawServer::Response(
            "HTTP/1.1 200 OK", "set-cookie: SID=abc; path=/casefold\r\nSet-Cookie: lang=en\r\n",
            "")};
    });
    std::string received;
    std::string responseHeaders;
    WebAccess(server.Address("/casefold/page"), 0, {}, nullptr, &received, nullptr,
              &responseHeaders);
    EXPECT_TRUE(responseHeaders.starts_with(
        "HTTP/1.1 200 OK\r\nSet-Cookie: SID=abc; path=/casefold\r\nSet-Cookie: lang=en\r\n"))
        << responseHeaders;
    EXPECT_EQ(received, "SID=abc; lang=en");
}

TEST_F(WebAccessTest, NoRedirectReturnsTheRedirectItself) {
    RawServer server([](const std::string&) {
        return RawServer::Answer{
            RawServer::Response("HTTP/1.1 302 Found", "Location: /next\r\n", "moved")};
    });
    std::string responseHeaders;
    const Bytes result = WebAccess(server.Address("/start"), 0, {}, nullptr, nullptr, nullptr,
                                   &responseHeaders, true);
    EXPECT_EQ(Text(result), "moved");
    EXPECT_NE(responseHeaders.find("\r\nLocation: /next\r\n"), std::string::npos);
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(WebAccessTest, RedirectsAreFollowedWithTheProgramsOwnPieces) {
    RawServer other([](const std::string&) { return Ok("elsewhere"); });
    RawServer server([&](const std::string& request) {
        const auto redirect = [](std::string_view status, const std::string& location) {
            return RawServer::Answer{
                RawServer::Response(status, "Location: " + location + "\r\n", "redirect body")};
        };
        if (request.starts_with("POST /dir/post302 "))
            return redirect("HTTP/1.1 302 Found", "done");
        if (request.starts_with("POST /post307 ")) {
            return redirect("HTTP/1.1 307 Temporary Redirect", "/done");
        }
        if (request.starts_with("GET /away ")) {
            return redirect("HTTP/1.1 301 Moved", other.Address("/there?x=1"));
        }
        return Ok("final");
    });
    const struct {
        const char* path;
        int method;
        const char* body;
        const char* secondRequestStart;
        RawServer* secondServer;
    } cases[] = {
        // A relative Location, and a POST that becomes a GET without its body.
        {"/dir/post302", 1, "final", "GET /dir/done HTTP/1.1\r\n", &server},
        {"/post307", 1, "final", "POST /done HTTP/1.1\r\n", &server},
        {"/away", 0, "elsewhere", "GET /there?x=1 HTTP/1.1\r\n", &other},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const std::string address = server.Address(c.path);
        std::string responseHeaders;
        const Bytes result =
            WebAccess(address, c.method, "k=v", nullptr, nullptr, nullptr, &responseHeaders);
        EXPECT_EQ(Text(result), c.body);
        EXPECT_TRUE(responseHeaders.starts_with("HTTP/1.1 200 OK\r\n"));
        const std::string second = c.secondServer->LastRequest();
        EXPECT_TRUE(second.starts_with(c.secondRequestStart)) << second;
        // The block is the one completed for the address the caller asked for.
        EXPECT_NE(second.find("\r\nReferer: " + address + "\r\n"), std::string::npos);
        EXPECT_EQ(second.ends_with("k=v"), std::string(c.secondRequestStart).starts_with("POST"));
    }
    EXPECT_EQ(CountOf(other.LastRequest(),
                      "\r\nHost: 127.0.0.1:" + std::to_string(other.Port()) + "\r\n"),
              1);
}

TEST_F(WebAccessTest, RedirectChainsStopAtTheLimit) {
    RawServer server([](const std::string&) {
        return RawServer::Answer{
            RawServer::Response("HTTP/1.1 302 Found", "Location: /again\r\n", "loop")};
    });
    WebLimits limits = CurrentWebLimits();
    limits.maxRedirects = 3;
    SetWebLimits(limits);
    const Bytes result = WebAccess(server.Address("/again"));
    // The response after the last allowed hop is handed back as it is.
    EXPECT_EQ(Text(result), "loop");
    EXPECT_EQ(server.Requests().size(), 4u);
}

TEST_F(WebAccessTest, OddAddressesKeepTheirOwnPathOnTheRequestLine) {
    RawServer server([](const std::string&) { return Ok("odd"); });
    const std::string address = server.Address("/a b/\xCB\xD1?Q=1#frag");
    EXPECT_EQ(Text(WebAccess(address)), "odd");
    EXPECT_TRUE(server.LastRequest().starts_with("GET /a b/\xCB\xD1?Q=1#frag HTTP/1.1\r\n"));
}

TEST_F(WebAccessTest, FailuresGiveAnEmptyResult) {
    int deadPort = 0;
    {
        RawServer closed([](const std::string&) { return Ok(""); });
        deadPort = closed.Port();
    }
    std::string headerText;
    std::string responseHeaders;
    std::string received = "old";
    std::optional<std::string> cookies = "a=1; a=2";
    const Bytes result = WebAccess("http://127.0.0.1:" + std::to_string(deadPort) + "/x", 0, {},
                                   &cookies, &received, &headerText, &responseHeaders);
    EXPECT_TRUE(result.empty());
    EXPECT_EQ(responseHeaders, std::string(5000, ' '));
    EXPECT_EQ(received, "");
    EXPECT_TRUE(headerText.ends_with("\r\nCookie: a=1; a=2"));
    EXPECT_EQ(cookies, "a=1");  // a supplied cookie text is still merged

    // Addresses that cannot be sent as split change nothing of the caller's.
    for (const char* address :
         {"http://127.0.0.1:0/", "http://127.0.0.1:99999/", "http://127.0.0.1/a\r\nX-Forged: 1",
          "http://127.0.0.1:80\r\nX-Forged: 1", "http://example.com?x=1"}) {
        SCOPED_TRACE(address);
        std::string untouched = "keep";
        EXPECT_TRUE(WebAccess(address, 0, {}, nullptr, &untouched, &untouched).empty());
        EXPECT_EQ(untouched, "keep");
    }
}

TEST_F(WebAccessTest, SecureAddressesSpeakTlsAndFollowRedirectsFromHttp) {
    // A plain listener cannot complete a TLS handshake: the call fails with an empty result and
    // no plain request ever reaches it. The listener waits for a request end that never comes, so
    // the stall limit ends the handshake.
    WebLimits limits = CurrentWebLimits();
    limits.stallTimeoutMs = 300;
    SetWebLimits(limits);
    RawServer plain([](const std::string&) { return Ok("plain"); });
    const std::string secure = "https://127.0.0.1:" + std::to_string(plain.Port()) + "/s";
    EXPECT_TRUE(WebAccess(secure).empty());
    EXPECT_EQ(plain.Accepts(), 1);

    RawServer redirecting([&](const std::string&) {
        return RawServer::Answer{
            RawServer::Response("HTTP/1.1 302 Found", "Location: " + secure + "\r\n", "moved")};
    });
    EXPECT_TRUE(WebAccess(redirecting.Address("/to-https")).empty());
    EXPECT_EQ(plain.Accepts(), 2);
    EXPECT_TRUE(plain.Requests().empty());
}

TEST_F(WebAccessTest, ProxiesAreTheCallersOnly) {
    RawServer proxy([](const std::string&) { return Ok("via proxy"); });
    const std::string proxyText = "127.0.0.1:" + std::to_string(proxy.Port());
    const Bytes viaProxy = WebAccess("http://example.invalid/x?y=1", 0, {}, nullptr, nullptr,
                                     nullptr, nullptr, false, nullptr, proxyText);
    EXPECT_EQ(Text(viaProxy), "via proxy");
    EXPECT_TRUE(proxy.LastRequest().starts_with("GET http://example.invalid/x?y=1 HTTP/1.1\r\n"))
        << proxy.LastRequest();
    EXPECT_NE(proxy.LastRequest().find("\r\nHost: example.invalid\r\n"), std::string::npos);

    // A secure address goes through the same proxy, tunnelled; this proxy refuses the tunnel.
    RawServer refusing([](const std::string&) {
        return RawServer::Answer{RawServer::Response("HTTP/1.1 403 Forbidden", "", "")};
    });
    EXPECT_TRUE(WebAccess("https://example.invalid/s", 0, {}, nullptr, nullptr, nullptr, nullptr,
                          false, nullptr, "127.0.0.1:" + std::to_string(refusing.Port()))
                    .empty());
    EXPECT_TRUE(refusing.LastRequest().starts_with("CONNECT example.invalid:443 HTTP/1.1\r\n"))
        << refusing.LastRequest();

    // A proxy in the environment is not used behind the caller's back.
    RawServer server([](const std::string&) { return Ok("direct"); });
    ::setenv("http_proxy", ("http://" + proxyText).c_str(), 1);
    const Bytes direct = WebAccess(server.Address("/d"));
    ::unsetenv("http_proxy");
    EXPECT_EQ(Text(direct), "direct");
    EXPECT_EQ(proxy.Requests().size(), 1u);
}

TEST_F(WebAccessTest, SharedCookieStoreServesEveryThreadButNotCallsWithTheirOwnCookies) {
    RawServer server([](const std::string& request) {
        std::string setCookie;
        if (request.starts_with("GET /jar/set ")) setCookie = "Set-Cookie: sid=abc; Path=/jar\r\n";
        if (request.starts_with("GET /jar/own ")) setCookie = "Set-Cookie: leak=1; Path=/jar\r\n";
        return RawServer::Answer{RawServer::Response("HTTP/1.1 200 OK", setCookie, "")};
    });
    WebAccess(server.Address("/jar/set"));

    WebAccess(server.Address("/jar/same-thread"));
    EXPECT_NE(server.LastRequest().find("\r\nCookie: sid=abc\r\n"), std::string::npos);

    std::thread([&] { WebAccess(server.Address("/jar/other-thread")); }).join();
    EXPECT_NE(server.LastRequest().find("\r\nCookie: sid=abc\r\n"), std::string::npos);

    std::optional<std::string> own = "a=1";
    WebAccess(server.Address("/jar/own"), 0, {}, &own);
    EXPECT_EQ(server.LastRequest().find("sid=abc"), std::string::npos);
    EXPECT_EQ(own, "leak=1; a=1");

    // A second call with its own cookies does not get the first one's cookie either.
    std::optional<std::string> second = "b=2";
    WebAccess(server.Address("/jar/own-again"), 0, {}, &second);
    EXPECT_TRUE(server.LastRequest().ends_with("\r\nCookie: b=2\r\n\r\n"));
    EXPECT_EQ(CountOf(server.LastRequest(), "Cookie:"), 1) << server.LastRequest();

    WebAccess(server.Address("/jar/after"));
    EXPECT_NE(server.LastRequest().find("sid=abc"), std::string::npos);
    EXPECT_EQ(server.LastRequest().find("leak=1"), std::string::npos) << server.LastRequest();
}

TEST_F(WebAccessTest, SequentialCallsOnOneThreadReuseOneConnection) {
    RawServer server([](const std::string&) { return Ok("page"); });
    std::thread([&] {
        for (int page = 1; page <= 4; ++page) {
            EXPECT_EQ(Text(WebAccess(server.Address("/s/?page=" + std::to_string(page)))), "page");
        }
    }).join();
    EXPECT_EQ(server.Requests().size(), 4u);
    EXPECT_EQ(server.Accepts(), 1);
}

TEST_F(WebAccessTest, CallsFromSeveralThreadsAtOnceAllSucceed) {
    RawServer server([](const std::string& request) {
        return Ok(request.substr(4, request.find(" HTTP/") - 4));
    });
    std::vector<std::thread> threads;
    threads.reserve(6);
    std::atomic<int> good{0};
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 5; ++i) {
                const std::string path = "/t" + std::to_string(t) + "/" + std::to_string(i);
                if (Text(WebAccess(server.Address(path))) == path) ++good;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(good, 30);
}

TEST_F(WebAccessTest, SilentServerEndsByTheStallLimit) {
    RawServer server([](const std::string&) {
        return RawServer::Answer{"", RawServer::Behaviour::Silent};
    });
    WebLimits limits = CurrentWebLimits();
    limits.stallTimeoutMs = 300;
    SetWebLimits(limits);
    std::string responseHeaders;
    const auto started = std::chrono::steady_clock::now();
    const Bytes result =
        WebAccess(server.Address("/silent"), 0, {}, nullptr, nullptr, nullptr, &responseHeaders);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);
    EXPECT_TRUE(result.empty());
    EXPECT_EQ(responseHeaders, std::string(5000, ' '));
}

TEST_F(WebAccessTest, EndlessBodyIsCappedAndTheCallReturns) {
    RawServer server([](const std::string&) {
        return RawServer::Answer{"HTTP/1.1 200 OK\r\n\r\n", RawServer::Behaviour::EndlessBody};
    });
    WebLimits limits = CurrentWebLimits();
    limits.maxBodyBytes = 100'000;
    SetWebLimits(limits);
    std::string responseHeaders;
    const Bytes result =
        WebAccess(server.Address("/endless"), 0, {}, nullptr, nullptr, nullptr, &responseHeaders);
    EXPECT_EQ(result.size(), 100'000u);
    EXPECT_EQ(responseHeaders, "HTTP/1.1 200 OK\r\n\r\n");
}

TEST_F(WebAccessTest, OversizedHeaderBlockIsNotDelivered) {
    RawServer server([](const std::string&) {
        return RawServer::Answer{RawServer::Response(
            "HTTP/1.1 200 OK", "X-Filler: " + std::string(6000, 'f') + "\r\nSet-Cookie: big=1\r\n",
            "body")};
    });
    std::string received = "old";
    std::string responseHeaders;
    EXPECT_EQ(Text(WebAccess(server.Address("/bigheaders/x"), 0, {}, nullptr, &received, nullptr,
                             &responseHeaders)),
              "body");
    EXPECT_EQ(responseHeaders, std::string(5000, ' '));
    EXPECT_EQ(received, "");
}

// Starts a call on its own thread, asks it to stop after a while, and returns how long the call
// took to come back after the stop request.
std::chrono::milliseconds StopToReturn(const std::string& address, Bytes& result) {
    std::stop_source stop;
    std::chrono::steady_clock::time_point returned;
    std::thread call([&] {
        result = WebAccess(address, stop.get_token());
        returned = std::chrono::steady_clock::now();
    });
    std::this_thread::sleep_for(300ms);
    const auto requested = std::chrono::steady_clock::now();
    stop.request_stop();
    call.join();
    return std::chrono::duration_cast<std::chrono::milliseconds>(returned - requested);
}

TEST_F(WebAccessTest, StopRequestEndsASilentOrStreamingTransferPromptly) {
    // Only the stop request can end these calls within the test's lifetime.
    WebLimits limits = CurrentWebLimits();
    limits.stallTimeoutMs = 10'000;
    SetWebLimits(limits);
    RawServer silent([](const std::string&) {
        return RawServer::Answer{"", RawServer::Behaviour::Silent};
    });
    RawServer streaming([](const std::string&) {
        return RawServer::Answer{"HTTP/1.1 200 OK\r\n\r\n", RawServer::Behaviour::Trickle};
    });
    Bytes result;
    const auto silentDelay = StopToReturn(silent.Address("/silent"), result);
    EXPECT_TRUE(result.empty());
    const auto streamingDelay = StopToReturn(streaming.Address("/stream"), result);
    EXPECT_FALSE(result.empty());  // what was read before the stop comes back
    std::cout << "stop-to-return: silent " << silentDelay.count() << " ms, streaming "
              << streamingDelay.count() << " ms\n";
    EXPECT_LT(silentDelay, 1s);
    EXPECT_LT(streamingDelay, 1s);

    std::stop_source already;
    already.request_stop();
    EXPECT_TRUE(WebAccess(silent.Address("/never"), already.get_token()).empty());
}

}  // namespace
}  // namespace lq

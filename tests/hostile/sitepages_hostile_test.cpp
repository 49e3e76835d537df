// Search runs and result opening against a local site whose pages are hostile: a page of 10 MB,
// 50 000 hit openings that never close, pagers claiming 2^31-1 pages or numbers past 32 bits,
// invalid UTF-8 and zero bytes, go pages that lead to local files or scripts, and hot titles and
// notices full of markup and control characters.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "hostileserver.h"
#include "regex/regexobject.h"
#include "search/hotlist.h"
#include "search/openresult.h"
#include "search/searchrun.h"
#include "search/settings.h"
#include "search/sharesite.h"
#include "tests/support/recordingview.h"
#include "text/codepage.h"
#include "web/webaccess.h"

namespace lq {
namespace {

using test::HostileServer;
using test::RecordingView;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// One hit of the site's markup (UTF-8); an empty size leaves the size segment out.
std::string Hit(const std::string& id, const std::string& title, const std::string& size = "1.5G",
                const std::string& downloads = "7") {
    std::string markup = "<div class=\"catlist-li\"><a href=\"/t/" + id +
                         "\" target=\"_blank\" title=\"" + title + "\"><span>" + title +
                         "</span></a></div><div class=\"catlist-li-info\">";
    if (!size.empty()) markup += "文件大小：" + size + "<i></i>";
    return markup + " 下载次数：" + downloads + " <i></i>浏览次数：70</div>\n";
}

std::string Pager(const std::string& lastNumber) {
    return "<div>&nbsp;" + lastNumber + "&nbsp;</div>";
}

std::string GoPage(const std::string& target) {
    return "<script>location.href='" + target + "';</script>";
}

// A site serving fixed bodies by request target ("/s/?kw=k&page=1"); 404 for anything else.
class PageSite {
public:
    PageSite()
        : server_([this](HostileServer::Connection& connection, const std::string& request) {
              // "GET <target> HTTP/1.1": curl always sends a request line of that shape.
              const std::string target = request.substr(4, request.find(" HTTP/") - 4);
              std::string body;
              bool found = false;
              {
                  std::lock_guard lock(mutex_);
                  const auto it = bodies_.find(target);
                  found = it != bodies_.end();
                  if (found) body = it->second;
              }
              connection.Send(HostileServer::Response(
                  found ? "HTTP/1.1 200 OK" : "HTTP/1.1 404 Not Found", "", body));
          }) {}

    std::string Base() const { return server_.Address(""); }
    void Serve(const std::string& target, std::string body) {
        std::lock_guard lock(mutex_);
        bodies_[target] = std::move(body);
    }
    // Request lines whose target starts with prefix.
    int RequestsFor(const std::string& prefix) const {
        int count = 0;
        for (const std::string& line : server_.RequestLines()) {
            if (line.starts_with("GET " + prefix)) ++count;
        }
        return count;
    }

private:
    std::mutex mutex_;
    std::map<std::string, std::string> bodies_;
    HostileServer server_;  // last: it stops before the bodies go
};

class HostileSiteTest : public ::testing::Test {
protected:
    void SetUp() override {
        OverrideSites(site.Base(), site.Base());
        WebLimits limits;
        limits.connectTimeoutMs = 2000;
        limits.stallTimeoutMs = 5000;
        SetWebLimits(limits);
        view.SetKeyword("k");
    }
    void TearDown() override { SetWebLimits(WebLimits{}); }

    // One complete run on this thread, as a run's thread would do it.
    void RunSearch() {
        SearchLock lock;
        SearchWorker(std::stop_token{}, view, lock);
        EXPECT_FALSE(lock.IsHeld());
    }

    static std::string PageTarget(int page) { return "/s/?kw=k&page=" + std::to_string(page); }

    PageSite site;
    RecordingView view;
};

TEST_F(HostileSiteTest, TenMegabytePageIsReadWhole) {
    std::string filler;
    while (filler.size() < (10u << 20))
        filler += "<div class=\"ad\">广告 advertisement 文字</div>\n";
    site.Serve(PageTarget(1),
               Hit("first1", "开头") + filler + Hit("last1", "结尾", "") + Pager("1"));
    RunSearch();
    const auto rows = view.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][1], Utf8ToGbk("开头"));
    EXPECT_EQ(rows[1][1], Utf8ToGbk("结尾"));
    EXPECT_EQ(rows[1][2], "");
    EXPECT_EQ(rows[1][4], GoPageAddress("last1"));
    EXPECT_EQ(view.Position(), 1);
}

TEST_F(HostileSiteTest, FiftyThousandUnclosedHitOpeningsFinish) {
    // Each opening stands on a line of its own, so no title can reach the next one; the pattern
    // engine runs in time linear in the page, so the run ends. The bound is only "it completes".
    std::string page;
    for (int i = 0; i < 50'000; ++i)
        page += "<a href=\"/t/x" + std::to_string(i) + "\" target=\"_blank\" title=\"\n";
    page += Hit("real1", "真的");
    site.Serve(PageTarget(1), page);
    const auto started = Clock::now();
    RunSearch();
    EXPECT_LT(Clock::now() - started, 120s);
    const auto rows = view.Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][4], GoPageAddress("real1"));

    // On one line the first opening's title runs on to the one real ending: one hit at most.
    std::string oneLine;
    for (int i = 0; i < 50'000; ++i) oneLine += "<a href=\"/t/y\" target=\"_blank\" title=\"";
    oneLine += Hit("real2", "真的");
    RegexObject regex;
    const auto hits = ExtractResults(regex, Utf8ToGbk(oneLine));
    ASSERT_LE(hits.size(), 1u);
    if (!hits.empty()) {
        EXPECT_EQ(hits[0].shareId, "y");
    }
}

TEST_F(HostileSiteTest, PagerClaimingTwoBillionPagesStopsAtTheFirstPageWithoutHits) {
    site.Serve(PageTarget(1), Hit("a1", "one") + Pager("2147483647"));
    site.Serve(PageTarget(2), "<html>no hits here</html>" + Pager("2147483647"));
    RunSearch();
    EXPECT_EQ(view.RangeMaximum(), INT_MAX);
    EXPECT_EQ(view.Position(), 1);
    EXPECT_EQ(view.Rows().size(), 1u);
    EXPECT_EQ(site.RequestsFor("/s/"), 2);
    EXPECT_EQ(site.RequestsFor(PageTarget(3)), 0);
}

TEST_F(HostileSiteTest, PagerNumbersPast32BitsAreClamped) {
    // Read naively as a 32-bit number, 4294967297 would wrap to 1 and 4294967296 to 0 (which
    // then counts as 1): clamped, each asks for as many pages as there are hits.
    struct Case {
        const char* pager;
        int expected;
    } cases[] = {{"2147483648", INT_MAX},
                 {"4294967296", INT_MAX},
                 {"4294967297", INT_MAX},
                 {"99999999999999999999999999999999999999", INT_MAX},
                 {"0000000000000000000000000000000000000003", 3}};
    RegexObject regex;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pager);
        EXPECT_EQ(ExtractPageCount(regex, Pager(c.pager)), c.expected);
    }
    site.Serve(PageTarget(1), Hit("a1", "one") + Pager("4294967297"));
    site.Serve(PageTarget(2), Hit("b2", "two") + Pager("4294967297"));
    RunSearch();
    EXPECT_EQ(view.RangeMaximum(), INT_MAX);
    EXPECT_EQ(view.Rows().size(), 2u);
    EXPECT_EQ(view.Position(), 2);
    EXPECT_EQ(site.RequestsFor("/s/"), 3);  // page 3 answers 404: no hits, the run ends
}

TEST_F(HostileSiteTest, InvalidUtf8AndZeroBytesInPages) {
    // Bytes that are not UTF-8 become "?" in the GBK text; a zero byte ends the page, so a hit
    // after it is never seen.
    const std::string broken = "bad\xFF\xC0\xAF\xED\xA0\x80name";
    site.Serve(PageTarget(1), Hit("a1", broken) + Hit("b2", "好") + std::string("\0", 1) +
                                  Hit("c3", "after zero"));
    view.SetSpeedOption(false);
    site.Serve("/go/a1", GoPage("http://pan.example.com/s/1a1"));
    // A zero byte inside the target ends the go page before its closing marker: no address.
    site.Serve("/go/b2", std::string("<script>location.href='http://pan.example.com/s/1b2") +
                             std::string("\0", 1) + "';</script>");
    site.Serve("/go/c3", GoPage("http://pan.example.com/s/1c3"));
    RunSearch();
    const auto rows = view.Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][1], Utf8ToGbk(broken));
    EXPECT_EQ(rows[0][1].find('\0'), std::string::npos);
    EXPECT_NE(rows[0][1].find('?'), std::string::npos);
    EXPECT_EQ(rows[0][4], "http://pan.example.com/s/1a1");
    EXPECT_EQ(site.RequestsFor("/go/c3"), 0);
}

TEST_F(HostileSiteTest, GoTargetsThatAreNoWebAddressesAreNeverOpened) {
    struct Case {
        const char* id;
        std::string target;
        bool rowAdded;  // the run keeps any non-empty target as the row's address text
    } cases[] = {
        {"file1", "file:///etc/passwd", true},
        {"js1", "javascript:alert(1)", true},
        {"bare1", "passwd", true},
        {"empty1", "", false},
        {"space1", "http://pan.example.com/s/1 x", true},
        {"ctrl1", "http://pan.example.com/s/1\x1b[31m", true},
        {"nohost1", "http:///etc/passwd", true},
        {"good1", "https://pan.example.com/s/1good", true},
    };
    std::string page;
    for (const Case& c : cases) {
        page += Hit(c.id, c.id);
        site.Serve("/go/" + std::string(c.id), GoPage(c.target));
    }
    site.Serve(PageTarget(1), page);
    view.SetSpeedOption(false);
    RunSearch();
    const auto rows = view.Rows();
    std::map<std::string, std::string> addressByName;
    for (const auto& row : rows) addressByName[row[1]] = row[4];
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const bool good = std::string(c.id) == "good1";
        EXPECT_EQ(addressByName.count(c.id) == 1, c.rowAdded);
        // Opening a row the run resolved, and opening its go address: only the good one opens.
        if (c.rowAdded) {
            EXPECT_EQ(ResolveForOpening(addressByName[c.id]), good ? c.target : "");
        }
        EXPECT_EQ(ResolveForOpening(GoPageAddress(c.id)), good ? c.target : "");
    }
    for (const char* address : {"file:///etc/passwd", "javascript:alert(1)", "passwd", ""}) {
        EXPECT_EQ(ResolveForOpening(address), "") << address;
    }
}

TEST_F(HostileSiteTest, HotTitlesAndNoticesKeepMarkupAndControlCharactersAsText) {
    // The core hands these texts on exactly as the site wrote them (GBK); showing them as plain
    // text is the window's part.
    const std::vector<std::string> titles = {"<b>bold</b>",
                                             "<img src=x onerror=alert(1)>",
                                             "&amp;&lt;&#x41;",
                                             "tab\there",
                                             "esc\x1b[31mred",
                                             "bell\x07",
                                             "cr\rlf",
                                             "a&b",
                                             "<script>x</script>",
                                             "问号?不?留"};
    std::string top = "<html><body>";
    for (const std::string& title : titles) {
        top += "<a href=\"/s/?kw=x\" target=\"_blank\" title=\"" + title + "\">x</a>\n";
    }
    site.Serve("/top/?b=3", top);
    const std::vector<std::string> fetched = FetchHotTitles();
    ASSERT_EQ(fetched.size(), titles.size());
    for (std::size_t i = 0; i < titles.size(); ++i) {
        EXPECT_EQ(fetched[i], Utf8ToGbk(titles[i]));
    }
    EXPECT_EQ(CleanHotTitle(Utf8ToGbk("问号?不?留")), Utf8ToGbk("问号不留"));
    EXPECT_EQ(CleanHotTitle("esc\x1b[31mred"), "esc\x1b[31mred");

    const std::string notice = "<a href='javascript:alert(1)'>点我</a>\x1b[2J\r\n\x07\tend";
    site.Serve("/vrx.txt", notice);
    const std::string noticeText = FetchNoticeText();
    EXPECT_EQ(noticeText, Utf8ToGbk(notice));
    EXPECT_EQ(NoticeToShow(noticeText), noticeText);
}

}  // namespace
}  // namespace lq

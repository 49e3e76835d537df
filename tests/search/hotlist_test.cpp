// The hot-search list and the notice: reading titles, cleaning them, and the notice rule.
#include "search/hotlist.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "search/settings.h"
#include "tests/support/fixturesite.h"
#include "text/codepage.h"

namespace lq {
namespace {

using ::testing::ElementsAre;

std::string TopLink(const std::string& keyword, const std::string& title) {
    return "<li><a href=\"/s/?kw=" + keyword + "\" target=\"_blank\" title=\"" + title + "\">" +
           title + "</a></li>\n";
}

TEST(HotList, ExtractHotTitlesKeepsEveryTitleInPageOrder) {
    const std::string page = "<ul>" + TopLink("a", "a") + TopLink("b", "b?") + TopLink("c", "c") +
                             TopLink("x", "a") + "</ul>";
    EXPECT_THAT(ExtractHotTitles(page), ElementsAre("a", "b?", "c", "a"));

    // The keyword parameter plays no part; the title is taken as the page gives it.
    const std::string chinese =
        Utf8ToGbk(TopLink("%E4%B8%89%E4%BD%93", "三体 全集?") + TopLink("", "&amp;"));
    EXPECT_THAT(ExtractHotTitles(chinese), ElementsAre(Utf8ToGbk("三体 全集?"), "&amp;"));

    // Without regard to case; a title cannot run over a line feed.
    EXPECT_THAT(ExtractHotTitles("<A HREF=\"/S/?KW=q\" TARGET=\"_blank\" TITLE=\"Up\">"),
                ElementsAre("Up"));
    EXPECT_TRUE(ExtractHotTitles(TopLink("a", "two\nlines")).empty());
    EXPECT_TRUE(ExtractHotTitles("").empty());
    EXPECT_TRUE(
        ExtractHotTitles("<a href=\"/t/abc\" target=\"_blank\" title=\"not hot\">").empty());
}

TEST(HotList, CleanHotTitleRemovesEveryQuestionMark) {
    struct Case {
        std::string title, cleaned;  // UTF-8
    };
    const Case cases[] = {
        {"b?", "b"}, {"???", ""}, {"?a?b?", "ab"}, {"", ""}, {"三?体", "三体"}, {"a？b", "a？b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CleanHotTitle(Utf8ToGbk(c.title)), Utf8ToGbk(c.cleaned)) << c.title;
    }
}

TEST(HotList, NoticeToShow) {
    struct Case {
        std::string notice;  // UTF-8
        bool shown;
    };
    const Case cases[] = {
        {"欢迎使用本软件，祝您搜索愉快！", true},
        {"第一行\r\n第二行\n", true},  // shown whole, line breaks and all
        {"", true},                    // an empty notice leaves the bar empty
        {"共50个资源", false},
        {"404 Not Found", false},
        {"<html><title>502 Bad Gateway</title></html>", false},
        {"1940", false},
        {"4 0 and 5 0", true},
        {"45", true},
    };
    for (const Case& c : cases) {
        const std::string gbk = Utf8ToGbk(c.notice);
        const std::optional<std::string> shown = NoticeToShow(gbk);
        ASSERT_EQ(shown.has_value(), c.shown) << c.notice;
        if (shown) {
            EXPECT_EQ(*shown, gbk);
        }
    }
}

TEST(HotList, FetchesTheTopListAndTheNoticeFromTheSite) {
    test::FixtureSite site;
    OverrideSites(site.Base(), site.Base());
    site.Serve("/top/?b=3", TopLink("a", "a") + TopLink("b", "b?") + TopLink("c", "三体"));
    site.Serve("/vrx.txt", std::string("欢迎") + '\0' + "ignored");
    EXPECT_THAT(FetchHotTitles(), ElementsAre("a", "b?", Utf8ToGbk("三体")));
    EXPECT_EQ(FetchNoticeText(), Utf8ToGbk("欢迎"));  // cut at the zero byte, then GBK
    EXPECT_THAT(site.Requests(), ElementsAre("/top/?b=3", "/vrx.txt"));
}

TEST(HotList, UnreachableSitesGiveNothing) {
    std::string base;
    {
        test::FixtureSite gone;  // a port that was just in use and is now closed
        base = gone.Base();
    }
    OverrideSites(base, base);
    EXPECT_TRUE(FetchHotTitles().empty());
    EXPECT_EQ(FetchNoticeText(), "");
    EXPECT_EQ(NoticeToShow(FetchNoticeText()), std::optional<std::string>(""));
}

}  // namespace
}  // namespace lq

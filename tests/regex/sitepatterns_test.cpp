// The share site's own patterns run through RegexObject on small pages: lazy groups with
// leftmost-first matching, the optional size segment, the pager, and hostile pages that must
// stay linear. The patterns are copied here as the site parser uses them.
#include <gtest/gtest.h>

#include <string>

#include "regex/regexobject.h"
#include "text/codepage.h"

namespace lq {
namespace {

std::string G(std::string_view utf8) { return Utf8ToGbk(utf8); }

const std::string kPageCountPattern = "&nbsp;([0-9]{1,})&nbsp;";
const std::string kResultRowPattern = G(
    "<a href=\"/t/([0-9a-zA-Z]{1,})\" target=\"_blank\" title=\"(.*?)\">([\\s\\S]*?)</a></div>"
    "<div class=\"catlist-li-info\">(文件大小：([0-9a-zA-Z.]{1,})<i></i> | )下载次数：([0-9]{1,}) "
    "<i></i>浏览次数：[0-9]{1,}</div>");
const std::string kHotListPattern = "<a href=\"/s/\\?kw=(.*?)\" target=\"_blank\" title=\"(.*?)\">";

// One hit as the site prints it; info is what follows the info opening.
std::string Row(const std::string& id, const std::string& title, const std::string& inner,
                const std::string& info) {
    return "<div class=\"catlist-li\"><a href=\"/t/" + id + "\" target=\"_blank\" title=\"" +
           title + "\">" + inner + "</a></div><div class=\"catlist-li-info\">" + info + "</div>\n";
}

struct Hit {
    std::string id, name, size, downloads;
};

std::vector<Hit> ReadHits(RegexObject& regex, const std::string& page) {
    std::vector<Hit> hits;
    if (!regex.Create(kResultRowPattern, page, false, true, true, true)) return hits;
    for (int i = 1; i <= regex.MatchCount(); ++i) {
        hits.push_back({regex.SubMatchText(i, 1), regex.SubMatchText(i, 2),
                        regex.SubMatchText(i, 5), regex.SubMatchText(i, 6)});
    }
    return hits;
}

TEST(SitePatterns, HitsWithAndWithoutSize) {
    const std::string page =
        G("<html>\n" +
          Row("a1", "电影 2024", "<b>电影</b>\n2024",
              "文件大小：1.5G<i></i> 下载次数：12 <i></i>浏览次数：30") +
          Row("B2", "音乐", "音乐", " 下载次数：7 <i></i>浏览次数：9") +
          Row("c3", "", "x", "文件大小：20M<i></i> 下载次数：0 <i></i>浏览次数：1") + "</html>");
    RegexObject regex;
    const std::vector<Hit> hits = ReadHits(regex, page);
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits[0].id, "a1");
    EXPECT_EQ(hits[0].name, G("电影 2024"));
    EXPECT_EQ(hits[0].size, "1.5G");
    EXPECT_EQ(hits[0].downloads, "12");
    EXPECT_EQ(hits[1].id, "B2");
    EXPECT_EQ(hits[1].size, "");  // no size segment: group 5 took no part
    EXPECT_EQ(hits[1].downloads, "7");
    EXPECT_EQ(hits[2].name, "");  // an empty title is read as it is
    EXPECT_EQ(regex.SubMatchCount(), 6);
}

TEST(SitePatterns, BrokenInfoLineMergesWithTheNextHit) {
    // The first info line has " | " before the download count, so the lazy inner group runs on
    // to the next info line that fits: id and name of the first link, size and count of the
    // second line.
    const std::string page =
        G(Row("first", "一", "x", "文件大小：1G<i></i> | 下载次数：5 <i></i>浏览次数：1") +
          Row("second", "二", "y", "文件大小：2M<i></i> 下载次数：7 <i></i>浏览次数：2") +
          Row("third", "三", "z", " 下载次数：3 <i></i>浏览次数：3"));
    RegexObject regex;
    const std::vector<Hit> hits = ReadHits(regex, page);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].id, "first");
    EXPECT_EQ(hits[0].name, G("一"));
    EXPECT_EQ(hits[0].size, "2M");
    EXPECT_EQ(hits[0].downloads, "7");
    EXPECT_EQ(hits[1].id, "third");
    EXPECT_EQ(hits[1].downloads, "3");
}

TEST(SitePatterns, TitleWithLineFeedGivesNoHitForThatLink) {
    const std::string page = G(Row("bad", "a\nb", "x", " 下载次数：1 <i></i>浏览次数：1") +
                               Row("good", "ok", "y", " 下载次数：2 <i></i>浏览次数：2"));
    RegexObject regex;
    const std::vector<Hit> hits = ReadHits(regex, page);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].id, "good");
    EXPECT_EQ(hits[0].downloads, "2");
}

TEST(SitePatterns, PagerLastNumberAndSharedMarks) {
    struct Case {
        std::string page;
        std::vector<std::string> numbers;
    };
    const Case cases[] = {
        {"&nbsp;1&nbsp; &nbsp;2&nbsp; &nbsp;3&nbsp;", {"1", "2", "3"}},
        // Neighbours share one mark: matches cannot overlap, so every second number is lost.
        {"&nbsp;1&nbsp;2&nbsp;3&nbsp;4&nbsp;", {"1", "3"}},
        {"&NBSP;7&NBSP;", {"7"}},
        {"no pager", {}},
    };
    RegexObject regex;
    for (const Case& c : cases) {
        regex.Create(kPageCountPattern, c.page, false, false, true, true);
        ASSERT_EQ(regex.MatchCount(), static_cast<int>(c.numbers.size())) << c.page;
        for (std::size_t i = 0; i < c.numbers.size(); ++i) {
            EXPECT_EQ(regex.SubMatchText(static_cast<int>(i) + 1, 1), c.numbers[i]);
        }
    }
}

TEST(SitePatterns, HotList) {
    const std::string page =
        G("<li><a href=\"/s/?kw=%E7%94%B5\" target=\"_blank\" title=\"电影\">电影</a></li>\n"
          "<li><a href=\"/s/?kw=b\" target=\"_blank\" title=\"B&amp;C\">x</a></li>\n"
          "<li><a href=\"/s/?kw=b\" target=\"_blank\" title=\"B&amp;C\">x</a></li>\n");
    RegexObject regex;
    ASSERT_TRUE(regex.Create(kHotListPattern, page, false, false, true, false));
    ASSERT_EQ(regex.MatchCount(), 3);
    EXPECT_EQ(regex.SubMatchText(1, 2), G("电影"));
    EXPECT_EQ(regex.SubMatchText(2, 2), "B&amp;C");
    EXPECT_EQ(regex.SubMatchText(3, 1), "b");
}

TEST(SitePatterns, ThousandHitPage) {
    std::string utf8Page = "<html>\n";
    for (int i = 0; i < 1000; ++i) {
        utf8Page += Row("id" + std::to_string(i), "资源 " + std::to_string(i), "<em>资源</em>",
                        "文件大小：" + std::to_string(i) + "M<i></i> 下载次数：" +
                            std::to_string(i * 2) + " <i></i>浏览次数：5");
    }
    RegexObject regex;
    const std::vector<Hit> hits = ReadHits(regex, Utf8ToGbk(utf8Page));
    ASSERT_EQ(hits.size(), 1000u);
    EXPECT_EQ(hits[999].id, "id999");
    EXPECT_EQ(hits[999].name, G("资源 999"));
    EXPECT_EQ(hits[999].size, "999M");
    EXPECT_EQ(hits[999].downloads, "1998");
}

// A hostile page full of hit openings that never close must not make the run quadratic: these
// finish in well under a second; a quadratic scan would take minutes. No time is asserted,
// the test runner's time-out catches a hang.
TEST(SitePatterns, HostilePagesStayLinear) {
    const std::string opening = "<a href=\"/t/x\" target=\"_blank\" title=\"t\">";
    std::string unclosed;
    for (int i = 0; i < 80000; ++i) unclosed += opening + "\n";
    RegexObject regex;
    EXPECT_TRUE(regex.Create(kResultRowPattern, unclosed, false, true, true, true));
    EXPECT_EQ(regex.MatchCount(), 0);

    // One closing line at the very end: the first opening takes everything up to it.
    const std::string closed =
        unclosed +
        G("</a></div><div class=\"catlist-li-info\"> 下载次数：1 <i></i>浏览次数：1</div>");
    ASSERT_TRUE(regex.Create(kResultRowPattern, closed, false, true, true, true));
    ASSERT_EQ(regex.MatchCount(), 1);
    EXPECT_EQ(regex.SubMatchText(1, 6), "1");
    EXPECT_EQ(regex.SubMatchText(1, 1), "x");
    EXPECT_EQ(regex.SubMatchText(1, 2), "t");
    EXPECT_EQ(regex.SubMatchText(1, 5), "");
    EXPECT_EQ(regex.SubMatchText(1, 3).size(), unclosed.size() - opening.size());

    std::string pager;
    for (int i = 0; i < 200000; ++i) pager += "&nbsp;123&nbs";
    regex.Create(kPageCountPattern, pager, false, false, true, true);
    EXPECT_EQ(regex.MatchCount(), 0);
}

}  // namespace
}  // namespace lq

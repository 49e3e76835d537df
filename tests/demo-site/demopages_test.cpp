// The demo site's pages as the program reads them: its own parsers must find the page count,
// every hit with its fields, the go target, the hot titles and a notice it would show.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "regex/regexobject.h"
#include "search/hotlist.h"
#include "search/sharesite.h"
#include "text/bytes.h"
#include "text/codepage.h"
#include "tools/demo-site/demohits.h"
#include "tools/demo-site/demopages.h"

namespace lq::demosite {
namespace {

// The page as the search run sees it: UTF-8 body to GBK page text.
std::string AsPageText(const std::string& utf8Html) { return ResultPageText(ToBytes(utf8Html)); }

int ParsedPageCount(const std::string& utf8Html) {
    RegexObject regex;
    return ExtractPageCount(regex, AsPageText(utf8Html));
}

std::vector<SearchResult> ParsedHits(const std::string& utf8Html) {
    RegexObject regex;
    return ExtractResults(regex, AsPageText(utf8Html));
}

TEST(DemoPages, ParsersReadEveryHitWithItsFields) {
    struct Case {
        std::string keyword;
        int page;
    };
    const Case cases[] = {
        {"电影", 1},          {"Python教程", 1},      {"", 1},
        {"三体#p3", 3},       {"x#p10", 7},           {"a\"b<c>&d 'q'", 1},
        {"考研英语#p50", 25}, {"\xFF\xFE 坏字节", 1}, {"换行\n制表\t", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("keyword " + c.keyword + " page " + std::to_string(c.page));
        const DemoQuery query = ParseDemoKeyword(c.keyword);
        const std::vector<DemoHit> expected = DemoHits(query, c.page);
        ASSERT_EQ(expected.size(), static_cast<std::size_t>(kHitsPerPage));

        const std::vector<SearchResult> hits = ParsedHits(ResultPage(c.keyword, c.page));
        ASSERT_EQ(hits.size(), expected.size());
        for (std::size_t i = 0; i < hits.size(); ++i) {
            SCOPED_TRACE("hit " + std::to_string(i));
            EXPECT_EQ(hits[i].shareId, expected[i].shareId);
            // Names come back as the title attribute writes them: escaped, never decoded.
            EXPECT_EQ(GbkToUtf8(hits[i].resourceName), HtmlEscape(expected[i].name));
            EXPECT_FALSE(hits[i].resourceName.empty());
            EXPECT_EQ(hits[i].fileSize, expected[i].size);
            EXPECT_EQ(hits[i].downloadCount, expected[i].downloads);
            EXPECT_EQ(hits[i].fileSize.empty(), i % 7 == 6) << "every seventh hit has no size";
        }
    }
}

TEST(DemoPages, PagerOnEveryPageEndsWithThePageCount) {
    struct Case {
        std::string keyword;
        int pageCount;
    };
    const Case cases[] = {{"纪录片#p1", 1},
                          {"纪录片#p3", 3},
                          {"纪录片#p10", 10},
                          {"纪录片#p50", 50},
                          {"纪录片#p200", 200}};
    for (const Case& c : cases) {
        EXPECT_EQ(ParseDemoKeyword(c.keyword).pageCount, c.pageCount) << c.keyword;
        for (const int page : {1, (c.pageCount + 1) / 2, c.pageCount}) {
            EXPECT_EQ(ParsedPageCount(ResultPage(c.keyword, page)), c.pageCount)
                << c.keyword << " page " << page;
        }
    }
}

TEST(DemoPages, PagesBeyondTheCountHaveNoHits) {
    EXPECT_EQ(ParsedHits(ResultPage("电影#p3", 4)).size(), 0u);
    EXPECT_EQ(ParsedHits(ResultPage("电影#p3", 0)).size(), 0u);
    EXPECT_EQ(ParsedHits(ResultPage("电影#p3", 3)).size(), static_cast<std::size_t>(kHitsPerPage));
    // "#p0": a search that finds nothing; without a pager the program reads one page.
    const std::string empty = ResultPage("电影#p0", 1);
    EXPECT_EQ(ParsedHits(empty).size(), 0u);
    EXPECT_EQ(ParsedPageCount(empty), 1);
}

TEST(DemoPages, ForcedCountSuffixIsNotPartOfTheShownKeyword) {
    struct Case {
        std::string keyword;
        std::string shown;
        int pageCount;  // -1: chosen by hash, 1 to 10
    };
    const Case cases[] = {
        {"电影#p3", "电影", 3},         {"#p7", "", 7},
        {"电影#p201", "电影#p201", -1}, {"电影#p", "电影#p", -1},
        {"电影#px", "电影#px", -1},     {"电影#p3 ", "电影#p3 ", -1},
    };
    for (const Case& c : cases) {
        const DemoQuery query = ParseDemoKeyword(c.keyword);
        EXPECT_EQ(query.shownKeyword, c.shown) << c.keyword;
        if (c.pageCount >= 0) {
            EXPECT_EQ(query.pageCount, c.pageCount) << c.keyword;
        } else {
            EXPECT_GE(query.pageCount, 1) << c.keyword;
            EXPECT_LE(query.pageCount, 10) << c.keyword;
        }
    }
}

TEST(DemoPages, SameKeywordGivesTheSameBytesAndKeywordsDiffer) {
    EXPECT_EQ(ResultPage("电影", 2), ResultPage("电影", 2));
    EXPECT_NE(ResultPage("电影", 1), ResultPage("电视剧", 1));
    EXPECT_NE(ResultPage("电影#p5", 1), ResultPage("电影#p5", 2));

    std::set<int> counts;
    std::set<std::string> ids;
    for (int i = 0; i < 60; ++i) {
        const DemoQuery query = ParseDemoKeyword("关键词" + std::to_string(i));
        ASSERT_GE(query.pageCount, 1);
        ASSERT_LE(query.pageCount, 10);
        counts.insert(query.pageCount);
        for (const DemoHit& hit : DemoHits(query, 1)) ids.insert(hit.shareId);
    }
    EXPECT_GE(counts.size(), 5u) << "page counts should vary with the keyword";
    EXPECT_EQ(ids.size(), 60u * kHitsPerPage) << "share ids should not repeat";
}

TEST(DemoPages, GoPageCarriesTheShareAddress) {
    const std::string address = "http://127.0.0.1:8080/share/1AbC9xYz";
    EXPECT_EQ(ExtractGoTarget(GoPageText(ToBytes(GoPage(address)))), address);
}

TEST(DemoPages, TopListHasMoreThanAHundredTitlesSomeWithQuestionMarks) {
    const std::vector<std::string>& titles = TopTitles();
    const std::vector<std::string> parsed = ExtractHotTitles(Utf8ToGbk(TopPage()));
    ASSERT_GT(parsed.size(), 100u);
    ASSERT_EQ(parsed.size(), titles.size());
    int withQuestionMark = 0;
    for (std::size_t i = 0; i < parsed.size(); ++i) {
        EXPECT_EQ(GbkToUtf8(parsed[i]), titles[i]) << "title " << i;
        if (titles[i].find('?') != std::string::npos) {
            ++withQuestionMark;
            EXPECT_EQ(CleanHotTitle(parsed[i]).find('?'), std::string::npos);
        }
    }
    EXPECT_GT(withQuestionMark, 0);
    EXPECT_EQ(GbkToUtf8(parsed[7]), "猫和老鼠 Tom&Jerry");
}

TEST(DemoPages, NoticeIsOneTheWindowShows) {
    const std::string notice = NoticeText();
    EXPECT_EQ(notice.find("50"), std::string::npos);
    EXPECT_EQ(notice.find("40"), std::string::npos);
    const auto shown = NoticeToShow(Utf8ToGbk(notice));
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(GbkToUtf8(*shown), notice);
}

}  // namespace
}  // namespace lq::demosite

// The share site's format: addresses, pager, hits, go targets and the page-text rules.
#include "search/sharesite.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>

#include "regex/regexobject.h"
#include "search/settings.h"
#include "tests/support/fixturesite.h"
#include "text/codepage.h"

namespace lq {
namespace {

using test::FixtureHit;
using test::HitMarkup;

TEST(ShareSitePatterns, ResultRowPatternIsTheGbkFormOfTheSitesMarkup) {
    const std::string utf8Pattern =
        R"re(<a href="/t/([0-9a-zA-Z]{1,})" target="_blank" title="(.*?)">([\s\S]*?)</a></div>)re"
        R"re(<div class="catlist-li-info">(文件大小：([0-9a-zA-Z.]{1,})<i></i> | )下载次数：)re"
        R"re(([0-9]{1,}) <i></i>浏览次数：[0-9]{1,}</div>)re";
    EXPECT_EQ(Utf8ToGbk(utf8Pattern), kResultRowPattern);
    EXPECT_EQ(kPageCountPattern, "&nbsp;([0-9]{1,})&nbsp;");
}

TEST(ShareSiteAddresses, SearchPageAddress) {
    struct Case {
        std::string keyword;  // GBK
        int page;
        std::string tail;  // after the site base
    };
    const Case cases[] = {
        {"abc", 2, "/s/?kw=abc&page=2"},
        {"", 1, "/s/?kw=&page=1"},
        {Utf8ToGbk("三体"), 1, "/s/?kw=%E4%B8%89%E4%BD%93&page=1"},
        {"a b", 1, "/s/?kw=a%20b&page=1"},
        {" x ", 1, "/s/?kw=%20x%20&page=1"},  // not trimmed
        {"A-z.9_~&=", 3, "/s/?kw=A-z.9%5F%7E%26%3D&page=3"},
        {"k", INT_MAX, "/s/?kw=k&page=2147483647"},
    };
    const std::string base = CurrentSettings().shareSiteBase;
    for (const Case& c : cases) {
        EXPECT_EQ(SearchPageAddress(c.keyword, c.page), base + c.tail) << c.tail;
    }
    EXPECT_EQ(SearchAddressStem("abc"), base + "/s/?kw=abc&page=");
    EXPECT_EQ(GoPageAddress("Ab12Cd"), base + "/go/Ab12Cd");
}

TEST(ShareSitePages, ExtractPageCount) {
    struct Case {
        const char* page;
        int count;
    };
    const Case cases[] = {
        {"", 1},
        {"<html>no pager here</html>", 1},
        {"&nbsp;0&nbsp;", 1},                            // last number 0
        {"&nbsp;4&nbsp;<a>&nbsp;0&nbsp;</a>", 1},        // the last decides, even when 0
        {"&nbsp;1&nbsp;&nbsp;2&nbsp;&nbsp;3&nbsp;", 3},  // each number with its own pair
        {"&nbsp;1&nbsp;2&nbsp;3&nbsp;4&nbsp;", 3},       // shared marks: 2 and 4 are skipped
        {"&NBSP;7&NBSP;", 7},                            // without regard to case
        {"&nbsp;9&nbsp; ... &nbsp;2&nbsp;", 2},          // the last, not the largest
        {"&nbsp;007&nbsp;", 7},
        {"&nbsp;&nbsp;", 1},
        {"&nbsp; 5 &nbsp;", 1},
        {"&nbsp;2147483647&nbsp;", INT_MAX},
        {"&nbsp;2147483648&nbsp;", INT_MAX},  // past 32 bits: clamped
        {"&nbsp;123456789012&nbsp;", INT_MAX},
    };
    RegexObject regex;
    for (const Case& c : cases) EXPECT_EQ(ExtractPageCount(regex, c.page), c.count) << c.page;
    EXPECT_EQ(ExtractPageCount(regex, Utf8ToGbk("第&nbsp;4&nbsp;页")), 4);
}

struct ExpectedHit {
    std::string shareId, name, size, downloads;  // UTF-8
};

void ExpectHits(const std::vector<SearchResult>& hits, const std::vector<ExpectedHit>& expected,
                const std::string& label) {
    ASSERT_EQ(hits.size(), expected.size()) << label;
    for (std::size_t i = 0; i < hits.size(); ++i) {
        SCOPED_TRACE(label + ", hit " + std::to_string(i + 1));
        EXPECT_EQ(hits[i].shareId, expected[i].shareId);
        EXPECT_EQ(hits[i].resourceName, Utf8ToGbk(expected[i].name));
        EXPECT_EQ(hits[i].fileSize, expected[i].size);
        EXPECT_EQ(hits[i].downloadCount, expected[i].downloads);
        EXPECT_TRUE(hits[i].address.empty());
        EXPECT_EQ(hits[i].sequenceNumber, 0);
    }
}

TEST(ShareSitePages, ExtractResults) {
    const std::string plain = HitMarkup({"Ab12", "三体 全集", "1.5G", "120"});
    const std::string noSize = HitMarkup({"NoSz9", "无大小", "", "7"});
    const std::string later = HitMarkup({"Late1", "后来的", "700M", "33"});
    struct Case {
        std::string label;
        std::string page;  // UTF-8
        std::vector<ExpectedHit> hits;
    };
    const Case cases[] = {
        {"empty page", "", {}},
        {"page without hits", "<html><body>没有找到</body></html>", {}},
        {"one hit", plain, {{"Ab12", "三体 全集", "1.5G", "120"}}},
        {"no size: empty size, hit kept", noSize, {{"NoSz9", "无大小", "", "7"}}},
        {"page order",
         noSize + plain,
         {{"NoSz9", "无大小", "", "7"}, {"Ab12", "三体 全集", "1.5G", "120"}}},
        // " | " after the size cannot end a match: the first link runs on to the next
        // information line that fits, taking that line's size and count.
        {"merged hit",
         "<div class=\"catlist-li\"><a href=\"/t/First1\" target=\"_blank\" title=\"第一个\">"
         "<span>x</span></a></div><div class=\"catlist-li-info\">文件大小：9G<i></i> | "
         "下载次数：5 <i></i>浏览次数：50</div>\n" +
             later,
         {{"First1", "第一个", "700M", "33"}}},
        {"empty title kept as empty name",
         HitMarkup({"Empty1", "", "1K", "2"}),
         {{"Empty1", "", "1K", "2"}}},
        {"title with a line feed gives no hit for its link",
         HitMarkup({"Broken", "两\n行", "1K", "2"}) + plain,
         {{"Ab12", "三体 全集", "1.5G", "120"}}},
        {"inner markup with line feeds",
         "<div class=\"catlist-li\"><a href=\"/t/Multi1\" target=\"_blank\" title=\"多行\">\n"
         "  <span class=\"ico\"></span>\n  <span>多<b>行</b></span>\n</a></div>"
         "<div class=\"catlist-li-info\"> 下载次数：8 <i></i>浏览次数：80</div>",
         {{"Multi1", "多行", "", "8"}}},
        {"title taken as the page gives it",
         HitMarkup({"Raw1", " A&amp;B <x> ", "2.0GB", "0"}),
         {{"Raw1", " A&amp;B <x> ", "2.0GB", "0"}}},
        {"markup in capitals matches",
         "<A HREF=\"/T/Up1\" TARGET=\"_blank\" TITLE=\"大写\">x</A></DIV>"
         "<DIV CLASS=\"catlist-li-info\"> 下载次数：3 <I></I>浏览次数：4</DIV>",
         {{"Up1", "大写", "", "3"}}},
    };
    RegexObject regex;
    for (const Case& c : cases) {
        ExpectHits(ExtractResults(regex, Utf8ToGbk(c.page)), c.hits, c.label);
    }
}

TEST(ShareSitePages, ExtractGoTarget) {
    struct Case {
        const char* page;
        const char* target;
    };
    const Case cases[] = {
        {"<script>location.href='http://pan.example.com/s/1aB';</script>",
         "http://pan.example.com/s/1aB"},
        {"location.href='a';b';", "a"},
        {"';location.href='x';", "x"},  // the right marker is looked for after the left one
        {"no marker at all", ""},
        {"location.href='http://pan.example.com/s/1aB", ""},
        {"LOCATION.HREF='http://a/';", ""},  // with case
        {"location.href='';", ""},
        {"location.href=' http://a/ ';", " http://a/ "},  // neither trimmed nor checked here
    };
    for (const Case& c : cases) EXPECT_EQ(ExtractGoTarget(c.page), c.target) << c.page;
}

TEST(ShareSitePages, PageTextsEndAtTheFirstZeroByte) {
    Bytes body = ToBytes("三体");
    body.push_back(0);
    const Bytes tail = ToBytes("after");
    body.insert(body.end(), tail.begin(), tail.end());
    EXPECT_EQ(ResultPageText(body), Utf8ToGbk("三体"));  // converted to GBK
    EXPECT_EQ(GoPageText(body), "三体");                 // taken as it is
    EXPECT_EQ(ResultPageText({}), "");
    EXPECT_EQ(GoPageText({}), "");
    EXPECT_EQ(ResultPageText(Bytes{0, 'a'}), "");
    EXPECT_EQ(ResultPageText(Bytes{'a', 0xFF, 'b'}), "a?b");  // malformed UTF-8
}

std::string ReadFixture(const std::string& name) {
    std::ifstream file(std::string(LUMAQUEST_SEARCH_FIXTURES) + "/" + name, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

TEST(ShareSitePages, RealisticResultPageIsReadFieldForField) {
    const std::string html = ReadFixture("results_page.html");
    ASSERT_FALSE(html.empty());
    const std::string text = ResultPageText(ToBytes(html));
    const std::vector<ExpectedHit> expected = {
        {"3kTq9a", "【高清】流浪地球2 2023 国语中字 4K.mp4", "21.7G", "1532"},
        {"Ab12Cd", "三体 全集 有声书 mp3", "3.2G", "877"},
        {"x9Y8z7", "考研英语 历年真题 解析 PDF", "", "2410"},
        {"Qw3Er4", "周杰伦 全部专辑 无损 FLAC", "18.4G", "9021"},
        {"m0N1b2", "Python编程 从入门到实践 第3版.pdf", "12.5M", "4410"},
        {"ZZtop9", "Photoshop 2024 中文版 安装包", "3.9G", "6612"},
        {"k5L6j7", "红楼梦 87版 电视剧 全36集", "", "310"},
        {"P8o9I0", "小学数学 奥数 练习题 合集", "860M", "158"},
        {"Uy7Tr6", "Office 2021 专业增强版 &amp; 激活工具", "4.7G", "12080"},
        {"aa11BB", "纪录片 地球脉动 第三季 1080P", "45.1G", "2205"},
        {"Cc22dd", "日语 N2 单词 音频", "", "77"},
        {"eE33fF", "王者荣耀 壁纸 高清 合集", "1.2G", "540"},
        {"gG44hH", "线性代数 MIT 公开课 中英字幕", "6.6G", "1203"},
        {"Ii55Jj", "三国演义 连环画 全60册", "2.8G", "399"},
        {"kK66lL", "吉他 入门 教程 视频", "5.0G", "2871"},
        {"Mm77nN", "哈利波特 全集 电子书 epub", "98M", "6520"},
        {"oO88pP", "CAD 2022 教程 零基础", "", "1822"},
        {"Qq99rR", "新概念英语 第二册 课文 MP3", "356M", "3340"},
        {"sS00tT", "西游记 原著 朗读", "1.9G", "204"},
        {"UuVvWw", "Linux 命令行大全 中文版", "45.3K", "12"},
    };
    RegexObject regex;
    ExpectHits(ExtractResults(regex, text), expected, "fixture page");
    EXPECT_EQ(ExtractPageCount(regex, text), 12);
}

}  // namespace
}  // namespace lq

// lumaquest-cli end to end: the built program run as a child process against the demo site (and
// a fixture site for the odd cases), checking stdout, stderr and the exit status.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/childprocess.h"
#include "tests/cli/flatjson.h"
#include "tests/support/fixturesite.h"
#include "tools/demo-site/demohits.h"
#include "tools/demo-site/demopages.h"
#include "tools/demo-site/demosite.h"

namespace lq {
namespace {

using test::ChildResult;
using test::RunChild;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
        fields.push_back(line.substr(start, tab - start));
    }
    fields.push_back(line.substr(start));
    return fields;
}

class CliEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(site_.Start()); }

    // lumaquest-cli with both sites pointed at the demo site, then args.
    ChildResult Cli(const std::vector<std::string>& args) {
        std::vector<std::string> argv = {LUMAQUEST_CLI_PATH, "--site", site_.BaseAddress(),
                                         "--news-site", site_.BaseAddress()};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunChild(argv);
    }
    static ChildResult Bare(const std::vector<std::string>& args) {
        std::vector<std::string> argv = {LUMAQUEST_CLI_PATH};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunChild(argv);
    }

    // The hits of every page of a forced-count keyword, in run order.
    static std::vector<demosite::DemoHit> ExpectedHits(const std::string& keyword) {
        const demosite::DemoQuery query = demosite::ParseDemoKeyword(keyword);
        std::vector<demosite::DemoHit> hits;
        for (int page = 1; page <= query.pageCount; ++page) {
            for (auto& hit : demosite::DemoHits(query, page)) hits.push_back(std::move(hit));
        }
        return hits;
    }

    demosite::DemoSite site_;
};

TEST_F(CliEndToEnd, SearchPrintsEveryHitWithGoAddressesNumberedFromOne) {
    const ChildResult result = Cli({"search", "电影#p3"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "") << "no progress when stderr is not a terminal";
    const std::vector<demosite::DemoHit> expected = ExpectedHits("电影#p3");
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 60u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        const std::vector<std::string> fields = Fields(lines[i]);
        ASSERT_EQ(fields.size(), 5u);
        EXPECT_EQ(fields[0], std::to_string(i + 1));
        EXPECT_EQ(fields[1], demosite::HtmlEscape(expected[i].name));
        EXPECT_EQ(fields[2], expected[i].size);
        EXPECT_EQ(fields[3], expected[i].downloads);
        EXPECT_EQ(fields[4], site_.BaseAddress() + "/go/" + expected[i].shareId);
    }
    EXPECT_EQ(site_.Stats().requests, 3u) << "one request per page with the speed option";
}

TEST_F(CliEndToEnd, SearchResolveGivesTheRealShareAddresses) {
    const ChildResult result = Cli({"search", "--resolve", "三体#p2"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::vector<demosite::DemoHit> expected = ExpectedHits("三体#p2");
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 40u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::vector<std::string> fields = Fields(lines[i]);
        ASSERT_EQ(fields.size(), 5u) << lines[i];
        EXPECT_EQ(fields[0], std::to_string(i + 1));
        EXPECT_EQ(fields[4], site_.BaseAddress() + "/share/" + expected[i].shareId);
    }
    EXPECT_EQ(site_.Stats().requests, 2u + 40u) << "each page plus one go page per hit";
}

TEST_F(CliEndToEnd, SearchJsonGivesOneObjectPerLineWithTheFiveKeys) {
    const ChildResult result = Cli({"search", "--json", "纪录片#p1"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::vector<demosite::DemoHit> expected = ExpectedHits("纪录片#p1");
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto object = test::ParseFlatJson(lines[i]);
        ASSERT_TRUE(object.has_value()) << lines[i];
        ASSERT_EQ(object->size(), 5u);
        const char* keys[] = {"seq", "name", "size", "downloads", "address"};
        for (std::size_t k = 0; k < 5; ++k) EXPECT_EQ((*object)[k].first, keys[k]);
        EXPECT_TRUE((*object)[0].second.isNumber);
        EXPECT_EQ((*object)[0].second.text, std::to_string(i + 1));
        EXPECT_EQ((*object)[1].second.text, demosite::HtmlEscape(expected[i].name));
        EXPECT_EQ((*object)[2].second.text, expected[i].size);
        EXPECT_EQ((*object)[3].second.text, expected[i].downloads);
        EXPECT_EQ((*object)[4].second.text, site_.BaseAddress() + "/go/" + expected[i].shareId);
    }
}

TEST_F(CliEndToEnd, SearchWithoutRowsStillSucceeds) {
    const std::vector<std::vector<std::string>> lines = {
        {"--site", site_.BaseAddress(), "search", "电影#p0"},  // the site finds nothing
        {"--site", site_.BaseAddress() + "/", "search", ""},   // empty keyword: searched too
        {"--site", "http://127.0.0.1:1", "search", "电影"},    // nobody listening
    };
    const ChildResult nothing = Bare(lines[0]);
    EXPECT_EQ(nothing.exitCode, 0) << nothing.err;
    EXPECT_EQ(nothing.out, "");

    // A trailing slash on --site is dropped: addresses carry a single "/".
    const ChildResult empty = Bare(lines[1]);
    EXPECT_EQ(empty.exitCode, 0) << empty.err;
    const std::vector<std::string> rows = Lines(empty.out);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(Fields(rows[0])[4].rfind(site_.BaseAddress() + "/go/", 0), 0u) << rows[0];

    const ChildResult unreachable = Bare(lines[2]);
    EXPECT_EQ(unreachable.exitCode, 0) << unreachable.err;
    EXPECT_EQ(unreachable.out, "");
}

TEST_F(CliEndToEnd, HotPrintsEveryTitleWithoutQuestionMarksInPageOrder) {
    const ChildResult result = Cli({"hot"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::string expected;
    for (std::string title : demosite::TopTitles()) {
        std::erase(title, '?');
        expected += title + "\n";
    }
    EXPECT_EQ(result.out, expected);
    EXPECT_GT(Lines(result.out).size(), 100u);
}

TEST_F(CliEndToEnd, NoticeIsPrintedWhenTheWindowWouldShowIt) {
    const ChildResult result = Cli({"notice"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, demosite::NoticeText() + "\n");
}

TEST_F(CliEndToEnd, ResolveGivesWhatOpeningWouldHandToTheBrowser) {
    const ChildResult goAddress = Cli({"resolve", site_.BaseAddress() + "/go/1AbC9xYz"});
    EXPECT_EQ(goAddress.exitCode, 0) << goAddress.err;
    EXPECT_EQ(goAddress.out, site_.BaseAddress() + "/share/1AbC9xYz\n");
    EXPECT_EQ(site_.Stats().requests, 1u);

    // A real share address is handed on as it is, without a request.
    const ChildResult shareAddress = Cli({"resolve", "http://127.0.0.1:1/share/1AbC"});
    EXPECT_EQ(shareAddress.exitCode, 0) << shareAddress.err;
    EXPECT_EQ(shareAddress.out, "http://127.0.0.1:1/share/1AbC\n");
    EXPECT_EQ(site_.Stats().requests, 1u);
}

TEST_F(CliEndToEnd, HelpAndVersion) {
    const ChildResult help = Bare({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("usage: lumaquest-cli", 0), 0u);
    EXPECT_EQ(help.err, "");
    const ChildResult version = Bare({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "lumaquest-cli 0.2.0\n");
}

TEST(CliUsage, UsageErrorsExitTwoWithOneLineOnStderr) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"search"},
        {"search", "a", "b"},
        {"fetch", "x"},
        {"hot", "--json"},
        {"--site"},
        {"search", "--fast", "x"},
        {"resolve"},
    };
    for (const auto& args : cases) {
        std::vector<std::string> argv = {LUMAQUEST_CLI_PATH};
        argv.insert(argv.end(), args.begin(), args.end());
        const ChildResult result = RunChild(argv);
        EXPECT_EQ(result.exitCode, 2) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.rfind("lumaquest-cli: ", 0), 0u) << result.err;
        EXPECT_EQ(Lines(result.err).size(), 1u) << result.err;
    }
}

// The odd cases, on a fixture site built for them.
class CliFixture : public ::testing::Test {
protected:
    ChildResult Cli(const std::vector<std::string>& args) {
        std::vector<std::string> argv = {LUMAQUEST_CLI_PATH, "--site", site_.Base(), "--news-site",
                                         site_.Base()};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunChild(argv);
    }

    test::FixtureSite site_;
};

TEST_F(CliFixture, ControlCharactersAndBackslashesInFieldsAreEscaped) {
    site_.Serve("/s/?kw=esc&page=1", test::ResultPageHtml({{"e1", "tab\there", "1.5G", "5"},
                                                           {"e2", "back\\slash", "", "6"},
                                                           {"e3", "cr\rname", "23K", "7"},
                                                           {"e4", "esc\x1B[2Jname", "1M", "8"}},
                                                          1));
    site_.Serve("/go/e1", test::GoPageHtml("http://h/share/e1\nsecond\tline\\x"));
    site_.Serve("/go/e2", test::GoPageHtml("http://h/share/e2"));
    site_.Serve("/go/e3", test::GoPageHtml("http://h/share/e3"));
    site_.Serve("/go/e4", test::GoPageHtml("http://h/share/e4"));
    const std::string go = site_.Base() + "/go/";

    const ChildResult ticked = Cli({"search", "esc"});
    ASSERT_EQ(ticked.exitCode, 0) << ticked.err;
    EXPECT_EQ(ticked.out, "1\ttab\\there\t1.5G\t5\t" + go + "e1\n" + "2\tback\\\\slash\t\t6\t" +
                              go + "e2\n" + "3\tcr\\rname\t23K\t7\t" + go + "e3\n" +
                              "4\tesc\\x1B[2Jname\t1M\t8\t" + go + "e4\n");

    const ChildResult resolved = Cli({"search", "--resolve", "esc"});
    ASSERT_EQ(resolved.exitCode, 0) << resolved.err;
    const std::vector<std::string> lines = Lines(resolved.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(Fields(lines[0])[4], "http://h/share/e1\\nsecond\\tline\\\\x");

    const ChildResult json = Cli({"search", "--resolve", "--json", "esc"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const std::vector<std::string> objects = Lines(json.out);
    ASSERT_EQ(objects.size(), 4u);
    const std::string names[] = {"tab\there", "back\\slash", "cr\rname", "esc\x1B[2Jname"};
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const auto object = test::ParseFlatJson(objects[i]);
        ASSERT_TRUE(object.has_value()) << objects[i];
        EXPECT_EQ((*object)[1].second.text, names[i]);
    }
    EXPECT_EQ((*test::ParseFlatJson(objects[0]))[4].second.text,
              "http://h/share/e1\nsecond\tline\\x");
}

TEST_F(CliFixture, HotTitlesStayOneLineEach) {
    const auto link = [](const std::string& title) {
        return "<a href=\"/s/?kw=x\" target=\"_blank\" title=\"" + title + "\">x</a>\n";
    };
    site_.Serve("/top/?b=3",
                link("a") + link("b?") + link("tab\tand\\slash") + link("cr\rx\x1B") + link("???"));
    const ChildResult result = Cli({"hot"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "a\nb\ntab\\tand\\\\slash\ncr\\rx\\x1B\n\n");
}

TEST_F(CliFixture, NoticeHoldingFortyOrFiftyOrNothingPrintsNothing) {
    struct Case {
        std::string body;
        std::string out;
    };
    const Case cases[] = {
        {"<html><title>404 Not Found</title></html>", ""},
        {"本站共收录 50 万条资源", ""},
        {"", ""},
        {"第一行\r\n第二行\x1B]0;title\x07", "第一行\r\n第二行\\x1B]0;title\\x07\n"},
    };
    for (const Case& c : cases) {
        site_.Serve("/vrx.txt", c.body);
        const ChildResult result = Cli({"notice"});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, c.out) << c.body;
    }
}

TEST_F(CliFixture, ResolveRefusesAnythingButWebAddresses) {
    site_.Serve("/go/js1", test::GoPageHtml("javascript:alert(1)"));
    site_.Serve("/go/file1", test::GoPageHtml("file:///etc/passwd"));
    site_.Serve("/go/empty1", "<html>no script here</html>");
    const std::string cases[] = {
        "javascript:alert(1)",
        "file:///etc/passwd",
        "",
        "share/1AbC",
        site_.Base() + "/go/js1",
        site_.Base() + "/go/file1",
        site_.Base() + "/go/empty1",
        site_.Base() + "/go/missing",
    };
    for (const std::string& address : cases) {
        const ChildResult result = Cli({"resolve", address});
        EXPECT_EQ(result.exitCode, 3) << address;
        EXPECT_EQ(result.out, "") << address;
        EXPECT_EQ(result.err.rfind("lumaquest-cli: nothing to open: ", 0), 0u) << result.err;
        EXPECT_EQ(Lines(result.err).size(), 1u) << result.err;
    }
}

}  // namespace
}  // namespace lq

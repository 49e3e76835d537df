// The command line's grammar: commands, operands, site options, and the usage errors.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "cli/cliargs.h"

namespace lq {
namespace {

CliParseResult Parse(const std::vector<std::string_view>& args) { return ParseCliArguments(args); }

TEST(CliArgs, AcceptedLines) {
    struct Case {
        std::vector<std::string_view> args;
        CliCommand command;
        std::string operand;
        bool resolve;
        bool json;
        std::string site;      // "-": not given
        std::string newsSite;  // "-": not given
    };
    const Case cases[] = {
        {{"search", "电影"}, CliCommand::kSearch, "电影", false, false, "-", "-"},
        {{"search", "--resolve", "--json", "电影"},
         CliCommand::kSearch,
         "电影",
         true,
         true,
         "-",
         "-"},
        {{"search", "电影", "--json"}, CliCommand::kSearch, "电影", false, true, "-", "-"},
        {{"search", ""}, CliCommand::kSearch, "", false, false, "-", "-"},
        {{"search", "--", "--resolve"}, CliCommand::kSearch, "--resolve", false, false, "-", "-"},
        {{"search", "-"}, CliCommand::kSearch, "-", false, false, "-", "-"},
        {{"--site", "http://a", "--news-site", "http://b", "hot"},
         CliCommand::kHot,
         "",
         false,
         false,
         "http://a",
         "http://b"},
        {{"--site=http://a/", "notice"}, CliCommand::kNotice, "", false, false, "http://a/", "-"},
        {{"notice", "--news-site=http://b"},
         CliCommand::kNotice,
         "",
         false,
         false,
         "-",
         "http://b"},
        {{"resolve", "javascript:x"}, CliCommand::kResolve, "javascript:x", false, false, "-", "-"},
        {{"--site", "http://a", "--site", "http://c", "hot"},
         CliCommand::kHot,
         "",
         false,
         false,
         "http://c",
         "-"},
        {{"--help"}, CliCommand::kHelp, "", false, false, "-", "-"},
        {{"search", "-h"}, CliCommand::kHelp, "", false, false, "-", "-"},
        {{"bogus", "--help"}, CliCommand::kHelp, "", false, false, "-", "-"},
        {{"--version"}, CliCommand::kVersion, "", false, false, "-", "-"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const auto arg : c.args) line += "[" + std::string(arg) + "]";
        SCOPED_TRACE(line);
        const CliParseResult result = Parse(c.args);
        ASSERT_TRUE(result.arguments.has_value()) << result.error;
        const CliArguments& a = *result.arguments;
        EXPECT_EQ(a.command, c.command);
        EXPECT_EQ(a.utf8Operand, c.operand);
        EXPECT_EQ(a.resolve, c.resolve);
        EXPECT_EQ(a.json, c.json);
        EXPECT_EQ(a.utf8Site.value_or("-"), c.site);
        EXPECT_EQ(a.utf8NewsSite.value_or("-"), c.newsSite);
    }
}

TEST(CliArgs, UsageErrorsSayWhatIsWrongOnOneLine) {
    struct Case {
        std::vector<std::string_view> args;
        std::string error;
    };
    const Case cases[] = {
        {{}, "no command given"},
        {{"--site", "http://a"}, "no command given"},
        {{"find", "x"}, "unknown command find"},
        {{"search"}, "search needs a KEYWORD"},
        {{"search", "a", "b"}, "unexpected argument b"},
        {{"hot", "x"}, "unexpected argument x"},
        {{"resolve"}, "resolve needs an ADDRESS"},
        {{"hot", "--json"}, "--json belongs to search"},
        {{"resolve", "--resolve", "http://a"}, "--resolve belongs to search"},
        {{"search", "--fast", "x"}, "unknown option --fast"},
        {{"search", "-1"}, "unknown option -1"},
        {{"hot", "--site"}, "--site needs an address"},
        {{"hot", "--site="}, "--site needs an address"},
        {{"--news-site", "", "notice"}, "--news-site needs an address"},
    };
    for (const Case& c : cases) {
        const CliParseResult result = Parse(c.args);
        EXPECT_FALSE(result.arguments.has_value()) << c.error;
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.error.find('\n'), std::string::npos);
    }
}

}  // namespace
}  // namespace lq

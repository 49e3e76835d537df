// How rows and web texts are written: field escaping, JSON strings, stray bytes.
#include <gtest/gtest.h>

#include <string>

#include "cli/rowformat.h"
#include "tests/cli/flatjson.h"

namespace lq {
namespace {

TEST(RowFormat, FieldEscapingKeepsEveryFieldOnOneLine) {
    struct Case {
        std::string in;
        std::string field;     // EscapeField
        std::string terminal;  // TerminalSafeText
        std::string json;      // JsonString
    };
    const Case cases[] = {
        {"电影 1080P", "电影 1080P", "电影 1080P", "\"电影 1080P\""},
        {"a\tb", "a\\tb", "a\tb", "\"a\\tb\""},
        {"a\r\nb", "a\\r\\nb", "a\r\nb", "\"a\\r\\nb\""},
        {"C:\\dir\\", "C:\\\\dir\\\\", "C:\\dir\\", "\"C:\\\\dir\\\\\""},
        {"say \"hi\"", "say \"hi\"", "say \"hi\"", "\"say \\\"hi\\\"\""},
        {"\x1B[31mred", "\\x1B[31mred", "\\x1B[31mred", "\"\\u001b[31mred\""},
        {"del\x7F", "del\\x7F", "del\\x7F", "\"del\\u007f\""},
        {"csi\xC2\x9B", "csi\\u009B", "csi\\u009B", "\"csi\\u009b\""},
        {"bad\xFF\xC3", "bad\xEF\xBF\xBD\xEF\xBF\xBD", "bad\xEF\xBF\xBD\xEF\xBF\xBD",
         "\"bad\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"surrogate\xED\xA0\x80", "surrogate\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",
         "surrogate\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",
         "\"surrogate\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"", "", "", "\"\""},
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", "\"\xF0\x9F\x98\x80\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EscapeField(c.in), c.field) << c.in;
        EXPECT_EQ(TerminalSafeText(c.in), c.terminal) << c.in;
        EXPECT_EQ(JsonString(c.in), c.json) << c.in;
    }
}

TEST(RowFormat, LinesCarryFiveFieldsInOrder) {
    const PrintedRow row{"12", "名\t字", "1.5G", "120", "http://h/go/1a"};
    EXPECT_EQ(TabSeparatedLine(row), "12\t名\\t字\t1.5G\t120\thttp://h/go/1a\n");
    EXPECT_EQ(JsonLine(row),
              "{\"seq\":12,\"name\":\"名\\t字\",\"size\":\"1.5G\",\"downloads\":\"120\","
              "\"address\":\"http://h/go/1a\"}\n");
}

TEST(RowFormat, JsonLinesParseBackToTheirFields) {
    const PrintedRow rows[] = {
        {"1", "a\"b\\c\nd\x01", "", "0", "http://x/\xFF"},
        {"007", "n", "s", "d", "a"},  // not a JSON number: written as a string
        {"", "", "", "", ""},
    };
    for (const PrintedRow& row : rows) {
        const std::string line = JsonLine(row);
        ASSERT_EQ(line.back(), '\n');
        const auto parsed = test::ParseFlatJson(line);
        ASSERT_TRUE(parsed.has_value()) << line;
        ASSERT_EQ(parsed->size(), 5u);
        const char* keys[] = {"seq", "name", "size", "downloads", "address"};
        const std::string values[] = {row.sequence, ValidUtf8(row.name), row.size, row.downloads,
                                      ValidUtf8(row.address)};
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_EQ((*parsed)[i].first, keys[i]);
            EXPECT_EQ((*parsed)[i].second.text, values[i]) << keys[i];
        }
    }
}

}  // namespace
}  // namespace lq

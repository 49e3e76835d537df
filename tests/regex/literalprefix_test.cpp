// Tests for the leading literal of a pattern and for finding it in a text.
#include "regex/literalprefix.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

TEST(LiteralPrefix, LeadingLiteralsOnly) {
    struct Case {
        std::string pattern;
        bool caseSensitive;
        std::string expected;
    };
    const Case cases[] = {
        {"<a href=\"/t/([0-9]{1,})\"", true, "<a href=\"/t/"},
        {"<A HREF=\"/T/(x)", false, "<a href=\"/t/"},
        {"&nbsp;([0-9]{1,})&nbsp;", false, "&nb"},  // stops before "s" (also the long s)
        {"<a href=\"/s/\\?kw=(.*?)\"", true, "<a href=\"/s/?kw="},
        {"abc*", true, "ab"},  // the starred character may be absent
        {"abc?", true, "ab"},
        {"abc{0,1}", true, "ab"},
        {"abc+", true, "abc"},
        {"ab|cd", true, ""},  // alternatives at the top level
        {"ab(c|d)", true, "ab"},
        {"[|]ab", true, ""},
        {"a[|]b|c", true, ""},
        {"(ab)", true, ""},
        {"^ab", true, ""},
        {".ab", true, ""},
        {"\\dab", true, ""},
        {"\xE4\xB8\xAD\xE6\x96\x87x", true, "\xE4\xB8\xAD\xE6\x96\x87x"},
        {"\xE4\xB8\xAD\xE6\x96\x87x", false, ""},  // without case only ASCII is compared
        {"ok", false, "o"},                        // "k" also matches the Kelvin sign
        {"", true, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LiteralPrefix(c.pattern, c.caseSensitive), c.expected) << c.pattern;
    }
}

TEST(FindPrefix, CaseAndPositions) {
    struct Case {
        std::string text, prefix;
        std::size_t from;
        bool caseSensitive;
        std::size_t expected;
    };
    constexpr std::size_t npos = std::string_view::npos;
    const Case cases[] = {
        {"xx<a href", "<a h", 0, true, 2},  {"xx<A HREF", "<a h", 0, true, npos},
        {"xx<A HREF", "<a h", 0, false, 2}, {"xx<A HREF <a h", "<a h", 3, false, 10},
        {"aBc", "abc", 0, false, 0},        {"xAbcAbC", "abc", 2, false, 4},
        {"ab", "abc", 0, false, npos},      {"", "a", 0, false, npos},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindPrefix(c.text, c.prefix, c.from, c.caseSensitive), c.expected) << c.text;
    }
}

}  // namespace
}  // namespace lq

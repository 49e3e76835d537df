// Tests for locating capturing groups in a pattern and turning the unread ones off.
#include "regex/capturegroups.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

TEST(CapturingGroupOpenings, SkipsEscapesClassesAndNonCapturingGroups) {
    struct Case {
        std::string pattern;
        std::vector<std::size_t> openings;
    };
    const Case cases[] = {
        {"(a)(b(c))", {0, 3, 5}},
        {"\\((a)", {2}},    // escaped bracket
        {"[(](a)", {3}},    // bracket inside a class
        {"[]()](a)", {5}},  // a leading "]" does not close the class
        {"[^]()](a)", {6}},
        {"[[:alpha:]()](a)", {13}},  // a named class inside a class
        {"[\\]()](a)", {6}},         // an escaped "]" inside a class
        {"(?:a)(?i)(?i:b)(c)", {15}},
        {"(?P<name>a)(b)", {0, 11}},
        {"\\Q(a)\\E(b)", {7}},  // quoted text
        {"a\\", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CapturingGroupOpenings(c.pattern), c.openings) << c.pattern;
    }
}

TEST(KeepOnlyGroups, TurnsTheOthersNonCapturing) {
    struct Case {
        std::string pattern;
        std::vector<int> keep;
        std::string expected;
    };
    const Case cases[] = {
        {"(a)(b(c))", {2}, "(?:a)(b(?:c))"},  {"(a)(b(c))", {1, 2, 3}, "(a)(b(c))"},
        {"(a)(b(c))", {}, "(?:a)(?:b(?:c))"}, {"(?P<name>a)(b)", {2}, "(?:a)(b)"},
        {"[(](a)", {}, "[(](?:a)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeepOnlyGroups(c.pattern, CapturingGroupOpenings(c.pattern), c.keep), c.expected)
            << c.pattern;
    }
}

TEST(LooksAroundMatches, AnchorsAndWordBoundaries) {
    struct Case {
        std::string pattern;
        bool expected;
    };
    const Case cases[] = {
        {"abc", false},  {"^abc", true},      {"abc$", true},   {"\\babc", true},
        {"a\\Bb", true}, {"\\Aabc", true},    {"abc\\z", true}, {"[$^]", false},
        {"\\$", false},  {"\\Q^$\\E", false}, {"a\\sb", false},
    };
    for (const Case& c : cases) EXPECT_EQ(LooksAroundMatches(c.pattern), c.expected) << c.pattern;
}

}  // namespace
}  // namespace lq

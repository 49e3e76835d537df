// Tests for RegexObject: options, 1-based matches and groups, failures that leave nothing
// behind, character (not byte) matching over GBK, positions, replacement and large pages.
#include "regex/regexobject.h"

#include <gtest/gtest.h>

#include <string>

#include "text/codepage.h"
#include "text/gbktext.h"

namespace lq {
namespace {

// Test texts are written in UTF-8 here and handed over as the GBK the core works in.
std::string G(std::string_view utf8) { return Utf8ToGbk(utf8); }

TEST(RegexObject, NoMatchIsSuccessWithNothingToRead) {
    RegexObject regex;
    EXPECT_TRUE(regex.Create("xyz", "abc"));
    EXPECT_EQ(regex.MatchCount(), 0);
    EXPECT_EQ(regex.SubMatchText(1, 1), "");
    EXPECT_EQ(regex.MatchText(1), "");
    EXPECT_EQ(regex.SubMatchCount(), 0);
}

TEST(RegexObject, InvalidPatternFailsAndLeavesNothing) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("(b)", "abc"));
    ASSERT_EQ(regex.MatchCount(), 1);
    EXPECT_FALSE(regex.Create("(", "abc"));
    EXPECT_EQ(regex.MatchCount(), 0);
    EXPECT_EQ(regex.SubMatchText(1, 1), "");
    EXPECT_EQ(regex.MatchText(1), "");
    EXPECT_EQ(regex.SubMatchCount(), 0);
    EXPECT_EQ(regex.GetPattern(), "(");  // the engine holds the pattern it rejected
    EXPECT_EQ(regex.ReplaceMatches("x"), "");
}

TEST(RegexObject, SecondCreateForgetsTheFirst) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("(a)(b)", "ab ab ab"));
    ASSERT_EQ(regex.MatchCount(), 3);
    ASSERT_TRUE(regex.Create("(c)", "c"));
    EXPECT_EQ(regex.MatchCount(), 1);
    EXPECT_EQ(regex.SubMatchText(1, 1), "c");
    EXPECT_EQ(regex.SubMatchText(1, 2), "");
    EXPECT_EQ(regex.SubMatchText(2, 1), "");
    EXPECT_EQ(regex.GetPattern(), "(c)");
}

TEST(RegexObject, OutOfRangeNumbersGiveEmptyText) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("(a)(b)", "ab ab"));
    ASSERT_EQ(regex.MatchCount(), 2);
    struct Case {
        int i, j;
        std::string expected;
    };
    const Case cases[] = {
        {1, 1, "a"}, {2, 2, "b"}, {0, 1, ""}, {3, 1, ""},
        {-1, 1, ""}, {1, 0, ""},  {1, 3, ""}, {1, -1, ""},
    };
    for (const Case& c : cases) {
        int position = 99;
        EXPECT_EQ(regex.SubMatchText(c.i, c.j, &position), c.expected) << c.i << "," << c.j;
        if (c.expected.empty()) {
            EXPECT_EQ(position, -2);
        }
    }
    EXPECT_EQ(regex.MatchText(0), "");
    EXPECT_EQ(regex.MatchText(3), "");
    EXPECT_EQ(regex.MatchText(2), "ab");
}

TEST(RegexObject, ChineseLiteralsAndFullWidthColon) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create(G("下载次数：([0-9]{1,})"), G("下载次数：12 下载次数：345")));
    EXPECT_EQ(regex.MatchCount(), 2);
    EXPECT_EQ(regex.SubMatchText(1, 1), "12");
    EXPECT_EQ(regex.SubMatchText(2, 1), "345");
    EXPECT_EQ(regex.MatchText(2), G("下载次数：345"));
}

TEST(RegexObject, MatchesCharactersNotBytes) {
    RegexObject regex;
    // One "." is one Chinese character, not one byte.
    ASSERT_TRUE(regex.Create("^.$", G("中")));
    EXPECT_EQ(regex.MatchCount(), 1);
    // 丄 is 81 41: its second byte is "A", which must not match on its own.
    ASSERT_TRUE(regex.Create("A", G("丄")));
    EXPECT_EQ(regex.MatchCount(), 0);
    ASSERT_TRUE(regex.Create("[^a]", G("a中a")));
    EXPECT_EQ(regex.MatchCount(), 1);
    EXPECT_EQ(regex.MatchText(1), G("中"));
}

TEST(RegexObject, CaseSensitivity) {
    struct Case {
        std::string pattern, subject;
        bool caseSensitive;
        int expectedCount;
    };
    const Case cases[] = {
        {"ABC", "abc", false, 1},
        {"ABC", "abc", true, 0},
        {"abc", "ABC", false, 1},
        {"&nbsp;", "&NBSP;", false, 1},
    };
    RegexObject regex;
    for (const Case& c : cases) {
        ASSERT_TRUE(regex.Create(c.pattern, c.subject, c.caseSensitive));
        EXPECT_EQ(regex.MatchCount(), c.expectedCount) << c.pattern << " " << c.subject;
    }
}

TEST(RegexObject, GlobalOffFindsAtMostOne) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("a", "aaa", false, true, false));
    EXPECT_EQ(regex.MatchCount(), 1);
    ASSERT_TRUE(regex.Create("a", "aaa", false, true, true));
    EXPECT_EQ(regex.MatchCount(), 3);
    ASSERT_TRUE(regex.Create("x", "aaa", false, true, false));
    EXPECT_EQ(regex.MatchCount(), 0);
}

TEST(RegexObject, AlternativeNotTakenReadsEmpty) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("(a)|(b)", "b"));
    ASSERT_EQ(regex.MatchCount(), 1);
    EXPECT_EQ(regex.SubMatchText(1, 1), "");
    EXPECT_EQ(regex.SubMatchText(1, 2), "b");
    EXPECT_EQ(regex.SubMatchCount(), 2);
    // Leftmost-first: the first alternative that fits wins, not the longest.
    ASSERT_TRUE(regex.Create("(a|ab)(c|bcd)", "abcd"));
    EXPECT_EQ(regex.MatchText(1), "abcd");
    EXPECT_EQ(regex.SubMatchText(1, 1), "a");
    EXPECT_EQ(regex.SubMatchText(1, 2), "bcd");
}

TEST(RegexObject, QuotePlaceholder) {
    const std::string pattern =
        "a=" + std::string(kQuotePlaceholder) + "(.*?)" + std::string(kQuotePlaceholder);
    RegexObject regex;
    ASSERT_TRUE(regex.Create(pattern, "a=\"x\"", false, true, true, true));
    EXPECT_EQ(regex.SubMatchText(1, 1), "x");
    EXPECT_EQ(regex.GetPattern(), "a=\"(.*?)\"");
    ASSERT_TRUE(regex.Create(pattern, "a=\"x\"", false, true, true, false));
    EXPECT_EQ(regex.MatchCount(), 0);
    EXPECT_EQ(regex.GetPattern(), pattern);
}

TEST(RegexObject, DotStopsAtLineFeed) {
    struct Case {
        std::string pattern, subject;
        int expectedCount;
    };
    const Case cases[] = {
        {"a.b", "a\nb", 0},       {"a[\\s\\S]b", "a\nb", 1},
        {"a.b", "a\rb", 1},       {"a[\\s\\S]*?b", "a\n\n\nb", 1},
        {"a.*?b", "a\n\n\nb", 0},
    };
    RegexObject regex;
    for (const Case& c : cases) {
        ASSERT_TRUE(regex.Create(c.pattern, c.subject));
        EXPECT_EQ(regex.MatchCount(), c.expectedCount) << c.pattern;
    }
}

TEST(RegexObject, MultilineAnchors) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("^b$", "a\nb\nc", false, true));
    EXPECT_EQ(regex.MatchCount(), 1);
    ASSERT_TRUE(regex.Create("^b$", "a\nb\nc", false, false));
    EXPECT_EQ(regex.MatchCount(), 0);
    ASSERT_TRUE(regex.Create("^a", "a\na", false, false));
    EXPECT_EQ(regex.MatchCount(), 1);
    // A later search does not take its starting point for the start of the text.
    ASSERT_TRUE(regex.Create("^a", "aa", false, true));
    EXPECT_EQ(regex.MatchCount(), 1);
}

TEST(RegexObject, SubMatchCountReadsTheGroups) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("(a)(b(c))", "abc"));
    EXPECT_EQ(regex.SubMatchCount(), 3);
    EXPECT_EQ(regex.SubMatchText(1, 2), "bc");  // numbered by opening brackets
    EXPECT_EQ(regex.SubMatchText(1, 3), "c");
    ASSERT_TRUE(regex.Create("(a)(b(c))", "xyz"));
    EXPECT_EQ(regex.SubMatchCount(), 0);
}

TEST(RegexObject, EmptyMatchesMoveOnOneCharacter) {
    struct Case {
        std::string pattern, subject;
        std::vector<std::string> matches;
    };
    const Case cases[] = {
        {"a*", "baa", {"", "aa", ""}},
        {"a*", "ab", {"a", "", ""}},
        // One step past an empty match is a whole character: no match inside 中.
        {"x*", G("中a"), {"", "", ""}},
        {"", "", {""}},
    };
    RegexObject regex;
    for (const Case& c : cases) {
        ASSERT_TRUE(regex.Create(c.pattern, c.subject));
        ASSERT_EQ(regex.MatchCount(), static_cast<int>(c.matches.size())) << c.pattern;
        for (std::size_t i = 0; i < c.matches.size(); ++i) {
            EXPECT_EQ(regex.MatchText(static_cast<int>(i) + 1), c.matches[i]);
        }
    }
}

TEST(RegexObject, PositionsAreGbkByteOffsets) {
    struct Case {
        std::string pattern, subject;
        int match, group;  // group 0: MatchText
        std::string text;
        int position;
    };
    const Case cases[] = {
        {"b", G("中b"), 1, 0, "b", 2},
        {"b", "ab", 1, 0, "b", 1},
        {"a", "aa", 2, 0, "a", 1},
        {"b", G("中中b"), 1, 0, "b", 4},
        {"b", G("a中b"), 1, 0, "b", 3},
        // The group's own place, not an earlier copy of its text inside the match.
        {"a(a)", "aa", 1, 1, "a", 1},
        {G("中(.)"), G("x中中"), 1, 1, G("中"), 3},
        // An empty group has a place; a group that took no part has none.
        {"a()b", "xab", 1, 1, "", 2},
        {"(a)|(b)", "b", 1, 1, "", -2},
        // Offsets count in the subject as it converts back to GBK: a byte pair that names no
        // character comes back as one "?".
        {"b", G("中") + "\xFF" + "b", 1, 0, "b", 3},
        {"\\?", "\xAA\xA1?", 1, 0, "?", 1},
    };
    for (const Case& c : cases) {
        RegexObject regex;
        ASSERT_TRUE(regex.Create(c.pattern, c.subject));
        int position = 99;
        const std::string text = c.group == 0 ? regex.MatchText(c.match, &position)
                                              : regex.SubMatchText(c.match, c.group, &position);
        EXPECT_EQ(text, c.text) << c.pattern;
        EXPECT_EQ(position, c.position) << c.pattern;
    }
}

TEST(RegexObject, PositionsInAnyOrder) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create(G("(中)"), G("中a中a中")));
    ASSERT_EQ(regex.MatchCount(), 3);
    int position = 0;
    regex.MatchText(3, &position);
    EXPECT_EQ(position, 6);
    regex.MatchText(1, &position);
    EXPECT_EQ(position, 0);
    regex.SubMatchText(2, 1, &position);
    EXPECT_EQ(position, 3);
}

TEST(RegexObject, MatchTextKeepsGbkCharactersAsTheyAre) {
    // FD 9C is a compatibility ideograph: composing must not turn it into another character.
    RegexObject regex;
    ASSERT_TRUE(regex.Create(".", "\xFD\x9C"));
    ASSERT_EQ(regex.MatchCount(), 1);
    EXPECT_EQ(regex.MatchText(1), "\xFD\x9C");
}

TEST(RegexObject, ReplaceMatches) {
    struct Case {
        std::string pattern, subject;
        bool global;
        std::string replacement, expected;
    };
    const Case cases[] = {
        {"(a)(b)", "ab-ab", true, "$2$1", "ba-ba"},
        {"(a)(b)", "ab-ab", false, "$2$1", "ba-ab"},
        {"b", "abc", true, "[$&]", "a[b]c"},
        {"b", "abc", true, "$$", "a$c"},
        {"b", "abc", true, "$0$", "a$0$c"},
        {"(b)", "abc", true, "$12", "ab2c"},   // no group 12: group 1 and "2"
        {"(b)", "abc", true, "$9", "a$9c"},    // no such group: literal
        {"(a)|(b)", "b", true, "<$1>", "<>"},  // a group that took no part is empty
        {"x", "abc", true, "y", "abc"},
        {"a*", "baa", true, "-", "-b--"},
        {G("(中)"), G("中文"), true, G("$1$1"), G("中中文")},
    };
    RegexObject regex;
    EXPECT_EQ(regex.ReplaceMatches("x"), "");  // no engine yet
    for (const Case& c : cases) {
        ASSERT_TRUE(regex.Create(c.pattern, c.subject, false, true, c.global));
        EXPECT_EQ(regex.ReplaceMatches(c.replacement), c.expected)
            << c.pattern << " " << c.replacement;
    }
    // Ten groups: "$10" names the tenth.
    ASSERT_TRUE(regex.Create("(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "abcdefghij"));
    EXPECT_EQ(regex.ReplaceMatches("$10$1"), "ja");
}

TEST(RegexObject, GetPatternBeforeAndAfterCreate) {
    RegexObject regex;
    EXPECT_EQ(regex.GetPattern(), "");
    ASSERT_TRUE(regex.Create(G("下载(.)"), ""));
    EXPECT_EQ(regex.GetPattern(), G("下载(.)"));
}

TEST(RegexObject, TextEndsAtZeroByte) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("b", std::string("a\0b", 3)));
    EXPECT_EQ(regex.MatchCount(), 0);
}

TEST(RegexObject, GroupsReadInAnyOrder) {
    // Groups are worked out when first read; reading some, then others, then going back to
    // earlier matches must always give the same answers.
    std::string subject;
    for (int i = 0; i < 5; ++i) {
        subject +=
            "<" + std::to_string(i) + "|x" + std::to_string(i) + "|y" + std::to_string(i) + ">";
    }
    const std::string pattern = "<([0-9])\\|(x[0-9])\\|(y([0-9]))>";
    RegexObject regex;
    ASSERT_TRUE(regex.Create(pattern, subject));
    ASSERT_EQ(regex.MatchCount(), 5);
    EXPECT_EQ(regex.SubMatchText(3, 2), "x2");
    EXPECT_EQ(regex.SubMatchText(1, 1), "0");
    EXPECT_EQ(regex.SubMatchText(3, 4), "2");
    EXPECT_EQ(regex.SubMatchText(3, 1), "2");
    EXPECT_EQ(regex.SubMatchText(5, 3), "y4");
    for (int i = 1; i <= 5; ++i) {
        const std::string digit = std::to_string(i - 1);
        EXPECT_EQ(regex.SubMatchText(i, 1), digit);
        EXPECT_EQ(regex.SubMatchText(i, 2), "x" + digit);
        EXPECT_EQ(regex.SubMatchText(i, 3), "y" + digit);
        EXPECT_EQ(regex.SubMatchText(i, 4), digit);
    }
    // The same pattern again on another subject: what was learnt about it changes nothing.
    ASSERT_TRUE(regex.Create(pattern, "<7|x8|y9>"));
    EXPECT_EQ(regex.SubMatchText(1, 4), "9");
    EXPECT_EQ(regex.SubMatchText(1, 1), "7");
    EXPECT_EQ(regex.SubMatchText(1, 3), "y9");
}

TEST(RegexObject, GroupsWithBracketsInClassesAndNames) {
    RegexObject regex;
    ASSERT_TRUE(regex.Create("[(](a+)[)](?P<n>b)(?:c)(d)", "(aa)bcd"));
    ASSERT_EQ(regex.MatchCount(), 1);
    EXPECT_EQ(regex.SubMatchCount(), 3);
    EXPECT_EQ(regex.SubMatchText(1, 3), "d");
    EXPECT_EQ(regex.SubMatchText(1, 1), "aa");
    EXPECT_EQ(regex.SubMatchText(1, 2), "b");
}

TEST(RegexObject, PlacesWithTheLeadingTextButNoMatch) {
    struct Case {
        std::string pattern, subject;
        std::vector<std::string> groups;  // group 1 of each match
    };
    std::string manyFalseStarts;
    for (int i = 0; i < 40; ++i) manyFalseStarts += "abcx ";
    const Case cases[] = {
        {"abc(d)", "abcx abcd", {"d"}},
        {"abc(d)", manyFalseStarts + "abcd " + manyFalseStarts + "abcd", {"d", "d"}},
        {"ABC(d)", "abcx ABCD", {"D"}},
        // Assertions that look outside the match.
        {"\\bfoo(\\w)", "xfoo1 foo2", {"2"}},
        {"^ab(c)", "abc\nabc\nxabc", {"c", "c"}},
        {"ab(c)$", "abc\nabcx\nabc", {"c", "c"}},
        {"fo\\B(o)", "foo fo", {"o"}},
    };
    RegexObject regex;
    for (const Case& c : cases) {
        ASSERT_TRUE(regex.Create(c.pattern, c.subject));
        ASSERT_EQ(regex.MatchCount(), static_cast<int>(c.groups.size())) << c.pattern;
        for (std::size_t i = 0; i < c.groups.size(); ++i) {
            EXPECT_EQ(regex.SubMatchText(static_cast<int>(i) + 1, 1), c.groups[i]) << c.pattern;
        }
    }
}

TEST(RegexObject, ManyMatchesAreAllKept) {
    std::string page;
    for (int i = 0; i < 20000; ++i) page += G("<b>") + std::to_string(i) + G("中</b>\n");
    RegexObject regex;
    ASSERT_TRUE(regex.Create(G("<b>([0-9]{1,})中</b>"), page));
    ASSERT_EQ(regex.MatchCount(), 20000);
    EXPECT_EQ(regex.SubMatchText(1, 1), "0");
    EXPECT_EQ(regex.SubMatchText(20000, 1), "19999");
    int position = 0;
    EXPECT_EQ(regex.MatchText(20000, &position), G("<b>19999中</b>"));
    EXPECT_EQ(page.substr(static_cast<std::size_t>(position), 3), "<b>");
}

}  // namespace
}  // namespace lq

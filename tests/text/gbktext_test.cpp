// Tests for the GBK-aware text helpers: character stepping (a byte of 0x80 or more takes the
// next byte with it), ASCII-only case folding, trimming, splitting and marker extraction.
#include "text/gbktext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lq {
namespace {

// GBK literals used below.
const std::string kZhong = "\xD6\xD0";           // 中
const std::string kShang = "\x81\x41";           // 丄: its second byte is "A"
const std::string kFullSpace = "\xA1\xA1";       // full-width space
const std::string kQuote = "#\xD2\xFD\xBA\xC5";  // #引号

TEST(FindText, PositionsAndCharacterStepping) {
    struct Case {
        std::string text;
        std::string needle;
        int start;
        bool ignoreCase;
        int expected;
    };
    const Case cases[] = {
        {"hello world", "world", 1, false, 7},
        {"hello world", "o", 1, false, 5},
        {"hello world", "o", 6, false, 8},
        {"hello world", "o", 0, false, 5},  // a start below 1 counts as 1
        {"hello world", "o", -5, false, 5},
        {"hello world", "o", 12, false, -1},  // beyond the last byte
        {"hello world", "x", 1, false, -1},
        {"abc", "", 1, false, 1},  // empty needle at the start
        {"abc", "", 3, false, 3},
        {"abc", "", 4, false, -1},  // no byte at the start
        {"", "", 1, false, -1},
        {"", "a", 1, false, -1},
        {kShang, "A", 1, false, -1},  // never on a second byte
        {kShang + "A", "A", 1, false, 3},
        {"x" + kZhong + "A", "A", 1, false, 4},
        {kZhong + kZhong, "\xD0\xD6", 1, false, -1},  // straddles two characters
        // The walk steps from wherever it starts: from byte 2 it pairs D0 D6, so the second
        // 中 is passed over.
        {kZhong + kZhong, kZhong, 2, false, -1},
        {kZhong + kZhong, kZhong, 3, false, 3},
        {"ABC", "abc", 1, false, -1},
        {"ABC", "abc", 1, true, 1},
        {"xAbC", "aBc", 1, true, 2},
        {kShang, "a", 1, true, -1},  // folding does not make a second byte a match
        {std::string("ab\0cd", 5), "cd", 1, false, -1},  // the text ends at its zero byte
        {"ab", "ab\xD6", 1, false, -1},
        {"a\x80", "\x80", 1, false, 2},  // a lead byte before the end is still tried
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindText(c.text, c.needle, c.start, c.ignoreCase), c.expected)
            << "text=" << c.text << " needle=" << c.needle << " start=" << c.start;
    }
}

TEST(FindText, LongTextFindsOnlyBoundaryMatches) {
    // Many candidates on second bytes before the real one: the walk must skip them all.
    std::string text;
    for (int i = 0; i < 10000; ++i) text += kShang;
    text += "A";
    EXPECT_EQ(FindText(text, "A"), 20001);
    EXPECT_TRUE(ContainsText(text, "a", true));
    EXPECT_FALSE(ContainsText(kShang, "A"));
}

TEST(ReplaceAll, ReplacesOnBoundariesWithoutRescanning) {
    struct Case {
        std::string text, from, to;
        bool ignoreCase;
        std::string expected;
    };
    const Case cases[] = {
        {"a-b-c", "-", "+", false, "a+b+c"},
        {"aaa", "a", "aa", false, "aaaaaa"},  // replaced text is not rescanned
        {"aaaa", "aa", "a", false, "aa"},
        {"abc", "", "x", false, "abc"},  // nothing to look for
        {"", "a", "b", false, ""},
        {kShang + "A", "A", "B", false, kShang + "B"},
        {"Abc abc", "ABC", "x", true, "x x"},
        {"Abc abc", "ABC", "x", false, "Abc abc"},
        {kZhong + "a" + kZhong, kZhong, "", false, "a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReplaceAll(c.text, c.from, c.to, c.ignoreCase), c.expected) << c.text;
    }
}

TEST(ExpandQuotes, EachPlaceholderBecomesOneQuote) {
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {"a=" + kQuote + "(.*?)" + kQuote, "a=\"(.*?)\""},
        {kQuote + kQuote, "\"\""},
        {"#" + kQuote, "#\""},
        {"no placeholder", "no placeholder"},
        {"\xD2\xFD\xBA\xC5", "\xD2\xFD\xBA\xC5"},  // 引号 alone stays
        // "\xB0#" is one character, so the "#" after it does not start a placeholder.
        {"\xB0" + kQuote, "\xB0" + kQuote},
    };
    for (const Case& c : cases) EXPECT_EQ(ExpandQuotes(c.text), c.expected);
}

TEST(CaseFolding, OnlyAsciiLettersOutsideDoubleByteCharacters) {
    EXPECT_EQ(AsciiLower("ABC xyz 123 [@]"), "abc xyz 123 [@]");
    EXPECT_EQ(AsciiUpper("abc XYZ 123 {`}"), "ABC XYZ 123 {`}");
    // 丄 is 81 41: its second byte must not be folded into 81 61.
    EXPECT_EQ(AsciiLower(kShang + "A"), kShang + "a");
    EXPECT_EQ(AsciiUpper("\x81"
                         "a"
                         "a"),
              "\x81"
              "aA");
    EXPECT_EQ(AsciiLower(std::string("A\0B", 3)), "a");
    EXPECT_EQ(AsciiLower(""), "");
}

TEST(TrimSpaces, AsciiAndFullWidthSpacesAtBothEnds) {
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {"  abc  ", "abc"},
        {kFullSpace + " a b " + kFullSpace, "a b"},
        {"\tabc\r\n", "\tabc\r\n"},  // nothing but spaces is trimmed
        {"   ", ""},
        {kFullSpace + kFullSpace, ""},
        {"", ""},
        {"\xA1", "\xA1"},  // half a full-width space stays
        // B0 A1 is one character; the A1 A1 after it is a space.
        {"\xB0\xA1" + kFullSpace, "\xB0\xA1"},
        // B0 A1 then A1 alone: the final A1 A1 bytes are not a character.
        {"x\xB0\xA1\xA1", "x\xB0\xA1\xA1"},
        {kZhong + " ", kZhong},
    };
    for (const Case& c : cases) EXPECT_EQ(TrimSpaces(c.text), c.expected);
}

TEST(RemoveSpaces, EverywhereButInsideCharacters) {
    EXPECT_EQ(RemoveSpaces(" a b" + kFullSpace + "c "), "abc");
    EXPECT_EQ(RemoveSpaces("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
    EXPECT_EQ(RemoveSpaces("\x81\x20"), "\x81\x20");  // 0x20 here is a second byte
    EXPECT_EQ(RemoveSpaces(""), "");
}

TEST(SplitText, EmptyItemsAndTheLastPiece) {
    using Items = std::vector<std::string>;
    struct Case {
        std::string text, separator;
        Items expected;
    };
    const Case cases[] = {
        {"", ",", {}},
        {"a", ",", {"a"}},
        {"a,b", ",", {"a", "b"}},
        {"a,b,", ",", {"a", "b"}},      // nothing after the last separator
        {"a,,b", ",", {"a", "", "b"}},  // an empty piece between separators is kept
        {",", ",", {""}},
        {",,", ",", {"", ""}},
        {"a\r\nb\r\n", "\r\n", {"a", "b"}},
        {kShang + "A" + "x", "A", {kShang, "x"}},  // only the standalone "A" separates
        {"abc", "", {"abc"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitText(c.text, c.separator), c.expected) << c.text;
}

TEST(TextBetween, MarkersAndEdgeCases) {
    struct Case {
        std::string text, left, right;
        int start;
        bool ignoreCase;
        std::string expected;
    };
    const Case cases[] = {
        {"var u; location.href='target'; go()", "location.href='", "';", 1, false, "target"},
        {"no left marker here ';", "location.href='", "';", 1, false, ""},
        {"'; location.href='target", "location.href='", "';", 1, false, ""},  // right only before
        {"ab", "a", "b", 1, false, ""},                                       // touching markers
        {"a=\"v\"", "a=" + kQuote, kQuote, 1, false, "v"},
        {"xyz", "z", "", 1, false, ""},  // left marker at the very end
        {"abc", "c", "x", 1, false, ""},
        {kShang, "A", "", 1, false, ""},        // marker on a second byte is not found
        {"abc;def", "", ";", 1, false, "abc"},  // empty left marker: from the first byte
        {"abc;def", "a", "", 1, false, ""},     // empty right marker
        {"[1][2]", "[", "]", 1, false, "1"},
        {"[1][2]", "[", "]", 3, false, "2"},  // searched from start
        {"[1][2]", "[", "]", 0, false, "1"},
        {"User-Agent: x\r\n", "user-agent:", "\r\n", 1, true, " x"},
        {"User-Agent: x\r\n", "user-agent:", "\r\n", 1, false, ""},
        {"<" + kZhong + ">", "<", ">", 1, false, kZhong},
        {std::string("a[x]\0[y]", 8), "[", "]", 1, false, "x"},
        {std::string("a\0[y]", 5), "[", "]", 1, false, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase), c.expected)
            << "text=" << c.text << " left=" << c.left << " right=" << c.right;
    }
}

}  // namespace
}  // namespace lq

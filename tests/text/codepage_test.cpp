// Tests for the GBK / UTF-8 / UTF-16 conversions: known characters, replacement of bad input,
// the zero byte that ends a text, and that the run-at-a-time fast paths agree with converting
// character by character.
#include "text/codepage.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>

#include <string>
#include <thread>
#include <vector>

namespace lq {
namespace {

const std::string kUtf8Replacement = "\xEF\xBF\xBD";

TEST(GbkUtf8, KnownCharacters) {
    struct Case {
        std::string gbk, utf8;
    };
    const Case cases[] = {
        {"\xD6\xD0", "\xE4\xB8\xAD"},                      // 中
        {"\xCB\xD1\xCB\xF7", "\xE6\x90\x9C\xE7\xB4\xA2"},  // 搜索
        {"\x80", "\xE2\x82\xAC"},                          // euro sign
        {"\xA1\xA1", "\xE3\x80\x80"},                      // full-width space
        {"\xA3\xBA", "\xEF\xBC\x9A"},                      // full-width colon
        {"\xD6\x41", "\xE8\xAB\xA5"},                      // second byte in ASCII range
        {"<a>\xD6\xD0</a>", "<a>\xE4\xB8\xAD</a>"},
        {"plain ASCII 123 <>&\r\n\t", "plain ASCII 123 <>&\r\n\t"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8) << c.gbk;
        EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk) << c.gbk;
    }
}

TEST(GbkUtf8, TextEndsAtFirstZeroByte) {
    EXPECT_EQ(Utf8ToGbk(std::string("ab\0\xE4\xB8\xAD", 6)), "ab");
    EXPECT_EQ(GbkToUtf8(std::string("\xD6\xD0\0cd", 5)), "\xE4\xB8\xAD");
    EXPECT_EQ(ToUtf16(std::string("a\0b", 3), kCodePageUtf8), u"a");
    EXPECT_EQ(FromUtf16(std::u16string(u"a\0b", 3), kCodePageGbk), "a");
}

TEST(Utf8ToGbk, BadAndUnrepresentableInputBecomesQuestionMarks) {
    struct Case {
        std::string utf8, gbk;
    };
    const Case cases[] = {
        {"a\xFF"
         "b",
         "a?b"},
        {"\xE4\xB8"
         "x",
         "?x"},                                 // truncated sequence before ASCII
        {"\xE4\xB8", "?"},                      // truncated at the end
        {"\xE4\xB8\xE4\xB8\xAD", "?\xD6\xD0"},  // truncated before a whole character
        {"\x80\x80", "??"},                     // stray continuation bytes
        {"\xC0\xAF", "??"},                     // overlong form
        {"\xED\xA0\x80", "???"},                // encoded surrogate
        {"\xF0\x9F\x98\x80", "?"},              // U+1F600: valid, but GBK has no form
        {"\xE4\xB8\xAD\xF0\x9F\x98\x80\xE4\xB8\xAD", "\xD6\xD0?\xD6\xD0"},
        {"\xEF\xBB\xBF"
         "a",
         "?a"},             // a byte-order mark is just a character
        {"\xCC\x81", "?"},  // combining acute accent
    };
    for (const Case& c : cases) EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk) << c.utf8;
}

TEST(GbkToUtf8, BadPairsBecomeReplacementCharacters) {
    struct Case {
        std::string gbk, utf8;
    };
    const Case cases[] = {
        {"\xFF", kUtf8Replacement},
        {"\xAA\xA1", kUtf8Replacement},         // user-defined area: one character
        {"\xD6", kUtf8Replacement},             // lead byte at the end
        {"\xD6<b>", kUtf8Replacement + "<b>"},  // the markup after a stray lead survives
        {"\xD6\x7F", kUtf8Replacement + "\x7F"},
        {"a\xFF\xD6\xD0", "a" + kUtf8Replacement + "\xE4\xB8\xAD"},
    };
    for (const Case& c : cases) EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8) << c.gbk;
}

TEST(Utf16, BothCodePages) {
    EXPECT_EQ(ToUtf16("\xD6\xD0"
                      "a\x80",
                      kCodePageGbk),
              u"\u4E2Da\u20AC");
    EXPECT_EQ(ToUtf16("\xE4\xB8\xAD"
                      "a",
                      kCodePageUtf8),
              u"\u4E2Da");
    EXPECT_EQ(ToUtf16("\xF0\x9F\x98\x80", kCodePageUtf8), u"\U0001F600");
    EXPECT_EQ(ToUtf16("\xFF"
                      "a",
                      kCodePageUtf8),
              u"\uFFFDa");
    EXPECT_EQ(ToUtf16("\xFF"
                      "a",
                      kCodePageGbk),
              u"\uFFFDa");
    EXPECT_EQ(ToUtf16("\xEF\xBB\xBF", kCodePageUtf8), u"\uFEFF");
    EXPECT_EQ(ToUtf16("abc", 1252), u"");  // only 936 and 65001 are known

    EXPECT_EQ(FromUtf16(u"\u4E2Da\u20AC", kCodePageGbk),
              "\xD6\xD0"
              "a\x80");
    EXPECT_EQ(FromUtf16(u"\U0001F600x", kCodePageGbk), "?x");
    EXPECT_EQ(FromUtf16(u"\U0001F600", kCodePageUtf8), "\xF0\x9F\x98\x80");
    const std::u16string loneSurrogates = {0xD800, u'a', 0xDC00};
    EXPECT_EQ(FromUtf16(loneSurrogates, kCodePageUtf8), kUtf8Replacement + "a" + kUtf8Replacement);
    EXPECT_EQ(FromUtf16(loneSurrogates, kCodePageGbk), "?a?");
    EXPECT_EQ(FromUtf16(u"abc", 1252), "");
    EXPECT_EQ(ToUtf16("", kCodePageGbk), u"");
    EXPECT_EQ(FromUtf16(u"", kCodePageUtf8), "");
}

// Every double-byte GBK character, converted one at a time, must give the same result as the
// whole table converted in one go, and every character the C library knows must come back.
TEST(GbkUtf8, WholeTableAgreesWithCharacterByCharacter) {
    std::string all;
    std::string expectedUtf8;
    std::string expectedGbk;
    int known = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int second = 0x40; second <= 0xFE; ++second) {
            if (second == 0x7F) continue;
            const std::string ch{static_cast<char>(lead), static_cast<char>(second)};
            const std::string utf8 = GbkToUtf8(ch);
            all += ch;
            all += "a";  // ASCII between characters exercises the run splitting
            expectedUtf8 += utf8 + "a";
            if (utf8 != kUtf8Replacement) {
                ++known;
                EXPECT_EQ(Utf8ToGbk(utf8), ch) << lead << " " << second;
                expectedGbk += ch + "a";
            } else {
                expectedGbk += "?a";
            }
        }
    }
    EXPECT_GT(known, 21000);  // GBK holds about 21 886 characters
    EXPECT_EQ(GbkToUtf8(all), expectedUtf8);
    EXPECT_EQ(Utf8ToGbk(expectedUtf8), expectedGbk);
    EXPECT_EQ(FromUtf16(ToUtf16(all, kCodePageGbk), kCodePageUtf8), expectedUtf8);
    EXPECT_EQ(FromUtf16(ToUtf16(expectedUtf8, kCodePageUtf8), kCodePageGbk), expectedGbk);
}

// The lookup tables must say exactly what iconv's CP936 says, character for character.
class IconvReference {
public:
    IconvReference(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~IconvReference() {
        if (handle_ != reinterpret_cast<iconv_t>(-1)) iconv_close(handle_);
    }
    IconvReference(const IconvReference&) = delete;
    IconvReference& operator=(const IconvReference&) = delete;
    // The whole conversion of input, or nothing when iconv refuses any of it.
    std::string Convert(std::string input) const {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char output[16] = {};
        char* in = input.data();
        std::size_t inLeft = input.size();
        char* out = output;
        std::size_t outLeft = sizeof output;
        if (iconv(handle_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) return {};
        return std::string(output, sizeof output - outLeft);
    }

private:
    iconv_t handle_;
};

TEST(Cp936, TablesAgreeWithIconvEverywhere) {
    const IconvReference encoder("CP936", "UTF-16LE");
    int mismatches = 0;
    for (unsigned unit = 0x80; unit <= 0xFFFF; ++unit) {
        if (unit >= 0xD800 && unit <= 0xDFFF) continue;
        const char16_t ch = static_cast<char16_t>(unit);
        std::string utf16le(2, '\0');
        utf16le[0] = static_cast<char>(unit & 0xFF);
        utf16le[1] = static_cast<char>(unit >> 8);
        std::string expected = encoder.Convert(utf16le);
        if (expected.empty()) expected = "?";
        if (FromUtf16(std::u16string_view(&ch, 1), kCodePageGbk) != expected && ++mismatches < 10) {
            ADD_FAILURE() << "U+" << std::hex << unit;
        }
    }
    const IconvReference decoder("UTF-16LE", "CP936");
    for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
        for (unsigned second = 0x40; second <= 0xFE; ++second) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(second)};
            const std::string single{static_cast<char>(lead)};
            const std::u16string got = ToUtf16(pair, kCodePageGbk);
            // What iconv makes of the pair, or of the lead standing alone and then the second.
            std::string reference = decoder.Convert(pair);
            std::u16string expected;
            if (!reference.empty()) {
                expected.resize(reference.size() / 2);
                std::memcpy(expected.data(), reference.data(), reference.size());
            } else {
                const std::string alone = decoder.Convert(single);
                const bool pairShaped = lead >= 0x81 && lead <= 0xFE && second != 0x7F;
                if (alone.size() == 2) {
                    char16_t unit = 0;
                    std::memcpy(&unit, alone.data(), 2);
                    expected = std::u16string(1, unit) +
                               ToUtf16(std::string(1, static_cast<char>(second)), kCodePageGbk);
                } else if (pairShaped) {
                    expected = u"\uFFFD";
                } else {
                    expected = u"\uFFFD" +
                               ToUtf16(std::string(1, static_cast<char>(second)), kCodePageGbk);
                }
            }
            if (got != expected && ++mismatches < 10) {
                ADD_FAILURE() << std::hex << lead << " " << second;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(GbkUtf8, LargeTextConvertsWhole) {
    std::string gbk;
    for (int i = 0; i < 200000; ++i) gbk += (i % 3 == 0) ? "\xD6\xD0" : "x";
    const std::string utf8 = GbkToUtf8(gbk);
    EXPECT_EQ(Utf8ToGbk(utf8), gbk);
    EXPECT_EQ(ToUtf16(gbk, kCodePageGbk).size(), 200000u);
}

TEST(GbkUtf8, ConcurrentConversionsDoNotInterfere) {
    const std::string gbk = "\xCB\xD1\xCB\xF7 abc \x80 \xAA\xA1 \xD6\xD0";
    const std::string expected = GbkToUtf8(gbk);
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                if (GbkToUtf8(gbk) != expected ||
                    Utf8ToGbk(expected) != Utf8ToGbk(GbkToUtf8(gbk))) {
                    ++failures[static_cast<std::size_t>(t)];
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (const int count : failures) EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace lq

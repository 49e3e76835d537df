// Tests for reading one UTF-8 character strictly: the boundaries of each sequence length, and
// every way a sequence can be ill-formed giving length 0.
#include "text/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace lq {
namespace {

TEST(ReadUtf8Char, Table) {
    struct Case {
        std::string text;
        std::size_t at;
        char32_t codePoint;  // checked only when length is not 0
        std::size_t length;
    };
    const Case cases[] = {
        {"A", 0, U'A', 1},
        {std::string("\0", 1), 0, 0, 1},
        {"\x7F", 0, 0x7F, 1},
        {"x\xC2\x80", 1, 0x80, 2},  // at counts from the start of the text
        {"\xDF\xBF", 0, 0x7FF, 2},
        {"\xE0\xA0\x80", 0, 0x800, 3},
        {"\xE4\xB8\xAD", 0, U'\u4E2D', 3},  // 中
        {"\xED\x9F\xBF", 0, 0xD7FF, 3},     // just below the surrogates
        {"\xEE\x80\x80", 0, 0xE000, 3},     // just above them
        {"\xEF\xBF\xBF", 0, 0xFFFF, 3},
        {"\xF0\x90\x80\x80", 0, 0x10000, 4},
        {"\xF4\x8F\xBF\xBF", 0, 0x10FFFF, 4},
        {"\xE4\xB8\xAD\xE6\x96\x87", 3, U'\u6587', 3},  // 文, second of two
        // Ill-formed: stray continuation bytes and lead bytes that start nothing.
        {"\x80", 0, 0, 0},
        {"\xBF", 0, 0, 0},
        {"\xC0\x80", 0, 0, 0},
        {"\xC1\xBF", 0, 0, 0},
        {"\xF5\x80\x80\x80", 0, 0, 0},
        {"\xFF", 0, 0, 0},
        // Overlong forms, surrogates, and above U+10FFFF.
        {"\xE0\x9F\xBF", 0, 0, 0},
        {"\xF0\x8F\xBF\xBF", 0, 0, 0},
        {"\xED\xA0\x80", 0, 0, 0},
        {"\xED\xBF\xBF", 0, 0, 0},
        {"\xF4\x90\x80\x80", 0, 0, 0},
        // Cut short by the end of the text, or by a byte that is not a continuation.
        {"\xC2", 0, 0, 0},
        {"\xE4\xB8", 0, 0, 0},
        {"\xF0\x90\x80", 0, 0, 0},
        {"ab\xE4\xB8", 2, 0, 0},
        {"\xE4\x41\xAD", 0, 0, 0},  // \x41 is "A"
        {"\xE4\xB8\x41", 0, 0, 0},
        {"\xF0\x90\x80\x41", 0, 0, 0},
        {"\xC2\xC2\x80", 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text) + " at " + std::to_string(c.at));
        const Utf8Char read = ReadUtf8Char(c.text, c.at);
        EXPECT_EQ(read.length, c.length);
        if (c.length != 0) {
            EXPECT_EQ(read.codePoint, c.codePoint);
        }
    }
}

}  // namespace
}  // namespace lq

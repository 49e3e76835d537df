// Tests for turning raw bodies into text: the text ends at the first zero byte.
#include "text/bytes.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

TEST(TextBeforeZero, CutsAtFirstZeroByte) {
    struct Case {
        Bytes bytes;
        std::string expected;
    };
    const Case cases[] = {
        {{}, ""},
        {{'a', 'b', 'c'}, "abc"},
        {{'a', 0, 'b'}, "a"},
        {{0, 'a'}, ""},
        {{0xD6, 0xD0, 0, 0xD6, 0xD0}, "\xD6\xD0"},
        {{'x', 0}, "x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextBeforeZero(c.bytes), c.expected);
    }
}

TEST(ToBytes, KeepsEveryByteIncludingZero) {
    const std::string text("a\0b", 3);
    const Bytes bytes = ToBytes(text);
    ASSERT_EQ(bytes.size(), 3u);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(TextBeforeZero(bytes), "a");
}

}  // namespace
}  // namespace lq

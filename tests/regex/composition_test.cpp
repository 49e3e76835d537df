// Tests for composing combining sequences before a whole match is turned into GBK.
#include "regex/composition.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

TEST(ComposeCombiningSequences, ComposesSequencesAndKeepsLoneCharacters) {
    struct Case {
        std::string utf8, expected;
    };
    const Case cases[] = {
        {"abc", "abc"},
        {"", ""},
        {"e\xCC\x81", "\xC3\xA9"},  // e + combining acute -> é
        {"xe\xCC\x81y", "x\xC3\xA9y"},
        {"\xE4\xB8\xAD", "\xE4\xB8\xAD"},           // 中
        {"\xEF\xA4\xAC", "\xEF\xA4\xAC"},           // compatibility ideograph U+F92C stays
        {"\xE2\x84\xA6", "\xE2\x84\xA6"},           // ohm sign stays
        {"a\xCC\x88\xCC\x81", "\xC3\xA4\xCC\x81"},  // a + diaeresis + acute -> ä + acute
    };
    for (const Case& c : cases) EXPECT_EQ(ComposeCombiningSequences(c.utf8), c.expected) << c.utf8;
}

}  // namespace
}  // namespace lq

// Tests for percent-encoding a keyword: which bytes stay, upper-case hex, UTF-8 or GBK bytes.
#include "text/urlencode.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

TEST(UrlEncode, Table) {
    struct Case {
        std::string text;
        bool keepUnreserved;
        bool asUtf8;
        std::string expected;
    };
    const Case cases[] = {
        {"", false, false, ""},
        {"", true, true, ""},
        {"\xD6\xD0 a", true, true, "%E4%B8%AD%20a"},
        {"A_~.-z9/*", true, true, "A%5F%7E.-z9%2F%2A"},
        {"ab", false, false, "%61%62"},
        {"\n", false, false, "%0A"},
        {"\n", true, true, "%0A"},
        {"\xD6\xD0", true, false, "%D6%D0"},
        {"\xD6\xD0", false, true, "%E4%B8%AD"},
        {"a b+c", true, true, "a%20b%2Bc"},  // a space is never "+"
        {"AZaz09", true, false, "AZaz09"},
        {"@[`{", true, false, "%40%5B%60%7B"},  // neighbours of the kept ranges
        {"\xFF", true, false, "%FF"},
        {std::string("a\0b", 3), true, true, "a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UrlEncode(c.text, c.keepUnreserved, c.asUtf8), c.expected) << c.text;
    }
}

}  // namespace
}  // namespace lq

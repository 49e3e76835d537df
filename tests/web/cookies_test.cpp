// Merging received cookies into a caller's cookie text, and the small list helpers it uses.
#include "web/cookies.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

struct MergeCase {
    const char* jarBefore;
    const char* receivedBefore;
    const char* jarAfter;
    const char* receivedAfter;
};

TEST(MergeCookies, MergesReceivedCookiesIntoTheJar) {
    const MergeCase cases[] = {
        {"a=0; d=4; c=3", "a=1; b=2; c=deleted", "a=1; b=2; d=4", "a=1;b=2;c=deleted"},
        {"", "a=1; b=2", "a=1; b=2", "a=1;b=2"},
        {"a=1", "", "a=1", ""},
        {"x=1;;y=2; x=9", "y=5", "y=5; x=1", "y=5"},
        {"a = 1 ; b=2", "", "a=1; b=2", ""},
        // A deleted received cookie removes the old one and is not listed itself.
        {"sid=1; k=2", "sid=deleted", "k=2", "sid=deleted"},
        // The deleted test is case-sensitive.
        {"a=1", "a=DELETED; b=Deleted", "a=DELETED; b=Deleted", "a=DELETED;b=Deleted"},
        // Spaces inside values go too, full-width ones included.
        {"a=x y; b=\xA1\xA1z", "", "a=xy; b=z", ""},
        // Names are case-sensitive.
        {"SID=1", "sid=2", "sid=2; SID=1", "sid=2"},
        // A bare flag received twice is listed once.
        {"", "flag; flag", "flag", "flag;flag"},
        // Received repeats with different values stay; old repeats keep only the first.
        {"", "a=1; a=2", "a=1; a=2", "a=1;a=2"},
        {"a=1; a=2", "", "a=1", ""},
    };
    for (const MergeCase& c : cases) {
        SCOPED_TRACE(std::string(c.jarBefore) + " + " + c.receivedBefore);
        std::string jar = c.jarBefore;
        std::string received = c.receivedBefore;
        const std::string copy = MergeCookies(jar, received);
        EXPECT_EQ(jar, c.jarAfter);
        EXPECT_EQ(copy, c.jarAfter);
        EXPECT_EQ(received, c.receivedAfter);
    }
}

TEST(CookieHelpers, NameIsTheTrimmedTextBeforeTheFirstEquals) {
    EXPECT_EQ(CookieName(" sid =a=b"), "sid");
    EXPECT_EQ(CookieName("\xA1\xA1"
                         "flag "),
              "flag");
    EXPECT_EQ(CookieName(""), "");
    EXPECT_TRUE(HasCookieNamed({"a=1", " b =2"}, "b"));
    EXPECT_FALSE(HasCookieNamed({"a=1", "B=2"}, "b"));
    EXPECT_FALSE(HasCookieNamed({}, ""));
}

TEST(CookieHelpers, ItemsAreFoundAndDeduplicatedByExactText) {
    EXPECT_EQ(IndexOfItem({"a", "b", "b"}, "b"), 2);
    EXPECT_EQ(IndexOfItem({"a", "b"}, "B"), -1);
    EXPECT_EQ(IndexOfItem({}, ""), -1);
    EXPECT_EQ(RemoveDuplicateItems("a; b; a; c; b", "; "), "a; b; c");
    EXPECT_EQ(RemoveDuplicateItems("", "; "), "");
    // An empty item between separators is an item of its own, kept once.
    EXPECT_EQ(RemoveDuplicateItems("a;;b;;", ";"), "a;;b");
}

}  // namespace
}  // namespace lq

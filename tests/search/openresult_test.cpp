// Resolving a row's address for opening: go addresses are fetched, and only http and https
// addresses are ever handed on.
#include "search/openresult.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "search/settings.h"
#include "search/sharesite.h"
#include "tests/support/fixturesite.h"
#include "text/codepage.h"

namespace lq {
namespace {

using ::testing::ElementsAre;

TEST(OpenResult, IsWebAddress) {
    struct Case {
        std::string address;
        bool web;
    };
    const Case cases[] = {
        {"http://pan.example.com/s/1aB", true},
        {"https://pan.example.com", true},
        {"HTTPS://PAN.EXAMPLE.COM/", true},
        {"hTtP://h?x=1", true},
        {"http://user@h:8080/x", true},
        {"http://[::1]:8080/", true},
        {"http://h/" + Utf8ToGbk("三体"), true},
        {"", false},
        {"pan", false},
        {"/go/abc", false},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"ftp://h/", false},
        {"http:/h", false},
        {"http://", false},
        {"http:///path", false},
        {"http://:80/", false},
        {"http://user@/x", false},
        {"http://?x", false},
        {"http://h/a b", false},
        {" http://h/", false},
        {"http://h/\t", false},
        {"http://h/\r\nx", false},
        {"http://h/\x7F", false},
        {std::string("http://h/\0x", 11), false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsWebAddress(c.address), c.web) << c.address;
}

TEST(OpenResult, AddressesWithoutTheGoMarkerAreNotFetched) {
    test::FixtureSite site;
    OverrideSites(site.Base(), std::nullopt);
    struct Case {
        std::string address, opened;
    };
    const Case cases[] = {
        {"http://pan.example.com/s/1aB", "http://pan.example.com/s/1aB"},
        {site.Base() + "/GO/abc", site.Base() + "/GO/abc"},  // the marker is looked for with case
        {"", ""},
        {"pan.example.com/s/1aB", ""},
        {"javascript:alert('/go/')", ""},
        {"file:///tmp/go/x", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ResolveForOpening(c.address), c.opened) << c.address;
    EXPECT_TRUE(site.Requests().empty());
}

TEST(OpenResult, GoAddressesAreResolvedThroughTheirGoPage) {
    test::FixtureSite site;
    OverrideSites(site.Base(), std::nullopt);
    site.Serve("/go/good", test::GoPageHtml("http://pan.example.com/s/1good"));
    site.Serve("/go/script", test::GoPageHtml("javascript:alert(1)"));
    site.Serve("/go/local", test::GoPageHtml("file:///etc/passwd"));
    site.Serve("/go/none", "<html>moved</html>");
    site.Serve("/deep/go/x", test::GoPageHtml("https://pan.example.com/s/1deep"));
    struct Case {
        std::string address, opened;
    };
    const Case cases[] = {
        {GoPageAddress("good"), "http://pan.example.com/s/1good"},
        {GoPageAddress("script"), ""},
        {GoPageAddress("local"), ""},
        {GoPageAddress("none"), ""},
        {GoPageAddress("missing"), ""},                                   // 404, empty body
        {site.Base() + "/deep/go/x", "https://pan.example.com/s/1deep"},  // "/go/" anywhere
    };
    for (const Case& c : cases) EXPECT_EQ(ResolveForOpening(c.address), c.opened) << c.address;
    // One request per resolve, every time: nothing is remembered.
    EXPECT_EQ(ResolveForOpening(GoPageAddress("good")), "http://pan.example.com/s/1good");
    EXPECT_THAT(site.Requests(), ElementsAre("/go/good", "/go/script", "/go/local", "/go/none",
                                             "/go/missing", "/deep/go/x", "/go/good"));
}

TEST(OpenResult, StoppedResolveOpensNothing) {
    test::FixtureSite site;
    OverrideSites(site.Base(), std::nullopt);
    site.Serve("/go/good", test::GoPageHtml("http://pan.example.com/s/1good"));
    std::stop_source stop;
    stop.request_stop();
    EXPECT_EQ(ResolveForOpening(GoPageAddress("good"), stop.get_token()), "");
}

}  // namespace
}  // namespace lq

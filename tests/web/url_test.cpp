// Cutting addresses into host, port and path, including the odd addresses callers may pass.
#include "web/url.h"

#include <gtest/gtest.h>

#include <climits>

namespace lq {
namespace {

struct UrlCase {
    const char* address;
    const char* host;
    const char* hostWithPort;
    int port;
    const char* path;
};

TEST(UrlSplitting, CutsEveryAddressIntoHostPortAndPath) {
    const UrlCase cases[] = {
        {"http://example.com/s/?kw=abc&page=1", "example.com", "example.com", 80,
         "/s/?kw=abc&page=1"},
        {"HTTPS://Sub.Example.COM:8443/A/B?x=Y#frag", "sub.example.com", "sub.example.com:8443",
         8443, "/A/B?x=Y#frag"},
        {"https://example.com", "example.com", "example.com", 443, "/"},
        {"example.com/a/b", "example.com", "example.com", 80, "/a/b"},
        {"example.com", "example.com", "example.com", 80, "/"},
        {"http://example.com:8080", "example.com", "example.com:8080", 8080, "/"},
        {"http://example.com:/x", "example.com", "example.com:", 0, "/x"},
        {"http://example.com?x=1", "example.com?x=1", "example.com?x=1", 80, "/"},
        {"", "", "", 80, "/"},
        // An upper-case secure scheme without port text still gets the secure default.
        {"HTTPS://Example.com/Q", "example.com", "example.com", 443, "/Q"},
        // Port text overrides the default in either scheme.
        {"https://example.com:8080/", "example.com", "example.com:8080", 8080, "/"},
        // Only the leading digits count.
        {"http://example.com:81abc/p", "example.com", "example.com:81abc", 81, "/p"},
        // Any other scheme counts as none: its name becomes the host.
        {"ftp://files.example.com/a", "ftp", "ftp:", 0, "//files.example.com/a"},
        // Query and fragment are kept as written, nothing decoded.
        {"http://h.example/%41 b?q=%20#x", "h.example", "h.example", 80, "/%41 b?q=%20#x"},
        // A port too long for an int saturates instead of overflowing.
        {"http://example.com:99999999999/", "example.com", "example.com:99999999999", INT_MAX, "/"},
    };
    for (const UrlCase& c : cases) {
        SCOPED_TRACE(c.address);
        EXPECT_EQ(UrlHost(c.address), c.host);
        EXPECT_EQ(UrlHost(c.address, true), c.hostWithPort);
        EXPECT_EQ(UrlPort(c.address), c.port);
        EXPECT_EQ(UrlPath(c.address), c.path);
    }
}

TEST(UrlSplitting, PathKeepsTheCallersCaseWhileTheHostIsLowered) {
    EXPECT_EQ(UrlHost("http://WWW.Example.com/Dir/File.HTML"), "www.example.com");
    EXPECT_EQ(UrlPath("http://WWW.Example.com/Dir/File.HTML"), "/Dir/File.HTML");
    // GBK bytes in the path pass through untouched.
    EXPECT_EQ(UrlPath("http://example.com/\xCB\xD1\xCB\xF7?kw=A"), "/\xCB\xD1\xCB\xF7?kw=A");
}

TEST(UrlSplitting, SecureTestLooksAtTheFirstFiveCharactersOnly) {
    EXPECT_TRUE(IsSecureAddress("https://example.com"));
    EXPECT_TRUE(IsSecureAddress("HTTPS://example.com"));
    EXPECT_TRUE(IsSecureAddress("hTtPsx"));
    EXPECT_FALSE(IsSecureAddress("http://example.com"));
    EXPECT_FALSE(IsSecureAddress("http"));
    EXPECT_FALSE(IsSecureAddress(""));
}

}  // namespace
}  // namespace lq

// Where a redirect response leads, resolved against the address that was requested.
#include "web/redirect.h"

#include <gtest/gtest.h>

namespace lq {
namespace {

TEST(Redirects, LocationsResolveAgainstTheRequestedAddress) {
    const struct {
        const char* requested;
        const char* headers;
        const char* expected;  // nullptr: not followed
    } cases[] = {
        {"http://a.example/x/y?q=1", "HTTP/1.1 302 Found\r\nLocation: https://b.example/z\r\n\r\n",
         "https://b.example/z"},
        {"https://a.example:8443/x/y", "HTTP/1.1 301 Moved\r\nlocation:   /top?k=v \r\n\r\n",
         "https://a.example:8443/top?k=v"},
        {"http://a.example/x/y?q=1", "HTTP/1.1 303 See Other\r\nLocation: z.html\r\n\r\n",
         "http://a.example/x/z.html"},
        {"http://a.example/x/y?q=1", "HTTP/1.1 307 Temporary\r\nLocation: ?page=2\r\n\r\n",
         "http://a.example/x/y?page=2"},
        {"https://a.example/x", "HTTP/1.1 308 Permanent\r\nLocation: //c.example/p\r\n\r\n",
         "https://c.example/p"},
        {"http://a.example/x?q#old", "HTTP/1.1 302 Found\r\nLocation: #new\r\n\r\n",
         "http://a.example/x?q#new"},
        // Only http and https are followed.
        {"http://a.example/", "HTTP/1.1 302 Found\r\nLocation: ftp://a.example/f\r\n\r\n", nullptr},
        {"http://a.example/", "HTTP/1.1 302 Found\r\nLocation: javascript:alert(1)\r\n\r\n",
         nullptr},
        {"http://a.example/", "HTTP/1.1 302 Found\r\nLocation: file:///etc/passwd\r\n\r\n",
         nullptr},
        // Not a redirect, or one without a place to go.
        {"http://a.example/", "HTTP/1.1 200 OK\r\nLocation: /elsewhere\r\n\r\n", nullptr},
        {"http://a.example/", "HTTP/1.1 304 Not Modified\r\nLocation: /x\r\n\r\n", nullptr},
        {"http://a.example/", "HTTP/1.1 302 Found\r\nLocation:  \r\n\r\n", nullptr},
        {"http://a.example/", "HTTP/1.1 302 Found\r\n\r\n", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.headers);
        const std::optional<std::string> next = RedirectAddress(c.requested, c.headers);
        if (c.expected == nullptr) {
            EXPECT_FALSE(next.has_value()) << *next;
        } else {
            EXPECT_EQ(next, c.expected);
        }
    }
}

TEST(Redirects, StatusComesFromTheStatusLine) {
    EXPECT_EQ(ResponseStatus("HTTP/1.1 302 Found\r\n\r\n"), 302);
    EXPECT_EQ(ResponseStatus("HTTP/1.0 200\r\n"), 200);
    EXPECT_EQ(ResponseStatus("garbage"), 0);
    EXPECT_EQ(ResponseStatus("HTTP/1.1 2x0 Odd\r\n"), 0);
    EXPECT_TRUE(RedirectKeepsBody(307));
    EXPECT_FALSE(RedirectKeepsBody(302));
}

}  // namespace
}  // namespace lq

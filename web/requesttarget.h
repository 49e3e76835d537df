// Where one request goes: the program's own host, port and request path for an address, and the
// address libcurl is given so that it connects there and nowhere else.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lq {

struct RequestTarget {
    bool secure = false;
    std::string host;         // UrlHost: the server name
    int port = 0;             // UrlPort
    std::string hostAndPort;  // UrlHost with its port text, as the address carries it
    std::string path;         // UrlPath: sent as the request line's target exactly as written
    std::string curlUrl;      // scheme, host and port (plus a cookie-matching path) for libcurl
    std::string hostLine;     // "Host: " + host, with ":port" when it is not the scheme's default
};

// Empty when the address cannot be sent as the program splits it: no host, a port outside
// 1-65535, a line break or zero byte in host or path (they would forge header lines), or a host
// that libcurl's own address parser reads differently from UrlHost/UrlPort.
std::optional<RequestTarget> MakeRequestTarget(std::string_view address);

}  // namespace lq

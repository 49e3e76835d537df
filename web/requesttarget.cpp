// Building libcurl's address from the program's own URL pieces, and checking that libcurl agrees.
#include "web/requesttarget.h"

#include <curl/curl.h>

#include <memory>

#include "web/url.h"

namespace lq {

namespace {

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlTextDeleter {
    void operator()(char* text) const { curl_free(text); }
};

bool HasLineBreakOrZero(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// libcurl matches cookie paths against the path of the address it is given, so it gets the
// request path without query and fragment, percent-encoded where its parser would object.
std::string CookieMatchingPath(std::string_view path) {
    path = path.substr(0, path.find_first_of("?#"));
    static constexpr std::string_view kKept =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~/!$&'()*+,;=:@%";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : path) {
        if (kKept.find(c) != std::string_view::npos) {
            encoded += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 15];
        }
    }
    return encoded.empty() ? "/" : encoded;
}

// True when libcurl parses url into exactly this host and port.
bool CurlReadsSameHost(const std::string& url, const std::string& host, int port) {
    std::unique_ptr<CURLU, UrlDeleter> parsed(curl_url());
    if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) {
        return false;
    }
    char* rawHost = nullptr;
    char* rawPort = nullptr;
    const bool gotHost = curl_url_get(parsed.get(), CURLUPART_HOST, &rawHost, 0) == CURLUE_OK;
    std::unique_ptr<char, CurlTextDeleter> parsedHost(rawHost);
    const bool gotPort = curl_url_get(parsed.get(), CURLUPART_PORT, &rawPort, 0) == CURLUE_OK;
    std::unique_ptr<char, CurlTextDeleter> parsedPort(rawPort);
    return gotHost && gotPort && host == parsedHost.get() &&
           std::to_string(port) == parsedPort.get();
}

}  // namespace

std::optional<RequestTarget> MakeRequestTarget(std::string_view address) {
    RequestTarget target;
    target.secure = IsSecureAddress(address);
    target.host = UrlHost(address);
    target.hostAndPort = UrlHost(address, true);
    target.port = UrlPort(address);
    target.path = UrlPath(address);
    if (target.host.empty() || target.port < 1 || target.port > 65535 ||
        HasLineBreakOrZero(target.hostAndPort) || HasLineBreakOrZero(target.path)) {
        return std::nullopt;
    }
    const std::string origin = std::string(target.secure ? "https://" : "http://") + target.host +
                               ":" + std::to_string(target.port);
    target.curlUrl = origin + CookieMatchingPath(target.path);
    if (!CurlReadsSameHost(target.curlUrl, target.host, target.port)) {
        target.curlUrl = origin + "/";
        if (!CurlReadsSameHost(target.curlUrl, target.host, target.port)) return std::nullopt;
    }
    target.hostLine = "Host: " + target.host;
    if (target.port != (target.secure ? 443 : 80)) {
        target.hostLine += ":" + std::to_string(target.port);
    }
    return target;
}

}  // namespace lq

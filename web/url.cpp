// Cutting an address into host, port and request path. Plain text cuts: only a "/" ends the host,
// and user information, brackets and percent-escapes get no special treatment.
#include "web/url.h"

#include <climits>

#include "text/gbktext.h"

namespace lq {

bool IsSecureAddress(std::string_view address) {
    return AsciiLower(address.substr(0, 5)) == "https";
}

std::string UrlHost(std::string_view address, bool keepPort) {
    std::string lowered = AsciiLower(address);
    if (lowered.empty() || lowered.back() != '/') lowered += '/';
    std::string hostText;
    if (lowered.starts_with("https://")) {
        hostText = TextBetween(lowered, "https://", "/");
    } else {
        if (FindText(lowered, "http://") == -1) lowered.insert(0, "http://");
        hostText = TextBetween(lowered, "http://", "/");
    }
    if (keepPort) return hostText;
    const std::size_t colon = hostText.find(':');
    return colon == std::string::npos ? hostText : hostText.substr(0, colon);
}

int UrlPort(std::string_view address) {
    const std::string hostAndPort = UrlHost(address, true);
    const std::size_t colon = hostAndPort.rfind(':');
    if (colon == std::string::npos) return IsSecureAddress(address) ? 443 : 80;
    // The leading digits only; a run of digits too long for an int saturates instead of wrapping,
    // and such a port is refused when the connection is made.
    long long port = 0;
    for (std::size_t i = colon + 1; i < hostAndPort.size(); ++i) {
        const char c = hostAndPort[i];
        if (c < '0' || c > '9') break;
        port = port * 10 + (c - '0');
        if (port > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(port);
}

std::string UrlPath(std::string_view address) {
    const std::string host = UrlHost(address, false);
    const int hostAt = FindText(address, host, 1, true);
    if (hostAt == -1) return "/";
    const std::size_t slash = address.find('/', static_cast<std::size_t>(hostAt - 1));
    if (slash == std::string_view::npos) return "/";
    return std::string(address.substr(slash));
}

}  // namespace lq

// Status codes and Location lines of redirect responses.
#include "web/redirect.h"

#include "text/gbktext.h"
#include "web/url.h"

namespace lq {

namespace {

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string LocationValue(std::string_view headerBlock) {
    for (const std::string& line : SplitText(headerBlock, "\r\n")) {
        if (AsciiLower(line.substr(0, 9)) == "location:") {
            return std::string(TrimBlanks(std::string_view(line).substr(9)));
        }
    }
    return {};
}

}  // namespace

int ResponseStatus(std::string_view headerBlock) {
    if (!headerBlock.starts_with("HTTP/")) return 0;
    const std::size_t space = headerBlock.find(' ');
    if (space == std::string_view::npos) return 0;
    int status = 0;
    for (std::size_t i = space + 1; i < headerBlock.size() && i < space + 4; ++i) {
        const char c = headerBlock[i];
        if (c < '0' || c > '9') return 0;
        status = status * 10 + (c - '0');
    }
    return status;
}

bool RedirectKeepsBody(int status) { return status == 307 || status == 308; }

std::optional<std::string> RedirectAddress(std::string_view requested,
                                           std::string_view headerBlock) {
    const int status = ResponseStatus(headerBlock);
    if (status != 301 && status != 302 && status != 303 && status != 307 && status != 308) {
        return std::nullopt;
    }
    const std::string location = LocationValue(headerBlock);
    if (location.empty()) return std::nullopt;
    const std::string lowered = AsciiLower(location);
    if (lowered.starts_with("http://") || lowered.starts_with("https://")) return location;

    const std::string scheme = IsSecureAddress(requested) ? "https:" : "http:";
    if (location.starts_with("//")) return scheme + location;
    // A scheme of its own before any path, query or fragment: not http or https, not followed.
    const std::size_t colon = location.find(':');
    if (colon != std::string::npos && colon < location.find_first_of("/?#")) return std::nullopt;

    const std::string origin = scheme + "//" + UrlHost(requested, true);
    const std::string path = UrlPath(requested);
    const std::string pathOnly = path.substr(0, path.find_first_of("?#"));
    if (location.starts_with('/')) return origin + location;
    if (location.starts_with('?')) return origin + pathOnly + location;
    if (location.starts_with('#')) return origin + path.substr(0, path.find('#')) + location;
    return origin + pathOnly.substr(0, pathOnly.rfind('/') + 1) + location;
}

}  // namespace lq

// Resolving a result row's address for the browser. A go address is fetched and the share
// address it carries is taken; only http and https addresses ever leave this module, since an
// address taken from a web page could otherwise name a local file or a script.
#include "search/openresult.h"

#include "search/sharesite.h"
#include "text/gbktext.h"
#include "web/webaccess.h"

namespace lq {
namespace {

constexpr std::string_view kGoMarker = "/go/";

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && AsciiLower(text.substr(0, prefix.size())) == prefix;
}

// The host of an authority ("user@host:port"), or of "[v6]:port".
std::string_view HostOf(std::string_view authority) {
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
        authority.remove_prefix(at + 1);
    }
    if (!authority.empty() && authority.front() == '[') {
        const auto close = authority.find(']');
        return close == std::string_view::npos ? std::string_view{}
                                               : authority.substr(1, close - 1);
    }
    return authority.substr(0, authority.find(':'));
}

}  // namespace

bool IsWebAddress(std::string_view address) {
    // Spaces and control characters anywhere: a browser or shell may read such an address in
    // ways the page did not show.
    for (unsigned char c : address) {
        if (c < 0x21 || c == 0x7F) return false;
    }
    std::string_view rest;
    if (StartsWithIgnoringCase(address, "http://")) {
        rest = address.substr(7);
    } else if (StartsWithIgnoringCase(address, "https://")) {
        rest = address.substr(8);
    } else {
        return false;
    }
    return !HostOf(rest.substr(0, rest.find_first_of("/?#"))).empty();
}

// The token is taken by value as the header declares; it is a cheap shared handle.
// NOLINTNEXTLINE(performance-unnecessary-value-param)
std::string ResolveForOpening(std::string_view address, std::stop_token stop) {
    // An address that is no web address is not fetched either: it would not be opened.
    if (!IsWebAddress(address)) return {};
    if (FindText(address, kGoMarker) == -1) return std::string(address);
    const Bytes body = WebAccess(address, stop);
    // A request cut short by the stop request may have read half a page: take nothing from it.
    if (stop.stop_requested()) return {};
    std::string target = ExtractGoTarget(GoPageText(body));
    return IsWebAddress(target) ? target : std::string{};
}

}  // namespace lq

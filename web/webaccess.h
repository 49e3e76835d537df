// WebAccess: one synchronous HTTP exchange, address in, body bytes out. Over libcurl, with a
// process-wide cookie store and per-thread connection reuse. Failures give an empty body.
#pragma once

#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <utility>

#include "text/bytes.h"

namespace lq {

inline constexpr std::string_view kDefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// method: 0 GET, 1 POST, 2 HEAD, anything else GET. cookieText: nullptr (or an empty optional) =
// not supplied (the shared cookie store is used); a supplied text (even empty) is sent instead
// and receives the merged cookies. headerText is completed and stored back; postBytes is filled
// from postText. stop aborts the transfer in flight; the call then returns what it has read.
Bytes WebAccess(std::string_view address, int method = 0, std::string_view postText = {},
                std::optional<std::string>* cookieText = nullptr,
                std::string* receivedCookies = nullptr, std::string* headerText = nullptr,
                std::string* responseHeaders = nullptr, bool noRedirect = false,
                Bytes* postBytes = nullptr, std::string_view proxy = {}, std::stop_token stop = {});

// The address alone, as every caller in the program uses it, with a stop request.
inline Bytes WebAccess(std::string_view address, std::stop_token stop) {
    return WebAccess(address, 0, {}, nullptr, nullptr, nullptr, nullptr, false, nullptr, {},
                     std::move(stop));
}

// Limits that keep an untrusted server from stalling or flooding a call.
struct WebLimits {
    long connectTimeoutMs = 10'000;
    long stallTimeoutMs = 30'000;          // transfer aborted after this long without a byte
    std::size_t maxBodyBytes = 32u << 20;  // bytes past the cap are not read
    long maxRedirects = 10;
    // A whole call, every redirect hop included, ends after this long: the stall limit restarts
    // with every byte, so a server trickling a byte now and then would otherwise hold it forever.
    long totalTimeoutMs = 60'000;
};
// Process-wide limits, read at every call. Tests shorten them; the program never changes them.
WebLimits CurrentWebLimits();
void SetWebLimits(const WebLimits& limits);

}  // namespace lq

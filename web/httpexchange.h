// One HTTP request and its response over the calling thread's libcurl handles. The transfer is
// driven by our own loop, so a stop request, a stalled server or the body cap ends it promptly.
#pragma once

#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "text/bytes.h"
#include "web/requesttarget.h"
#include "web/webaccess.h"

namespace lq {

struct ExchangeRequest {
    const RequestTarget* target = nullptr;
    std::string_view address;              // as requested, to resolve a redirect's Location against
    std::string_view method;               // "GET", "POST" or "HEAD"
    const Bytes* body = nullptr;           // null: no body is sent
    std::vector<std::string> headerLines;  // the completed header block, line by line
    std::string_view agent;
    bool sharedCookies = true;  // false: libcurl neither sends nor stores cookies
    std::string_view proxy;     // empty: a direct connection, whatever the environment says
    bool mayFollowRedirect = false;
};

struct ExchangeResult {
    Bytes body;                    // at most the body cap; empty for a redirect that is followed
    std::string headerBlock;       // the final response's header lines, each ended by CR LF
    bool headersComplete = false;  // the header block arrived whole and within its size limit
    std::optional<std::string> redirectTo;  // set when this response is a redirect to follow
    bool stopped = false;                   // the stop request ended the transfer
};

ExchangeResult RunExchange(const ExchangeRequest& request, const WebLimits& limits,
                           const std::stop_token& stop);

}  // namespace lq

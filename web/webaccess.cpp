// WebAccess: completes the caller's header block, runs the exchange (following redirects in our
// own loop, so every hop's host, port and request path are the program's own cuts of its
// address), then hands back the final response's headers and cookies.
#include "web/webaccess.h"

#include <algorithm>
#include <chrono>
#include <mutex>

#include "text/gbktext.h"
#include "web/cookies.h"
#include "web/httpexchange.h"
#include "web/redirect.h"
#include "web/requestheaders.h"
#include "web/requesttarget.h"

namespace lq {

namespace {

// Response headers when no header block was delivered (none arrived, or it was too long): the
// buffer the headers are read into starts out as this many spaces.
constexpr std::size_t kUndeliveredHeaderSpaces = 5000;

std::mutex& LimitsMutex() {
    static std::mutex mutex;
    return mutex;
}

WebLimits& Limits() {
    static WebLimits limits;
    return limits;
}

// A text ends at its first zero byte.
std::string_view BeforeZero(std::string_view text) { return text.substr(0, text.find('\0')); }

const char* MethodName(int method) {
    switch (method) {
        case 1:
            return "POST";
        case 2:
            return "HEAD";
        default:
            return "GET";
    }
}

}  // namespace

WebLimits CurrentWebLimits() {
    std::lock_guard lock(LimitsMutex());
    return Limits();
}

void SetWebLimits(const WebLimits& limits) {
    std::lock_guard lock(LimitsMutex());
    Limits() = limits;
}

// The stop token is taken by value as declared; every hop reads the same one.
Bytes WebAccess(std::string_view address, int method, std::string_view postText,
                std::optional<std::string>* cookieText, std::string* receivedCookies,
                std::string* headerText, std::string* responseHeaders, bool noRedirect,
                // NOLINTNEXTLINE(performance-unnecessary-value-param)
                Bytes* postBytes, std::string_view proxy, std::stop_token stop) {
    address = BeforeZero(address);
    if (method < 0 || method > 2) method = 0;
    const bool cookiesSupplied = cookieText != nullptr && cookieText->has_value();
    const std::string callerHeaders(headerText != nullptr ? BeforeZero(*headerText) : "");
    const std::string agent = ChooseAgent(callerHeaders);

    // Up to here nothing of the caller's changes: an address that cannot be sent as the program
    // splits it ends the call with an empty result.
    std::optional<RequestTarget> target = MakeRequestTarget(address);
    if (!target) return {};

    const std::string block = CompleteHeaderBlock(
        callerHeaders, address, cookiesSupplied ? BeforeZero(**cookieText) : std::string_view());
    if (headerText != nullptr) *headerText = block;
    Bytes ownPostBytes;
    Bytes& body = postBytes != nullptr ? *postBytes : ownPostBytes;
    if (method != 0 && body.empty()) body = ToBytes(BeforeZero(postText));

    const WebLimits limits = CurrentWebLimits();
    const auto callStarted = std::chrono::steady_clock::now();
    std::string hopAddress(address);
    std::string hopMethod = MethodName(method);
    const Bytes* hopBody = method != 0 ? &body : nullptr;
    const std::string hopProxy(BeforeZero(proxy));
    ExchangeResult result;
    for (long hops = 0;; ++hops) {
        ExchangeRequest request;
        request.target = &*target;
        request.address = hopAddress;
        request.method = hopMethod;
        request.body = hopBody;
        request.headerLines = SplitText(block, "\r\n");
        request.agent = agent;
        request.sharedCookies = !cookiesSupplied;
        request.proxy = hopProxy;
        request.mayFollowRedirect = !noRedirect && hops < limits.maxRedirects;
        // The time limit covers the whole call: each hop gets what the earlier ones left.
        WebLimits hopLimits = limits;
        const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now() - callStarted)
                               .count();
        if (hops > 0 && spent >= limits.totalTimeoutMs) break;
        hopLimits.totalTimeoutMs = std::max<long>(1, limits.totalTimeoutMs - spent);
        result = RunExchange(request, hopLimits, stop);
        if (!result.redirectTo || result.stopped) break;

        // The redirect's own body was skipped; the next hop's response is the result.
        const int status = ResponseStatus(result.headerBlock);
        if (!RedirectKeepsBody(status)) {
            if (hopMethod == "POST") hopMethod = "GET";
            hopBody = nullptr;
        }
        hopAddress = *result.redirectTo;
        target = MakeRequestTarget(hopAddress);
        if (!target) break;  // cannot happen: the exchange checked it before choosing to follow
    }

    std::string headers =
        result.headersComplete ? result.headerBlock : std::string(kUndeliveredHeaderSpaces, ' ');
    headers = ReplaceAll(headers, "Set-Cookie", "Set-Cookie", true);
    std::string received = CollectReceivedCookies(headers);
    if (cookiesSupplied) MergeCookies(**cookieText, received);
    if (responseHeaders != nullptr) *responseHeaders = std::move(headers);
    if (receivedCookies != nullptr) *receivedCookies = std::move(received);
    return std::move(result.body);
}

}  // namespace lq

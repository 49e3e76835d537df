// One request/response over libcurl, with the exact header lines the caller's block holds and
// nothing libcurl would add on its own that repeats them.
#include "web/httpexchange.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "text/gbktext.h"
#include "web/redirect.h"
#include "web/threadtransfer.h"
#include "web/websession.h"

namespace lq {

namespace {

using Clock = std::chrono::steady_clock;

// A response header block must fit in this many bytes, its terminating zero included, to be
// delivered; longer blocks are kept only up to kHeaderKeepBytes to find a redirect's Location.
constexpr std::size_t kHeaderLimitBytes = 5000;
constexpr std::size_t kHeaderKeepBytes = std::size_t{64} * 1024;
// How often the loop looks at the stall clock; a stop request wakes it at once.
constexpr long kPollMs = 50;

struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, SlistDeleter>;

struct TransferState {
    const ExchangeRequest* request = nullptr;
    const WebLimits* limits = nullptr;
    ExchangeResult* result = nullptr;
    Clock::time_point lastByte;
    curl_off_t downloaded = 0;
    curl_off_t uploaded = 0;
    bool endAtHeaders = false;  // HEAD with a body: no response body follows the headers
    bool oversized = false;
    std::size_t skipped = 0;  // body bytes of a redirect that is followed, bounded like a body
};

bool StartsWithName(std::string_view line, std::string_view nameWithColon) {
    return AsciiLower(line.substr(0, nameWithColon.size())) == AsciiLower(nameWithColon);
}

bool BlockHasLine(const std::vector<std::string>& lines, std::string_view nameWithColon) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return StartsWithName(line, nameWithColon);
    });
}

size_t OnHeaderLine(char* data, size_t size, size_t count, void* user) {
    auto& state = *static_cast<TransferState*>(user);
    ExchangeResult& result = *state.result;
    const size_t length = size * count;
    state.lastByte = Clock::now();
    std::string line(data, length);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    // A stray CR or zero byte inside a line would end or forge lines for whoever reads them.
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::replace(line.begin(), line.end(), '\0', ' ');

    if (line.starts_with("HTTP/")) {  // a new response (after a 1xx): start over
        result.headerBlock.clear();
        result.headersComplete = false;
        result.redirectTo.reset();
        state.oversized = false;
    } else if (result.headersComplete) {
        return length;  // trailers after a chunked body are not part of the header block
    }
    if (result.headerBlock.size() + line.size() + 2 <= kHeaderKeepBytes) {
        result.headerBlock += line;
        result.headerBlock += "\r\n";
    } else {
        state.oversized = true;
    }
    if (!line.empty()) return length;

    const int status = ResponseStatus(result.headerBlock);
    if (status >= 100 && status < 200) return length;  // an interim response; the real one follows
    result.headersComplete = !state.oversized && result.headerBlock.size() < kHeaderLimitBytes;
    if (state.request->mayFollowRedirect) {
        if (auto next = RedirectAddress(state.request->address, result.headerBlock)) {
            if (MakeRequestTarget(*next)) result.redirectTo = std::move(next);
        }
    }
    // A HEAD response has no body; libcurl, sending HEAD as a custom method, would wait for one.
    return state.endAtHeaders ? 0 : length;
}

size_t OnBodyBytes(char* data, size_t size, size_t count, void* user) {
    auto& state = *static_cast<TransferState*>(user);
    ExchangeResult& result = *state.result;
    const size_t length = size * count;
    state.lastByte = Clock::now();
    if (result.redirectTo) {  // the redirect's own body is skipped, up to the body cap
        state.skipped += length;
        return state.skipped <= state.limits->maxBodyBytes ? length : 0;
    }
    const std::size_t room =
        state.limits->maxBodyBytes - std::min(state.limits->maxBodyBytes, result.body.size());
    const std::size_t taken = std::min(room, length);
    result.body.insert(result.body.end(), data, data + taken);
    return taken;  // fewer than offered ends the transfer: bytes past the cap are not read
}

int OnProgress(void* user, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded) {
    auto& state = *static_cast<TransferState*>(user);
    if (downloaded != state.downloaded || uploaded != state.uploaded) {
        state.downloaded = downloaded;
        state.uploaded = uploaded;
        state.lastByte = Clock::now();
    }
    return 0;
}

HeaderList BuildHeaderList(const ExchangeRequest& request) {
    std::vector<std::string> lines;
    if (!BlockHasLine(request.headerLines, "Host:")) lines.push_back(request.target->hostLine);
    for (const std::string& line : request.headerLines) {
        if (!line.empty()) lines.push_back(line);
    }
    // "Name:" with nothing after it keeps libcurl from adding its own line of that name: its
    // default Accept would repeat the block's, Expect: 100-continue is not ours, and a POST's
    // default Content-Type is already in the block.
    lines.push_back("Accept:");
    lines.push_back("Expect:");
    lines.push_back("Content-Type:");
    HeaderList list;
    for (const std::string& line : lines) {
        curl_slist* head = curl_slist_append(list.get(), line.c_str());
        if (head == nullptr) return nullptr;
        if (!list) list.reset(head);  // later appends return the same head
    }
    return list;
}

void SetRequestOptions(CURL* easy, const ExchangeRequest& request, const WebLimits& limits,
                       curl_slist* headers, TransferState& state) {
    const RequestTarget& target = *request.target;
    curl_easy_setopt(easy, CURLOPT_URL, target.curlUrl.c_str());
    // Through a proxy (not tunnelled, so http only) the request line names the whole address.
    const std::string requestTarget = request.proxy.empty() || target.secure
                                          ? target.path
                                          : "http://" + target.hostAndPort + target.path;
    curl_easy_setopt(easy, CURLOPT_REQUEST_TARGET, requestTarget.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    // An empty proxy and no-proxy list: the environment's proxy settings are not used behind the
    // caller's back, and a given proxy has no bypass list.
    const std::string proxy(request.proxy);
    curl_easy_setopt(easy, CURLOPT_PROXY, proxy.c_str());
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    // Aborting must not wait for a name lookup still running in libcurl's resolver thread.
    curl_easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, limits.totalTimeoutMs);

    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    if (!BlockHasLine(request.headerLines, "User-Agent:")) {
        const std::string agent(request.agent);
        curl_easy_setopt(easy, CURLOPT_USERAGENT, agent.c_str());
    }
    WebSession& session = WebSession::Instance();
    if (request.sharedCookies) {
        curl_easy_setopt(easy, CURLOPT_SHARE, session.CookieShare());
        curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
    } else {
        // Detaching from the cookie share also drops the handle's link to the cookie store.
        curl_easy_setopt(easy, CURLOPT_SHARE, session.CookielessShare());
    }

    if (request.method == "GET") {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else if (request.method == "HEAD" && (request.body == nullptr || request.body->empty())) {
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    } else {
        static const char kNoBytes[] = "";
        const Bytes* body = request.body;
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(body != nullptr ? body->size() : 0));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS,
                         body != nullptr && !body->empty()
                             ? reinterpret_cast<const char*>(body->data())
                             : kNoBytes);
        if (request.method == "HEAD") {
            curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, "HEAD");
            state.endAtHeaders = true;
        }
    }

    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeaderLine);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &state);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBodyBytes);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &state);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &state);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
}

// Runs the transfer until it ends, the stop request fires or no byte has come for the stall
// limit. libcurl calls back only about once a second on an idle connection, so the loop polls
// with a short timeout and a stop request wakes the poll at once.
void Drive(CURLM* multi, TransferState& state, const std::stop_token& stop) {
    std::stop_callback wake(stop, [multi] { curl_multi_wakeup(multi); });
    const auto stallLimit = std::chrono::milliseconds(state.limits->stallTimeoutMs);
    for (;;) {
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) return;
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
            if (message->msg == CURLMSG_DONE) running = 0;
        }
        if (running == 0) return;
        if (stop.stop_requested()) {
            state.result->stopped = true;
            return;
        }
        const auto idle =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - state.lastByte);
        if (idle >= stallLimit) return;
        const long waitMs = std::min<long>(kPollMs, (stallLimit - idle).count() + 1);
        curl_multi_poll(multi, nullptr, 0, static_cast<int>(waitMs), nullptr);
    }
}

}  // namespace

ExchangeResult RunExchange(const ExchangeRequest& request, const WebLimits& limits,
                           const std::stop_token& stop) {
    ExchangeResult result;
    ThreadTransfer& transfer = ThreadTransfer::ForThisThread();
    CURLM* multi = transfer.Multi();
    CURL* easy = multi != nullptr ? transfer.FreshEasy() : nullptr;
    if (easy == nullptr || multi == nullptr || stop.stop_requested()) {
        result.stopped = stop.stop_requested();
        return result;
    }
    HeaderList headers = BuildHeaderList(request);
    if (!headers) return result;

    TransferState state;
    state.request = &request;
    state.limits = &limits;
    state.result = &result;
    state.lastByte = Clock::now();
    SetRequestOptions(easy, request, limits, headers.get(), state);
    if (curl_multi_add_handle(multi, easy) != CURLM_OK) return result;
    Drive(multi, state, stop);
    // An unfinished transfer's connection is closed here; a finished one stays in the thread's
    // pool for the next request to the same server.
    curl_multi_remove_handle(multi, easy);
    return result;
}

}  // namespace lq

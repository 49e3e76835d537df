// The libcurl handles one thread uses for its requests: a fresh easy handle for every call, and
// one multi handle that drives it and keeps the thread's keep-alive connections, so a search
// run's page-after-page requests reuse one connection.
#pragma once

#include <curl/curl.h>

namespace lq {

class ThreadTransfer {
public:
    // The calling thread's handles, made on its first request and released when it ends.
    static ThreadTransfer& ForThisThread();

    // A new easy handle for the next request, in place of the previous one (which must not be
    // in the multi handle any more). Not a reset one: libcurl 7.88 keeps a pointer to the last
    // response header it stored across transfers on one handle, and curl_easy_reset does not
    // clear it, so a response that opens with a folded header line made libcurl read the freed
    // headers of the previous call. Connections belong to the multi handle and are still reused.
    // Null when libcurl could not make the handles; requests then fail with an empty result.
    CURL* FreshEasy();
    CURLM* Multi() const { return multi_; }

    ThreadTransfer(const ThreadTransfer&) = delete;
    ThreadTransfer& operator=(const ThreadTransfer&) = delete;
    ~ThreadTransfer();

private:
    ThreadTransfer();

    CURL* easy_ = nullptr;
    CURLM* multi_ = nullptr;
};

}  // namespace lq

// The libcurl handles one thread uses for all its requests: one easy handle, reset at every call,
// and one multi handle that drives it and keeps the thread's keep-alive connections, so a search
// run's page-after-page requests reuse one connection.
#pragma once

#include <curl/curl.h>

namespace lq {

class ThreadTransfer {
public:
    // The calling thread's handles, made on its first request and released when it ends.
    static ThreadTransfer& ForThisThread();

    // Null when libcurl could not make the handles; requests then fail with an empty result.
    CURL* Easy() const { return easy_; }
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

// The process-wide libcurl state behind WebAccess: one-time global set-up and the shares that
// hold the cookie store, the DNS cache and TLS sessions for every thread. Connections are not
// shared (libcurl's shared connection cache is unsafe across concurrent threads); each thread
// keeps its own, see ThreadTransfer.
#pragma once

#include <curl/curl.h>

#include <array>
#include <mutex>

namespace lq {

class WebSession {
public:
    // Made on first use, thread-safely; lives until the process ends.
    static WebSession& Instance();

    // Cookies, DNS and TLS sessions: for calls that use the program's own cookie store.
    CURLSH* CookieShare() const { return cookieShare_.handle; }
    // DNS and TLS sessions only: a share that holds cookies switches libcurl's cookie engine on
    // for every handle attached to it, so calls that carry their own cookie text use this one.
    CURLSH* CookielessShare() const { return cookielessShare_.handle; }

    WebSession(const WebSession&) = delete;
    WebSession& operator=(const WebSession&) = delete;

private:
    // One mutex per kind of shared data, so a DNS lookup never waits for a cookie update.
    struct Share {
        CURLSH* handle = nullptr;
        std::array<std::mutex, CURL_LOCK_DATA_LAST> locks;
    };

    WebSession();
    ~WebSession();
    static void SetUp(Share& share, bool withCookies);

    Share cookieShare_;
    Share cookielessShare_;
};

}  // namespace lq

// The process-wide libcurl shares behind WebAccess, each with one mutex per kind of shared data.
#include "web/websession.h"

namespace lq {

namespace {

void LockShared(CURL*, curl_lock_data data, curl_lock_access, void* locks) {
    static_cast<std::array<std::mutex, CURL_LOCK_DATA_LAST>*>(locks)->at(data).lock();
}

void UnlockShared(CURL*, curl_lock_data data, void* locks) {
    static_cast<std::array<std::mutex, CURL_LOCK_DATA_LAST>*>(locks)->at(data).unlock();
}

}  // namespace

WebSession& WebSession::Instance() {
    // A function-local static is initialised exactly once even when threads race to it, which
    // also makes curl_global_init (not itself thread-safe) run once.
    static WebSession session;
    return session;
}

WebSession::WebSession() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    SetUp(cookieShare_, true);
    SetUp(cookielessShare_, false);
}

WebSession::~WebSession() {
    // Every thread's handles are gone by now: thread-local handles end with their threads, and
    // the program joins its threads before it exits.
    curl_share_cleanup(cookieShare_.handle);
    curl_share_cleanup(cookielessShare_.handle);
}

void WebSession::SetUp(Share& share, bool withCookies) {
    share.handle = curl_share_init();
    if (share.handle == nullptr) return;
    curl_share_setopt(share.handle, CURLSHOPT_LOCKFUNC, LockShared);
    curl_share_setopt(share.handle, CURLSHOPT_UNLOCKFUNC, UnlockShared);
    curl_share_setopt(share.handle, CURLSHOPT_USERDATA, &share.locks);
    if (withCookies) curl_share_setopt(share.handle, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    curl_share_setopt(share.handle, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
    curl_share_setopt(share.handle, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
}

}  // namespace lq

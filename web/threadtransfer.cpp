// One multi handle per thread and the easy handle of its latest request, made lazily and released
// when the thread ends.
#include "web/threadtransfer.h"

#include "web/websession.h"

namespace lq {

ThreadTransfer& ThreadTransfer::ForThisThread() {
    // The session is made first so that it outlives every thread's handles.
    WebSession::Instance();
    thread_local ThreadTransfer transfer;
    return transfer;
}

ThreadTransfer::ThreadTransfer() : multi_(curl_multi_init()) {
    if (multi_ != nullptr) {
        // One connection per host is enough for sequential requests; a few stay open.
        curl_multi_setopt(multi_, CURLMOPT_MAXCONNECTS, 4L);
    }
}

CURL* ThreadTransfer::FreshEasy() {
    if (easy_ != nullptr) curl_easy_cleanup(easy_);
    easy_ = curl_easy_init();
    return easy_;
}

ThreadTransfer::~ThreadTransfer() {
    if (easy_ != nullptr) curl_easy_cleanup(easy_);
    if (multi_ != nullptr) curl_multi_cleanup(multi_);
}

}  // namespace lq

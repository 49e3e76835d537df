// The search run: one thread per run fetches the result pages and fills the view, holding the
// SearchLock so that the rows of two runs never mix. A superseded run stops where it stands.
#include "search/searchrun.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "regex/regexobject.h"
#include "search/searchview.h"
#include "search/sharesite.h"
#include "web/webaccess.h"

namespace lq {

// The token is taken by value as the header declares; it is a cheap shared handle.
bool SearchLock::Acquire(std::stop_token stop) {  // NOLINT(performance-unnecessary-value-param)
    std::unique_lock lock(mutex_);
    // A run that was superseded before it got here must not take the lock from its successor.
    if (stop.stop_requested()) return false;
    if (!freed_.wait(lock, stop, [this] { return !held_; })) return false;
    if (stop.stop_requested()) return false;
    held_ = true;
    return true;
}

void SearchLock::Release() {
    {
        std::lock_guard lock(mutex_);
        held_ = false;
    }
    freed_.notify_all();
}

bool SearchLock::IsHeld() const {
    std::lock_guard lock(mutex_);
    return held_;
}

namespace {

// Holds the SearchLock from the moment it was taken until the run leaves, on every way out.
class LockHold {
public:
    explicit LockHold(SearchLock& lock) : lock_(lock) {}
    ~LockHold() { lock_.Release(); }
    LockHold(const LockHold&) = delete;
    LockHold& operator=(const LockHold&) = delete;

private:
    SearchLock& lock_;
};

enum Column { kSequence = 0, kName = 1, kSize = 2, kDownloads = 3, kAddress = 4 };

}  // namespace

void SearchWorker(std::stop_token stop, SearchView& view, SearchLock& lock) {
    // Every view call and every request is preceded by a look at the stop request: once a run
    // has been superseded it changes nothing more in the view.
    const auto stopped = [&stop] { return stop.stop_requested(); };

    // Declared before the lock hold, so the lock is released before the regex object goes.
    RegexObject regex;
    if (!lock.Acquire(stop)) return;
    LockHold hold(lock);

    if (stopped()) return;
    view.ClearRows();
    if (stopped()) return;
    const std::string keyword = view.ReadKeyword();  // searched as typed, empty included
    const std::string stem = SearchAddressStem(keyword);

    if (stopped()) return;
    std::string pageText = ResultPageText(WebAccess(stem + "1", stop));
    if (stopped()) return;  // a request cut short by the stop may have read half a page
    const int pageCount = ExtractPageCount(regex, pageText);

    if (stopped()) return;
    // The position keeps its old value until the first page with hits is done.
    view.SetProgressRange(1, pageCount);

    // 64-bit so that a page count of INT_MAX cannot overflow the loop.
    for (std::int64_t page = 1; page <= pageCount; ++page) {
        if (page > 1) {
            if (stopped()) return;
            pageText = ResultPageText(WebAccess(stem + std::to_string(page), stop));
            if (stopped()) return;
        }
        const std::vector<SearchResult> hits = ExtractResults(regex, pageText);
        // The first page without hits ends the run; the pager may promise more than there is.
        if (hits.empty()) return;

        for (const SearchResult& hit : hits) {
            std::string address = GoPageAddress(hit.shareId);
            if (stopped()) return;
            // Read afresh for every hit: ticking the box mid-run applies from the next hit.
            if (!view.ReadSpeedOption()) {
                if (stopped()) return;
                const Bytes goPage = WebAccess(address, stop);
                if (stopped()) return;
                address = ExtractGoTarget(GoPageText(goPage));
            }
            if (address.empty() || hit.resourceName.empty()) continue;  // such rows open nothing

            if (stopped()) return;
            const int row = view.AppendRow();
            if (stopped()) return;
            const std::string sequence = std::to_string(view.RowCount());
            const std::string_view cells[] = {sequence, hit.resourceName, hit.fileSize,
                                              hit.downloadCount, address};
            for (int column = kSequence; column <= kAddress; ++column) {
                if (stopped()) return;
                view.SetCellText(row, column, cells[column]);
            }
        }
        if (stopped()) return;
        view.SetProgressPosition(static_cast<int>(page));
    }
}

SearchRuns::SearchRuns(SearchView& view) : view_(view) {}

SearchRuns::~SearchRuns() { StopAndJoinAll(); }

void SearchRuns::StartSearch() {
    std::lock_guard lock(runsMutex_);
    ReapFinished();
    // Never waits: the superseded run notices the request and lets the lock go on its own.
    current_.request_stop();
    auto finished = std::make_shared<std::atomic<bool>>(false);
    std::jthread thread([&view = view_, &searchLock = lock_, finished](std::stop_token stop) {
        try {
            SearchWorker(std::move(stop), view, searchLock);
        } catch (...) {
            // A run that fails (out of memory, a view that throws) ends like a stopped one;
            // its lock was let go on the way out. Nothing is reported, as with every failure.
        }
        finished->store(true, std::memory_order_release);
    });
    current_ = thread.get_stop_source();
    runs_.push_back(Run{std::move(finished), std::move(thread)});
}

void SearchRuns::ReapFinished() {
    // Only runs that have set their flag are removed; the join in the jthread's destructor
    // then waits for nothing but the thread's return.
    runs_.remove_if([](const Run& run) { return run.finished->load(std::memory_order_acquire); });
}

void SearchRuns::RequestStopAll() {
    std::lock_guard lock(runsMutex_);
    current_.request_stop();
    for (Run& run : runs_) run.thread.request_stop();
}

void SearchRuns::JoinAll() {
    std::list<Run> joining;
    {
        std::lock_guard lock(runsMutex_);
        joining.swap(runs_);
    }
    joining.clear();  // each jthread joins as it goes
}

void SearchRuns::StopAndJoinAll() {
    RequestStopAll();
    JoinAll();
}

bool SearchRuns::AnyRunning() {
    std::lock_guard lock(runsMutex_);
    ReapFinished();
    return !runs_.empty();
}

}  // namespace lq

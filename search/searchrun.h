// The search run: StartSearch supersedes the current run and starts a SearchWorker thread,
// which fills the view page by page while it holds the SearchLock.
#pragma once

#include <atomic>
#include <condition_variable>
#include <list>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

namespace lq {

class SearchView;

// The one lock of the runs: held by a run from before it clears the list until its last row.
// A waiter gives up when its stop token fires.
class SearchLock {
public:
    bool Acquire(std::stop_token stop);  // false: asked to stop before the lock was free
    void Release();
    bool IsHeld() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable_any freed_;
    bool held_ = false;
};

// One complete run over view; returns early, touching nothing more, once stop fires.
void SearchWorker(std::stop_token stop, SearchView& view, SearchLock& lock);

// StartSearch and the runs it has started. Never waits for a run on the caller's thread,
// except in StopAndJoinAll, which the front end calls once the window is gone.
class SearchRuns {
public:
    explicit SearchRuns(SearchView& view);
    ~SearchRuns();  // StopAndJoinAll
    SearchRuns(const SearchRuns&) = delete;
    SearchRuns& operator=(const SearchRuns&) = delete;

    void StartSearch();
    // Shutting down: ask every run to stop (never blocks), then, once nothing a run may wait
    // on needs this thread any more, join them. StopAndJoinAll does both.
    void RequestStopAll();
    void JoinAll();
    void StopAndJoinAll();
    bool AnyRunning();  // a started run has not finished
    SearchLock& Lock() { return lock_; }

private:
    // One started run: its thread and the flag the run sets as the very last thing it does,
    // so that joining a finished run never blocks.
    struct Run {
        std::shared_ptr<std::atomic<bool>> finished;
        std::jthread thread;
    };

    void ReapFinished();  // runsMutex_ held

    SearchView& view_;
    SearchLock lock_;
    std::stop_source current_;
    std::mutex runsMutex_;
    std::list<Run> runs_;
};

}  // namespace lq

// Starting searches faster than a slow site answers: 200 StartSearch calls in a row leave the
// rows of exactly one run (the last), no thread behind, an empty run registry and a free lock.
#include <dirent.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include "search/searchrun.h"
#include "search/settings.h"
#include "search/sharesite.h"
#include "tests/support/recordingview.h"
#include "text/codepage.h"
#include "tools/demo-site/demohits.h"
#include "tools/demo-site/demosite.h"

namespace lq {
namespace {

using namespace std::chrono_literals;
using test::RecordingView;

// Threads of this process right now.
int ThreadCount() {
    int count = 0;
    if (DIR* tasks = ::opendir("/proc/self/task")) {
        while (const dirent* entry = ::readdir(tasks)) {
            if (entry->d_name[0] != '.') ++count;
        }
        ::closedir(tasks);
    }
    return count;
}

// Their names, for a failure message.
std::string ThreadNames() {
    std::string names;
    if (DIR* tasks = ::opendir("/proc/self/task")) {
        while (const dirent* entry = ::readdir(tasks)) {
            if (entry->d_name[0] == '.') continue;
            std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
            std::string name;
            std::getline(comm, name);
            names += name + " ";
        }
        ::closedir(tasks);
    }
    return names;
}

template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

TEST(HostileLifecycle, TwoHundredRapidStartsLeaveOneRunsRowsAndNothingBehind) {
    // A sanitizer may start a helper thread of its own with the first thread: let it start first.
    std::thread([] {}).join();
    const int threadsBefore = ThreadCount();
    demosite::DemoSiteOptions options;
    options.delay = 20ms;  // every page and go page answers late
    demosite::DemoSite site(options);
    ASSERT_TRUE(site.Start());
    OverrideSites(site.BaseAddress(), site.BaseAddress());

    RecordingView view;
    // A new keyword for every run that gets as far as reading it: "k<n>z#p3" gives 3 pages of
    // 20 hits whose names carry "k<n>z", so the rows tell which run wrote them.
    view.SetKeywordSource([](int n) { return "k" + std::to_string(n) + "z#p3"; });
    view.SetSpeedOption(true);
    {
        SearchRuns runs(view);
        for (int i = 0; i < 200; ++i) runs.StartSearch();

        ASSERT_TRUE(WaitUntil([&] { return !runs.AnyRunning(); }, 60s));
        EXPECT_FALSE(runs.Lock().IsHeld());

        // Exactly the last keyword's three pages, numbered 1 to 60 without a gap.
        const std::string keyword = view.LastKeyword();
        const auto rows = view.Rows();
        const demosite::DemoQuery query = demosite::ParseDemoKeyword(keyword);
        ASSERT_EQ(query.pageCount, 3);
        std::vector<RecordingView::Row> expected;
        for (int page = 1; page <= 3; ++page) {
            for (const demosite::DemoHit& hit : demosite::DemoHits(query, page)) {
                const std::string number = std::to_string(expected.size() + 1);
                expected.push_back({number, Utf8ToGbk(hit.name), hit.size, hit.downloads,
                                    GoPageAddress(hit.shareId)});
            }
        }
        EXPECT_EQ(rows, expected) << "last keyword " << keyword;
        EXPECT_EQ(view.RangeMaximum(), 3);
        EXPECT_EQ(view.Position(), 3);
        // Superseded runs mostly never reached the list; every one that did cleared it first.
        EXPECT_GE(view.Clears(), view.KeywordReads());
        std::cout << "runs that read a keyword: " << view.KeywordReads() << " of 200; requests "
                  << site.Stats().requests << "\n";
    }
    // Each run's thread and its per-thread connection are gone; so is the site's.
    site.Stop();
    EXPECT_TRUE(WaitUntil([&] { return ThreadCount() <= threadsBefore; }, 10s))
        << ThreadCount() << " threads, " << threadsBefore << " before: " << ThreadNames();
}

}  // namespace
}  // namespace lq

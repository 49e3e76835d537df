// The search run end to end: a recording view, the run's thread and a local fixture site.
#include "search/searchrun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <future>
#include <utility>

#include "search/openresult.h"
#include "search/settings.h"
#include "search/sharesite.h"
#include "tests/support/fixturesite.h"
#include "tests/support/recordingview.h"
#include "text/codepage.h"

namespace lq {
namespace {

using namespace std::chrono_literals;
using test::FixtureHit;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Row = test::RecordingView::Row;

// Generous: only a run that hangs gets near it.
constexpr auto kNoHang = 10s;

std::string Target(const std::string& keyword, int page) {
    return "/s/?kw=" + keyword + "&page=" + std::to_string(page);
}
std::string GoTarget(const std::string& id) { return "/go/" + id; }
std::string ShareAddress(const std::string& id) { return "http://pan.example.com/s/" + id; }

// Hits named "<prefix>1".."<prefix>n" with Chinese names; odd ones carry a size.
std::vector<FixtureHit> Hits(const std::string& prefix, int count) {
    std::vector<FixtureHit> hits;
    for (int i = 1; i <= count; ++i) {
        hits.push_back({prefix + std::to_string(i), "资源 " + prefix + std::to_string(i),
                        i % 2 == 1 ? std::to_string(i) + ".5G" : "", std::to_string(100 + i)});
    }
    return hits;
}

class SearchRunTest : public ::testing::Test {
protected:
    void SetUp() override { OverrideSites(site.Base(), site.Base()); }

    void ServePage(const std::string& keyword, int page, const std::vector<FixtureHit>& hits,
                   int lastPage, bool withGoPages = true) {
        site.Serve(Target(keyword, page), test::ResultPageHtml(hits, lastPage));
        if (!withGoPages) return;
        for (const auto& hit : hits) {
            site.Serve(GoTarget(hit.id), test::GoPageHtml(ShareAddress(hit.id)));
        }
    }

    // The row a hit gives, with its real address or its go address.
    static Row RowOf(int sequence, const FixtureHit& hit, bool goAddress) {
        return {std::to_string(sequence), Utf8ToGbk(hit.name), hit.size, hit.downloads,
                goAddress ? GoPageAddress(hit.id) : ShareAddress(hit.id)};
    }

    void WaitUntilIdle() {
        const auto deadline = std::chrono::steady_clock::now() + kNoHang;
        while (runs.AnyRunning()) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "a run did not end";
            std::this_thread::sleep_for(2ms);
        }
    }

    void SearchFor(const std::string& keyword, bool speedOption) {
        view.SetKeyword(Utf8ToGbk(keyword));
        view.SetSpeedOption(speedOption);
        runs.StartSearch();
        WaitUntilIdle();
    }

    test::FixtureSite site;
    test::RecordingView view;
    SearchRuns runs{view};  // declared last: stopped and joined before the view goes
};

TEST_F(SearchRunTest, OnePageWithoutPagerUnticked) {
    const auto hits = Hits("a", 2);
    ServePage("one", 1, hits, 0);
    SearchFor("one", false);

    const std::string go1 = ShareAddress("a1"), go2 = ShareAddress("a2");
    const std::string name1 = Utf8ToGbk(hits[0].name), name2 = Utf8ToGbk(hits[1].name);
    EXPECT_THAT(
        view.CallTexts(),
        ElementsAre("ClearRows", "ReadKeyword", "SetProgressRange 1 1", "ReadSpeedOption",
                    "AppendRow", "RowCount", "SetCellText 0 0 1", "SetCellText 0 1 " + name1,
                    "SetCellText 0 2 1.5G", "SetCellText 0 3 101", "SetCellText 0 4 " + go1,
                    "ReadSpeedOption", "AppendRow", "RowCount", "SetCellText 1 0 2",
                    "SetCellText 1 1 " + name2, "SetCellText 1 2 ", "SetCellText 1 3 102",
                    "SetCellText 1 4 " + go2, "SetProgressPosition 1"));
    // n + 1 requests for a page of n hits.
    EXPECT_THAT(site.Requests(), ElementsAre(Target("one", 1), GoTarget("a1"), GoTarget("a2")));
    EXPECT_FALSE(runs.Lock().IsHeld());
}

TEST_F(SearchRunTest, OnePageTickedCostsOneRequestAndKeepsGoAddresses) {
    const auto hits = Hits("b", 3);
    ServePage("fast", 1, hits, 1);
    SearchFor("fast", true);

    EXPECT_THAT(view.Rows(), ElementsAre(RowOf(1, hits[0], true), RowOf(2, hits[1], true),
                                         RowOf(3, hits[2], true)));
    EXPECT_THAT(site.Requests(), ElementsAre(Target("fast", 1)));
    EXPECT_EQ(view.RangeMinimum(), 1);
    EXPECT_EQ(view.RangeMaximum(), 1);
    EXPECT_EQ(view.Position(), 1);

    // Opening such a row resolves its go page then.
    EXPECT_EQ(ResolveForOpening(view.Rows()[1][4]), ShareAddress("b2"));
}

TEST_F(SearchRunTest, PageWithoutHitsEndsTheRun) {
    ServePage("three", 1, Hits("c", 2), 3);
    ServePage("three", 2, {}, 3);
    ServePage("three", 3, Hits("d", 2), 3);
    SearchFor("three", true);

    EXPECT_EQ(view.Rows().size(), 2u);
    EXPECT_THAT(site.Requests(), ElementsAre(Target("three", 1), Target("three", 2)));
    EXPECT_EQ(view.RangeMaximum(), 3);
    EXPECT_EQ(view.Position(), 1);
    EXPECT_FALSE(runs.Lock().IsHeld());
}

TEST_F(SearchRunTest, HugePageCountIsClampedAndStopsAtTheFirstEmptyPage) {
    site.Serve(Target("huge", 1),
               test::ResultPageHtml(Hits("h", 1), 0) + "&nbsp;123456789012&nbsp;");
    SearchFor("huge", true);

    EXPECT_EQ(view.RangeMaximum(), INT_MAX);
    EXPECT_EQ(view.Position(), 1);
    EXPECT_THAT(site.Requests(), ElementsAre(Target("huge", 1), Target("huge", 2)));
}

TEST_F(SearchRunTest, EveryGoPageFailingAddsNoRowButReadsEveryPage) {
    ServePage("nogo", 1, Hits("e", 2), 2, /*withGoPages=*/false);
    ServePage("nogo", 2, Hits("f", 2), 2, /*withGoPages=*/false);
    SearchFor("nogo", false);

    EXPECT_TRUE(view.Rows().empty());
    EXPECT_THAT(site.Requests(), ElementsAre(Target("nogo", 1), GoTarget("e1"), GoTarget("e2"),
                                             Target("nogo", 2), GoTarget("f1"), GoTarget("f2")));
    EXPECT_EQ(view.RangeMaximum(), 2);
    EXPECT_EQ(view.Position(), 2);
}

TEST_F(SearchRunTest, TickingTheOptionMidPageAppliesFromTheNextHit) {
    const auto hits = Hits("g", 4);
    ServePage("mid", 1, hits, 1);
    view.SetHook([](test::RecordingView& v, const std::string& call) {
        if (call.rfind("SetCellText 1 4 ", 0) == 0) v.SetSpeedOption(true);
    });
    SearchFor("mid", false);

    EXPECT_THAT(view.Rows(), ElementsAre(RowOf(1, hits[0], false), RowOf(2, hits[1], false),
                                         RowOf(3, hits[2], true), RowOf(4, hits[3], true)));
    EXPECT_THAT(site.Requests(), ElementsAre(Target("mid", 1), GoTarget("g1"), GoTarget("g2")));
}

TEST_F(SearchRunTest, DroppedHitsTakeNoSequenceNumber) {
    const std::vector<FixtureHit> hits = {
        {"k1", "第一", "1G", "1"}, {"k2", "", "2G", "2"},    // k2: empty name
        {"k3", "第三", "3G", "3"}, {"k4", "第四", "", "4"},  // k3: go page without target
        {"k5", "第五", "5G", "5"},                           // k5: go page missing
        {"k6", "第六", "6G", "6"},
    };
    ServePage("drop", 1, hits, 2);
    site.Serve(GoTarget("k3"), "<html>no address here</html>");
    site.Serve(GoTarget("k5"), "");  // as a failed request gives
    ServePage("drop", 2, {{"k7", "第七", "7G", "7"}}, 2);
    SearchFor("drop", false);

    EXPECT_THAT(view.Rows(),
                ElementsAre(RowOf(1, hits[0], false), RowOf(2, hits[3], false),
                            RowOf(3, hits[5], false), RowOf(4, {"k7", "第七", "7G", "7"}, false)));
    // The go page of the nameless hit is still asked for: the name is looked at afterwards.
    EXPECT_THAT(site.Requests(), ElementsAre(Target("drop", 1), GoTarget("k1"), GoTarget("k2"),
                                             GoTarget("k3"), GoTarget("k4"), GoTarget("k5"),
                                             GoTarget("k6"), Target("drop", 2), GoTarget("k7")));
}

TEST_F(SearchRunTest, EmptyKeywordIsSearchedAndTheListClearedFirst) {
    view.AppendRow();  // rows left from before
    view.AppendRow();
    const auto hits = Hits("m", 1);
    ServePage("", 1, hits, 0);
    SearchFor("", true);
    EXPECT_THAT(view.Rows(), ElementsAre(RowOf(1, hits[0], true)));
    EXPECT_THAT(site.Requests(), ElementsAre(Target("", 1)));
}

TEST_F(SearchRunTest, NothingFoundStillClearsTheListAndKeepsTheOldPosition) {
    ServePage("old", 1, Hits("o", 1), 3);
    ServePage("old", 2, Hits("p", 1), 3);
    ServePage("old", 3, Hits("q", 1), 3);
    SearchFor("old", true);
    ASSERT_EQ(view.Position(), 3);

    SearchFor("nothing", true);  // the site answers 404 with an empty body
    EXPECT_TRUE(view.Rows().empty());
    EXPECT_EQ(view.RangeMaximum(), 1);
    EXPECT_EQ(view.Position(), 3);  // never reset: no page with hits was completed
}

TEST_F(SearchRunTest, ChineseKeywordIsSentAsUpperCaseUtf8Hex) {
    ServePage("%E4%B8%89%E4%BD%93", 1, Hits("z", 1), 0);
    SearchFor("三体", true);
    EXPECT_EQ(view.Rows().size(), 1u);
    EXPECT_THAT(site.Requests(), ElementsAre(Target("%E4%B8%89%E4%BD%93", 1)));
}

// The thread of the first recorded call, which is the first run's.
std::thread::id FirstThread(const std::vector<test::RecordingView::Call>& calls) {
    return calls.empty() ? std::thread::id{} : calls.front().thread;
}

TEST_F(SearchRunTest, SecondSearchWhileTheFirstIsOnPage5Of9) {
    for (int page = 1; page <= 9; ++page) {
        ServePage("first", page, Hits("p" + std::to_string(page) + "x", 2), 9);
    }
    const auto second = Hits("s", 3);
    ServePage("second", 1, second, 0);
    // Page 5 is held back far longer than the test may take: the run is caught mid-request.
    site.Delay(Target("first", 5), 60s);

    view.SetKeyword("first");
    view.SetSpeedOption(true);
    runs.StartSearch();
    ASSERT_TRUE(site.WaitForRequest(Target("first", 5), kNoHang));
    const std::size_t callsBefore = view.Calls().size();
    ASSERT_EQ(view.Rows().size(), 8u);

    view.SetKeyword("second");
    runs.StartSearch();
    WaitUntilIdle();  // the first run's request was aborted, or this would wait a minute

    const auto calls = view.Calls();
    const std::thread::id firstRun = FirstThread(calls);
    for (std::size_t i = callsBefore; i < calls.size(); ++i) {
        EXPECT_NE(calls[i].thread, firstRun) << "the stopped run still made " << calls[i].text;
    }
    ASSERT_GT(calls.size(), callsBefore);
    EXPECT_EQ(calls[callsBefore].text, "ClearRows");
    EXPECT_EQ(calls[callsBefore + 1].text, "ReadKeyword");
    EXPECT_EQ(calls[callsBefore + 2].text, "SetProgressRange 1 1");
    EXPECT_THAT(view.Rows(), ElementsAre(RowOf(1, second[0], true), RowOf(2, second[1], true),
                                         RowOf(3, second[2], true)));
    EXPECT_THAT(site.Requests(),
                ElementsAre(Target("first", 1), Target("first", 2), Target("first", 3),
                            Target("first", 4), Target("first", 5), Target("second", 1)));
    EXPECT_FALSE(runs.Lock().IsHeld());
}

TEST_F(SearchRunTest, RunSupersededDuringAViewCallMakesNoFurtherCall) {
    ServePage("first", 1, Hits("u", 2), 3);
    ServePage("first", 2, Hits("v", 2), 3);
    ServePage("first", 3, Hits("w", 2), 3);
    const auto second = Hits("t", 1);
    ServePage("second", 1, second, 0);
    // A click handled while the run waits for a window operation: the handler starts a new
    // search, which supersedes the run that is inside the call.
    std::atomic<bool> clicked{false};
    view.SetHook([this, &clicked](test::RecordingView& v, const std::string& call) {
        if (call.rfind("SetCellText 0 4 ", 0) == 0 && !clicked.exchange(true)) {
            v.SetKeyword("second");
            runs.StartSearch();
        }
    });
    view.SetKeyword("first");
    runs.StartSearch();
    while (!clicked) std::this_thread::sleep_for(1ms);
    WaitUntilIdle();

    const auto calls = view.Calls();
    const std::thread::id firstRun = FirstThread(calls);
    std::size_t lastOfFirst = 0;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].thread == firstRun) lastOfFirst = i;
    }
    // The first run was between two hits of page 1: it neither reads the option for the next
    // hit nor moves the progress bar.
    EXPECT_EQ(calls[lastOfFirst].text, "SetCellText 0 4 " + GoPageAddress("u1"));
    EXPECT_THAT(view.Rows(), ElementsAre(RowOf(1, second[0], true)));
    EXPECT_THAT(site.Requests(), ElementsAre(Target("first", 1), Target("second", 1)));
}

TEST_F(SearchRunTest, RunStoppedWhileWaitingForTheLockTouchesNothing) {
    const auto second = Hits("r", 2);
    ServePage("second", 1, second, 0);
    std::stop_source holder;
    ASSERT_TRUE(runs.Lock().Acquire(holder.get_token()));  // an older run holds the lock

    view.SetKeyword("first");
    runs.StartSearch();
    std::this_thread::sleep_for(20ms);  // usually waiting for the lock by now; either way works
    view.SetKeyword("second");
    runs.StartSearch();  // the first run is asked to stop before the lock comes free
    runs.Lock().Release();
    WaitUntilIdle();

    const auto calls = view.Calls();
    ASSERT_FALSE(calls.empty());
    for (const auto& call : calls) EXPECT_EQ(call.thread, calls.front().thread) << call.text;
    const auto texts = view.CallTexts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "ClearRows"), 1);
    EXPECT_THAT(view.Rows(), ElementsAre(RowOf(1, second[0], true), RowOf(2, second[1], true)));
    EXPECT_THAT(site.Requests(), ElementsAre(Target("second", 1)));
}

TEST_F(SearchRunTest, ShutdownStopsARunInsideARequest) {
    ServePage("slow", 1, Hits("y", 1), 0);
    site.Delay(Target("slow", 1), 60s);
    view.SetKeyword("slow");
    runs.StartSearch();
    ASSERT_TRUE(site.WaitForRequest(Target("slow", 1), kNoHang));

    runs.RequestStopAll();  // never blocks
    auto joined = std::async(std::launch::async, [this] { runs.JoinAll(); });
    ASSERT_EQ(joined.wait_for(kNoHang), std::future_status::ready);
    EXPECT_FALSE(runs.AnyRunning());
    EXPECT_FALSE(runs.Lock().IsHeld());
    EXPECT_THAT(view.CallTexts(), ElementsAre("ClearRows", "ReadKeyword"));
}

TEST(SearchLockTest, WaiterGivesUpWhenAskedToStop) {
    SearchLock lock;
    std::stop_source first;
    ASSERT_TRUE(lock.Acquire(first.get_token()));
    EXPECT_TRUE(lock.IsHeld());

    std::stop_source second;
    auto waiter = std::async(std::launch::async, [&] { return lock.Acquire(second.get_token()); });
    EXPECT_EQ(waiter.wait_for(20ms), std::future_status::timeout);  // it waits
    second.request_stop();
    ASSERT_EQ(waiter.wait_for(kNoHang), std::future_status::ready);
    EXPECT_FALSE(waiter.get());
    EXPECT_TRUE(lock.IsHeld());  // still the first holder's

    std::stop_source third;
    auto next = std::async(std::launch::async, [&] { return lock.Acquire(third.get_token()); });
    lock.Release();
    ASSERT_EQ(next.wait_for(kNoHang), std::future_status::ready);
    EXPECT_TRUE(next.get());
    lock.Release();
    EXPECT_FALSE(lock.IsHeld());

    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_FALSE(lock.Acquire(stopped.get_token()));  // free, but the caller was superseded
    EXPECT_FALSE(lock.IsHeld());
}

TEST(SearchLockTest, WorkerStoppedBeforeItGetsTheLockMakesNoCall) {
    test::RecordingView view;
    SearchLock lock;
    std::stop_source holder;
    ASSERT_TRUE(lock.Acquire(holder.get_token()));
    {
        std::jthread worker(
            [&](std::stop_token stop) { SearchWorker(std::move(stop), view, lock); });
        std::this_thread::sleep_for(20ms);
    }  // asked to stop and joined here
    EXPECT_TRUE(view.Calls().empty());
    EXPECT_TRUE(lock.IsHeld());
    lock.Release();
}

}  // namespace
}  // namespace lq

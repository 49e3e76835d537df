// Runs against the window: the search button fills the list and the progress bar; a run's
// window operations are carried out on the GUI thread; a thousand rows arrive intact; closing
// the gate releases a run blocked in a window operation and stops every later one.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>

#include "app/resultsmodel.h"
#include "tests/support/fixturesite.h"
#include "tests/app/windowtesting.h"
#include "text/codepage.h"
#include "tools/demo-site/demohits.h"
#include "tools/demo-site/demopages.h"

namespace lq::test {
namespace {

TEST(SearchButton, FillsTheListAndTheProgressBarFromTheSite) {
    MainWindow window;
    window.show();
    SharedSite().ClearCounts();
    SharedSite().SetSearchDelay(std::chrono::milliseconds(0));
    const std::string keyword = "电影#p3";  // the site gives this keyword three pages
    Find<QLineEdit>(window, "编辑框1")->setText(Qs(keyword));
    QTest::mouseClick(Find<QPushButton>(window, "按钮1"), Qt::LeftButton);
    ASSERT_TRUE(WaitForRunsToEnd(window));

    const demosite::DemoQuery query = demosite::ParseDemoKeyword(keyword);
    ASSERT_EQ(query.pageCount, 3);
    const ResultsModel& rows = window.Results();
    ASSERT_EQ(rows.RowCount(), 3 * demosite::kHitsPerPage);
    int row = 0;
    for (int page = 1; page <= 3; ++page) {
        for (const demosite::DemoHit& hit : demosite::DemoHits(query, page)) {
            SCOPED_TRACE(row);
            EXPECT_EQ(rows.CellText(row, 0), QString::number(row + 1));
            // The name as the page's title attribute carries it: no entity decoding.
            EXPECT_EQ(rows.CellText(row, 1), Qs(demosite::HtmlEscape(hit.name)));
            EXPECT_EQ(rows.CellText(row, 2), Qs(hit.size));
            EXPECT_EQ(rows.CellText(row, 3), Qs(hit.downloads));
            // The speed option is checked from the start: the go address is kept.
            EXPECT_EQ(rows.CellText(row, 4), Qs(SharedSite().Base() + "/go/" + hit.shareId));
            ++row;
        }
    }
    auto* progress = Find<QProgressBar>(window, "进度条1");
    EXPECT_EQ(progress->minimum(), 1);
    EXPECT_EQ(progress->maximum(), 3);
    EXPECT_EQ(progress->value(), 3);
    EXPECT_EQ(SharedSite().GoRequests(), 0);
}

TEST(SearchButton, WithoutTheSpeedOptionTheRealAddressIsStored) {
    MainWindow window;
    window.show();
    SharedSite().ClearCounts();
    Find<QCheckBox>(window, "选择框1")->setChecked(false);
    Find<QLineEdit>(window, "编辑框1")->setText(QStringLiteral("abc#p1"));
    QTest::mouseClick(Find<QPushButton>(window, "按钮1"), Qt::LeftButton);
    ASSERT_TRUE(WaitForRunsToEnd(window));
    const auto hits = demosite::DemoHits(demosite::ParseDemoKeyword("abc#p1"), 1);
    ASSERT_EQ(window.Results().RowCount(), static_cast<int>(hits.size()));
    EXPECT_EQ(window.Results().CellText(0, 4), Qs(FixtureSite::ShareAddress(hits[0].shareId)));
    EXPECT_EQ(SharedSite().GoRequests(), static_cast<int>(hits.size()));
}

TEST(SearchView, AThousandRowsFromAWorkerThreadArriveIntact) {
    MainWindow window;
    window.show();
    SearchView& view = window.View();
    std::atomic<bool> done = false;
    std::atomic<bool> offGuiThread = false;
    const std::string name = Utf8ToGbk("资源 & <名>");
    std::thread worker([&] {
        offGuiThread = QThread::currentThread() != window.thread();
        view.ClearRows();
        view.SetProgressRange(1, 1000);
        for (int i = 0; i < 1000; ++i) {
            const int row = view.AppendRow();
            const std::string sequence = std::to_string(view.RowCount());
            view.SetCellText(row, 0, sequence);
            view.SetCellText(row, 1, name + std::to_string(i));
            view.SetCellText(row, 2, "1.5G");
            view.SetCellText(row, 3, "7");
            view.SetCellText(row, 4, "http://h.example/go/" + std::to_string(i));
            view.SetProgressPosition(i + 1);
        }
        done = true;
    });
    const bool finished = WaitUntil([&] { return done.load(); }, 60'000);
    worker.join();
    ASSERT_TRUE(finished);
    EXPECT_TRUE(offGuiThread);
    const ResultsModel& rows = window.Results();
    ASSERT_EQ(rows.RowCount(), 1000);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(rows.CellText(i, 0), QString::number(i + 1));
        ASSERT_EQ(rows.CellText(i, 1), QStringLiteral("资源 & <名>") + QString::number(i));
        ASSERT_EQ(rows.CellText(i, 4), QStringLiteral("http://h.example/go/") + QString::number(i));
    }
    EXPECT_EQ(Find<QProgressBar>(window, "进度条1")->value(), 1000);
    // The list itself hears of every row within a moment.
    EXPECT_TRUE(WaitUntil([&rows] { return rows.rowCount() == 1000; }, 2000));
    EXPECT_EQ(rows.data(rows.index(999, 1), Qt::DisplayRole).toString(),
              QStringLiteral("资源 & <名>999"));
}

TEST(SearchView, ReadsTheKeywordAndTheSpeedOption) {
    MainWindow window;
    Find<QLineEdit>(window, "编辑框1")->setText(QStringLiteral("三体 全集"));
    std::string keyword;
    bool speed = false;
    std::atomic<bool> done = false;
    std::thread worker([&] {
        keyword = window.View().ReadKeyword();
        speed = window.View().ReadSpeedOption();
        done = true;
    });
    ASSERT_TRUE(WaitUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(keyword, Utf8ToGbk("三体 全集"));
    EXPECT_TRUE(speed);
}

TEST(WindowGate, ClosingReleasesABlockedRunAndLaterOperationsDoNothing) {
    auto window = std::make_unique<MainWindow>();
    std::atomic<int> calls = 0;
    std::atomic<bool> finished = false;
    std::thread worker([&] {
        // Without an event loop on the GUI thread the first call blocks until the gate closes.
        while (window->View().AppendRow() >= 0) ++calls;
        for (int i = 0; i < 100; ++i) window->View().SetCellText(0, 1, "x");
        finished = true;
    });
    QThread::msleep(50);  // let the worker block in its call
    EXPECT_FALSE(finished);
    window->Shutdown();
    worker.join();
    EXPECT_TRUE(finished);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(window->Results().RowCount(), 0);
    // On the GUI thread too, a closed gate turns every operation into nothing.
    EXPECT_EQ(window->View().AppendRow(), -1);
    EXPECT_EQ(window->Results().RowCount(), 0);
}

TEST(WindowGate, ShuttingDownDuringASlowSearchEndsPromptly) {
    SharedSite().ClearCounts();
    SharedSite().SetSearchDelay(std::chrono::seconds(30));
    auto window = std::make_unique<MainWindow>();
    window->show();
    Find<QLineEdit>(*window, "编辑框1")->setText(QStringLiteral("slow"));
    QTest::mouseClick(Find<QPushButton>(*window, "按钮1"), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([] { return !SharedSite().SearchedKeywords().empty(); }));
    EXPECT_TRUE(window->Runs().AnyRunning());
    QElapsedTimer timer;
    timer.start();
    window.reset();                    // shuts down: stop, close the gate, release, join
    EXPECT_LT(timer.elapsed(), 5000);  // generous: a hang would take the site's 30 s
    SharedSite().SetSearchDelay(std::chrono::milliseconds(0));
}

}  // namespace
}  // namespace lq::test

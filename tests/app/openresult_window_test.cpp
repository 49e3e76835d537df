// Double-clicking the results list: the first selected row's address is resolved on the GUI
// thread and handed to the opener; only web addresses ever reach it.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "app/resultsmodel.h"
#include "tests/support/fixturesite.h"
#include "tests/app/windowtesting.h"
#include "tools/demo-site/demohits.h"

namespace lq::test {
namespace {

class DoubleClick : public testing::Test {
protected:
    void SetUp() override {
        window.SetOpener([this](const QString& address) { opened.push_back(address); });
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        list = Find<QTableView>(window, "超级列表框1");
        SharedSite().ClearCounts();
    }

    void AddRow(const QString& name, const QString& address) {
        const int row = window.Results().AppendRow();
        window.Results().SetCellText(row, 0, QString::number(row + 1));
        window.Results().SetCellText(row, 1, name);
        window.Results().SetCellText(row, 4, address);
    }

    void DoubleClickRow(int row) {
        window.Results().Publish();  // the view hears of new rows in batches
        list->selectRow(row);
        const QRect cell = list->visualRect(window.Results().index(row, 1));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }

    MainWindow window;
    QTableView* list = nullptr;
    std::vector<QString> opened;
};

TEST_F(DoubleClick, GoAddressFromASearchIsResolvedAndTheRealAddressOpened) {
    const std::string keyword = "openme#p1";
    Find<QLineEdit>(window, "编辑框1")->setText(Qs(keyword));
    QTest::mouseClick(Find<QPushButton>(window, "按钮1"), Qt::LeftButton);
    ASSERT_TRUE(WaitForRunsToEnd(window));
    const auto hits = demosite::DemoHits(demosite::ParseDemoKeyword(keyword), 1);
    ASSERT_GE(window.Results().RowCount(), 3);

    DoubleClickRow(2);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], Qs(FixtureSite::ShareAddress(hits[2].shareId)));
    EXPECT_EQ(SharedSite().GoRequests(), 1);
    // The list keeps the go address: a second double-click fetches the go page again.
    EXPECT_EQ(window.Results().CellText(2, 4), Qs(SharedSite().Base() + "/go/" + hits[2].shareId));
    DoubleClickRow(2);
    EXPECT_EQ(SharedSite().GoRequests(), 2);
    EXPECT_EQ(opened.size(), 2u);
}

TEST_F(DoubleClick, OnlyWebAddressesReachTheOpener) {
    const QString base = Qs(SharedSite().Base());
    SharedSite().SetGoTarget("toscript", "javascript:alert(1)");
    SharedSite().SetGoTarget("tofile", "file:///etc/passwd");
    SharedSite().SetGoTarget("toweb", "http://share.example.org/s/1");
    struct Case {
        QString address;
        QString opens;  // empty: nothing may be opened
        int goRequests;
    };
    const Case cases[] = {
        {QStringLiteral("https://pan.example.com/s/1abc"),
         QStringLiteral("https://pan.example.com/s/1abc"), 0},
        {QStringLiteral("HTTP://PAN.EXAMPLE.COM/GO/abc"),
         QStringLiteral("HTTP://PAN.EXAMPLE.COM/GO/abc"), 0},
        {base + QStringLiteral("/go/toweb"), QStringLiteral("http://share.example.org/s/1"), 1},
        {base + QStringLiteral("/go/toscript"), {}, 1},
        {base + QStringLiteral("/go/tofile"), {}, 1},
        {QStringLiteral("javascript:alert(document.cookie)"), {}, 0},
        {QStringLiteral("file:///etc/passwd"), {}, 0},
        {QStringLiteral("/go/relative"), {}, 0},
        {QString(), {}, 0},
    };
    for (const Case& c : cases) AddRow(QStringLiteral("名"), c.address);
    for (int row = 0; row < static_cast<int>(std::size(cases)); ++row) {
        SCOPED_TRACE(cases[row].address.toStdString());
        opened.clear();
        SharedSite().ClearCounts();
        DoubleClickRow(row);
        if (cases[row].opens.isEmpty()) {
            EXPECT_TRUE(opened.empty());
        } else {
            ASSERT_EQ(opened.size(), 1u);
            EXPECT_EQ(opened[0], cases[row].opens);
        }
        EXPECT_EQ(SharedSite().GoRequests(), cases[row].goRequests);
    }
}

TEST_F(DoubleClick, AnywhereOnTheListOpensTheSelectedRowAndNothingWithoutSelection) {
    AddRow(QStringLiteral("甲"), QStringLiteral("http://a.example/1"));
    AddRow(QStringLiteral("乙"), QStringLiteral("http://a.example/2"));
    window.Results().Publish();
    const QPoint belowRows(100, list->viewport()->height() - 10);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, belowRows);
    EXPECT_TRUE(opened.empty());

    list->selectRow(1);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, belowRows);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QStringLiteral("http://a.example/2"));
    EXPECT_EQ(window.SelectedRow(), 1);
}

}  // namespace
}  // namespace lq::test

// Start-up against the fixture site: the 100 hot-keyword buttons, their captions, places and
// tooltips; the notice rule; untrusted titles and notices shown as plain text; a hot-button
// click that searches for its caption and shows the results page.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include "app/resultsmodel.h"
#include "app/superbutton.h"
#include "app/tabcontrol.h"
#include "tests/support/fixturesite.h"
#include "tests/app/windowtesting.h"
#include "text/codepage.h"

namespace lq::test {
namespace {

class StartUp : public testing::Test {
protected:
    void StartWith(const std::vector<std::string>& titles, const std::string& notice) {
        SharedSite().SetTopTitles(titles);
        SharedSite().SetNotice(notice);
        SharedSite().ClearCounts();
        window.RaiseCreated();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QPoint TabPlace(QWidget* control) {
        return control->mapTo(Find(window, "选择夹1"), QPoint(0, 0));
    }

    MainWindow window;
};

// What a tooltip shows once Qt has rendered it.
QString RenderedToolTip(const QString& toolTip) {
    QTextDocument document;
    document.setHtml(toolTip);
    return document.toPlainText();
}

TEST_F(StartUp, ThreeTitlesGiveThreeCaptionedButtonsAndNinetySevenSpares) {
    StartWith({"a", "b?", "c"}, "");
    window.SelectPage(1);
    QWidget* page = Find<TabControl>(window, "选择夹1")->widget(1);
    struct Case {
        int number;
        const char* caption;
        QPoint place;
    };
    const Case cases[] = {
        {1, "a", {10, 25}},
        {2, "b", {126, 25}},
        {3, "c", {242, 25}},
        {4, "超级按钮", {358, 25}},
        {5, "超级按钮", {474, 25}},
        {6, "超级按钮", {10, 42}},
        {100, "超级按钮", {474, 348}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        SuperButton* button = window.HotButton(c.number);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->Caption(), QString::fromUtf8(c.caption));
        EXPECT_EQ(TabPlace(button), c.place);
        EXPECT_EQ(button->size(), QSize(106, 16));
        EXPECT_TRUE(button->isVisible());
        EXPECT_EQ(button->parentWidget(), page);
        const bool titled = c.number <= 3;
        EXPECT_EQ(button->ToolTipText(), titled ? button->Caption() : QString());
        if (titled) {
            EXPECT_EQ(RenderedToolTip(button->toolTip()), button->Caption());
        }
    }
    // Every grid cell, row by row: 10 + 116 (c - 1), 25 + 17 (r - 1).
    for (int n = 1; n <= 100; ++n) {
        const int r = (n - 1) / 5 + 1;
        const int c = (n - 1) % 5 + 1;
        ASSERT_EQ(TabPlace(window.HotButton(n)), QPoint(10 + 116 * (c - 1), 25 + 17 * (r - 1)));
    }
    EXPECT_EQ(window.HotButton(101), nullptr);
    // The template is never shown; the used title lost its "?".
    EXPECT_TRUE(Find(window, "超级按钮1")->isHidden());
    EXPECT_EQ(TabPlace(Find(window, "超级按钮1")), QPoint(14, 34));
    ASSERT_EQ(window.HotTitles().size(), 3u);
    EXPECT_EQ(window.HotTitles()[1], "b");
    EXPECT_EQ(page->findChildren<SuperButton*>().size(), 101);
}

TEST_F(StartUp, MoreThanAHundredTitlesFillEveryButtonAndLeaveTheRestUncleaned) {
    std::vector<std::string> titles;
    for (int i = 1; i <= 103; ++i) titles.push_back("t" + std::to_string(i) + "?");
    StartWith(titles, "");
    EXPECT_EQ(window.HotButton(1)->Caption(), QStringLiteral("t1"));
    EXPECT_EQ(window.HotButton(100)->Caption(), QStringLiteral("t100"));
    ASSERT_EQ(window.HotTitles().size(), 103u);
    EXPECT_EQ(window.HotTitles()[99], "t100");
    EXPECT_EQ(window.HotTitles()[100], "t101?");
}

TEST_F(StartUp, MarkupInTitlesAndNoticeIsShownAsText) {
    StartWith({"<b>x</b>", "A&amp;B &amp; C", "?&?"}, "<b>注意</b> <a href='x'>y</a>");
    EXPECT_EQ(window.HotButton(1)->Caption(), QStringLiteral("<b>x</b>"));
    EXPECT_EQ(RenderedToolTip(window.HotButton(1)->toolTip()), QStringLiteral("<b>x</b>"));
    EXPECT_EQ(window.HotButton(2)->Caption(), QStringLiteral("A&amp;B &amp; C"));
    EXPECT_EQ(RenderedToolTip(window.HotButton(2)->toolTip()), QStringLiteral("A&amp;B &amp; C"));
    EXPECT_EQ(window.HotButton(3)->Caption(), QStringLiteral("&"));
    EXPECT_EQ(window.PartText(0), QStringLiteral("<b>注意</b> <a href='x'>y</a>"));
    for (QLabel* label : Find(window, "状态条1")->findChildren<QLabel*>()) {
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
    }
}

TEST_F(StartUp, NoticeRule) {
    struct Case {
        const char* notice;
        const char* shown;
    };
    const Case cases[] = {
        {"欢迎使用本软件，祝您搜索愉快！", "欢迎使用本软件，祝您搜索愉快！"},
        {"<html><title>404 Not Found</title></html>", ""},
        {"502 Bad Gateway", ""},
        {"本站今日新增50个资源", ""},
        {"", ""},
        {"第一行\n第二行 4 0 5 0", "第一行\n第二行 4 0 5 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notice);
        MainWindow fresh;
        SharedSite().SetTopTitles({});
        SharedSite().SetNotice(c.notice);
        fresh.RaiseCreated();
        EXPECT_EQ(fresh.PartText(0), QString::fromUtf8(c.shown));
    }
}

TEST_F(StartUp, WithNoTopListEveryButtonIsASpare) {
    StartWith({}, "");
    for (int n = 1; n <= 100; ++n) {
        ASSERT_EQ(window.HotButton(n)->Caption(), QStringLiteral("超级按钮"));
        ASSERT_TRUE(window.HotButton(n)->ToolTipText().isEmpty());
        ASSERT_FALSE(window.HotButton(n)->isHidden());
    }
}

TEST_F(StartUp, HotButtonClickSearchesForItsCaptionAndShowsTheResults) {
    StartWith({"a", "电影?", "c"}, "");
    window.SelectPage(1);
    QTest::mouseClick(window.HotButton(2), Qt::LeftButton);
    EXPECT_EQ(Find<QLineEdit>(window, "编辑框1")->text(), QStringLiteral("电影"));
    EXPECT_EQ(window.CurrentPage(), 0);
    ASSERT_TRUE(WaitForRunsToEnd(window));
    const std::vector<std::string> searched = SharedSite().SearchedKeywords();
    ASSERT_FALSE(searched.empty());
    EXPECT_EQ(searched.front(), "电影");
    EXPECT_GT(window.Results().RowCount(), 0);

    // A spare button searches for its caption too.
    SharedSite().ClearCounts();
    window.SelectPage(1);
    QTest::mouseClick(window.HotButton(50), Qt::LeftButton);
    EXPECT_EQ(Find<QLineEdit>(window, "编辑框1")->text(), QStringLiteral("超级按钮"));
    ASSERT_TRUE(WaitForRunsToEnd(window));
    ASSERT_FALSE(SharedSite().SearchedKeywords().empty());
    EXPECT_EQ(SharedSite().SearchedKeywords().front(), "超级按钮");
}

TEST_F(StartUp, AClickDuringTheShortWaitRunsInsideItAndItsKeywordIsSearchedLast) {
    StartWith({"a", "b"}, "");
    window.SelectPage(1);
    // The second click arrives while the first click's handler waits and serves events.
    bool outerReturned = false;
    bool innerRanInsideWait = false;
    QTimer::singleShot(0, &window, [&] {
        innerRanInsideWait = !outerReturned;
        QTest::mouseClick(window.HotButton(2), Qt::LeftButton);
    });
    QTest::mouseClick(window.HotButton(1), Qt::LeftButton);
    outerReturned = true;
    EXPECT_TRUE(innerRanInsideWait);
    EXPECT_EQ(Find<QLineEdit>(window, "编辑框1")->text(), QStringLiteral("b"));
    EXPECT_EQ(window.CurrentPage(), 0);
    ASSERT_TRUE(WaitForRunsToEnd(window));
    const std::vector<std::string> searched = SharedSite().SearchedKeywords();
    ASSERT_FALSE(searched.empty());
    for (const std::string& keyword : searched) EXPECT_EQ(keyword, "b");
}

TEST_F(StartUp, ClonesKeepTheTemplatesCaptionAndClickBinding) {
    StartWith({}, "");
    auto* templ = Find<SuperButton>(window, "超级按钮1");
    templ->SetCaption(QStringLiteral("R&D <i>"));
    SuperButton* clone = window.CloneSuperButton(*templ);
    EXPECT_EQ(clone->Caption(), QStringLiteral("R&D <i>"));
    EXPECT_EQ(clone->size(), templ->size());
    EXPECT_EQ(TabPlace(clone), TabPlace(templ));
    EXPECT_TRUE(clone->isHidden());
    EXPECT_EQ(clone->parentWidget(), templ->parentWidget());
    clone->setVisible(true);
    window.SelectPage(1);
    QTest::mouseClick(clone, Qt::LeftButton);
    EXPECT_EQ(Find<QLineEdit>(window, "编辑框1")->text(), QStringLiteral("R&D <i>"));
    EXPECT_EQ(window.CurrentPage(), 0);
    ASSERT_TRUE(WaitForRunsToEnd(window));

    // A clone of a clone still answers clicks with the hot-keyword click.
    SuperButton* second = window.CloneSuperButton(*clone);
    second->SetCaption(QStringLiteral("second"));
    window.SelectPage(1);
    QTest::mouseClick(second, Qt::LeftButton);
    EXPECT_EQ(Find<QLineEdit>(window, "编辑框1")->text(), QStringLiteral("second"));
    EXPECT_EQ(window.CurrentPage(), 0);
    ASSERT_TRUE(WaitForRunsToEnd(window));
}

}  // namespace
}  // namespace lq::test

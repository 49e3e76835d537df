// The built window against an independent copy of its definition: every control's name, kind,
// parent, place, size, text and initial state; the window's own properties; the list columns;
// where a press drags the window; events that must run nothing.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

#include "app/resultsmodel.h"
#include "app/superbutton.h"
#include "app/tabcontrol.h"
#include "search/settings.h"
#include "tests/support/fixturesite.h"
#include "tests/app/windowtesting.h"
#include "text/codepage.h"

namespace lq::test {
namespace {

constexpr int kWindow = -1;  // the control sits on the window, not on a tab page

struct Expected {
    const char* name;
    const char* qtClass;
    const char* kind;
    int page;
    int left, top, width, height;
    const char* text;  // nullptr: checked separately (settings texts, tab captions)
    bool hidden;
};

// Written out again from the window definition, not taken from the builder's table.
const Expected kControls[] = {
    {"标签13", "QLabel", "标签", kWindow, 8, 13, 88, 16, "请输入关键字:", false},
    {"编辑框1", "QLineEdit", "编辑框", kWindow, 93, 9, 216, 24, "", false},
    {"按钮1", "QPushButton", "按钮", kWindow, 312, 8, 64, 24, "搜索", false},
    {"选择框1", "QCheckBox", "选择框", kWindow, 384, 4, 96, 24, "加快搜索速度", false},
    {"标签14", "QLabel", "标签", kWindow, 384, 26, 216, 16, "搜索无结果请重新搜索或者稍后搜索。",
     false},
    {"选择夹1", "lq::TabControl", "选择夹", kWindow, 2, 46, 599, 379, nullptr, false},
    {"进度条1", "QProgressBar", "进度条", kWindow, 2, 428, 598, 16, nullptr, false},
    {"状态条1", "QStatusBar", "状态条", kWindow, 0, 448, 603, 20, nullptr, false},
    {"超级列表框1", "QTableView", "超级列表框", 0, 0, 20, 598, 358, nullptr, false},
    {"超级按钮1", "lq::SuperButton", "超级按钮", 1, 14, 34, 56, 16, "超级按钮", true},
    {"标签2", "QLabel", "标签", 2, 12, 29, 56, 24, "常见问题:", false},
    {"标签3", "QLabel", "标签", 2, 68, 51, 154, 24, "Q1:为什么杀毒软件报毒?", false},
    {"标签4", "QLabel", "标签", 2, 69, 76, 472, 48,
     "A1:因为国产的杀毒软件技术不行,只要是分析不出来的文件都认为是病毒或者风险文件,"
     "甚至某数字卫士还需要程序开发者缴费1800元做程序认证才不报毒.",
     false},
    {"标签5", "QLabel", "标签", 2, 68, 102, 154, 24, "Q2:为什么搜索没结果?", false},
    {"标签6", "QLabel", "标签", 2, 69, 126, 472, 40,
     "A2:偶尔搜索引擎大姨妈也是很正常的多点击搜索按钮看看,"
     "如果还是没有的话说明你搜索的东西可能不存在.",
     false},
    {"标签8", "QLabel", "标签", 2, 14, 170, 328, 32,
     "如果你对软件开发或者IT行业有兴趣的话请戳旁边的按钮→", false},
    {"按钮2", "QPushButton", "按钮", 2, 344, 173, 120, 24, "一键加群", false},
    {"标签9", "QLabel", "标签", 2, 14, 215, 72, 16, "支付宝账号:", false},
    {"编辑框2", "QLineEdit", "编辑框", 2, 86, 211, 248, 24, nullptr, false},
    {"按钮3", "QPushButton", "按钮", 2, 343, 210, 120, 24, "捐赠-支付宝", false},
    {"标签10", "QLabel", "标签", 2, 14, 242, 456, 24, "金额不限,仅为支持制作更新更多免费软件。",
     false},
    {"标签11", "QLabel", "标签", 2, 14, 274, 64, 24, "官方网站：", false},
    {"超级按钮3", "lq::SuperButton", "超级按钮", 2, 80, 272, 176, 24, nullptr, false},
    {"超级按钮2", "lq::SuperButton", "超级按钮", 2, 267, 271, 176, 24, nullptr, false},
    {"标签7", "QLabel", "标签", 2, 14, 310, 520, 24,
     "本软件为免费软件,欢迎分享转载,但是请勿上传淘宝作为商业软件。", false},
};

QString Utf8(const std::string& gbk) { return Qs(GbkToUtf8(gbk)); }

QString ShownText(QWidget* control) {
    if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text();
    if (auto* box = qobject_cast<QCheckBox*>(control)) return box->text();
    if (auto* button = qobject_cast<QPushButton*>(control)) return button->text();
    if (auto* super = qobject_cast<SuperButton*>(control)) return super->Caption();
    return {};
}

class WindowTable : public testing::Test {
protected:
    void SetUp() override {
        window.show();  // pages are laid out once the window is shown
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        tabs = Find<TabControl>(window, "选择夹1");
        ASSERT_NE(tabs, nullptr);
    }

    MainWindow window;
    TabControl* tabs = nullptr;
};

TEST_F(WindowTable, EveryControlHasItsNameKindParentPlaceSizeTextAndState) {
    int found = 0;
    for (const Expected& e : kControls) {
        SCOPED_TRACE(e.name);
        QWidget* control = Find(window, e.name);
        ASSERT_NE(control, nullptr);
        ++found;
        EXPECT_STREQ(control->metaObject()->className(), e.qtClass);
        EXPECT_EQ(control->property("kind").toString(), QString::fromUtf8(e.kind));
        QPoint place;
        if (e.page == kWindow) {
            EXPECT_EQ(control->parentWidget(), &window);
            place = control->pos();
        } else {
            EXPECT_EQ(control->parentWidget(), tabs->widget(e.page));
            place = control->mapTo(tabs, QPoint(0, 0));
        }
        EXPECT_EQ(place, QPoint(e.left, e.top));
        EXPECT_EQ(control->size(), QSize(e.width, e.height));
        if (e.text != nullptr) {
            EXPECT_EQ(ShownText(control), QString::fromUtf8(e.text));
        }
        EXPECT_EQ(control->isHidden(), e.hidden);
        EXPECT_TRUE(control->isEnabled());
    }
    EXPECT_EQ(found, static_cast<int>(std::size(kControls)));
    // The table's 25 controls and nothing else carries a kind (the hot buttons come later).
    int withKind = 0;
    for (QWidget* w : window.findChildren<QWidget*>()) withKind += w->property("kind").isValid();
    EXPECT_EQ(withKind, 25);
}

TEST_F(WindowTable, TextsFromSettingsTabPagesAndInitialStates) {
    const Settings& settings = CurrentSettings();
    EXPECT_EQ(Find<QLineEdit>(window, "编辑框2")->text(), Utf8(settings.donationAccount));
    EXPECT_TRUE(Find<QLineEdit>(window, "编辑框2")->isReadOnly());
    EXPECT_FALSE(Find<QLineEdit>(window, "编辑框1")->isReadOnly());
    EXPECT_EQ(Find<SuperButton>(window, "超级按钮3")->Caption(),
              Utf8(settings.officialSiteAddress) + QStringLiteral("(官方)"));
    EXPECT_EQ(Find<SuperButton>(window, "超级按钮2")->Caption(),
              Utf8(settings.newsSiteAddress) + QStringLiteral("(IT资讯站)"));
    EXPECT_TRUE(Find<SuperButton>(window, "超级按钮1")->ToolTipText().isEmpty());

    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("搜索结果"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("热门搜索"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("关于"));
    EXPECT_EQ(tabs->currentIndex(), 0);

    EXPECT_TRUE(Find<QCheckBox>(window, "选择框1")->isChecked());
    auto* progress = Find<QProgressBar>(window, "进度条1");
    EXPECT_EQ(progress->minimum(), 0);
    EXPECT_EQ(progress->maximum(), 100);
    EXPECT_EQ(progress->value(), 0);
    EXPECT_EQ(progress->orientation(), Qt::Horizontal);
    EXPECT_TRUE(window.PartText(0).isEmpty());
    EXPECT_FALSE(Find<QPushButton>(window, "按钮1")->isDefault());
    EXPECT_FALSE(Find<QPushButton>(window, "按钮1")->autoDefault());

    for (QLabel* label : window.findChildren<QLabel*>()) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        const bool red = label->objectName() == QStringLiteral("标签14") ||
                         label->objectName() == QStringLiteral("标签7");
        if (label->property("kind").isValid()) {
            EXPECT_EQ(label->palette().color(QPalette::WindowText),
                      red ? QColor(Qt::red) : QColor(Qt::black));
        }
    }
    EXPECT_TRUE(Find<QLabel>(window, "标签4")->wordWrap());
    EXPECT_TRUE(Find<QLabel>(window, "标签6")->wordWrap());
    EXPECT_TRUE(Find<QLabel>(window, "标签7")->wordWrap());
    EXPECT_TRUE(Find<QLabel>(window, "标签7")->alignment() & Qt::AlignHCenter);
    EXPECT_FALSE(Find<QLabel>(window, "标签13")->wordWrap());
}

TEST_F(WindowTable, WindowIsFixedSizeWithoutMaximiseAndOnTheTaskBar) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("LumaquestV0.2"));
    EXPECT_EQ(window.size(), QSize(603, 468));
    EXPECT_EQ(window.minimumSize(), QSize(603, 468));
    EXPECT_EQ(window.maximumSize(), QSize(603, 468));
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Window);  // a normal window: task-bar button
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowStaysOnTopHint);
    // The status bar ends at the client area's bottom edge.
    EXPECT_EQ(Find(window, "状态条1")->geometry().bottom() + 1, 468);
}

TEST_F(WindowTable, ResultListColumnsAndBehaviour) {
    auto* list = Find<QTableView>(window, "超级列表框1");
    const struct {
        const char* heading;
        int width;
    } columns[] = {
        {"序号", 50}, {"资源名(双击打开)", 300}, {"文件大小", 100}, {"下载次数", 100}, {"地址", 0}};
    QHeaderView* header = list->horizontalHeader();
    ASSERT_EQ(list->model()->columnCount(), 5);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(list->model()->headerData(i, Qt::Horizontal).toString(),
                  QString::fromUtf8(columns[i].heading));
        EXPECT_EQ(header->sectionSize(i), columns[i].width);
        EXPECT_FALSE(header->isSectionHidden(i));
        const auto align = list->model()->headerData(i, Qt::Horizontal, Qt::TextAlignmentRole);
        EXPECT_TRUE(align.value<Qt::Alignment>() & Qt::AlignLeft);
    }
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_TRUE(list->showGrid());
    EXPECT_FALSE(list->isSortingEnabled());
    EXPECT_TRUE(header->sectionsClickable());
    EXPECT_EQ(list->model()->rowCount(), 0);

    // The address column holds its text though it is not shown; a header press changes
    // neither the order nor the selection.
    ResultsModel& rows = window.Results();
    for (const char* name : {"乙", "甲", "丙"}) {
        const int row = rows.AppendRow();
        rows.SetCellText(row, 1, QString::fromUtf8(name));
        rows.SetCellText(row, 4, QStringLiteral("http://x.example/") + QString::number(row));
    }
    rows.Publish();
    list->selectRow(1);
    for (int section = 0; section < 5; ++section) {
        const int x = header->sectionViewportPosition(section) + 2;
        if (header->sectionSize(section) == 0) continue;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }
    EXPECT_EQ(rows.CellText(0, 1), QStringLiteral("乙"));
    EXPECT_EQ(rows.CellText(1, 1), QStringLiteral("甲"));
    EXPECT_EQ(rows.CellText(2, 4), QStringLiteral("http://x.example/2"));
    EXPECT_EQ(window.SelectedRow(), 1);
    EXPECT_FALSE(header->isSortIndicatorShown());
}

TEST_F(WindowTable, PressesOnFreePointsLabelsAndTheProgressBarDragTheWindow) {
    struct Case {
        const char* where;
        int page;
        QPoint point;  // client coordinates
        bool drags;
    };
    const Case cases[] = {
        {"free corner", 0, {1, 1}, true},
        {"free point right of the check box", 0, {590, 10}, true},
        {"label 标签13", 0, {20, 20}, true},
        {"red label 标签14", 0, {500, 34}, true},
        {"progress bar", 0, {300, 436}, true},
        {"keyword box", 0, {150, 20}, false},
        {"search button", 0, {340, 20}, false},
        {"check box", 0, {400, 15}, false},
        {"tab strip", 0, {30, 56}, false},
        {"results list", 0, {300, 200}, false},
        {"status bar", 0, {300, 458}, false},
        {"about label 标签9", 2, {2 + 20, 46 + 220}, true},
        {"account box", 2, {2 + 150, 46 + 220}, false},
        {"free point of the about page", 2, {2 + 560, 46 + 150}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        window.SelectPage(c.page);
        EXPECT_EQ(window.StartsWindowMove(c.point), c.drags);
    }
}

TEST_F(WindowTable, EnterInTheKeywordBoxAndPageChangesStartNoSearch) {
    SharedSite().ClearCounts();
    auto* keyword = Find<QLineEdit>(window, "编辑框1");
    keyword->setText(QStringLiteral("abc"));
    keyword->setFocus();
    QTest::keyClick(keyword, Qt::Key_Return);
    QTest::keyClick(keyword, Qt::Key_Enter);
    window.SelectPage(1);
    window.SelectPage(0);
    QTest::qWait(50);
    EXPECT_FALSE(window.Runs().AnyRunning());
    EXPECT_TRUE(SharedSite().SearchedKeywords().empty());
    EXPECT_EQ(window.Results().RowCount(), 0);
}

}  // namespace
}  // namespace lq::test

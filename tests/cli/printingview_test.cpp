// The command line's view: rows are printed once complete, in the chosen format, and progress
// is reported only where asked.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/printingview.h"
#include "text/codepage.h"

namespace lq {
namespace {

// Fills one row the way the run does: append, count, then the cells left to right.
void AddRow(SearchView& view, const char* name, const char* address) {
    const int row = view.AppendRow();
    view.SetCellText(row, 0, std::to_string(view.RowCount()));
    view.SetCellText(row, 1, Utf8ToGbk(name));
    view.SetCellText(row, 2, "1.5G");
    view.SetCellText(row, 3, "120");
    view.SetCellText(row, 4, address);
}

TEST(PrintingView, PrintsEachRowWhenItsAddressIsSet) {
    std::ostringstream out;
    std::ostringstream progress;
    PrintingView view(Utf8ToGbk("电影"), true, RowFormat::kTabSeparated, out, &progress);
    EXPECT_EQ(view.ReadKeyword(), Utf8ToGbk("电影"));
    EXPECT_TRUE(view.ReadSpeedOption());
    view.ClearRows();
    view.SetProgressRange(1, 3);

    const int row = view.AppendRow();
    view.SetCellText(row, 0, "1");
    view.SetCellText(row, 1, Utf8ToGbk("三体"));
    EXPECT_EQ(out.str(), "") << "nothing before the address";
    view.SetCellText(row, 2, "");
    view.SetCellText(row, 3, "7");
    view.SetCellText(row, 4, "http://h/go/1a");
    AddRow(view, "第二", "http://h/go/2b");
    view.SetProgressPosition(1);
    view.SetCellText(9, 4, "ignored: no such row");

    EXPECT_EQ(out.str(), "1\t三体\t\t7\thttp://h/go/1a\n2\t第二\t1.5G\t120\thttp://h/go/2b\n");
    EXPECT_EQ(progress.str(), "page 1 of 3\n");
    EXPECT_EQ(view.RowsPrinted(), 2);
}

TEST(PrintingView, JsonRowsAndNoProgressWithoutATerminal) {
    std::ostringstream out;
    PrintingView view("", false, RowFormat::kJson, out, nullptr);
    EXPECT_FALSE(view.ReadSpeedOption());
    view.SetProgressRange(1, 1);
    AddRow(view, "名", "http://h/share/1a");
    view.SetProgressPosition(1);
    EXPECT_EQ(out.str(),
              "{\"seq\":1,\"name\":\"名\",\"size\":\"1.5G\",\"downloads\":\"120\","
              "\"address\":\"http://h/share/1a\"}\n");
}

}  // namespace
}  // namespace lq

// PrintingView: the command line's SearchView. Keeps the rows a run writes and prints each one
// on stdout the moment its address (the last cell) is set; progress goes to stderr.
#pragma once

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "search/searchview.h"

namespace lq {

enum class RowFormat { kTabSeparated, kJson };

class PrintingView : public SearchView {
public:
    // gbkKeyword is what the run reads as the keyword; speedOption ticked keeps go addresses.
    // progress: where "page k of n" lines go, or nullptr for none.
    PrintingView(std::string gbkKeyword, bool speedOption, RowFormat format, std::ostream& out,
                 std::ostream* progress);

    void ClearRows() override;
    std::string ReadKeyword() override;
    bool ReadSpeedOption() override;
    void SetProgressRange(int minimum, int maximum) override;
    void SetProgressPosition(int position) override;
    int AppendRow() override;
    int RowCount() override;
    void SetCellText(int row, int column, std::string_view gbkText) override;

    int RowsPrinted() const { return rowsPrinted_; }

private:
    static constexpr int kColumns = 5;
    static constexpr int kAddressColumn = 4;

    void PrintRow(const std::array<std::string, kColumns>& cells);

    std::string gbkKeyword_;
    bool speedOption_;
    RowFormat format_;
    std::ostream& out_;
    std::ostream* progress_;
    int progressMaximum_ = 0;
    std::vector<std::array<std::string, kColumns>> rows_;  // GBK cells
    int rowsPrinted_ = 0;
};

}  // namespace lq

#include "cli/printingview.h"

#include <utility>

#include "cli/rowformat.h"
#include "text/codepage.h"

namespace lq {

PrintingView::PrintingView(std::string gbkKeyword, bool speedOption, RowFormat format,
                           std::ostream& out, std::ostream* progress)
    : gbkKeyword_(std::move(gbkKeyword)),
      speedOption_(speedOption),
      format_(format),
      out_(out),
      progress_(progress) {}

void PrintingView::ClearRows() { rows_.clear(); }

std::string PrintingView::ReadKeyword() { return gbkKeyword_; }

bool PrintingView::ReadSpeedOption() { return speedOption_; }

void PrintingView::SetProgressRange(int /*minimum*/, int maximum) { progressMaximum_ = maximum; }

void PrintingView::SetProgressPosition(int position) {
    if (progress_ == nullptr) return;
    *progress_ << "page " << position << " of " << progressMaximum_ << '\n' << std::flush;
}

int PrintingView::AppendRow() {
    rows_.emplace_back();
    return static_cast<int>(rows_.size()) - 1;
}

int PrintingView::RowCount() { return static_cast<int>(rows_.size()); }

void PrintingView::SetCellText(int row, int column, std::string_view gbkText) {
    if (row < 0 || row >= RowCount() || column < 0 || column >= kColumns) return;
    auto& cells = rows_[static_cast<std::size_t>(row)];
    cells[static_cast<std::size_t>(column)] = std::string(gbkText);
    // The run sets the cells left to right: the address completes the row.
    if (column == kAddressColumn) PrintRow(cells);
}

void PrintingView::PrintRow(const std::array<std::string, kColumns>& cells) {
    const PrintedRow row{GbkToUtf8(cells[0]), GbkToUtf8(cells[1]), GbkToUtf8(cells[2]),
                         GbkToUtf8(cells[3]), GbkToUtf8(cells[4])};
    out_ << (format_ == RowFormat::kJson ? JsonLine(row) : TabSeparatedLine(row)) << std::flush;
    ++rowsPrinted_;
}

}  // namespace lq

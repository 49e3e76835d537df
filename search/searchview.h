// SearchView: the window operations a search run needs. The window and the command line each
// implement it; every call completes before it returns.
#pragma once

#include <string>
#include <string_view>

namespace lq {

class SearchView {
public:
    virtual ~SearchView() = default;

    virtual void ClearRows() = 0;
    virtual std::string ReadKeyword() = 0;        // GBK
    virtual bool ReadSpeedOption() = 0;           // checked: keep go addresses
    virtual void SetProgressRange(int minimum, int maximum) = 0;
    virtual void SetProgressPosition(int position) = 0;
    virtual int AppendRow() = 0;                  // index from 0 of the new, empty last row
    virtual int RowCount() = 0;
    virtual void SetCellText(int row, int column, std::string_view gbkText) = 0;
};

}  // namespace lq

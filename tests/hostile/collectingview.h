// A SearchView that keeps what a window would show (rows, progress range and position) and
// counts the calls, safe to call from several runs at once. The keyword it hands out can be a
// new one for every run that reads it, so the rows show which run wrote them.
#pragma once

#include <array>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "search/searchview.h"

namespace lq::test {

class CollectingView : public SearchView {
public:
    using Row = std::array<std::string, 5>;

    // Every ReadKeyword call returns keywordSource(n) for the n-th call (from 1).
    void SetKeywordSource(std::function<std::string(int)> keywordSource);
    void SetKeyword(std::string gbk);
    void SetSpeedOption(bool checked);

    std::vector<Row> Rows() const;
    int RangeMaximum() const;
    int Position() const;
    int KeywordReads() const;
    std::string LastKeyword() const;
    int Clears() const;

    void ClearRows() override;
    std::string ReadKeyword() override;
    bool ReadSpeedOption() override;
    void SetProgressRange(int minimum, int maximum) override;
    void SetProgressPosition(int position) override;
    int AppendRow() override;
    int RowCount() override;
    void SetCellText(int row, int column, std::string_view gbkText) override;

private:
    mutable std::mutex mutex_;
    std::function<std::string(int)> keywordSource_;
    std::string keyword_;
    std::string lastKeyword_;
    bool speedOption_ = true;
    std::vector<Row> rows_;
    int rangeMaximum_ = -1;
    int position_ = -1;
    int keywordReads_ = 0;
    int clears_ = 0;
};

}  // namespace lq::test

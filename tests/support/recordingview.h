// A SearchView that records every call in order, with the calling thread, and keeps the list,
// the progress bar, the keyword and the speed option as a window would. Safe to call from runs,
// also from several at once. The keyword it hands out can be a new one for every read, so the
// rows show which run wrote them.
#pragma once

#include <array>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "search/searchview.h"

namespace lq::test {

class RecordingView : public SearchView {
public:
    struct Call {
        std::string text;  // "ClearRows", "SetProgressRange 1 3", "SetCellText 0 4 http://..."
        std::thread::id thread;
    };
    using Row = std::array<std::string, 5>;
    // Runs after a call was recorded, on the caller's thread, while the caller waits for the
    // call to complete: like a window event handled during a window operation.
    using Hook = std::function<void(RecordingView&, const std::string& call)>;

    void SetKeyword(std::string gbk);
    // Every ReadKeyword call returns keywordSource(n) for the n-th call (from 1).
    void SetKeywordSource(std::function<std::string(int)> keywordSource);
    void SetSpeedOption(bool checked);
    void SetHook(Hook hook);

    std::vector<Call> Calls() const;
    std::vector<std::string> CallTexts() const;
    std::vector<Row> Rows() const;
    int RangeMinimum() const;
    int RangeMaximum() const;
    int Position() const;
    int KeywordReads() const;
    std::string LastKeyword() const;  // what the latest ReadKeyword returned
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
    void Record(const std::string& text);  // records, then runs the hook without the mutex held

    mutable std::mutex mutex_;
    std::vector<Call> calls_;
    std::vector<Row> rows_;
    std::string keyword_;
    std::function<std::string(int)> keywordSource_;
    std::string lastKeyword_;
    int keywordReads_ = 0;
    int clears_ = 0;
    bool speedOption_ = true;  // checked when the window opens
    int rangeMinimum_ = -1;
    int rangeMaximum_ = -1;
    int position_ = -1;
    Hook hook_;
};

}  // namespace lq::test

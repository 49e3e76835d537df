#include "tests/support/recordingview.h"

namespace lq::test {

void RecordingView::SetKeyword(std::string gbk) {
    std::lock_guard lock(mutex_);
    keyword_ = std::move(gbk);
}

void RecordingView::SetKeywordSource(std::function<std::string(int)> keywordSource) {
    std::lock_guard lock(mutex_);
    keywordSource_ = std::move(keywordSource);
}

void RecordingView::SetSpeedOption(bool checked) {
    std::lock_guard lock(mutex_);
    speedOption_ = checked;
}

void RecordingView::SetHook(Hook hook) {
    std::lock_guard lock(mutex_);
    hook_ = std::move(hook);
}

std::vector<RecordingView::Call> RecordingView::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<std::string> RecordingView::CallTexts() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> texts;
    for (const auto& call : calls_) texts.push_back(call.text);
    return texts;
}

std::vector<RecordingView::Row> RecordingView::Rows() const {
    std::lock_guard lock(mutex_);
    return rows_;
}

int RecordingView::RangeMinimum() const {
    std::lock_guard lock(mutex_);
    return rangeMinimum_;
}

int RecordingView::RangeMaximum() const {
    std::lock_guard lock(mutex_);
    return rangeMaximum_;
}

int RecordingView::Position() const {
    std::lock_guard lock(mutex_);
    return position_;
}

int RecordingView::KeywordReads() const {
    std::lock_guard lock(mutex_);
    return keywordReads_;
}

std::string RecordingView::LastKeyword() const {
    std::lock_guard lock(mutex_);
    return lastKeyword_;
}

int RecordingView::Clears() const {
    std::lock_guard lock(mutex_);
    return clears_;
}

void RecordingView::Record(const std::string& text) {
    Hook hook;
    {
        std::lock_guard lock(mutex_);
        calls_.push_back({text, std::this_thread::get_id()});
        hook = hook_;
    }
    if (hook) hook(*this, text);
}

void RecordingView::ClearRows() {
    {
        std::lock_guard lock(mutex_);
        rows_.clear();
        ++clears_;
    }
    Record("ClearRows");
}

std::string RecordingView::ReadKeyword() {
    std::string keyword;
    {
        std::lock_guard lock(mutex_);
        ++keywordReads_;
        lastKeyword_ = keywordSource_ ? keywordSource_(keywordReads_) : keyword_;
        keyword = lastKeyword_;
    }
    Record("ReadKeyword");
    return keyword;
}

bool RecordingView::ReadSpeedOption() {
    Record("ReadSpeedOption");  // the hook may tick or untick the box before it is read
    std::lock_guard lock(mutex_);
    return speedOption_;
}

void RecordingView::SetProgressRange(int minimum, int maximum) {
    {
        std::lock_guard lock(mutex_);
        rangeMinimum_ = minimum;
        rangeMaximum_ = maximum;
    }
    Record("SetProgressRange " + std::to_string(minimum) + " " + std::to_string(maximum));
}

void RecordingView::SetProgressPosition(int position) {
    {
        std::lock_guard lock(mutex_);
        position_ = position;
    }
    Record("SetProgressPosition " + std::to_string(position));
}

int RecordingView::AppendRow() {
    int index = 0;
    {
        std::lock_guard lock(mutex_);
        rows_.emplace_back();
        index = static_cast<int>(rows_.size()) - 1;
    }
    Record("AppendRow");
    return index;
}

int RecordingView::RowCount() {
    int count = 0;
    {
        std::lock_guard lock(mutex_);
        count = static_cast<int>(rows_.size());
    }
    Record("RowCount");
    return count;
}

void RecordingView::SetCellText(int row, int column, std::string_view gbkText) {
    {
        std::lock_guard lock(mutex_);
        // A cell outside the list is recorded (its call text shows it) but changes nothing.
        if (row >= 0 && row < static_cast<int>(rows_.size()) && column >= 0 && column <= 4) {
            rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = gbkText;
        }
    }
    Record("SetCellText " + std::to_string(row) + " " + std::to_string(column) + " " +
           std::string(gbkText));
}

}  // namespace lq::test

// The collecting view: every call takes one mutex, as a window's thread would serialise them.
#include "collectingview.h"

namespace lq::test {

void CollectingView::SetKeywordSource(std::function<std::string(int)> keywordSource) {
    std::lock_guard lock(mutex_);
    keywordSource_ = std::move(keywordSource);
}

void CollectingView::SetKeyword(std::string gbk) {
    std::lock_guard lock(mutex_);
    keyword_ = std::move(gbk);
}

void CollectingView::SetSpeedOption(bool checked) {
    std::lock_guard lock(mutex_);
    speedOption_ = checked;
}

std::vector<CollectingView::Row> CollectingView::Rows() const {
    std::lock_guard lock(mutex_);
    return rows_;
}

int CollectingView::RangeMaximum() const {
    std::lock_guard lock(mutex_);
    return rangeMaximum_;
}

int CollectingView::Position() const {
    std::lock_guard lock(mutex_);
    return position_;
}

int CollectingView::KeywordReads() const {
    std::lock_guard lock(mutex_);
    return keywordReads_;
}

std::string CollectingView::LastKeyword() const {
    std::lock_guard lock(mutex_);
    return lastKeyword_;
}

int CollectingView::Clears() const {
    std::lock_guard lock(mutex_);
    return clears_;
}

void CollectingView::ClearRows() {
    std::lock_guard lock(mutex_);
    rows_.clear();
    ++clears_;
}

std::string CollectingView::ReadKeyword() {
    std::lock_guard lock(mutex_);
    ++keywordReads_;
    lastKeyword_ = keywordSource_ ? keywordSource_(keywordReads_) : keyword_;
    return lastKeyword_;
}

bool CollectingView::ReadSpeedOption() {
    std::lock_guard lock(mutex_);
    return speedOption_;
}

void CollectingView::SetProgressRange(int, int maximum) {
    std::lock_guard lock(mutex_);
    rangeMaximum_ = maximum;
}

void CollectingView::SetProgressPosition(int position) {
    std::lock_guard lock(mutex_);
    position_ = position;
}

int CollectingView::AppendRow() {
    std::lock_guard lock(mutex_);
    rows_.emplace_back();
    return static_cast<int>(rows_.size()) - 1;
}

int CollectingView::RowCount() {
    std::lock_guard lock(mutex_);
    return static_cast<int>(rows_.size());
}

void CollectingView::SetCellText(int row, int column, std::string_view gbkText) {
    std::lock_guard lock(mutex_);
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column > 4) return;
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = gbkText;
}

}  // namespace lq::test

#include "ui/lists/SelectionRuns.h"

#include <algorithm>

namespace runtime::lists {

bool SelectionRuns::isSelected(int32_t row) const {
    return std::any_of(runs_.begin(), runs_.end(), [row](const SelectionRun& r) { return row >= r.first && row < r.end(); });
}

void SelectionRuns::set(int32_t row, bool selected) {
    if (row < 0 || isSelected(row) == selected) return;
    if (selected) {
        runs_.push_back({row, 1});
        normalise();
        return;
    }
    for (size_t i = 0; i < runs_.size(); ++i) {
        SelectionRun r = runs_[i];
        if (row < r.first || row >= r.end()) continue;
        runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(i));
        if (row + 1 < r.end()) runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i), {row + 1, r.end() - row - 1});
        if (row > r.first) runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i), {r.first, row - r.first});
        return;
    }
}

void SelectionRuns::addRange(int32_t first, int32_t last) {
    if (first > last) std::swap(first, last);
    first = std::max(first, 0);
    if (last < first) return;
    runs_.push_back({first, last - first + 1});
    normalise();
}

int32_t SelectionRuns::count() const {
    int32_t n = 0;
    for (const SelectionRun& r : runs_) n += r.count;
    return n;
}

void SelectionRuns::rowsInserted(int32_t row, int32_t count) {
    if (count <= 0) return;
    std::vector<SelectionRun> moved;
    for (const SelectionRun& r : runs_) {
        if (r.end() <= row) {
            moved.push_back(r);
        } else if (r.first >= row) {
            moved.push_back({r.first + count, r.count});
        } else {
            moved.push_back({r.first, row - r.first});
            moved.push_back({row + count, r.end() - row});
        }
    }
    runs_ = std::move(moved);
}

bool SelectionRuns::rowsRemoved(int32_t row, int32_t count) {
    if (count <= 0) return false;
    const int32_t end = row + count;
    bool removedSelected = false;
    std::vector<SelectionRun> kept;
    for (const SelectionRun& r : runs_) {
        const int32_t overlap = std::max(0, std::min(r.end(), end) - std::max(r.first, row));
        removedSelected = removedSelected || overlap > 0;
        const int32_t first = r.first >= end ? r.first - count : std::min(r.first, row);
        if (r.count - overlap > 0) kept.push_back({first, r.count - overlap});
    }
    runs_ = std::move(kept);
    normalise();
    return removedSelected;
}

void SelectionRuns::rowsReordered(const std::vector<int32_t>& newOrder) {
    std::vector<SelectionRun> old = std::move(runs_);
    runs_.clear();
    auto wasSelected = [&old](int32_t row) {
        return std::any_of(old.begin(), old.end(), [row](const SelectionRun& r) { return row >= r.first && row < r.end(); });
    };
    for (size_t i = 0; i < newOrder.size(); ++i) {
        if (wasSelected(newOrder[i])) runs_.push_back({static_cast<int32_t>(i), 1});
    }
    normalise();
}

void SelectionRuns::normalise() {
    std::sort(runs_.begin(), runs_.end(), [](const SelectionRun& a, const SelectionRun& b) { return a.first < b.first; });
    std::vector<SelectionRun> merged;
    for (const SelectionRun& r : runs_) {
        if (r.count <= 0) continue;
        if (!merged.empty() && r.first <= merged.back().end()) {
            merged.back().count = std::max(merged.back().end(), r.end()) - merged.back().first;
        } else {
            merged.push_back(r);
        }
    }
    runs_ = std::move(merged);
}

}  // namespace runtime::lists

// The selected rows of a list as runs {first row, count}, kept sorted,
// disjoint and never adjacent (touching runs are merged).
#pragma once

#include <cstdint>
#include <vector>

namespace runtime::lists {

struct SelectionRun {
    int32_t first;
    int32_t count;
    int32_t end() const { return first + count; }  // one past the last row
    bool operator==(const SelectionRun&) const = default;
};

class SelectionRuns {
public:
    bool isSelected(int32_t row) const;
    // Adds or removes one row, splitting or merging runs.
    void set(int32_t row, bool selected);
    // Adds rows first..last (inclusive, either order).
    void addRange(int32_t first, int32_t last);
    void clear() { runs_.clear(); }

    int32_t count() const;
    bool empty() const { return runs_.empty(); }
    int32_t lowest() const { return runs_.empty() ? -1 : runs_.front().first; }
    int32_t highest() const { return runs_.empty() ? -1 : runs_.back().end() - 1; }
    const std::vector<SelectionRun>& runs() const { return runs_; }

    // `count` rows were inserted before `row`: runs at or after it move down,
    // a run that spans it is split.
    void rowsInserted(int32_t row, int32_t count);
    // Rows row..row+count-1 were removed: runs covering them shrink, later
    // runs move up. Returns whether a selected row was among them.
    bool rowsRemoved(int32_t row, int32_t count);
    // Rows moved: newOrder[i] is the old index of the row now at i.
    void rowsReordered(const std::vector<int32_t>& newOrder);

private:
    void normalise();
    std::vector<SelectionRun> runs_;
};

}  // namespace runtime::lists

#include "ui/lists/ListRows.h"

#include <algorithm>

namespace runtime::lists {

Cell* Row::find(int32_t column) {
    for (Cell& c : cells) {
        if (c.column == column) return &c;
    }
    return nullptr;
}

const Cell* Row::find(int32_t column) const { return const_cast<Row*>(this)->find(column); }

Cell& Row::cell(int32_t column) {
    if (Cell* c = find(column)) return *c;
    cells.push_back(Cell{.column = column});
    return cells.back();
}

int32_t ListRows::insert(int32_t index, StringValue text, int32_t depth, bool parent) {
    index = std::clamp(index, 0, count());
    Row row{.depth = depth, .parent = parent};
    row.cell(0).text = std::move(text);
    rows_.insert(rows_.begin() + index, std::move(row));
    return index;
}

void ListRows::remove(int32_t row, int32_t n) {
    if (!valid(row) || n <= 0) return;
    n = std::min(n, count() - row);
    rows_.erase(rows_.begin() + row, rows_.begin() + row + n);
}

int32_t ListRows::lastDescendant(int32_t row) const {
    if (!valid(row)) return row;
    const int32_t depth = rows_[static_cast<size_t>(row)].depth;
    int32_t last = row;
    while (last + 1 < count() && rows_[static_cast<size_t>(last + 1)].depth > depth) ++last;
    return last;
}

StringValue ListRows::text(int32_t row, int32_t column) const {
    if (!valid(row)) return {};
    const Cell* c = (*this)[row].find(column);
    return c ? c->text : StringValue();
}

std::vector<int32_t> ListRows::sortByColumn(int32_t column, const TextCompare& compare) {
    // Groups: a row of the lowest depth seen so far and everything below it.
    struct Group {
        int32_t first, last;
    };
    std::vector<Group> groups;
    for (int32_t i = 0; i < count(); i = lastDescendant(i) + 1) groups.push_back({i, lastDescendant(i)});
    std::vector<StringValue> keys;
    keys.reserve(groups.size());
    for (const Group& g : groups) keys.push_back(text(g.first, column));
    std::vector<size_t> order(groups.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return compare(keys[a], keys[b]) < 0; });

    std::vector<int32_t> oldIndex;
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (size_t g : order) {
        for (int32_t r = groups[g].first; r <= groups[g].last; ++r) {
            oldIndex.push_back(r);
            sorted.push_back(std::move(rows_[static_cast<size_t>(r)]));
        }
    }
    rows_ = std::move(sorted);
    return oldIndex;
}

}  // namespace runtime::lists

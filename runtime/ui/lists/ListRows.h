// The rows of a list and their cells: depth, kind and expanded flag of each
// row, and the cells in the order they were first set. Column 0's cell (the
// row text) always exists.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "text/StringValue.h"

namespace runtime::lists {

// Cell and column types, alignments and style bits.
enum CellType : int32_t { kTypeDefault = 0, kTypeNormal = 1, kTypeCheckBox = 2, kTypeEditable = 3 };
enum Alignment : int32_t { kAlignDefault = 0, kAlignLeft = 1, kAlignCentre = 2, kAlignRight = 3, kAlignDecimal = 4 };
enum StyleBits : uint8_t { kStyleBold = 1, kStyleItalic = 2, kStyleUnderline = 4 };

struct Cell {
    int32_t column = 0;
    StringValue text;
    int32_t type = kTypeDefault;
    bool checked = false;
    int32_t alignment = kAlignDefault;
    int32_t alignmentOffset = 0;
    uint8_t style = 0;
};

struct Row {
    int32_t depth = 0;
    bool parent = false;
    bool expanded = false;
    std::shared_ptr<void> picture;  // a counted reference, released with the row
    std::vector<Cell> cells;

    Cell* find(int32_t column);
    const Cell* find(int32_t column) const;
    // The cell of that column, appended when the row has none yet.
    Cell& cell(int32_t column);
};

// The runtime's string comparison: negative, zero or positive.
using TextCompare = std::function<int32_t(const StringValue&, const StringValue&)>;

class ListRows {
public:
    int32_t count() const { return static_cast<int32_t>(rows_.size()); }
    bool valid(int32_t row) const { return row >= 0 && row < count(); }
    Row& operator[](int32_t row) { return rows_[static_cast<size_t>(row)]; }
    const Row& operator[](int32_t row) const { return rows_[static_cast<size_t>(row)]; }

    // A row with `text` in column 0, inserted at `index` (kept inside 0..count).
    int32_t insert(int32_t index, StringValue text, int32_t depth, bool parent);
    void remove(int32_t row, int32_t count = 1);
    void clear() { rows_.clear(); }

    // The last row below `row` whose depth is greater (the row itself when it
    // has no descendants).
    int32_t lastDescendant(int32_t row) const;
    StringValue text(int32_t row, int32_t column) const;

    // Sorts the top-level rows, each with its descendants, ascending by the
    // text of `column` (stable). Returns the old index of each row now at i.
    std::vector<int32_t> sortByColumn(int32_t column, const TextCompare& compare);

private:
    std::vector<Row> rows_;
};

}  // namespace runtime::lists

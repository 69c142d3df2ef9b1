// Column geometry of a list: how many columns it has and how wide each is,
// computed from the list's width and its ColumnWidths text.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace runtime::lists {

// Column numbers run 0 to 63; a list shows at most 63 of them.
constexpr int32_t kColumnSlots = 64;
constexpr int32_t kMaxColumnCount = 63;
// The width kept for the vertical scroll bar.
constexpr int32_t kScrollBarWidth = 17;

inline bool validColumn(int32_t column) { return column >= 0 && column < kColumnSlots; }

// ColumnCount as stored: below 1 becomes 1, above 63 becomes 63.
int32_t clampedColumnCount(int32_t requested);

// The pixel width of each of `columnCount` columns of a list `listWidth`
// pixels wide. `widths` holds entries separated by ","; an entry is an integer
// (negative is 0), an integer followed by "%" (a share of the available
// width), or empty (the column's even share of what is left). No column gets
// more than is left; what is left after the last one goes to it.
std::vector<int32_t> columnWidths(std::string_view widths, int32_t columnCount, int32_t listWidth);

}  // namespace runtime::lists

#include "ui/lists/ListColumns.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace runtime::lists {
namespace {

// The leading integer of an entry (an optional sign, then digits); anything
// else ends it. Large values saturate instead of overflowing.
int64_t leadingInteger(std::string_view entry) {
    size_t i = 0;
    while (i < entry.size() && entry[i] == ' ') ++i;
    bool negative = false;
    if (i < entry.size() && (entry[i] == '-' || entry[i] == '+')) negative = entry[i++] == '-';
    int64_t value = 0;
    for (; i < entry.size() && std::isdigit(static_cast<unsigned char>(entry[i])); ++i) {
        value = std::min<int64_t>(value * 10 + (entry[i] - '0'), INT32_MAX);
    }
    return negative ? -value : value;
}

bool endsInPercent(std::string_view entry) {
    while (!entry.empty() && entry.back() == ' ') entry.remove_suffix(1);
    return !entry.empty() && entry.back() == '%';
}

}  // namespace

int32_t clampedColumnCount(int32_t requested) { return std::clamp(requested, 1, kMaxColumnCount); }

std::vector<int32_t> columnWidths(std::string_view widths, int32_t columnCount, int32_t listWidth) {
    const int32_t count = clampedColumnCount(columnCount);
    const int64_t available = std::max<int64_t>(0, static_cast<int64_t>(listWidth) - kScrollBarWidth);
    int64_t remaining = available;
    std::vector<int32_t> result;
    result.reserve(static_cast<size_t>(count));
    std::string_view rest = widths;
    bool exhausted = widths.empty();
    for (int32_t i = 0; i < count; ++i) {
        int64_t width = remaining / (count - i);
        if (!exhausted) {
            const size_t comma = rest.find(',');
            const std::string_view entry = rest.substr(0, comma);
            if (comma == std::string_view::npos) exhausted = true;
            else rest.remove_prefix(comma + 1);
            if (!entry.empty()) {
                const int64_t value = std::max<int64_t>(0, leadingInteger(entry));
                width = endsInPercent(entry) ? available * value / 100 : value;
            }
        }
        width = std::min(width, remaining);
        remaining -= width;
        result.push_back(static_cast<int32_t>(width));
    }
    result.back() += static_cast<int32_t>(remaining);
    return result;
}

}  // namespace runtime::lists

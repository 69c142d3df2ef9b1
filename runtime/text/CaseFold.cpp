#include "text/CaseFold.h"

#include <algorithm>

namespace runtime {
namespace {

constexpr std::array<uint8_t, 256> buildFoldTable() {
    std::array<uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) table[c] = static_cast<uint8_t>(c);
    for (int c = 'a'; c <= 'z'; ++c) table[c] = static_cast<uint8_t>(c - 'a' + 'A');
    // Lower-case letters of the Mac OS Roman character set and their upper-case
    // forms; kept because stored texts and callers compare through this table.
    constexpr uint8_t kRoman[][2] = {
        {0x87, 0xE7}, {0x88, 0xCB}, {0x89, 0xE5}, {0x8A, 0x80}, {0x8B, 0xCC}, {0x8C, 0x81},
        {0x8D, 0x82}, {0x8E, 0x83}, {0x8F, 0xE9}, {0x90, 0xE6}, {0x91, 0xE8}, {0x92, 0xEA},
        {0x93, 0xED}, {0x94, 0xEB}, {0x95, 0xEC}, {0x96, 0x84}, {0x97, 0xEE}, {0x98, 0xF1},
        {0x99, 0xEF}, {0x9A, 0x85}, {0x9B, 0xCD}, {0x9C, 0xF2}, {0x9D, 0xF4}, {0x9E, 0xF3},
        {0x9F, 0x86}, {0xBE, 0xAE}, {0xBF, 0xAF}, {0xCF, 0xCE}, {0xD8, 0xD9}, {0xF5, 0x49},
    };
    for (const auto& [lower, upper] : kRoman) table[lower] = upper;
    return table;
}

int sign(int difference) { return (difference > 0) - (difference < 0); }

}  // namespace

constinit const std::array<uint8_t, 256> kUpperCaseFold = buildFoldTable();

int foldedCompare(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const int d = foldCase(static_cast<uint8_t>(a[i])) - foldCase(static_cast<uint8_t>(b[i]));
        if (d != 0) return sign(d);
    }
    return sign(static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size()));
}

int foldedCompareCString(const char* a, const char* b) {
    for (;; ++a, ++b) {
        const int d = foldCase(static_cast<uint8_t>(*a)) - foldCase(static_cast<uint8_t>(*b));
        if (d != 0) return sign(d);
        if (*a == 0) return 0;
    }
}

}  // namespace runtime

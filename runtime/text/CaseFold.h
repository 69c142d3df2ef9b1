// The runtime's own case-insensitive comparisons of string values (keyword
// matches and the like). Each byte is folded through a fixed 256-entry
// upper-case table that does not depend on the code page.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace runtime {

extern const std::array<uint8_t, 256> kUpperCaseFold;

inline uint8_t foldCase(uint8_t c) { return kUpperCaseFold[c]; }

// Counted comparison: min(lengths) folded bytes, then the shorter orders first.
// Yields -1, 0 or 1.
int foldedCompare(std::string_view a, std::string_view b);

// Comparison with zero-terminated text: stops at the first zero byte of both.
int foldedCompareCString(const char* a, const char* b);

inline bool foldedEquals(std::string_view a, std::string_view b) { return foldedCompare(a, b) == 0; }

}  // namespace runtime

// Byte-counting slices and single-byte conversions of string values, with the
// 1-based positions that compiled code uses. Slices that cover the whole input
// share it; the others are new values.
#pragma once

#include <cstdint>

#include "text/StringValue.h"

namespace runtime {

// The tail from byte position i (1-based); i at most 1 gives the whole value.
StringValue middleFrom(const StringValue& s, int32_t i);
// n bytes from byte position i (1-based). A start below 1 shortens the count
// by as many bytes as it lies before the first one.
StringValue middle(const StringValue& s, int32_t i, int32_t n);
// The first byte as 0-255; 0 for the empty string.
int32_t firstByte(const StringValue& s);
// A one-byte value holding the low 8 bits of n (a zero byte included).
StringValue byteString(int32_t n);

}  // namespace runtime

// Compact boolean arrays: one block holding a signed 32-bit element count
// followed by one byte per element (0 false, 1 true). Compiled code holds a
// handle to the block, so the block can grow or shrink without the caller's
// reference changing.
#pragma once

#include <cstddef>
#include <cstdint>

struct BooleanBlock {
    int32_t count;  // upper bound + 1; the `count` element bytes follow
};

// The element bytes just after the count.
inline uint8_t* elementsOf(BooleanBlock* block) { return reinterpret_cast<uint8_t*>(block + 1); }

struct FastBooleanArray {
    BooleanBlock* block;  // never null while the handle lives
    int32_t capacity;     // elements the block has room for
};

#if defined(__i386__)
static_assert(sizeof(BooleanBlock) == 4);
static_assert(sizeof(FastBooleanArray) == 8);
#endif

using FastBooleanHandle = FastBooleanArray*;

namespace runtime::arrays {

// Each returns false (and changes nothing) when the index or size is refused.

// A block of u + 1 false elements; null for u below -1.
FastBooleanHandle createFastBooleans(int32_t u);
void disposeFastBooleans(FastBooleanHandle b);

inline int32_t fastUpperBound(const FastBooleanArray& b) { return b.block->count - 1; }
bool redimFastBooleans(FastBooleanArray& b, int32_t u);
bool readFastBoolean(const FastBooleanArray& b, int32_t i, bool& value);
bool writeFastBoolean(FastBooleanArray& b, int32_t i, bool value);
bool appendFastBoolean(FastBooleanArray& b, bool value);
// 0 <= i <= element count.
bool insertFastBoolean(FastBooleanArray& b, int32_t i, bool value);
bool removeFastBoolean(FastBooleanArray& b, int32_t i);

}  // namespace runtime::arrays

#include "text/arrays/FastBooleanArray.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "text/FatalError.h"
#include "text/SmallBlockPool.h"

namespace runtime::arrays {
namespace {

size_t blockBytes(int32_t capacity) { return sizeof(BooleanBlock) + static_cast<size_t>(std::max(capacity, 4)); }

// Makes room for n elements: growing by half again, so appending one at a
// time costs amortised constant time.
void reserve(FastBooleanArray& b, int32_t n) {
    if (n <= b.capacity) return;
    const int32_t capacity = static_cast<int32_t>(std::min<int64_t>(INT32_MAX, std::max<int64_t>(n, int64_t{b.capacity} * 3 / 2)));
    auto* block = static_cast<BooleanBlock*>(std::realloc(b.block, blockBytes(capacity)));
    if (!block) runOutOfMemory();
    b.block = block;
    b.capacity = capacity;
}

// n elements; new ones are false.
void resize(FastBooleanArray& b, int32_t n) {
    reserve(b, n);
    BooleanBlock& block = *b.block;
    if (n > block.count) std::memset(elementsOf(&block) + block.count, 0, static_cast<size_t>(n - block.count));
    block.count = n;
}

bool isUpperBound(int64_t u) { return u >= -1 && u < INT32_MAX; }

}  // namespace

FastBooleanHandle createFastBooleans(int32_t u) {
    if (!isUpperBound(u)) return nullptr;
    auto* b = static_cast<FastBooleanHandle>(poolAllocate(sizeof(FastBooleanArray)));
    b->block = static_cast<BooleanBlock*>(std::malloc(blockBytes(0)));
    if (!b->block) runOutOfMemory();
    b->block->count = 0;
    b->capacity = 0;
    resize(*b, u + 1);
    return b;
}

void disposeFastBooleans(FastBooleanHandle b) {
    if (!b) return;
    std::free(b->block);
    poolRelease(b, sizeof(FastBooleanArray));
}

bool redimFastBooleans(FastBooleanArray& b, int32_t u) {
    if (!isUpperBound(u)) return false;
    resize(b, u + 1);
    return true;
}

bool readFastBoolean(const FastBooleanArray& b, int32_t i, bool& value) {
    if (i < 0 || i >= b.block->count) return false;
    value = elementsOf(b.block)[i] != 0;
    return true;
}

bool writeFastBoolean(FastBooleanArray& b, int32_t i, bool value) {
    if (i < 0 || i >= b.block->count) return false;
    elementsOf(b.block)[i] = value ? 1 : 0;
    return true;
}

bool appendFastBoolean(FastBooleanArray& b, bool value) {
    return insertFastBoolean(b, b.block->count, value);
}

bool insertFastBoolean(FastBooleanArray& b, int32_t i, bool value) {
    const int32_t count = b.block->count;
    if (i < 0 || i > count || count == INT32_MAX) return false;
    resize(b, count + 1);
    uint8_t* elements = elementsOf(b.block);
    std::memmove(elements + i + 1, elements + i, static_cast<size_t>(count - i));
    elements[i] = value ? 1 : 0;
    return true;
}

bool removeFastBoolean(FastBooleanArray& b, int32_t i) {
    const int32_t count = b.block->count;
    if (i < 0 || i >= count) return false;
    uint8_t* elements = elementsOf(b.block);
    std::memmove(elements + i, elements + i + 1, static_cast<size_t>(count - i - 1));
    b.block->count = count - 1;
    return true;
}

}  // namespace runtime::arrays

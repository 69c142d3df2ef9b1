#include "text/arrays/ElementVector.h"

#include <algorithm>
#include <cstdlib>

#include "text/FatalError.h"
#include "text/SmallBlockPool.h"

namespace runtime::arrays {
namespace {

StorageHeader* headerOf(uint8_t* buffer) { return reinterpret_cast<StorageHeader*>(buffer) - 1; }

uint64_t bytesFor(int64_t elements, int32_t elementSize) {
    return static_cast<uint64_t>(std::max<int64_t>(elements, 0)) * static_cast<uint64_t>(elementSize);
}

// Reallocates the storage to exactly `bytes` usable bytes (0 frees it).
void reallocate(ElementVector& v, uint64_t bytes) {
    void* old = v.buffer ? static_cast<void*>(headerOf(v.buffer)) : nullptr;
    if (bytes == 0) {
        std::free(old);
        v.buffer = nullptr;
        return;
    }
    if (bytes > (SIZE_MAX >> 1) - sizeof(StorageHeader)) runOutOfMemory();
    auto* header = static_cast<StorageHeader*>(std::realloc(old, sizeof(StorageHeader) + static_cast<size_t>(bytes)));
    if (!header) runOutOfMemory();
    header->bytes = static_cast<size_t>(bytes);
    v.buffer = reinterpret_cast<uint8_t*>(header + 1);
}

// Makes the storage hold at least `elements` elements, at least doubling it.
void reserve(ElementVector& v, int64_t elements) {
    const uint64_t needed = bytesFor(elements, v.elementSize);
    const uint64_t have = storageBytes(v);
    if (needed <= have) return;
    reallocate(v, std::max<uint64_t>({needed, have * 2, 64}));
}

// After a truncation: storage much larger than needed goes back.
void trim(ElementVector& v) {
    const uint64_t needed = bytesFor(v.capacity, v.elementSize);
    if (needed == 0) reallocate(v, 0);
    else if (needed * 4 < storageBytes(v)) reallocate(v, needed);
}

}  // namespace

ElementVector emptyVector(int32_t elementSize) { return ElementVector{nullptr, 0, 0, elementSize}; }

void resizeStorage(ElementVector& v, int32_t n) {
    n = std::max(n, 0);
    if (n > v.count) {
        reserve(v, n);
        std::memset(placeOf(v, v.count), 0, static_cast<size_t>(bytesFor(int64_t{n} - v.count, v.elementSize)));
        v.count = v.capacity = n;
    } else {
        v.count = v.capacity = n;
        trim(v);
    }
}

void insertPlace(ElementVector& v, int32_t i) {
    if (v.count == v.capacity) {
        reserve(v, int64_t{v.capacity} + 16);
        v.capacity += 16;
    }
    uint8_t* place = placeOf(v, i);
    std::memmove(place + v.elementSize, place, static_cast<size_t>(bytesFor(int64_t{v.count} - i, v.elementSize)));
    std::memset(place, 0, static_cast<size_t>(v.elementSize));
    ++v.count;
}

void removePlace(ElementVector& v, int32_t i) {
    uint8_t* place = placeOf(v, i);
    std::memmove(place, place + v.elementSize, static_cast<size_t>(bytesFor(int64_t{v.count} - i - 1, v.elementSize)));
    --v.count;
}

void freeStorage(ElementVector& v) {
    reallocate(v, 0);
    v.count = v.capacity = 0;
}

void useElementSize(ElementVector& v, int32_t size) {
    if (v.elementSize == size) return;
    v.elementSize = size;
    if (v.count == 0 && v.capacity == 0) return;
    // Elements of the other size mean nothing as these: the vector keeps its
    // shape with zero values, and never reads past its storage.
    reserve(v, v.capacity);
    std::memset(v.buffer, 0, static_cast<size_t>(bytesFor(v.count, size)));
}

ElementVector* newVector(int32_t elementSize) {
    auto* v = static_cast<ElementVector*>(poolAllocate(sizeof(ElementVector)));
    *v = emptyVector(elementSize);
    return v;
}

void deleteVector(ElementVector* v) {
    if (!v) return;
    freeStorage(*v);
    poolRelease(v, sizeof(ElementVector));
}

}  // namespace runtime::arrays

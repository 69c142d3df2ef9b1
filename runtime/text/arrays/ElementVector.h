// The element vector: the building block of every array level and of a
// collection's entry list. Elements are stored unboxed and contiguous.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

struct ElementVector {
    uint8_t* buffer;      // the element storage, or null
    int32_t count;        // number of elements present
    int32_t capacity;     // number of elements the buffer holds
    int32_t elementSize;  // 4, or 8 for doubles
};

#if defined(__i386__)
static_assert(sizeof(ElementVector) == 16);
static_assert(offsetof(ElementVector, buffer) == 0);
static_assert(offsetof(ElementVector, count) == 4);
static_assert(offsetof(ElementVector, capacity) == 8);
static_assert(offsetof(ElementVector, elementSize) == 12);
#endif

namespace runtime::arrays {

// The element size of vectors that hold references (string values, objects,
// sub-vectors, collection entries) and of a new array's first level: 4 on the
// 32-bit target; the native build of the portable core keeps pointers whole.
constexpr int32_t kReferenceSize = static_cast<int32_t>(sizeof(void*));

// Nothing here releases what the elements refer to: callers release first.

// An empty vector of `elementSize`-byte elements.
ElementVector emptyVector(int32_t elementSize);

// The buffer's storage may be larger than `capacity` elements: its real size
// sits in a header just before the elements. Growing one element at a time
// (appends, writes past the end) then costs amortised constant time, while
// count and capacity keep their meaning.
struct StorageHeader {
    size_t bytes;  // usable bytes after the header
    size_t unused;  // keeps the elements 8-byte aligned for doubles
};

inline size_t storageBytes(const ElementVector& v) {
    return v.buffer ? reinterpret_cast<const StorageHeader*>(v.buffer)[-1].bytes : 0;
}

// The general form of setCount.
void resizeStorage(ElementVector& v, int32_t n);

// count := capacity := n; elements from the old count up to n are zero.
// A smaller n truncates.
inline void setCount(ElementVector& v, int32_t n) {
    // Growing within the storage, the common case of appends, stays inline;
    // one new element (4 or 8 bytes) is zeroed without a call.
    if (n > v.count && static_cast<uint64_t>(n) * static_cast<uint32_t>(v.elementSize) <= storageBytes(v)) {
        uint8_t* tail = v.buffer + static_cast<size_t>(v.count) * static_cast<size_t>(v.elementSize);
        const size_t bytes = static_cast<size_t>(n - v.count) * static_cast<size_t>(v.elementSize);
        if (bytes <= 8) {
            const uint64_t zero = 0;
            std::memcpy(tail, &zero, 4);
            if (bytes == 8) std::memcpy(tail + 4, &zero, 4);
        } else {
            std::memset(tail, 0, bytes);
        }
        v.count = v.capacity = n;
        return;
    }
    resizeStorage(v, n);
}

// Opens a zeroed place at i (0 <= i <= count); count + 1. When count equals
// capacity, capacity grows by 16 first.
void insertPlace(ElementVector& v, int32_t i);

// Closes the place at i (0 <= i < count); count - 1. The buffer is kept.
void removePlace(ElementVector& v, int32_t i);

// Gives the storage back; the vector is empty afterwards.
void freeStorage(ElementVector& v);

// Makes the vector hold `size`-byte elements. A vector that already holds
// elements of another size keeps its count with all elements zero.
void useElementSize(ElementVector& v, int32_t size);

// A new vector record from the small-block pool (empty, `elementSize`), and
// its release (storage and record).
ElementVector* newVector(int32_t elementSize);
void deleteVector(ElementVector* v);

inline uint8_t* placeOf(const ElementVector& v, int32_t i) {
    return v.buffer + static_cast<size_t>(i) * static_cast<size_t>(v.elementSize);
}

template <typename T>
T get(const ElementVector& v, int32_t i) {
    if (i < 0 || i >= v.count) return T{};
    T value;
    std::memcpy(&value, placeOf(v, i), sizeof(T));
    return value;
}

template <typename T>
void put(ElementVector& v, int32_t i, T value) {
    if (i < 0 || i >= v.count) return;
    std::memcpy(placeOf(v, i), &value, sizeof(T));
}

}  // namespace runtime::arrays

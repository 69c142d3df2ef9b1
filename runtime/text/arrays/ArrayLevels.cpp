#include "text/arrays/ArrayLevels.h"

#include <cstring>

#include "text/SmallBlockPool.h"

namespace runtime::arrays {
namespace {

void redimensionBranch(ArrayObject& a, ElementVector& v, int32_t depth, int32_t k, int32_t u, ElementRelease release) {
    if (depth == k) {
        if (v.count > u + 1) resizeLevel(a, v, depth, u + 1, release);
        return;
    }
    if (!holdsVectors(a, depth)) return;
    for (int32_t i = 0; i < v.count; ++i) {
        if (auto* sub = get<ElementVector*>(v, i)) redimensionBranch(a, *sub, depth + 1, k, u, release);
    }
}

}  // namespace

// Releases the elements above `keep` one at a time, from the end: each
// leaves the vector before it is released, and a sub-vector is emptied while
// still in place. Whatever a release runs (an object's finaliser, which may
// read the array or raise) finds the array whole, and nothing that is out of
// the array is left to a local of this frame.
void releaseAbove(ArrayObject& a, ElementVector& v, int32_t depth, int32_t keep, ElementRelease release) {
    const bool vectors = holdsVectors(a, depth);
    // Only reference-sized elements can be references (a vector of doubles holds none).
    if (!vectors && (!release || v.elementSize != kReferenceSize)) return;
    while (v.count > keep) {
        void* handle = get<void*>(v, v.count - 1);
        if (vectors && handle) releaseAbove(a, *static_cast<ElementVector*>(handle), depth + 1, 0, release);
        put<void*>(v, v.count - 1, nullptr);
        --v.count;
        if (!handle) continue;
        if (vectors) deleteVector(static_cast<ElementVector*>(handle));
        else release(handle);
    }
}

ArrayHandle createArray() {
    auto* a = static_cast<ArrayHandle>(poolAllocate(sizeof(ArrayObject)));
    std::memset(a, 0, sizeof(ArrayObject));
    a->first = emptyVector(kReferenceSize);
    return a;
}

bool addDimension(ArrayObject& a, int32_t first, int32_t last, int32_t& number) {
    const int64_t bound = int64_t{last} - first;
    if (a.dimensions >= kMaxDimensions || !isUpperBound(bound)) return false;
    // A further dimension turns the first level into a level of sub-vectors:
    // elements already stored there would be taken for vectors.
    if (a.dimensions >= 1) {
        if (a.first.count > 0) return false;
        useElementSize(a.first, kReferenceSize);
    }
    number = a.dimensions++;
    a.upperBounds[number] = static_cast<int32_t>(bound);
    return true;
}

void redimension(ArrayObject& a, int32_t k, int32_t u, ElementRelease release) {
    endAccess(a);
    a.upperBounds[k] = u;
    redimensionBranch(a, a.first, 0, k, u, release);
}

void disposeArray(ArrayHandle a, ElementRelease release) {
    if (!a) return;
    endAccess(*a);
    resizeLevel(*a, a->first, 0, 0, release);
    poolRelease(a, sizeof(ArrayObject));
}

}  // namespace runtime::arrays

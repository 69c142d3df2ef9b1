// The shape of an array object: its dimensions and the tree of level vectors.
// Every level but the last holds pointers to the vectors of the next level;
// the last level holds the elements.
#pragma once

#include <cstdint>

#include "text/arrays/ArrayObject.h"
#include "text/arrays/ElementKinds.h"

namespace runtime::arrays {

// A new array object: an empty first level of 4-byte elements, 0 dimensions.
ArrayHandle createArray();

// Adds the next dimension with upper bound last - first and gives its number
// (from 0). Fails (and changes nothing) for a 21st dimension, for an upper
// bound below -1 or one whose element count would not fit 32 bits, and for a
// second or further dimension of an array whose first level holds elements.
bool addDimension(ArrayObject& a, int32_t first, int32_t last, int32_t& number);

inline bool isUpperBound(int64_t bound) { return bound >= -1 && bound < INT32_MAX; }

// Whether the vectors at `depth` (0: the first level) hold sub-vectors.
inline bool holdsVectors(const ArrayObject& a, int32_t depth) { return depth < a.dimensions - 1; }

inline bool inBounds(const ArrayObject& a, int32_t dimension, int32_t i) {
    return dimension >= 0 && dimension < kMaxDimensions && i >= 0 && i <= a.upperBounds[dimension];
}

// Releases the elements of `v` (at `depth`) above `keep` (sub-vectors are
// disposed with everything below them); the caller then sets the count.
void releaseAbove(ArrayObject& a, ElementVector& v, int32_t depth, int32_t keep, ElementRelease release);

// Makes `v` (at `depth`) hold `n` elements; elements dropped by a smaller n
// are released first.
inline void resizeLevel(ArrayObject& a, ElementVector& v, int32_t depth, int32_t n, ElementRelease release) {
    if (n < v.count) releaseAbove(a, v, depth, n, release);
    setCount(v, n);
}

// Upper bound of dimension k := u; at depth k of every existing branch, level
// vectors holding more than u + 1 elements are truncated to u + 1.
void redimension(ArrayObject& a, int32_t k, int32_t u, ElementRelease release);

// Releases every element, frees every vector and the array object.
void disposeArray(ArrayHandle a, ElementRelease release);

// Forgets a multi-dimensional access in progress (after its last call, and
// whenever the shape changes under it).
inline void endAccess(ArrayObject& a) {
    a.accessLevel = 0;
    a.accessVector = nullptr;
}

}  // namespace runtime::arrays

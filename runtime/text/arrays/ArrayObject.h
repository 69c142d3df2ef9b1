// The array object: the first-level element vector, the declared upper bound
// of each dimension and the state of a multi-dimensional access in progress.
// Compiled code holds a pointer to it and reaches it only through the array
// routines of the runtime entry table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/arrays/ElementVector.h"

namespace runtime::arrays {
constexpr int32_t kMaxDimensions = 20;
}

struct ArrayObject {
    ElementVector first;                                   // the first level
    int32_t dimensions;                                    // added so far
    int32_t upperBounds[runtime::arrays::kMaxDimensions];  // dimension 1 first
    int32_t accessLevel;                                   // indices applied so far
    ElementVector* accessVector;                           // level reached, or null
};

#if defined(__i386__)
static_assert(sizeof(ArrayObject) == 108);
static_assert(offsetof(ArrayObject, first) == 0);
static_assert(offsetof(ArrayObject, dimensions) == 16);
static_assert(offsetof(ArrayObject, upperBounds) == 20);
static_assert(offsetof(ArrayObject, accessLevel) == 100);
static_assert(offsetof(ArrayObject, accessVector) == 104);
#endif

using ArrayHandle = ArrayObject*;

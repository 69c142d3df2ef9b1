// What each element kind means for ownership: numbers are plain values; a
// string element owns one reference to its string value (and an object
// element, in ObjectElement.h, one reference to its object). Every array
// routine goes through these, so no path can leak or double-drop an element.
#pragma once

#include <cstdint>

#include "text/StringValue.h"
#include "text/arrays/ElementVector.h"

namespace runtime::arrays {

// Drops the reference an element holds (null for plain values).
using ElementRelease = void (*)(void* handle);

template <typename T, int32_t Size>
struct PlainElement {
    using Value = T;
    static constexpr int32_t kSize = Size;
    static constexpr ElementRelease kRelease = nullptr;
    static void retain(Value) {}
    static void drop(Value) {}
};

using IntElement = PlainElement<int32_t, 4>;
using SingleElement = PlainElement<float, 4>;
using DoubleElement = PlainElement<double, 8>;

struct StringElement {
    using Value = StringHandle;
    static constexpr int32_t kSize = kReferenceSize;
    static void releaseHandle(void* handle) { unlockString(static_cast<StringHandle>(handle)); }
    static constexpr ElementRelease kRelease = releaseHandle;
    static void retain(Value s) { lockString(s); }
    static void drop(Value s) { unlockString(s); }
};

}  // namespace runtime::arrays

// ArrayRef: the runtime's owning handle for an array object whose elements are
// of kind E (ElementKinds.h, ObjectElement.h). It disposes the array, releasing
// every string or object element, when it goes away. The cdecl entry routines
// convert with adopt() and release() at the boundary.
#pragma once

#include <utility>

#include "text/arrays/ArrayAccess.h"

namespace runtime::arrays {

template <typename E>
class ArrayRef {
public:
    ArrayRef() = default;
    ArrayRef(ArrayRef&& other) noexcept : array_(std::exchange(other.array_, nullptr)) {}
    ArrayRef& operator=(ArrayRef&& other) noexcept {
        if (this != &other) disposeArray(std::exchange(array_, std::exchange(other.array_, nullptr)), E::kRelease);
        return *this;
    }
    ArrayRef(const ArrayRef&) = delete;
    ArrayRef& operator=(const ArrayRef&) = delete;
    ~ArrayRef() { disposeArray(array_, E::kRelease); }

    // A new one-dimensional array with that upper bound (-1: empty).
    static ArrayRef oneDimensional(int32_t upperBound) {
        ArrayRef array(createArray());
        int32_t number = 0;
        addDimension(*array.array_, 0, std::max(upperBound, -1), number);
        return array;
    }
    // Takes over an array the caller owns.
    static ArrayRef adopt(ArrayHandle a) { return ArrayRef(a); }
    // Hands the array out, leaving this handle empty (a routine's result).
    [[nodiscard]] ArrayHandle release() { return std::exchange(array_, nullptr); }
    ArrayHandle get() const { return array_; }

    // Releases every element (the array keeps its shape and bounds).
    void releaseElements() {
        if (!array_) return;
        endAccess(*array_);
        resizeLevel(*array_, array_->first, 0, 0, E::kRelease);
    }

    int32_t upperBound() const { return array_ ? array_->upperBounds[0] : -1; }
    // The value is borrowed; the array takes its own reference.
    void append(typename E::Value value) { arrays::append<E>(*array_, value); }

private:
    explicit ArrayRef(ArrayHandle a) : array_(a) {}
    ArrayHandle array_ = nullptr;
};

}  // namespace runtime::arrays

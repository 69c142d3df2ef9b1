// The exceptions that array and collection routines raise. Each starts the
// unwinding in a frame of its own, so the entry routine that calls it must
// hold nothing that needs releasing at that point.
#pragma once

namespace runtime::arrays {

[[noreturn]] void raiseOutOfBounds();
[[noreturn]] void raiseNilObject();
[[noreturn]] void raiseIllegalCast();

// Raises OutOfBoundsException unless `accepted`.
inline void requireAccepted(bool accepted) {
    if (!accepted) raiseOutOfBounds();
}

// The array, collection or block behind a handle; nil raises NilObjectException.
template <typename T>
T& nonNil(T* handle) {
    if (!handle) raiseNilObject();
    return *handle;
}

}  // namespace runtime::arrays

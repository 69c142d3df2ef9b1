#include "text/arrays/RaiseErrors.h"

#include <cstdint>

#include "objects/ExceptionUnwinding.h"

namespace runtime::arrays {

__attribute__((noinline)) void raiseOutOfBounds() {
    unwindException(newBuiltinException("OutOfBoundsException"), reinterpret_cast<uintptr_t>(__builtin_frame_address(0)));
}

__attribute__((noinline)) void raiseNilObject() {
    unwindException(newBuiltinException("NilObjectException"), reinterpret_cast<uintptr_t>(__builtin_frame_address(0)));
}

__attribute__((noinline)) void raiseIllegalCast() {
    unwindException(newBuiltinException("IllegalCastException"), reinterpret_cast<uintptr_t>(__builtin_frame_address(0)));
}

}  // namespace runtime::arrays

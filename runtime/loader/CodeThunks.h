// Small generated routines that bind one extra argument: compiled code calls
// them with (instance[, value]) and they call `routine` with (instance,
// parameter[, value]), cdecl, passing its result through (EAX, EDX:EAX or the
// x87 stack alike). They live in executable pages until the process ends.
#pragma once

#include <cstdint>

namespace runtime::plugins {

// `valueWords`: 0 for a getter, 1 for a setter of a one-word value, 2 for a
// setter of a floating-point value (a double on the stack).
void* makeParameterThunk(void* routine, uint32_t parameter, int valueWords);

}  // namespace runtime::plugins

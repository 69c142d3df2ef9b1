// The module instance handle of the running executable, stored once by the
// process entry: used for resources, window classes and the executable's path.
#pragma once

#include <windows.h>

namespace runtime {

void setInstanceHandle(HINSTANCE instance);
HINSTANCE instanceHandle();

}  // namespace runtime

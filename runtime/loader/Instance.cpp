#include "loader/Instance.h"

namespace runtime {
namespace {
HINSTANCE gInstance = nullptr;
}

void setInstanceHandle(HINSTANCE instance) { gInstance = instance; }

// Before the process entry has stored it (in test programs), the module that
// started the process is the instance.
HINSTANCE instanceHandle() { return gInstance ? gInstance : GetModuleHandleA(nullptr); }

}  // namespace runtime

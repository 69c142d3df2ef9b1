// Object elements: each owns one reference to its object. Releasing one may
// run the object's finalisers (compiled code).
#pragma once

#include "objects/ObjectLifetime.h"
#include "text/arrays/ElementKinds.h"

namespace runtime::arrays {

struct ObjectElement {
    using Value = ObjectHandle;
    static constexpr int32_t kSize = kReferenceSize;
    static void releaseHandle(void* handle) { unlockObject(static_cast<ObjectHandle>(handle)); }
    static constexpr ElementRelease kRelease = releaseHandle;
    static void retain(Value o) { lockObject(o); }
    static void drop(Value o) { unlockObject(o); }
};

}  // namespace runtime::arrays

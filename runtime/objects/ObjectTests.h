// Type tests of objects against classes and interfaces.
#pragma once

#include "objects/ClassRecord.h"

namespace runtime {

// True when the object's class is `target` or inherits from it, or, for an
// interface, when a class of its chain implements it. Nil gives false.
bool objectIsa(ObjectHandle object, const ClassRecord* target);

}  // namespace runtime

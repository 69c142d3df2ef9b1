// The runtime's built-in classes: names, superclasses, instance sizes and the
// events each declares.
#pragma once

#include <string_view>

#include "objects/ClassRecord.h"

namespace runtime {

// Defines every built-in class (non-visual family first, then windows and
// controls). Later calls do nothing.
void defineBuiltinClasses();

// The built-in class of that name; defineBuiltinClasses() must have run.
ClassRecord* builtinClass(std::string_view name);

// The descriptor of the event `eventName` that the built-in class `className`
// declares (for delivering that event), or null.
EventDescriptor* builtinEvent(std::string_view className, std::string_view eventName);

}  // namespace runtime

// Finding the handler that answers an event for an object: the handler nearest
// to the class that declares the event wins, a class's own handlers never
// answer events it declares itself, and a re-declared event hides the handlers
// below it.
#pragma once

#include <cstdint>

#include "objects/ClassRecord.h"

namespace runtime {

struct HandlerFound {
    CodeAddress code = nullptr;  // null: no handler
    bool inOwnClass = false;     // the handler belongs to the object's own class
};

HandlerFound findHandler(const ClassRecord* cls, const EventDescriptor* event);

// The first handler (class, then each superclass, in list order) whose hook
// code equals `hookCode`, or null.
CodeAddress findHookCode(const ClassRecord* cls, int32_t hookCode);

// The handler of `cls` itself (not its superclasses) for the menu item `name`.
CodeAddress findMenuHandler(const ClassRecord* cls, StringHandle name);

}  // namespace runtime

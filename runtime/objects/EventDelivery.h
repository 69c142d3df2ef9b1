// Calling compiled code: event handlers, menu handlers, initialisers. Handlers
// are cdecl routines that take the object first, then the event's parameters
// (all borrowed); a Boolean result comes back in the low byte of EAX.
//
// A handler may raise: whatever the runtime holds across the call lives in an
// unwind scope (UnwindScope.h), never in a plain local.
#pragma once

#include "objects/EventLookup.h"
#include "objects/ObjectRef.h"
#include "objects/UnwindScope.h"

namespace runtime {

template <typename... Args>
bool callBooleanHandler(CodeAddress code, ObjectHandle object, Args... args) {
    using Handler = bool (*)(ObjectHandle, Args...);
    return reinterpret_cast<Handler>(code)(object, args...);
}

// Delivers `event` to `object` when a handler answers it; returns the
// handler's Boolean result (false when there is no handler). The object is
// kept alive for the duration of the call.
template <typename... Args>
bool deliverEvent(ObjectHandle object, const EventDescriptor* event, Args... args) {
    if (!object || !compiledCodeMayRun()) return false;
    const HandlerFound found = findHandler(object->classRecord, event);
    if (!found.code) return false;
    const Unwindable<ObjectRef> keepAlive(ObjectRef::borrow(object));
    return callBooleanHandler(found.code, object, args...);
}

}  // namespace runtime

// Delivering the events of windows and controls, and calling the system
// where it may call the runtime's procedures back.
//
// Every window, subclass and dialog procedure of the runtime runs its body
// inside runFromSystem(): an exception that a handler raises and that a
// compiled frame above the system's frames catches is held there, and the
// procedure returns to the system normally. Runtime code that called the
// system on behalf of compiled code then raises it again: use
// callSystem() (UnwindScope.h) for every such call (SendMessage,
// SetWindowText, ShowWindow, DestroyWindow, SetFocus, MoveWindow,
// CreateWindowEx, TrackPopupMenu, modal dialogs).
#pragma once

#include <string_view>

#include "objects/BuiltinClasses.h"
#include "objects/EventDelivery.h"
#include "objects/UnwindScope.h"

namespace runtime {

// Delivers the event `name` that the built-in class `declaringClass` declares.
template <typename... Args>
bool deliverNamedEvent(ObjectHandle object, std::string_view declaringClass, std::string_view name, Args... args) {
    return deliverEvent(object, builtinEvent(declaringClass, name), args...);
}

template <typename... Args>
bool deliverWindowEvent(ObjectHandle window, std::string_view name, Args... args) {
    return deliverNamedEvent(window, "Window", name, args...);
}

}  // namespace runtime

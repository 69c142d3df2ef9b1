// Entry routines that alert the user: a modal message box and the system beep.
#pragma once

#include "RuntimeCall.h"
#include "text/StringRecord.h"

#include <string_view>

namespace runtime {
// The runtime's message box: owned by the window the window layer designates
// for dialogs, captioned "Message" (the MDI frame's title in frame mode).
void showRuntimeMessage(std::string_view text);
}  // namespace runtime

// Shows `text` in a message box with an OK button and returns when the user
// dismisses it.
RUNTIME_ENTRY void RuntimeMsgBox(StringHandle text);
// The system's default beep.
RUNTIME_ENTRY void RuntimeBeep();

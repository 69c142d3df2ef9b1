// Entry routines that alert the user: a modal message box and the system beep.
#pragma once

#include "RuntimeCall.h"
#include "text/StringRecord.h"

// Shows `text` in a message box with an OK button and returns when the user
// dismisses it.
RUNTIME_ENTRY void RuntimeMsgBox(StringHandle text);
// The system's default beep.
RUNTIME_ENTRY void RuntimeBeep();

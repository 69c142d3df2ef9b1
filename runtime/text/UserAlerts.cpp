#include "text/UserAlerts.h"

#include <windows.h>

#include "text/StringValue.h"

namespace {

// The window that owns the runtime's dialogs. The window layer designates it:
// the first visible modal window, else the MDI frame in MDI mode or the
// frontmost ordinary window. No window exists yet, so the box has no owner.
HWND dialogOwnerWindow() { return nullptr; }

// The caption of the runtime's message boxes.
const char* messageBoxCaption() { return "Message"; }

}  // namespace

void RuntimeMsgBox(StringHandle text) {
    const runtime::StringValue message = runtime::StringValue::borrow(text);
    MessageBoxA(dialogOwnerWindow(), message.cString(), messageBoxCaption(), MB_OK);
}

// Without a sound device the system plays nothing and returns at once.
void RuntimeBeep() { MessageBeep(0); }

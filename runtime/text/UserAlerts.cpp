#include "text/UserAlerts.h"

#include <windows.h>

#include "text/StringValue.h"
#include "text/SystemText.h"
#include "ui/NativeWindow.h"
#include "ui/WindowEvents.h"
#include "ui/WindowOperations.h"

namespace {

// The window that owns the runtime's dialogs: the first visible modal window,
// else the frontmost runtime window.
HWND dialogOwnerWindow() {
    runtime::NativeWindow* owner = runtime::NativeWindow::frontModal();
    if (!owner) owner = runtime::frontWindow();
    return owner ? owner->handle() : nullptr;
}

// The caption of the runtime's message boxes.
const char* messageBoxCaption() { return "Message"; }

}  // namespace

void RuntimeMsgBox(StringHandle text) {
    const runtime::Unwindable<runtime::StringValue> message(runtime::StringValue::borrow(text));
    // The box runs a loop of its own: window procedures may hold an exception.
    runtime::systemCall([&] { return runtime::systemMessageBox(dialogOwnerWindow(), message->view(), messageBoxCaption(), MB_OK); });
}

// Without a sound device the system plays nothing and returns at once.
void RuntimeBeep() { MessageBeep(0); }

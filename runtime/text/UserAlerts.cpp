#include "text/UserAlerts.h"

#include <windows.h>

#include <string>

#include "objects/ProjectItems.h"
#include "objects/UnwindScope.h"
#include "text/StringValue.h"
#include "text/SystemText.h"
#include "ui/NativeWindow.h"
#include "ui/WindowOperations.h"

namespace {

// The window that owns the runtime's dialogs: the first visible modal window,
// else the frontmost runtime window.
HWND dialogOwnerWindow() {
    runtime::NativeWindow* owner = runtime::NativeWindow::frontModal();
    if (!owner) owner = runtime::frontWindow();
    return owner ? owner->handle() : nullptr;
}

// The caption of the runtime's message boxes: the frame's title when the
// windows live in an MDI frame.
std::string messageBoxCaption() {
    const runtime::SettingsStream& settings = runtime::applicationSettings();
    return settings.mdiFrame ? settings.mdiTitle : "Message";
}

}  // namespace

void runtime::showRuntimeMessage(std::string_view text) {
    // The box shows the text up to its first zero byte, as a C string would.
    const std::wstring shown = toSystemText(text.substr(0, text.find('\0')));
    MessageBoxW(dialogOwnerWindow(), shown.c_str(), toSystemText(messageBoxCaption()).c_str(), MB_OK);
}

void RuntimeMsgBox(StringHandle text) {
    runtime::callSystem([text] { runtime::showRuntimeMessage(runtime::viewOf(text)); });
}

// Without a sound device the system plays nothing and returns at once.
void RuntimeBeep() { MessageBeep(0); }

#include "text/UserAlerts.h"

#include <windows.h>

#include <string>

#include "objects/ProjectItems.h"
#include "objects/UnwindScope.h"
#include "text/StringValue.h"
#include "text/SystemText.h"
#include "ui/WindowOperations.h"

namespace {

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
    MessageBoxW(runtime::dialogOwnerWindow(), shown.c_str(), toSystemText(messageBoxCaption()).c_str(), MB_OK);
}

void RuntimeMsgBox(StringHandle text) {
    runtime::callSystem([text] { runtime::showRuntimeMessage(runtime::viewOf(text)); });
}

// Without a sound device the system plays nothing and returns at once.
void RuntimeBeep() { MessageBeep(0); }

// What the entry routines, the message translation and the loop do with
// window objects.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "objects/ObjectRef.h"

namespace runtime {

class NativeWindow;
class Pane;

NativeWindow* nativeWindowOf(ObjectHandle window);

// CancelClose; true when the window refused to close.
bool windowRefusesToClose(ObjectHandle window);
// Controls' Close, the window's Close, then the teardown.
void closeWindowNow(ObjectHandle window);

void showWindow(ObjectHandle window);
void hideWindow(ObjectHandle window);
void showModal(ObjectHandle window);

// The windows made from layouts, front to back (EnumWindows order).
std::vector<NativeWindow*> runtimeViewWindows();

// The window that gets menu commands and the window's menu enabling.
NativeWindow* frontWindow();
// The window that owns the runtime's dialogs and message boxes: the first
// visible modal window, else the frontmost runtime window; null when none.
HWND dialogOwnerWindow();
// The window that holds the menu bar, or null.
NativeWindow* menuBarWindow();
void setMenuBarWindow(NativeWindow* window);

// The focused pane of the active runtime window, or null.
Pane* focusedPane();

// The controls of a window in registry order, each locked.
std::vector<ObjectRef> windowControls(ObjectHandle window);

}  // namespace runtime

// Frame mode: when the application image asks for it, every window of the
// application lives inside one frame window of the class "VL_MDIFRAME", as a
// child of its client area ("MDICLIENT"), of the class "VL_MDICHILD". The
// frame carries the menu bar and quits the application when it is closed.
#pragma once

#include <windows.h>

namespace runtime {

class NativeWindow;

// The start-up step: registers the frame classes and creates the frame with
// the title from the image's settings. Does nothing when the frame exists.
void createFrameWindow();

// Whether the runtime runs its windows inside a frame (the frame exists).
bool inFrameMode();
HWND frameWindow();
// The frame's client window, the parent of every child window.
HWND frameClient();
// The active child window, or null.
NativeWindow* activeFrameChild();
// Offers a message to the frame's system accelerators (Ctrl+F4, Ctrl+F6);
// true: consumed.
bool translateFrameAccelerator(MSG& message);
// Destroys the frame (at the end of the run).
void destroyFrameWindow();

}  // namespace runtime

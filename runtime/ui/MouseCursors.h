// MouseCursor objects and the cursor shown over the runtime's windows.
//
// A MouseCursor object holds one resource word. The word names the cursor
// the system shows: a system cursor identifier (IDC_ARROW, IDC_IBEAM,
// IDC_WAIT, ...) or a cursor resource of the executable. A word that names
// neither stands for no cursor of its own, as nil does.
#pragma once

#include <windows.h>

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "objects/ObjectRef.h"

namespace runtime {

class NativeWindow;

// The system cursor a MouseCursor object stands for, or null.
HCURSOR systemCursor(ObjectHandle cursor);
// A new MouseCursor object for a resource word.
ObjectRef newMouseCursor(uint32_t resourceWord);

// The application's MouseCursor (borrowed), shown over every runtime window.
ObjectHandle applicationCursor();
void setApplicationCursor(ObjectHandle cursor);

// The cursor for the client area of `window`, where `under` is the window
// that contains the pointer (the window itself or one of its controls):
// the capture holder's, else the application's, else the control's under
// the pointer, else the window's own. Null when none of them sets one.
HCURSOR chosenCursor(const NativeWindow& window, HWND under);

// WM_SETCURSOR on the client area: shows the chosen cursor and answers TRUE;
// answers FALSE when a system control under the pointer shows its own class
// cursor instead; otherwise shows the arrow.
LRESULT setCursorForClient(const NativeWindow& window, HWND under);

// Shows the cursor as it would be chosen now: called when a cursor setting
// changes or the capture begins, since the system asks again only when the
// pointer moves.
void refreshShownCursor();

}  // namespace runtime

RUNTIME_ENTRY void appMouseCursorSetter(ObjectHandle application, ObjectHandle cursor);
RUNTIME_ENTRY ObjectHandle getArrowCursor();
RUNTIME_ENTRY ObjectHandle getWatchCursor();
RUNTIME_ENTRY ObjectHandle getIBeamCursor();

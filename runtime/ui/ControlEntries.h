// The routines of the runtime entry table common to every control
// (RectControl): geometry, visibility, enabling, locks, help texts, the
// mouse, refreshing and the keyboard focus.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

RUNTIME_ENTRY int32_t ctlPosGetter(ObjectHandle c, int32_t selector);
RUNTIME_ENTRY void ctlPosSetter(ObjectHandle c, int32_t selector, int32_t value);
RUNTIME_ENTRY bool controlVisibleGetter(ObjectHandle c);
RUNTIME_ENTRY void ControlVisibleSetter(ObjectHandle c, bool value);
RUNTIME_ENTRY bool controlEnabledGetter(ObjectHandle c);
RUNTIME_ENTRY void controlEnabledSetter(ObjectHandle c, bool value);
RUNTIME_ENTRY bool controlLockLeftGetter(ObjectHandle c);
RUNTIME_ENTRY void controlLockLeftSetter(ObjectHandle c, bool value);
RUNTIME_ENTRY bool controlLockTopGetter(ObjectHandle c);
RUNTIME_ENTRY void controlLockTopSetter(ObjectHandle c, bool value);
RUNTIME_ENTRY bool controlLockRightGetter(ObjectHandle c);
RUNTIME_ENTRY void controlLockRightSetter(ObjectHandle c, bool value);
RUNTIME_ENTRY bool controlLockBottomGetter(ObjectHandle c);
RUNTIME_ENTRY void controlLockBottomSetter(ObjectHandle c, bool value);
RUNTIME_ENTRY void controlBalloonHelpSetter(ObjectHandle c, StringHandle text);
RUNTIME_ENTRY void controlDisabledBalloonHelpSetter(ObjectHandle c, StringHandle text);
RUNTIME_ENTRY void controlMouseCursorSetter(ObjectHandle c, ObjectHandle cursor);
RUNTIME_ENTRY int32_t controlMouseXGetter(ObjectHandle c);
RUNTIME_ENTRY int32_t controlMouseYGetter(ObjectHandle c);
RUNTIME_ENTRY int32_t controlMacControlHandleGetter(ObjectHandle c);
RUNTIME_ENTRY ObjectHandle controlWindowGetter(ObjectHandle c);
RUNTIME_ENTRY void RuntimeControlRefresh(ObjectHandle c);
RUNTIME_ENTRY void RuntimeControlRefreshRect(ObjectHandle c, int32_t x, int32_t y, int32_t width, int32_t height);
RUNTIME_ENTRY void RuntimeSetFocus(ObjectHandle c);
// The same for a window: invalidate, then paint at once.
RUNTIME_ENTRY void formRefresh(ObjectHandle w);
RUNTIME_ENTRY void formRefreshRect(ObjectHandle w, int32_t x, int32_t y, int32_t width, int32_t height);
// The keyboard focus to the window itself; away from every pane.
RUNTIME_ENTRY void formSetFocus(ObjectHandle w);
RUNTIME_ENTRY void clearFocus();

namespace runtime {
// The property records of RectControl and of the simple controls, and the
// CreatePane handlers of the built-in control classes (once the built-in
// classes exist).
void defineControlClasses();
}  // namespace runtime

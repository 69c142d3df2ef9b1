#include "ui/FormEntries.h"

#include <windows.h>

#include "objects/UnwindScope.h"
#include "ui/CurrentEvent.h"
#include "ui/DropTarget.h"
#include "ui/NativeWindow.h"
#include "ui/WindowFields.h"
#include "ui/WindowOperations.h"

using namespace runtime;

namespace {

void accept(ObjectHandle w, uint8_t kind) {
    if (w) windowFields(w).acceptedDrops |= kind;
}

// A system colour as compiled code sees colours, 0x00RRGGBB.
int32_t systemColour(int index) {
    const COLORREF c = GetSysColor(index);
    return static_cast<int32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
}

}  // namespace

void formRefresh(ObjectHandle w) {
    if (NativeWindow* native = nativeWindowOf(w)) InvalidateRect(native->handle(), nullptr, TRUE);
}

void formRefreshRect(ObjectHandle w, int32_t left, int32_t top, int32_t width, int32_t height) {
    NativeWindow* native = nativeWindowOf(w);
    if (!native) return;
    const RECT area{left, top, left + width, top + height};
    InvalidateRect(native->handle(), &area, TRUE);
}

// The kinds are recorded with the window object, so they hold for a window
// that is not open yet; the drop target reads them at each drag.
void formAcceptTextDrop(ObjectHandle w) { accept(w, kDropText); }
void formAcceptPictureDrop(ObjectHandle w) { accept(w, kDropPicture); }
void formAcceptFileDrop(ObjectHandle w, StringHandle) { accept(w, kDropFile); }
void formAcceptMacDataDrop(ObjectHandle w, StringHandle) { accept(w, kDropMacData); }

// The keyboard focus to the window itself, away from its controls.
void formSetFocus(ObjectHandle w) {
    NativeWindow* native = nativeWindowOf(w);
    if (!native) return;
    native->setFocusedPane(nullptr);
    HWND handle = native->handle();
    callSystem([&] { return SetFocus(handle); });
}

// No control of the window keeps the focus.
void clearFocus(ObjectHandle w) {
    NativeWindow* native = nativeWindowOf(w);
    if (!native) return;
    native->setFocusedPane(nullptr);
    HWND focus = GetFocus();
    if (focus && IsChild(native->handle(), focus)) {
        HWND handle = native->handle();
        callSystem([&] { return SetFocus(handle); });
    }
}

bool IsCMMClick() { return currentEvent().contextualClick; }

int32_t getFrameColor() { return systemColour(COLOR_WINDOWFRAME); }
int32_t getFillColor() { return systemColour(COLOR_WINDOW); }
int32_t getTextColor() { return systemColour(COLOR_WINDOWTEXT); }
int32_t getHilightColor() { return systemColour(COLOR_HIGHLIGHT); }
int32_t getLightTingeColor() { return systemColour(COLOR_3DLIGHT); }
int32_t getDarkTingeColor() { return systemColour(COLOR_3DSHADOW); }
int32_t getLightBevelColor() { return systemColour(COLOR_3DHIGHLIGHT); }
int32_t getDarkBevelColor() { return systemColour(COLOR_3DDKSHADOW); }

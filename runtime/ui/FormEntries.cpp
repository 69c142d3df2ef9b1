#include "ui/FormEntries.h"

#include <windows.h>

#include "loader/PluginGraphics.h"
#include "objects/BuiltinClasses.h"
#include "objects/ObjectLifetime.h"
#include "objects/ObjectRef.h"
#include "ui/CurrentEvent.h"
#include "ui/DragItem.h"
#include "ui/DropTarget.h"
#include "ui/NativeWindow.h"
#include "ui/WindowFields.h"

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

// The Graphics of an open window, as its Paint event receives one; nil for a
// window that is not open. Locked for the caller.
ObjectHandle windowGraphicsGetter(ObjectHandle w) {
    if (!w || !windowFields(w).native) return nullptr;
    return newObject(builtinClass("Graphics"));
}

// Copies what the open window shows in its client area into the device
// context behind `g`, with the window's top-left corner at (x, y). A Graphics
// that draws nowhere, or a window that is not open, takes nothing.
void formDrawInto(ObjectHandle w, ObjectHandle g, int32_t x, int32_t y) {
    NativeWindow* native = w ? windowFields(w).native : nullptr;
    HDC target = plugins::graphicsDC(g);
    if (!native || !native->handle() || !target) return;
    HWND handle = native->handle();
    RECT client;
    GetClientRect(handle, &client);
    HDC source = GetDC(handle);
    if (!source) return;
    BitBlt(target, x, y, client.right, client.bottom, source, 0, 0, SRCCOPY);
    ReleaseDC(handle, source);
}

// A new drag item that starts from the rectangle given in the window's
// client coordinates; it carries nothing until its text or file is set.
// Locked for the caller; nil for a window that is not open.
ObjectHandle formNewDragItem(ObjectHandle w, int32_t left, int32_t top, int32_t width, int32_t height) {
    if (!w || !windowFields(w).native) return nullptr;
    ObjectHandle item = newObject(builtinClass("DragItem"));
    if (!item) return nullptr;
    DragItemFields& f = dragItemFields(item);
    f.left = left;
    f.top = top;
    f.width = width;
    f.height = height;
    return item;
}

// The kinds are recorded with the window object, so they hold for a window
// that is not open yet; the drop target reads them at each drag.
void formAcceptTextDrop(ObjectHandle w) { accept(w, kDropText); }
void formAcceptPictureDrop(ObjectHandle w) { accept(w, kDropPicture); }
void formAcceptFileDrop(ObjectHandle w, StringHandle) { accept(w, kDropFile); }
void formAcceptMacDataDrop(ObjectHandle w, StringHandle) { accept(w, kDropMacData); }

bool IsCMMClick() { return currentEvent().contextualClick; }

int32_t getFrameColor() { return systemColour(COLOR_WINDOWFRAME); }
int32_t getFillColor() { return systemColour(COLOR_WINDOW); }
int32_t getTextColor() { return systemColour(COLOR_WINDOWTEXT); }
int32_t getHilightColor() { return systemColour(COLOR_HIGHLIGHT); }
int32_t getLightTingeColor() { return systemColour(COLOR_3DLIGHT); }
int32_t getDarkTingeColor() { return systemColour(COLOR_3DSHADOW); }
int32_t getLightBevelColor() { return systemColour(COLOR_3DHIGHLIGHT); }
int32_t getDarkBevelColor() { return systemColour(COLOR_3DDKSHADOW); }

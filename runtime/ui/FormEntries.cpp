#include "ui/FormEntries.h"

#include <windows.h>

#include "ui/CurrentEvent.h"
#include "ui/DropTarget.h"
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

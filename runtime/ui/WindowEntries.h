// The window routines of the runtime entry table.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

RUNTIME_ENTRY void RuntimeShowWindow(ObjectHandle w);
RUNTIME_ENTRY void RuntimeHideWindow(ObjectHandle w);
RUNTIME_ENTRY void RuntimeCloseWindow(ObjectHandle w);
RUNTIME_ENTRY void RuntimeShowModal(ObjectHandle w);
RUNTIME_ENTRY bool WindowVisibleGetter(ObjectHandle w);
RUNTIME_ENTRY void WindowVisibleSetter(ObjectHandle w, bool visible);
RUNTIME_ENTRY int32_t windowPosGetter(ObjectHandle w, int32_t selector);
RUNTIME_ENTRY void windowPosSetter(ObjectHandle w, int32_t selector, int32_t value);
RUNTIME_ENTRY int32_t windowPlacementGetter(ObjectHandle w);
RUNTIME_ENTRY void windowPlacementSetter(ObjectHandle w, int32_t placement);
RUNTIME_ENTRY StringHandle windowTitleGetter(ObjectHandle w);
RUNTIME_ENTRY void windowTitleSetter(ObjectHandle w, StringHandle title);
RUNTIME_ENTRY bool windowCloseBoxGetter(ObjectHandle w);
RUNTIME_ENTRY void windowCloseBoxSetter(ObjectHandle w, bool value);
RUNTIME_ENTRY bool windowGrowIconGetter(ObjectHandle w);
RUNTIME_ENTRY void windowGrowIconSetter(ObjectHandle w, bool value);
RUNTIME_ENTRY bool windowZoomIconGetter(ObjectHandle w);
RUNTIME_ENTRY void windowZoomIconSetter(ObjectHandle w, bool value);
RUNTIME_ENTRY int32_t windowFrameGetter(ObjectHandle w);
RUNTIME_ENTRY void windowFrameSetter(ObjectHandle w, int32_t frame);
RUNTIME_ENTRY ObjectHandle windowBackdropGetter(ObjectHandle w);
RUNTIME_ENTRY void windowBackdropSetter(ObjectHandle w, ObjectHandle picture);
RUNTIME_ENTRY bool windowHasBackColorGetter(ObjectHandle w);
RUNTIME_ENTRY void windowHasBackColorSetter(ObjectHandle w, bool value);
RUNTIME_ENTRY int32_t windowBackColorGetter(ObjectHandle w);
RUNTIME_ENTRY void windowBackColorSetter(ObjectHandle w, int32_t color);
RUNTIME_ENTRY void windowBalloonHelpSetter(ObjectHandle w, StringHandle text);
RUNTIME_ENTRY void formMouseCursorSetter(ObjectHandle w, ObjectHandle cursor);
RUNTIME_ENTRY int32_t windowControlCountGetter(ObjectHandle w);
RUNTIME_ENTRY ObjectHandle windowControl(ObjectHandle w, int32_t index);
RUNTIME_ENTRY int32_t windowMouseXGetter(ObjectHandle w);
RUNTIME_ENTRY int32_t windowMouseYGetter(ObjectHandle w);
RUNTIME_ENTRY int32_t windowWindowPtrGetter(ObjectHandle w);
RUNTIME_ENTRY int32_t windowHWNDGetter(ObjectHandle w);
RUNTIME_ENTRY int32_t getWindowCount();
RUNTIME_ENTRY ObjectHandle getWindow(int32_t index);
RUNTIME_ENTRY ObjectHandle RuntimeMenuReference(StringHandle name);
RUNTIME_ENTRY ObjectHandle RuntimeMenuArrayReference(StringHandle name, int32_t index);
RUNTIME_ENTRY ObjectHandle RuntimeCloneMenu(ObjectHandle item);
RUNTIME_ENTRY void RuntimeCloseMenuItem(ObjectHandle item);
RUNTIME_ENTRY StringHandle menuItemTextGetter(ObjectHandle item);
RUNTIME_ENTRY void menuItemTextSetter(ObjectHandle item, StringHandle text);
RUNTIME_ENTRY void menuItemCommandKeySetter(ObjectHandle item, StringHandle key);

namespace runtime {
// The property records of Window and Control and their built-in state
// (called once the built-in classes exist).
void defineWindowProperties();
}  // namespace runtime

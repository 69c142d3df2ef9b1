// The runtime entry routines through which plug-ins reach their control
// instances' panes: bounds, visibility, window, handle, drawing, repainting,
// background, pictures and constant texts.
#pragma once

#include <windows.h>

#include <cstdint>

#include "RuntimeCall.h"
#include "glue/PluginRecords.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

// Copies the control's rectangle: top and left, then bottom and right, as
// 16-bit pairs in two words.
RUNTIME_ENTRY void GetControlBounds(ObjectHandle instance, int16_t* bounds);
RUNTIME_ENTRY bool GetControlVisible(ObjectHandle instance);
RUNTIME_ENTRY void SetControlVisible(ObjectHandle instance, bool visible);
// The control's window object (owned by the caller), or nil.
RUNTIME_ENTRY ObjectHandle getControlWindow(ObjectHandle instance);
// The pane's window handle, else the owning window's, else null.
RUNTIME_ENTRY HWND GetControlHWND(ObjectHandle instance);
// A Graphics object that draws into the control's pane (owned by the caller),
// or nil while the control has no pane.
RUNTIME_ENTRY ObjectHandle VELMGetControlGraphics(ObjectHandle instance);
RUNTIME_ENTRY HDC VELMGraphicsDC(ObjectHandle graphics);
RUNTIME_ENTRY void VELMInvalidateControl(ObjectHandle instance);
// Repaints a rectangle of the control (window coordinates, left, top, right, bottom).
RUNTIME_ENTRY void VELMInvalidateControlRect(ObjectHandle instance, int32_t left, int32_t top, int32_t right,
                                             int32_t bottom);
// The background colour of the control's pane (a 0x00RRGGBB word), or the
// window's again when null.
RUNTIME_ENTRY void VELMSetSpecialBackground(ObjectHandle instance, const PluginColour* colour);
// The text of a constant value: constants reach plug-ins as their text.
RUNTIME_ENTRY StringHandle PluginInterpretConstantValue(StringHandle value);
// A picture's pixels for a plug-in, valid and the picture kept until unlocked.
RUNTIME_ENTRY void lockPictureDescription(ObjectHandle picture, PluginPictureDescription* description);
RUNTIME_ENTRY void unlockPictureDescription(ObjectHandle picture);
// Draws a locked picture description at (x, y) of a Graphics object.
RUNTIME_ENTRY void drawPicturePrimitive(ObjectHandle graphics, const PluginPictureDescription* description, int32_t x,
                                        int32_t y);

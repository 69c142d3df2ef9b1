// The runtime routines the appearance plug-in calls, each resolved on first
// use through the host's resolver.
#pragma once

#include <windows.h>

#include "glue/PluginGlue.h"
#include "objects/ObjectHeader.h"

namespace appearance {

inline glue::GlueRoutine<void, int32_t> RegisterPluginVersion{"RegisterPluginVersion"};
inline glue::GlueRoutine<void, void*> PluginRegisterControl{"PluginRegisterControl"};
inline glue::GlueRoutine<void, StringHandle> VELMLockString{"VELMLockString"};
inline glue::GlueRoutine<void, StringHandle> VELMUnlockString{"VELMUnlockString"};
inline glue::GlueRoutine<void, ObjectHandle> VELMLockObject{"VELMLockObject"};
inline glue::GlueRoutine<void, ObjectHandle> VELMUnlockObject{"VELMUnlockObject"};
inline glue::GlueRoutine<StringHandle> PluginDefaultControlFont{"PluginDefaultControlFont"};
inline glue::GlueRoutine<StringHandle> PluginDefaultControlCaption{"PluginDefaultControlCaption"};
inline glue::GlueRoutine<int32_t> PluginDefaultControlFontSize{"PluginDefaultControlFontSize"};
inline glue::GlueRoutine<void*, ObjectHandle, const char*, const char*> GetInterfaceRoutine{"GetInterfaceRoutine"};
inline glue::GlueRoutine<void*, ObjectHandle, void*> GetEventInstanceRoutine{"GetEventInstance"};
inline glue::GlueRoutine<void, ObjectHandle, int16_t*> GetControlBounds{"GetControlBounds"};
inline glue::GlueRoutine<bool, ObjectHandle> GetControlVisible{"GetControlVisible"};
inline glue::GlueRoutine<bool, ObjectHandle, int32_t> controlEnabledGetterRoutine{"controlEnabledGetter"};
inline glue::GlueRoutine<int32_t> VELMGetWin32Charset{"VELMGetWin32Charset"};
inline glue::GlueRoutine<HDC, ObjectHandle> VELMGraphicsDC{"VELMGraphicsDC"};
inline glue::GlueRoutine<HWND, ObjectHandle> GetControlHWND{"GetControlHWND"};
inline glue::GlueRoutine<void, ObjectHandle> VELMInvalidateControl{"VELMInvalidateControl"};
inline glue::GlueRoutine<void, ObjectHandle, const PluginColour*> VELMSetSpecialBackground{"VELMSetSpecialBackground"};
inline glue::GlueRoutine<ObjectHandle, ObjectHandle> VELMGetControlGraphics{"VELMGetControlGraphics"};
inline glue::GlueRoutine<void, ObjectHandle, PluginPictureDescription*> lockPictureDescription{
    "lockPictureDescription"};
inline glue::GlueRoutine<void, ObjectHandle> unlockPictureDescription{"unlockPictureDescription"};
inline glue::GlueRoutine<void, ObjectHandle, const PluginPictureDescription*, int32_t, int32_t> drawPicturePrimitive{
    "drawPicturePrimitive"};

// PluginInterpretConstantValue: a host that lacks it gets the argument back
// with one more reference.
StringHandle PluginInterpretConstantValue(StringHandle value);

// The handler of `event` (the host's handle in word 1 of its definition).
inline void* GetEventInstance(ObjectHandle instance, const PluginEventDefinition& event) {
    return GetEventInstanceRoutine(instance, event.handle);
}
inline bool controlEnabled(ObjectHandle instance) { return controlEnabledGetterRoutine(instance, 0); }

// Raises a parameterless event of the control when a handler answers it.
void raiseEvent(ObjectHandle instance, const PluginEventDefinition& event);
// The control's rectangle as left, top, right, bottom.
RECT controlBounds(ObjectHandle instance);

}  // namespace appearance

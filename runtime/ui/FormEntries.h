// Window routines of the entry table around drops and the current mouse
// event: the kinds of drop a window accepts, the contextual-click flag and
// the system's interface colours.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

RUNTIME_ENTRY void formAcceptTextDrop(ObjectHandle w);
RUNTIME_ENTRY void formAcceptPictureDrop(ObjectHandle w);
RUNTIME_ENTRY void formAcceptFileDrop(ObjectHandle w, StringHandle fileType);
RUNTIME_ENTRY void formAcceptMacDataDrop(ObjectHandle w, StringHandle dataType);
RUNTIME_ENTRY bool IsCMMClick();
RUNTIME_ENTRY int32_t getFrameColor();
RUNTIME_ENTRY int32_t getFillColor();
RUNTIME_ENTRY int32_t getTextColor();
RUNTIME_ENTRY int32_t getHilightColor();
RUNTIME_ENTRY int32_t getLightTingeColor();
RUNTIME_ENTRY int32_t getDarkTingeColor();
RUNTIME_ENTRY int32_t getLightBevelColor();
RUNTIME_ENTRY int32_t getDarkBevelColor();

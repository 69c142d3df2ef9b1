// Window routines of the entry table around drawing, drags and drops and the
// current mouse event: a window's Graphics, drawing a window into another
// Graphics, new drag items, the kinds of drop a window accepts, the
// contextual-click flag and the system's interface colours.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

RUNTIME_ENTRY ObjectHandle windowGraphicsGetter(ObjectHandle w);
RUNTIME_ENTRY void formDrawInto(ObjectHandle w, ObjectHandle g, int32_t x, int32_t y);
RUNTIME_ENTRY ObjectHandle formNewDragItem(ObjectHandle w, int32_t left, int32_t top, int32_t width, int32_t height);
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

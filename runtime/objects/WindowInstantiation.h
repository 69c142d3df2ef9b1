// Windows and controls built from the layouts of the image, the control
// registry lookups and run-time clones of designed controls.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

RUNTIME_ENTRY ObjectHandle RuntimeCreateWindow(const uint8_t* layout, ObjectHandle* implicitInstance);
RUNTIME_ENTRY ObjectHandle RuntimeControlFetch(ObjectHandle window, StringHandle name);
RUNTIME_ENTRY ObjectHandle RuntimeControlReference(ObjectHandle window, StringHandle name);
RUNTIME_ENTRY ObjectHandle RuntimeControlArrayItemReference(ObjectHandle window, StringHandle name, int32_t index);
RUNTIME_ENTRY ObjectHandle RuntimeCloneControlReference(ObjectHandle window, StringHandle name);

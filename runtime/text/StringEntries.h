// Entry routines of the string values: what compiled code and plug-ins call.
// Arguments are borrowed; a string result belongs to the caller.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "text/StringRecord.h"

RUNTIME_ENTRY void RuntimeLockString(StringHandle s);
RUNTIME_ENTRY void RuntimeUnlockString(StringHandle s);
RUNTIME_ENTRY StringHandle RuntimeAddString(StringHandle a, StringHandle b);
RUNTIME_ENTRY int32_t RuntimeStringCompare(StringHandle a, StringHandle b);
RUNTIME_ENTRY int32_t StringStrCompare(StringHandle a, StringHandle b, int32_t mode);
RUNTIME_ENTRY const char* StringGetCString(StringHandle s);
RUNTIME_ENTRY const char* StringToCString(StringHandle s);
RUNTIME_ENTRY const uint8_t* StringGetPString(StringHandle s);
RUNTIME_ENTRY const uint8_t* StringToPString(StringHandle s);
RUNTIME_ENTRY uint32_t StringToOSType(StringHandle s);
RUNTIME_ENTRY StringHandle VELMBuildString(const void* bytes, int32_t length);
RUNTIME_ENTRY void VELMLockString(StringHandle s);
RUNTIME_ENTRY void VELMUnlockString(StringHandle s);
RUNTIME_ENTRY StringHandle stringGetter(void* object, int32_t offset);
RUNTIME_ENTRY void stringSetter(void* object, int32_t offset, StringHandle value);

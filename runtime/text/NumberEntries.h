// Entry routines that convert between numbers and text. StringVal and
// StringStr always use "." as decimal point; runCDbl, runCStr and
// StringFormat use the user locale's separators.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "text/StringRecord.h"

RUNTIME_ENTRY double StringVal(StringHandle s);
RUNTIME_ENTRY double runCDbl(StringHandle s);
RUNTIME_ENTRY StringHandle StringStr(double x);
RUNTIME_ENTRY StringHandle runCStr(double x);
RUNTIME_ENTRY StringHandle StringFormat(double x, StringHandle format);
RUNTIME_ENTRY StringHandle RuntimeHex(uint32_t value);
RUNTIME_ENTRY StringHandle RuntimeOct(uint32_t value);
RUNTIME_ENTRY int32_t FPToInt(double x);
RUNTIME_ENTRY double IntToFP(int32_t value);

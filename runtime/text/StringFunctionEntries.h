// Entry routines of the string functions, byte-counting and double-byte. All
// positions are 1-based; string arguments are borrowed and a string result
// belongs to the caller.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "text/StringRecord.h"

RUNTIME_ENTRY StringHandle StringLeft(StringHandle s, int32_t n);
RUNTIME_ENTRY StringHandle StringRight(StringHandle s, int32_t n);
RUNTIME_ENTRY StringHandle StringMid2(StringHandle s, int32_t i);
RUNTIME_ENTRY StringHandle StringMid3(StringHandle s, int32_t i, int32_t n);
RUNTIME_ENTRY int32_t StringLen(StringHandle s);
RUNTIME_ENTRY int32_t StringAsc(StringHandle s);
RUNTIME_ENTRY StringHandle StringChr(int32_t n);
RUNTIME_ENTRY StringHandle StringLCase(StringHandle s);
RUNTIME_ENTRY StringHandle StringUCase(StringHandle s);
RUNTIME_ENTRY StringHandle StringTitleCase(StringHandle s);
RUNTIME_ENTRY int32_t StringInStr(int32_t i, StringHandle s, StringHandle t);
RUNTIME_ENTRY StringHandle StringReplace(StringHandle s, StringHandle t, StringHandle u);
RUNTIME_ENTRY StringHandle StringReplaceAll(StringHandle s, StringHandle t, StringHandle u);
RUNTIME_ENTRY int32_t StringCountFields(StringHandle s, StringHandle t);
RUNTIME_ENTRY StringHandle StringNthField(StringHandle s, StringHandle t, int32_t n);
RUNTIME_ENTRY StringHandle runLTrim(StringHandle s);
RUNTIME_ENTRY StringHandle runRTrim(StringHandle s);
RUNTIME_ENTRY StringHandle runTrim(StringHandle s);

RUNTIME_ENTRY StringHandle StringDBCSLeft(StringHandle s, int32_t n);
RUNTIME_ENTRY StringHandle StringDBCSRight(StringHandle s, int32_t n);
RUNTIME_ENTRY StringHandle StringDBCSMid2(StringHandle s, int32_t i);
RUNTIME_ENTRY StringHandle StringDBCSMid3(StringHandle s, int32_t i, int32_t n);
RUNTIME_ENTRY int32_t StringDBCSLen(StringHandle s);
RUNTIME_ENTRY int32_t StringDBCSAsc(StringHandle s);
RUNTIME_ENTRY StringHandle StringDBCSChr(int32_t n);
RUNTIME_ENTRY int32_t StringDBCSInStr(int32_t i, StringHandle s, StringHandle t);

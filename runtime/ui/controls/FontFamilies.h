// The text style routines of the controls that carry a font, named once per
// family (FontFamily.h is the mechanism behind them).
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

#define SUTAKIBA_FONT_FAMILY(prefix)                                                   \
    RUNTIME_ENTRY StringHandle prefix##TextFontGetter(ObjectHandle c);                 \
    RUNTIME_ENTRY void prefix##TextFontSetter(ObjectHandle c, StringHandle name);      \
    RUNTIME_ENTRY int32_t prefix##TextSizeGetter(ObjectHandle c);                      \
    RUNTIME_ENTRY void prefix##TextSizeSetter(ObjectHandle c, int32_t size);           \
    RUNTIME_ENTRY bool prefix##BoldGetter(ObjectHandle c);                             \
    RUNTIME_ENTRY void prefix##BoldSetter(ObjectHandle c, bool value);                 \
    RUNTIME_ENTRY bool prefix##ItalicGetter(ObjectHandle c);                           \
    RUNTIME_ENTRY void prefix##ItalicSetter(ObjectHandle c, bool value);               \
    RUNTIME_ENTRY bool prefix##UnderlineGetter(ObjectHandle c);                        \
    RUNTIME_ENTRY void prefix##UnderlineSetter(ObjectHandle c, bool value);

SUTAKIBA_FONT_FAMILY(pushButton)
SUTAKIBA_FONT_FAMILY(checkBox)
SUTAKIBA_FONT_FAMILY(radio)
SUTAKIBA_FONT_FAMILY(group)

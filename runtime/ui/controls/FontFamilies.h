// The text style routines of the controls that carry a font: one generic
// mechanism, named once per family. The getter returns the stored value; the
// setter stores it and, on a live control, builds the font anew from all five
// values and applies it.
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

namespace runtime::controls::fontFamily {

enum class Attribute { kBold, kItalic, kUnderline };

StringHandle textFont(ObjectHandle c);
void setTextFont(ObjectHandle c, StringHandle name);
int32_t textSize(ObjectHandle c);
void setTextSize(ObjectHandle c, int32_t size);
bool attribute(ObjectHandle c, Attribute which);
void setAttribute(ObjectHandle c, Attribute which, bool value);
// Gives the live control its font from the stored style.
void apply(ObjectHandle c);

}  // namespace runtime::controls::fontFamily

// The text style of the controls that carry a font: one generic mechanism
// behind every family's routines. The getter returns the stored value; the
// setter stores it and, on a live control, builds the font anew from all five
// values and applies it.
#pragma once

#include <cstdint>

#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

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
